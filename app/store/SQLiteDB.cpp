#include "app/store/SQLiteDB.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstring>

namespace {

constexpr char kSynchronousOff[] = "PRAGMA synchronous = OFF; ";
// Immediate: the batch takes the write lock when it starts, so it cannot
// deadlock later with another writer that began reading first.
constexpr char kBegin[] = "BEGIN IMMEDIATE";
constexpr char kEnd[] = "END";
constexpr char kRollback[] = "ROLLBACK";
constexpr DWORD kCommitRetryMs = 10;
// SQLite's own waiting sleeps longer and longer between tries, up to 100 ms
// each: another program that takes the file again within those sleeps keeps
// a save out for the whole wait, though it never holds the file for long.
// Trying again every millisecond finds the pauses between its writes.
constexpr DWORD kBusyRetryMs = 1;

}  // namespace

// ---- SQLiteDB --------------------------------------------------------------

SQLiteDB::~SQLiteDB()
{
    InterruptAndClose();
}

void SQLiteDB::InterruptAndClose()
{
    if (!m_db)
        return;
    sqlite3_interrupt(m_db);
    Close();
}

bool SQLiteDB::Open(const char* path, const std::string& key, int flags)
{
    InterruptAndClose();
    // A handle that would not close is kept rather than leaked by opening a
    // second one over it.
    if (m_db)
        return false;
    if (!path)
        return false;

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path, &db, flags, nullptr);
    m_db = db;  // sqlite3_open_v2 may hand out a handle even when it fails
    if (rc != SQLITE_OK) {
        InterruptAndClose();
        return false;
    }
    m_path = path;
    // Another program reading or writing the file (a second instance, a
    // database browser, a backup) then delays a save instead of failing it.
    m_busyTimeoutMs = kBusyTimeoutMs;
    sqlite3_busy_handler(m_db, &SQLiteDB::RetryWhileBusy, this);
    sqlite3_exec(m_db, kSynchronousOff, nullptr, nullptr, nullptr);

    // This build carries no encryption extension; an encrypted file could not
    // be read without it, so a key is refused rather than ignored.
    if (!key.empty()) {
        InterruptAndClose();
        return false;
    }
    return true;
}

bool SQLiteDB::Close()
{
    if (!m_db)
        return true;
    if (sqlite3_close(m_db) != SQLITE_OK)
        return false;
    m_db = nullptr;
    m_path.clear();
    return true;
}

bool SQLiteDB::IsReadOnly() const
{
    return m_db != nullptr && sqlite3_db_readonly(m_db, "main") == 1;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length)
{
    statement.Finalize();
    if (!m_db || !sql)
        return SQLITE_MISUSE;
    if (length < 0)
        length = static_cast<int>(std::strlen(sql)) + 1;
    return sqlite3_prepare_v2(m_db, sql, length, &statement.m_stmt, nullptr);
}

int SQLiteDB::Exec(const char* sql, RowCallback callback, void* arg)
{
    if (!m_db || !sql)
        return SQLITE_MISUSE;
    return sqlite3_exec(m_db, sql, callback, arg, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : -1;
}

int SQLiteDB::Changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

bool SQLiteDB::InTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

int SQLiteDB::RetryWhileBusy(void* self, int attempt)
{
    SQLiteDB& db = *static_cast<SQLiteDB*>(self);
    // The attempts count from 0 once per statement step, however many locks
    // the step waits for: the time allowed is the step's, by the clock.
    const ULONGLONG now = GetTickCount64();
    if (attempt == 0)
        db.m_busySince = now;
    if (now - db.m_busySince >= static_cast<ULONGLONG>(db.m_busyTimeoutMs))
        return 0;
    Sleep(kBusyRetryMs);
    return 1;
}

// ---- SQLiteStatement ---------------------------------------------------------

SQLiteStatement::~SQLiteStatement()
{
    Finalize();
}

void SQLiteStatement::Finalize()
{
    // sqlite3_finalize always destroys the statement; its result only repeats
    // the last step's error, so the handle is dropped whatever it says.
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

int SQLiteStatement::BindInt(int index, int value)
{
    return m_stmt ? sqlite3_bind_int(m_stmt, index, value) : SQLITE_MISUSE;
}

int SQLiteStatement::BindText(int index, const char* utf8, int byteLength)
{
    return m_stmt ? sqlite3_bind_text(m_stmt, index, utf8, byteLength, SQLITE_STATIC) : SQLITE_MISUSE;
}

int SQLiteStatement::Step()
{
    return m_stmt ? sqlite3_step(m_stmt) : SQLITE_MISUSE;
}

int SQLiteStatement::GetInt(int column) const
{
    return m_stmt ? sqlite3_column_int(m_stmt, column) : 0;
}

const char* SQLiteStatement::GetText(int column) const
{
    return m_stmt ? reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)) : nullptr;
}

// ---- SQLiteAutoTransaction ------------------------------------------------------

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : m_db(db)
{
    if (!m_db)
        return;
    if (m_db->IsOpen())
        m_began = m_db->Exec(kBegin) == SQLITE_OK;
    m_active = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction()
{
    if (m_active && m_began)
        RollbackIfOpen();
    m_active = false;
}

bool SQLiteAutoTransaction::Begin()
{
    if (!m_db || m_active)
        return false;
    m_active = true;
    if (!m_db->IsOpen())
        return false;
    m_began = m_db->Exec(kBegin) == SQLITE_OK;
    return m_began;
}

bool SQLiteAutoTransaction::End()
{
    if (!m_db)
        return false;
    m_active = false;
    m_began = false;
    if (!m_db->IsOpen())
        return false;
    // A reader on another connection (a backup tool, a second look at the
    // file) can refuse the commit past the busy handler; the transaction
    // stays open meanwhile, so the commit is tried again for a while.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(m_db->BusyTimeoutMs());
    for (;;) {
        const int result = m_db->Exec(kEnd);
        if (result == SQLITE_OK)
            return true;
        if ((result != SQLITE_BUSY && result != SQLITE_LOCKED) || GetTickCount64() >= deadline)
            break;
        Sleep(kCommitRetryMs);
    }
    // SQLite keeps the transaction open after a refused commit. Left open,
    // every later write would run inside it, report success, and be rolled
    // back when the connection closes.
    RollbackIfOpen();
    return false;
}

bool SQLiteAutoTransaction::Rollback()
{
    if (!m_db)
        return false;
    m_active = false;
    m_began = false;
    if (!m_db->IsOpen())
        return false;
    return m_db->Exec(kRollback) == SQLITE_OK;
}

void SQLiteAutoTransaction::RollbackIfOpen()
{
    m_began = false;
    // Some failures (a full disk, an I/O error) have rolled back already.
    if (m_db && m_db->InTransaction())
        m_db->Exec(kRollback);
}
