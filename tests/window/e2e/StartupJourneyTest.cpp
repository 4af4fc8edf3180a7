// Journeys of the program's start, its single instance and its exit roads,
// run against the real program and the simulated keyboard.

#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/window/Startup.h"
#include "tests/window/ZipTestArchive.h"
#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT TRAY_MENU_EXIT = 100;
// The close button's centre in the caption bar of the 1380-wide window.
constexpr int kCloseX = 1345;
constexpr int kCloseY = 25;

class StartupJourney : public ProgramJourney
{
protected:
    // The first start scans: the simulator saw the device list asked for and
    // its keyboard opened.
    bool ScannedKeyboard() const
    {
        bool enumerated = false;
        for (const SimEvent& event : sim.Events()) {
            enumerated = enumerated || event.kind == "enumerate";
            if (enumerated && event.kind == "open" && event.device == 1 && event.words.size() > 1 &&
                event.words[1] == "ok")
                return true;
        }
        return false;
    }
};

TEST_F(StartupJourney, FirstStartCreatesSettingsShowsWindowAndScans)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);

    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Tarnwell");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 1380);
    EXPECT_EQ(rect.bottom - rect.top, 800);

    std::wstring lcid, deviceType;
    EXPECT_TRUE(WaitFor([&] { return ReadRegistryValue(L"LCID", lcid); }));
    EXPECT_TRUE(lcid == L"1033" || lcid == L"1045") << "LCID " << std::string(lcid.begin(), lcid.end());
    const std::wstring database = DataFolder() + L"db\\TK104_data.db";
    EXPECT_TRUE(WaitFor([&] { return FileExists(database); }));
    // The store is filled before the worker starts; read it only after the
    // scan, as a read while the program creates its tables can make them fail.
    EXPECT_TRUE(WaitFor([&] { return ScannedKeyboard(); })) << "the first task never scanned the keyboard";
    EXPECT_TRUE(WaitFor([&] { return QueryDatabase(database, "SELECT COUNT(*) FROM t_config_data") > 0; }))
        << "the database holds no configuration rows";

    SaveScreenshot(window, L"home");

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// The window paints with its shell and home page; the other pages and the
// tray icon come after that paint, and the pages then work as ever.
TEST_F(StartupJourney, TheFirstPaintComesBeforeTheOtherPagesAndTheTrayIcon)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    constexpr UINT WM_STATE_QUERY = 0x7F1;
    constexpr WPARAM QUERY_STARTUP_MARK = 40;
    constexpr WPARAM QUERY_KEYS_PICTURE = 5;
    auto mark = [&](tarnwell::StartupMark which) {
        DWORD_PTR result = static_cast<DWORD_PTR>(-1);
        SendMessageTimeoutW(window, WM_STATE_QUERY, QUERY_STARTUP_MARK, static_cast<LPARAM>(which), SMTO_NORMAL,
                            kTimeoutMs, &result);
        return static_cast<long long>(static_cast<LRESULT>(result));
    };
    ASSERT_TRUE(WaitFor([&] { return mark(tarnwell::StartupMark::TrayIcon) >= 0; })) << "no tray icon";
    const char* const names[] = {"wWinMain", "window", "shell", "home page", "first paint", "pages", "tray icon"};
    long long previous = 0;
    for (int i = 0; i < static_cast<int>(tarnwell::StartupMark::Count); ++i) {
        const long long at = mark(static_cast<tarnwell::StartupMark>(i));
        EXPECT_GE(at, previous) << names[i] << " came before the moment before it";
        previous = at;
    }
    // The worker waited for the pages and then loaded the keyboard's layout
    // into the keys page's picture.
    EXPECT_TRUE(WaitFor([&] { return QueryProgramState(window, QUERY_KEYS_PICTURE) > 0; }));

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(StartupJourney, SecondStartExitsAndBringsFirstWindowForward)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    // Hidden to the tray: the second start must show it again.
    ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));

    Program second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitForExit(kStartTimeoutMs), 0);
    EXPECT_TRUE(WaitFor([&] { return IsShown(window); }));
    EXPECT_TRUE(program->Running());

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// Each road ends the program with its code (0 from inside the window, 1
// after the normal teardown), and the keyboard never sees a BEGIN left
// without its END.
struct ExitRoad
{
    const char* name;
    void (*take)(HWND window);
    long exitCode;
};

const ExitRoad kExitRoads[] = {
    {"close button, exit mode 0", [](HWND w) { Click(w, kCloseX, kCloseY); }, 0},
    {"tray menu exit item", [](HWND w) { PostMessageW(w, WM_COMMAND, TRAY_MENU_EXIT, 0); }, 0},
    {"exit request from another process", [](HWND w) { PostMessageW(w, WM_APP_EXIT, 0, APP_EXIT_CODE); }, 0},
    {"window closed otherwise", [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }, 1},
};

TEST_F(StartupJourney, ExitRoadsEndTheProgramWithoutOpenDeviceCommands)
{
    for (const ExitRoad& road : kExitRoads) {
        SCOPED_TRACE(road.name);
        ClearUserState();
        sim.Reset({SimDevice{}});
        program = std::make_unique<Program>();
        HWND window = StartProgram();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return ScannedKeyboard(); }));
        road.take(window);
        EXPECT_EQ(program->WaitForExit(), road.exitCode);
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
    }
}

// Closes that reach the window from outside, sent rather than posted (the
// taskbar's close, a task manager, another program): the window goes at once
// and the program must follow it with its normal teardown, not live on
// without a window, where a later start would find it and show nothing.
struct OutsideClose
{
    const char* name;
    UINT message;
    WPARAM wParam;
    bool sent;
};

const OutsideClose kOutsideCloses[] = {
    {"WM_CLOSE sent", WM_CLOSE, 0, true},
    {"system close command sent", WM_SYSCOMMAND, SC_CLOSE, true},
    {"system close command posted", WM_SYSCOMMAND, SC_CLOSE, false},
};

TEST_F(StartupJourney, ACloseFromOutsideEndsTheProgramAndTheNextStartShowsTheWindow)
{
    constexpr DWORD kTeardownMs = 1500;
    constexpr long kNormalRunExitCode = 1;
    for (const OutsideClose& close : kOutsideCloses) {
        SCOPED_TRACE(close.name);
        sim.Reset({SimDevice{}});
        program = std::make_unique<Program>();
        HWND window = StartProgram();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return ScannedKeyboard(); }));
        if (close.sent) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, close.message, close.wParam, 0, SMTO_NORMAL, kTimeoutMs, &answer);
        } else {
            PostMessageW(window, close.message, close.wParam, 0);
        }
        EXPECT_EQ(program->WaitForExit(kTeardownMs), kNormalRunExitCode) << "the program outlived its window";
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");

        // Started while a program that outlived its window would still run.
        Program next;
        ASSERT_TRUE(next.Start());
        HWND shown = next.WaitForWindow();
        EXPECT_NE(shown, nullptr) << "the next start showed no window";
        if (shown != nullptr) {
            SendMessageW(shown, WM_APP_EXIT, 0, APP_EXIT_CODE);
            EXPECT_EQ(next.WaitForExit(), 0);
        }
        program->Kill();
    }
}

// The control-notification channel and the state query let a test press any
// control and read the program's state: a copy started any other way than by
// the harness answers neither.
TEST_F(StartupJourney, OnlyAProgramTheHarnessStartedAnswersTheTestChannel)
{
    constexpr WPARAM kQueryConnected = 1;
    constexpr UINT kSettingsButtonId = 39;
    constexpr UINT kClicked = 2;
    const RECT page = {1, 60, 1379, 799};
    const struct
    {
        const char* name;
        bool harness;
    } starts[] = {{"plain start", false}, {"harness start", true}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.name);
        sim.Reset({SimDevice{}});
        program = std::make_unique<Program>();
        ASSERT_TRUE(start.harness ? program->Start() : program->StartPlain());
        HWND window = program->WaitForWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the pages never opened";

        EXPECT_EQ(QueryProgramState(window, kQueryConnected), start.harness ? 1 : 0);
        const std::vector<DWORD> keysPage = Capture(window, page);
        EXPECT_EQ(SendControlNotify(window, kSettingsButtonId, kClicked), start.harness ? 1 : 0);
        const bool opened = WaitFor([&] { return Capture(window, page) != keysPage; }, start.harness ? kTimeoutMs : 1000);
        EXPECT_EQ(opened, start.harness) << "the settings button's notification";

        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
    }
}

struct MenuSearch
{
    DWORD process;
    std::vector<HWND> menus;
};

// A system callback: the 32-bit calling convention.
BOOL CALLBACK CollectMenu(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<MenuSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    if (process == search->process && wcscmp(caption, L"Menu Window") == 0)
        search->menus.push_back(window);
    return TRUE;
}

// Context menus opened again and again from the channel, where no click
// elsewhere closes them, leave one menu: the one just opened (a menu of
// another kind closes as the new one takes the focus).
TEST_F(StartupJourney, MenusOpenedAgainAndAgainLeaveOneOpen)
{
    constexpr UINT kNotifyMore = 9;
    constexpr UINT kClicked = 2;
    const struct
    {
        const char* name;
        UINT id;
        UINT code;
    } menus[] = {{"macro list", 82, kNotifyMore}, {"event list", 92, kNotifyMore}, {"insert button", 93, kClicked}};
    auto menuWindows = [&] {
        MenuSearch search{program->ProcessId(), {}};
        EnumWindows(&CollectMenu, reinterpret_cast<LPARAM>(&search));
        return search.menus;
    };
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the pages never opened";
    for (const auto& menu : menus) {
        SCOPED_TRACE(menu.name);
        // Counted as soon as each open has been handled: a menu closed only
        // by losing the focus may still be there, or stay where the new one
        // never takes the focus.
        // Menus of the kind before, closed as they lose the focus, are not
        // this kind's.
        const std::vector<HWND> before = menuWindows();
        size_t most = 0;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(SendControlNotify(window, menu.id, menu.code), 1);
            size_t open = 0;
            for (HWND shown : menuWindows())
                open += std::find(before.begin(), before.end(), shown) == before.end() ? 1 : 0;
            most = std::max(most, open);
        }
        EXPECT_EQ(most, 1u) << "menus of this kind open at once";
    }
    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(StartupJourney, CloseInTrayModeHidesAndTrayClickRestores)
{
    WriteRegistryValue(L"exit_mode", L"1");
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);

    Click(window, kCloseX, kCloseY);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); })) << "the close button did not hide the window";
    EXPECT_TRUE(program->Running());

    // Messages of the tray that are no click are ignored.
    for (UINT other : {static_cast<UINT>(WM_MOUSEMOVE), static_cast<UINT>(WM_RBUTTONDOWN), 0x42u})
        TrayMessage(window, other);
    // A wrong exit code is ignored too.
    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE + 1);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(program->Running());

    TrayMessage(window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitFor([&] { return IsShown(window); })) << "the tray click did not restore the window";

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

TEST_F(StartupJourney, PluggingInAndOutRescans)
{
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return sim.Count("enumerate") >= 1; }));

    ASSERT_TRUE(sim.SetDevices({SimDevice{}}));
    EXPECT_TRUE(WaitFor([&] { return ScannedKeyboard(); })) << "the arrival did not rescan";
    const int scans = sim.Count("enumerate");
    SimDevice gone;
    gone.present = false;
    ASSERT_TRUE(sim.SetDevices({gone}));
    EXPECT_TRUE(WaitFor([&] { return sim.Count("enumerate") > scans; })) << "the removal did not rescan";

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// A settings file the program cannot write to, or no file name to keep one
// under: the program still starts, says once why nothing will be saved, does
// not pretend a macro was added, and leaves the file as it found it.
TEST_F(StartupJourney, SettingsThatCannotBeSavedAreToldOnceAndTheFileIsLeftAlone)
{
    const std::wstring folder = DataFolder() + L"db\\";
    const std::wstring file = folder + L"TK104_data.db";
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919u + 13u) >> 3);
    const std::string shippedConfig = ziptest::ReadFile(RunFolder() + L"config.xml");
    std::string badNameConfig = shippedConfig;
    const size_t name = badNameConfig.find("name=\"TK104\"");
    ASSERT_NE(name, std::string::npos);
    badNameConfig.replace(name, 12, "name=\"TK|104\"");

    const struct
    {
        const char* what;
        const char* sql;            // makes a settings file with these tables
        const std::string* bytes;   // or writes these bytes
        bool writeProtect;
        const std::string* config;  // replaces config.xml
    } cases[] = {
        {"random bytes", nullptr, &noise, false, nullptr},
        {"write-protected", "CREATE TABLE t_config_data(profile, key, value); CREATE TABLE t_profile_data(x);",
         nullptr, true, nullptr},
        {"a keyboard name that is no file name", nullptr, nullptr, false, &badNameConfig},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearUserState();
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        if (c.sql != nullptr) {
            sqlite3* db = nullptr;
            const std::string utf8(file.begin(), file.end());
            ASSERT_EQ(sqlite3_open(utf8.c_str(), &db), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else if (c.bytes != nullptr) {
            ASSERT_TRUE(ziptest::WriteFile(file, *c.bytes));
        }
        if (c.writeProtect) {
            ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        if (c.config != nullptr) {
            ASSERT_TRUE(ReplaceRunFile(L"config.xml", *c.config));
        }
        const std::string before = ziptest::ReadFile(file);

        program = std::make_unique<Program>();
        HWND window = StartProgram();
        ASSERT_NE(window, nullptr);
        EXPECT_NE(WaitForMessageBox(), nullptr) << "nothing told the user that settings cannot be saved";
        // The start's device refresh closes every open box: the notice must
        // still stand once the keyboard is ready, for the user to read.
        constexpr WPARAM QUERY_READY = 2;
        EXPECT_TRUE(WaitFor([&] { return QueryProgramState(window, QUERY_READY) == 1; }));
        Sleep(500);
        HWND box = ShownMessageBox();
        EXPECT_NE(box, nullptr) << "the notice was closed before the user could read it";
        if (box != nullptr) {
            // The box is made at its first place and then centred and
            // painted: the picture waits for both (a box that comes while
            // the window is still being placed may stay where it was made).
            WaitCentredOn(box, window);
            Sleep(300);
            EXPECT_NE(SaveScreenshot(box, L"settings_not_saved"), L"");
            Click(box, kBoxOnlyOk.x, kBoxOnlyOk.y);
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
        }

        // The new-macro button: nothing is stored, so nothing is reported
        // added, and the user, told once, is not told again.
        constexpr UINT kNewMacroButton = 83;
        constexpr UINT kClicked = 2;
        EXPECT_EQ(SendControlNotify(window, kNewMacroButton, kClicked), 0);
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &answer), 0);
        EXPECT_EQ(ShownMessageBox(), nullptr) << "the user was told a second time";

        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
        EXPECT_EQ(ziptest::ReadFile(file), before) << "the settings file was changed";
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.config != nullptr)
            RestoreRunFile(L"config.xml");
    }
    EXPECT_FALSE(FileExists(DataFolder() + L"db\\TK|104_data.db"));
}

} // namespace
