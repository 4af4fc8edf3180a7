// The table operations of the settings store: one SQL statement per
// operation (two for the "set active" pairs and DeleteMacro), each run whole
// under the store's lock. Statements are prepared per call and never cached.

#include <deque>
#include <memory>
#include <string>

#include <sqlite3.h>

#include "app/store/ConfigDB.h"
#include "app/store/Utf8Convert.h"

namespace {

bool StepSucceeded(int result)
{
    return result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE;
}

// Binds placeholders in order. Text is bound without a copy, so the binder
// keeps the UTF-8 forms alive; it must outlive the statement's step.
class Binder {
public:
    explicit Binder(SQLiteStatement& statement) : m_statement(statement) {}

    Binder& Int(int value)
    {
        m_statement.BindInt(++m_index, value);
        return *this;
    }
    Binder& Text(const CString& text)
    {
        m_texts.push_back(CStringToUtf8(text));  // deque: earlier elements stay put
        const std::string& utf8 = m_texts.back();
        m_statement.BindText(++m_index, utf8.c_str(), static_cast<int>(utf8.size()));
        return *this;
    }

private:
    SQLiteStatement& m_statement;
    int m_index = 0;
    std::deque<std::string> m_texts;
};

// Reads the columns of the current row in order.
class Columns {
public:
    explicit Columns(const SQLiteStatement& statement) : m_statement(statement) {}

    int Int() { return m_statement.GetInt(m_column++); }
    CString Text() { return Utf8ToCString(m_statement.GetText(m_column++)); }

private:
    const SQLiteStatement& m_statement;
    int m_column = 0;
};

void Fill(const SQLiteStatement& statement, ProfileData& row)
{
    Columns c(statement);
    row.profile = c.Int();
    row.type = c.Int();
    row.name = c.Text();
    row.status = c.Int();
}

void Fill(const SQLiteStatement& statement, KeyMacroData& row)
{
    Columns c(statement);
    row.key_id = c.Int();
    row.profile = c.Int();
    row.fn_layer = c.Int();
    row.key_code = c.Int();
    row.macro_type = c.Int();
    row.macro_value = c.Int();
    row.macro_value2 = c.Int();
    row.macro_value3 = c.Int();
    row.macro_desc = c.Text();
}

void Fill(const SQLiteStatement& statement, LightData& row)
{
    Columns c(statement);
    row.light_id = c.Int();
    row.profile = c.Int();
    row.name = c.Text();
    row.mode = c.Int();
    row.brightness = c.Int();
    row.speed = c.Int();
    row.direction = c.Int();
    row.colorful = c.Int();
    row.colorindex = c.Int();
    row.color_value1 = c.Int();
    row.color_value2 = c.Int();
    row.color_value3 = c.Int();
    row.color_value4 = c.Int();
    row.color_value5 = c.Int();
    row.color_value6 = c.Int();
    row.color_value7 = c.Int();
    row.color_value8 = c.Int();
    row.config_func = c.Int();
    row.reserved = c.Int();
    row.status = c.Int();
}

void Fill(const SQLiteStatement& statement, UserLightRgbData& row)
{
    Columns c(statement);
    row.userlightrgb_id = c.Int();
    row.profile = c.Int();
    row.userlight_id = c.Int();
    row.key_code = c.Int();
    row.key_rgb = c.Int();
}

void Fill(const SQLiteStatement& statement, MacroData& row)
{
    Columns c(statement);
    row.macro_id = c.Int();
    row.name = c.Text();
    row.play_type = c.Int();
    row.play_times = c.Int();
    row.delay_type = c.Int();
    row.delay_time = c.Int();
}

void Fill(const SQLiteStatement& statement, MacroRecordData& row)
{
    // The table keeps desc before value and delay_time; the record keeps it last.
    Columns c(statement);
    row.record_id = c.Int();
    row.macro_id = c.Int();
    row.type = c.Int();
    row.record_index = c.Int();
    row.desc = c.Text();
    row.value = c.Int();
    row.delay_time = c.Int();
}

void Fill(const SQLiteStatement& statement, MusicLayerData& row)
{
    Columns c(statement);  // the last column, sel, is not kept
    row.layer_id = c.Int();
    row.profile = c.Int();
    row.name = c.Text();
    row.deviceindex = c.Int();
    row.foremode = c.Int();
    row.fore_amplitude = c.Int();
    row.backmode = c.Int();
    row.backb_right = c.Int();
}

// The caller's earlier records are freed before the new ones are appended.
template <class Row>
void ClearList(std::vector<Row*>& list)
{
    for (Row* row : list)
        delete row;
    list.clear();
}

template <class Row>
int ReadList(SQLiteStatement& statement, std::vector<Row*>& list)
{
    int count = 0;
    while (statement.Step() == SQLITE_ROW) {
        auto row = std::make_unique<Row>();
        Fill(statement, *row);
        list.push_back(row.release());
        ++count;
    }
    return count;
}

template <class Row>
bool ReadOne(SQLiteStatement& statement, Row& row)
{
    if (statement.Step() != SQLITE_ROW)
        return false;
    Fill(statement, row);
    return true;
}

int ReadFirstInt(SQLiteStatement& statement)
{
    return statement.Step() == SQLITE_ROW ? statement.GetInt(0) : 0;
}

// ---- statements --------------------------------------------------------------------

constexpr char kSetConfigValue[] = "UPDATE t_config_data SET value = ? WHERE profile = ? and key = ?";
constexpr char kInsertConfigValue[] = "INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);";
constexpr char kGetConfigValue[] = "SELECT value FROM t_config_data WHERE profile = ? and key = ?";

constexpr char kInsertProfile[] = "INSERT INTO t_profile_data(type, name, status) VALUES (?, ?, ?);";
constexpr char kDeleteProfile[] = "DELETE FROM t_profile_data WHERE profile = ?";
constexpr char kRenameProfile[] = "UPDATE t_profile_data SET name = ? WHERE profile = ?";
constexpr char kGetProfileName[] = "SELECT name FROM t_profile_data WHERE profile = ?";
constexpr char kGetProfileList[] = "SELECT * FROM t_profile_data WHERE type = ?";
constexpr char kClearActiveProfile[] = "UPDATE t_profile_data SET status = ? WHERE type = ?";
constexpr char kSetActiveProfile[] = "UPDATE t_profile_data SET status = ? WHERE profile = ?";
constexpr char kGetActiveProfile[] = "SELECT profile FROM t_profile_data WHERE type = ? AND status = ?";

constexpr char kCountKeyMacros[] = "select count(*) FROM t_key_macro_data WHERE profile = ?";
constexpr char kInsertKeyMacro[] =
    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, macro_value, macro_value2, "
    "macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kUpdateKeyMacro[] =
    "UPDATE t_key_macro_data SET macro_type = ?, macro_value = ?, macro_value2 = ?, macro_value3 = ?, "
    "macro_desc = ? WHERE profile = ? AND fn_layer = ? AND key_code = ?;";
constexpr char kUpdateKeyMacroDesc[] =
    "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?";
constexpr char kGetKeyMacro[] =
    "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?";
constexpr char kGetLayerKeyMacros[] = "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?";
constexpr char kGetProfileKeyMacros[] = "SELECT * FROM t_key_macro_data WHERE profile = ?";

constexpr char kCountLights[] = "select count(*) FROM t_light_data WHERE profile = ?";
constexpr char kInsertLight[] =
    "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, colorindex, "
    "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, "
    "color_value8, config_func, reserved, status) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kUpdateLight[] =
    "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
    "color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, "
    "color_value6 = ?, color_value7 = ?, color_value8 = ?, config_func = ?, reserved = ? "
    "WHERE profile = ? AND mode = ?";
constexpr char kClearActiveLight[] = "UPDATE t_light_data SET status = ? WHERE profile = ?";
constexpr char kSetActiveLight[] = "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?";
constexpr char kGetActiveLightMode[] = "SELECT mode FROM t_light_data WHERE profile = ? and status = ?";
constexpr char kGetLight[] = "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?";
constexpr char kGetLightList[] = "SELECT * FROM t_light_data WHERE profile = ?";

constexpr char kInsertUserLightRgb[] =
    "INSERT INTO t_userlightrgb_data(profile, userlight_id, key_code, key_rgb) VALUES (?, ?, ?, ?);";
constexpr char kDeleteUserLightRgbs[] = "DELETE FROM t_userlightrgb_data WHERE userlight_id = ?";
constexpr char kGetUserLightRgbs[] = "SELECT * FROM t_userlightrgb_data WHERE userlight_id = ?";

constexpr char kInsertMacro[] =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, ?, ?);";
constexpr char kRenameMacro[] = "UPDATE t_macro_data SET name = ? WHERE macro_id = ?";
constexpr char kDeleteMacro[] = "DELETE FROM t_macro_data WHERE macro_id = ?";
constexpr char kDeleteMacroRecords[] = "DELETE FROM t_macrorecord WHERE macro_id = ?";
constexpr char kGetMacro[] = "SELECT * FROM t_macro_data WHERE macro_id = ?";
constexpr char kUpdateMacro[] =
    "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? "
    "WHERE macro_id = ?";
constexpr char kGetMacroList[] = "SELECT * FROM t_macro_data";
constexpr char kInsertMacroRecord[] =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";
constexpr char kGetMacroRecords[] = "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";

constexpr char kCountMusicLayers[] = "select count(*) FROM t_musiclayer_data WHERE profile = ?";
constexpr char kInsertMusicLayer[] =
    "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, fore_amplitude, backmode, "
    "backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);";
constexpr char kGetMusicLayer[] = "SELECT * FROM t_musiclayer_data WHERE profile = ?";
constexpr char kUpdateMusicLayer[] =
    "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, backmode= ?, "
    "backb_right= ? WHERE profile = ?";

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

void BindKeyMacroUpdate(Binder& bind, const KeyMacroData& row)
{
    bind.Int(row.macro_type)
        .Int(row.macro_value)
        .Int(row.macro_value2)
        .Int(row.macro_value3)
        .Text(row.macro_desc)
        .Int(row.profile)
        .Int(row.fn_layer)
        .Int(row.key_code);
}

void BindMacro(Binder& bind, const MacroData& row)
{
    bind.Text(row.name).Int(row.play_type).Int(row.play_times).Int(row.delay_type).Int(row.delay_time);
}

void BindMacroRecord(Binder& bind, const MacroRecordData& row)
{
    bind.Int(row.macro_id).Int(row.type).Int(row.record_index).Text(row.desc).Int(row.value).Int(row.delay_time);
}

}  // namespace

// ---- configuration -------------------------------------------------------------------

bool ConfigDB::SetConfigValue(int profile, const CString& key, const CString& value)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kSetConfigValue);
    Binder bind(statement);
    bind.Text(value).Int(profile).Text(key);
    const int result = statement.Step();
    if (!StepSucceeded(result))
        return false;
    if (m_db.Changes() > 0)
        return true;

    // The profile lacks the key: add the row rather than drop the value.
    m_db.Prepare(statement, kInsertConfigValue);
    Binder insert(statement);
    insert.Int(profile).Text(key).Text(value);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::GetConfigValue(int profile, const CString& key, CString& value)
{
    CritSecLock lock(&m_lock);
    value.Empty();
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetConfigValue);
    Binder bind(statement);
    bind.Int(profile).Text(key);
    if (statement.Step() != SQLITE_ROW)
        return false;
    value = Utf8ToCString(statement.GetText(0));
    return true;
}

// ---- profiles ----------------------------------------------------------------------------

int ConfigDB::InsertProfile(const ProfileData& profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kInsertProfile);
    Binder bind(statement);
    bind.Int(kProfileType).Text(profile.name).Int(kInactive);
    return StepSucceeded(statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0;
}

bool ConfigDB::DeleteProfile(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kDeleteProfile);
    Binder(statement).Int(profile);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::RenameProfile(int profile, const CString& name)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kRenameProfile);
    Binder bind(statement);
    bind.Text(name).Int(profile);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::GetProfileName(int profile, CString& name)
{
    CritSecLock lock(&m_lock);
    name.Empty();
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetProfileName);
    Binder(statement).Int(profile);
    if (statement.Step() != SQLITE_ROW)
        return false;
    name = Utf8ToCString(statement.GetText(0));
    return true;
}

int ConfigDB::GetProfileList(std::vector<ProfileData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetProfileList);
    Binder(statement).Int(kProfileType);
    return ReadList(statement, list);
}

bool ConfigDB::SetActiveProfile(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kClearActiveProfile);
    Binder(statement).Int(kInactive).Int(kProfileType);
    statement.Step();
    m_db.Prepare(statement, kSetActiveProfile);
    Binder(statement).Int(kActive).Int(profile);
    return StepSucceeded(statement.Step());
}

int ConfigDB::GetActiveProfile()
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetActiveProfile);
    Binder(statement).Int(kProfileType).Int(kActive);
    return ReadFirstInt(statement);
}

// ---- key assignments -----------------------------------------------------------------

int ConfigDB::CountKeyMacros(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kCountKeyMacros);
    Binder(statement).Int(profile);
    return ReadFirstInt(statement);
}

void ConfigDB::InsertKeyMacros(std::vector<KeyMacroData> rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    transaction.Begin();
    SQLiteStatement statement;
    for (const KeyMacroData& row : rows) {
        m_db.Prepare(statement, kInsertKeyMacro);
        Binder bind(statement);
        bind.Int(row.profile)
            .Int(row.fn_layer)
            .Int(row.key_code)
            .Int(row.macro_type)
            .Int(row.macro_value)
            .Int(row.macro_value2)
            .Int(row.macro_value3)
            .Text(row.macro_desc);
        statement.Step();
    }
    transaction.End();
}

void ConfigDB::UpdateKeyMacro(const KeyMacroData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kUpdateKeyMacro);
    Binder bind(statement);
    BindKeyMacroUpdate(bind, row);
    statement.Step();
}

void ConfigDB::UpdateKeyMacros(std::vector<KeyMacroData> rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    transaction.Begin();
    SQLiteStatement statement;
    for (const KeyMacroData& row : rows) {
        m_db.Prepare(statement, kUpdateKeyMacro);
        Binder bind(statement);
        BindKeyMacroUpdate(bind, row);
        statement.Step();
    }
    transaction.End();
}

bool ConfigDB::UpdateKeyMacroDesc(int profile, int fnLayer, int keyCode, const CString& desc)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kUpdateKeyMacroDesc);
    Binder bind(statement);
    bind.Text(desc).Int(profile).Int(fnLayer).Int(keyCode);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::GetKeyMacro(int profile, int fnLayer, int keyCode, KeyMacroData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetKeyMacro);
    Binder(statement).Int(profile).Int(fnLayer).Int(keyCode);
    return ReadOne(statement, row);
}

int ConfigDB::GetLayerKeyMacros(int profile, int fnLayer, std::vector<KeyMacroData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetLayerKeyMacros);
    Binder(statement).Int(profile).Int(fnLayer);
    return ReadList(statement, list);
}

int ConfigDB::GetProfileKeyMacros(int profile, std::vector<KeyMacroData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetProfileKeyMacros);
    Binder(statement).Int(profile);
    return ReadList(statement, list);
}

// ---- light modes --------------------------------------------------------------------------

int ConfigDB::CountLights(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kCountLights);
    Binder(statement).Int(profile);
    return ReadFirstInt(statement);
}

int ConfigDB::InsertLight(const LightData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kInsertLight);
    Binder bind(statement);
    bind.Int(row.profile)
        .Text(row.name)
        .Int(row.mode)
        .Int(row.brightness)
        .Int(row.speed)
        .Int(row.direction)
        .Int(row.colorful)
        .Int(row.colorindex)
        .Int(row.color_value1)
        .Int(row.color_value2)
        .Int(row.color_value3)
        .Int(row.color_value4)
        .Int(row.color_value5)
        .Int(row.color_value6)
        .Int(row.color_value7)
        .Int(row.color_value8)
        .Int(row.config_func)
        .Int(row.reserved)
        .Int(row.status);
    return StepSucceeded(statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0;
}

bool ConfigDB::UpdateLight(int /*profile*/, int mode, const LightData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kUpdateLight);
    Binder bind(statement);
    bind.Int(row.brightness)
        .Int(row.speed)
        .Int(row.direction)
        .Int(row.colorful)
        .Int(row.colorindex)
        .Int(row.color_value1)
        .Int(row.color_value2)
        .Int(row.color_value3)
        .Int(row.color_value4)
        .Int(row.color_value5)
        .Int(row.color_value6)
        .Int(row.color_value7)
        .Int(row.color_value8)
        .Int(row.config_func)
        .Int(row.reserved)
        .Int(row.profile)
        .Int(mode);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::SetActiveLight(int profile, int mode)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kClearActiveLight);
    Binder(statement).Int(kInactive).Int(profile);
    statement.Step();
    m_db.Prepare(statement, kSetActiveLight);
    Binder(statement).Int(kActive).Int(profile).Int(mode);
    return StepSucceeded(statement.Step());
}

int ConfigDB::GetActiveLightMode(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetActiveLightMode);
    Binder(statement).Int(profile).Int(kActive);
    return ReadFirstInt(statement);
}

bool ConfigDB::GetLight(int profile, int mode, LightData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetLight);
    Binder(statement).Int(profile).Int(mode);
    return ReadOne(statement, row);
}

int ConfigDB::GetLightList(int profile, std::vector<LightData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetLightList);
    Binder(statement).Int(profile);
    return ReadList(statement, list);
}

// ---- per-key user colours ---------------------------------------------------------------

int ConfigDB::InsertUserLightRgbs(std::vector<UserLightRgbData> rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    transaction.Begin();
    SQLiteStatement statement;
    int written = 0;
    for (const UserLightRgbData& row : rows) {
        m_db.Prepare(statement, kInsertUserLightRgb);
        Binder(statement).Int(row.profile).Int(row.userlight_id).Int(row.key_code).Int(row.key_rgb);
        if (StepSucceeded(statement.Step()))
            ++written;
    }
    // Rows that were never committed were not written.
    return transaction.End() ? written : 0;
}

bool ConfigDB::DeleteUserLightRgbs(int /*unused*/)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kDeleteUserLightRgbs);
    Binder(statement).Int(kUserLightId);
    return StepSucceeded(statement.Step());
}

int ConfigDB::GetUserLightRgbs(int userlightId, std::vector<UserLightRgbData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetUserLightRgbs);
    Binder(statement).Int(userlightId);
    return ReadList(statement, list);
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
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kInsertMacro);
    Binder bind(statement);
    BindMacro(bind, row);
    return StepSucceeded(statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0;
}

bool ConfigDB::RenameMacro(int macroId, const CString& name)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kRenameMacro);
    Binder bind(statement);
    bind.Text(name).Int(macroId);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::DeleteMacro(int macroId)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kDeleteMacro);
    Binder(statement).Int(macroId);
    if (!StepSucceeded(statement.Step()))
        return false;
    m_db.Prepare(statement, kDeleteMacroRecords);
    Binder(statement).Int(macroId);
    return StepSucceeded(statement.Step());
}

bool ConfigDB::GetMacro(int macroId, MacroData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetMacro);
    Binder(statement).Int(macroId);
    return ReadOne(statement, row);
}

bool ConfigDB::UpdateMacro(int macroId, MacroData row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kUpdateMacro);
    Binder bind(statement);
    BindMacro(bind, row);
    bind.Int(macroId);
    return StepSucceeded(statement.Step());
}

int ConfigDB::GetMacroList(std::vector<MacroData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetMacroList);
    return ReadList(statement, list);
}

int ConfigDB::InsertMacroRecord(MacroRecordData row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kInsertMacroRecord);
    Binder bind(statement);
    BindMacroRecord(bind, row);
    return StepSucceeded(statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0;
}

void ConfigDB::InsertMacroRecords(std::vector<MacroRecordData> rows)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    transaction.Begin();
    SQLiteStatement statement;
    for (const MacroRecordData& row : rows) {
        m_db.Prepare(statement, kInsertMacroRecord);
        Binder bind(statement);
        BindMacroRecord(bind, row);
        statement.Step();
    }
    transaction.End();
}

int ConfigDB::GetMacroRecords(int macroId, std::vector<MacroRecordData*>& list)
{
    CritSecLock lock(&m_lock);
    ClearList(list);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetMacroRecords);
    Binder(statement).Int(macroId);
    return ReadList(statement, list);
}

bool ConfigDB::DeleteMacroRecords(int macroId)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kDeleteMacroRecords);
    Binder(statement).Int(macroId);
    return StepSucceeded(statement.Step());
}

// ---- music layer -------------------------------------------------------------------------------

int ConfigDB::CountMusicLayers(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kCountMusicLayers);
    Binder(statement).Int(profile);
    return ReadFirstInt(statement);
}

int ConfigDB::InsertMusicLayer(int profile, const CString& name, int foremode)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kInsertMusicLayer);
    Binder bind(statement);
    bind.Int(profile)
        .Text(name)
        .Int(kNewMusicDeviceIndex)
        .Int(foremode)
        .Int(kNewMusicForeAmplitude)
        .Int(kNewMusicBackMode)
        .Int(kNewMusicBackBright)
        .Int(kNewMusicSel);
    return StepSucceeded(statement.Step()) ? static_cast<int>(m_db.LastInsertRowId()) : 0;
}

bool ConfigDB::GetMusicLayer(int profile, MusicLayerData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kGetMusicLayer);
    Binder(statement).Int(profile);
    return ReadOne(statement, row);
}

bool ConfigDB::UpdateMusicLayer(int profile, const MusicLayerData& row)
{
    CritSecLock lock(&m_lock);
    SQLiteStatement statement;
    m_db.Prepare(statement, kUpdateMusicLayer);
    Binder bind(statement);
    bind.Int(row.deviceindex).Int(row.foremode).Int(row.fore_amplitude).Int(row.backmode).Int(row.backb_right)
        .Int(profile);
    return StepSucceeded(statement.Step());
}
