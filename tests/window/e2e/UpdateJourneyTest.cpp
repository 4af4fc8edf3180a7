// The progress window of the factory reset in the real program: the reset
// notice shows it, the progress moves it on, the worker's close request ends
// it, and the program goes on working (the UI thread deleted it after its
// modal run, nothing else did). And an application update fetched from the
// address the configuration file names.

#include "tests/window/LoopbackHttpServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/window/ZipTestArchive.h"
#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_UPDATE_RESULT = 0x69C;
constexpr UINT WM_PROGRESS_VALUE = 0x785;
constexpr UINT WM_WORKER_REQUEST = 0x7F0;
constexpr WPARAM REQUEST_CLOSE_PROGRESS = 4;
constexpr WPARAM NOTICE_FACTORY_RESET = 1001;
constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;

// The bar's row and ends in the 391 x 71 window.
constexpr int kBarY = 43;
constexpr int kBarLeft = 24;
constexpr int kBarRight = 367;

HWND ProgressWindow(DWORD process) { return FindProcessWindow(process, L"UpdateTipDlg"); }

COLORREF ScreenPixel(HWND window, int x, int y)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rect.left + x, rect.top + y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The share of the bar (0..1) whose pixels differ from the empty track.
double FilledShare(HWND window, COLORREF track)
{
    int filled = 0;
    for (int x = kBarLeft; x < kBarRight; ++x)
        filled += ScreenPixel(window, x, kBarY) != track ? 1 : 0;
    return static_cast<double>(filled) / (kBarRight - kBarLeft);
}

// The message box once it stands centred on the main window, as it is
// shown, for its picture.
void ShootBox(HWND window, HWND box, const wchar_t* picture)
{
    WaitCentredOn(box, window);
    Sleep(300);
    SaveScreenshot(box, picture);
}

class UpdateJourney : public ProgramJourney
{
protected:
    // The start's device refresh closes every open box (as a cancel), and
    // the keyboard's pages load after it is ready, raising and then closing
    // any progress window: a notice comes after both, as a real check's
    // answer does. Once the worker has no task left, what it asked of the
    // window is queued before anything posted now.
    HWND StartReady()
    {
        HWND window = StartProgram();
        constexpr WPARAM kQueryReady = 2;
        constexpr WPARAM kQueryTasksDone = 15;
        if (window != nullptr && !WaitFor([&] {
                return QueryProgramState(window, kQueryReady) == 1 && QueryProgramState(window, kQueryTasksDone) == 1;
            }))
            ADD_FAILURE() << "the program never got ready";
        return window;
    }
};

} // namespace

TEST_F(UpdateJourney, FactoryResetProgressWindowShowsAdvancesAndCloses)
{
    HWND window = StartReady();
    ASSERT_NE(window, nullptr);
    // The start's own device task moves and closes the progress window: the
    // device pages are open before the notice comes.
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, RECT{450, 5, 930, 45})) > 8; }));
    ASSERT_TRUE(WaitFor([&] { return ProgressWindow(program->ProcessId()) == nullptr; }));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        PostMessageW(window, WM_UPDATE_RESULT, NOTICE_FACTORY_RESET, 1);
        HWND tip = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (tip = ProgressWindow(program->ProcessId())) != nullptr; }))
            << "the reset notice showed no progress window";
        RECT rect;
        GetWindowRect(tip, &rect);
        EXPECT_EQ(rect.right - rect.left, 391);
        EXPECT_EQ(rect.bottom - rect.top, 71);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(window); })) << "the window did not run modally";

        // With the target still 0 the bar stays empty; the track's colour
        // is read from its middle.
        SaveScreenshot(tip, L"update_progress_start");
        const COLORREF track = ScreenPixel(tip, (kBarLeft + kBarRight) / 2, kBarY);
        EXPECT_LT(FilledShare(tip, track), 0.1);

        // The worker raises the target as the reset goes on; the timer walks
        // the bar after it, up to the target and no further.
        PostMessageW(window, WM_PROGRESS_VALUE, 70, 0);
        EXPECT_TRUE(WaitFor([&] { return FilledShare(tip, track) > 0.6; })) << "the bar did not advance";
        Sleep(1000);
        if (round == 0)
            SaveScreenshot(tip, L"update_progress");
        EXPECT_LT(FilledShare(tip, track), 0.8);

        // The worker's close request: the window goes and the program
        // answers again.
        PostMessageW(window, WM_WORKER_REQUEST, REQUEST_CLOSE_PROGRESS, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(tip); })) << "the progress window stayed";
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window) != FALSE; }));
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
        EXPECT_TRUE(program->Running());
    }

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(UpdateJourney, TrayExitWhileTheProgressWindowRunsEndsTheProgramCleanly)
{
    HWND window = StartReady();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_UPDATE_RESULT, NOTICE_FACTORY_RESET, 1);
    HWND tip = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (tip = ProgressWindow(program->ProcessId())) != nullptr; }));

    // The exit road closes the program's other windows from inside the
    // progress window's modal run: the window is asked to close, not
    // deleted under its own loop.
    constexpr UINT TRAY_MENU_EXIT = 100;
    PostMessageW(window, WM_COMMAND, TRAY_MENU_EXIT, 0);
    EXPECT_EQ(program->WaitForExit(), 0);
}

TEST_F(UpdateJourney, UpdateNoticesAskFirstAndAFailedFirmwareDownloadSaysSo)
{
    HWND window = StartReady();
    ASSERT_NE(window, nullptr);
    const DWORD process = program->ProcessId();
    auto answer = [&](POINT button, const wchar_t* picture) {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindProcessWindow(process, L"MessageBox")) != nullptr; }))
            return false;
        ShootBox(window, box, picture);
        Click(box, button.x, button.y);
        return WaitFor([&] { return !IsWindow(box); });
    };
    auto settled = [&] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    };

    // Up to date: the message alone.
    PostMessageW(window, WM_UPDATE_RESULT, 1, 0);
    ASSERT_TRUE(answer(kBoxOnlyOk, L"update_up_to_date")) << "no up-to-date message";
    ASSERT_TRUE(settled());
    EXPECT_EQ(ProgressWindow(process), nullptr);

    // Firmware required, declined: nothing starts.
    PostMessageW(window, WM_UPDATE_RESULT, 99, 1);
    ASSERT_TRUE(answer(kBoxCancel, L"update_firmware_required")) << "no firmware question";
    ASSERT_TRUE(settled());
    EXPECT_EQ(ProgressWindow(process), nullptr);

    // A firmware update, accepted: the package address this program has is
    // no address at all, so the download fails; the progress window closes
    // and then the failure is told.
    PostMessageW(window, WM_UPDATE_RESULT, 2, 1);
    ASSERT_TRUE(answer(kBoxOk, L"update_firmware_question")) << "no firmware question";
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindProcessWindow(process, L"MessageBox")) != nullptr; }))
        << "the failed download was not reported";
    EXPECT_EQ(ProgressWindow(process), nullptr) << "the failure was told over the progress window";
    EXPECT_TRUE(WaitCentredOn(box, window)) << "the failure message is not placed over the window";
    SaveScreenshot(box, L"update_failed");
    Click(box, kBoxOnlyOk.x, kBoxOnlyOk.y);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window) != FALSE; }));
    ASSERT_TRUE(settled());
    EXPECT_TRUE(program->Running());

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// The update notices in Polish: every one in the user's language (pictured
// into screenshots/pages/), and a declined question starts nothing.
TEST_F(UpdateJourney, UpdateNoticesSpeakTheUsersLanguage)
{
    WriteRegistryValue(L"LCID", L"1045");
    HWND window = StartReady();
    ASSERT_NE(window, nullptr);
    const DWORD process = program->ProcessId();
    const struct
    {
        WPARAM kind;
        LPARAM flag;
        const wchar_t* picture;
        POINT close;  // the message alone has only OK; a question is declined
    } notices[] = {{1, 0, L"update_up_to_date_pl", kBoxOnlyOk},
                   {1, 1, L"update_question_pl", kBoxCancel},
                   {99, 1, L"update_firmware_required_pl", kBoxCancel}};
    for (const auto& notice : notices) {
        PostMessageW(window, WM_UPDATE_RESULT, notice.kind, notice.flag);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindProcessWindow(process, L"MessageBox")) != nullptr; }))
            << "no notice " << notice.kind;
        ShootBox(window, box, notice.picture);
        Click(box, notice.close.x, notice.close.y);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    }
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result), 0);
    EXPECT_EQ(ProgressWindow(process), nullptr) << "a declined question started an update";

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

// The configuration file's upgrade address is where the application package
// comes from: accepted, it is fetched from there, unpacked, its installer
// started, and the program ends for it.
TEST_F(UpdateJourney, AnAcceptedUpdateIsFetchedFromTheConfiguredAddressAndItsInstallerStarted)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring installer(self);
    installer.resize(installer.find_last_of(L'\\') + 1);
    installer += L"marker_installer.exe";
    const std::string installerBytes = ziptest::ReadFile(installer);
    ASSERT_FALSE(installerBytes.empty()) << "the stand-in installer was not built";

    httptest::LoopbackHttpServer server;
    // The program has no version to ask for: the package's name carries none.
    const std::string packagePath = "/updates/TORVAK-Driver-.zip";
    ziptest::Entry entry{"TORVAK-Driver-.exe", installerBytes};
    entry.deflate = true;
    server.Add(packagePath, httptest::Route{200, ziptest::Build({entry})});

    std::string config = ziptest::ReadFile(RunFolder() + L"config.xml");
    const std::string shipped = "https://update.tarnwell.example/";
    const size_t at = config.find(shipped);
    ASSERT_NE(at, std::string::npos) << "the shipped configuration names no upgrade address";
    const std::wstring base = server.Url("/updates/");
    config.replace(at, shipped.size(), std::string(base.begin(), base.end()));
    ASSERT_TRUE(ReplaceRunFile(L"config.xml", config));

    HWND window = StartReady();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_UPDATE_RESULT, 1, 1);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no update question";
    WaitCentredOn(box, window);
    Click(box, kBoxOk.x, kBoxOk.y);

    const long exitCode = program->WaitForExit(60000);
    RestoreRunFile(L"config.xml");
    EXPECT_EQ(exitCode, 0) << "the program did not end for the installer";
    EXPECT_EQ(server.Requests(packagePath), 1);
    const std::wstring temp = DataFolder() + L"temp\\";
    EXPECT_TRUE(WaitFor([&] { return FileExists(temp + L"installer-ran.txt"); })) << "the installer did not run";
    EXPECT_FALSE(FileExists(temp + L"TORVAK-Driver-.zip")) << "the package was left behind";
}
