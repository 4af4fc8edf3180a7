#pragma once

// Thin RAII wrappers over one SQLite connection, one prepared statement and
// one transaction scope. Results are SQLite result codes; the wrapper itself
// answers SQLITE_MISUSE (21) when it has no connection, no statement or no
// SQL text.

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class SQLiteStatement;

class SQLiteDB {
public:
    using RowCallback = int (*)(void* arg, int columns, char** values, char** names);

    SQLiteDB() = default;
    virtual ~SQLiteDB();
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;

    // Opens `path` (UTF-8) with the given sqlite3_open_v2 flags, closing any
    // connection held before. Keys are not supported: the files are plain
    // SQLite databases, so a non-empty key fails the open. A statement that
    // finds the file locked by another connection tries again every
    // millisecond for up to kBusyTimeoutMs before it fails with SQLITE_BUSY.
    static constexpr int kBusyTimeoutMs = 2000;
    bool Open(const char* path, const std::string& key, int flags);
    // True when nothing is held afterwards; a failed close keeps the handle.
    bool Close();
    bool IsOpen() const { return m_db != nullptr; }
    // The connection can only read: SQLite opened a write-protected file
    // for reading. False without a connection.
    bool IsReadOnly() const;
    // The UTF-8 path given to the Open that produced the held connection;
    // empty while closed.
    const std::string& GetPath() const { return m_path; }

    // A negative length means the text is zero-terminated.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    int Exec(const char* sql, RowCallback callback = nullptr, void* arg = nullptr);
    // -1 without a connection.
    int64_t LastInsertRowId() const;
    // Rows changed by the most recent INSERT, UPDATE or DELETE; 0 without a connection.
    int Changes() const;
    // A transaction is open on the connection (it is not in autocommit mode).
    bool InTransaction() const;
    // How long a statement waits for a lock held by another connection, as
    // the connection is set now; 0 without a connection.
    int BusyTimeoutMs() const { return m_db ? m_busyTimeoutMs : 0; }
    // Until the next Open.
    void SetBusyTimeoutMs(int ms) { m_busyTimeoutMs = ms; }

    // The raw handle, for diagnostics only (tracing, pragmas in tests).
    sqlite3* GetHandle() const { return m_db; }

private:
    void InterruptAndClose();
    static int RetryWhileBusy(void* self, int attempt);

    sqlite3* m_db = nullptr;
    std::string m_path;
    int m_busyTimeoutMs = kBusyTimeoutMs;
    uint64_t m_busySince = 0;  // tick count of the statement's first refusal
};

class SQLiteStatement {
public:
    SQLiteStatement() = default;
    virtual ~SQLiteStatement();
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;

    // Parameter indexes are 1-based.
    int BindInt(int index, int value);
    // The bytes are not copied: they must stay alive until the statement has
    // been stepped.
    int BindText(int index, const char* utf8, int byteLength);
    int Step();

    // Column indexes are 0-based. GetInt answers 0 and GetText null without
    // a statement; GetText is also null for an SQL NULL.
    int GetInt(int column) const;
    const char* GetText(int column) const;

    bool IsPrepared() const { return m_stmt != nullptr; }

private:
    friend class SQLiteDB;
    void Finalize();

    sqlite3_stmt* m_stmt = nullptr;
};

// BEGIN on construction (when the connection is open), END on End(). A scope
// left without End() is an unfinished batch: the destructor rolls it back.
// Whatever ends the scope, no transaction stays open on the connection, so a
// later write can never land in one that is thrown away at close.
class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // No-op (false) while the scope is active, so calling it right after the
    // constructor sends nothing.
    bool Begin();
    // Commits; true only when the rows are in the file. A refused commit (the
    // file still locked by a reader once the busy time-out has passed) is
    // rolled back.
    bool End();
    bool Rollback();
    bool IsActive() const { return m_active; }
    // BEGIN succeeded and the scope has not ended: the statements run now are
    // committed or rolled back together.
    bool Began() const { return m_began; }

private:
    void RollbackIfOpen();

    SQLiteDB* m_db;
    bool m_active = false;
    bool m_began = false;
};
