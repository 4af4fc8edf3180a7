#include "app/window/AppSettings.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "app/store/XmlDoc.h"
#include "ui/framework/Manager.h"

namespace tarnwell {

namespace {

constexpr int kEnglishUs = 1033;
constexpr int kLanguageWhenKeyFails = 2052;

std::set<int>& LanguageSet()
{
    static std::set<int> languages;
    return languages;
}

// One aligned word: the worker and the UI thread only ever see the old or
// the new language.
volatile LONG g_currentLanguage = kEnglishUs;

struct RegKey
{
    HKEY key = nullptr;
    ~RegKey()
    {
        if (key != nullptr)
            RegCloseKey(key);
    }
};

} // namespace

bool ReadAppConfig(const wchar_t* path, AppConfig& config)
{
    XmlDoc doc;
    if (!doc.ReadTextFile(path))
        return false;
    // A file cut short or otherwise ill-formed still gives what stands before the fault.
    doc.Parse();
    if (!doc.FindElement(L"config") || !doc.Descend())
        return true;
    if (!doc.FindElement(L"language.info"))
        return true;
    if (doc.Descend()) {
        while (doc.FindElement(L"lan"))
            config.languages.insert(_wtoi(doc.GetAttribute(L"value").GetString()));
        doc.Ascend();
    }
    if (doc.FindElement(L"software")) {
        CString name = doc.GetAttribute(L"name");
        config.deviceName.assign(name.GetString(), name.GetLength());
    }
    return true;
}

void LoadAppConfig()
{
    LanguageSet().clear();
    AppConfig config;
    // The wide module name: a program folder outside the ANSI code page must
    // still find its configuration.
    const std::wstring path = GetExeFolder() + L"config.xml";
    ReadAppConfig(path.c_str(), config);
    LanguageSet() = config.languages;
    if (!config.deviceName.empty())
        VREL::Manager::SetDeviceName(CString(config.deviceName.c_str()));
}

const std::set<int>& SupportedLanguages() { return LanguageSet(); }
void SetSupportedLanguages(const std::set<int>& languages) { LanguageSet() = languages; }
int GetCurrentLanguage() { return static_cast<int>(g_currentLanguage); }
void SetCurrentLanguage(int lcid) { InterlockedExchange(&g_currentLanguage, lcid); }

int ChooseLanguage(int stored, int userDefault, const std::set<int>& supported, int* toStore)
{
    *toStore = 0;
    int current = stored;
    if (current == 0) {
        current = userDefault;
        *toStore = supported.count(current) != 0 ? current : kEnglishUs;
    }
    if (supported.count(current) == 0) {
        *toStore = kEnglishUs;
        current = kEnglishUs;
    }
    return current;
}

void InitLanguage()
{
    int toStore = 0;
    const int current =
        ChooseLanguage(GetLanguageId(), static_cast<int>(GetUserDefaultUILanguage()), SupportedLanguages(), &toStore);
    if (toStore != 0)
        SetLanguageId(toStore);
    SetCurrentLanguage(current);
}

std::wstring RegistryKeyPath()
{
    CString name = VREL::Manager::GetDeviceName();
    return std::wstring(L"SOFTWARE\\") + name.GetString();
}

bool ReadRegistryText(HKEY key, const wchar_t* name, std::wstring& text, DWORD maxBytes)
{
    // Two spare characters: a stored value need not end in a terminator, and
    // an odd byte count leaves half a character.
    std::vector<wchar_t> buffer(maxBytes / sizeof(wchar_t) + 2, L'\0');
    DWORD type = 0;
    DWORD size = maxBytes;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    buffer[size / sizeof(wchar_t)] = L'\0';
    text.assign(buffer.data());
    return true;
}

int GetLanguageId()
{
    RegKey key;
    const std::wstring path = RegistryKeyPath();
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key.key);
    if (result == ERROR_SUCCESS) {
        std::wstring text;
        return ReadRegistryText(key.key, L"LCID", text) ? _wtoi(text.c_str()) : 0;
    }
    if (result == ERROR_FILE_NOT_FOUND &&
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.key, nullptr) ==
            ERROR_SUCCESS)
        return 0;
    return kLanguageWhenKeyFails;
}

void SetLanguageId(int lcid)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", lcid);
    SetRegistryString(L"LCID", text);
}

int GetRegistryInt(const wchar_t* name)
{
    RegKey key;
    const std::wstring path = RegistryKeyPath();
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key.key);
    if (result == ERROR_FILE_NOT_FOUND) {
        RegKey created;
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created.key,
                        nullptr);
        return 0;
    }
    if (result != ERROR_SUCCESS)
        return 0;
    std::wstring text;
    return ReadRegistryText(key.key, name, text) ? _wtoi(text.c_str()) : 0;
}

void SetRegistryString(const wchar_t* name, const wchar_t* text)
{
    RegKey key;
    const std::wstring path = RegistryKeyPath();
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key.key) != ERROR_SUCCESS)
        return;
    const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    RegSetValueExW(key.key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

namespace {
const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kExeName[] = L"Tarnwell.exe";
const wchar_t kAutorunArgument[] = L" -autorun";
} // namespace

std::wstring AutorunCommand(const std::wstring& exeFolder)
{
    return L"\"" + exeFolder + kExeName + L"\"" + kAutorunArgument;
}

void SetAutorunEntry(bool on)
{
    RegKey key;
    // A fresh profile may not have the per-user Run key yet; it is created so
    // that the choice is not silently dropped.
    const LONG opened = on ? RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key.key, nullptr)
                           : RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key.key);
    if (opened != ERROR_SUCCESS)
        return;
    const CString name = VREL::Manager::GetDeviceName();
    if (!on) {
        RegDeleteValueW(key.key, name.GetString());
        return;
    }
    const std::wstring command = AutorunCommand(GetExeFolder());
    const DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key.key, name.GetString(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()), bytes);
}

std::wstring GetAutorunEntry()
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key.key) != ERROR_SUCCESS)
        return std::wstring();
    const CString name = VREL::Manager::GetDeviceName();
    std::wstring text;
    return ReadRegistryText(key.key, name.GetString(), text, 2 * 1024) ? text : std::wstring();
}

bool StartedByTestHarness()
{
    wchar_t value[4] = {};
    const DWORD length = GetEnvironmentVariableW(kTestHarnessVariable, value, 4);
    return length == 1 && value[0] == L'1';
}

std::wstring GetExeFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L'\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetDataFolder()
{
    wchar_t base[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
    CString name = VREL::Manager::GetDeviceName();
    return std::wstring(base) + L"\\" + name.GetString() + L" Files\\";
}

bool CreateDirectoryPath(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return true;
    size_t first = path.find(L'\\');
    if (first != std::wstring::npos) {
        // Each level in turn; the drive part before the first backslash is
        // never created, and levels that exist simply fail.
        for (size_t next = path.find(L'\\', first + 1); next != std::wstring::npos;
             next = path.find(L'\\', next + 1))
            CreateDirectoryW(path.substr(0, next).c_str(), nullptr);
    }
    if (CreateDirectoryW(path.c_str(), nullptr))
        return true;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace tarnwell
