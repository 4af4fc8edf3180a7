// The UI thread and the worker use the store at the same time.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/store/ConfigDB.h"
#include "StoreTestSupport.h"

namespace {

constexpr int kRounds = 150;

TEST(ConfigConcurrencyTest, TwoWritersLoseNothingAndGetTheirOwnIds)
{
    ScratchFolder folder;
    ConfigDB store;
    ASSERT_TRUE(store.OpenDB(folder.Path(), L"K1"));

    // One thread adds macros; the other adds profiles with their default rows
    // and events, so inserts, transactions and row ids interleave.
    std::vector<int> macroIds(kRounds), profileIds(kRounds), recordIds(kRounds);
    std::thread macros([&] {
        for (int i = 0; i < kRounds; ++i) {
            CString name;
            name.Format(L"macro %d", i);
            macroIds[i] = store.AddMacro(name);
        }
    });
    std::thread profiles([&] {
        for (int i = 0; i < kRounds; ++i) {
            ProfileData profile;
            profile.name.Format(L"profile %d", i);
            profileIds[i] = store.InsertProfile(profile);
            store.InsertDefaultConfig(profileIds[i]);
            MacroRecordData record;
            record.macro_id = 100000 + i;
            record.record_index = i;
            recordIds[i] = store.InsertMacroRecord(record);
        }
    });
    macros.join();
    profiles.join();

    for (int i = 0; i < kRounds; ++i) {
        SCOPED_TRACE(i);
        MacroData macro;
        ASSERT_TRUE(store.GetMacro(macroIds[i], macro));
        CString expected;
        expected.Format(L"macro %d", i);
        EXPECT_EQ(expected, macro.name);

        CString name;
        ASSERT_TRUE(store.GetProfileName(profileIds[i], name));
        expected.Format(L"profile %d", i);
        EXPECT_EQ(expected, name);

        std::vector<MacroRecordData*> records;
        ASSERT_EQ(1, store.GetMacroRecords(100000 + i, records));
        EXPECT_EQ(recordIds[i], records[0]->record_id);
        FreeRows(records);
    }
    EXPECT_EQ(std::vector<std::string>{std::to_string(44 * (kRounds + 1))},
              QueryStore(store, "SELECT count(*) FROM t_config_data"));
    EXPECT_EQ(std::vector<std::string>{std::to_string(kRounds)},
              QueryStore(store, "SELECT count(DISTINCT profile) FROM t_config_data WHERE profile > 0"));
}

}  // namespace
