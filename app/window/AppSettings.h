#pragma once

// Process-wide state that start-up fills and the whole main window reads:
// the supported languages and the current language, the configuration file
// that names them, and the registry and folder helpers under the device name.
//
// The registry key is HKEY_CURRENT_USER "SOFTWARE\<device name>"; every value
// under it is REG_SZ text, numbers as decimal.

#include <windows.h>

#include <set>
#include <string>

#include "ui/framework/CString.h"

namespace tarnwell {

// What start-up reads of config.xml.
struct AppConfig
{
    std::set<int> languages;
    // Empty when the file does not name one.
    std::wstring deviceName;
};

// Reads "config" > "language.info" > "lan"@value, then "software"@name
// (searched forward from "language.info"). Whatever was read before a missing
// element or an ill-formed part is kept. False when the file could not be read.
bool ReadAppConfig(const wchar_t* path, AppConfig& config);

// Clears the supported set, reads <program folder>config.xml, fills the set
// and, when the file names one, sets the library's device name.
void LoadAppConfig();

const std::set<int>& SupportedLanguages();
void SetSupportedLanguages(const std::set<int>& languages);
int GetCurrentLanguage();
void SetCurrentLanguage(int lcid);

// The language this run uses: the stored one, else the user's UI language;
// 1033 when the supported set does not list it (stored back in both cases).
int ChooseLanguage(int stored, int userDefault, const std::set<int>& supported, int* toStore);
void InitLanguage();

// "LCID": the stored value, 0 when missing (the key is created when it does
// not exist), 2052 when the key can neither be opened nor created.
int GetLanguageId();
void SetLanguageId(int lcid);

// 0 for a missing key (created here), value or non-number.
int GetRegistryInt(const wchar_t* name);
// Writes into an existing key only.
void SetRegistryString(const wchar_t* name, const wchar_t* text);
// "SOFTWARE\<device name>".
std::wstring RegistryKeyPath();

// The command the Run key starts at logon. The path is quoted: unquoted, a
// program folder with spaces would start whatever its first word names.
std::wstring AutorunCommand(const std::wstring& exeFolder);
// Writes (on) or deletes (off) the value named after the device under
// HKEY_CURRENT_USER's Run key; nothing happens when the key cannot be opened.
void SetAutorunEntry(bool on);
// The Run key's value for this program, empty when there is none.
std::wstring GetAutorunEntry();
// Reads a REG_SZ value into text, always terminated whatever the stored
// bytes; false when the value is missing or not text.
bool ReadRegistryText(HKEY key, const wchar_t* name, std::wstring& text, DWORD maxBytes = 255);

// Program folder with a trailing backslash (from the wide module name).
std::wstring GetExeFolder();

// The end-to-end test harness (tests/window/e2e/ProgramHarness.cpp, and
// nothing else) starts the program with TARNWELL_TEST_HARNESS=1 in its
// environment. Only such a program answers the harness's channel: control
// notifications in WM_COPYDATA and the state query. A copy started any other
// way answers neither, so no other program on the desktop can press its
// controls or read its state through them.
constexpr wchar_t kTestHarnessVariable[] = L"TARNWELL_TEST_HARNESS";
bool StartedByTestHarness();
// <local application data>\<device name> Files\ .
std::wstring GetDataFolder();
// Creates every missing level; true when the folder exists afterwards.
bool CreateDirectoryPath(const std::wstring& path);

} // namespace tarnwell
