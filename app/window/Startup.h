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

} // namespace tarnwell
