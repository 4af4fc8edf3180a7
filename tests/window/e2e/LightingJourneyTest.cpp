// Journeys of the lighting page against the real program and the simulated
// keyboard: a chosen mode and colour reach the store and the keyboard's
// settings block, lighting switched off sends the "off" mode, and the keys'
// colours are read back while the page is shown.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;

// The request layout and the settings block's bytes the page changes.
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_PAYLOAD = 9;
constexpr uint8_t CMD_WRITE_SETTINGS = 0x06;
constexpr uint8_t CMD_READ_LIVE_COLORS = 0xDE;
constexpr uint8_t CMD_WRITE_LIVE_COLORS = 0xDD;
constexpr size_t REQ_LENGTH = 5;
constexpr size_t SETTINGS_MODE = 2;
constexpr size_t SETTINGS_BRIGHTNESS = 3;
constexpr size_t SETTINGS_SPEED = 4;
constexpr size_t SETTINGS_RED = 8;
constexpr size_t SETTINGS_GREEN = 9;
constexpr size_t SETTINGS_BLUE = 10;
constexpr uint8_t kModeWhenOff = 6;

// Places in the 1380 x 800 window.
constexpr POINT kLightingTab = TabPlace(1);
constexpr POINT kStaticTile = {360, 520};   // mode 3
constexpr POINT kWaveTile = {230, 485};     // mode 0
constexpr POINT kMusicTile = {360, 730};    // mode 128
constexpr POINT kCustomTile = {230, 730};   // mode 14, per-key colours
constexpr POINT kKeyA = {300, 255};
constexpr int kKeyCodeA = 4;
constexpr uint8_t CMD_WRITE_KEY_COLORS = 0x0B;
constexpr POINT kLightSwitch = {433, 445};
constexpr POINT kRedCell = {1246, 566};     // 0xFF0000-ish third cell of the first row
constexpr POINT kGreenCell = {1166, 646};   // first cell of the third row, COLORREF 0x00FF89
constexpr long long kGreenCellColour = 0x00FF89;
// The R, G and B fields one above the other, and the colour wheel.
constexpr RECT kColourFields = {1050, 552, 1105, 672};
constexpr POINT kRedField = {1077, 562};
constexpr RECT kColourWheel = {861, 548, 1021, 708};

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }

// The settings blocks written to the keyboard, oldest first.
std::vector<std::vector<uint8_t>> SettingsWrites(const SimulatedKeyboard& sim)
{
    std::vector<std::vector<uint8_t>> blocks;
    for (const SimEvent& event : sim.Events())
        if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_PAYLOAD + SETTINGS_BLUE &&
            event.bytes[REQ_COMMAND] == CMD_WRITE_SETTINGS)
            blocks.emplace_back(event.bytes.begin() + REQ_PAYLOAD, event.bytes.end());
    return blocks;
}

class LightingJourney : public ProgramJourney
{
protected:
    HWND OpenLightingPage()
    {
        HWND window = StartProgram();
        if (!window)
            return nullptr;
        EXPECT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; }))
            << "the device pages never opened";
        ClickAt(window, kLightingTab);
        database = SettingsDatabase();
        EXPECT_TRUE(WaitFor([&] { return QueryDatabase(database, "SELECT COUNT(*) FROM t_light_data") >= 16; }))
            << "the profile has no light modes";
        // The worker fills the mode list after the rows exist: wait until the
        // last tile shows its name.
        EXPECT_TRUE(WaitFor([&] {
            return Colours(Capture(window, RECT{kMusicTile.x - 40, kMusicTile.y - 10, kMusicTile.x + 40,
                                                kMusicTile.y + 10})) > 4;
        })) << "the mode list stayed empty";
        return window;
    }
    // Waits for a settings write after `before` of them that satisfies check.
    template <class Check>
    bool WaitForSettingsWrite(size_t before, Check check)
    {
        return WaitFor([&] {
            const auto blocks = SettingsWrites(sim);
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

TEST_F(LightingJourney, AChosenModeAndColourReachTheStoreAndTheSettingsBlock)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);

    size_t before = SettingsWrites(sim).size();
    ClickAt(window, kStaticTile);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database, "SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1") == 3;
    })) << "mode 3 is not the active row";
    EXPECT_TRUE(WaitForSettingsWrite(before, [](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == 3 && block[SETTINGS_BRIGHTNESS] == 5 && block[SETTINGS_SPEED] == 3 &&
               block[SETTINGS_RED] == 0xFF && block[SETTINGS_GREEN] == 0 && block[SETTINGS_BLUE] == 0;
    })) << "the keyboard was not sent mode 3 with its parameters";
    SaveScreenshot(window, L"lighting_static");

    // A colour cell sets the colour bytes of the next settings write.
    before = SettingsWrites(sim).size();
    ClickAt(window, kRedCell);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT color_value1 FROM t_light_data WHERE profile = 1 AND mode = 3") != 255 ||
               SettingsWrites(sim).size() > before;
    }));
    const long long stored =
        QueryDatabase(database, "SELECT color_value1 FROM t_light_data WHERE profile = 1 AND mode = 3");
    EXPECT_TRUE(WaitForSettingsWrite(before, [&](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == 3 && block[SETTINGS_RED] == (stored & 0xFF) &&
               block[SETTINGS_GREEN] == ((stored >> 8) & 0xFF) && block[SETTINGS_BLUE] == ((stored >> 16) & 0xFF);
    })) << "the cell's colour did not reach the keyboard";
    Exit(window);
}

TEST_F(LightingJourney, SwitchingLightingOffSendsTheOffModeAndOnRestoresTheMode)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);

    size_t before = SettingsWrites(sim).size();
    ClickAt(window, kLightSwitch);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT COUNT(*) FROM t_config_data WHERE profile = 1 AND key = 'enable_light' "
                             "AND value = '0'") == 1;
    })) << "lighting off was not stored";
    EXPECT_TRUE(WaitForSettingsWrite(before, [](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == kModeWhenOff;
    })) << "the keyboard was not sent the off mode";

    before = SettingsWrites(sim).size();
    ClickAt(window, kLightSwitch);
    EXPECT_TRUE(WaitForSettingsWrite(before, [](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == 0;
    })) << "switching on did not restore the active mode";

    // Choosing a mode while off switches lighting on again.
    ClickAt(window, kLightSwitch);
    before = SettingsWrites(sim).size();
    ClickAt(window, kWaveTile);
    EXPECT_TRUE(WaitForSettingsWrite(before, [](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == 0;
    }));
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT COUNT(*) FROM t_config_data WHERE profile = 1 AND key = 'enable_light' "
                             "AND value = '1'") == 1;
    }));
    Exit(window);
}

TEST_F(LightingJourney, TheKeyboardsColoursAreReadBackOnlyWhileThePageIsShown)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    auto reads = [&] {
        int count = 0;
        for (const SimEvent& event : sim.Events())
            if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_COMMAND &&
                event.bytes[REQ_COMMAND] == CMD_READ_LIVE_COLORS)
                ++count;
        return count;
    };
    const int first = reads();
    EXPECT_TRUE(WaitFor([&] { return reads() > first + 20; })) << "no live colour reads while the page is shown";

    // Another page: the reads stop.
    Click(window, 450 + 60, 25);
    Sleep(500);
    const int settled = reads();
    Sleep(1000);
    EXPECT_LE(reads(), settled + 2) << "the reads went on after the page was left";
    Exit(window);
}

// The keyboard answers live reads only inside a stream, and every settings
// write ends its stream with END: the read-back begins it again after each
// device task instead of having its next reads refused.
TEST_F(LightingJourney, AfterEachDeviceTaskTheReadBackBeginsTheStreamAgain)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    auto liveReads = [&](const char* answer) {
        int count = 0;
        for (const SimEvent& event : sim.Events())
            if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_COMMAND &&
                event.bytes[REQ_COMMAND] == CMD_READ_LIVE_COLORS && event.words.size() > 2 && event.words[2] == answer)
                ++count;
        return count;
    };
    ASSERT_TRUE(WaitFor([&] { return liveReads("accepted") > 14; })) << "no live colour reads were answered";

    const POINT tasks[] = {kStaticTile, kRedCell, kWaveTile};
    for (const POINT& at : tasks) {
        const size_t before = SettingsWrites(sim).size();
        ClickAt(window, at);
        ASSERT_TRUE(WaitFor([&] { return SettingsWrites(sim).size() > before; })) << "no settings write";
        const int answered = liveReads("accepted");
        EXPECT_TRUE(WaitFor([&] { return liveReads("accepted") > answered + 14; }))
            << "the read-back did not go on after the write";
    }
    EXPECT_EQ(liveReads("rejected"), 0) << "live reads were sent outside the keyboard's stream";
    Exit(window);
}

// A picked colour cell shows its numbers in the R, G and B fields and moves
// the wheel's marker at once, in a colourful mode too (which the pick turns
// into that one colour): the page shown again shows the same.
TEST_F(LightingJourney, APickedColourShowsInTheFieldsAndOnTheWheelAtOnce)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(QueryDatabase(database, "SELECT colorful FROM t_light_data WHERE profile = 1 AND mode = 0"), 1);
    const std::vector<DWORD> fields = Capture(window, kColourFields);
    const std::vector<DWORD> wheel = Capture(window, kColourWheel);

    ClickAt(window, kGreenCell);
    ASSERT_TRUE(WaitFor([&] {
        return QueryDatabase(database, "SELECT color_value1 FROM t_light_data WHERE profile = 1 AND mode = 0") ==
               kGreenCellColour;
    })) << "the cell's colour was not stored";
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kColourFields) != fields; }))
        << "the fields kept the old numbers";
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kColourWheel) != wheel; })) << "the wheel's marker stayed";
    const std::vector<DWORD> shown = Capture(window, kColourFields);
    SaveScreenshot(window, L"lighting_picked_colour");

    ClickAt(window, TabPlace(0));
    ASSERT_TRUE(WaitFor([&] { return Capture(window, kColourFields) != shown; }));
    ClickAt(window, kLightingTab);
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kColourFields) == shown; }))
        << "the page shown again shows other numbers than the pick did";
    Exit(window);
}

// The visible native edit window of a field the user clicked, or null.
HWND OpenFieldEditor(HWND window)
{
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExW(window, child, nullptr, nullptr)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (IsWindowVisible(child) && std::wstring(name).find(L"Edit") != std::wstring::npos)
            return child;
    }
    return nullptr;
}

// A number typed past 255 shows 255 in the field it was typed into and
// applies 255, not its low byte.
TEST_F(LightingJourney, ANumberTypedPastTheTopShowsAndApplies255)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    ClickAt(window, kRedField);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = OpenFieldEditor(window)) != nullptr; })) << "the field did not open";
    auto red = [&] {
        const long long colour =
            QueryDatabase(database, "SELECT color_value1 FROM t_light_data WHERE profile = 1 AND mode = 0");
        return colour < 0 ? colour : colour & 0xFF;
    };
    auto type = [&](const wchar_t* text) {
        for (const wchar_t* c = text; *c != 0; ++c)
            SendMessageW(editor, WM_CHAR, *c, 1);
    };
    SendMessageW(editor, EM_SETSEL, 0, -1);
    type(L"3");
    ASSERT_TRUE(WaitFor([&] { return red() == 3; })) << "the typed number was not applied: red " << red();
    type(L"00");
    EXPECT_TRUE(WaitFor([&] { return red() == 255; })) << "stored red " << red();
    // Another process's edit is asked for its text (GetWindowText would
    // give the text it was created with).
    wchar_t text[16] = {};
    SendMessageW(editor, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"255");
    Exit(window);
}

TEST_F(LightingJourney, ThePerKeyModeSendsKeyColoursAndAPaintedKeyIsStoredAndSent)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    auto colourFrames = [&] {
        int count = 0;
        for (const SimEvent& event : sim.Events())
            if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_COMMAND &&
                event.bytes[REQ_COMMAND] == CMD_WRITE_KEY_COLORS)
                ++count;
        return count;
    };

    // The per-key mode sends the keys' colours, then the settings with mode 14.
    size_t before = SettingsWrites(sim).size();
    ClickAt(window, kCustomTile);
    EXPECT_TRUE(WaitFor([&] { return colourFrames() >= 7; })) << "no key colour frames";
    EXPECT_TRUE(WaitForSettingsWrite(before, [](const std::vector<uint8_t>& block) {
        return block[SETTINGS_MODE] == 14;
    }));

    // A key picked on the picture takes the cell's colour: stored for this
    // profile and sent.
    const int framesBefore = colourFrames();
    ClickAt(window, kKeyA);
    ClickAt(window, kRedCell);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database, ("SELECT COUNT(*) FROM t_userlightrgb_data WHERE profile = 1 AND key_code = " +
                                        std::to_string(kKeyCodeA) + " AND key_rgb <> 0").c_str()) == 1;
    })) << "the painted key's colour was not stored";
    EXPECT_TRUE(WaitFor([&] { return colourFrames() >= framesBefore + 7; })) << "the painted key was not sent";
    EXPECT_EQ(QueryDatabase(database, "SELECT COUNT(*) FROM t_userlightrgb_data WHERE profile <> 1"), 0);
    SaveScreenshot(window, L"lighting_per_key");
    Exit(window);
}

TEST_F(LightingJourney, TheMusicModeStreamsSilenceAsDarkFramesUntilAnotherModeIsChosen)
{
    HWND window = OpenLightingPage();
    ASSERT_NE(window, nullptr);
    auto frames = [&] {
        std::vector<std::vector<uint8_t>> sent;
        for (const SimEvent& event : sim.Events())
            if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_PAYLOAD &&
                event.bytes[REQ_COMMAND] == CMD_WRITE_LIVE_COLORS)
                sent.push_back(event.bytes);
        return sent;
    };

    // No sound can be captured here: the spectrum is silence, and with the
    // default background (none) every key is sent dark.
    ClickAt(window, kMusicTile);
    ASSERT_TRUE(WaitFor([&] { return frames().size() > 20; })) << "the music mode sends no frames";
    for (const std::vector<uint8_t>& frame : frames()) {
        const size_t length = frame[REQ_LENGTH];
        for (size_t i = REQ_PAYLOAD; i < REQ_PAYLOAD + length && i < frame.size(); ++i)
            ASSERT_EQ(frame[i], 0) << "a lit key in silence at byte " << i;
    }
    SaveScreenshot(window, L"lighting_music");

    ClickAt(window, kWaveTile);
    Sleep(500);
    const size_t settled = frames().size();
    Sleep(1000);
    EXPECT_LE(frames().size(), settled + 2) << "frames went on after another mode was chosen";
    Exit(window);
}

} // namespace
