// The macro page: the macro list, the delay and play settings, recording
// from the keyboard, the event editor and the macro files.

#include "app/window/KeyboardDlg.h"

#include <commdlg.h>
#include <cwchar>

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/store/XmlDoc.h"
#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/LanguageTexts.h"
#include "app/window/MacroXml.h"
#include "app/window/MessageTexts.h"
#include "app/window/ProfileFile.h"
#include "app/window/RecordEditDlg.h"
#include "app/window/XmlFileDialog.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/MenuWnd.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/lists/ComboBox.h"
#include "ui/lists/MEdit.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

using namespace tarnwell;

namespace {

// Controls of the page.
constexpr UINT ID_MACRO_LIST = 82;
constexpr UINT ID_RECORD_LIST = 92;
constexpr UINT ID_INSERT_BUTTON = 93;
constexpr UINT ID_DELETE_EVENT = 94;
constexpr UINT ID_RECORD_BUTTON = 98;
constexpr UINT ID_DELAY_NONE = 100;
constexpr UINT ID_DELAY_RECORDED = 101;
constexpr UINT ID_DELAY_FIXED = 102;
constexpr UINT ID_FIXED_DELAY = 104;
constexpr UINT ID_PLAY_UNTIL_RELEASE = 107;
constexpr UINT ID_PLAY_TOGGLE = 108;
constexpr UINT ID_PLAY_COUNT = 109;
constexpr UINT ID_PLAY_TIMES = 110;
constexpr UINT ID_EVENT_KIND = 112;
constexpr UINT ID_EVENT_VALUE = 113;
constexpr UINT ID_EVENT_BUTTON = 114;
constexpr UINT ID_VALUE_LABEL = 115;
constexpr UINT ID_MOVE_UP = 116;
constexpr UINT ID_MOVE_DOWN = 117;
constexpr UINT ID_KEY_CATEGORIES = 73;

constexpr UINT kEventEditor[] = {97, 111, 112, 115, 113, 114, 116, 117};
// Disabled together while recording; the record button stays enabled.
constexpr UINT kLockedWhileRecording[] = {52, 82, 83, 84, 92, 93, 94, 95, 96, 97, 100, 101,
                                          102, 104, 107, 108, 109, 110, 112, 115, 113, 114, 116, 117};

// Notification codes.
constexpr UINT NOTIFY_CLICKED = 2;
constexpr UINT NOTIFY_MORE = 9;
constexpr UINT NOTIFY_EDIT_ENDED = 29;
constexpr UINT NOTIFY_EDIT_STARTED = 30;

// Kinds of the event editor's kind list (item data).
constexpr long KIND_MOUSE = 1;
constexpr long KIND_KEY = 2;
constexpr long KIND_DELAY = 3;

constexpr int kMacroCategory = 3;

// Language texts.
constexpr int TEXT_MACRO = 351;
constexpr int TEXT_EVENT_LIST = 355;
constexpr int TEXT_RECORD = 358;
constexpr int TEXT_STOP = 359;
constexpr int TEXT_INSERT = 368;
constexpr int TEXT_PICK_KEY_TIP = 385;
constexpr int TEXT_LIST_FULL = 386;
constexpr int TEXT_NO_MACRO = 387;
constexpr int TEXT_KIND_MOUSE = 393;
constexpr int TEXT_KIND_KEY = 394;
constexpr int TEXT_KIND_DELAY = 395;
constexpr int TEXT_DELAY_MS = 1230;
constexpr int TEXT_MOUSE_BUTTON = 392;
constexpr int TEXT_MACROS_FULL = 421;

// Menus: where they open and how they look.
constexpr UINT kMenuBackground = 150;
constexpr int kMenuCorner = 4;

const wchar_t* const kRecordIcon = L"icon\\icon_rec.png";
const wchar_t* const kStopIcon = L"icon\\icon_stop_rec.png";

CString Number(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

} // namespace

// ---- helpers ----------------------------------------------------------------------------

namespace {

template <class T>
T* ControlAs(KeyboardDlg& dlg, UINT id)
{
    return dynamic_cast<T*>(dlg.Control(id));
}

bool IsChecked(KeyboardDlg& dlg, UINT id)
{
    auto* radio = ControlAs<VREL::CRadioButton>(dlg, id);
    return radio != nullptr && radio->GetCheck() != 0;
}

void Check(KeyboardDlg& dlg, UINT id)
{
    if (auto* radio = ControlAs<VREL::CRadioButton>(dlg, id)) {
        radio->SetControlCheck(1);
        radio->ResetGroupCheck();
    }
}

void Enable(KeyboardDlg& dlg, UINT id, bool enable)
{
    if (VREL::MControl* control = dlg.Control(id))
        control->SetControlEnabled(enable ? 1 : 0);
}

CString EditText(KeyboardDlg& dlg, UINT id)
{
    auto* edit = ControlAs<VREL::MEdit>(dlg, id);
    return edit != nullptr ? edit->GetEditText() : CString();
}

void SetEditText(KeyboardDlg& dlg, UINT id, const wchar_t* text)
{
    if (auto* edit = ControlAs<VREL::MEdit>(dlg, id))
        edit->SetControlTitle(text);
}

// The edit's number clamped into its range; an empty edit first gets
// `empty`, and a text that the clamp changed is replaced.
int ClampedEdit(KeyboardDlg& dlg, UINT id, int minimum, int maximum, const wchar_t* empty)
{
    CString text = EditText(dlg, id);
    if (text.IsEmpty() && empty != nullptr) {
        SetEditText(dlg, id, empty);
        text = empty;
    }
    const int value = ClampTypedNumber(text.GetString(), minimum, maximum);
    const CString clamped = Number(value);
    if (clamped != text) {
        SetEditText(dlg, id, clamped.GetString());
        if (VREL::MControl* control = dlg.Control(id))
            control->SetTooltip(clamped.GetString());
    }
    return value;
}

// The label above the event editor's value field names what the field
// holds for the kind shown: a delay in ms, a key or a mouse button.
int ValueLabelText(long kind)
{
    switch (kind) {
    case KIND_DELAY:
        return TEXT_DELAY_MS;
    case KIND_KEY:
        return TEXT_KIND_KEY;
    default:
        return TEXT_MOUSE_BUTTON;
    }
}

void SetLabel(KeyboardDlg& dlg, UINT id, const CString& text)
{
    if (auto* label = ControlAs<VREL::MControlFont>(dlg, id)) {
        label->SetControlTitle(text.GetString());
        label->UpdateControl(1, 1);
    }
}

CPoint CursorPlus(int dx, int dy)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return CPoint(cursor.x + dx, cursor.y + dy);
}

} // namespace

CString KeyboardDlg::MacroText(int number) { return Text(number); }

void KeyboardDlg::ShowMacroMessage(int title, int message)
{
    ShowMessage(Text(message), Text(title), kMessageBoxOk);
}

int KeyboardDlg::SelectedMacroId()
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    if (list == nullptr)
        return 0;
    const int row = list->GetCurSel();
    return row >= 0 ? static_cast<int>(list->GetItemData(row)) : 0;
}

void KeyboardDlg::RefillMacroCategory()
{
    auto* categories = ControlAs<VREL::KeyTypeTab>(*this, ID_KEY_CATEGORIES);
    if (categories != nullptr && categories->GetSelectItem() == kMacroCategory)
        FillFunctionList(ControlNotify{ID_KEY_CATEGORIES, NOTIFY_CLICKED, kMacroCategory, 0});
}

// ---- loading and saving --------------------------------------------------------------------

void KeyboardDlg::LoadMacroList()
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (list != nullptr)
        list->DeleteAllItems();
    if (records != nullptr)
        records->DeleteAllItems();
    StoreRows<MacroData> macros;
    GetConfigDB().GetMacroList(macros.Out());
    if (list == nullptr)
        return;
    for (const MacroData* macro : macros.Rows())
        list->AddString(macro->name.GetString(), static_cast<long>(macro->macro_id), 0);
    if (!macros.Rows().empty()) {
        list->SetCurSel(0);
        LoadMacroRecord(macros.Rows().front()->macro_id);
    }
}

void KeyboardDlg::LoadMacroRecord(int macroId)
{
    for (UINT id : kEventEditor)
        SetControlVisible(id, false);
    Enable(*this, ID_FIXED_DELAY, false);
    Enable(*this, ID_PLAY_TIMES, false);

    MacroData macro;
    if (GetConfigDB().GetMacro(macroId, macro)) {
        switch (macro.delay_type) {
        case DELAY_NONE:
            Check(*this, ID_DELAY_NONE);
            break;
        case DELAY_RECORDED:
            Check(*this, ID_DELAY_RECORDED);
            break;
        case DELAY_FIXED:
            Check(*this, ID_DELAY_FIXED);
            SetEditText(*this, ID_FIXED_DELAY, Number(macro.delay_time).GetString());
            Enable(*this, ID_FIXED_DELAY, true);
            break;
        default:
            break;
        }
        switch (macro.play_type) {
        case 1:
            Check(*this, ID_PLAY_UNTIL_RELEASE);
            break;
        case 2:
            Check(*this, ID_PLAY_TOGGLE);
            break;
        case 0:
            Check(*this, ID_PLAY_COUNT);
            SetEditText(*this, ID_PLAY_TIMES, Number(macro.play_times).GetString());
            Enable(*this, ID_PLAY_TIMES, true);
            break;
        default:
            break;
        }
    }

    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (records == nullptr)
        return;
    records->DeleteAllItems();
    StoreRows<MacroRecordData> rows;
    GetConfigDB().GetMacroRecords(macroId, rows.Out());
    for (const MacroRecordData* row : rows.Rows())
        records->AddString(row->desc, row->type, row->value, row->delay_time);
    records->UpdateControl(1, 1);
}

void KeyboardDlg::SaveMacroRecord()
{
    const int macroId = SelectedMacroId();
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (macroId <= 0 || records == nullptr)
        return;
    ConfigDB& store = GetConfigDB();
    store.DeleteMacroRecords(macroId);
    std::vector<MacroRecordData> rows;
    int index = 0;
    for (const VREL::RecordItem* item : records->GetRecordItems()) {
        MacroRecordData row;
        row.macro_id = macroId;
        row.type = item->type;
        row.record_index = index++;
        row.value = item->value;
        row.delay_time = item->timestamp;
        row.desc = item->text;
        rows.push_back(row);
    }
    if (!rows.empty())
        store.InsertMacroRecords(rows);
    // Also after the last event went: the keyboard would otherwise keep
    // playing the events the list no longer shows.
    PushTask(TASK_WRITE_MACROS);
}

void KeyboardDlg::SaveMacroSettings()
{
    const int macroId = SelectedMacroId();
    MacroData macro;
    if (macroId <= 0 || !GetConfigDB().GetMacro(macroId, macro))
        return;
    macro.delay_time = 0;
    if (IsChecked(*this, ID_DELAY_NONE)) {
        macro.delay_type = DELAY_NONE;
    } else if (IsChecked(*this, ID_DELAY_RECORDED)) {
        macro.delay_type = DELAY_RECORDED;
    } else if (IsChecked(*this, ID_DELAY_FIXED)) {
        macro.delay_type = DELAY_FIXED;
        macro.delay_time = ClampedEdit(*this, ID_FIXED_DELAY, kMinDelayMs, kMaxDelayMs, L"10");
    }
    macro.play_times = 1;
    if (IsChecked(*this, ID_PLAY_UNTIL_RELEASE)) {
        macro.play_type = 1;
    } else if (IsChecked(*this, ID_PLAY_TOGGLE)) {
        macro.play_type = 2;
    } else if (IsChecked(*this, ID_PLAY_COUNT)) {
        macro.play_type = 0;
        macro.play_times = ClampedEdit(*this, ID_PLAY_TIMES, kMinPlayCount, kMaxPlayCount, L"1");
    }
    GetConfigDB().UpdateMacro(macroId, macro);
}

// ---- the macro list ---------------------------------------------------------------------

LRESULT KeyboardDlg::AddMacro(const ControlNotify&)
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    if (list == nullptr)
        return 0;
    const int count = list->GetItemCount();
    if (count >= kMaxMacros) {
        ShowMacroMessage(TEXT_MACRO, TEXT_MACROS_FULL);
        return 1;
    }
    CString name;
    name.Format(L"%ls %d", MacroText(TEXT_MACRO).GetString(), count + 1);
    const int id = GetConfigDB().AddMacro(name);
    if (id <= 0)
        return 0;  // nothing was stored, so nothing was added
    const int row = list->AddString(name.GetString(), static_cast<long>(id), 0);
    list->SetCurSel(row);
    LoadMacroRecord(id);
    list->UpdateControl(1, 1);
    RefillMacroCategory();
    return 1;
}

LRESULT KeyboardDlg::DeleteMacro(const ControlNotify&)
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    if (list == nullptr)
        return 0;
    const int row = list->GetCurSel();
    const int id = row >= 0 ? static_cast<int>(list->GetItemData(row)) : 0;
    if (id <= 0 || !DeleteMacroAndFreeKeys(GetConfigDB(), id))
        return 0;
    list->DeleteItem(row);
    list->SetCurSel(row > 0 ? row - 1 : -1);
    // The row above shows its own events: an empty list here would be
    // saved over them by the next change.
    if (row > 0)
        LoadMacroRecord(static_cast<int>(list->GetItemData(row - 1)));
    else if (auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST))
        records->DeleteAllItems();
    list->UpdateControl(1, 1);
    RefillMacroCategory();
    // Every later macro moved up a slot and the keys of the deleted one got
    // their own function back: both go to the keyboard again.
    LoadKeyMap();
    PushTask(TASK_WRITE_MACROS);
    PushTask(TASK_WRITE_KEYMAP);
    return 1;
}

VREL::MenuWnd* KeyboardDlg::OpenMacroMenu(UINT message, CPoint at, int width)
{
    // A menu closes when it loses the focus, which one that never had it
    // does not: a second open would pile up beside the first.
    auto open = m_openMenus.find(message);
    if (open != m_openMenus.end()) {
        // A handle of a menu closed meanwhile may name another window now.
        wchar_t caption[32] = {};
        if (::IsWindow(open->second) && ::GetWindowThreadProcessId(open->second, nullptr) == ::GetCurrentThreadId() &&
            ::GetWindowTextW(open->second, caption, 32) > 0 && wcscmp(caption, L"Menu Window") == 0)
            ::DestroyWindow(open->second);
        m_openMenus.erase(open);
    }
    auto* menu = new VREL::MenuWnd(this);
    if (!menu->Create(m_hWnd, at, message, kMenuBackground, kMenuCorner, width, VREL::BACK_MODE_NINE_GRID)) {
        delete menu;
        return nullptr;
    }
    m_openMenus[message] = menu->GetSafeHwnd();
    return menu;
}

LRESULT KeyboardDlg::ShowMacroMenu(const ControlNotify& n)
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    if (list == nullptr)
        return 0;
    switch (n.code) {
    case NOTIFY_CLICKED: {
        const int id = SelectedMacroId();
        if (id > 0)
            LoadMacroRecord(id);
        return 1;
    }
    case NOTIFY_MORE: {
        VREL::MenuWnd* menu = OpenMacroMenu(WM_MACRO_MENU, CursorPlus(2, 2), 150);
        if (menu == nullptr)
            return 0;
        for (const MenuItemText& item : kMacroMenuItems)
            menu->AddMenu(MacroText(item.text), item.item, -1, 0, 0);
        menu->ShowWindow(SW_SHOW);
        return 1;
    }
    case NOTIFY_EDIT_ENDED: {
        const int row = static_cast<int>(n.lParam);
        if (row < 0 || row >= list->GetItemCount())
            return 0;
        // Bounded as the names that come from files are.
        const CString typed = list->GetItemText(row);
        const CString name = CutFileText(typed);
        if (name != typed)
            list->ModifyItemString(row, name.GetString());
        const int id = static_cast<int>(list->GetItemData(row));
        ConfigDB& store = GetConfigDB();
        if (name.IsEmpty()) {
            MacroData stored;
            if (store.GetMacro(id, stored))
                list->ModifyItemString(row, stored.name.GetString());
            list->UpdateControl(1, 1);
            return 1;
        }
        StoreRows<KeyMacroData> keys;
        store.GetProfileKeyMacros(m_profileId, keys.Out());
        for (const KeyMacroData* key : keys.Rows()) {
            if (key->macro_type == 12 && key->macro_value == id)
                store.UpdateKeyMacroDesc(key->profile, key->fn_layer, key->key_code, name);
        }
        store.RenameMacro(id, name);
        RefillMacroCategory();
        LoadKeyMap();
        return 1;
    }
    default:
        return 0;
    }
}

LRESULT KeyboardDlg::OnMacroMenu(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case 101:
        return ImportMacroList() ? 1 : 0;
    case 102:
        return ExportMacroList() ? 1 : 0;
    case 105:
        return ImportMacroFile() ? 1 : 0;
    case 106:
        return ExportMacroFile() ? 1 : 0;
    default:
        return 0;
    }
}

// ---- macro files ----------------------------------------------------------------------------

bool KeyboardDlg::ImportMacroList() { return ImportMacrosOf(MacroFileFormat::Single); }
bool KeyboardDlg::ExportMacroList() { return ExportMacrosOf(MacroFileFormat::Single); }
bool KeyboardDlg::ImportMacroFile() { return ImportMacrosOf(MacroFileFormat::All); }
bool KeyboardDlg::ExportMacroFile() { return ExportMacrosOf(MacroFileFormat::All); }

bool KeyboardDlg::ImportMacrosOf(MacroFileFormat format)
{
    const std::wstring path = ChooseXmlFile(m_hWnd, false, MacroText(TEXT_MACRO_FILES));
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    return ImportMacroText(format, path);
}

bool KeyboardDlg::ImportMacroText(MacroFileFormat format, const std::wstring& path)
{
    const MacroFileImport result = tarnwell::ImportMacroFile(GetConfigDB(), format, path.c_str());
    if (auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST)) {
        for (const ImportedMacro& macro : result.imported)
            list->AddString(macro.name.GetString(), static_cast<long>(macro.id), 0);
        if (!result.imported.empty())
            list->UpdateControl(1, 1);
    }
    // A refused file and a file only partly taken are both told: the user
    // would otherwise take the silence for an import of everything.
    const int message = MacroFileImportText(result);
    if (message != 0) {
        CString text = Text(message);
        text.Replace(kEventLimitMark, Number(kMaxEventRows));
        ShowMessage(text, Text(kImportMacrosTitleText), kMessageBoxOk);
    }
    return true;
}

bool KeyboardDlg::ExportMacrosOf(MacroFileFormat format)
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    const int row = list != nullptr ? list->GetCurSel() : -1;
    if (row < 0)
        return false;
    const std::wstring path = ChooseXmlFile(m_hWnd, true, MacroText(TEXT_MACRO_FILES));
    if (path.empty())
        return false;
    return ExportMacroText(format, path);
}

bool KeyboardDlg::ExportMacroText(MacroFileFormat format, const std::wstring& path)
{
    auto* list = ControlAs<VREL::MacroList>(*this, ID_MACRO_LIST);
    const int row = list != nullptr ? list->GetCurSel() : -1;
    if (row < 0)
        return false;
    std::vector<MacroFileEntry> entries;
    if (format == MacroFileFormat::Single) {
        MacroFileEntry entry;
        if (!ReadStoredMacro(GetConfigDB(), static_cast<int>(list->GetItemData(row)), entry))
            return false;
        entry.macro.name = list->GetItemText(row);
        entries.push_back(std::move(entry));
    } else {
        entries = ReadStoredMacros(GetConfigDB());
    }
    int flags = 0;
    return XmlDoc::WriteTextFile(WriteMacroXml(format, entries), nullptr, path.c_str(), &flags);
}

// ---- delay and play settings ---------------------------------------------------------------

LRESULT KeyboardDlg::OnMacroRadio(const ControlNotify& n)
{
    switch (n.id) {
    case ID_DELAY_FIXED:
        SetEditText(*this, ID_FIXED_DELAY, L"10");
        Enable(*this, ID_FIXED_DELAY, true);
        break;
    case ID_DELAY_NONE:
    case ID_DELAY_RECORDED:
        Enable(*this, ID_FIXED_DELAY, false);
        break;
    case ID_PLAY_COUNT:
        SetEditText(*this, ID_PLAY_TIMES, L"1");
        Enable(*this, ID_PLAY_TIMES, true);
        break;
    case ID_PLAY_UNTIL_RELEASE:
    case ID_PLAY_TOGGLE:
        Enable(*this, ID_PLAY_TIMES, false);
        break;
    default:
        return 0;
    }
    SaveMacroSettings();
    return 1;
}

LRESULT KeyboardDlg::OnMacroField(const ControlNotify& n)
{
    if (n.code != NOTIFY_EDIT_ENDED)
        return 0;
    if (n.id == ID_FIXED_DELAY)
        ClampedEdit(*this, ID_FIXED_DELAY, kMinDelayMs, kMaxDelayMs, nullptr);
    else
        ClampedEdit(*this, ID_PLAY_TIMES, kMinPlayCount, kMaxPlayCount, nullptr);
    SaveMacroSettings();
    return 1;
}

// ---- recording ----------------------------------------------------------------------------

void KeyboardDlg::EnableMacroControls(bool enable)
{
    for (UINT id : kLockedWhileRecording)
        Enable(*this, id, enable);
}

LRESULT KeyboardDlg::ToggleRecording(const ControlNotify&)
{
    // Only a start needs a macro: a recording always ends, whatever the
    // list shows by then.
    if (!m_macro.recording && SelectedMacroId() <= 0) {
        ShowMacroMessage(TEXT_RECORD, TEXT_NO_MACRO);
        return 0;
    }
    m_macro.eventLimit = kRecordEventLimit;
    auto* button = ControlAs<VREL::MButton>(*this, ID_RECORD_BUTTON);
    if (m_macro.recording) {
        m_macro.recorder.reset();
        m_macro.captureMode = CAPTURE_NONE;
        SaveMacroRecord();
        if (button != nullptr) {
            button->SetControlTitle(MacroText(TEXT_RECORD).GetString());
            button->SetIconImage(kRecordIcon, 1);
        }
        EnableMacroControls(true);
    } else {
        m_macro.recorder.reset();
        m_macro.timestampCounter = static_cast<int>(GetTickCount());
        int mode = DELAY_NONE;
        int fixedDelay = 0;
        if (IsChecked(*this, ID_DELAY_NONE)) {
            mode = DELAY_NONE;
        } else if (IsChecked(*this, ID_DELAY_RECORDED)) {
            mode = DELAY_RECORDED;
        } else if (IsChecked(*this, ID_DELAY_FIXED)) {
            mode = DELAY_FIXED;
            fixedDelay = ClampedEdit(*this, ID_FIXED_DELAY, kMinDelayMs, kMaxDelayMs, L"10");
        }
        m_macro.clock.Start(mode, fixedDelay);
        m_macro.captureMode = CAPTURE_RECORDING;
        m_macro.recorder = std::make_unique<RawInputRecorder>();
        m_macro.recorder->Register(m_hWnd);
        if (button != nullptr) {
            button->SetControlTitle(MacroText(TEXT_STOP).GetString());
            button->SetIconImage(kStopIcon, 1);
        }
        EnableMacroControls(false);
    }
    m_macro.recording = !m_macro.recording;
    if (button != nullptr)
        button->UpdateControl(1, 1);
    return 1;
}

void KeyboardDlg::AppendRecordEvent(const RawInputEvent& event)
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (!m_macro.recording || records == nullptr || event.kind != RAW_EVENT_KEYBOARD)
        return;
    const RecordStep step = PlanRecordedEvent(m_macro.clock, GetTickCount(), records->GetEventCount(),
                                              records->GetItemCount(), m_macro.eventLimit);
    if (step.delay != 0)
        records->AddString(DelayRowText(step.delay), ROW_DELAY, step.delay, ++m_macro.timestampCounter);
    if (step.appendEvent) {
        const CString name(event.name);
        records->AddString(event.up ? UpRowText(name) : DownRowText(name), event.up ? ROW_KEY_UP : ROW_KEY_DOWN,
                           event.code, ++m_macro.timestampCounter);
    }
    records->UpdateControl(1, 1);
    if (step.stop) {
        ToggleRecording(ControlNotify{ID_RECORD_BUTTON, NOTIFY_CLICKED, 0, 0});
        ShowMacroMessage(TEXT_EVENT_LIST, TEXT_LIST_FULL);
    }
}

LRESULT KeyboardDlg::OnRawInput(WPARAM, LPARAM lParam)
{
    if (!m_macro.recorder)
        return 0;
    RawInputEvent event;
    if (!DecodeRawInput(reinterpret_cast<HRAWINPUT>(lParam), event) || event.kind != RAW_EVENT_KEYBOARD)
        return 0;
    if (m_macro.captureMode == CAPTURE_RECORDING) {
        AppendRecordEvent(event);
    } else if (m_macro.captureMode == CAPTURE_VALUE_EDIT && !event.name.empty()) {
        m_macro.capturedCode = event.code;
        m_macro.capturedName = CString(event.name);
        SetEditText(*this, ID_EVENT_VALUE, m_macro.capturedName.GetString());
    }
    return 0;
}

LRESULT KeyboardDlg::OnHookKey(WPARAM wParam, LPARAM lParam)
{
    // Any process can post this message: its lParam is never followed.
    // Only the dialog's own record is read, and only in a hook mode.
    if (m_macro.hookMode == 0 || lParam != reinterpret_cast<LPARAM>(&m_macro.hookRecord))
        return 0;
    RawInputEvent event;
    if (!m_macro.hookDecoder.Decode(static_cast<UINT>(wParam), m_macro.hookRecord, event))
        return 0;
    if (m_macro.hookMode == 1) {
        AppendRecordEvent(event);
    } else if (m_macro.hookMode == 2) {
        m_macro.hookCapturedCode = event.code;
        SetEditText(*this, ID_EVENT_VALUE, event.name.c_str());
    }
    return 1;
}

LRESULT KeyboardDlg::MacroStateQuery(WPARAM query)
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    switch (query) {
    case QUERY_MACRO_RECORDING:
        return m_macro.recording ? 1 : 0;
    case QUERY_MACRO_ROWS:
        return records != nullptr ? records->GetItemCount() : -1;
    case QUERY_MACRO_CAPTURED_KEY:
        return m_macro.captureMode == CAPTURE_VALUE_EDIT ? m_macro.capturedCode : 0;
    case QUERY_MACRO_SELECTED_ROW:
        return records != nullptr ? records->GetCurSel() : -1;
    case QUERY_MACRO_EDITOR_KIND: {
        auto* kinds = ControlAs<VREL::MComboBox>(*this, ID_EVENT_KIND);
        return kinds != nullptr && IsControlVisible(ID_EVENT_KIND) ? kinds->GetCurData() : -1;
    }
    default:
        return -1;
    }
}

// ---- event editing ----------------------------------------------------------------------

void KeyboardDlg::ConfigureValueEdit(long kind)
{
    auto* edit = ControlAs<VREL::MEdit>(*this, ID_EVENT_VALUE);
    SetLabel(*this, ID_VALUE_LABEL, MacroText(ValueLabelText(kind)));
    SetControlVisible(ID_EVENT_BUTTON, false);
    SetControlVisible(ID_EVENT_VALUE, true);
    if (edit == nullptr)
        return;
    edit->EnableCharMessage(1);
    edit->SetControlTitle(L"");
    switch (kind) {
    case KIND_DELAY:
        edit->SetLimitText(5);
        edit->SetControlTitle(L"10");
        edit->SetNumberOnly(1);
        break;
    case KIND_KEY:
        edit->SetLimitText(10);
        edit->EnableCharMessage(0);
        edit->SetTipInfo(MacroText(TEXT_PICK_KEY_TIP).GetString());
        edit->SetNumberOnly(0);
        break;
    case KIND_MOUSE:
        SetControlVisible(ID_EVENT_VALUE, false);
        SetControlVisible(ID_EVENT_BUTTON, true);
        break;
    default:
        break;
    }
}

void KeyboardDlg::OpenEventEditor()
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    const int row = records != nullptr ? records->GetCurSel() : -1;
    if (row < 0)
        return;
    CString text;
    int type = 0, value = 0, timestamp = 0;
    records->GetRecordInfo(row, text, type, value, timestamp);
    for (UINT id : kEventEditor)
        SetControlVisible(id, true);
    SetControlVisible(ID_EVENT_BUTTON, false);
    auto* edit = ControlAs<VREL::MEdit>(*this, ID_EVENT_VALUE);
    auto* kinds = ControlAs<VREL::MComboBox>(*this, ID_EVENT_KIND);
    if (edit != nullptr) {
        edit->EnableCharMessage(1);
        edit->SetControlTitle(L"");
    }
    if (kinds != nullptr)
        kinds->DelAllItems();
    auto addKind = [&](int textNumber, long data) {
        if (kinds != nullptr) {
            kinds->AddItem(MacroText(textNumber).GetString(), data);
            kinds->SetCurSel(0);
        }
    };
    const bool keyRow = type == ROW_KEY_DOWN || type == ROW_KEY_UP;
    const long kind = type == ROW_DELAY ? KIND_DELAY : keyRow ? KIND_KEY : KIND_MOUSE;
    SetLabel(*this, ID_VALUE_LABEL, MacroText(ValueLabelText(kind)));
    if (type == ROW_DELAY) {
        addKind(TEXT_KIND_DELAY, KIND_DELAY);
        if (edit != nullptr) {
            edit->SetNumberOnly(1);
            edit->SetControlTitle(Number(value).GetString());
        }
    } else if (type == ROW_KEY_DOWN || type == ROW_KEY_UP) {
        addKind(TEXT_KIND_KEY, KIND_KEY);
        if (edit != nullptr) {
            edit->SetNumberOnly(0);
            edit->EnableCharMessage(0);
            edit->SetTipInfo(MacroText(TEXT_PICK_KEY_TIP).GetString());
            edit->SetControlTitle(RowName(text).GetString());
        }
    } else if (type == ROW_MOUSE_DOWN || type == ROW_MOUSE_UP) {
        addKind(TEXT_KIND_MOUSE, KIND_MOUSE);
        SetControlVisible(ID_EVENT_VALUE, false);
        SetControlVisible(ID_EVENT_BUTTON, true);
    }
}

LRESULT KeyboardDlg::OnRecordListNotify(const ControlNotify& n)
{
    if (n.code == NOTIFY_CLICKED) {
        OpenEventEditor();
        return 1;
    }
    if (n.code != NOTIFY_MORE)
        return 0;
    VREL::MenuWnd* menu = OpenMacroMenu(WM_RECORD_MENU, CursorPlus(-125, 2), 120);
    if (menu == nullptr)
        return 0;
    for (UINT item = 100; item <= 103; ++item)
        menu->AddMenu(MacroText(static_cast<int>(300 + item)), item, -1, 0, 0);
    menu->ShowWindow(SW_SHOW);
    return 1;
}

LRESULT KeyboardDlg::OnEventValueField(const ControlNotify& n)
{
    auto* kinds = ControlAs<VREL::MComboBox>(*this, ID_EVENT_KIND);
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (kinds == nullptr || records == nullptr)
        return 0;
    const long kind = kinds->GetCurData();
    const int row = records->GetCurSel();
    if (kind == KIND_KEY && n.code == NOTIFY_EDIT_STARTED) {
        m_macro.capturedCode = 0;
        m_macro.capturedName.Empty();
        SetEditText(*this, ID_EVENT_VALUE, L"");
        m_macro.captureMode = CAPTURE_VALUE_EDIT;
        m_macro.recorder.reset();
        m_macro.recorder = std::make_unique<RawInputRecorder>();
        m_macro.recorder->Register(m_hWnd);
        return 1;
    }
    if (kind == KIND_KEY && n.code == NOTIFY_EDIT_ENDED) {
        m_macro.recorder.reset();
        m_macro.captureMode = CAPTURE_NONE;
        if (m_macro.capturedCode <= 0 || m_macro.capturedName.IsEmpty() || row < 0)
            return 1;
        const int timestamp = records->GetRecrodTimeStamp(row);
        records->SetRecordInfo(timestamp, ROW_KEY_DOWN, DownRowText(m_macro.capturedName), m_macro.capturedCode);
        records->SetRecordInfo(timestamp, ROW_KEY_UP, UpRowText(m_macro.capturedName), m_macro.capturedCode);
        records->UpdateControl(1, 1);
        SaveMacroRecord();
        return 1;
    }
    if (kind == KIND_DELAY && n.code == NOTIFY_EDIT_ENDED) {
        const int value = ClampedEdit(*this, ID_EVENT_VALUE, kMinDelayMs, kMaxDelayMs, nullptr);
        if (row < 0)
            return 1;
        CString text;
        int type = 0, old = 0, timestamp = 0;
        records->GetRecordInfo(row, text, type, old, timestamp);
        // Only a delay row takes a delay: a key row must keep its key code.
        if (type != ROW_DELAY)
            return 1;
        records->SetRecordInfo(row, DelayRowText(value), type, value, timestamp);
        records->UpdateControl(1, 1);
        SaveMacroRecord();
        return 1;
    }
    return 0;
}

void KeyboardDlg::MoveRecordItem(int where)
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (records == nullptr)
        return;
    const int row = records->GetCurSel();
    const int count = records->GetItemCount();
    switch (where) {
    case 100:  // to the top
        if (row <= 0)
            return;
        records->MoveTop(row);
        records->SetCurSel(0);
        break;
    case 101:  // up
        if (row <= 0)
            return;
        records->SwapItem(row, row - 1);
        records->SetCurSel(row - 1);
        break;
    case 102:  // down
        if (row < 0 || row + 1 >= count)
            return;
        records->SwapItem(row, row + 1);
        records->SetCurSel(row + 1);
        break;
    case 103:  // to the bottom
        if (row < 0)
            return;
        records->MoveBottom(row);
        records->SetCurSel(count - 1);
        break;
    case 104:  // clear
        records->DeleteAllItems();
        break;
    default:
        return;
    }
    records->UpdateControl(1, 1);
    SaveMacroRecord();
}

LRESULT KeyboardDlg::OnRecordMenu(WPARAM, LPARAM lParam)
{
    MoveRecordItem(static_cast<int>(lParam));
    return 1;
}

LRESULT KeyboardDlg::ClearRecordItems(const ControlNotify&)
{
    MoveRecordItem(104);
    return 1;
}

LRESULT KeyboardDlg::OnEventEditButton(const ControlNotify& n)
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (records == nullptr)
        return 0;
    switch (n.id) {
    case ID_INSERT_BUTTON: {
        if (records->GetItemCount() >= kMaxEventRows) {
            ShowMacroMessage(TEXT_INSERT, TEXT_LIST_FULL);
            return 1;
        }
        VREL::MControl* button = Control(ID_INSERT_BUTTON);
        if (button == nullptr)
            return 0;
        POINT at{button->GetRect().left, button->GetRect().top - 140};
        ClientToScreen(&at);
        VREL::MenuWnd* menu = OpenMacroMenu(WM_RECORD_EDIT, CPoint(at.x, at.y), 170);
        if (menu == nullptr)
            return 0;
        for (const MenuItemText& item : kInsertMenuItems)
            menu->AddMenu(MacroText(item.text), item.item, -1, 0, 0);
        menu->ShowWindow(SW_SHOW);
        return 1;
    }
    case ID_DELETE_EVENT: {
        const int row = records->GetCurSel();
        if (row < 0)
            return 0;
        records->DeleteTimeStamp(records->GetRecrodTimeStamp(row));
        records->UpdateControl(1, 1);
        SaveMacroRecord();
        return 1;
    }
    case ID_EVENT_KIND:
        if (auto* kinds = ControlAs<VREL::MComboBox>(*this, ID_EVENT_KIND))
            ConfigureValueEdit(kinds->GetCurData());
        return 1;
    case ID_EVENT_BUTTON: {
        auto* buttons = ControlAs<VREL::MComboBox>(*this, ID_EVENT_BUTTON);
        const int row = records->GetCurSel();
        const MouseButton* button = buttons != nullptr ? MouseButtonOfItem(buttons->GetCurData()) : nullptr;
        if (button == nullptr || row < 0)
            return 0;
        const int timestamp = records->GetRecrodTimeStamp(row);
        records->SetRecordInfo(timestamp, ROW_MOUSE_DOWN, DownRowText(button->name), button->value);
        records->SetRecordInfo(timestamp, ROW_MOUSE_UP, UpRowText(button->name), button->value);
        records->UpdateControl(1, 1);
        SaveMacroRecord();
        return 1;
    }
    case ID_MOVE_UP:
        MoveRecordItem(101);
        return 1;
    case ID_MOVE_DOWN:
        MoveRecordItem(102);
        return 1;
    default:
        return 0;
    }
}

LRESULT KeyboardDlg::EditRecordItem(WPARAM, LPARAM lParam)
{
    auto* records = ControlAs<VREL::CRecordList>(*this, ID_RECORD_LIST);
    if (records == nullptr)
        return 0;
    const int item = static_cast<int>(lParam);
    const int needed = RowsOfInsertItem(item);
    if (needed == 0)
        return 0;
    if (records->GetItemCount() + needed > kMaxEventRows) {
        ShowMacroMessage(TEXT_INSERT, TEXT_LIST_FULL);
        return 1;
    }
    int keyCode = 0;
    CString keyName;
    if (item == INSERT_KEY) {
        RecordEditDlg editor;
        editor.Create(m_hWnd, L"RecordEditDlg", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                      CRect(0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight));
        editor.CenterWindow(nullptr);
        if (editor.ShowModal(SW_SHOW) == IDOK) {
            keyCode = editor.CapturedCode();
            keyName = editor.CapturedName();
        }
    }
    const int tick = static_cast<int>(GetTickCount64() & 0xFFFFFFFFu);
    for (const RowInsert& row :
         PlanInsertedRows(item, records->GetCurSel(), records->GetItemCount(), tick, keyCode, keyName.GetString()))
        records->InsertString(row.index, row.text, row.type, row.value, row.timestamp);
    records->UpdateControl(1, 1);
    SaveMacroRecord();
    return 1;
}
