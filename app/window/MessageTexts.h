#pragma once

// Text numbers of the menus, notices and small windows that the main window's
// handlers open (the pages' own texts are in the page tables), kept here so
// that each use names its own number and the language files can be checked
// against them.

#include <windows.h>

namespace tarnwell {

// A menu item and the text it shows.
struct MenuItemText
{
    UINT item;
    int text;
};

// The macro list's "more" menu: import and export of a one-macro file.
inline constexpr MenuItemText kMacroMenuItems[] = {{101, 1156}, {102, 1157}};
// The event list's insert menu, in the menu's order (the items are the
// InsertItem values).
inline constexpr MenuItemText kInsertMenuItems[] = {{105, 410}, {106, 411}, {107, 412}, {101, 397}, {103, 398}};

// Names of the file kinds in the system's file dialogs.
inline constexpr int TEXT_MACRO_FILES = 1158;
inline constexpr int TEXT_PROFILE_FILES = 1159;

// "<text> <version>" on the home page.
inline constexpr int TEXT_VERSION = 1160;

// The record editor's label before the captured key (section "LAN").
inline constexpr int TEXT_RECORD_EDITOR_KEY = 1171;

// Update notices: titles, questions, and why an update did not happen.
inline constexpr int TEXT_APP_UPDATE = 1161;
inline constexpr int TEXT_FIRMWARE_UPDATE = 1162;
inline constexpr int TEXT_UP_TO_DATE = 1163;
inline constexpr int TEXT_NEW_VERSION = 1164;
inline constexpr int TEXT_ASK_UPDATE = 1165;
inline constexpr int TEXT_FIRMWARE_REQUIRED = 1166;
inline constexpr int TEXT_DOWNLOAD_FAILED = 1167;
inline constexpr int TEXT_PACKAGE_BROKEN = 1168;
inline constexpr int TEXT_NO_TEMP_FOLDER = 1169;
inline constexpr int TEXT_LAUNCH_FAILED = 1170;
inline constexpr int TEXT_PACKAGE_TOO_LARGE = 1120;
inline constexpr int TEXT_NO_DISK_SPACE = 1121;

// The progress window's texts: the factory reset, and the update stages
// (base + stage 0, 1, 2). The window adds ": <percent>%" to them.
inline constexpr int TEXT_RESET_PROGRESS = 80;
inline constexpr int TEXT_STAGE_BASE = 1000;
inline constexpr int kUpdateStages = 3;

} // namespace tarnwell
