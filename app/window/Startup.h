#pragma once

// The steps of the program's start that need no main window.

#include <windows.h>

namespace tarnwell {

// Which DPI declaration took effect.
enum class DpiPath { Context, Shcore, SystemAware };

// GDI-scaled unaware context first, then per-monitor awareness through
// Shcore, then system awareness. Each library is freed after its attempt.
DpiPath SetDpiAwareness();

// Enables SeDebugPrivilege on the process token; true when it was granted.
bool EnableDebugPrivilege();

// The first top-level window, in Z order, that carries a property named
// propertyName; null when none does.
HWND FindWindowWithProperty(const wchar_t* propertyName);

// Shows and raises a window of another instance, also when it was hidden to
// the tray.
void BringInstanceForward(HWND window);

// Moments of the start, in their order, kept so that the start-up can be
// measured from outside the process.
enum class StartupMark : int {
    EntryFunction,  // wWinMain begins
    Window,         // the window exists; its shell is about to be built
    Shell,          // the shell is built
    HomePage,       // the home page is built: what the first paint shows
    FirstPaint,     // the first paint is done
    Pages,          // every other page is built
    TrayIcon,       // the tray icon is added
    Count,
};
void MarkStartup(StartupMark mark);
// Microseconds from the creation of the process to the mark; -1 before it.
long long StartupMicroseconds(StartupMark mark);

} // namespace tarnwell
