// Journeys of the macro page against the real program and the simulated
// keyboard: macros recorded from real key presses, bound to keys, edited and
// deleted, followed into the settings database and into what the keyboard is
// sent; and the window messages that carry no pointer the program follows.
//
// Recording listens to every key of the shared display, so the journeys that
// press keys run alone (the test program is registered to run serially).

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_HOOK_KEY = 0x676;
constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT WM_MACRO_MENU = 0x73F;
constexpr UINT WM_RECORD_EDIT = 0x740;
constexpr UINT WM_RECORD_MENU = 0x741;

// What the program answers about its macro page.
constexpr WPARAM kQueryRecording = 10;
constexpr WPARAM kQueryEventRows = 11;
constexpr WPARAM kQueryCapturedKey = 12;
constexpr WPARAM kQuerySelectedRow = 13;
constexpr WPARAM kQueryEditorKind = 14;

// Request layout and commands in the simulator's log.
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_LENGTH = 5;
constexpr size_t REQ_OFFSET_LO = 6;
constexpr size_t REQ_OFFSET_HI = 7;
constexpr size_t REQ_PAYLOAD = 9;
constexpr uint8_t CMD_BEGIN = 0x01;
constexpr uint8_t CMD_END = 0x02;
constexpr uint8_t CMD_WRITE_KEYMAP = 0x09;
constexpr uint8_t CMD_WRITE_MACROS = 0x0D;

// Macro buffer and key map.
constexpr size_t kSlotTableBytes = 64;
constexpr size_t kEventBytes = 4;
constexpr uint8_t FLAG_KEY_DOWN = 0x42;
constexpr uint8_t FLAG_KEY_UP = 0x02;
constexpr uint8_t FLAG_MODIFIER_DOWN = 0x41;
constexpr uint8_t FLAG_MODIFIER_UP = 0x01;
constexpr uint8_t BIT_LEFT_SHIFT = 0x02;
constexpr uint8_t BIT_RIGHT_CTRL = 0x10;
constexpr uint8_t FLAG_BUTTON_DOWN = 0xC2;
constexpr uint8_t FLAG_BUTTON_UP = 0x82;
constexpr uint8_t FLAG_LAST = 0x80;
constexpr uint8_t USAGE_A = 0x04;
constexpr uint8_t USAGE_B = 0x05;
constexpr uint8_t ENTRY_KEY = 0x10;
constexpr uint8_t ENTRY_MACRO = 0x70;
constexpr size_t kEntryBytes = 6;  // both layers of one position

// Row types of the event list.
constexpr int ROW_DELAY = 1;
constexpr int ROW_KEY_DOWN = 2;
constexpr int ROW_KEY_UP = 3;
constexpr int ROW_MOUSE_DOWN = 4;
constexpr int ROW_MOUSE_UP = 5;
constexpr long long kForwardButton = 16;
constexpr int kEventLimit = 30;

// Places in the 1380 x 800 window.
constexpr POINT kKeysTab = TabPlace(0);
constexpr POINT kMacroTab = TabPlace(2);
constexpr POINT kNewMacro = {96, 745};
constexpr POINT kDeleteMacro = {231, 745};
constexpr POINT kRecordButton = {830, 180};
constexpr POINT kDelayNone = {800, 261};
constexpr POINT kDelayFixed = {800, 321};
constexpr POINT kDeleteEvent = {670, 744};
constexpr POINT kInsertEvent = {490, 744};
// The repeat box right of the settings: while held, until pressed again,
// a number of times with its count field.
constexpr POINT kPlayWhileHeld = {1100, 203};
constexpr POINT kPlayUntilPressedAgain = {1100, 233};
constexpr POINT kPlayTimes = {1100, 263};
constexpr POINT kPlayCount = {1225, 263};
constexpr RECT kRepeatBox = {1040, 180, 1334, 290};
// The event editor below it: the value field (or, for a mouse event, the
// button combo) and the move buttons.
constexpr RECT kValueLabel = {1056, 374, 1318, 400};
constexpr POINT kEventValue = {1187, 417};
constexpr POINT kMouseButtonCombo = {1187, 417};
constexpr POINT kMoveUp = {1070, 462};
constexpr POINT kMoveDown = {1106, 462};
// The combo's drop-down: one 30-pixel row per item inside a 2-pixel frame;
// the mouse buttons are left, right, middle, forward, backward.
constexpr wchar_t kDropDownCaption[] = L"ComboWnd";
POINT DropDownRow(int row) { return POINT{60, 2 + row * 30 + 15}; }
constexpr int kForwardRow = 3;
constexpr int kMacroRowX = 120;
constexpr int kMacroRowTop = 132;
constexpr int kEventRowX = 420;
constexpr int kEventRowTop = 161;
constexpr int kRowHeight = 36;
// Keys page: the keyboard picture and the Macros category's value list.
constexpr POINT kPictureKeyA = {294, 253};
constexpr POINT kPictureKeyB = {492, 297};
constexpr POINT kMacrosCategory = {810, 445};
constexpr DWORD kLitItem = 0x49FFE6;  // a value list item under the pointer
constexpr int kKeyIndexA = 64;  // positions of the layout file
constexpr int kKeyIndexB = 89;
constexpr int kKeyCodeA = 4;
constexpr int kKeyCodeB = 5;
// The record editor (360 x 150): its key edit and OK.
constexpr RECT kEditorKeyEdit = {125, 60, 325, 90};
constexpr POINT kEditorOk = {220, 115};
constexpr POINT kEditorClose = {335, 30};
// Menus: the insert menu (170 wide) holds left, middle, right click, key,
// delay; the event menu (120 wide) to the top, up, down, to the bottom.
constexpr int kInsertMenuWidth = 170;
constexpr int kInsertMenuLeftRow = 0;
constexpr int kInsertMenuMiddleRow = 1;
constexpr int kInsertMenuRightRow = 2;
constexpr int kInsertMenuKeyRow = 3;
constexpr int kInsertMenuDelayRow = 4;
constexpr int kEventMenuWidth = 120;
// The macro menu (150 wide): import a macro file, export the selected macro.
constexpr int kMacroMenuWidth = 150;
constexpr int kMacroMenuImportRow = 0;
constexpr int kMacroMenuExportRow = 1;
// The selected macro row's more button, from the row's right end.
constexpr int kMacroMoreX = 264;
constexpr int kEventMenuTopRow = 0;
constexpr int kEventMenuBottomRow = 3;
// The selected event row's more button opens the event menu.
constexpr int kEventMoreX = 682;

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }
void ClickMacroRow(HWND window, int row) { Click(window, kMacroRowX, kMacroRowTop + row * kRowHeight + kRowHeight / 2); }

// Kinds the event editor edits.
constexpr long KIND_MOUSE = 1;
constexpr long KIND_KEY = 2;
constexpr long KIND_DELAY = 3;

// A click on an event row, waiting until the row is selected.
void ClickEventRow(HWND window, int row)
{
    Click(window, kEventRowX, kEventRowTop + row * kRowHeight + kRowHeight / 2);
    EXPECT_TRUE(WaitFor([&] { return QueryProgramState(window, kQuerySelectedRow) == row; }))
        << "event row " << row << " was not selected";
}

// A click on an event row, waiting until its editor shows the row's kind.
void OpenEventEditor(HWND window, int row, long kind)
{
    ClickEventRow(window, row);
    ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEditorKind) == kind; }))
        << "the editor of row " << row << " did not open";
}

// A key as the real keyboard sends it: its virtual-key code and its scan code.
struct Key
{
    WORD vk;
    WORD scan;
    bool extended = false;
};
constexpr Key kA = {'A', 0x1E};
constexpr Key kB = {'B', 0x30};
constexpr Key kLeftShift = {VK_LSHIFT, 0x2A};
constexpr Key kRightCtrl = {VK_RCONTROL, 0x1D, true};
// Letters only: they do nothing in the window that has the focus.
constexpr Key kLetters[] = {{'A', 0x1E}, {'S', 0x1F}, {'D', 0x20}, {'F', 0x21}, {'G', 0x22},
                            {'H', 0x23}, {'J', 0x24}, {'K', 0x25}, {'L', 0x26}, {'Q', 0x10},
                            {'W', 0x11}, {'E', 0x12}, {'R', 0x13}, {'T', 0x14}, {'Y', 0x15}};

void SendKey(Key key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.vk;
    input.ki.wScan = key.scan;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof(INPUT));
}

void PressKey(Key key)
{
    SendKey(key, false);
    SendKey(key, true);
}

// A digit or Backspace ('\b') as the keyboard sends it.
Key TypingKey(wchar_t c)
{
    const WORD vk = c == L'\b' ? VK_BACK : static_cast<WORD>(c);
    return Key{vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC))};
}

// The in-place edit window that has the program's keyboard focus, or null.
HWND FocusedField(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || info.hwndFocus == nullptr)
        return nullptr;
    wchar_t name[64] = {};
    GetClassNameW(info.hwndFocus, name, 64);
    return std::wstring(name) == L"MEditWindow" ? info.hwndFocus : nullptr;
}

// A window's text as its own process reads it.
std::wstring FieldText(HWND field)
{
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(field, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kTimeoutMs,
                             &copied))
        return L"?";
    return text;
}

// A click on a field, which opens it for typing; true once it has the
// keyboard focus. A user's click brings the window to the front, where a
// menu or dialog that has just closed may have left another one: so does
// this one, before the click, since bringing it later takes the focus from
// the field and ends its edit.
// A click that meets the window while it takes the pointer back from a
// popup may find no control under it: the click is made again until it
// has done what it is for.
constexpr DWORD kClickRetryMs = 2000;
bool ClickUntil(HWND window, POINT at, const std::function<bool()>& done)
{
    return WaitFor([&] {
        Click(window, at.x, at.y);
        return WaitFor(done, kClickRetryMs);
    });
}

bool OpenField(HWND window, POINT at)
{
    SetForegroundWindow(window);
    WaitFor([&] { return GetForegroundWindow() == window; });
    return ClickUntil(window, at, [&] { return FocusedField(window) != nullptr; });
}

// Types into the open field as a user does: its old text erased with
// Backspace, then the new one; true once the field shows it.
bool TypeIntoField(HWND window, const std::wstring& text)
{
    constexpr int kLongestField = 5;
    HWND field = nullptr;
    if (!WaitFor([&] { return (field = FocusedField(window)) != nullptr; }))
        return false;
    for (int i = 0; i < kLongestField; ++i)
        PressKey(TypingKey(L'\b'));
    if (!WaitFor([&] { return FieldText(field).empty(); }))
        return false;
    for (wchar_t c : text)
        PressKey(TypingKey(c));
    return WaitFor([&] { return FieldText(field) == text; });
}

// One stored event row.
struct StoredRow
{
    int type;
    long long value;
    bool operator==(const StoredRow& other) const { return type == other.type && value == other.value; }
};

std::ostream& operator<<(std::ostream& out, const StoredRow& row)
{
    return out << "{type " << row.type << ", value " << row.value << "}";
}

// A block the program wrote with one command between a BEGIN and its END,
// put together from its chunks by their offsets.
std::vector<std::vector<uint8_t>> WrittenBlocks(const SimulatedKeyboard& sim, uint8_t command)
{
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<uint8_t> block;
    bool open = false, seen = false;
    for (const SimEvent& event : sim.Events()) {
        if (event.kind != "out" || event.device != 1 || event.bytes.size() <= REQ_PAYLOAD)
            continue;
        const uint8_t sent = event.bytes[REQ_COMMAND];
        if (sent == CMD_BEGIN) {
            open = true;
            seen = false;
            block.clear();
        } else if (sent == CMD_END) {
            if (open && seen)
                blocks.push_back(block);
            open = false;
        } else if (open && sent == command) {
            const size_t length = event.bytes[REQ_LENGTH];
            const size_t offset = event.bytes[REQ_OFFSET_LO] | (static_cast<size_t>(event.bytes[REQ_OFFSET_HI]) << 8);
            if (block.size() < offset + length)
                block.resize(offset + length);
            for (size_t i = 0; i < length && REQ_PAYLOAD + i < event.bytes.size(); ++i)
                block[offset + i] = event.bytes[REQ_PAYLOAD + i];
            seen = true;
        }
    }
    return blocks;
}

std::vector<uint8_t> Bytes(const std::vector<uint8_t>& block, size_t at, size_t count)
{
    if (block.size() < at + count)
        return {};
    return std::vector<uint8_t>(block.begin() + at, block.begin() + at + count);
}

class MacroJourney : public ProgramJourney
{
protected:
    // The window still answers: its thread survived what it was sent.
    bool Answers(HWND window)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result) != 0 &&
               program->Running();
    }

    // Starts the program with the keyboard and shows the macro page.
    HWND OpenMacroPage()
    {
        HWND window = StartProgram();
        if (!window)
            return nullptr;
        if (!WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) {
            ADD_FAILURE() << "the device pages never opened";
            return nullptr;
        }
        database = SettingsDatabase();
        ClickAt(window, kMacroTab);
        // The page is up when its event list answers.
        EXPECT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEventRows) >= 0; }));
        // The input goes to the program's window, as a user types into it.
        SetForegroundWindow(window);
        return window;
    }

    long long Sql(const std::string& sql) { return QueryDatabase(database, sql.c_str()); }
    long long MacroCount() { return Sql("SELECT COUNT(*) FROM t_macro_data"); }
    long long MacroId(int nth)
    {
        return Sql("SELECT macro_id FROM t_macro_data ORDER BY macro_id LIMIT 1 OFFSET " + std::to_string(nth));
    }

    // A new macro from the page's button; its id.
    long long NewMacro(HWND window)
    {
        const long long before = MacroCount();
        ClickAt(window, kNewMacro);
        EXPECT_TRUE(WaitFor([&] { return MacroCount() == before + 1; })) << "no macro was added";
        const long long id = MacroId(static_cast<int>(before));
        // The new macro is selected and shows its (empty) event list.
        EXPECT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEventRows) == 0; }));
        return id;
    }

    // Picks a delay mode with its radio; true once the macro stores it.
    bool ChooseDelayMode(HWND window, long long macroId, POINT radio, int delayType)
    {
        ClickAt(window, radio);
        return WaitFor([&] {
            return Sql("SELECT delay_type FROM t_macro_data WHERE macro_id = " + std::to_string(macroId)) == delayType;
        });
    }

    // The stored event rows of a macro in list order.
    std::vector<StoredRow> StoredRows(long long macroId)
    {
        std::vector<StoredRow> rows;
        const std::string where = "FROM t_macrorecord WHERE macro_id = " + std::to_string(macroId);
        const long long count = Sql("SELECT COUNT(*) " + where);
        for (long long i = 0; i < count; ++i) {
            const std::string row = where + " ORDER BY record_index LIMIT 1 OFFSET " + std::to_string(i);
            rows.push_back({static_cast<int>(Sql("SELECT type " + row)), Sql("SELECT value " + row)});
        }
        return rows;
    }
    ::testing::AssertionResult WaitForStoredRows(long long macroId, const std::vector<StoredRow>& expected)
    {
        if (WaitFor([&] { return StoredRows(macroId) == expected; }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "stored " << ::testing::PrintToString(StoredRows(macroId));
    }

    bool WaitForRows(HWND window, long rows)
    {
        return WaitFor([&] { return QueryProgramState(window, kQueryEventRows) == rows; });
    }

    // A key press while recording, waiting until its rows are in the list.
    void RecordPress(HWND window, Key key, long rowsAfterDown, long rowsAfterUp)
    {
        SendKey(key, false);
        ASSERT_TRUE(WaitForRows(window, rowsAfterDown)) << "the key's press was not recorded";
        SendKey(key, true);
        ASSERT_TRUE(WaitForRows(window, rowsAfterUp)) << "the key's release was not recorded";
    }

    void StartRecording(HWND window)
    {
        ClickAt(window, kRecordButton);
        ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryRecording) == 1; }))
            << "recording did not start";
    }
    void StopRecording(HWND window)
    {
        ClickAt(window, kRecordButton);
        ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryRecording) == 0; }))
            << "recording did not stop";
    }

    // A row of the program's open menu, clicked once the menu has painted it.
    void ChooseMenuRow(int width, int row)
    {
        ASSERT_TRUE(e2e::ChooseMenuRow(program->ProcessId(), width, row)) << "no menu row " << row << " was chosen";
    }

    // A row of the insert menu that the button under the event list opens.
    void InsertFromMenu(HWND window, int row)
    {
        ClickAt(window, kInsertEvent);
        ChooseMenuRow(kInsertMenuWidth, row);
    }

    // The record editor from the insert menu's key row; null when it did not open.
    HWND OpenRecordEditor(HWND window)
    {
        InsertFromMenu(window, kInsertMenuKeyRow);
        HWND editor = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (editor = FindProcessWindow(program->ProcessId(), L"RecordEditDlg")) != nullptr; }))
            << "the record editor did not open";
        return editor;
    }

    // A key pressed in the open record editor, waiting until its edit shows
    // the key's name: its letters bring colours of their own, a blinking
    // caret at most one.
    void CaptureInRecordEditor(HWND editor, Key key)
    {
        const size_t empty = Colours(Capture(editor, kEditorKeyEdit));
        PressKey(key);
        EXPECT_TRUE(WaitFor([&] { return Colours(Capture(editor, kEditorKeyEdit)) > empty + 2; }))
            << "the editor shows no captured key";
    }

    // A row of the drop-down that a click on the combo opens.
    void ChooseDropDownRow(HWND window, POINT combo, int row)
    {
        HWND dropDown = nullptr;
        ASSERT_TRUE(ClickUntil(window, combo, [&] {
            dropDown = FindProcessWindow(program->ProcessId(), kDropDownCaption);
            RECT rows = {};
            return dropDown != nullptr && GetClientRect(dropDown, &rows) && Colours(Capture(dropDown, rows)) > 4;
        })) << "the combo opened no drop-down";
        const POINT at = DropDownRow(row);
        Click(dropDown, at.x, at.y);
        ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(program->ProcessId(), kDropDownCaption) == nullptr; }))
            << "the drop-down stayed open after the choice";
    }

    // A macro's stored play type and count.
    std::pair<long long, long long> PlaySettings(long long macroId)
    {
        const std::string where = " FROM t_macro_data WHERE macro_id = " + std::to_string(macroId);
        return {Sql("SELECT play_type" + where), Sql("SELECT play_times" + where)};
    }
    ::testing::AssertionResult WaitForPlaySettings(long long macroId, long long type, long long times)
    {
        if (WaitFor([&] { return PlaySettings(macroId) == std::make_pair(type, times); }))
            return ::testing::AssertionSuccess();
        const auto stored = PlaySettings(macroId);
        return ::testing::AssertionFailure() << "stored play type " << stored.first << ", count " << stored.second;
    }

    // The event menu from the selected row's more button. The menu opens by
    // the pointer, which is put where the whole menu fits on the screen.
    void OpenEventMenu(HWND window, int selectedRow)
    {
        POINT more = {kEventMoreX, kEventRowTop + selectedRow * kRowHeight + kRowHeight / 2};
        POINT screen = more;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        ClickAt(window, more);
    }

    // The program's message box, closed with its OK.
    bool CloseMessageBox()
    {
        HWND box = WaitForMessageBox();
        if (box == nullptr)
            return false;
        ClickAt(box, kBoxOnlyOk);
        return WaitFor([&] { return !IsShown(box); });
    }

    // Binds a key of the keys page picture to the nth macro of the Macros category.
    void BindKey(HWND window, POINT key, int macroRow)
    {
        ClickAt(window, kKeysTab);
        ClickAt(window, key);
        ClickAt(window, kMacrosCategory);
        // The list places its items when it paints them: the pointer lights
        // the item once it has a place, and only then is it clicked.
        const POINT item = ValueListItem(macroRow);
        EXPECT_TRUE(WaitFor([&] {
            PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(item.x, item.y));
            for (DWORD pixel : Capture(window, RECT{item.x - 30, item.y - 8, item.x + 30, item.y + 8}))
                if ((pixel & 0xFFFFFF) == kLitItem)
                    return true;
            return false;
        })) << "the Macros category shows no item " << macroRow;
        ClickAt(window, item);
    }
    static POINT ValueListItem(int row);

    size_t MacroWrites() { return WrittenBlocks(sim, CMD_WRITE_MACROS).size(); }
    size_t KeyMapWrites() { return WrittenBlocks(sim, CMD_WRITE_KEYMAP).size(); }
    // The latest block of a command written after `before` of them that satisfies check.
    template <class Check>
    bool WaitForWrite(uint8_t command, size_t before, Check check)
    {
        return WaitFor([&] {
            const auto blocks = WrittenBlocks(sim, command);
            return blocks.size() > before && check(blocks.back());
        });
    }

    void Exit(HWND window)
    {
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
    }

    std::wstring database;
};

// The value list of a category shows its items side by side below the tabs.
POINT MacroJourney::ValueListItem(int row) { return POINT{350 + row * 105, 525}; }

// A new macro is named with the language's word for a macro and its number,
// in the store and in the list; its menu's items do what they say: the first
// imports a macro file, the second exports the selected macro to one, and
// both dialogs offer macro files.
TEST_F(MacroJourney, ANewMacroIsNamedInTheLanguageAndItsMenuImportsAndExportsAsItSays)
{
    WriteRegistryValue(L"LCID", L"1033");
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const std::wstring language = RunFolder() + L"language\\1033.lan";
    auto text = [&](const wchar_t* number) {
        wchar_t value[128] = {};
        GetPrivateProfileStringW(L"KB.DIALOG", number, L"", value, 128, language.c_str());
        return std::wstring(value);
    };
    const std::wstring name = text(L"351") + L" 1";
    ASSERT_GT(name.size(), 2u) << "no text 351 in the language file";
    const std::string narrowName(name.begin(), name.end());  // an English text

    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_macro_data WHERE macro_id = " + std::to_string(id) + " AND name = '" +
                  narrowName + "'"),
              1)
        << "the new macro is not stored as " << narrowName;

    // What the list shows: the row's rename box starts with it.
    DoubleClick(window, kMacroRowX, kMacroRowTop + kRowHeight / 2);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindChildOfClass(window, L"MEditWindow")) != nullptr; }))
        << "the row's rename box did not open";
    // Asked for its text: the caption of another process's edit box is not it.
    wchar_t shown[128] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(box, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(shown), SMTO_NORMAL, kTimeoutMs, &copied);
    EXPECT_EQ(std::wstring(shown), name) << "the list shows another name";
    // Pressing elsewhere in the list ends the rename unchanged.
    Click(window, kMacroRowX, kMacroRowTop + 10 * kRowHeight);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); })) << "the rename box stayed open";

    auto openMacroMenu = [&] {
        POINT more = {kMacroMoreX, kMacroRowTop + kRowHeight / 2};
        POINT screen = more;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        ClickAt(window, more);
    };
    const std::wstring kind = text(L"1158") + L" (*.xml)";
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"tarnwell journey macro.xml";
    DeleteFileW(file.c_str());

    // The second item exports the selected macro.
    openMacroMenu();
    ChooseMenuRow(kMacroMenuWidth, kMacroMenuExportRow);
    std::wstring offered;
    ASSERT_TRUE(AnswerFileDialog(program->ProcessId(), file, &offered)) << "the export item opened no file dialog";
    EXPECT_EQ(offered, kind);
    ASSERT_TRUE(WaitFor([&] { return FileWritten(file); })) << "the export item wrote no file";
    std::stringstream written;
    written << std::ifstream(file.c_str(), std::ios::binary).rdbuf();
    EXPECT_NE(written.str().find("<macroinfo"), std::string::npos) << "the file holds no single macro";
    EXPECT_NE(written.str().find(narrowName), std::string::npos) << "the file holds another macro";
    EXPECT_EQ(MacroCount(), 1) << "exporting changed the macros";

    // The first item imports the file as a new macro.
    openMacroMenu();
    ChooseMenuRow(kMacroMenuWidth, kMacroMenuImportRow);
    offered.clear();
    ASSERT_TRUE(AnswerFileDialog(program->ProcessId(), file, &offered)) << "the import item opened no file dialog";
    EXPECT_EQ(offered, kind);
    EXPECT_TRUE(WaitFor([&] { return MacroCount() == 2; })) << "the import item added no macro";
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_macro_data WHERE name = '" + narrowName + "'"), 2);
    DeleteFileW(file.c_str());
    Exit(window);
}

// Any process can post the hook-key message with any lParam; the program
// must never follow it as a pointer.
TEST_F(MacroJourney, MessagesFromAnotherProcessCarryNoPointerTheProgramFollows)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);

    const LPARAM foreign[] = {0x10, static_cast<LPARAM>(0xDEADBEE0), -16};
    for (LPARAM lParam : foreign) {
        for (WPARAM message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP}) {
            PostMessageW(window, WM_HOOK_KEY, message, lParam);
        }
        // Raw input that the program did not ask for, with a handle that is none.
        PostMessageW(window, WM_INPUT, RIM_INPUT, lParam);
    }
    ASSERT_TRUE(Answers(window)) << "the program died on a posted message";

    // The menus' answers without a macro page to act on change nothing and
    // open no dialog.
    for (LPARAM item : {101, 102, 103, 105, 106, 107})
        PostMessageW(window, WM_RECORD_EDIT, 0, item);
    for (LPARAM item : {102, 106})
        PostMessageW(window, WM_MACRO_MENU, 0, item);
    for (LPARAM item : {100, 101, 102, 103, 104})
        PostMessageW(window, WM_RECORD_MENU, 0, item);
    ASSERT_TRUE(Answers(window));

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// A key pressed and released while recording with the recorded delays: the
// store holds its press, the time it was held and its release, and the
// keyboard is sent one macro of two events.
TEST_F(MacroJourney, ARecordedKeyIsStoredWithItsDelayAndSentAsTheFirstMacro)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    EXPECT_EQ(Sql("SELECT delay_type FROM t_macro_data WHERE macro_id = " + std::to_string(id)), 1)
        << "a new macro records its delays";

    StartRecording(window);
    // The key is held a moment, as a finger does: the release comes after a delay.
    constexpr int kHoldMs = 100;
    SendKey(kA, false);
    ASSERT_TRUE(WaitForRows(window, 1)) << "the key's press was not recorded";
    Sleep(kHoldMs);
    SendKey(kA, true);
    ASSERT_TRUE(WaitForRows(window, 3)) << "the release was not recorded after its delay";
    const size_t writesBefore = MacroWrites();
    StopRecording(window);

    const std::string rows = "FROM t_macrorecord WHERE macro_id = " + std::to_string(id);
    ASSERT_TRUE(WaitFor([&] { return Sql("SELECT COUNT(*) " + rows) == 3; })) << "the rows were not stored";
    const long long delay = Sql("SELECT value " + rows + " AND record_index = 1");
    EXPECT_EQ(StoredRows(id), (std::vector<StoredRow>{{ROW_KEY_DOWN, 'A'}, {ROW_DELAY, delay}, {ROW_KEY_UP, 'A'}}));
    // At least the hold, less the tick count's granularity.
    EXPECT_GE(delay, kHoldMs - 20);
    EXPECT_LE(delay, 10000) << "held far longer than the key was";
    // Recorded press and release are separate events: each its own timestamp.
    EXPECT_EQ(Sql("SELECT COUNT(DISTINCT delay_time) " + rows), 3);
    SaveScreenshot(window, L"e2e_macro_recorded");

    // Slot 0 starts at the first event: the press waits the recorded delay,
    // the release is the macro's last event.
    std::vector<uint8_t> buffer;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_MACROS, writesBefore, [&](const std::vector<uint8_t>& block) {
        buffer = block;
        return block.size() == kSlotTableBytes + 2 * kEventBytes;
    })) << "the keyboard was not sent the macro's two events; last buffer " << buffer.size() << " bytes";
    ASSERT_EQ(buffer.size(), kSlotTableBytes + 2 * kEventBytes);
    EXPECT_EQ(Bytes(buffer, 0, 2), (std::vector<uint8_t>{0x40, 0x00})) << "slot 0 does not start at byte 64";
    EXPECT_EQ(Bytes(buffer, 2, kSlotTableBytes - 2), std::vector<uint8_t>(kSlotTableBytes - 2, 0));
    EXPECT_EQ(Bytes(buffer, 64, kEventBytes),
              (std::vector<uint8_t>{static_cast<uint8_t>(delay & 0xFF), static_cast<uint8_t>(delay >> 8),
                                    FLAG_KEY_DOWN, USAGE_A}));
    EXPECT_EQ(Bytes(buffer, 68, kEventBytes),
              (std::vector<uint8_t>{10, 0, static_cast<uint8_t>(FLAG_KEY_UP | FLAG_LAST), USAGE_A}));
    Exit(window);
}

// Modifiers are told apart by side while recording and reach the keyboard
// as modifier bits around the key they hold.
TEST_F(MacroJourney, RecordedModifiersKeepTheirSideAndAreSentAsModifierBits)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(ChooseDelayMode(window, id, kDelayNone, 0));

    StartRecording(window);
    struct Step
    {
        Key key;
        bool up;
    };
    const Step steps[] = {{kLeftShift, false}, {kRightCtrl, false}, {kA, false},
                          {kA, true},          {kRightCtrl, true},  {kLeftShift, true}};
    long rows = 0;
    for (const Step& step : steps) {
        SendKey(step.key, step.up);
        EXPECT_TRUE(WaitForRows(window, ++rows)) << "key " << step.key.vk << (step.up ? " up" : " down")
                                                 << " was not recorded";
    }
    const size_t writesBefore = MacroWrites();
    StopRecording(window);
    // Whatever happened, no modifier stays held on the shared display.
    for (Key key : {kA, kRightCtrl, kLeftShift})
        SendKey(key, true);

    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, VK_LSHIFT},
                                       {ROW_KEY_DOWN, VK_RCONTROL},
                                       {ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_UP, 'A'},
                                       {ROW_KEY_UP, VK_RCONTROL},
                                       {ROW_KEY_UP, VK_LSHIFT}}));
    const std::vector<uint8_t> events = {
        10, 0, FLAG_MODIFIER_DOWN, BIT_LEFT_SHIFT, 10, 0, FLAG_MODIFIER_DOWN, BIT_RIGHT_CTRL,
        10, 0, FLAG_KEY_DOWN,      USAGE_A,        10, 0, FLAG_KEY_UP,        USAGE_A,
        10, 0, FLAG_MODIFIER_UP,   BIT_RIGHT_CTRL, 10, 0, static_cast<uint8_t>(FLAG_MODIFIER_UP | FLAG_LAST),
        BIT_LEFT_SHIFT};
    std::vector<uint8_t> sent;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_MACROS, writesBefore, [&](const std::vector<uint8_t>& block) {
        sent = Bytes(block, kSlotTableBytes, events.size());
        return block.size() == kSlotTableBytes + events.size() && sent == events;
    })) << "the keyboard was sent " << ::testing::PrintToString(sent);
    Exit(window);
}

// The macro chosen from the keys page's Macros category is stored for the
// key and written into the key map as the macro's slot.
TEST_F(MacroJourney, AKeyBoundToAMacroIsStoredAndWrittenAsItsSlot)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    NewMacro(window);
    const long long second = NewMacro(window);
    ASSERT_GT(second, 0);

    const size_t before = KeyMapWrites();
    BindKey(window, kPictureKeyA, 1);
    const std::string keyA = "FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND key_code = " +
                             std::to_string(kKeyCodeA);
    EXPECT_TRUE(WaitFor([&] { return Sql("SELECT macro_type " + keyA) == 12; })) << "the key was not bound";
    EXPECT_EQ(Sql("SELECT macro_value " + keyA), second);
    EXPECT_EQ(Sql("SELECT COUNT(*) " + keyA + " AND macro_desc = (SELECT name FROM t_macro_data WHERE macro_id = " +
                  std::to_string(second) + ")"),
              1)
        << "the key does not show the macro's name";
    std::vector<uint8_t> entry;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_KEYMAP, before, [&](const std::vector<uint8_t>& map) {
        entry = Bytes(map, kKeyIndexA * kEntryBytes, 3);
        return entry == std::vector<uint8_t>{ENTRY_MACRO, 1, 0};
    })) << "key A's entry is not macro slot 1";
    SaveScreenshot(window, L"e2e_macro_bound_key");
    Exit(window);
}

// Recording ends by itself at the thirtieth key event, and a list already
// full ends the next recording at its first key.
TEST_F(MacroJourney, RecordingStopsAtTheEventLimit)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    // Fixed delays: every key event is preceded by a delay row of 10 ms.
    ASSERT_TRUE(ChooseDelayMode(window, id, kDelayFixed, 2));

    StartRecording(window);
    const int presses = kEventLimit / 2;
    for (int i = 0; i + 1 < presses; ++i)
        RecordPress(window, kLetters[i], 4 * i + 2, 4 * i + 4);
    EXPECT_EQ(QueryProgramState(window, kQueryRecording), 1) << "recording stopped before the limit";
    RecordPress(window, kLetters[presses - 1], 4 * presses - 2, 4 * presses);
    EXPECT_TRUE(CloseMessageBox()) << "the full list was not reported";
    EXPECT_EQ(QueryProgramState(window, kQueryRecording), 0) << "recording went on past the limit";

    const std::string rows = "FROM t_macrorecord WHERE macro_id = " + std::to_string(id);
    EXPECT_TRUE(WaitFor([&] { return Sql("SELECT COUNT(*) " + rows + " AND type <> 1") == kEventLimit; }));
    EXPECT_EQ(Sql("SELECT COUNT(*) " + rows + " AND type = 1 AND value = 10"), kEventLimit);
    EXPECT_EQ(Sql("SELECT type " + rows + " ORDER BY record_index DESC LIMIT 1"), ROW_KEY_UP);

    // Already full: the first key ends the new recording without its event.
    StartRecording(window);
    SendKey(kB, false);
    EXPECT_TRUE(CloseMessageBox()) << "the full list was not reported at the first key";
    SendKey(kB, true);
    EXPECT_EQ(QueryProgramState(window, kQueryRecording), 0);
    EXPECT_TRUE(WaitFor([&] { return Sql("SELECT COUNT(*) " + rows) == 2 * kEventLimit + 1; }));
    EXPECT_EQ(Sql("SELECT COUNT(*) " + rows + " AND type <> 1"), kEventLimit) << "a key went past the limit";
    Exit(window);
}

// The event editor and the list's buttons and menus change single events;
// every change is stored at once.
TEST_F(MacroJourney, EditedInsertedMovedAndDeletedEventsAreStored)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(ChooseDelayMode(window, id, kDelayNone, 0));
    StartRecording(window);
    RecordPress(window, kA, 1, 2);
    StopRecording(window);
    ASSERT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'}, {ROW_KEY_UP, 'A'}}));

    // A delay from the insert menu goes before the selected release.
    ClickEventRow(window, 1);
    InsertFromMenu(window, kInsertMenuDelayRow);
    ASSERT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'}, {ROW_DELAY, 50}, {ROW_KEY_UP, 'A'}}))
        << "the menu's delay was not inserted before the selected row";

    // The delay typed into the event editor, past the longest delay the
    // keyboard plays: the field ends its edit when the row is pressed again,
    // and the delay is stored as the longest.
    OpenEventEditor(window, 1, KIND_DELAY);
    const std::vector<DWORD> delayLabel = Capture(window, kValueLabel);
    ASSERT_TRUE(OpenField(window, kEventValue)) << "the delay field did not open";
    ASSERT_TRUE(TypeIntoField(window, L"20000")) << "the delay field took no typing";
    ClickEventRow(window, 1);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'}, {ROW_DELAY, 10000}, {ROW_KEY_UP, 'A'}}))
        << "the typed delay was not stored within its range";
    ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEditorKind) == KIND_DELAY; }));
    SaveScreenshot(window, L"macro_event_editor");

    // A key press from the record editor, after the selected press: its
    // press and release share one timestamp.
    ClickEventRow(window, 0);
    HWND editor = OpenRecordEditor(window);
    ASSERT_NE(editor, nullptr);
    CaptureInRecordEditor(editor, kB);
    SaveScreenshot(editor, L"e2e_record_editor");
    ClickAt(editor, kEditorOk);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
    ASSERT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, 'B'},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, 'B'},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}))
        << "the captured key was not inserted after the selected row";

    // Closed with its close button, the editor inserts nothing, whatever it
    // captured; the list is saved all the same.
    const size_t writes = MacroWrites();
    editor = OpenRecordEditor(window);
    ASSERT_NE(editor, nullptr);
    CaptureInRecordEditor(editor, kB);
    ClickAt(editor, kEditorClose);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); })) << "the close button left the editor open";
    EXPECT_TRUE(WaitFor([&] { return MacroWrites() > writes; })) << "the list was not saved and sent";
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, 'B'},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, 'B'},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}))
        << "a cancelled editor inserted its key";

    // The inserted press takes another key through the value field: both its
    // rows change, the recorded ones stay.
    OpenEventEditor(window, 3, KIND_KEY);
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kValueLabel) != delayLabel; }))
        << "the value field's label names a delay for a key";
    // The record editor's window has just gone, and the activation that
    // follows it may come after the click and end the field's edit: the key
    // is pressed again into a field opened again, as a user would.
    EXPECT_TRUE(WaitFor([&] {
        if (!OpenField(window, kEventValue))
            return false;
        PressKey(kLetters[1]);
        return WaitFor([&] { return QueryProgramState(window, kQueryCapturedKey) == kLetters[1].vk; },
                       kClickRetryMs);
    })) << "the value field took no key";
    ClickEventRow(window, 3);
    const long long s = kLetters[1].vk;
    ASSERT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, s},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, s},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}))
        << "the edited key was not stored in both rows";

    // Moves: the selected release up and down with the editor's buttons, then
    // to the top and the bottom with the event menu.
    ClickAt(window, kMoveUp);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, s},
                                       {ROW_KEY_UP, s},
                                       {ROW_DELAY, 50},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}));
    ClickAt(window, kMoveDown);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, s},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, s},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}));
    ClickEventRow(window, 5);
    OpenEventMenu(window, 5);
    ChooseMenuRow(kEventMenuWidth, kEventMenuTopRow);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_UP, 'A'},
                                       {ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, s},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, s},
                                       {ROW_DELAY, 10000}}));
    OpenEventMenu(window, 0);
    ChooseMenuRow(kEventMenuWidth, kEventMenuBottomRow);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'},
                                       {ROW_KEY_DOWN, s},
                                       {ROW_DELAY, 50},
                                       {ROW_KEY_UP, s},
                                       {ROW_DELAY, 10000},
                                       {ROW_KEY_UP, 'A'}}));

    // Deleting the inserted press removes both its rows but not the delay
    // between them; deleting a recorded press leaves its release.
    ClickEventRow(window, 1);
    ClickAt(window, kDeleteEvent);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_KEY_DOWN, 'A'}, {ROW_DELAY, 50}, {ROW_DELAY, 10000}, {ROW_KEY_UP, 'A'}}));
    ClickEventRow(window, 0);
    ClickAt(window, kDeleteEvent);
    EXPECT_TRUE(WaitForStoredRows(id, {{ROW_DELAY, 50}, {ROW_DELAY, 10000}, {ROW_KEY_UP, 'A'}}));
    Exit(window);
}

// Each item of the insert menu, with no event selected, appends what it
// stands for: a click of the left, middle or right button (press, 50 ms,
// release), the key captured by the record editor the same way, or a delay
// of 50 ms; the keyboard is sent them as the macro's events. The editor of an
// inserted click gives it another button. Run in Polish, whose editor is
// photographed on the way.
TEST_F(MacroJourney, EveryInsertMenuItemAppendsItsEventsAndTheKeyboardIsSentThem)
{
    WriteRegistryValue(L"LCID", L"1045");
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long id = NewMacro(window);
    ASSERT_GT(id, 0);
    const size_t writesBefore = MacroWrites();

    const struct
    {
        int menuRow;
        std::vector<StoredRow> rows;
    } items[] = {
        {kInsertMenuLeftRow, {{ROW_MOUSE_DOWN, 1}, {ROW_DELAY, 50}, {ROW_MOUSE_UP, 1}}},
        {kInsertMenuMiddleRow, {{ROW_MOUSE_DOWN, 4}, {ROW_DELAY, 50}, {ROW_MOUSE_UP, 4}}},
        {kInsertMenuRightRow, {{ROW_MOUSE_DOWN, 2}, {ROW_DELAY, 50}, {ROW_MOUSE_UP, 2}}},
        {kInsertMenuKeyRow, {{ROW_KEY_DOWN, 'B'}, {ROW_DELAY, 50}, {ROW_KEY_UP, 'B'}}},
        {kInsertMenuDelayRow, {{ROW_DELAY, 50}}},
    };
    std::vector<StoredRow> expected;
    for (const auto& item : items) {
        SCOPED_TRACE(item.menuRow);
        if (item.menuRow == kInsertMenuKeyRow) {
            HWND editor = OpenRecordEditor(window);
            ASSERT_NE(editor, nullptr);
            CaptureInRecordEditor(editor, kB);
            ClickAt(editor, kEditorOk);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
        } else {
            InsertFromMenu(window, item.menuRow);
        }
        expected.insert(expected.end(), item.rows.begin(), item.rows.end());
        ASSERT_TRUE(WaitForStoredRows(id, expected)) << "menu row " << item.menuRow << " inserted other rows";
    }

    // Each event waits the delay that follows it; the delay at the end
    // follows no event and is not sent.
    const std::vector<uint8_t> events = {
        50, 0, FLAG_BUTTON_DOWN, 1,      10, 0, FLAG_BUTTON_UP, 1, 50, 0, FLAG_BUTTON_DOWN, 4,
        10, 0, FLAG_BUTTON_UP,   4,      50, 0, FLAG_BUTTON_DOWN, 2, 10, 0, FLAG_BUTTON_UP, 2,
        50, 0, FLAG_KEY_DOWN,    USAGE_B, 10, 0, static_cast<uint8_t>(FLAG_KEY_UP | FLAG_LAST), USAGE_B};
    std::vector<uint8_t> sent;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_MACROS, writesBefore, [&](const std::vector<uint8_t>& block) {
        sent = Bytes(block, kSlotTableBytes, block.size() > kSlotTableBytes ? block.size() - kSlotTableBytes : 0);
        return sent == events;
    })) << "the keyboard was sent " << ::testing::PrintToString(sent);

    // The first click's editor: its button combo gives both of its rows the
    // forward button.
    OpenEventEditor(window, 0, KIND_MOUSE);
    SaveScreenshot(window, L"macro_event_editor_pl");
    ChooseDropDownRow(window, kMouseButtonCombo, kForwardRow);
    expected[0].value = kForwardButton;
    expected[2].value = kForwardButton;
    EXPECT_TRUE(WaitForStoredRows(id, expected)) << "the chosen button did not reach both rows of the click";
    Exit(window);
}

// The repeat box: each radio stores its play mode for the selected macro, the
// count typed beside "times" is kept within 1 to 255, and a macro selected
// again shows what it stored. The keyboard is sent nothing for them: a
// macro's play mode is no part of what the keyboard is given.
TEST_F(MacroJourney, RepeatSettingsAreStoredPerMacroAndShownWhenItIsSelectedAgain)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long first = NewMacro(window);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(WaitForPlaySettings(first, 0, 1)) << "a new macro plays once";
    const size_t macroWrites = MacroWrites();
    const size_t keyMapWrites = KeyMapWrites();

    const struct
    {
        POINT radio;
        long long type;
    } modes[] = {{kPlayWhileHeld, 1}, {kPlayUntilPressedAgain, 2}, {kPlayTimes, 0}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.type);
        ClickAt(window, mode.radio);
        EXPECT_TRUE(WaitForPlaySettings(first, mode.type, 1));
    }

    // The count ends its edit when the macro's row is pressed, which loads
    // the macro again from the store. A count stored already (0 is kept as
    // 1) shows nothing new in the store: the field's close says the press
    // was taken, before the next click could find the field still open.
    const struct
    {
        const wchar_t* typed;
        long long stored;
    } counts[] = {{L"0", 1}, {L"300", 255}, {L"7", 7}};
    for (const auto& count : counts) {
        SCOPED_TRACE(count.stored);
        ASSERT_TRUE(OpenField(window, kPlayCount)) << "the count field did not open";
        ASSERT_TRUE(TypeIntoField(window, count.typed)) << "the count field took no typing";
        ClickMacroRow(window, 0);
        ASSERT_TRUE(WaitFor([&] { return FocusedField(window) == nullptr; })) << "the count field stayed open";
        EXPECT_TRUE(WaitForPlaySettings(first, 0, count.stored));
    }
    std::vector<DWORD> shownFirst;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<DWORD> now = Capture(window, kRepeatBox);
        const bool settled = now == shownFirst;
        shownFirst = now;
        return settled;
    }));

    // Another macro keeps its own settings.
    const long long second = NewMacro(window);
    ASSERT_GT(second, 0);
    ClickAt(window, kPlayWhileHeld);
    EXPECT_TRUE(WaitForPlaySettings(second, 1, 1));
    EXPECT_TRUE(WaitForPlaySettings(first, 0, 7));
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kRepeatBox) != shownFirst; }))
        << "the second macro shows the first one's repeat settings";
    ClickMacroRow(window, 0);
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kRepeatBox) == shownFirst; }))
        << "the first macro does not show its count of 7 again";
    SaveScreenshot(window, L"macro_repeat");

    EXPECT_EQ(MacroWrites(), macroWrites);
    EXPECT_EQ(KeyMapWrites(), keyMapWrites);
    Exit(window);
}

// Deleting a macro that a key uses gives the key its own function back, moves
// the later macros up a slot, and sends both the macros and the key map.
TEST_F(MacroJourney, DeletingABoundMacroFreesItsKeyAndRenumbersTheLaterMacros)
{
    HWND window = OpenMacroPage();
    ASSERT_NE(window, nullptr);
    const long long first = NewMacro(window);
    const long long second = NewMacro(window);
    const long long third = NewMacro(window);
    ASSERT_GT(third, 0);
    // The third macro gets a click: two events behind an empty first slot.
    InsertFromMenu(window, kInsertMenuLeftRow);
    ASSERT_TRUE(WaitForStoredRows(third, {{ROW_MOUSE_DOWN, 1}, {ROW_DELAY, 50}, {ROW_MOUSE_UP, 1}}));

    BindKey(window, kPictureKeyA, 1);
    BindKey(window, kPictureKeyB, 2);
    const auto key = [](int code) {
        return "FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND key_code = " + std::to_string(code);
    };
    ASSERT_TRUE(WaitFor([&] { return Sql("SELECT macro_value " + key(kKeyCodeA)) == second; }));
    ASSERT_TRUE(WaitFor([&] { return Sql("SELECT macro_value " + key(kKeyCodeB)) == third; }));

    ClickAt(window, kMacroTab);
    ClickMacroRow(window, 1);
    const size_t macroWrites = MacroWrites();
    const size_t keyMapWrites = KeyMapWrites();
    ClickAt(window, kDeleteMacro);
    ASSERT_TRUE(WaitFor([&] { return MacroCount() == 2; })) << "the macro was not deleted";
    EXPECT_EQ(MacroId(0), first);
    EXPECT_EQ(MacroId(1), third);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_macrorecord WHERE macro_id = " + std::to_string(second)), 0);

    // Key A does what it says again; key B still plays the third macro.
    EXPECT_TRUE(WaitFor([&] { return Sql("SELECT macro_type " + key(kKeyCodeA)) == 2; }));
    EXPECT_EQ(Sql("SELECT macro_value " + key(kKeyCodeA)), kKeyCodeA);
    EXPECT_EQ(Sql("SELECT macro_type " + key(kKeyCodeB)), 12);
    EXPECT_EQ(Sql("SELECT macro_value " + key(kKeyCodeB)), third);

    // The keyboard: key A is its own key, key B the macro now in slot 1.
    std::vector<uint8_t> a, b;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_KEYMAP, keyMapWrites, [&](const std::vector<uint8_t>& map) {
        a = Bytes(map, kKeyIndexA * kEntryBytes, 3);
        b = Bytes(map, kKeyIndexB * kEntryBytes, 3);
        return a == std::vector<uint8_t>{ENTRY_KEY, 0, USAGE_A} && b == std::vector<uint8_t>{ENTRY_MACRO, 1, 0};
    })) << "the key map was not written again with the freed key and the moved macro";
    // The macros: slot 0 empty, slot 1 the click, no slot 2.
    const std::vector<uint8_t> slots = {0x40, 0, 0x40, 0, 0, 0};
    const std::vector<uint8_t> click = {50, 0, FLAG_BUTTON_DOWN, 1, 10, 0,
                                        static_cast<uint8_t>(FLAG_BUTTON_UP | FLAG_LAST), 1};
    std::vector<uint8_t> buffer;
    EXPECT_TRUE(WaitForWrite(CMD_WRITE_MACROS, macroWrites, [&](const std::vector<uint8_t>& block) {
        buffer = block;
        return block.size() == kSlotTableBytes + 2 * kEventBytes && Bytes(block, 0, 6) == slots &&
               Bytes(block, kSlotTableBytes, 2 * kEventBytes) == click;
    })) << "the macros were not written again; slot table " << ::testing::PrintToString(Bytes(buffer, 0, 6))
        << ", events " << ::testing::PrintToString(Bytes(buffer, kSlotTableBytes, 2 * kEventBytes));
    Exit(window);
}

} // namespace
