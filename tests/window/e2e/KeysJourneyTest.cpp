// Journeys of the keys page against the real program and the simulated
// keyboard: a function given to a key is stored for the current profile and
// written into the keyboard's key map at that key's place; a cancelled layer
// reset changes nothing; the layout presets chosen in their combo rewrite the
// layer; a profile chosen in the profile bar sends its own key map and
// lighting; a key dragged from the picker onto the picture is assigned where
// it is dropped.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;

// Requests as the simulator logs them.
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_LENGTH = 5;
constexpr size_t REQ_OFFSET_LO = 6;
constexpr size_t REQ_OFFSET_HI = 7;
constexpr size_t REQ_PAYLOAD = 9;
constexpr uint8_t CMD_BEGIN = 0x01;
constexpr uint8_t CMD_END = 0x02;
constexpr uint8_t CMD_READ_KEYMAP = 0x07;
constexpr uint8_t CMD_WRITE_KEYMAP = 0x09;
constexpr uint8_t CMD_WRITE_SETTINGS = 0x06;
constexpr size_t SETTINGS_MODE = 2;
constexpr int kKeyMapChunks = 14;
// Each place of the key map holds the base layer's 3 bytes, then the Fn layer's.
constexpr size_t kEntrySize = 3;
constexpr size_t kPlaceSize = 2 * kEntrySize;

// Entry kinds and the modifier bits of the keyboard's own encoding.
constexpr uint8_t ENTRY_KEY = 0x10;
constexpr uint8_t ENTRY_CONSUMER = 0x30;
constexpr uint8_t BIT_LEFT_ALT = 0x04;

// Places in the 1380 x 800 window (see screenshots/pages/keys.png).
constexpr POINT kKeyA = {298, 255};
constexpr POINT kKeyS = {342, 255};
constexpr POINT kMediaTab = {570, 445};
constexpr POINT kKeysTab = {450, 445};
constexpr POINT kVolumeIncrement = {455, 525};  // second item of the media list
constexpr POINT kPickerF5 = {448, 502};
constexpr POINT kResetLayer = {1270, 375};
constexpr POINT kFnLayer = {1270, 144};
constexpr POINT kLightingTab = TabPlace(1);
constexpr POINT kKeysPageTab = TabPlace(0);
constexpr POINT kStaticTile = {360, 520};  // light mode 3
constexpr RECT kDropDownRows = {2, 2, 80, 120};
constexpr wchar_t kDropDownCaption[] = L"ComboWnd";
// The items of the preset combo, in order.
constexpr int PRESET_STANDARD = 0;
constexpr int PRESET_MAC = 1;
constexpr int PRESET_DVORAK = 2;
constexpr int PRESET_COLEMAK = 3;
constexpr int LIGHT_MODE_STATIC = 3;
constexpr DWORD kAttemptMs = 8000;
constexpr int kDragAttempts = 3;

constexpr int KEY_A = 4;
constexpr int KEY_LEFT_GUI = 227;
constexpr int USAGE_LEFT_ALT = 226;
constexpr int USAGE_VOLUME_INCREMENT = 233;
constexpr int KEY_S = 22;
constexpr int USAGE_F5 = 62;

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }

// Real mouse input at a client point of the window: the system moves the
// cursor and the program sees the same events a hand on the mouse makes.
void Mouse(HWND window, POINT at, DWORD buttons)
{
    POINT screen = at;
    ClientToScreen(window, &screen);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof(input));
}

// Activation comes in its own time and resets what the pointer is over: real
// mouse gestures start on the active window.
bool Activate(HWND window)
{
    SetForegroundWindow(window);
    if (!WaitFor([&] { return GetForegroundWindow() == window; }))
        return false;
    // Answered once the program has taken its activation.
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &answer) != 0;
}

bool CursorAt(HWND window, POINT at)
{
    POINT screen = at, cursor = {};
    ClientToScreen(window, &screen);
    GetCursorPos(&cursor);
    return std::abs(cursor.x - screen.x) <= 1 && std::abs(cursor.y - screen.y) <= 1;
}

// The key map place of every key of the keyboard's layout file, as the program
// reads it: the hexadecimal code and the decimal index of each key element.
std::map<int, int> LayoutPlaces()
{
    std::ifstream file((RunFolder() + L"layouts\\TK104.xml").c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    const std::regex key("<key code=\"([0-9a-fA-F]+)\" key_index=\"([0-9]+)\"");
    std::map<int, int> places;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), key); it != std::sregex_iterator(); ++it)
        places[std::stoi((*it)[1].str(), nullptr, 16)] = std::stoi((*it)[2].str());
    return places;
}

// One BEGIN ... END exchange that wrote the key map: the commands in order and
// the map assembled from the written chunks.
struct KeyMapExchange
{
    std::vector<uint8_t> commands;
    std::vector<uint8_t> map;
    size_t end = 0;  // index of the END event in the log

    std::vector<uint8_t> Entry(int place, int layer) const
    {
        const size_t at = static_cast<size_t>(place) * kPlaceSize + static_cast<size_t>(layer) * kEntrySize;
        if (at + kEntrySize > map.size())
            return {};
        return {map[at], map[at + 1], map[at + 2]};
    }
};

// The finished exchanges with key map writes that start at or after `from`.
std::vector<KeyMapExchange> KeyMapExchanges(const SimulatedKeyboard& sim, size_t from)
{
    const std::vector<SimEvent> events = sim.Events();
    std::vector<KeyMapExchange> found;
    KeyMapExchange current;
    bool open = false;
    for (size_t i = from; i < events.size(); ++i) {
        const SimEvent& event = events[i];
        if (event.kind != "out" || event.device != 1 || event.bytes.size() <= REQ_PAYLOAD)
            continue;
        const uint8_t command = event.bytes[REQ_COMMAND];
        if (command == CMD_BEGIN) {
            current = KeyMapExchange();
            open = true;
        }
        if (!open)
            continue;
        current.commands.push_back(command);
        if (command == CMD_WRITE_KEYMAP) {
            const size_t offset = event.bytes[REQ_OFFSET_LO] | (event.bytes[REQ_OFFSET_HI] << 8);
            const size_t length = event.bytes[REQ_LENGTH];
            if (current.map.size() < offset + length)
                current.map.resize(offset + length);
            for (size_t b = 0; b < length && REQ_PAYLOAD + b < event.bytes.size(); ++b)
                current.map[offset + b] = event.bytes[REQ_PAYLOAD + b];
        }
        if (command == CMD_END) {
            open = false;
            current.end = i;
            if (std::find(current.commands.begin(), current.commands.end(), CMD_WRITE_KEYMAP) !=
                current.commands.end())
                found.push_back(current);
        }
    }
    return found;
}

std::vector<uint8_t> WholeKeyMapExchange()
{
    std::vector<uint8_t> commands{CMD_BEGIN};
    commands.insert(commands.end(), kKeyMapChunks, CMD_READ_KEYMAP);
    commands.insert(commands.end(), kKeyMapChunks, CMD_WRITE_KEYMAP);
    commands.push_back(CMD_END);
    return commands;
}

// The light modes of the settings blocks written from `from` on, in order.
std::vector<int> SettingsModes(const SimulatedKeyboard& sim, size_t from)
{
    const std::vector<SimEvent> events = sim.Events();
    std::vector<int> modes;
    for (size_t i = from; i < events.size(); ++i)
        if (events[i].kind == "out" && events[i].device == 1 && events[i].bytes.size() > REQ_PAYLOAD + SETTINGS_MODE &&
            events[i].bytes[REQ_COMMAND] == CMD_WRITE_SETTINGS)
            modes.push_back(events[i].bytes[REQ_PAYLOAD + SETTINGS_MODE]);
    return modes;
}

class KeysJourney : public ProgramJourney
{
protected:
    HWND OpenKeysPage()
    {
        HWND window = StartProgram();
        if (!window)
            return nullptr;
        EXPECT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; }))
            << "the device pages never opened";
        database = SettingsDatabase();
        EXPECT_TRUE(WaitFor([&] {
            return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 1") > 100;
        })) << "the profile has no key rows";
        // The connection's own traffic is over once the window answers and
        // every BEGIN has had its END.
        EXPECT_TRUE(WaitFor([&] { return sim.UnbalancedBeginEnd().empty(); }));
        return window;
    }
    long long Query(const std::string& sql) const { return QueryDatabase(database, sql.c_str()); }
    long long Row(const char* column, int layer, int key) const
    {
        return Query(std::string("SELECT ") + column + " FROM t_key_macro_data WHERE profile = 1 AND fn_layer = " +
                     std::to_string(layer) + " AND key_code = " + std::to_string(key));
    }
    // Waits for a key map exchange from `from` on whose map check holds.
    template <class Check>
    bool WaitForKeyMap(size_t from, Check check, KeyMapExchange* out = nullptr)
    {
        return WaitFor([&] {
            for (const KeyMapExchange& exchange : KeyMapExchanges(sim, from))
                if (check(exchange)) {
                    if (out)
                        *out = exchange;
                    return true;
                }
            return false;
        });
    }
    size_t Mark() const { return sim.Events().size(); }
    // Chooses an item of the layout preset combo in its drop-down. A click
    // that comes right after the drop-down closed does not open it again, as
    // for a hand on the mouse; the click is then made once more.
    bool PickPreset(HWND window, int item)
    {
        HWND dropDown = nullptr;
        for (int attempt = 0; attempt < 3 && dropDown == nullptr; ++attempt) {
            ClickAt(window, kPresetCombo);
            if (!WaitFor(
                    [&] {
                        dropDown = FindProcessWindow(program->ProcessId(), kDropDownCaption);
                        return dropDown != nullptr && Colours(Capture(dropDown, kDropDownRows)) > 4;
                    },
                    kAttemptMs))
                dropDown = nullptr;
        }
        if (dropDown == nullptr)
            return false;
        Click(dropDown, DropDownRow(item).x, DropDownRow(item).y);
        return WaitFor([&] { return FindProcessWindow(program->ProcessId(), kDropDownCaption) == nullptr; });
    }
    long long Differing(int profile, int layer) const
    {
        return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = " + std::to_string(profile) +
                     " AND fn_layer = " + std::to_string(layer) + " AND macro_value <> key_code");
    }
    void Exit(HWND window)
    {
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
    }
    std::wstring database;
};

} // namespace

namespace {

TEST_F(KeysJourney, AMediaFunctionOnAKeyIsStoredAndWrittenAtItsPlaceInTheKeyMap)
{
    HWND window = OpenKeysPage();
    ASSERT_NE(window, nullptr);
    const std::map<int, int> places = LayoutPlaces();
    ASSERT_EQ(places.count(KEY_A), 1u) << "the layout file lists no key A";
    const int placeA = places.at(KEY_A);

    // Key A, then the media category and its second entry. The clicks are
    // posted, so the program takes them in this order.
    const size_t mark = Mark();
    const RECT cell = {kVolumeIncrement.x - 40, kVolumeIncrement.y - 12, kVolumeIncrement.x + 40,
                       kVolumeIncrement.y + 12};
    const std::vector<DWORD> pickerThere = Capture(window, cell);
    ClickAt(window, kKeyA);
    ClickAt(window, kMediaTab);
    // The list's cells take their places when it is drawn; a click comes
    // after that, as a user's does.
    EXPECT_TRUE(WaitFor([&] { return Capture(window, cell) != pickerThere; })) << "the media list was not shown";
    ClickAt(window, kVolumeIncrement);
    EXPECT_TRUE(WaitFor([&] { return Row("macro_type", 0, KEY_A) == 5; })) << "key A was not given a media function";
    EXPECT_EQ(Row("macro_value", 0, KEY_A), USAGE_VOLUME_INCREMENT);
    EXPECT_EQ(Row("macro_value2", 0, KEY_A), 0);
    // The Fn layer's row and the other keys are left alone.
    EXPECT_EQ(Row("macro_type", 1, KEY_A), 0);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND "
                    "(macro_type <> 2 OR macro_value <> key_code)"),
              1);

    // The whole map is read, then written back with the consumer entry at A's
    // place on the base layer.
    const std::vector<uint8_t> volumeUp{ENTRY_CONSUMER, USAGE_VOLUME_INCREMENT, 0};
    KeyMapExchange exchange;
    EXPECT_TRUE(WaitForKeyMap(
        mark, [&](const KeyMapExchange& e) { return e.Entry(placeA, 0) == volumeUp; }, &exchange))
        << "the keyboard's map never held the media function at key A's place";
    EXPECT_EQ(exchange.commands, WholeKeyMapExchange());
    EXPECT_EQ(exchange.Entry(placeA, 1), std::vector<uint8_t>({0, 0, 0}))
        << "the Fn layer's entry of key A was written although its row keeps the keyboard's own";
    EXPECT_EQ(exchange.Entry(places.at(22), 0), std::vector<uint8_t>({ENTRY_KEY, 0, 22})) << "key S is not itself";
    // The press on the cell takes a picture of the list for a drag; the list
    // keeps the page's background around its cells all the same.
    const std::vector<DWORD> besideCells = Capture(window, RECT{940, 670, 1070, 780});
    EXPECT_EQ(std::count_if(besideCells.begin(), besideCells.end(), [](DWORD p) { return (p & 0xFFFFFF) == 0; }), 0)
        << "the list lost the page's background";
    // The picture shows the keyboard's own caps: the page shows the key picked
    // and the function it was given.
    SaveScreenshot(window, L"keys_remapped");
    Exit(window);
}

TEST_F(KeysJourney, ACancelledLayerResetChangesNothingAndAConfirmedOneRestoresTheLayer)
{
    HWND window = OpenKeysPage();
    ASSERT_NE(window, nullptr);
    const std::map<int, int> places = LayoutPlaces();
    const int placeQ = places.at(20);
    const char* changedRows = "SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND "
                              "macro_value <> key_code";

    // A layer that differs from the reset one: the Dvorak preset.
    size_t mark = Mark();
    ASSERT_TRUE(PickPreset(window, PRESET_DVORAK)) << "the preset combo did not open";
    ASSERT_TRUE(WaitFor([&] { return Query(changedRows) > 0; })) << "the preset changed no key";
    const long long changed = Query(changedRows);
    ASSERT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(placeQ, 0) == std::vector<uint8_t>({ENTRY_KEY, 0, 52});
    }));
    mark = Mark();

    // Cancelled: neither the rows nor the keyboard change.
    ClickAt(window, kResetLayer);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the layer reset did not ask first";
    Click(box, kBoxCancel.x, kBoxCancel.y);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    EXPECT_EQ(Query(changedRows), changed);
    EXPECT_EQ(Row("macro_value", 0, 20), 52);

    // Confirmed: the layer is every key's own again. The worker takes its
    // tasks in order, so a write queued by the cancel would come first.
    ClickAt(window, kResetLayer);
    ASSERT_TRUE((box = WaitForMessageBox()) != nullptr);
    Click(box, kBoxOk.x, kBoxOk.y);
    EXPECT_TRUE(WaitFor([&] { return Query(changedRows) == 0; })) << "the layer was not reset";
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND macro_type <> 2 "
                    "AND key_code NOT BETWEEN 240 AND 243"),
              0);
    ASSERT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(placeQ, 0) == std::vector<uint8_t>({ENTRY_KEY, 0, 20});
    }));
    const std::vector<KeyMapExchange> exchanges = KeyMapExchanges(sim, mark);
    EXPECT_EQ(exchanges.size(), 1u) << "the cancelled reset wrote the key map";
    Exit(window);
}

// A key, the usage it sends after the preset, on the base layer.
struct PresetCase
{
    int key;
    int usage;
};

TEST_F(KeysJourney, EachItemOfThePresetComboRewritesTheLayerInTheStoreAndTheKeyMap)
{
    HWND window = OpenKeysPage();
    ASSERT_NE(window, nullptr);
    const std::map<int, int> places = LayoutPlaces();
    auto keyEntry = [](int usage) { return std::vector<uint8_t>({ENTRY_KEY, 0, static_cast<uint8_t>(usage)}); };

    // Dvorak: 35 keys listed, M sends M; every row becomes a keyboard key.
    const PresetCase dvorak[] = {{41, 53}, {20, 52}, {26, 54}, {22, 18}, {51, 22}, {52, 45},
                                 {29, 51}, {56, 29}, {16, 16}, {KEY_A, KEY_A}};
    size_t mark = Mark();
    ASSERT_TRUE(PickPreset(window, PRESET_DVORAK)) << "the preset combo did not open";
    EXPECT_TRUE(WaitFor([&] { return Differing(1, 0) == 34; })) << "Dvorak did not rewrite the base layer";
    EXPECT_EQ(Differing(1, 1), 0) << "the preset reached the Fn layer";
    for (const PresetCase& c : dvorak) {
        EXPECT_EQ(Row("macro_type", 0, c.key), 2) << c.key;
        EXPECT_EQ(Row("macro_value", 0, c.key), c.usage) << c.key;
    }
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        for (const PresetCase& c : dvorak)
            if (e.Entry(places.at(c.key), 0) != keyEntry(c.usage))
                return false;
        return true;
    })) << "the keyboard's map did not follow the Dvorak layer";
    SaveScreenshot(window, L"keys_dvorak");

    // Twice in a row is the same as once.
    mark = Mark();
    ASSERT_TRUE(PickPreset(window, PRESET_DVORAK));
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) { return e.Entry(places.at(20), 0) == keyEntry(52); }));
    EXPECT_EQ(Differing(1, 0), 34);

    // The Mac modifiers start again from every key's own code.
    mark = Mark();
    ASSERT_TRUE(PickPreset(window, PRESET_MAC));
    EXPECT_TRUE(WaitFor([&] { return Differing(1, 0) == 3; })) << "the Mac modifiers did not replace Dvorak";
    EXPECT_EQ(Row("macro_value", 0, KEY_LEFT_GUI), USAGE_LEFT_ALT);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND "
                    "((key_code = 227 AND macro_desc = 'Opt') OR (key_code IN (226, 230) AND macro_desc = 'Cmd'))"),
              3);
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(places.at(KEY_LEFT_GUI), 0) == std::vector<uint8_t>({ENTRY_KEY, BIT_LEFT_ALT, 0}) &&
               e.Entry(places.at(20), 0) == keyEntry(20);
    })) << "the left GUI key does not send the left Alt modifier";

    // The standard layout: every key sends itself again.
    mark = Mark();
    ASSERT_TRUE(PickPreset(window, PRESET_STANDARD));
    EXPECT_TRUE(WaitFor([&] { return Differing(1, 0) == 0; })) << "the standard layout left keys remapped";
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(places.at(KEY_LEFT_GUI), 0) == std::vector<uint8_t>({ENTRY_KEY, 0x08, 0});
    })) << "the standard layout did not reach the keyboard";

    // Colemak on the Fn layer makes every key of that layer a keyboard key;
    // the base layer stays.
    mark = Mark();
    ClickAt(window, kFnLayer);
    ASSERT_TRUE(PickPreset(window, PRESET_COLEMAK));
    EXPECT_TRUE(WaitFor([&] {
        return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 1 AND macro_type <> 2") ==
               0;
    })) << "Colemak on the Fn layer left keys without a keyboard function";
    EXPECT_EQ(Row("macro_value", 1, 8), 9) << "E sends F on the Fn layer";
    EXPECT_EQ(Differing(1, 0), 0);
    EXPECT_EQ(Differing(1, 1), 17);
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(places.at(8), 1) == keyEntry(9) && e.Entry(places.at(8), 0) == keyEntry(8);
    }));
    Exit(window);
}

TEST_F(KeysJourney, AProfileChosenInTheBarSendsItsOwnKeyMapAndLighting)
{
    HWND window = OpenKeysPage();
    ASSERT_NE(window, nullptr);
    const std::map<int, int> places = LayoutPlaces();
    const int placeQ = places.at(20);
    auto activeProfile = [&] { return Query("SELECT profile FROM t_profile_data WHERE status = 1"); };
    auto activeMode = [&](long long profile) {
        return Query("SELECT mode FROM t_light_data WHERE status = 1 AND profile = " + std::to_string(profile));
    };

    // A second profile, chosen in the list, with its own layout and mode.
    ClickAt(window, kNewProfileButton);
    ASSERT_TRUE(WaitFor([&] { return Query("SELECT COUNT(*) FROM t_profile_data") == 2; })) << "no profile was added";
    const long long second = Query("SELECT MAX(profile) FROM t_profile_data");
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, RECT{40, 150, 120, 168})) > 2; }))
        << "the list does not show the new profile";
    ClickAt(window, ProfileRow(1));
    ASSERT_TRUE(WaitFor([&] { return activeProfile() == second; })) << "the chosen profile did not become active";
    ASSERT_TRUE(PickPreset(window, PRESET_DVORAK));
    ASSERT_TRUE(WaitFor([&] { return Differing(static_cast<int>(second), 0) == 34; }))
        << "the preset did not reach the chosen profile";
    EXPECT_EQ(Differing(1, 0), 0) << "the preset reached the first profile";
    ClickAt(window, kLightingTab);
    ASSERT_TRUE(WaitFor([&] {
        return Colours(Capture(window, RECT{kStaticTile.x - 40, kStaticTile.y - 10, kStaticTile.x + 40,
                                            kStaticTile.y + 10})) > 4;
    })) << "the mode list stayed empty";
    ClickAt(window, kStaticTile);
    ASSERT_TRUE(WaitFor([&] { return activeMode(second) == LIGHT_MODE_STATIC; }));
    const long long firstMode = activeMode(1);
    ASSERT_NE(firstMode, LIGHT_MODE_STATIC);
    ClickAt(window, kKeysPageTab);

    // The default profile's button goes back to the first profile: its own
    // key map and its own light mode reach the keyboard.
    size_t mark = Mark();
    ClickAt(window, kDefaultProfileButton);
    EXPECT_TRUE(WaitFor([&] { return activeProfile() == 1; })) << "the default profile did not become active";
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(placeQ, 0) == std::vector<uint8_t>({ENTRY_KEY, 0, 20});
    })) << "the first profile's key map was not sent";
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<int> modes = SettingsModes(sim, mark);
        return !modes.empty() && modes.back() == firstMode;
    })) << "the first profile's light mode was not sent";

    // Chosen in the list again, the second profile sends its Dvorak map and
    // its mode.
    mark = Mark();
    ClickAt(window, ProfileRow(1));
    EXPECT_TRUE(WaitFor([&] { return activeProfile() == second; }));
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(placeQ, 0) == std::vector<uint8_t>({ENTRY_KEY, 0, 52});
    })) << "the second profile's key map was not sent";
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<int> modes = SettingsModes(sim, mark);
        return !modes.empty() && modes.back() == LIGHT_MODE_STATIC;
    })) << "the second profile's light mode was not sent";
    SaveScreenshot(window, L"keys_second_profile");
    Exit(window);
}

TEST_F(KeysJourney, AKeyDraggedFromThePickerIsAssignedWhereItIsDropped)
{
    HWND window = OpenKeysPage();
    ASSERT_NE(window, nullptr);
    const std::map<int, int> places = LayoutPlaces();
    ASSERT_EQ(Row("macro_value", 0, KEY_S), KEY_S);
    ASSERT_TRUE(Activate(window)) << "the window did not become active";

    // Press on the picker's F5, move a little (the drag starts), cross the
    // window to key S and let go there. Each step waits until the program has
    // taken the one before: the system merges mouse moves that queue up.
    const size_t mark = Mark();
    // A press that comes while the program still settles its activation may
    // land without arming the drag, as it may for a hand on the mouse; the
    // gesture is then let go and made again.
    auto startDrag = [&] {
        // The pointer comes onto the cell from beside it, so that the program
        // sees it arrive (a pointer already there makes no move).
        const POINT beside = {kPickerF5.x + 8, kPickerF5.y + 6};
        Mouse(window, beside, 0);
        if (!WaitFor([&] { return CursorAt(window, beside); }))
            return false;
        Mouse(window, kPickerF5, 0);
        if (!WaitFor([&] { return CursorAt(window, kPickerF5); }))
            return false;
        Mouse(window, kPickerF5, MOUSEEVENTF_LEFTDOWN);
        if (!WaitFor([&] { return MouseCapture(window) == window; }, kAttemptMs))
            return false;
        // The first move with the button held only marks where the mouse is;
        // the drag starts on a later one close to it. Small moves go on until
        // the system's drag loop holds the mouse.
        int nudges = 0;
        return WaitFor(
            [&] {
                const HWND capture = MouseCapture(window);
                if (capture != nullptr && capture != window)
                    return true;
                ++nudges;
                Mouse(window, POINT{kPickerF5.x + 1 + nudges % 2, kPickerF5.y + 1}, 0);
                return false;
            },
            kAttemptMs);
    };
    bool dragging = false;
    for (int attempt = 0; attempt < kDragAttempts && !dragging; ++attempt) {
        dragging = startDrag();
        if (!dragging) {
            Mouse(window, kPickerF5, MOUSEEVENTF_LEFTUP);
            WaitFor([&] { return MouseCapture(window) == nullptr; }, kAttemptMs);
        }
    }
    ASSERT_TRUE(dragging) << "the drag did not start";
    const POINT path[] = {{(kPickerF5.x + kKeyS.x) / 2, (kPickerF5.y + kKeyS.y) / 2}, {kKeyS.x + 2, kKeyS.y + 1},
                          kKeyS};
    for (const POINT& at : path) {
        Mouse(window, at, 0);
        ASSERT_TRUE(WaitFor([&] { return CursorAt(window, at); }));
    }
    Mouse(window, kKeyS, MOUSEEVENTF_LEFTUP);

    EXPECT_TRUE(WaitFor([&] { return Row("macro_value", 0, KEY_S) == USAGE_F5; }))
        << "the dropped key did not reach key S's row";
    EXPECT_EQ(Row("macro_type", 0, KEY_S), 2);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 0 AND "
                    "macro_value <> key_code"),
              1)
        << "the drop changed other keys";
    EXPECT_TRUE(WaitForKeyMap(mark, [&](const KeyMapExchange& e) {
        return e.Entry(places.at(KEY_S), 0) == std::vector<uint8_t>({ENTRY_KEY, 0, USAGE_F5});
    }));
    Exit(window);
}

} // namespace
