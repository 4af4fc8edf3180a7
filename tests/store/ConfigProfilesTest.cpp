// Whole profiles in the settings store: a new profile goes in whole or not at
// all, a deleted one leaves no row behind and never leaves the store without
// an active profile, and key colours belong to their profile.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <windows.h>

#include <string>
#include <thread>

#include "app/store/ConfigDB.h"
#include "StoreTestSupport.h"

namespace {

class ConfigProfilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1")); }

    static NewProfileRows Rows(const wchar_t* name)
    {
        NewProfileRows rows;
        rows.name = name;
        for (int layer = 0; layer < 2; ++layer) {
            for (int code : {4, 5, 6}) {
                KeyMacroData key;
                key.fn_layer = layer;
                key.key_code = code;
                key.macro_type = layer == 0 ? 2 : 0;
                key.macro_value = code;
                key.macro_desc = L"k";
                rows.keys.push_back(key);
            }
        }
        for (int mode : {0, 1, 14}) {
            LightData light;
            light.mode = mode;
            light.brightness = 5;
            rows.lights.push_back(light);
        }
        rows.activeLightMode = 1;
        UserLightRgbData colour;
        colour.key_code = 4;
        colour.key_rgb = 0x123456;
        rows.keyColours.push_back(colour);
        return rows;
    }

    // Rows of `profile` in every table that keeps profile rows.
    int RowsOf(int profile)
    {
        int total = 0;
        for (const char* table : {"t_profile_data", "t_key_macro_data", "t_light_data", "t_config_data",
                                  "t_userlightrgb_data", "t_musiclayer_data", "t_userlight_data",
                                  "t_customlight_data", "t_ledlayer_data"}) {
            const std::string sql =
                std::string("SELECT count(*) FROM ") + table + " WHERE profile = " + std::to_string(profile);
            total += std::stoi(QueryStore(store, sql.c_str()).at(0));
        }
        return total;
    }

    int Count(const char* sql) { return std::stoi(QueryStore(store, sql).at(0)); }

    ScratchFolder folder;
    ConfigDB store;
};

TEST_F(ConfigProfilesTest, CreateProfileWritesEveryRowUnderTheNewId)
{
    NewProfileRows rows = Rows(L"Imported");
    rows.makeActive = true;
    const int id = store.CreateProfile(rows);
    ASSERT_GT(id, 0);

    EXPECT_EQ(id, store.GetActiveProfile());
    CString name;
    EXPECT_TRUE(store.GetProfileName(id, name));
    EXPECT_EQ(CString(L"Imported"), name);
    EXPECT_EQ(6, store.CountKeyMacros(id));
    EXPECT_EQ(3, store.CountLights(id));
    EXPECT_EQ(1, store.GetActiveLightMode(id));
    EXPECT_EQ(1, store.CountMusicLayers(id));
    CString sleep;
    EXPECT_TRUE(store.GetConfigValue(id, L"sleep_time", sleep));
    EXPECT_EQ(CString(L"2"), sleep);

    std::vector<UserLightRgbData*> colours;
    ASSERT_EQ(1, store.GetProfileUserLightRgbs(id, colours));
    EXPECT_EQ(0x123456, colours[0]->key_rgb);
    EXPECT_EQ(1, colours[0]->userlight_id);
    FreeRows(colours);
}

TEST_F(ConfigProfilesTest, CreateProfileKeepsNothingWhenAnyRowFails)
{
    const int existing = store.CreateProfile(Rows(L"Existing"));
    ASSERT_GT(existing, 0);
    ASSERT_TRUE(store.SetActiveProfile(existing));
    const int macro = store.AddMacro(L"m");
    MacroRecordData event;
    event.macro_id = macro;
    event.type = 2;
    event.value = 4;
    store.InsertMacroRecord(event);
    const int before = Count("SELECT count(*) FROM t_key_macro_data") + Count("SELECT count(*) FROM t_light_data") +
                       Count("SELECT count(*) FROM t_config_data") + Count("SELECT count(*) FROM t_profile_data");

    // A failure in each table in turn, the last one after the macro's events
    // were already replaced.
    const char* tables[] = {"t_key_macro_data", "t_light_data", "t_config_data", "t_userlightrgb_data",
                            "t_musiclayer_data", "t_macrorecord"};
    for (const char* table : tables) {
        SCOPED_TRACE(table);
        const std::string trigger = std::string("CREATE TRIGGER reject BEFORE INSERT ON ") + table +
                                    " WHEN (SELECT count(*) FROM t_profile_data) > 1 "
                                    "BEGIN SELECT RAISE(ABORT, 'rejected'); END;";
        ASSERT_TRUE(ExecStore(store, trigger.c_str()));
        NewProfileRows rows = Rows(L"Broken");
        rows.makeActive = true;
        MacroImportData imported;
        imported.macro.macro_id = macro;
        imported.macro.name = L"overwritten";
        imported.records.resize(2);
        imported.records[0].type = 1;
        imported.records[1].type = 2;
        rows.macros.push_back(imported);

        EXPECT_EQ(0, store.CreateProfile(rows));
        ASSERT_TRUE(ExecStore(store, "DROP TRIGGER reject"));

        EXPECT_EQ(before, Count("SELECT count(*) FROM t_key_macro_data") +
                              Count("SELECT count(*) FROM t_light_data") +
                              Count("SELECT count(*) FROM t_config_data") +
                              Count("SELECT count(*) FROM t_profile_data"));
        EXPECT_EQ(existing, store.GetActiveProfile());
        MacroData kept;
        ASSERT_TRUE(store.GetMacro(macro, kept));
        EXPECT_EQ(CString(L"m"), kept.name);
        EXPECT_EQ(1, Count("SELECT count(*) FROM t_macrorecord"));
    }
}

TEST_F(ConfigProfilesTest, AReaderOnAnotherConnectionOnlyDelaysTheNewProfile)
{
    sqlite3* reader = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(store.GetDB().GetPath().c_str(), &reader, SQLITE_OPEN_READONLY, nullptr));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM t_profile_data;", nullptr, nullptr, nullptr));
    std::thread release([reader] {
        Sleep(300);
        sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
    });
    const int id = store.CreateProfile(Rows(L"Delayed"));
    release.join();
    sqlite3_close(reader);
    EXPECT_GT(id, 0);
    EXPECT_EQ(6, store.CountKeyMacros(id));
}

TEST_F(ConfigProfilesTest, ImportedMacrosOverwriteKnownIdsAndSkipUnknownOnes)
{
    const int macro = store.AddMacro(L"old");
    MacroRecordData event;
    event.macro_id = macro;
    event.type = 2;
    store.InsertMacroRecord(event);

    NewProfileRows rows = Rows(L"P");
    MacroImportData known;
    known.macro.macro_id = macro;
    known.macro.name = L"new";
    known.macro.play_times = 3;
    known.records.resize(3);
    for (auto& record : known.records)
        record.type = 1;
    MacroImportData unknown = known;
    unknown.macro.macro_id = macro + 50;
    rows.macros = {known, unknown};
    ASSERT_GT(store.CreateProfile(rows), 0);

    MacroData stored;
    ASSERT_TRUE(store.GetMacro(macro, stored));
    EXPECT_EQ(CString(L"new"), stored.name);
    EXPECT_EQ(3, stored.play_times);
    std::vector<MacroRecordData*> events;
    ASSERT_EQ(3, store.GetMacroRecords(macro, events));
    EXPECT_EQ(2, events[2]->record_index);
    FreeRows(events);
    // No event rows without their macro.
    EXPECT_EQ(0, Count("SELECT count(*) FROM t_macrorecord WHERE macro_id NOT IN (SELECT macro_id FROM t_macro_data)"));
}

TEST_F(ConfigProfilesTest, DeleteProfileRemovesEveryRowAndKeepsAnActiveProfile)
{
    const int first = store.CreateProfile(Rows(L"First"));
    const int second = store.CreateProfile(Rows(L"Second"));
    const int third = store.CreateProfile(Rows(L"Third"));
    ASSERT_GT(third, 0);
    ASSERT_TRUE(ExecStore(store, ("INSERT INTO t_userlight_data(profile, name) VALUES (" + std::to_string(second) +
                                  ", 'u')").c_str()));
    ASSERT_TRUE(ExecStore(store, ("INSERT INTO t_customlight_data(profile, name) VALUES (" +
                                  std::to_string(second) + ", 'c')").c_str()));
    ASSERT_TRUE(ExecStore(store, "INSERT INTO t_customrgb_data(customlight_id, keycode) "
                                 "SELECT customlight_id, 4 FROM t_customlight_data"));
    ASSERT_TRUE(store.SetActiveProfile(second));
    const int firstRows = RowsOf(first);
    const int defaultRows = Count("SELECT count(*) FROM t_config_data WHERE profile = 0");

    EXPECT_TRUE(store.DeleteProfile(second));
    EXPECT_EQ(0, RowsOf(second));
    EXPECT_EQ(0, Count("SELECT count(*) FROM t_customrgb_data"));
    EXPECT_EQ(firstRows, RowsOf(first));
    EXPECT_EQ(defaultRows, Count("SELECT count(*) FROM t_config_data WHERE profile = 0"));
    // The active profile was the deleted one: the first remaining takes its place.
    EXPECT_EQ(first, store.GetActiveProfile());

    // Deleting one that is not active keeps the active one.
    EXPECT_TRUE(store.DeleteProfile(third));
    EXPECT_EQ(first, store.GetActiveProfile());

    // Unknown profiles, and the default rows of profile 0, are refused.
    EXPECT_FALSE(store.DeleteProfile(second));
    EXPECT_FALSE(store.DeleteProfile(0));
    EXPECT_EQ(defaultRows, Count("SELECT count(*) FROM t_config_data WHERE profile = 0"));
}

TEST_F(ConfigProfilesTest, DeleteProfileThatFailsKeepsEveryRow)
{
    const int first = store.CreateProfile(Rows(L"First"));
    const int second = store.CreateProfile(Rows(L"Second"));
    ASSERT_GT(second, 0);
    const int rows = RowsOf(second);
    ASSERT_TRUE(ExecStore(store, "CREATE TRIGGER reject BEFORE DELETE ON t_profile_data "
                                 "BEGIN SELECT RAISE(ABORT, 'rejected'); END;"));
    EXPECT_FALSE(store.DeleteProfile(second));
    EXPECT_EQ(rows, RowsOf(second));
    EXPECT_GT(RowsOf(first), 0);
}

TEST_F(ConfigProfilesTest, KeyColoursBelongToTheirProfile)
{
    const int first = store.CreateProfile(Rows(L"First"));
    const int second = store.CreateProfile(Rows(L"Second"));
    std::vector<UserLightRgbData> colours(2);
    colours[0].key_code = 5;
    colours[0].key_rgb = 0xFF;
    colours[1].key_code = 6;
    colours[1].key_rgb = 0xFF00;
    ASSERT_TRUE(store.SetProfileUserLightRgbs(second, colours));

    std::vector<UserLightRgbData*> list;
    EXPECT_EQ(2, store.GetProfileUserLightRgbs(second, list));
    EXPECT_EQ(1, store.GetProfileUserLightRgbs(first, list));  // its own, untouched
    EXPECT_EQ(4, list[0]->key_code);

    // Saving again replaces the profile's colours; a failing row keeps the old ones.
    ASSERT_TRUE(store.SetProfileUserLightRgbs(second, {colours[0]}));
    EXPECT_EQ(1, store.GetProfileUserLightRgbs(second, list));
    ASSERT_TRUE(ExecStore(store, "CREATE TRIGGER reject BEFORE INSERT ON t_userlightrgb_data WHEN NEW.key_code = 6 "
                                 "BEGIN SELECT RAISE(ABORT, 'rejected'); END;"));
    EXPECT_FALSE(store.SetProfileUserLightRgbs(second, colours));
    ASSERT_EQ(1, store.GetProfileUserLightRgbs(second, list));
    EXPECT_EQ(5, list[0]->key_code);
    FreeRows(list);
}

} // namespace
