// Journeys of the profile operations that the real program reaches through
// its window messages, read back from its settings database.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT WM_PROFILE_MENU = 0x72A;
constexpr WPARAM MENU_ADD_PROFILE = 101;

class ProfileJourney : public ProgramJourney
{
protected:
    std::wstring Database() const { return SettingsDatabase(); }
    long long Query(const std::string& sql) const { return QueryDatabase(Database(), sql.c_str()); }
};

TEST_F(ProfileJourney, TheProfileMenuAddsWholeProfilesWithTheirOwnNames)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    // The store is opened while the window is made; once the window answers a
    // sent message it is there. The file is looked at only between the
    // program's writes: a reader polling it would hold off their commits.
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &answer), 0);
    long long before = -1;
    ASSERT_TRUE(WaitFor([&] {
        return Query("SELECT COUNT(*) FROM t_config_data WHERE profile = 0") == 44 &&
               (before = Query("SELECT COUNT(*) FROM t_profile_data WHERE type = 1")) >= 0;
    }));

    // Sent, not posted: each add has been stored when the call returns, and
    // no look at the file falls into the middle of its transaction.
    EXPECT_EQ(SendMessageW(window, WM_PROFILE_MENU, MENU_ADD_PROFILE, 0), 1);
    EXPECT_EQ(SendMessageW(window, WM_PROFILE_MENU, MENU_ADD_PROFILE, 0), 1);
    ASSERT_EQ(Query("SELECT COUNT(*) FROM t_profile_data WHERE type = 1"), before + 2);

    // Every name is taken once, and every new profile is whole: its light
    // modes, its music layer and its configuration rows.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM (SELECT name FROM t_profile_data GROUP BY name HAVING COUNT(*) > 1)"), 0);
    const std::string newest = "(SELECT MAX(profile) FROM t_profile_data)";
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_light_data WHERE profile = " + newest), 16);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_musiclayer_data WHERE profile = " + newest), 1);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_config_data WHERE profile = " + newest), 44);
    EXPECT_EQ(Query("SELECT mode FROM t_light_data WHERE status = 1 AND profile = " + newest), 0);
    // Adding neither selects nor activates the new profile.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_profile_data WHERE status = 1 AND profile = " + newest), 0);

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

} // namespace
