#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/store/SQLiteDB.h"
#include "app/store/Utf8Convert.h"
#include "StoreTestSupport.h"

namespace {

constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

TEST(SQLiteDBTest, WithoutConnectionOrStatementEveryCallIsMisuse)
{
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_EQ(SQLITE_MISUSE, db.Prepare(statement, "SELECT 1"));
    EXPECT_EQ(SQLITE_MISUSE, db.Exec("SELECT 1"));
    EXPECT_EQ(-1, db.LastInsertRowId());
    EXPECT_TRUE(db.Close());
    EXPECT_EQ(SQLITE_MISUSE, statement.BindInt(1, 5));
    EXPECT_EQ(SQLITE_MISUSE, statement.BindText(1, "x", 1));
    EXPECT_EQ(SQLITE_MISUSE, statement.Step());
    EXPECT_EQ(0, statement.GetInt(0));
    EXPECT_EQ(nullptr, statement.GetText(0));

    ASSERT_TRUE(db.Open(":memory:", "", kCreate));
    EXPECT_EQ(SQLITE_MISUSE, db.Prepare(statement, nullptr));
    EXPECT_EQ(SQLITE_MISUSE, db.Exec(nullptr));
}

TEST(SQLiteDBTest, OpenRefusesWhatItCannotServe)
{
    ScratchFolder folder;
    const std::string missing = CStringToUtf8(folder.Path() + L"missing.db");
    SQLiteDB db;
    EXPECT_FALSE(db.Open(nullptr, "", kCreate));
    EXPECT_FALSE(db.Open(missing.c_str(), "", SQLITE_OPEN_READWRITE));
    EXPECT_FALSE(db.IsOpen());
    // No encryption in this build: a key must not silently open a plain connection.
    EXPECT_FALSE(db.Open(missing.c_str(), "00112233445566778899aabbccddeeff", kCreate));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(db.Open(missing.c_str(), "", kCreate));
    EXPECT_EQ(missing, db.GetPath());
}

TEST(SQLiteDBTest, PrepareTakesTheWholeTextOrTheGivenLength)
{
    SQLiteDB db;
    ASSERT_TRUE(db.Open(":memory:", "", kCreate));
    SQLiteStatement statement;
    ASSERT_EQ(SQLITE_OK, db.Prepare(statement, "SELECT 42, 'x'", -1));
    ASSERT_EQ(SQLITE_ROW, statement.Step());
    EXPECT_EQ(42, statement.GetInt(0));
    EXPECT_STREQ("x", statement.GetText(1));

    // Preparing again on the same object replaces the first statement.
    ASSERT_EQ(SQLITE_OK, db.Prepare(statement, "SELECT 7 and then garbage", 8));
    ASSERT_EQ(SQLITE_ROW, statement.Step());
    EXPECT_EQ(7, statement.GetInt(0));
}

TEST(SQLiteDBTest, CloseFailsWhileAStatementIsOpenAndKeepsTheHandle)
{
    SQLiteDB db;
    ASSERT_TRUE(db.Open(":memory:", "", kCreate));
    {
        SQLiteStatement statement;
        ASSERT_EQ(SQLITE_OK, db.Prepare(statement, "SELECT 1"));
        EXPECT_FALSE(db.Close());
        EXPECT_TRUE(db.IsOpen());
    }
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteDBTest, AutoTransactionSendsOneBeginAndOneEnd)
{
    SQLiteDB db;
    ASSERT_TRUE(db.Open(":memory:", "", kCreate));
    ASSERT_EQ(SQLITE_OK, db.Exec("CREATE TABLE t(v INTEGER)"));
    StatementTrace trace(db);
    {
        SQLiteAutoTransaction transaction(&db);
        EXPECT_TRUE(transaction.IsActive());
        EXPECT_FALSE(transaction.Begin());  // already begun by the constructor
        db.Exec("INSERT INTO t VALUES (1)");
        EXPECT_TRUE(transaction.End());
        EXPECT_FALSE(transaction.IsActive());
    }
    {
        // Left early: half a batch is not committed.
        SQLiteAutoTransaction transaction(&db);
        db.Exec("INSERT INTO t VALUES (2)");
    }
    {
        SQLiteAutoTransaction transaction(&db);
        db.Exec("INSERT INTO t VALUES (3)");
        EXPECT_TRUE(transaction.Rollback());
        EXPECT_FALSE(transaction.IsActive());
    }
    EXPECT_EQ(3, trace.Count("BEGIN IMMEDIATE"));
    EXPECT_EQ(1, trace.Count("END"));
    EXPECT_EQ(2, trace.Count("ROLLBACK"));
    EXPECT_EQ(1, sqlite3_get_autocommit(db.GetHandle()));
    SQLiteStatement statement;
    db.Prepare(statement, "SELECT count(*) FROM t");
    statement.Step();
    EXPECT_EQ(1, statement.GetInt(0));

    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.End());
}

// Another program reading the file refuses the commit. The transaction must
// not stay open: every later write would land in it, report success and be
// rolled back when the connection closes.
TEST(SQLiteDBTest, RefusedCommitRollsBackAndLaterWritesCommitOnTheirOwn)
{
    ScratchFolder folder;
    const CString file = folder.Path() + L"t.db";
    SQLiteDB db;
    ASSERT_TRUE(db.Open(CStringToUtf8(file).c_str(), "", kCreate));
    ASSERT_EQ(SQLITE_OK, db.Exec("CREATE TABLE t(v INTEGER); INSERT INTO t VALUES (0); INSERT INTO t VALUES (0);"));
    db.SetBusyTimeoutMs(50);  // the reader below never lets go
    {
        HeldReader reader(file, "SELECT v FROM t");
        ASSERT_TRUE(reader.Holding());
        SQLiteAutoTransaction transaction(&db);
        ASSERT_EQ(SQLITE_OK, db.Exec("INSERT INTO t VALUES (1)"));
        EXPECT_FALSE(transaction.End());
        EXPECT_EQ(1, sqlite3_get_autocommit(db.GetHandle()));
    }
    EXPECT_EQ(SQLITE_OK, db.Exec("INSERT INTO t VALUES (2)"));
    EXPECT_TRUE(db.Close());
    EXPECT_EQ((std::vector<std::string>{"0", "0", "2"}), QueryFile(file, "SELECT v FROM t ORDER BY rowid"));
}

TEST(SQLiteDBTest, ConnectionWaitsForAReaderBeforeGivingUp)
{
    ScratchFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open(CStringToUtf8(folder.Path() + L"t.db").c_str(), "", kCreate));
    // Long enough for another program's short read, short enough that a save
    // behind a stuck one is reported failed while the user still waits for it.
    EXPECT_GE(db.BusyTimeoutMs(), 1000);
    EXPECT_LE(db.BusyTimeoutMs(), 5000);
}

TEST(Utf8ConvertTest, RoundTripsAndStopsAtTheFirstZero)
{
    const struct {
        const wchar_t* wide;
        const char* utf8;
    } cases[] = {
        {L"", ""},
        {L"plain", "plain"},
        {L"Gr\u00fc\u00dfe \u5fa1\u5b88", "Gr\xc3\xbc\xc3\x9f" "e \xe5\xbe\xa1\xe5\xae\x88"},
        {L"\U0001F3B9 keys", "\xf0\x9f\x8e\xb9 keys"},  // outside the BMP: a surrogate pair
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(c.utf8), CStringToUtf8(c.wide)) << c.utf8;
        EXPECT_EQ(CString(c.wide), Utf8ToCString(c.utf8)) << c.utf8;
    }
    EXPECT_EQ(CString(), Utf8ToCString(nullptr));
    CString withZero(L"ab");
    withZero.GetBufferSetLength(4)[2] = L'\0';
    EXPECT_EQ("ab", CStringToUtf8(withZero));
}

}  // namespace
