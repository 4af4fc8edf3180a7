// Batches and single writes of the settings store while something else has
// the file: another program reading it, or a row the database refuses. After
// the store closes, the file holds exactly what the store reported written.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sqlite3.h>

#include "app/store/ConfigDB.h"
#include "app/store/Utf8Convert.h"
#include "StoreTestSupport.h"

namespace {

const char kHeldRead[] = "SELECT * FROM t_config_data";

KeyMacroData KeyRow(int profile, int code, const wchar_t* desc)
{
    KeyMacroData row;
    row.profile = profile;
    row.key_code = code;
    row.macro_type = 2;
    row.macro_value = code;
    row.macro_desc = desc;
    return row;
}

// One batch writer with three rows (44 for the default configuration), a
// trigger that refuses its second row, and a count of its rows in the file.
struct BatchCase {
    const char* name;
    const char* existingRows;  // rows the batch changes, or null
    const char* refuseSecondRow;
    const char* countWritten;
    int rows;
    // The number of rows the store reported written.
    std::function<int(ConfigDB&)> run;
};

const std::vector<BatchCase>& BatchCases()
{
    static const std::vector<BatchCase> cases = {
        {"InsertKeyMacros", nullptr,
         "CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data WHEN NEW.key_code = 5 "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "SELECT count(*) FROM t_key_macro_data WHERE profile = 7", 3,
         [](ConfigDB& store) {
             return store.InsertKeyMacros({KeyRow(7, 4, L"a"), KeyRow(7, 5, L"b"), KeyRow(7, 6, L"c")}) ? 3 : 0;
         }},
        {"UpdateKeyMacros",
         "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_desc) VALUES "
         "(8, 0, 4, 'old'), (8, 0, 5, 'old'), (8, 0, 6, 'old');",
         "CREATE TRIGGER refuse BEFORE UPDATE ON t_key_macro_data WHEN NEW.key_code = 5 "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "SELECT count(*) FROM t_key_macro_data WHERE profile = 8 AND macro_desc = 'new'", 3,
         [](ConfigDB& store) {
             return store.UpdateKeyMacros({KeyRow(8, 4, L"new"), KeyRow(8, 5, L"new"), KeyRow(8, 6, L"new")}) ? 3 : 0;
         }},
        {"InsertUserLightRgbs", nullptr,
         "CREATE TRIGGER refuse BEFORE INSERT ON t_userlightrgb_data WHEN NEW.key_code = 5 "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "SELECT count(*) FROM t_userlightrgb_data WHERE profile = 7", 3,
         [](ConfigDB& store) {
             std::vector<UserLightRgbData> rows(3);
             for (int i = 0; i < 3; ++i) {
                 rows[i].profile = 7;
                 rows[i].userlight_id = 1;
                 rows[i].key_code = 4 + i;
                 rows[i].key_rgb = 0x0000FF;
             }
             return store.InsertUserLightRgbs(rows);
         }},
        {"InsertMacroRecords", nullptr,
         "CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord WHEN NEW.record_index = 1 "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "SELECT count(*) FROM t_macrorecord WHERE macro_id = 9", 3,
         [](ConfigDB& store) {
             std::vector<MacroRecordData> rows(3);
             for (int i = 0; i < 3; ++i) {
                 rows[i].macro_id = 9;
                 rows[i].type = 2;
                 rows[i].record_index = i;
                 rows[i].value = 4;
             }
             return store.InsertMacroRecords(rows) ? 3 : 0;
         }},
        {"InsertDefaultConfig", nullptr,
         "CREATE TRIGGER refuse BEFORE INSERT ON t_config_data WHEN NEW.key = 'keyboard_layout' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "SELECT count(*) FROM t_config_data WHERE profile = 7", 44,
         [](ConfigDB& store) { return store.InsertDefaultConfig(7) ? 44 : 0; }},
    };
    return cases;
}

std::string ConfigValue(const CString& file, const char* key)
{
    const std::string sql = std::string("SELECT value FROM t_config_data WHERE profile = 0 AND key = '") + key + "'";
    const std::vector<std::string> rows = QueryFile(file, sql.c_str());
    return rows.size() == 1 ? rows[0] : "<" + std::to_string(rows.size()) + " rows>";
}

std::string Count(int n)
{
    return std::to_string(n);
}

// Another program writing the file in bursts with short pauses between
// them, as a second instance saving often would: it never holds the file for
// long, but takes it again soon after every commit. It waits for the store's
// saves as long as they take.
class BurstWriter {
public:
    explicit BurstWriter(const CString& path)
    {
        if (sqlite3_open_v2(CStringToUtf8(path).c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                            nullptr) != SQLITE_OK)
            return;
        sqlite3_busy_timeout(m_db, kWaitMs);
        m_thread = std::thread([this] { Run(); });
    }
    ~BurstWriter()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        sqlite3_close(m_db);
    }
    BurstWriter(const BurstWriter&) = delete;
    BurstWriter& operator=(const BurstWriter&) = delete;

    // True once the first burst holds the file.
    bool WaitUntilWriting() const
    {
        for (int i = 0; i < 1000 && !m_writing; ++i)
            Sleep(5);
        return m_writing;
    }
    int Bursts() const { return m_bursts; }

private:
    static constexpr int kWaitMs = 30000;
    static constexpr DWORD kBurstMs = 250;
    static constexpr DWORD kPauseMs = 5;

    void Run()
    {
        while (!m_stop) {
            if (sqlite3_exec(m_db, "BEGIN IMMEDIATE; UPDATE t_profile_data SET status = status;", nullptr, nullptr,
                             nullptr) != SQLITE_OK)
                continue;
            m_writing = true;
            Sleep(kBurstMs);
            if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
                ++m_bursts;
            Sleep(kPauseMs);
        }
    }

    sqlite3* m_db = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_writing{false};
    std::atomic<int> m_bursts{0};
};

class ConfigCommitTest : public ::testing::Test {
protected:
    // A fresh file per case, with the rows the batch changes.
    void Open(const BatchCase& batch)
    {
        keyboard_.Format(L"K%d", ++opened_);
        ASSERT_TRUE(store.OpenDB(folder.Path(), keyboard_));
        if (batch.existingRows) {
            ASSERT_TRUE(ExecStore(store, batch.existingRows));
        }
    }
    CString File() const { return folder.DbFile(keyboard_); }

    ScratchFolder folder;
    ConfigDB store;

private:
    CString keyboard_;
    int opened_ = 0;
};

// Another program is in the middle of reading the file when a batch commits:
// the commit is refused. The batch must report failure and leave nothing
// behind, and the writes after it must reach the file, not a transaction that
// the close throws away.
TEST_F(ConfigCommitTest, RefusedCommitLosesNoWriteReportedSaved)
{
    for (const BatchCase& batch : BatchCases()) {
        SCOPED_TRACE(batch.name);
        Open(batch);
        // The reader below does not let go, so there is no point in waiting long.
        store.GetDB().SetBusyTimeoutMs(50);

        bool savedWhileHeld = false;
        int reported = -1;
        {
            HeldReader reader(File(), kHeldRead);
            ASSERT_TRUE(reader.Holding());
            reported = batch.run(store);
            // Before any other write: the store's own reads show what the
            // file holds, not the rows the refused commit never put there.
            EXPECT_EQ(QueryFile(File(), batch.countWritten), QueryStore(store, batch.countWritten));
            savedWhileHeld = store.SetConfigValue(0, L"sleep_time", L"5");
        }
        EXPECT_EQ(0, reported);
        EXPECT_TRUE(store.SetConfigValue(0, L"disable_win", L"1"));
        ASSERT_TRUE(store.CloseDB());

        EXPECT_EQ((std::vector<std::string>{Count(reported)}), QueryFile(File(), batch.countWritten));
        EXPECT_EQ(savedWhileHeld ? "5" : "2", ConfigValue(File(), "sleep_time"));
        EXPECT_EQ("1", ConfigValue(File(), "disable_win"));
    }
}

TEST_F(ConfigCommitTest, BatchWithARefusedRowWritesNoneOfItsRows)
{
    for (const BatchCase& batch : BatchCases()) {
        SCOPED_TRACE(batch.name);
        Open(batch);
        ASSERT_TRUE(ExecStore(store, batch.refuseSecondRow));

        EXPECT_EQ(0, batch.run(store));
        EXPECT_EQ((std::vector<std::string>{"0"}), QueryStore(store, batch.countWritten));
        // Nothing of the batch stays open around the store's next writes.
        EXPECT_TRUE(store.SetConfigValue(0, L"disable_win", L"1"));

        ASSERT_TRUE(ExecStore(store, "DROP TRIGGER refuse"));
        EXPECT_EQ(batch.rows, batch.run(store));
        ASSERT_TRUE(store.CloseDB());
        EXPECT_EQ((std::vector<std::string>{Count(batch.rows)}), QueryFile(File(), batch.countWritten));
        EXPECT_EQ("1", ConfigValue(File(), "disable_win"));
    }
}

// A reader that finishes soon delays a save instead of failing it.
TEST_F(ConfigCommitTest, ShortReadByAnotherProgramDelaysASave)
{
    const BatchCase& batch = BatchCases().front();
    Open(batch);
    const std::vector<std::pair<const char*, std::function<bool()>>> saves = {
        {"batch", [&] { return batch.run(store) == batch.rows; }},
        {"single write", [&] { return store.SetConfigValue(0, L"sleep_time", L"5"); }},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.first);
        HeldReader reader(File(), kHeldRead);
        ASSERT_TRUE(reader.Holding());
        std::thread finish([&] {
            Sleep(300);
            reader.Release();
        });
        EXPECT_TRUE(save.second());
        finish.join();
    }
    ASSERT_TRUE(store.CloseDB());
    EXPECT_EQ((std::vector<std::string>{Count(batch.rows)}), QueryFile(File(), batch.countWritten));
    EXPECT_EQ("5", ConfigValue(File(), "sleep_time"));
}

// Saves while another program writes in bursts: each save waits for a pause
// between two bursts and is saved, however rarely the pauses come.
TEST_F(ConfigCommitTest, SaveWaitsForAPauseOfAnotherProgramWritingInBursts)
{
    Open(BatchCases().front());
    std::vector<const BatchCase*> batches;
    for (const BatchCase& batch : BatchCases()) {
        if (!batch.existingRows)
            batches.push_back(&batch);
    }
    const std::vector<const wchar_t*> values = {L"11", L"12", L"13"};
    {
        BurstWriter writer(File());
        ASSERT_TRUE(writer.WaitUntilWriting());
        for (const BatchCase* batch : batches)
            EXPECT_EQ(batch->rows, batch->run(store)) << batch->name;
        for (const wchar_t* value : values)
            EXPECT_TRUE(store.SetConfigValue(0, L"sleep_time", value)) << CStringToUtf8(value);
        EXPECT_GT(writer.Bursts(), 0) << "the other program never wrote";
    }
    ASSERT_TRUE(store.CloseDB());
    for (const BatchCase* batch : batches)
        EXPECT_EQ((std::vector<std::string>{Count(batch->rows)}), QueryFile(File(), batch->countWritten)) << batch->name;
    EXPECT_EQ("13", ConfigValue(File(), "sleep_time"));
}

}  // namespace
