// The table operations of the settings store, each written and read back
// through the store and, where the column layout matters, checked with SQL.

#include <gtest/gtest.h>

#include <functional>

#include "app/store/ConfigDB.h"
#include "StoreTestSupport.h"

namespace {

class ConfigTablesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1")); }

    // Makes every insert into `table` fail as a constraint violation would.
    void RejectInserts(const char* table, const char* when = "1")
    {
        const std::string sql = std::string("CREATE TRIGGER reject_") + table + " BEFORE INSERT ON " + table +
                                " WHEN " + when + " BEGIN SELECT RAISE(ABORT, 'rejected'); END;";
        ASSERT_TRUE(ExecStore(store, sql.c_str()));
    }

    ScratchFolder folder;
    ConfigDB store;
};

KeyMacroData KeyRow(int profile, int layer, int code, int type, const wchar_t* desc)
{
    KeyMacroData row;
    row.profile = profile;
    row.fn_layer = layer;
    row.key_code = code;
    row.macro_type = type;
    row.macro_value = code + 1;
    row.macro_value2 = code + 2;
    row.macro_value3 = code + 3;
    row.macro_desc = desc;
    return row;
}

LightData LightRow(int profile, int mode, int base)
{
    LightData row;
    row.profile = profile;
    row.name = L"light";
    row.mode = mode;
    int* fields[] = {&row.brightness, &row.speed, &row.direction, &row.colorful, &row.colorindex,
                     &row.color_value1, &row.color_value2, &row.color_value3, &row.color_value4,
                     &row.color_value5, &row.color_value6, &row.color_value7, &row.color_value8,
                     &row.config_func, &row.reserved};
    for (int i = 0; i < 15; ++i)
        *fields[i] = base + i;
    row.status = 0;
    return row;
}

void ExpectSameLight(const LightData& a, const LightData& b)
{
    EXPECT_EQ(a.profile, b.profile);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.brightness, b.brightness);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.direction, b.direction);
    EXPECT_EQ(a.colorful, b.colorful);
    EXPECT_EQ(a.colorindex, b.colorindex);
    EXPECT_EQ(a.color_value1, b.color_value1);
    EXPECT_EQ(a.color_value2, b.color_value2);
    EXPECT_EQ(a.color_value3, b.color_value3);
    EXPECT_EQ(a.color_value4, b.color_value4);
    EXPECT_EQ(a.color_value5, b.color_value5);
    EXPECT_EQ(a.color_value6, b.color_value6);
    EXPECT_EQ(a.color_value7, b.color_value7);
    EXPECT_EQ(a.color_value8, b.color_value8);
    EXPECT_EQ(a.config_func, b.config_func);
    EXPECT_EQ(a.reserved, b.reserved);
    EXPECT_EQ(a.status, b.status);
}

// ---- configuration ---------------------------------------------------------------------

TEST_F(ConfigTablesTest, ConfigValuesReadWriteAndMissingKeys)
{
    CString value = L"stale";
    EXPECT_FALSE(store.GetConfigValue(0, L"no_such_key", value));
    EXPECT_TRUE(value.IsEmpty());

    store.InsertDefaultConfig(5);
    EXPECT_TRUE(store.SetConfigValue(5, L"sleep_time", L"7"));
    EXPECT_TRUE(store.GetConfigValue(5, L"sleep_time", value));
    EXPECT_EQ(CString(L"7"), value);
    EXPECT_TRUE(store.GetConfigValue(0, L"sleep_time", value));
    EXPECT_EQ(CString(L"2"), value);  // other profiles untouched

    // A key the profile lacks is stored, once, rather than dropped.
    EXPECT_TRUE(store.SetConfigValue(3, L"enable_light", L"1"));
    EXPECT_TRUE(store.SetConfigValue(3, L"enable_light", L"0"));
    EXPECT_TRUE(store.GetConfigValue(3, L"enable_light", value));
    EXPECT_EQ(CString(L"0"), value);
    EXPECT_EQ(std::vector<std::string>{"1"},
              QueryStore(store, "SELECT count(*) FROM t_config_data WHERE profile = 3"));
}

TEST_F(ConfigTablesTest, DefaultConfigOfAProfileGoesInOneTransaction)
{
    StatementTrace trace(store.GetDB());
    store.InsertDefaultConfig(2);
    EXPECT_EQ(1, trace.Count("BEGIN IMMEDIATE"));
    EXPECT_EQ(1, trace.Count("END"));
    EXPECT_EQ(44, trace.CountPrefix("INSERT INTO t_config_data"));
    EXPECT_EQ(std::vector<std::string>{"44"},
              QueryStore(store, "SELECT count(*) FROM t_config_data WHERE profile = 2"));
}

// ---- profiles -----------------------------------------------------------------------------

TEST_F(ConfigTablesTest, ProfilesInsertListRenameActivateDelete)
{
    ProfileData input;
    input.type = 9;
    input.status = 1;  // only the name is taken
    input.name = L"First";
    const int first = store.InsertProfile(input);
    input.name = L"Second";
    const int second = store.InsertProfile(input);
    EXPECT_EQ(1, first);
    EXPECT_EQ(2, second);
    ASSERT_TRUE(ExecStore(store, "INSERT INTO t_profile_data(type, name, status) VALUES (2, 'hidden', 1)"));

    std::vector<ProfileData*> list;
    ASSERT_EQ(2, store.GetProfileList(list));
    EXPECT_EQ(first, list[0]->profile);
    EXPECT_EQ(1, list[0]->type);
    EXPECT_EQ(CString(L"First"), list[0]->name);
    EXPECT_EQ(0, list[0]->status);
    EXPECT_EQ(CString(L"Second"), list[1]->name);

    EXPECT_EQ(0, store.GetActiveProfile());
    EXPECT_TRUE(store.SetActiveProfile(second));
    EXPECT_EQ(second, store.GetActiveProfile());
    EXPECT_TRUE(store.SetActiveProfile(first));
    EXPECT_EQ(first, store.GetActiveProfile());
    EXPECT_TRUE(store.SetActiveProfile(99));  // clears every type-1 profile, still true
    EXPECT_EQ(0, store.GetActiveProfile());

    CString name = L"stale";
    EXPECT_TRUE(store.RenameProfile(first, L"Renamed"));
    EXPECT_TRUE(store.GetProfileName(first, name));
    EXPECT_EQ(CString(L"Renamed"), name);
    EXPECT_FALSE(store.GetProfileName(42, name));
    EXPECT_TRUE(name.IsEmpty());

    store.InsertDefaultConfig(first);
    EXPECT_TRUE(store.DeleteProfile(first));
    EXPECT_EQ(1, store.GetProfileList(list));  // the earlier records were freed and replaced
    EXPECT_EQ(second, list[0]->profile);
    // Its configuration rows went with it.
    EXPECT_EQ(std::vector<std::string>{"0"},
              QueryStore(store, "SELECT count(*) FROM t_config_data WHERE profile = 1"));
    FreeRows(list);
}

// ---- key assignments ---------------------------------------------------------------------

TEST_F(ConfigTablesTest, KeyMacrosBatchInsertReadAndUpdatePerLayer)
{
    store.InsertKeyMacros({KeyRow(1, 0, 4, 2, L"A"), KeyRow(1, 1, 4, 2, L"A"), KeyRow(1, 0, 5, 12, L"macro"),
                           KeyRow(2, 0, 4, 2, L"other profile")});
    EXPECT_EQ(3, store.CountKeyMacros(1));

    KeyMacroData row;
    ASSERT_TRUE(store.GetKeyMacro(1, 0, 5, row));
    EXPECT_EQ(3, row.key_id);
    EXPECT_EQ(1, row.profile);
    EXPECT_EQ(0, row.fn_layer);
    EXPECT_EQ(5, row.key_code);
    EXPECT_EQ(12, row.macro_type);
    EXPECT_EQ(6, row.macro_value);
    EXPECT_EQ(7, row.macro_value2);
    EXPECT_EQ(8, row.macro_value3);
    EXPECT_EQ(CString(L"macro"), row.macro_desc);

    KeyMacroData untouched = KeyRow(9, 9, 9, 9, L"sentinel");
    EXPECT_FALSE(store.GetKeyMacro(1, 1, 5, untouched));
    EXPECT_EQ(CString(L"sentinel"), untouched.macro_desc);
    EXPECT_EQ(9, untouched.key_code);

    // Description of one layer only.
    EXPECT_TRUE(store.UpdateKeyMacroDesc(1, 1, 4, L"layer one"));
    ASSERT_TRUE(store.GetKeyMacro(1, 0, 4, row));
    EXPECT_EQ(CString(L"A"), row.macro_desc);
    ASSERT_TRUE(store.GetKeyMacro(1, 1, 4, row));
    EXPECT_EQ(CString(L"layer one"), row.macro_desc);

    // The update finds its row by profile, layer and key; key_id plays no part.
    KeyMacroData change = KeyRow(1, 0, 4, 5, L"media");
    change.key_id = 77;
    change.macro_value = 100;
    store.UpdateKeyMacro(change);
    ASSERT_TRUE(store.GetKeyMacro(1, 0, 4, row));
    EXPECT_EQ(1, row.key_id);
    EXPECT_EQ(5, row.macro_type);
    EXPECT_EQ(100, row.macro_value);
    EXPECT_EQ(CString(L"media"), row.macro_desc);
    ASSERT_TRUE(store.GetKeyMacro(2, 0, 4, row));
    EXPECT_EQ(2, row.macro_type);

    store.UpdateKeyMacros({KeyRow(1, 1, 4, 1, L"Null"), KeyRow(1, 0, 5, 0, L"")});
    std::vector<KeyMacroData*> layer;
    ASSERT_EQ(1, store.GetLayerKeyMacros(1, 1, layer));
    EXPECT_EQ(1, layer[0]->macro_type);
    EXPECT_EQ(CString(L"Null"), layer[0]->macro_desc);
    std::vector<KeyMacroData*> all;
    EXPECT_EQ(3, store.GetProfileKeyMacros(1, all));
    EXPECT_EQ(0, store.GetLayerKeyMacros(7, 0, layer));
    EXPECT_TRUE(layer.empty());
    FreeRows(all);
}

// ---- light modes --------------------------------------------------------------------------

TEST_F(ConfigTablesTest, LightsRoundTripAndUpdateByTheRecordsOwnProfile)
{
    const LightData a = LightRow(3, 6, 100);
    const LightData b = LightRow(3, 14, 200);
    EXPECT_EQ(1, store.InsertLight(a));
    EXPECT_EQ(2, store.InsertLight(b));
    EXPECT_EQ(2, store.CountLights(3));

    LightData read;
    ASSERT_TRUE(store.GetLight(3, 14, read));
    EXPECT_EQ(2, read.light_id);
    ExpectSameLight(b, read);

    // First argument 0: the record's own profile still picks the row; name,
    // mode and status are not written.
    LightData change = LightRow(3, 99, 500);
    change.name = L"ignored";
    change.status = 1;
    EXPECT_TRUE(store.UpdateLight(0, 6, change));
    ASSERT_TRUE(store.GetLight(3, 6, read));
    EXPECT_EQ(CString(L"light"), read.name);
    EXPECT_EQ(6, read.mode);
    EXPECT_EQ(0, read.status);
    EXPECT_EQ(500, read.brightness);
    EXPECT_EQ(514, read.reserved);
    ASSERT_TRUE(store.GetLight(3, 14, read));
    EXPECT_EQ(200, read.brightness);

    EXPECT_EQ(0, store.GetActiveLightMode(3));
    EXPECT_TRUE(store.SetActiveLight(3, 14));
    EXPECT_EQ(14, store.GetActiveLightMode(3));
    EXPECT_TRUE(store.SetActiveLight(3, 6));
    EXPECT_EQ(6, store.GetActiveLightMode(3));
    std::vector<LightData*> list;
    ASSERT_EQ(2, store.GetLightList(3, list));
    EXPECT_EQ(1, list[0]->status);
    EXPECT_EQ(0, list[1]->status);
    FreeRows(list);
}

// ---- per-key colours -----------------------------------------------------------------------

TEST_F(ConfigTablesTest, UserLightRgbsAreDeletedForUserLightOneWhateverTheArgument)
{
    std::vector<UserLightRgbData> rows(4);
    for (int i = 0; i < 4; ++i) {
        rows[i].profile = i % 2 + 1;
        rows[i].userlight_id = i == 3 ? 2 : 1;
        rows[i].key_code = 4 + i;
        rows[i].key_rgb = 0x00FF00 + i;
    }
    EXPECT_EQ(4, store.InsertUserLightRgbs(rows));

    std::vector<UserLightRgbData*> list;
    ASSERT_EQ(3, store.GetUserLightRgbs(1, list));
    EXPECT_EQ(1, list[0]->userlightrgb_id);
    EXPECT_EQ(1, list[0]->profile);
    EXPECT_EQ(1, list[0]->userlight_id);
    EXPECT_EQ(4, list[0]->key_code);
    EXPECT_EQ(0x00FF00, list[0]->key_rgb);
    EXPECT_EQ(2, list[1]->profile);

    EXPECT_TRUE(store.DeleteUserLightRgbs(12345));
    EXPECT_EQ(0, store.GetUserLightRgbs(1, list));
    EXPECT_EQ(1, store.GetUserLightRgbs(2, list));
    FreeRows(list);
}

// ---- macros -------------------------------------------------------------------------------------

TEST_F(ConfigTablesTest, MacrosAddInsertUpdateAndListInIdOrder)
{
    EXPECT_EQ(1, store.AddMacro(L"Added"));
    MacroData input;
    input.macro_id = 50;  // not used by the insert
    input.name = L"Inserted";
    input.play_type = 2;
    input.play_times = 3;
    input.delay_type = 4;
    input.delay_time = 5;
    EXPECT_EQ(2, store.InsertMacro(input));

    MacroData read;
    ASSERT_TRUE(store.GetMacro(1, read));
    EXPECT_EQ(CString(L"Added"), read.name);
    EXPECT_EQ(0, read.play_type);
    EXPECT_EQ(1, read.play_times);
    EXPECT_EQ(1, read.delay_type);
    EXPECT_EQ(0, read.delay_time);
    EXPECT_FALSE(store.GetMacro(50, read));

    // The id argument picks the row, not the record's macro_id.
    input.macro_id = 2;
    input.name = L"Updated";
    input.delay_time = 40;
    EXPECT_TRUE(store.UpdateMacro(1, input));
    EXPECT_TRUE(store.RenameMacro(2, L"Renamed"));

    std::vector<MacroData*> list;
    ASSERT_EQ(2, store.GetMacroList(list));
    EXPECT_EQ(1, list[0]->macro_id);
    EXPECT_EQ(CString(L"Updated"), list[0]->name);
    EXPECT_EQ(2, list[0]->play_type);
    EXPECT_EQ(40, list[0]->delay_time);
    EXPECT_EQ(2, list[1]->macro_id);
    EXPECT_EQ(CString(L"Renamed"), list[1]->name);
    EXPECT_EQ(5, list[1]->delay_time);
    FreeRows(list);
}

TEST_F(ConfigTablesTest, MacroRecordsKeepDescInTheFifthColumnAndComeBackInIndexOrder)
{
    MacroRecordData record;
    record.macro_id = 1;
    record.type = 2;
    record.record_index = 1;
    record.value = 4;
    record.delay_time = 30;
    record.desc = L"A down";
    EXPECT_EQ(1, store.InsertMacroRecord(record));
    EXPECT_EQ(std::vector<std::string>{"1|1|2|1|A down|4|30"},
              QueryStore(store, "SELECT * FROM t_macrorecord"));

    std::vector<MacroRecordData> batch(3);
    for (int i = 0; i < 3; ++i) {
        batch[i].macro_id = 1;
        batch[i].type = 1;
        batch[i].record_index = 4 - i;  // 4, 3, 2: out of order
        batch[i].value = 10 * (i + 1);
        batch[i].desc = L"delay";
    }
    batch[2].macro_id = 2;
    store.InsertMacroRecords(batch);

    std::vector<MacroRecordData*> list;
    ASSERT_EQ(3, store.GetMacroRecords(1, list));
    EXPECT_EQ(1, list[0]->record_index);
    EXPECT_EQ(CString(L"A down"), list[0]->desc);
    EXPECT_EQ(4, list[0]->value);
    EXPECT_EQ(30, list[0]->delay_time);
    EXPECT_EQ(3, list[1]->record_index);
    EXPECT_EQ(20, list[1]->value);
    EXPECT_EQ(4, list[2]->record_index);

    EXPECT_TRUE(store.DeleteMacroRecords(1));
    EXPECT_EQ(0, store.GetMacroRecords(1, list));
    EXPECT_EQ(1, store.GetMacroRecords(2, list));
    FreeRows(list);
}

TEST_F(ConfigTablesTest, DeleteMacroTakesItsEventsOnlyWhenTheMacroWentFirst)
{
    const int keep = store.AddMacro(L"kept");
    const int drop = store.AddMacro(L"dropped");
    MacroRecordData record;
    for (int id : {keep, drop}) {
        record.macro_id = id;
        store.InsertMacroRecord(record);
    }
    EXPECT_TRUE(store.DeleteMacro(drop));
    std::vector<MacroRecordData*> list;
    EXPECT_EQ(0, store.GetMacroRecords(drop, list));

    ASSERT_TRUE(ExecStore(store, "CREATE TRIGGER keep_macros BEFORE DELETE ON t_macro_data "
                                 "BEGIN SELECT RAISE(ABORT, 'kept'); END;"));
    EXPECT_FALSE(store.DeleteMacro(keep));
    EXPECT_EQ(1, store.GetMacroRecords(keep, list));
    FreeRows(list);
}

// ---- music layer -----------------------------------------------------------------------------

TEST_F(ConfigTablesTest, MusicLayerStartsWithItsDefaultsAndUpdatesByProfile)
{
    EXPECT_EQ(1, store.InsertMusicLayer(2, L"Music", 3));
    EXPECT_EQ(2, store.InsertMusicLayer(2, L"Second", 4));
    EXPECT_EQ(std::vector<std::string>({"1|2|Music|0|3|60|0|100|0", "2|2|Second|0|4|60|0|100|0"}),
              QueryStore(store, "SELECT * FROM t_musiclayer_data"));
    EXPECT_EQ(2, store.CountMusicLayers(2));

    MusicLayerData layer;
    ASSERT_TRUE(store.GetMusicLayer(2, layer));
    EXPECT_EQ(1, layer.layer_id);  // the profile's first row
    EXPECT_EQ(2, layer.profile);
    EXPECT_EQ(CString(L"Music"), layer.name);
    EXPECT_EQ(0, layer.deviceindex);
    EXPECT_EQ(3, layer.foremode);
    EXPECT_EQ(60, layer.fore_amplitude);
    EXPECT_EQ(0, layer.backmode);
    EXPECT_EQ(100, layer.backb_right);

    layer.profile = 8;  // the argument picks the rows
    layer.deviceindex = 1;
    layer.foremode = 5;
    layer.fore_amplitude = 70;
    layer.backmode = 2;
    layer.backb_right = 50;
    EXPECT_TRUE(store.UpdateMusicLayer(2, layer));
    EXPECT_EQ(std::vector<std::string>({"1|2|Music|1|5|70|2|50|0", "2|2|Second|1|5|70|2|50|0"}),
              QueryStore(store, "SELECT * FROM t_musiclayer_data"));
    EXPECT_FALSE(store.GetMusicLayer(8, layer));
}

// ---- conventions shared by every table -----------------------------------------------------

TEST_F(ConfigTablesTest, TextIsStoredAsUtf8AndNullReadsAsEmpty)
{
    const CString name = L"\u00c9t\u00e9 \u5fa1\u5b88 \U0001F3B9";
    ProfileData profile;
    profile.name = name;
    const int id = store.InsertProfile(profile);
    CString read;
    ASSERT_TRUE(store.GetProfileName(id, read));
    EXPECT_EQ(name, read);
    // U+00C9 t U+00E9, space, U+5FA1 U+5B88, space, U+1F3B9: byte for byte.
    EXPECT_EQ(std::vector<std::string>{"C38974C3A920E5BEA1E5AE8820F09F8EB9"},
              QueryStore(store, "SELECT hex(name) FROM t_profile_data"));

    ASSERT_TRUE(ExecStore(store, "INSERT INTO t_macro_data(name, play_type) VALUES (NULL, 0)"));
    MacroData macro;
    macro.name = L"stale";
    ASSERT_TRUE(store.GetMacro(1, macro));
    EXPECT_TRUE(macro.name.IsEmpty());
    CString value = L"stale";
    ASSERT_TRUE(ExecStore(store, "UPDATE t_config_data SET value = NULL WHERE key = 'version'"));
    EXPECT_TRUE(store.GetConfigValue(0, L"version", value));
    EXPECT_TRUE(value.IsEmpty());
}

TEST_F(ConfigTablesTest, FailedInsertsAnswerZeroNotAnSqliteCode)
{
    RejectInserts("t_profile_data");
    RejectInserts("t_light_data");
    RejectInserts("t_macro_data");
    RejectInserts("t_macrorecord");
    RejectInserts("t_musiclayer_data");
    EXPECT_EQ(0, store.InsertProfile(ProfileData{}));
    EXPECT_EQ(0, store.InsertLight(LightData{}));
    EXPECT_EQ(0, store.AddMacro(L"m"));
    EXPECT_EQ(0, store.InsertMacro(MacroData{}));
    EXPECT_EQ(0, store.InsertMacroRecord(MacroRecordData{}));
    EXPECT_EQ(0, store.InsertMusicLayer(1, L"m", 0));
}

TEST_F(ConfigTablesTest, EveryBatchRunsInOneTransaction)
{
    const std::vector<std::pair<const char*, std::function<void()>>> batches = {
        {"InsertKeyMacros", [&] { store.InsertKeyMacros(std::vector<KeyMacroData>(3)); }},
        {"UpdateKeyMacros", [&] { store.UpdateKeyMacros(std::vector<KeyMacroData>(3)); }},
        {"InsertUserLightRgbs", [&] { store.InsertUserLightRgbs(std::vector<UserLightRgbData>(3)); }},
        {"InsertMacroRecords", [&] { store.InsertMacroRecords(std::vector<MacroRecordData>(3)); }},
    };
    for (const auto& batch : batches) {
        SCOPED_TRACE(batch.first);
        StatementTrace trace(store.GetDB());
        batch.second();
        EXPECT_EQ(1, trace.Count("BEGIN IMMEDIATE"));
        EXPECT_EQ(1, trace.Count("END"));
        EXPECT_EQ(3, trace.CountPrefix("INSERT") + trace.CountPrefix("UPDATE"));
    }
}

}  // namespace
