#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/framework/Manager.h"

namespace {

using VREL::Manager;

std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

TEST(Manager, StartsWithTheLibraryDefaults)
{
    EXPECT_TRUE(Manager::GetDeviceName() == L"Tarnwell");
    EXPECT_TRUE(Manager::GetFontName() == L"Segoe UI");
    EXPECT_EQ(Manager::GetFontWidth(), 14);
    EXPECT_TRUE(Manager::GetTheme() == L"theme1\\");
    EXPECT_EQ(Manager::GetNormalColor().GetValue(), 0xFF232323u);
    EXPECT_EQ(Manager::GetHoverColor().GetValue(), 0xFFFDB637u);
    EXPECT_EQ(Manager::GetDownColor().GetValue(), 0xFFFDB637u);
    EXPECT_EQ(Manager::GetSelectColor().GetValue(), 0xFF49FFE6u);
    EXPECT_EQ(Manager::m_gdiplusStartupInput.GdiplusVersion, 1u);
}

TEST(Manager, SettersStoreTheirValuesIndependently)
{
    const CString device = Manager::GetDeviceName();
    const CString font = Manager::GetFontName();
    const int size = Manager::GetFontWidth();
    const Gdiplus::Color normal = Manager::GetNormalColor();
    const Gdiplus::Color hover = Manager::GetHoverColor();
    const Gdiplus::Color down = Manager::GetDownColor();
    const HINSTANCE instance = Manager::GetInstance();

    Manager::SetDeviceName(L"Keypad");
    Manager::SetFont(L"Arial", 18);
    Manager::SetHoverColor(Gdiplus::Color(0xFF010203));
    Manager::SetNormalColor(Gdiplus::Color(0xFF0A0B0C));
    Manager::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_TRUE(Manager::GetDeviceName() == L"Keypad");
    EXPECT_TRUE(Manager::GetFontName() == L"Arial");
    EXPECT_EQ(Manager::GetFontWidth(), 18);
    EXPECT_EQ(Manager::GetHoverColor().GetValue(), 0xFF010203u);
    EXPECT_EQ(Manager::GetDownColor().GetValue(), 0xFFFDB637u) << "hover and down are separate settings";
    EXPECT_EQ(Manager::GetNormalColor().GetValue(), 0xFF0A0B0Cu);
    EXPECT_EQ(Manager::GetInstance(), GetModuleHandleW(nullptr));
    Manager::SetFontName(L"Tahoma");
    EXPECT_TRUE(Manager::GetFontName() == L"Tahoma");
    EXPECT_EQ(Manager::GetFontWidth(), 18);

    Manager::SetDeviceName(device);
    Manager::SetFont(font, size);
    Manager::SetNormalColor(normal);
    Manager::SetHoverColor(hover);
    Manager::SetDownColor(down);
    Manager::SetInstance(instance);
}

TEST(Manager, WindowRegistryKeepsOneEntryPerWindow)
{
    auto* first = reinterpret_cast<VREL::MWindow*>(0x1000);
    auto* second = reinterpret_cast<VREL::MWindow*>(0x2000);
    const size_t before = Manager::m_windows.size();
    Manager::AddWnd(first);
    Manager::AddWnd(first);
    EXPECT_EQ(Manager::m_windows.size(), before + 1);
    Manager::DeleteWnd(second);
    EXPECT_EQ(Manager::m_windows.size(), before + 1);
    Manager::DeleteWnd(first);
    EXPECT_EQ(Manager::m_windows.size(), before);
}

TEST(Manager, TraceHasNoEffect)
{
    VREL::M_Trace(nullptr);
    VREL::M_Trace(L"%ls %d %s", L"text", 5, nullptr);
    SUCCEED();
}

// ------------------------------------------------------------ skin folder

TEST(SkinFolder, NamesTheExecutablesFolderNotTheLibrarys)
{
    // The tests run from tests\bin while vrel.dll lies in another folder.
    const std::wstring expected = ExecutableFolder();
    EXPECT_EQ(std::wstring(GetModuleFolder()), expected);
    EXPECT_EQ(std::wstring(GetSkinFolder()), expected + L"skins\\theme1\\");

    wchar_t library[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"vrel.dll"), library, MAX_PATH);
    EXPECT_NE(std::wstring(library).rfind(expected, 0), 0u) << "vrel.dll is expected outside the test folder";
}

TEST(SkinFolder, BufferFormChecksItsBuffer)
{
    EXPECT_EQ(GetModuleFolder(nullptr), nullptr);

    wchar_t buffer[MAX_PATH];
    EXPECT_EQ(GetModuleFolder(buffer), buffer);
    EXPECT_EQ(std::wstring(buffer), ExecutableFolder());

    // Too small for the folder: refused rather than cut.
    wchar_t small[4] = {L'x', L'x', L'x', L'\0'};
    EXPECT_EQ(GetModuleFolder(small, 4), nullptr);
    EXPECT_EQ(small[0], L'\0');
}

// Runs a copy of this test program from a folder whose path is longer than
// MAX_PATH and reads back the folders it reports.
TEST(SkinFolder, LongExecutablePathIsNotCut)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring root = std::wstring(temp) + L"tarnwell_long_" + std::to_wstring(GetCurrentProcessId());
    std::wstring folder = L"\\\\?\\" + root;
    std::vector<std::wstring> created;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    created.push_back(folder);
    const std::wstring segment(60, L'd');
    while (folder.size() < 320)
    {
        folder += L"\\" + segment;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        created.push_back(folder);
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring probe = folder + L"\\probe.exe";
    ASSERT_TRUE(CopyFileW(self, probe.c_str(), FALSE));
    const std::wstring output = std::wstring(temp) + L"tarnwell_probe_" + std::to_wstring(GetCurrentProcessId()) +
                                L".txt";

    const std::wstring plainProbe = probe.substr(4);  // without the long-path prefix
    std::wstring command = L"\"" + plainProbe + L"\" --module-folder-probe \"" + output + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(plainProbe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
    const DWORD startError = started ? 0 : GetLastError();
    DWORD exitCode = 1;
    if (started)
    {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    std::wstring text;
    if (FILE* in = _wfopen(output.c_str(), L"rb"))
    {
        wchar_t chunk[256];
        size_t read;
        while ((read = fread(chunk, sizeof(wchar_t), 256, in)) > 0)
            text.append(chunk, read);
        fclose(in);
    }
    DeleteFileW(output.c_str());
    DeleteFileW(probe.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        RemoveDirectoryW(it->c_str());

    // Wine cannot start a program from a path this long at all (its 64-bit
    // loader calls the name invalid), so there
    // the situation this test looks at cannot arise.
    if (!started && (startError == ERROR_FILE_NOT_FOUND || startError == ERROR_PATH_NOT_FOUND ||
                     startError == ERROR_FILENAME_EXCED_RANGE || startError == ERROR_INVALID_NAME))
        GTEST_SKIP() << "this system does not start programs from paths longer than MAX_PATH";
    ASSERT_TRUE(started) << "CreateProcess failed: " << startError;
    ASSERT_EQ(exitCode, 0u);
    // The probe may see its path with or without the long-path prefix.
    const std::wstring tail = folder.substr(4) + L"\\";
    const size_t newline = text.find(L'\n');
    ASSERT_NE(newline, std::wstring::npos);
    const std::wstring moduleFolder = text.substr(0, newline);
    const std::wstring skinFolder = text.substr(newline + 1, text.find(L'\n', newline + 1) - newline - 1);
    EXPECT_GT(moduleFolder.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(moduleFolder.substr(moduleFolder.size() - tail.size()), tail);
    EXPECT_EQ(skinFolder, moduleFolder + L"skins\\theme1\\");
}

// ------------------------------------------------------ Alt+F4 filtering

class AltF4 : public ::testing::Test
{
protected:
    static void Key(WORD key, bool down)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof(input));
    }
    static bool Held(WORD key) { return GetAsyncKeyState(key) != 0; }
    static void Release()
    {
        Key(VK_F4, false);
        Key(VK_MENU, false);
        // Wait until the key state has caught up.
        for (int i = 0; i < 100 && (Held(VK_F4) || Held(VK_MENU)); ++i)
            Sleep(10);
    }
    void SetUp() override { Release(); }
    void TearDown() override { Release(); }

    static bool PressBoth()
    {
        Key(VK_MENU, true);
        Key(VK_F4, true);
        for (int i = 0; i < 100; ++i)
        {
            if (Held(VK_MENU) && Held(VK_F4))
                return true;
            Sleep(10);
        }
        return false;
    }
};

TEST_F(AltF4, PreTranslateMessageReportsOnlyBothKeysHeld)
{
    MSG msg = {};
    EXPECT_EQ(Manager::PreTranslateMessage(&msg), 0);
    Key(VK_MENU, true);
    for (int i = 0; i < 100 && !Held(VK_MENU); ++i)
        Sleep(10);
    if (!Held(VK_MENU))
        GTEST_SKIP() << "injected keys do not reach the key state here";
    EXPECT_EQ(Manager::PreTranslateMessage(&msg), 0);
    ASSERT_TRUE(PressBoth());
    EXPECT_EQ(Manager::PreTranslateMessage(&msg), 1);
    EXPECT_EQ(Manager::PreTranslateMessage(nullptr), 1);
}

struct LoopWindow
{
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP)
            ++dispatched;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LoopWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ManagerLoopTest";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        dispatched = 0;
    }
    ~LoopWindow() { DestroyWindow(window); }
    HWND window;
    static int dispatched;
};
int LoopWindow::dispatched = 0;

TEST_F(AltF4, MessageLoopDispatchesUntilQuit)
{
    LoopWindow target;
    PostMessageW(target.window, WM_APP, 0, 0);
    PostMessageW(target.window, WM_APP, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessageW(target.window, WM_APP, 0, 0);  // behind WM_QUIT: never reached
    Manager::MessageLoop();
    EXPECT_EQ(LoopWindow::dispatched, 2);
    MSG left;
    while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE))
    {
    }
}

TEST_F(AltF4, MessageLoopDropsMessagesWhileAltF4IsHeld)
{
    LoopWindow target;
    if (!PressBoth())
        GTEST_SKIP() << "injected keys do not reach the key state here";
    PostMessageW(target.window, WM_APP, 0, 0);
    PostMessageW(target.window, WM_APP, 0, 0);
    PostQuitMessage(0);
    Manager::MessageLoop();
    EXPECT_EQ(LoopWindow::dispatched, 0);
}

} // namespace
