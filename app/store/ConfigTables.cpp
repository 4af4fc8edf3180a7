// The table operations of the settings store: one SQL statement per
// operation (two for the "set active" pairs and DeleteMacro), each run whole
// under the store's lock. Statements are prepared per call and never cached.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>

#include <sqlite3.h>

#include "app/store/ConfigDB.h"
#include "app/store/ConfigSchema.h"
#include "app/store/Utf8Convert.h"

namespace {

bool StepSucceeded(int result)
{
    return result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE;
}

// Reads the columns of the current row in order into the fields given.
class Columns {
public:
    explicit Columns(const SQLiteStatement& statement) : m_statement(statement) {}

    template <class... Fields>
    void Read(Fields&... fields)
    {
        (Take(fields), ...);
    }

private:
    void Take(int& field) { field = m_statement.GetInt(m_column++); }
    void Take(CString& field) { field = Utf8ToCString(m_statement.GetText(m_column++)); }

    const SQLiteStatement& m_statement;
    int m_column = 0;
};

void Fill(const SQLiteStatement& statement, ProfileData& row)
{
    Columns(statement).Read(row.profile, row.type, row.name, row.status);
}

void Fill(const SQLiteStatement& statement, KeyMacroData& row)
{
    Columns(statement).Read(row.key_id, row.profile, row.fn_layer, row.key_code, row.macro_type, row.macro_value,
                            row.macro_value2, row.macro_value3, row.macro_desc);
}

void Fill(const SQLiteStatement& statement, LightData& row)
{
    Columns(statement).Read(row.light_id, row.profile, row.name, row.mode, row.brightness, row.speed, row.direction,
                            row.colorful, row.colorindex, row.color_value1, row.color_value2, row.color_value3,
                            row.color_value4, row.color_value5, row.color_value6, row.color_value7,
                            row.color_value8, row.config_func, row.reserved, row.status);
}

void Fill(const SQLiteStatement& statement, UserLightRgbData& row)
{
    Columns(statement).Read(row.userlightrgb_id, row.profile, row.userlight_id, row.key_code, row.key_rgb);
}

void Fill(const SQLiteStatement& statement, MacroData& row)
{
    Columns(statement).Read(row.macro_id, row.name, row.play_type, row.play_times, row.delay_type, row.delay_time);
}

void Fill(const SQLiteStatement& statement, MacroRecordData& row)
{
    // The table keeps desc before value and delay_time; the record keeps it last.
    Columns(statement).Read(row.record_id, row.macro_id, row.type, row.record_index, row.desc, row.value,
                            row.delay_time);
}

void Fill(const SQLiteStatement& statement, MusicLayerData& row)
{
    // The last column, sel, is not kept.
    Columns(statement).Read(row.layer_id, row.profile, row.name, row.deviceindex, row.foremode, row.fore_amplitude,
                            row.backmode, row.backb_right);
}

// The caller's earlier records are freed before the new ones are appended.
template <class Row>
void ClearList(std::vector<Row*>& list)
{
    for (Row* row : list)
        delete row;
    list.clear();
}

// One prepared statement with its values bound in order, run once. Text is
// bound without a copy, so the query keeps the UTF-8 forms alive until the
// statement is finalized.
class Query {
public:
    Query(SQLiteDB& db, const char* sql) : m_db(db) { db.Prepare(m_statement, sql); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Int(int value)
    {
        m_statement.BindInt(++m_index, value);
        return *this;
    }
    Query& Text(const CString& text)
    {
        m_texts.push_back(CStringToUtf8(text));  // deque: earlier elements stay put
        const std::string& utf8 = m_texts.back();
        m_statement.BindText(++m_index, utf8.c_str(), static_cast<int>(utf8.size()));
        return *this;
    }
    // Binds each value in order, by its type.
    template <class... Values>
    Query& Bind(const Values&... values)
    {
        (BindOne(values), ...);
        return *this;
    }

    bool Run() { return StepSucceeded(m_statement.Step()); }
    // The new row's id; 0 when the insert failed.
    int Insert() { return Run() ? static_cast<int>(m_db.LastInsertRowId()) : 0; }
    // The first column of the first row; 0 without a row.
    int FirstInt() { return m_statement.Step() == SQLITE_ROW ? m_statement.GetInt(0) : 0; }
    bool FirstText(CString& text)
    {
        if (m_statement.Step() != SQLITE_ROW)
            return false;
        text = Utf8ToCString(m_statement.GetText(0));
        return true;
    }
    template <class Row>
    bool ReadOne(Row& row)
    {
        if (m_statement.Step() != SQLITE_ROW)
            return false;
        Fill(m_statement, row);
        return true;
    }
    // Appends every row; the count appended.
    template <class Row>
    int ReadList(std::vector<Row*>& list)
    {
        int count = 0;
        while (m_statement.Step() == SQLITE_ROW) {
            auto row = std::make_unique<Row>();
            Fill(m_statement, *row);
            list.push_back(row.release());
            ++count;
        }
        return count;
    }

private:
    void BindOne(int value) { Int(value); }
    void BindOne(const CString& text) { Text(text); }

    SQLiteDB& m_db;
    int m_index = 0;
    std::deque<std::string> m_texts;  // declared before the statement, so it goes after it
    SQLiteStatement m_statement;
};

// A query that holds the store's lock from its preparation until the
// statement is finalized: the whole of an operation of one statement.
class LockedQuery : private CritSecLock, public Query {
public:
    LockedQuery(CritSec& lock, SQLiteDB& db, const char* sql) : CritSecLock(&lock), Query(db, sql) {}
};

// Under the store's lock, frees the caller's earlier records, then appends
// every row the statement selects with the keys bound in order; the count
// appended.
template <class Row, class... Keys>
int ReadRows(CritSec& lock, SQLiteDB& db, const char* sql, std::vector<Row*>& list, const Keys&... keys)
{
    LockedQuery query(lock, db, sql);
    ClearList(list);
    return query.Bind(keys...).ReadList(list);
}

template <class Row, class Bind>
bool WriteRow(SQLiteDB& db, const char* sql, const Row& row, Bind bind)
{
    Query query(db, sql);
    return bind(query, row).Run();
}

// Runs the statement once per row inside one transaction: every row is
// written, or, at the first that fails, none of them. True when committed.
template <class Row, class Bind>
bool RunBatch(SQLiteDB& db, const char* sql, const std::vector<Row>& rows, Bind bind)
{
    SQLiteAutoTransaction transaction(&db);
    transaction.Begin();  // begun by the constructor already: sends nothing
    if (!transaction.Began())
        return false;  // the rows would commit one by one
    for (const Row& row : rows) {
        // The failed row's statement is finalized before the rollback.
        if (!WriteRow(db, sql, row, bind)) {
            transaction.Rollback();
            return false;
        }
    }
    return transaction.End();
}

// ---- statements --------------------------------------------------------------------
// One line a statement and each whole, however long: a statement seen in a
// trace or a log is found here by searching for it.

constexpr char kSetConfigValue[] = "UPDATE t_config_data SET value = ? WHERE profile = ? and key = ?";
constexpr char kInsertConfigValue[] = "INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);";
constexpr char kGetConfigValue[] = "SELECT value FROM t_config_data WHERE profile = ? and key = ?";

constexpr char kInsertProfile[] = "INSERT INTO t_profile_data(type, name, status) VALUES (?, ?, ?);";
constexpr char kRenameProfile[] = "UPDATE t_profile_data SET name = ? WHERE profile = ?";
constexpr char kGetProfileName[] = "SELECT name FROM t_profile_data WHERE profile = ?";
constexpr char kGetProfileList[] = "SELECT * FROM t_profile_data WHERE type = ?";
constexpr char kClearActiveProfile[] = "UPDATE t_profile_data SET status = ? WHERE type = ?";
constexpr char kSetActiveProfile[] = "UPDATE t_profile_data SET status = ? WHERE profile = ?";
constexpr char kGetActiveProfile[] = "SELECT profile FROM t_profile_data WHERE type = ? AND status = ?";

constexpr char kCountKeyMacros[] = "select count(*) FROM t_key_macro_data WHERE profile = ?";
constexpr char kInsertKeyMacro[] = "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, macro_value, macro_value2, macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kUpdateKeyMacro[] = "UPDATE t_key_macro_data SET macro_type = ?, macro_value = ?, macro_value2 = ?, macro_value3 = ?, macro_desc = ? WHERE profile = ? AND fn_layer = ? AND key_code = ?;";
constexpr char kUpdateKeyMacroDesc[] = "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?";
constexpr char kGetKeyMacro[] = "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?";
constexpr char kGetLayerKeyMacros[] = "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?";
constexpr char kGetProfileKeyMacros[] = "SELECT * FROM t_key_macro_data WHERE profile = ?";

constexpr char kCountLights[] = "select count(*) FROM t_light_data WHERE profile = ?";
constexpr char kInsertLight[] = "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, colorindex, color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, color_value8, config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kUpdateLight[] = "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, color_value6 = ?, color_value7 = ?, color_value8 = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?";
constexpr char kClearActiveLight[] = "UPDATE t_light_data SET status = ? WHERE profile = ?";
constexpr char kSetActiveLight[] = "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?";
constexpr char kGetActiveLightMode[] = "SELECT mode FROM t_light_data WHERE profile = ? and status = ?";
constexpr char kGetLight[] = "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?";
constexpr char kGetLightList[] = "SELECT * FROM t_light_data WHERE profile = ?";

constexpr char kInsertUserLightRgb[] = "INSERT INTO t_userlightrgb_data(profile, userlight_id, key_code, key_rgb) VALUES (?, ?, ?, ?);";
constexpr char kDeleteUserLightRgbs[] = "DELETE FROM t_userlightrgb_data WHERE userlight_id = ?";
constexpr char kGetUserLightRgbs[] = "SELECT * FROM t_userlightrgb_data WHERE userlight_id = ?";

constexpr char kInsertMacro[] = "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, ?, ?);";
constexpr char kRenameMacro[] = "UPDATE t_macro_data SET name = ? WHERE macro_id = ?";
constexpr char kDeleteMacro[] = "DELETE FROM t_macro_data WHERE macro_id = ?";
constexpr char kDeleteMacroRecords[] = "DELETE FROM t_macrorecord WHERE macro_id = ?";
constexpr char kGetMacro[] = "SELECT * FROM t_macro_data WHERE macro_id = ?";
constexpr char kUpdateMacro[] = "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? WHERE macro_id = ?";
constexpr char kGetMacroList[] = "SELECT * FROM t_macro_data";
constexpr char kInsertMacroRecord[] = "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES (?, ?, ?, ?, ?, ?);";
constexpr char kGetMacroRecords[] = "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";

constexpr char kCountMusicLayers[] = "select count(*) FROM t_musiclayer_data WHERE profile = ?";
constexpr char kInsertMusicLayer[] = "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, fore_amplitude, backmode, backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kGetMusicLayer[] = "SELECT * FROM t_musiclayer_data WHERE profile = ?";
constexpr char kUpdateMusicLayer[] = "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, backmode= ?, backb_right= ? WHERE profile = ?";

constexpr int kProfileType = 1;   // every profile the program writes and lists
constexpr int kActive = 1;
constexpr int kInactive = 0;
constexpr int kUserLightId = 1;   // the only user light the program writes

// Defaults of a new macro and a new music layer.
constexpr int kNewMacroPlayType = 0;
constexpr int kNewMacroPlayTimes = 1;
constexpr int kNewMacroDelayType = 1;
constexpr int kNewMacroDelayTime = 0;
constexpr int kNewMusicDeviceIndex = 0;
constexpr int kNewMusicForeAmplitude = 60;
constexpr int kNewMusicBackMode = 0;
constexpr int kNewMusicBackBright = 100;
constexpr int kNewMusicSel = 0;

// Every column of a key assignment but its id, in the insert's order.
Query& BindKeyMacroRow(Query& query, const KeyMacroData& row)
{
    return query.Bind(row.profile, row.fn_layer, row.key_code, row.macro_type, row.macro_value, row.macro_value2,
                      row.macro_value3, row.macro_desc);
}

Query& BindKeyMacroUpdate(Query& query, const KeyMacroData& row)
{
    return query.Bind(row.macro_type, row.macro_value, row.macro_value2, row.macro_value3, row.macro_desc,
                      row.profile, row.fn_layer, row.key_code);
}

Query& BindUserLightRgbRow(Query& query, const UserLightRgbData& row)
{
    return query.Bind(row.profile, row.userlight_id, row.key_code, row.key_rgb);
}

Query& BindMacro(Query& query, const MacroData& row)
{
    return query.Bind(row.name, row.play_type, row.play_times, row.delay_type, row.delay_time);
}

Query& BindMacroRecord(Query& query, const MacroRecordData& row)
{
    return query.Bind(row.macro_id, row.type, row.record_index, row.desc, row.value, row.delay_time);
}

// A new music layer of the profile, with the defaults of a new one.
Query& BindNewMusicLayer(Query& query, int profile, const CString& name, int foremode)
{
    return query.Bind(profile, name, kNewMusicDeviceIndex, foremode, kNewMusicForeAmplitude, kNewMusicBackMode,
                      kNewMusicBackBright, kNewMusicSel);
}

// Every table that keeps rows of a profile, children before their parents.
constexpr const char* kDeleteProfileRows[] = {
    "DELETE FROM t_key_macro_data WHERE profile = ?",
    "DELETE FROM t_light_data WHERE profile = ?",
    "DELETE FROM t_config_data WHERE profile = ?",
    "DELETE FROM t_userlightrgb_data WHERE profile = ?",
    "DELETE FROM t_musiclayer_data WHERE profile = ?",
    "DELETE FROM t_userlight_data WHERE profile = ?",
    "DELETE FROM t_customrgb_data WHERE customlight_id IN "
    "(SELECT customlight_id FROM t_customlight_data WHERE profile = ?)",
    "DELETE FROM t_customlight_data WHERE profile = ?",
    "DELETE FROM t_ledframe_data WHERE led_id IN (SELECT led_id FROM t_ledlayer_data WHERE profile = ?)",
    "DELETE FROM t_ledlayer_data WHERE profile = ?",
    "DELETE FROM t_profile_data WHERE profile = ?",
};
constexpr char kCountProfile[] = "SELECT count(*) FROM t_profile_data WHERE profile = ? AND type = ?";
constexpr char kFirstProfile[] = "SELECT profile FROM t_profile_data WHERE type = ? ORDER BY profile LIMIT 1";
constexpr char kDeleteProfileUserLightRgbs[] = "DELETE FROM t_userlightrgb_data WHERE profile = ?";
constexpr char kGetProfileUserLightRgbs[] = "SELECT * FROM t_userlightrgb_data WHERE profile = ?";

bool InsertKeyMacroRow(SQLiteDB& db, const KeyMacroData& row)
{
    Query query(db, kInsertKeyMacro);
    return BindKeyMacroRow(query, row).Run();
}

// The settings of a light mode, brightness to reserved, in the order the
// insert and the update both write them.
Query& BindLightSettings(Query& query, const LightData& row)
{
    return query.Bind(row.brightness, row.speed, row.direction, row.colorful, row.colorindex, row.color_value1,
                      row.color_value2, row.color_value3, row.color_value4, row.color_value5, row.color_value6,
                      row.color_value7, row.color_value8, row.config_func, row.reserved);
}

// Every column of a light row but its id, in the insert's order.
Query& BindLightRow(Query& query, const LightData& row)
{
    return BindLightSettings(query.Int(row.profile).Text(row.name).Int(row.mode), row).Int(row.status);
}

bool InsertLightRow(SQLiteDB& db, const LightData& row)
{
    Query query(db, kInsertLight);
    return BindLightRow(query, row).Insert() > 0;
}

bool InsertUserLightRgbRow(SQLiteDB& db, const UserLightRgbData& row)
{
    Query query(db, kInsertUserLightRgb);
    return BindUserLightRgbRow(query, row).Run();
}

// Overwrites a macro the store holds and replaces its events; a macro id the
// store lacks is left alone, so no event row is ever written without its macro.
bool ImportMacro(SQLiteDB& db, const MacroImportData& data)
{
    if (Query(db, kGetMacro).Int(data.macro.macro_id).FirstInt() == 0)
        return true;
    Query update(db, kUpdateMacro);
    if (!BindMacro(update, data.macro).Int(data.macro.macro_id).Run())
        return false;
    if (!Query(db, kDeleteMacroRecords).Int(data.macro.macro_id).Run())
        return false;
    int index = 0;
    for (MacroRecordData record : data.records) {
        record.macro_id = data.macro.macro_id;
        record.record_index = index++;
        Query insert(db, kInsertMacroRecord);
        if (!BindMacroRecord(insert, record).Run())
            return false;
    }
    return true;
}

}  // namespace

// ---- configuration -------------------------------------------------------------------

bool ConfigDB::SetConfigValue(int profile, const CString& key, const CString& value)
{
    CritSecLock lock(&m_lock);
    if (!Query(m_db, kSetConfigValue).Text(value).Int(profile).Text(key).Run())
        return false;
    if (m_db.Changes() > 0)
        return true;

    // The profile lacks the key: add the row rather than drop the value.
    return Query(m_db, kInsertConfigValue).Int(profile).Text(key).Text(value).Run();
}

bool ConfigDB::GetConfigValue(int profile, const CString& key, CString& value)
{
    value.Empty();
    return LockedQuery(m_lock, m_db, kGetConfigValue).Int(profile).Text(key).FirstText(value);
}

// ---- profiles ----------------------------------------------------------------------------

int ConfigDB::InsertProfile(const ProfileData& profile)
{
    return LockedQuery(m_lock, m_db, kInsertProfile).Int(kProfileType).Text(profile.name).Int(kInactive).Insert();
}


bool ConfigDB::RenameProfile(int profile, const CString& name)
{
    return LockedQuery(m_lock, m_db, kRenameProfile).Text(name).Int(profile).Run();
}

bool ConfigDB::GetProfileName(int profile, CString& name)
{
    name.Empty();
    return LockedQuery(m_lock, m_db, kGetProfileName).Int(profile).FirstText(name);
}

int ConfigDB::GetProfileList(std::vector<ProfileData*>& list)
{
    return ReadRows(m_lock, m_db, kGetProfileList, list, kProfileType);
}

bool ConfigDB::SetActiveProfile(int profile)
{
    CritSecLock lock(&m_lock);
    Query(m_db, kClearActiveProfile).Int(kInactive).Int(kProfileType).Run();
    return Query(m_db, kSetActiveProfile).Int(kActive).Int(profile).Run();
}

int ConfigDB::GetActiveProfile()
{
    return LockedQuery(m_lock, m_db, kGetActiveProfile).Int(kProfileType).Int(kActive).FirstInt();
}

// ---- key assignments -----------------------------------------------------------------

int ConfigDB::CountKeyMacros(int profile)
{
    return LockedQuery(m_lock, m_db, kCountKeyMacros).Int(profile).FirstInt();
}

bool ConfigDB::InsertKeyMacros(std::vector<KeyMacroData> rows)
{
    CritSecLock lock(&m_lock);
    return RunBatch(m_db, kInsertKeyMacro, rows, BindKeyMacroRow);
}

void ConfigDB::UpdateKeyMacro(const KeyMacroData& row)
{
    LockedQuery query(m_lock, m_db, kUpdateKeyMacro);
    BindKeyMacroUpdate(query, row).Run();
}

bool ConfigDB::UpdateKeyMacros(std::vector<KeyMacroData> rows)
{
    CritSecLock lock(&m_lock);
    return RunBatch(m_db, kUpdateKeyMacro, rows, BindKeyMacroUpdate);
}

bool ConfigDB::UpdateKeyMacroDesc(int profile, int fnLayer, int keyCode, const CString& desc)
{
    return LockedQuery(m_lock, m_db, kUpdateKeyMacroDesc).Text(desc).Int(profile).Int(fnLayer).Int(keyCode).Run();
}

bool ConfigDB::GetKeyMacro(int profile, int fnLayer, int keyCode, KeyMacroData& row)
{
    return LockedQuery(m_lock, m_db, kGetKeyMacro).Int(profile).Int(fnLayer).Int(keyCode).ReadOne(row);
}

int ConfigDB::GetLayerKeyMacros(int profile, int fnLayer, std::vector<KeyMacroData*>& list)
{
    return ReadRows(m_lock, m_db, kGetLayerKeyMacros, list, profile, fnLayer);
}

int ConfigDB::GetProfileKeyMacros(int profile, std::vector<KeyMacroData*>& list)
{
    return ReadRows(m_lock, m_db, kGetProfileKeyMacros, list, profile);
}

// ---- light modes --------------------------------------------------------------------------

int ConfigDB::CountLights(int profile)
{
    return LockedQuery(m_lock, m_db, kCountLights).Int(profile).FirstInt();
}

int ConfigDB::InsertLight(const LightData& row)
{
    LockedQuery query(m_lock, m_db, kInsertLight);
    return BindLightRow(query, row).Insert();
}

bool ConfigDB::UpdateLight(int /*profile*/, int mode, const LightData& row)
{
    LockedQuery query(m_lock, m_db, kUpdateLight);
    return BindLightSettings(query, row).Int(row.profile).Int(mode).Run();
}

bool ConfigDB::SetActiveLight(int profile, int mode)
{
    CritSecLock lock(&m_lock);
    Query(m_db, kClearActiveLight).Int(kInactive).Int(profile).Run();
    return Query(m_db, kSetActiveLight).Int(kActive).Int(profile).Int(mode).Run();
}

int ConfigDB::GetActiveLightMode(int profile)
{
    return LockedQuery(m_lock, m_db, kGetActiveLightMode).Int(profile).Int(kActive).FirstInt();
}

bool ConfigDB::GetLight(int profile, int mode, LightData& row)
{
    return LockedQuery(m_lock, m_db, kGetLight).Int(profile).Int(mode).ReadOne(row);
}

int ConfigDB::GetLightList(int profile, std::vector<LightData*>& list)
{
    return ReadRows(m_lock, m_db, kGetLightList, list, profile);
}

// ---- per-key user colours ---------------------------------------------------------------

int ConfigDB::InsertUserLightRgbs(std::vector<UserLightRgbData> rows)
{
    CritSecLock lock(&m_lock);
    const bool written = RunBatch(m_db, kInsertUserLightRgb, rows, BindUserLightRgbRow);
    return written ? static_cast<int>(rows.size()) : 0;
}

bool ConfigDB::DeleteUserLightRgbs(int /*unused*/)
{
    return LockedQuery(m_lock, m_db, kDeleteUserLightRgbs).Int(kUserLightId).Run();
}

int ConfigDB::GetUserLightRgbs(int userlightId, std::vector<UserLightRgbData*>& list)
{
    return ReadRows(m_lock, m_db, kGetUserLightRgbs, list, userlightId);
}

// ---- macros ------------------------------------------------------------------------------------

int ConfigDB::AddMacro(const CString& name)
{
    MacroData row;
    row.name = name;
    row.play_type = kNewMacroPlayType;
    row.play_times = kNewMacroPlayTimes;
    row.delay_type = kNewMacroDelayType;
    row.delay_time = kNewMacroDelayTime;
    return InsertMacro(row);
}

int ConfigDB::InsertMacro(MacroData row)
{
    LockedQuery query(m_lock, m_db, kInsertMacro);
    return BindMacro(query, row).Insert();
}

bool ConfigDB::RenameMacro(int macroId, const CString& name)
{
    return LockedQuery(m_lock, m_db, kRenameMacro).Text(name).Int(macroId).Run();
}

bool ConfigDB::DeleteMacro(int macroId)
{
    CritSecLock lock(&m_lock);
    if (!Query(m_db, kDeleteMacro).Int(macroId).Run())
        return false;
    return Query(m_db, kDeleteMacroRecords).Int(macroId).Run();
}

bool ConfigDB::GetMacro(int macroId, MacroData& row)
{
    return LockedQuery(m_lock, m_db, kGetMacro).Int(macroId).ReadOne(row);
}

bool ConfigDB::UpdateMacro(int macroId, MacroData row)
{
    LockedQuery query(m_lock, m_db, kUpdateMacro);
    return BindMacro(query, row).Int(macroId).Run();
}

int ConfigDB::GetMacroList(std::vector<MacroData*>& list)
{
    return ReadRows(m_lock, m_db, kGetMacroList, list);
}

int ConfigDB::InsertMacroRecord(MacroRecordData row)
{
    LockedQuery query(m_lock, m_db, kInsertMacroRecord);
    return BindMacroRecord(query, row).Insert();
}

bool ConfigDB::InsertMacroRecords(std::vector<MacroRecordData> rows)
{
    CritSecLock lock(&m_lock);
    return RunBatch(m_db, kInsertMacroRecord, rows, BindMacroRecord);
}

int ConfigDB::GetMacroRecords(int macroId, std::vector<MacroRecordData*>& list)
{
    return ReadRows(m_lock, m_db, kGetMacroRecords, list, macroId);
}

bool ConfigDB::DeleteMacroRecords(int macroId)
{
    return LockedQuery(m_lock, m_db, kDeleteMacroRecords).Int(macroId).Run();
}

// ---- music layer -------------------------------------------------------------------------------

int ConfigDB::CountMusicLayers(int profile)
{
    return LockedQuery(m_lock, m_db, kCountMusicLayers).Int(profile).FirstInt();
}

int ConfigDB::InsertMusicLayer(int profile, const CString& name, int foremode)
{
    LockedQuery query(m_lock, m_db, kInsertMusicLayer);
    return BindNewMusicLayer(query, profile, name, foremode).Insert();
}

bool ConfigDB::GetMusicLayer(int profile, MusicLayerData& row)
{
    return LockedQuery(m_lock, m_db, kGetMusicLayer).Int(profile).ReadOne(row);
}

bool ConfigDB::UpdateMusicLayer(int profile, const MusicLayerData& row)
{
    return LockedQuery(m_lock, m_db, kUpdateMusicLayer)
        .Bind(row.deviceindex, row.foremode, row.fore_amplitude, row.backmode, row.backb_right, profile)
        .Run();
}

// ---- whole profiles ------------------------------------------------------------------------------

bool ConfigDB::DeleteProfile(int profile)
{
    CritSecLock lock(&m_lock);
    if (Query(m_db, kCountProfile).Int(profile).Int(kProfileType).FirstInt() == 0)
        return false;
    SQLiteAutoTransaction transaction(&m_db);
    if (!transaction.Began())
        return false;
    for (const char* sql : kDeleteProfileRows) {
        if (!Query(m_db, sql).Int(profile).Run())
            return false;
    }
    if (Query(m_db, kGetActiveProfile).Int(kProfileType).Int(kActive).FirstInt() == 0) {
        const int first = Query(m_db, kFirstProfile).Int(kProfileType).FirstInt();
        if (first > 0 && !Query(m_db, kSetActiveProfile).Int(kActive).Int(first).Run())
            return false;
    }
    return transaction.End();
}

int ConfigDB::CreateProfile(const NewProfileRows& rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    if (!transaction.Began())
        return 0;
    const int id = Query(m_db, kInsertProfile).Int(kProfileType).Text(rows.name).Int(kInactive).Insert();
    if (id <= 0)
        return 0;

    for (KeyMacroData row : rows.keys) {
        row.profile = id;
        if (!InsertKeyMacroRow(m_db, row))
            return 0;
    }
    {
        Query musicLayer(m_db, kInsertMusicLayer);
        if (!BindNewMusicLayer(musicLayer, id, rows.musicLayerName, rows.musicForeMode).Run())
            return 0;
    }
    for (LightData row : rows.lights) {
        row.profile = id;
        row.status = row.mode == rows.activeLightMode ? kActive : kInactive;
        if (!InsertLightRow(m_db, row))
            return 0;
    }
    for (size_t i = 0; i < kDefaultConfigRowCount; ++i) {
        if (!Query(m_db, kInsertConfigValue)
                 .Bind(id, Utf8ToCString(kDefaultConfigRows[i].key), Utf8ToCString(kDefaultConfigRows[i].value))
                 .Run())
            return 0;
    }
    for (UserLightRgbData row : rows.keyColours) {
        row.profile = id;
        row.userlight_id = kUserLightId;
        if (!InsertUserLightRgbRow(m_db, row))
            return 0;
    }
    for (const MacroImportData& macro : rows.macros) {
        if (!ImportMacro(m_db, macro))
            return 0;
    }
    if (rows.makeActive) {
        if (!Query(m_db, kClearActiveProfile).Int(kInactive).Int(kProfileType).Run() ||
            !Query(m_db, kSetActiveProfile).Int(kActive).Int(id).Run())
            return 0;
    }
    return transaction.End() ? id : 0;
}

int ConfigDB::GetProfileUserLightRgbs(int profile, std::vector<UserLightRgbData*>& list)
{
    return ReadRows(m_lock, m_db, kGetProfileUserLightRgbs, list, profile);
}

bool ConfigDB::SetProfileUserLightRgbs(int profile, std::vector<UserLightRgbData> rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    if (!transaction.Began() || !Query(m_db, kDeleteProfileUserLightRgbs).Int(profile).Run())
        return false;
    for (UserLightRgbData row : rows) {
        row.profile = profile;
        row.userlight_id = kUserLightId;
        if (!InsertUserLightRgbRow(m_db, row))
            return false;
    }
    return transaction.End();
}
