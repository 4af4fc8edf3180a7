#pragma once

// Helpers for the settings-store tests: a scratch data folder under the
// system's temp folder, and direct looks at a database file.

#include <atomic>
#include <string>
#include <vector>

#include "app/store/ConfigDB.h"
#include "tests/support/TempFolder.h"
#include "ui/framework/CString.h"

// A fresh temporary folder with a "db\" folder inside, removed with
// everything in it on destruction.
class ScratchFolder {
public:
    ScratchFolder();

    // Ends with a backslash, as the store expects its data folder.
    const CString& Path() const { return m_path; }
    // The file the store uses for `keyboard`.
    CString DbFile(const CString& keyboard) const;

private:
    testsupport::TempFolder m_folder;
    CString m_path;
};

bool FileExists(const CString& path);
void WriteFileBytes(const CString& path, const std::string& bytes);

// Opens the file on its own connection and returns every row of `sql`, each
// row's columns joined with '|' (NULL as "<null>").
std::vector<std::string> QueryFile(const CString& path, const char* sql);
// The same on the store's own connection.
std::vector<std::string> QueryStore(ConfigDB& store, const char* sql);
// Runs `sql` on the store's connection; true on success.
bool ExecStore(ConfigDB& store, const char* sql);

// A second connection on a file in the middle of a read, as another program
// with a query open: its stepped SELECT keeps a shared lock on the file until
// Release. `sql` must return at least two rows.
class HeldReader {
public:
    HeldReader(const CString& path, const char* sql);
    ~HeldReader();
    HeldReader(const HeldReader&) = delete;
    HeldReader& operator=(const HeldReader&) = delete;

    // True while the lock is held.
    bool Holding() const { return m_holding; }
    // May be called from another thread.
    void Release();

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    std::atomic<bool> m_holding{false};
};

// Records the SQL text of every statement run on a connection while alive.
class StatementTrace {
public:
    explicit StatementTrace(SQLiteDB& db);
    ~StatementTrace();
    StatementTrace(const StatementTrace&) = delete;
    StatementTrace& operator=(const StatementTrace&) = delete;

    int Count(const std::string& sql) const;
    // Statements whose text starts with `prefix`.
    int CountPrefix(const std::string& prefix) const;

private:
    static int OnStatement(unsigned type, void* context, void* statement, void* text);

    SQLiteDB& m_db;
    std::vector<std::string> m_sql;
};

// Deletes and empties a list that a list reader filled.
template <class Row>
void FreeRows(std::vector<Row*>& rows)
{
    for (Row* row : rows)
        delete row;
    rows.clear();
}
