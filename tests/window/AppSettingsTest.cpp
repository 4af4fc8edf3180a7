// Start-up's configuration, language choice, registry and folder helpers.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/window/AppSettings.h"
#include "tests/support/TempFolder.h"
#include "ui/framework/Manager.h"

namespace {

using namespace tarnwell;

TEST(LanguageChoice, StoredOrDefaultFallsBackToEnglish)
{
    const std::set<int> supported = {1033, 1045};
    const struct
    {
        int stored;
        int userDefault;
        int expected;
        int stores;  // 0: nothing written
    } cases[] = {
        {1045, 1033, 1045, 0},  // a stored, supported language stays
        {0, 1045, 1045, 1045},  // first start: the user's language when supported
        {0, 1031, 1033, 1033},  // ... else English
        {1031, 1045, 1033, 1033},  // a stored language no longer listed
        {2052, 1033, 1033, 1033},  // the value of an unreadable key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        int toStore = -1;
        EXPECT_EQ(ChooseLanguage(c.stored, c.userDefault, supported, &toStore), c.expected);
        EXPECT_EQ(toStore, c.stores);
    }
    int toStore = -1;
    EXPECT_EQ(ChooseLanguage(1045, 1045, {}, &toStore), 1033) << "no configuration file: English";
    EXPECT_EQ(toStore, 1033);
}

class ConfigFile : public ::testing::Test
{
protected:
    std::wstring Write(const char* text)
    {
        const std::wstring path = folder.Path() + L"config.xml";
        std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
        out << text;
        return path;
    }
    testsupport::TempFolder folder;
};

TEST_F(ConfigFile, ReadsLanguagesAndDeviceName)
{
    const struct
    {
        const char* text;
        std::set<int> languages;
        const wchar_t* name;
    } cases[] = {
        {"<config><device.info/><language.info default_lan=\"1045\"><lan value=\"1033\"/><lan value=\"1045\"/>"
         "</language.info><software name=\"Tarnwell\" version=\"1\"/></config>",
         {1033, 1045}, L"Tarnwell"},
        // software is searched forward from language.info only
        {"<config><software name=\"Early\"/><language.info><lan value=\"1033\"/></language.info></config>",
         {1033}, L""},
        // no languages at all
        {"<config><software name=\"Other\"/></config>", {}, L""},
        {"<config><language.info/><software name=\"Plain\"/></config>", {}, L"Plain"},
        // a file cut short names nothing: English and the library's default name follow
        {"<config><language.info><lan value=\"1045\"/></language.info><software name=\"Cut\"", {}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AppConfig config;
        ReadAppConfig(Write(c.text).c_str(), config);
        EXPECT_EQ(config.languages, c.languages);
        EXPECT_EQ(config.deviceName, c.name);
    }
    AppConfig missing;
    EXPECT_FALSE(ReadAppConfig((folder.Path() + L"none.xml").c_str(), missing));
    EXPECT_TRUE(missing.languages.empty());
}

// Values under a key of this test's own, with the device name pointing there.
class RegistryValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = VREL::Manager::GetDeviceName();
        name = L"TarnwellTest" + std::to_wstring(GetCurrentProcessId());
        VREL::Manager::SetDeviceName(CString(name.c_str()));
        RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKeyPath().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, RegistryKeyPath().c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKeyPath().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, RegistryKeyPath().c_str());
        VREL::Manager::SetDeviceName(saved);
    }
    bool KeyExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    void SetRaw(const wchar_t* value, const void* bytes, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RegistryKeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, value, 0, REG_SZ, static_cast<const BYTE*>(bytes), size);
        RegCloseKey(key);
    }
    CString saved;
    std::wstring name;
};

TEST_F(RegistryValues, FirstReadCreatesTheKeyAndWritesNeedIt)
{
    SetRegistryString(L"exit_mode", L"1");
    EXPECT_FALSE(KeyExists()) << "a write must not create the key";
    EXPECT_EQ(GetRegistryInt(L"exit_mode"), 0);
    EXPECT_TRUE(KeyExists());
    SetRegistryString(L"exit_mode", L"1");
    EXPECT_EQ(GetRegistryInt(L"exit_mode"), 1);
    SetRegistryString(L"exit_mode", L"abc");
    EXPECT_EQ(GetRegistryInt(L"exit_mode"), 0);
}

TEST_F(RegistryValues, TextStoredWithoutTerminatorReadsExactly)
{
    // "1045" stored without its terminator, then with an odd byte count, then
    // a long value: each read ends where the value does.
    const wchar_t digits[] = L"1045999999";
    SetRaw(L"LCID", digits, 4 * sizeof(wchar_t));
    EXPECT_EQ(GetLanguageId(), 1045);
    SetRaw(L"LCID", digits, 4 * sizeof(wchar_t) + 1);
    EXPECT_EQ(GetLanguageId(), 1045);
    std::wstring longText(300, L'7');
    SetRaw(L"exit_mode", longText.c_str(), static_cast<DWORD>(longText.size() * sizeof(wchar_t)));
    EXPECT_EQ(GetRegistryInt(L"exit_mode"), 0) << "a value longer than the read buffer is not read";
}

TEST_F(RegistryValues, InitLanguageReplacesAnUnlistedLanguage)
{
    SetSupportedLanguages({1033, 1045});
    EXPECT_EQ(GetLanguageId(), 0);
    EXPECT_TRUE(KeyExists());
    SetLanguageId(1031);
    InitLanguage();
    EXPECT_EQ(GetCurrentLanguage(), 1033);
    EXPECT_EQ(GetLanguageId(), 1033);
    SetLanguageId(1045);
    InitLanguage();
    EXPECT_EQ(GetCurrentLanguage(), 1045);
    SetSupportedLanguages({});
}

TEST(Folders, PathIsCompletedLevelByLevel)
{
    testsupport::TempFolder folder;
    const std::wstring partial = folder.Path() + L"a\\";
    ASSERT_TRUE(CreateDirectoryW(partial.c_str(), nullptr));
    const std::wstring deep = partial + L"b\\c\\db";
    EXPECT_TRUE(CreateDirectoryPath(deep));
    EXPECT_NE(GetFileAttributesW(deep.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(CreateDirectoryPath(deep)) << "an existing folder is success";
    EXPECT_EQ(GetExeFolder().back(), L'\\');
    EXPECT_EQ(GetDataFolder().back(), L'\\');
}

} // namespace

TEST(Autorun, TheCommandQuotesAProgramFolderWithSpaces)
{
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* command;
    };
    for (const Case c : {Case{L"C:\\Program Files\\Tarnwell\\", L"\"C:\\Program Files\\Tarnwell\\Tarnwell.exe\" -autorun"},
                         Case{L"D:\\kb\\", L"\"D:\\kb\\Tarnwell.exe\" -autorun"}})
        EXPECT_EQ(AutorunCommand(c.folder), c.command);
}

TEST_F(RegistryValues, AutorunWritesTheWholeQuotedCommandAndOffRemovesIt)
{
    SetAutorunEntry(true);
    const std::wstring expected = AutorunCommand(GetExeFolder());
    EXPECT_EQ(GetAutorunEntry(), expected);

    // The stored size counts the terminator, so readers that trust it get a
    // terminated string.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, (expected.size() + 1) * sizeof(wchar_t));
    RegCloseKey(key);

    SetAutorunEntry(false);
    EXPECT_EQ(GetAutorunEntry(), L"");
}
