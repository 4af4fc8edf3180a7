#include "StoreTestSupport.h"

#include <windows.h>

#include <sqlite3.h>

#include "app/store/Utf8Convert.h"

namespace {

int CollectRow(void* arg, int columns, char** values, char** /*names*/)
{
    std::string line;
    for (int i = 0; i < columns; ++i) {
        if (i)
            line += '|';
        line += values[i] ? values[i] : "<null>";
    }
    static_cast<std::vector<std::string>*>(arg)->push_back(line);
    return 0;
}

}  // namespace

ScratchFolder::ScratchFolder() : m_folder(L"tarnwell-store"), m_path(m_folder.Path().c_str())
{
    CreateDirectoryW(m_path + L"db", nullptr);
}

CString ScratchFolder::DbFile(const CString& keyboard) const
{
    return m_path + L"db\\" + keyboard + L"_data.db";
}

bool FileExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const CString& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::vector<std::string> QueryFile(const CString& path, const char* sql)
{
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(CStringToUtf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
        sqlite3_exec(db, sql, CollectRow, &rows, nullptr);
    sqlite3_close(db);
    return rows;
}

std::vector<std::string> QueryStore(ConfigDB& store, const char* sql)
{
    std::vector<std::string> rows;
    store.GetDB().Exec(sql, CollectRow, &rows);
    return rows;
}

bool ExecStore(ConfigDB& store, const char* sql)
{
    return store.GetDB().Exec(sql) == SQLITE_OK;
}

HeldReader::HeldReader(const CString& path, const char* sql)
{
    // The reader never waits: it is the one holding things up.
    if (sqlite3_open_v2(CStringToUtf8(path).c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK)
        return;
    if (sqlite3_prepare_v2(m_db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        return;
    m_holding = sqlite3_step(m_statement) == SQLITE_ROW;
}

HeldReader::~HeldReader()
{
    Release();
    sqlite3_close(m_db);
}

void HeldReader::Release()
{
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_holding = false;
}

StatementTrace::StatementTrace(SQLiteDB& db) : m_db(db)
{
    sqlite3_trace_v2(m_db.GetHandle(), SQLITE_TRACE_STMT, &StatementTrace::OnStatement, this);
}

StatementTrace::~StatementTrace()
{
    if (m_db.GetHandle())
        sqlite3_trace_v2(m_db.GetHandle(), 0, nullptr, nullptr);
}

int StatementTrace::OnStatement(unsigned /*type*/, void* context, void* /*statement*/, void* text)
{
    static_cast<StatementTrace*>(context)->m_sql.push_back(static_cast<const char*>(text));
    return 0;
}

int StatementTrace::Count(const std::string& sql) const
{
    int count = 0;
    for (const std::string& s : m_sql)
        count += s == sql ? 1 : 0;
    return count;
}

int StatementTrace::CountPrefix(const std::string& prefix) const
{
    int count = 0;
    for (const std::string& s : m_sql)
        count += s.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return count;
}
