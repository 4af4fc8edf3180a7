// Journeys of the settings page and the system settings panel against the
// real program and the simulated keyboard: what a click stores, where it is
// stored and what the keyboard is sent.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <string>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr uint8_t CMD_WRITE_SETTINGS = 0x06;
constexpr WPARAM kQueryEnterText = 4;
constexpr long kTextNotConnected = 63;

// Places in the 1380 x 800 window.
constexpr POINT kSettingsButton = {1281, 25};
constexpr POINT kReturnButton = {300, 125};
constexpr POINT kHomeButton = {113, 25};
constexpr WPARAM kQueryHomeShown = 3;
constexpr POINT kSettingsTab = TabPlace(3);
constexpr POINT kLightingTab = TabPlace(1);
constexpr POINT kWindowsKeyLock = {990, 395};
constexpr POINT kAutorun = {465, 347};
constexpr POINT kAutorunMinimised = {525, 383};
constexpr POINT kExitToTray = {465, 479};
constexpr POINT kExitProgram = {465, 515};
constexpr POINT kCloseButton = {1344, 25};
constexpr POINT kResetButton = {1000, 655};
constexpr UINT kResetButtonId = 195;
constexpr int kQuestionAttempts = 3;
constexpr uint8_t kResetCommand = 0xEE;
constexpr POINT kSleepCombo = {1000, 305};
// The firmware line of the settings page, and the way to the language radios
// and back: the system settings, the home page's button into the pages.
constexpr RECT kFirmwareLine = {330, 200, 930, 230};
constexpr POINT kEnterButton = {690, 620};
constexpr POINT kPolishRadio = {632, 251};
constexpr POINT kEnglishRadio = {462, 251};
constexpr RECT kPage = {1, 60, 1379, 799};
// The sleep-time drop-down (a popup of the program's own under the combo):
// one 30-pixel row per item, inside a 2-pixel frame; 10 minutes is the
// third of 2, 5, 10, 30 and never.
constexpr wchar_t kDropDownCaption[] = L"ComboWnd";
constexpr POINT kTenMinutesRow = {40, 2 + 2 * 30 + 15};
constexpr RECT kDropDownRows = {2, 2, 78, 152};
constexpr uint8_t kSleepTen = 10;
// The settings exchange as the keyboard sees it.
constexpr uint8_t CMD_READ_SETTINGS = 0x05;
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_STATUS = 3;
constexpr size_t REQ_PAYLOAD = 9;
constexpr size_t REPLY_STATUS = 2;
constexpr size_t REPLY_PAYLOAD = 8;
constexpr size_t BLOCK_SLEEP = 15;
constexpr size_t BLOCK_LOCKS = 17;
// Block bytes the program writes over what the keyboard gave: the light
// mode's fields (2 to 10), the sleep time and the key locks.
constexpr size_t kPatchedFrom = 2;
constexpr size_t kPatchedTo = 10;

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }

std::wstring Registry(const wchar_t* name)
{
    std::wstring value;
    return ReadRegistryValue(name, value) ? value : L"(missing)";
}

std::wstring Autorun()
{
    std::wstring value;
    return ReadAutorunValue(value) ? value : L"(missing)";
}

int SettingsWrites(const SimulatedKeyboard& sim)
{
    const std::vector<uint8_t> commands = sim.Commands(1);
    return static_cast<int>(std::count(commands.begin(), commands.end(), CMD_WRITE_SETTINGS));
}

class SettingsJourney : public ProgramJourney
{
protected:
    void Exit(HWND window)
    {
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
    }
};

TEST_F(SettingsJourney, TheWindowsKeyLockIsStoredForProfileOneAndSentToTheKeyboard)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the device pages never opened";
    ClickAt(window, kSettingsTab);
    const int before = SettingsWrites(sim);
    const std::wstring database = SettingsDatabase();
    ASSERT_FALSE(database.empty());

    ClickAt(window, kWindowsKeyLock);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT COUNT(*) FROM t_config_data WHERE profile = 1 AND key = 'disable_win' "
                             "AND value = '1'") == 1;
    })) << "the lock was not stored";
    EXPECT_TRUE(WaitFor([&] { return SettingsWrites(sim) > before; })) << "the keyboard was not sent the settings";

    ClickAt(window, kWindowsKeyLock);
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT COUNT(*) FROM t_config_data WHERE profile = 1 AND key = 'disable_win' "
                             "AND value = '0'") == 1;
    }));
    Exit(window);
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

// Back from the system settings the user sees the view the panel was opened
// from: a device page (also the keys page shown since the start, before any
// tab was clicked) or the home page.
TEST_F(SettingsJourney, BackFromTheSystemSettingsShowsTheViewTheyWereOpenedFrom)
{
    // Where the views differ, below the keyboard pictures (the lighting
    // page's keys follow the keyboard's changing colours).
    const RECT view = {400, 450, 1379, 799};
    const struct
    {
        const char* name;
        const POINT* before;  // clicked before the settings button, or none
        long homeShown;
    } cases[] = {
        {"keys page right after the start", nullptr, 0},
        {"lighting page", &kLightingTab, 0},
        {"home page", &kHomeButton, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.Reset({SimDevice{}});
        program = std::make_unique<Program>();
        HWND window = StartProgram();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the pages never opened";
        if (c.before != nullptr) {
            const std::vector<DWORD> shown = Capture(window, view);
            ClickAt(window, *c.before);
            ASSERT_TRUE(WaitFor([&] { return Capture(window, view) != shown; }));
        }
        const std::vector<DWORD> opened = Capture(window, view);
        ClickAt(window, kSettingsButton);
        ASSERT_TRUE(WaitFor([&] { return Capture(window, view) != opened; })) << "the system settings did not open";
        ClickAt(window, kReturnButton);
        EXPECT_TRUE(WaitFor([&] { return Capture(window, view) == opened; }))
            << "back from the system settings shows another view";
        EXPECT_EQ(QueryProgramState(window, kQueryHomeShown), c.homeShown);
        Exit(window);
    }
}

// The firmware line joins its label and the keyboard's number; a language
// switch gives it the other label and keeps the number, so switching back
// shows the very same line.
TEST_F(SettingsJourney, TheFirmwareLineKeepsTheKeyboardsNumberThroughALanguageSwitch)
{
    WriteRegistryValue(L"LCID", L"1033");
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the device pages never opened";
    auto openSettingsPage = [&] {
        const std::vector<DWORD> before = Capture(window, kPage);
        ClickAt(window, kSettingsTab);
        return WaitFor([&] { return Capture(window, kPage) != before && Colours(Capture(window, kFirmwareLine)) > 2; });
    };
    ASSERT_TRUE(openSettingsPage()) << "the settings page shows no firmware line";
    const std::vector<DWORD> english = Capture(window, kFirmwareLine);

    for (POINT radio : {kPolishRadio, kEnglishRadio}) {
        const std::wstring lcid = radio.x == kPolishRadio.x ? L"1045" : L"1033";
        std::vector<DWORD> before = Capture(window, kPage);
        ClickAt(window, kSettingsButton);
        ASSERT_TRUE(WaitFor([&] { return Capture(window, kPage) != before; })) << "no system settings";
        ClickAt(window, radio);
        ASSERT_TRUE(WaitFor([&] { return Registry(L"LCID") == lcid; }));
        before = Capture(window, kPage);
        ClickAt(window, kHomeButton);
        ASSERT_TRUE(WaitFor([&] { return Capture(window, kPage) != before; })) << "no home page";
        ClickAt(window, kEnterButton);
        ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the pages did not open";
        // The pages open on the tab shown last: the keys page first, so that
        // the settings page shows anew.
        ClickAt(window, TabPlace(0));
        Sleep(1000);
        ASSERT_TRUE(openSettingsPage()) << "no firmware line in " << std::string(lcid.begin(), lcid.end());
        if (radio.x == kPolishRadio.x) {
            EXPECT_NE(Capture(window, kFirmwareLine), english) << "the line kept its English label";
        }
    }
    EXPECT_TRUE(WaitFor([&] { return Capture(window, kFirmwareLine) == english; }))
        << "the line differs after the switch back: its number went";
    SaveScreenshot(window, L"settings_firmware_line");
    Exit(window);
}

TEST_F(SettingsJourney, AutorunIsAQuotedCommandAndTheExitModeDecidesWhatCloseDoes)
{
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    // A device change closes the system settings: open them once the first
    // scan has said there is no keyboard.
    ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEnterText) == kTextNotConnected; }));
    Sleep(500);
    ClickAt(window, kSettingsButton);
    ClickAt(window, kAutorun);
    ASSERT_TRUE(WaitFor([&] { return Autorun() != L"(missing)"; })) << "autorun was not written";
    const std::wstring command = Autorun();
    EXPECT_EQ(command.front(), L'"');
    EXPECT_NE(command.find(L"\\Tarnwell.exe\" -autorun"), std::wstring::npos) << std::string(command.begin(), command.end());

    // The minimised start is offered only while autorun is on.
    ClickAt(window, kAutorunMinimised);
    EXPECT_TRUE(WaitFor([&] { return Registry(L"autorun_minimize") == L"1"; }));
    ClickAt(window, kAutorun);
    EXPECT_TRUE(WaitFor([&] { return Autorun() == L"(missing)"; })) << "autorun was not removed";
    EXPECT_TRUE(WaitFor([&] { return Registry(L"autorun_minimize") == L"0"; }));
    ClickAt(window, kAutorunMinimised);
    Sleep(300);
    EXPECT_EQ(Registry(L"autorun_minimize"), L"0") << "a disabled box took a click";

    ClickAt(window, kExitToTray);
    EXPECT_TRUE(WaitFor([&] { return Registry(L"exit_mode") == L"1"; }));
    ClickAt(window, kExitProgram);
    EXPECT_TRUE(WaitFor([&] { return Registry(L"exit_mode") == L"0"; }));
    ClickAt(window, kExitToTray);
    EXPECT_TRUE(WaitFor([&] { return Registry(L"exit_mode") == L"1"; }));

    // With exit mode 1 the close button only hides the window.
    ClickAt(window, kCloseButton);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(program->Running());
    Exit(window);
}

// One settings exchange with the keyboard: the block it gave and the block
// it was then written.
struct SettingsExchange
{
    std::vector<uint8_t> reply;
    std::vector<uint8_t> write;
};

// Each WRITE_SETTINGS to the keyboard after the first `from` events, with
// the reply to the READ_SETTINGS just before it (empty when there was none).
std::vector<SettingsExchange> SettingsExchanges(const SimulatedKeyboard& sim, size_t from)
{
    std::vector<SettingsExchange> exchanges;
    const std::vector<SimEvent> events = sim.Events();
    bool readAsked = false;
    std::vector<uint8_t> reply;
    for (size_t i = from; i < events.size(); ++i) {
        const SimEvent& event = events[i];
        if (event.device != 1 || event.bytes.size() <= REQ_COMMAND)
            continue;
        if (event.kind == "out") {
            const uint8_t command = event.bytes[REQ_COMMAND];
            if (command == CMD_WRITE_SETTINGS && event.bytes.size() > REQ_PAYLOAD + BLOCK_LOCKS)
                exchanges.push_back({reply, event.bytes});
            readAsked = command == CMD_READ_SETTINGS;
            if (readAsked || command == CMD_WRITE_SETTINGS)
                reply.clear();
        } else if (event.kind == "in" && readAsked) {
            reply = event.bytes;
            readAsked = false;
        }
    }
    return exchanges;
}

TEST_F(SettingsJourney, ASleepTimePickedFromTheDropDownIsStoredAndWrittenIntoTheKeyboardsOwnBlock)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the device pages never opened";
    ClickAt(window, kSettingsTab);
    const std::wstring database = SettingsDatabase();
    ASSERT_FALSE(database.empty());
    ASSERT_TRUE(WaitFor([&] {
        return Colours(Capture(window, RECT{kSleepCombo.x - 38, kSleepCombo.y - 13, kSleepCombo.x + 38,
                                            kSleepCombo.y + 13})) > 4;
    })) << "the sleep-time combo never showed";
    const size_t from = sim.Events().size();

    ClickAt(window, kSleepCombo);
    HWND dropDown = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dropDown = FindProcessWindow(program->ProcessId(), kDropDownCaption);
        return dropDown != nullptr && Colours(Capture(dropDown, kDropDownRows)) > 4;
    })) << "the click did not open the drop-down";
    SaveScreenshot(dropDown, L"settings_sleep_dropdown");
    Click(dropDown, kTenMinutesRow.x, kTenMinutesRow.y);

    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(program->ProcessId(), kDropDownCaption) == nullptr; }))
        << "the drop-down stayed open after the choice";
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database,
                             "SELECT COUNT(*) FROM t_config_data WHERE profile = 1 AND key = 'sleep_time' "
                             "AND value = '10'") == 1;
    })) << "the choice was not stored for profile 1";

    // The keyboard is asked for its block, and given it back with the new
    // sleep time and everything the program does not own as it came.
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<SettingsExchange> exchanges = SettingsExchanges(sim, from);
        return !exchanges.empty() && exchanges.back().write[REQ_PAYLOAD + BLOCK_SLEEP] == kSleepTen;
    })) << "no settings block with the new sleep time reached the keyboard";
    const SettingsExchange sent = SettingsExchanges(sim, from).back();
    ASSERT_GT(sent.reply.size(), REPLY_PAYLOAD + BLOCK_LOCKS) << "the block was written without being read first";
    EXPECT_EQ(sent.write[REQ_STATUS], sent.reply[REPLY_STATUS]) << "the write does not carry the reply's header";
    EXPECT_EQ(sent.write[REQ_PAYLOAD + BLOCK_LOCKS], 0) << "no key is locked";
    const size_t blockEnd = std::min(sent.write.size() - REQ_PAYLOAD, sent.reply.size() - REPLY_PAYLOAD);
    for (size_t k = 0; k < blockEnd; ++k) {
        if ((k >= kPatchedFrom && k <= kPatchedTo) || k == BLOCK_SLEEP || k == BLOCK_LOCKS)
            continue;
        EXPECT_EQ(sent.write[REQ_PAYLOAD + k], sent.reply[REPLY_PAYLOAD + k]) << "block byte " << k;
    }
    Exit(window);
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

bool Gone(HWND box)
{
    return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

// Reset requests the keyboard saw (sent to every device, answered or not).
int ResetRequests(const SimulatedKeyboard& sim)
{
    int count = 0;
    for (const SimEvent& event : sim.Events())
        if (event.kind == "out" && event.bytes.size() > 2 && event.bytes[2] == kResetCommand)
            ++count;
    return count;
}

TEST_F(SettingsJourney, FactoryResetAsksFirstThenResetsTheKeyboardAndItsStore)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; }));
    ClickAt(window, kSettingsTab);
    const std::wstring database = SettingsDatabase();
    ClickAt(window, kWindowsKeyLock);
    ASSERT_TRUE(WaitFor([&] {
        return QueryDatabase(database, "SELECT COUNT(*) FROM t_config_data WHERE key = 'disable_win' AND value = '1'") ==
               1;
    }));

    // Cancelled: nothing is reset.
    ClickAt(window, kResetButton);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the reset did not ask first";
    Click(box, kBoxCancel.x, kBoxCancel.y);
    EXPECT_TRUE(Gone(box));
    Sleep(500);
    EXPECT_EQ(ResetRequests(sim), 0);
    EXPECT_EQ(QueryDatabase(database, "SELECT COUNT(*) FROM t_config_data WHERE key = 'disable_win' AND value = '1'"),
              1);

    // Confirmed: the progress window shows and closes, the keyboard is told,
    // the store starts again from its defaults and the window answers again.
    WriteRegistryValue(L"exit_mode", L"1");
    ClickAt(window, kResetButton);
    box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    Click(box, kBoxOk.x, kBoxOk.y);
    EXPECT_TRUE(Gone(box));
    EXPECT_TRUE(WaitFor([&] { return ResetRequests(sim) >= 1; })) << "the keyboard was not reset";
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(program->ProcessId(), L"UpdateTipDlg") == nullptr; }))
        << "the progress window stayed";
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window) != FALSE; })) << "the window stayed disabled";
    EXPECT_TRUE(WaitFor([&] {
        return QueryDatabase(database, "SELECT COUNT(*) FROM t_config_data WHERE key = 'disable_win' AND value = '1'") ==
               0;
    })) << "the store was not replaced";
    EXPECT_EQ(Registry(L"exit_mode"), L"0");
    Exit(window);
}

TEST_F(SettingsJourney, FactoryResetWithoutAKeyboardSaysSoAndOpensNoProgressWindow)
{
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return QueryProgramState(window, kQueryEnterText) == kTextNotConnected; }));

    // The page's button is out of reach without a keyboard; its notification
    // is sent as the button would (the call returns when the handler does).
    // Once the worker has looked for devices at start-up, the program closes
    // its open boxes unanswered; a question that opened in that moment is
    // asked again.
    HWND notice = nullptr;
    for (int attempt = 0; attempt < kQuestionAttempts && notice == nullptr; ++attempt) {
        std::atomic<bool> handled{false};
        std::thread press([&] {
            SendControlNotify(window, kResetButtonId, 2);
            handled = true;
        });
        HWND box = WaitForMessageBox();
        if (box != nullptr) {
            Click(box, kBoxOk.x, kBoxOk.y);
            EXPECT_TRUE(Gone(box));
            WaitFor([&] { return (notice = ShownMessageBox()) != nullptr || handled; });
        }
        if (notice != nullptr) {
            EXPECT_EQ(FindProcessWindow(program->ProcessId(), L"UpdateTipDlg"), nullptr);
            Click(notice, kBoxOnlyOk.x, kBoxOnlyOk.y);
        }
        press.join();
        ASSERT_NE(box, nullptr) << "the reset did not ask first";
    }
    EXPECT_NE(notice, nullptr) << "no word that the keyboard is missing";
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window) != FALSE; }));
    EXPECT_EQ(ResetRequests(sim), 0);
    Exit(window);
}

} // namespace
