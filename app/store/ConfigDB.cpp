#include "app/store/ConfigDB.h"

#include <sqlite3.h>
#include <shlwapi.h>

#include <cwchar>

#include "app/store/ConfigSchema.h"
#include "app/store/Utf8Convert.h"

namespace {

constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
constexpr int kOpenOrCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

constexpr char kInsertConfigRow[] = "INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);";
// The two tables every settings file has had since the first version.
constexpr char kCountSettingsTables[] =
    "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('t_config_data', 't_profile_data')";
constexpr int kSettingsTables = 2;

bool InsertConfigRow(SQLiteDB& db, int profile, const DefaultConfigRow& row)
{
    SQLiteStatement statement;
    db.Prepare(statement, kInsertConfigRow);
    statement.BindInt(1, profile);
    statement.BindText(2, row.key, -1);
    statement.BindText(3, row.value, -1);
    return statement.Step() == SQLITE_DONE;
}

// Reading the table list is the first read of the file: a file that is not
// an SQLite database at all fails it. None when the file holds the settings
// tables; CannotOpen when it could not be read now (held by another writer).
StoreFault CheckSettingsTables(SQLiteDB& db)
{
    SQLiteStatement statement;
    int result = db.Prepare(statement, kCountSettingsTables);
    if (result == SQLITE_OK)
        result = statement.Step();
    if (result == SQLITE_ROW)
        return statement.GetInt(0) == kSettingsTables ? StoreFault::None : StoreFault::Damaged;
    const int primary = result & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? StoreFault::Damaged : StoreFault::CannotOpen;
}

bool IsWriteProtected(const CString& path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

CString DatabaseFilePath(const CString& folder, const CString& keyboard)
{
    CString path = folder;
    path.AppendFormat(L"db\\%ls_data.db", keyboard.GetString());
    return path;
}

}  // namespace

bool IsUsableFileName(const wchar_t* name)
{
    if (name == nullptr || *name == L'\0' || wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0)
        return false;
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (*c < 0x20 || wcschr(L"\\/:*?\"<>|", *c) != nullptr)
            return false;
    }
    return true;
}

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
    m_fault = StoreFault::None;
    if (!IsUsableFileName(keyboard)) {
        // No keyboard at all has nothing to keep; a name that could leave the
        // folder, or is no file name, must not name a file.
        if (!keyboard.IsEmpty())
            m_fault = StoreFault::NoFileName;
        m_dbPath.clear();
        m_bOpen = false;
        m_db.Close();
        return false;
    }
    const CString path = DatabaseFilePath(folder, keyboard);
    m_dbPath = CStringToUtf8(path);

    bool result = false;
    if (!ReleaseConnectionUnlessOn(m_dbPath))
        result = false;  // a handle SQLite would not close is never reused for this file
    else if (PathFileExistsW(path))
        result = m_db.IsOpen() || OpenExisting(path);
    else
        result = CreateDB();
    if (!result && m_fault == StoreFault::None)
        m_fault = StoreFault::CannotOpen;
    m_bOpen = result;
    return result;
}

bool ConfigDB::OpenExisting(const CString& path)
{
    // SQLite would open a write-protected file for reading without a word
    // and then refuse every save; the file is the user's to unprotect.
    if (IsWriteProtected(path)) {
        m_fault = StoreFault::ReadOnly;
        return false;
    }
    if (!m_db.Open(m_dbPath.c_str(), m_key, kOpenExisting)) {
        m_fault = StoreFault::CannotOpen;
        return false;
    }
    // A damaged file is never repaired or written over: what is in it may be
    // all the user has of their settings.
    m_fault = CheckSettingsTables(m_db);
    if (m_fault == StoreFault::None && m_db.IsReadOnly())
        m_fault = StoreFault::ReadOnly;
    if (m_fault == StoreFault::None)
        return true;
    m_db.Close();
    return false;
}

bool ConfigDB::CreateDB()
{
    CritSecLock lock(&m_lock);
    if (m_dbPath.empty() || !ReleaseConnectionUnlessOn(m_dbPath))
        return false;
    if (m_db.IsOpen())
        return true;
    if (!m_db.Open(m_dbPath.c_str(), m_key, kOpenOrCreate)) {
        m_fault = StoreFault::CannotOpen;
        return false;
    }
    m_fault = StoreFault::None;

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
    if (!IsUsableFileName(keyboard))
        return false;
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
    // A file the store would not write to is not deleted either: it stays
    // for the user, who was told why it is not used.
    if (m_dbPath.empty() || m_fault != StoreFault::None)
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
        m_bOpen = OpenExisting(path);
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
