#include "app/store/ConfigDB.h"

#include <sqlite3.h>
#include <shlwapi.h>

#include "app/store/ConfigSchema.h"
#include "app/store/Utf8Convert.h"

namespace {

constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
constexpr int kOpenOrCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

constexpr char kInsertConfigRow[] = "INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);";

bool InsertConfigRow(SQLiteDB& db, int profile, const DefaultConfigRow& row)
{
    SQLiteStatement statement;
    db.Prepare(statement, kInsertConfigRow);
    statement.BindInt(1, profile);
    statement.BindText(2, row.key, -1);
    statement.BindText(3, row.value, -1);
    return statement.Step() == SQLITE_DONE;
}

CString DatabaseFilePath(const CString& folder, const CString& keyboard)
{
    CString path = folder;
    path.AppendFormat(L"db\\%ls_data.db", keyboard.GetString());
    return path;
}

}  // namespace

ConfigDB::ConfigDB() = default;

ConfigDB::~ConfigDB()
{
    CloseDB();
}

ConfigDB& GetConfigDB()
{
    static ConfigDB store;
    return store;
}

bool ConfigDB::ReleaseConnectionUnlessOn(const std::string& path)
{
    if (!m_db.IsOpen() || m_db.GetPath() == path)
        return true;
    // A connection on another keyboard's file must never serve this one.
    m_bOpen = false;
    return m_db.Close();
}

bool ConfigDB::OpenDB(const CString& folder, const CString& keyboard)
{
    CritSecLock lock(&m_lock);
    const CString path = DatabaseFilePath(folder, keyboard);
    m_dbPath = CStringToUtf8(path);

    bool result = false;
    if (!ReleaseConnectionUnlessOn(m_dbPath))
        result = false;  // a handle SQLite would not close is never reused for this file
    else if (PathFileExistsW(path))
        result = m_db.IsOpen() || m_db.Open(m_dbPath.c_str(), m_key, kOpenExisting);
    else
        result = CreateDB();
    m_bOpen = result;
    return result;
}

bool ConfigDB::CreateDB()
{
    CritSecLock lock(&m_lock);
    if (m_dbPath.empty() || !ReleaseConnectionUnlessOn(m_dbPath))
        return false;
    if (m_db.IsOpen())
        return true;
    if (!m_db.Open(m_dbPath.c_str(), m_key, kOpenOrCreate))
        return false;

    // A failing statement does not stop the others: the defaults still go in
    // as far as the tables allow.
    int schemaResult = SQLITE_OK;
    for (size_t i = 0; i < kSchemaStatementCount; ++i)
        schemaResult |= m_db.Exec(kSchemaStatements[i]);
    InsertDefaultConfig(0);
    return schemaResult == SQLITE_OK;
}

bool ConfigDB::CloseDB()
{
    CritSecLock lock(&m_lock);
    m_bOpen = false;
    return m_db.Close();
}

bool ConfigDB::DeleteDBFile(const CString& folder, const CString& keyboard)
{
    CritSecLock lock(&m_lock);
    const CString path = DatabaseFilePath(folder, keyboard);
    // Windows will not delete a file SQLite holds open, so the store's own
    // connection to it goes first.
    if (m_db.IsOpen() && m_db.GetPath() == CStringToUtf8(path)) {
        m_bOpen = false;
        m_db.Close();
    }
    DeleteFileW(path);
    // A journal left by a crash would be replayed into the next file of that name.
    DeleteFileW(path + L"-journal");
    return !PathFileExistsW(path);
}

bool ConfigDB::RecreateDB()
{
    CritSecLock lock(&m_lock);
    if (m_dbPath.empty())
        return false;
    const CString path = Utf8ToCString(m_dbPath.c_str());
    if (m_db.IsOpen()) {
        m_bOpen = false;
        if (!m_db.Close())
            return false;
    }
    DeleteFileW(path);
    DeleteFileW(path + L"-journal");
    if (PathFileExistsW(path)) {
        // Another process holds the file: keep using it rather than lose it.
        m_bOpen = m_db.Open(m_dbPath.c_str(), m_key, kOpenExisting);
        return false;
    }
    m_bOpen = CreateDB();
    return m_bOpen;
}

bool ConfigDB::InsertDefaultConfig(int profile)
{
    CritSecLock lock(&m_lock);
    SQLiteAutoTransaction transaction(&m_db);
    transaction.Begin();
    if (!transaction.Began())
        return false;
    // A profile with some of its settings missing would fall back on values
    // never meant for it: all of them go in, or none.
    for (size_t i = 0; i < kDefaultConfigRowCount; ++i) {
        if (!InsertConfigRow(m_db, profile, kDefaultConfigRows[i])) {
            transaction.Rollback();
            return false;
        }
    }
    return transaction.End();
}
