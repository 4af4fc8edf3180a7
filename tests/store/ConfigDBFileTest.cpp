// The database file of the settings store: creation, reopening, switching
// keyboards, factory reset and files that are not ours.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include "app/store/ConfigDB.h"
#include "app/store/ConfigSchema.h"
#include "app/store/Utf8Convert.h"
#include "StoreTestSupport.h"

namespace {

const char kTablesSql[] =
    "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name";
const char kIndexesSql[] =
    "SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite_%' ORDER BY name";
const char kConfigRowsSql[] = "SELECT profile, key, value FROM t_config_data ORDER BY config_id";

// Makes a plain SQLite file at `path` holding whatever `sql` creates.
void MakeSqliteFile(const CString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(CStringToUtf8(path).c_str(), &db,
                                         SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
    sqlite3_close(db);
}

class ConfigDBFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    ConfigDB store;  // destroyed (closed) before the folder goes
};

TEST_F(ConfigDBFileTest, FreshFileHoldsTheSchemaAndTheProfileZeroDefaults)
{
    const CString keyboard = L"Tarnwell K\u00e9y \u5fa1";  // the UTF-8 path must reach the right file
    ASSERT_TRUE(store.OpenDB(folder.Path(), keyboard));
    EXPECT_TRUE(store.IsDBOpen());
    const CString file = folder.DbFile(keyboard);
    ASSERT_TRUE(FileExists(file));

    const std::vector<std::string> tables = {
        "t_config_data", "t_customlight_data", "t_customrgb_data", "t_key_macro_data",
        "t_key_otherdata", "t_ledframe_data", "t_ledlayer_data", "t_light_data",
        "t_macro_data", "t_macrorecord", "t_musiclayer_data", "t_profile_data",
        "t_userlight_data", "t_userlightrgb_data"};
    EXPECT_EQ(tables, QueryFile(file, kTablesSql));
    const std::vector<std::string> indexes = {
        "customlightindex", "customrgbindex", "keyindex", "lightindex", "macroidindex",
        "macrorecordindex", "musiclayerindex", "otheridindex", "profileindex",
        "userlightindex", "userlightrgbindex"};
    EXPECT_EQ(indexes, QueryFile(file, kIndexesSql));

    const std::vector<std::string> rows = QueryFile(file, kConfigRowsSql);
    ASSERT_EQ(44u, rows.size());
    ASSERT_EQ(kDefaultConfigRowCount, rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(std::string("0|") + kDefaultConfigRows[i].key + "|" + kDefaultConfigRows[i].value, rows[i]);
    // A few rows the device link and main window depend on, stated independently.
    EXPECT_EQ("0|version|1.0.1", rows.front());
    EXPECT_EQ("0|sleep_time|2", rows[5]);
    EXPECT_EQ("0|enable_light|1", rows[11]);
    EXPECT_EQ("0|default_color1|8331093", rows[17]);
    EXPECT_EQ("0|switch_type|0", rows.back());
}

// The column lists are the file format: other versions of the program open
// these files, and the readers take columns by position.
TEST_F(ConfigDBFileTest, SchemaColumnsAndIndexesAreTheFileFormat)
{
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    const CString file = folder.DbFile(L"K1");
    const std::vector<std::string> columns = {
        "t_config_data:config_id INTEGER 1,profile INTEGER 0,key TEXT 0,value TEXT 0",
        "t_customlight_data:customlight_id INTEGER 1,profile INTEGER 0,name TEXT 0,speed INTEGER 0,"
        "brightness INTEGER 0,status INTEGER 0",
        "t_customrgb_data:customrgb_id INTEGER 1,customlight_id INTEGER 0,keycode INTEGER 0,rgbvalue INTEGER 0,"
        "light_mode INTEGER 0,colortype INTEGER 0,light_type INTEGER 0",
        "t_key_macro_data:key_id INTEGER 1,profile INTEGER 0,fn_layer INTEGER 0,key_code INTEGER 0,"
        "macro_type INTEGER 0,macro_value INTEGER 0,macro_value2 INTEGER 0,macro_value3 INTEGER 0,macro_desc TEXT 0",
        "t_key_otherdata:macro_value INTEGER 1,macro_desc TEXT 0,param TEXT 0,type INTEGER 0",
        "t_ledframe_data:frame_id INTEGER 1,led_id INTEGER 0,name TEXT 0,delay_time INTEGER 0,"
        "frame_index INTEGER 0,file_name TEXT 0",
        "t_ledlayer_data:led_id INTEGER 1,profile INTEGER 0,type INTEGER 0,name TEXT 0,frame_size INTEGER 0,"
        "file_dir TEXT 0,first_file TEXT 0",
        "t_light_data:light_id INTEGER 1,profile INTEGER 0,name TEXT 0,mode INTEGER 0,brightness INTEGER 0,"
        "speed INTEGER 0,direction INTEGER 0,colorful INTEGER 0,colorindex INTEGER 0,color_value1 INTEGER 0,"
        "color_value2 INTEGER 0,color_value3 INTEGER 0,color_value4 INTEGER 0,color_value5 INTEGER 0,"
        "color_value6 INTEGER 0,color_value7 INTEGER 0,color_value8 INTEGER 0,config_func INTEGER 0,"
        "reserved INTEGER 0,status INTEGER 0",
        "t_macro_data:macro_id INTEGER 1,name TEXT 0,play_type INTEGER 0,play_times INTEGER 0,"
        "delay_type INTEGER 0,delay_time INTEGER 0",
        "t_macrorecord:record_id INTEGER 1,macro_id INTEGER 0,type INTEGER 0,record_index INTEGER 0,desc TEXT 0,"
        "value INTEGER 0,delay_time INTEGER 0",
        "t_musiclayer_data:layer_id INTEGER 1,profile INTEGER 0,name TEXT 0,deviceindex INTEGER 0,"
        "foremode INTEGER 0,fore_amplitude INTEGER 0,backmode INTEGER 0,backb_right INTEGER 0,sel INTEGER 0",
        "t_profile_data:profile INTEGER 1,type INTEGER 0,name TEXT 0,status INTEGER 0",
        "t_userlight_data:userlight_id INTEGER 1,profile INTEGER 0,name TEXT 0,speed INTEGER 0,"
        "brightness INTEGER 0,status INTEGER 0",
        "t_userlightrgb_data:userlightrgb_id INTEGER 1,profile INTEGER 0,userlight_id INTEGER 0,"
        "key_code INTEGER 0,key_rgb INTEGER 0",
    };
    EXPECT_EQ(columns,
              QueryFile(file, "SELECT m.name || ':' || group_concat(c.name || ' ' || c.type || ' ' || c.pk, ',') "
                              "FROM sqlite_master m, pragma_table_info(m.name) c "
                              "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%' GROUP BY m.name ORDER BY m.name"));
    // Every key is AUTOINCREMENT: ids of deleted rows are never handed out again.
    EXPECT_EQ(std::vector<std::string>{"1"},
              QueryFile(file, "SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"));
    EXPECT_EQ(std::vector<std::string>{"0"},
              QueryFile(file, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name LIKE 't_%' "
                              "AND sql NOT LIKE '%INTEGER PRIMARY KEY AUTOINCREMENT%'"));

    const std::vector<std::string> indexes = {
        "customlightindex|t_customlight_data|customlight_id", "customrgbindex|t_customrgb_data|customrgb_id",
        "keyindex|t_key_macro_data|key_id",                    "lightindex|t_light_data|light_id",
        "macroidindex|t_macro_data|macro_id",                  "macrorecordindex|t_macrorecord|record_id",
        "musiclayerindex|t_musiclayer_data|layer_id",          "otheridindex|t_key_otherdata|macro_value",
        "profileindex|t_profile_data|profile",                 "userlightindex|t_userlight_data|userlight_id",
        "userlightrgbindex|t_userlightrgb_data|userlightrgb_id"};
    EXPECT_EQ(indexes, QueryFile(file, "SELECT m.name, m.tbl_name, i.name FROM sqlite_master m, "
                                       "pragma_index_info(m.name) i WHERE m.type = 'index' ORDER BY m.name"));
}

TEST_F(ConfigDBFileTest, ReopeningTheSameFileKeepsTheHeldConnection)
{
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    sqlite3* held = store.GetDB().GetHandle();
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    EXPECT_EQ(held, store.GetDB().GetHandle());
    EXPECT_EQ(44u, QueryFile(folder.DbFile(L"K1"), kConfigRowsSql).size());  // nothing created twice
}

TEST_F(ConfigDBFileTest, SwitchingKeyboardsWithoutClosingWritesToTheNewFile)
{
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K2"));  // created, not served by K1's connection
    EXPECT_TRUE(store.SetConfigValue(0, L"fn_layer", L"2"));
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));  // existing file this time
    EXPECT_TRUE(store.SetConfigValue(0, L"fn_layer", L"1"));

    const char sql[] = "SELECT value FROM t_config_data WHERE key = 'fn_layer'";
    EXPECT_EQ(std::vector<std::string>{"1"}, QueryFile(folder.DbFile(L"K1"), sql));
    EXPECT_EQ(std::vector<std::string>{"2"}, QueryFile(folder.DbFile(L"K2"), sql));
}

TEST_F(ConfigDBFileTest, FactoryResetRecreatesTheFileWithOrWithoutClosingFirst)
{
    for (bool closeFirst : {true, false}) {
        SCOPED_TRACE(closeFirst ? "closed first" : "connection still held");
        ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
        ProfileData profile;
        profile.name = L"mine";
        ASSERT_NE(0, store.InsertProfile(profile));
        store.SetConfigValue(0, L"sleep_time", L"9");

        if (closeFirst) {
            EXPECT_TRUE(store.CloseDB());
        }
        EXPECT_TRUE(store.DeleteDBFile(folder.Path(), L"K1"));
        EXPECT_FALSE(FileExists(folder.DbFile(L"K1")));
        EXPECT_FALSE(store.IsDBOpen());

        ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
        std::vector<ProfileData*> profiles;
        EXPECT_EQ(0, store.GetProfileList(profiles));
        CString value;
        EXPECT_TRUE(store.GetConfigValue(0, L"sleep_time", value));
        EXPECT_EQ(CString(L"2"), value);
        EXPECT_EQ(44u, QueryFile(folder.DbFile(L"K1"), kConfigRowsSql).size());
        EXPECT_TRUE(store.CloseDB());
    }
}

TEST_F(ConfigDBFileTest, DeletingAMissingOrForeignHeldFileReportsWhetherItIsGone)
{
    EXPECT_TRUE(store.DeleteDBFile(folder.Path(), L"never-created"));
    // A file that some other program holds open cannot be deleted.
    const CString file = folder.DbFile(L"K3");
    WriteFileBytes(file, "x");
    HANDLE other = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_FALSE(store.DeleteDBFile(folder.Path(), L"K3"));
    CloseHandle(other);
    EXPECT_TRUE(store.DeleteDBFile(folder.Path(), L"K3"));
}

TEST_F(ConfigDBFileTest, RecreatingReplacesOnlyTheOpenKeyboardsFileWithDefaults)
{
    EXPECT_FALSE(store.RecreateDB()) << "nothing opened yet";
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"Other"));
    store.SetConfigValue(0, L"sleep_time", L"30");
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    store.SetConfigValue(0, L"sleep_time", L"9");
    ProfileData profile;
    profile.name = L"Mine";
    ASSERT_NE(0, store.InsertProfile(profile));

    ASSERT_TRUE(store.RecreateDB());
    EXPECT_TRUE(store.IsDBOpen());
    std::vector<ProfileData*> profiles;
    EXPECT_EQ(0, store.GetProfileList(profiles));
    CString value;
    EXPECT_TRUE(store.GetConfigValue(0, L"sleep_time", value));
    EXPECT_EQ(CString(L"2"), value);
    EXPECT_EQ(1u, QueryFile(folder.DbFile(L"Other"), "SELECT 1 FROM t_config_data WHERE key='sleep_time' AND value='30'").size())
        << "another keyboard's file is not touched";

    // A file another program holds open cannot be replaced: the store keeps it.
    HANDLE other = CreateFileW(folder.DbFile(L"K1"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    store.SetConfigValue(0, L"sleep_time", L"5");
    EXPECT_FALSE(store.RecreateDB());
    CloseHandle(other);
    EXPECT_TRUE(store.IsDBOpen());
    EXPECT_TRUE(store.GetConfigValue(0, L"sleep_time", value));
    EXPECT_EQ(CString(L"5"), value);
}

TEST_F(ConfigDBFileTest, AConnectionLeftBySchemaFailureIsNotReusedForAnotherKeyboard)
{
    // A table with the right name but the wrong columns makes its index fail.
    MakeSqliteFile(folder.DbFile(L"Broken"), "CREATE TABLE t_profile_data(other INTEGER)");
    ASSERT_FALSE(store.OpenDB(folder.Path(), L"Broken"));  // not a settings file: left alone
    ASSERT_TRUE(store.CloseDB());
    EXPECT_FALSE(store.CreateDB());
    EXPECT_TRUE(store.GetDB().IsOpen());  // kept, as the schema's other statements ran
    EXPECT_EQ(44u, QueryFile(folder.DbFile(L"Broken"), kConfigRowsSql).size());

    ASSERT_TRUE(store.OpenDB(folder.Path(), L"Fresh"));
    EXPECT_EQ(14u, QueryFile(folder.DbFile(L"Fresh"), kTablesSql).size());
    EXPECT_EQ(CStringToUtf8(folder.DbFile(L"Fresh")), store.GetDB().GetPath());
}

std::string FileBytes(const CString& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// A file the store cannot write to: the open says so and why, every later
// write reports failure, and the file, the user's only copy of whatever it
// holds, is never written, repaired or deleted, not even by a factory reset.
TEST_F(ConfigDBFileTest, FilesTheStoreCannotWriteAreRefusedUntouchedWithTheReason)
{
    std::string random(8192, '\0');
    unsigned seed = 12345;
    for (char& c : random) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    const struct {
        const char* name;
        const wchar_t* keyboard;
        std::string bytes;  // written as they are unless sql is given
        const char* sql;    // makes an SQLite file
        bool writeProtect;
        StoreFault fault;
    } cases[] = {
        {"empty", L"empty", "", nullptr, false, StoreFault::Damaged},
        {"foreign", L"foreign", "", "CREATE TABLE notes(text TEXT); INSERT INTO notes VALUES ('hello');", false,
         StoreFault::Damaged},
        {"text", L"text", "this is not a database, just text\r\n", nullptr, false, StoreFault::Damaged},
        {"random bytes", L"random", random, nullptr, false, StoreFault::Damaged},
        {"settings header, damaged body", L"cut", "SQLite format 3" + std::string(1, '\0') + random, nullptr, false,
         StoreFault::Damaged},
        {"write-protected settings", L"locked", "", "CREATE TABLE t_config_data(x); CREATE TABLE t_profile_data(y);",
         true, StoreFault::ReadOnly},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CString file = folder.DbFile(c.keyboard);
        if (c.sql)
            MakeSqliteFile(file, c.sql);
        else
            WriteFileBytes(file, c.bytes);
        if (c.writeProtect) {
            ASSERT_TRUE(SetFileAttributesW(file, FILE_ATTRIBUTE_READONLY));
        }
        const std::string before = FileBytes(file);

        EXPECT_FALSE(store.OpenDB(folder.Path(), c.keyboard));
        EXPECT_EQ(c.fault, store.GetFault());
        EXPECT_FALSE(store.IsDBOpen());
        EXPECT_FALSE(store.GetDB().IsOpen());
        ProfileData profile;
        EXPECT_EQ(0, store.InsertProfile(profile));
        EXPECT_EQ(0, store.AddMacro(L"m"));
        EXPECT_EQ(0, store.InsertUserLightRgbs({UserLightRgbData{}}));
        EXPECT_FALSE(store.SetConfigValue(0, L"sleep_time", L"3"));
        EXPECT_FALSE(store.InsertDefaultConfig(1));
        EXPECT_FALSE(store.RecreateDB());
        EXPECT_EQ(c.fault, store.GetFault());
        EXPECT_TRUE(store.CloseDB());
        EXPECT_EQ(before, FileBytes(file));
        SetFileAttributesW(file, FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(ConfigDBFileTest, KeyboardNamesThatMakeNoFileNameOpenNothing)
{
    const wchar_t* const names[] = {L"..", L".", L"..\\..\\x", L"a/b", L"c:x", L"tab\there", L"what?"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(CStringToUtf8(name));
        EXPECT_FALSE(store.OpenDB(folder.Path(), name));
        EXPECT_EQ(StoreFault::NoFileName, store.GetFault());
        EXPECT_FALSE(store.GetDB().IsOpen());
        EXPECT_EQ(0, store.AddMacro(L"m"));
        EXPECT_FALSE(store.RecreateDB());
        EXPECT_FALSE(store.DeleteDBFile(folder.Path(), name));
    }
    // Nothing was made anywhere: not in the folder, nor above it.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder.Path() + L"db\\*", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    int entries = 0;
    do {
        ++entries;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(2, entries);  // "." and ".."
    EXPECT_FALSE(FileExists(folder.Path() + L"x_data.db"));

    // No keyboard at all is no fault: there is nothing to keep.
    EXPECT_FALSE(store.OpenDB(folder.Path(), L""));
    EXPECT_EQ(StoreFault::None, store.GetFault());
    // And a good name afterwards opens as ever.
    EXPECT_TRUE(store.OpenDB(folder.Path(), L"K1"));
    EXPECT_EQ(StoreFault::None, store.GetFault());
}

TEST_F(ConfigDBFileTest, OpenFailsCleanlyWhenTheFolderIsMissing)
{
    EXPECT_FALSE(store.OpenDB(folder.Path() + L"absent\\", L"K1"));
    EXPECT_FALSE(store.IsDBOpen());
    EXPECT_FALSE(store.GetDB().IsOpen());
    CString value;
    std::vector<MacroData*> macros;
    EXPECT_FALSE(store.GetConfigValue(0, L"version", value));
    EXPECT_EQ(0, store.GetMacroList(macros));
    EXPECT_EQ(0, store.AddMacro(L"m"));
    store.InsertDefaultConfig(1);  // must not crash without a connection
    // The same store still opens a good file afterwards.
    EXPECT_TRUE(store.OpenDB(folder.Path(), L"K1"));
}

}  // namespace
