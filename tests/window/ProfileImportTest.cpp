// Profiles between the file and a scratch settings store: export then import
// gives the same rows, and a hostile file never changes the store.

#include <gtest/gtest.h>

#include <string>

#include "app/store/ConfigDB.h"
#include "app/window/ProfileFile.h"
#include "tests/store/StoreTestSupport.h"

namespace {

using namespace tarnwell;

class ProfileImportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1")); }

    std::wstring File(const wchar_t* name) const { return std::wstring(folder.Path().GetString()) + name; }

    // Every row of the store's profile tables, one text per row, without ids.
    std::vector<std::string> Snapshot()
    {
        std::vector<std::string> all;
        for (const char* sql :
             {"SELECT profile, type, name, status FROM t_profile_data",
              "SELECT profile, fn_layer, key_code, macro_type, macro_value, macro_value2, macro_value3, macro_desc "
              "FROM t_key_macro_data",
              "SELECT * FROM t_light_data", "SELECT * FROM t_config_data", "SELECT * FROM t_userlightrgb_data",
              "SELECT * FROM t_musiclayer_data", "SELECT * FROM t_macro_data", "SELECT * FROM t_macrorecord"}) {
            for (const std::string& row : QueryStore(store, sql))
                all.push_back(row);
        }
        return all;
    }

    std::vector<std::string> ProfileRows(int profile, const char* sqlWithProfile)
    {
        std::string sql = sqlWithProfile;
        sql.replace(sql.find('?'), 1, std::to_string(profile));
        return QueryStore(store, sql.c_str());
    }

    const std::vector<PictureKey> keys = {{4, L"A"}, {5, L"B"}, {41, L"Esc"}, {240, L"Knob"}};
    ScratchFolder folder;
    ConfigDB store;
};

TEST_F(ProfileImportTest, ExportThenImportGivesTheSameRows)
{
    const int source = CreateSeededProfile(store, L"Profile 01", keys, true);
    ASSERT_GT(source, 0);
    KeyMacroData key;
    ASSERT_TRUE(store.GetKeyMacro(source, 1, 5, key));
    key.macro_type = 5;
    key.macro_value = 233;
    key.macro_desc = L"Volume up";
    store.UpdateKeyMacro(key);
    LightData light;
    ASSERT_TRUE(store.GetLight(source, 2, light));
    light.brightness = 2;
    light.color_value1 = 0x00A0B0C0;
    store.UpdateLight(source, 2, light);
    UserLightRgbData colour;
    colour.key_code = 41;
    colour.key_rgb = 0x00112233;
    ASSERT_TRUE(store.SetProfileUserLightRgbs(source, {colour}));
    const int macro = store.AddMacro(L"Combo");
    MacroRecordData event;
    event.macro_id = macro;
    event.type = 2;
    event.value = 4;
    event.delay_time = 30;
    event.desc = L"A";
    store.InsertMacroRecord(event);

    const std::wstring path = File(L"export.xml");
    ASSERT_TRUE(WriteProfileFile(path.c_str(), CollectProfile(store, source, L"Profile 01")));
    // The macro is changed after the export: the import puts it back.
    store.RenameMacro(macro, L"Changed");
    store.DeleteMacroRecords(macro);

    int imported = 0;
    ASSERT_EQ(ImportProfileFile(store, path.c_str(), keys, imported), ProfileFileError::None);
    ASSERT_GT(imported, source);
    EXPECT_EQ(imported, store.GetActiveProfile());

    CString name;
    EXPECT_TRUE(store.GetProfileName(imported, name));
    EXPECT_EQ(name, CString(L"Profile 01"));
    const char* sameRows[] = {
        "SELECT fn_layer, key_code, macro_type, macro_value, macro_value2, macro_value3, macro_desc "
        "FROM t_key_macro_data WHERE profile = ? ORDER BY key_id",
        "SELECT name, mode, brightness, speed, direction, colorful, colorindex, color_value1, config_func "
        "FROM t_light_data WHERE profile = ? ORDER BY light_id",
        "SELECT key_code, key_rgb FROM t_userlightrgb_data WHERE profile = ?",
        "SELECT key, value FROM t_config_data WHERE profile = ? ORDER BY config_id",
    };
    for (const char* sql : sameRows) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(ProfileRows(imported, sql), ProfileRows(source, sql));
    }
    MacroData restored;
    ASSERT_TRUE(store.GetMacro(macro, restored));
    EXPECT_EQ(restored.name, CString(L"Combo"));
    EXPECT_EQ(QueryStore(store, "SELECT type, record_index, desc, value, delay_time FROM t_macrorecord"),
              std::vector<std::string>{"2|0|A|4|30"});
}

TEST_F(ProfileImportTest, KeysAndColoursTheLayoutLacksAreDropped)
{
    const std::wstring path = File(L"other.xml");
    WriteFileBytes(CString(path.c_str()),
                   "<profile><info name=\"Other\"><key_info>"
                   "<item fn_layer=\"0\" key_code=\"4\" macro_type=\"5\" macro_value=\"226\" macro_desc=\"Mute\"/>"
                   "<item fn_layer=\"0\" key_code=\"99\" macro_type=\"5\" macro_value=\"226\"/>"
                   "</key_info><light_mode><item mode=\"77\" brightness=\"1\"/></light_mode>"
                   "<key_light><item key_code=\"99\" key_rgb=\"#FF0000\"/><item key_code=\"5\" key_rgb=\"#00FF00\"/>"
                   "</key_light></info></profile>");
    int imported = 0;
    ASSERT_EQ(ImportProfileFile(store, path.c_str(), keys, imported), ProfileFileError::None);
    EXPECT_EQ(store.CountKeyMacros(imported), 8);
    EXPECT_EQ(ProfileRows(imported, "SELECT macro_type, macro_value FROM t_key_macro_data WHERE profile = ? "
                                    "AND macro_type = 5"),
              std::vector<std::string>{"5|226"});
    EXPECT_EQ(store.CountLights(imported), 16);
    EXPECT_EQ(ProfileRows(imported, "SELECT key_code, key_rgb FROM t_userlightrgb_data WHERE profile = ?"),
              std::vector<std::string>{"5|65280"});
}

TEST_F(ProfileImportTest, RefusedFilesAndAFailingStoreLeaveTheProfilesAsTheyWere)
{
    const int existing = CreateSeededProfile(store, L"Mine", keys, true);
    ASSERT_GT(existing, 0);
    const std::vector<std::string> before = Snapshot();

    struct Case {
        const char* name;
        std::string bytes;
        ProfileFileError error;
    } cases[] = {
        {"truncated", "<profile><info name=\"x\"><key_info><item fn_layer=", ProfileFileError::NotXml},
        {"non-utf-8", "<profile><info name=\"\xFF\xFE\xFD\"/></profile>", ProfileFileError::NotUtf8},
        {"other root", "<settings/>", ProfileFileError::NotAProfile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = File(L"hostile.xml");
        WriteFileBytes(CString(path.c_str()), c.bytes);
        int id = -5;
        EXPECT_EQ(ImportProfileFile(store, path.c_str(), keys, id), c.error);
        EXPECT_EQ(id, -5);
        EXPECT_EQ(Snapshot(), before);
    }

    // A file that reads well but cannot be stored: nothing of it stays.
    const std::wstring path = File(L"good.xml");
    ASSERT_TRUE(WriteProfileFile(path.c_str(), CollectProfile(store, existing, L"Copy")));
    ASSERT_TRUE(ExecStore(store, "CREATE TRIGGER reject BEFORE INSERT ON t_userlightrgb_data "
                                 "BEGIN SELECT RAISE(ABORT, 'rejected'); END;"));
    ASSERT_TRUE(ExecStore(store, "CREATE TRIGGER reject2 BEFORE INSERT ON t_config_data "
                                 "WHEN NEW.key = 'debug_mode' BEGIN SELECT RAISE(ABORT, 'rejected'); END;"));
    int id = -5;
    EXPECT_EQ(ImportProfileFile(store, path.c_str(), keys, id), ProfileFileError::StoreFailed);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(store.GetActiveProfile(), existing);
}

} // namespace
