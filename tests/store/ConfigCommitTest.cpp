// Batches and single writes of the settings store while something else has
// the file: another program reading it, or a row the database refuses. After
// the store closes, the file holds exactly what the store reported written.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/store/ConfigDB.h"
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
        ASSERT_TRUE(ExecStore(store, "PRAGMA busy_timeout = 50"));

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

}  // namespace
