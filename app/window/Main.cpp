// Tarnwell's entry point: brings the process up in a fixed order, lets only
// one instance run per device name, and runs the main window modally.

#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <memory>

#include "app/window/AppSettings.h"
#include "app/window/KeyboardDlg.h"
#include "app/window/Startup.h"
#include "ui/framework/Manager.h"

using namespace tarnwell;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    MarkStartup(StartupMark::EntryFunction);
    SetDpiAwareness();
    LoadAppConfig();

    CString deviceName = VREL::Manager::GetDeviceName();
    // Held, never closed, for the life of the first instance.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, deviceName.GetString());
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        if (HWND first = FindWindowWithProperty(deviceName.GetString()))
            BringInstanceForward(first);
        return 0;
    }

    EnableDebugPrivilege();
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    InitLanguage();
    VREL::Manager::SetInstance(instance);
    // Ahead of COM's start and the window's creation, which leave most of
    // the machine idle under a first paint that waits for its images.
    KeyboardDlg::PrepareFirstPaint();
    CreateDirectoryPath(GetDataFolder() + L"db");
    CoInitialize(nullptr);
    OleInitialize(nullptr);

    // Value-initialised on the heap: the dialog's members have constructors,
    // and its buffers are too large for the entry function's stack.
    auto dialog = std::make_unique<KeyboardDlg>();
    dialog->RunModal();

    // The worker uses the store, the device manager and the dialog: it must
    // end before any of them goes. One that will not stop ends with the
    // process, and nothing it uses is destroyed under it.
    if (!dialog->StopWorker()) {
        dialog->RemoveTrayIcon();
        TerminateProcess(GetCurrentProcess(), 1);
    }
    CoUninitialize();
    OleUninitialize();
    dialog.reset();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 1;
}
