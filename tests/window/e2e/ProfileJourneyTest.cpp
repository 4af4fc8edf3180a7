// Journeys of the profile operations that the real program reaches through
// its window messages, read back from its settings database.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT WM_PROFILE_MENU = 0x72A;
constexpr WPARAM MENU_ADD_PROFILE = 101;
constexpr WPARAM MENU_DVORAK = 205;
constexpr UINT ID_IMPORT_BUTTON = 49;
constexpr UINT ID_EXPORT_BUTTON = 50;
constexpr UINT NOTIFY_CLICKED = 2;

// Presses a button that the layout does not place, answers the file dialog it
// opens with the path as a user types it, and waits for the handler to end.
bool ChooseFile(HWND window, DWORD processId, UINT button, const std::wstring& path)
{
    std::thread press([&] { SendControlNotify(window, button, NOTIFY_CLICKED); });
    const bool answered = AnswerFileDialog(processId, path);
    press.join();
    return answered;
}

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

TEST_F(ProfileJourney, AnExportedProfileComesBackByImportAsANewProfileWithTheSameRows)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] {
        return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 1") > 100 &&
               Query("SELECT COUNT(*) FROM t_light_data WHERE profile = 1") == 16;
    }));
    // Rows that differ from a new profile's: a layout preset on the base layer.
    ASSERT_EQ(SendMessageW(window, WM_PROFILE_MENU, MENU_DVORAK, 0), 1);
    ASSERT_GT(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND macro_value <> key_code"), 0);

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"tarnwell journey profile.xml";
    DeleteFileW(file.c_str());
    ASSERT_TRUE(ChooseFile(window, program->ProcessId(), ID_EXPORT_BUTTON, file)) << "no save dialog came";
    ASSERT_TRUE(WaitFor([&] { return FileExists(file); })) << "the profile file was not written";

    const long long profiles = Query("SELECT COUNT(*) FROM t_profile_data");
    ASSERT_TRUE(ChooseFile(window, program->ProcessId(), ID_IMPORT_BUTTON, file)) << "no open dialog came";
    ASSERT_TRUE(WaitFor([&] { return Query("SELECT COUNT(*) FROM t_profile_data") == profiles + 1; }))
        << "the import added no profile";
    const std::string imported = "(SELECT MAX(profile) FROM t_profile_data)";
    EXPECT_GT(Query("SELECT MAX(profile) FROM t_profile_data"), 1);

    // Same name, every key row on both layers, the same light parameters.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_profile_data a, t_profile_data b WHERE a.profile = 1 AND b.profile = " +
                    imported + " AND a.name = b.name"),
              1);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = " + imported),
              Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1"));
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data a WHERE a.profile = 1 AND NOT EXISTS (SELECT 1 FROM "
                    "t_key_macro_data b WHERE b.profile = " + imported +
                    " AND b.fn_layer = a.fn_layer AND b.key_code = a.key_code AND b.macro_type = a.macro_type AND "
                    "b.macro_value = a.macro_value AND b.macro_value2 = a.macro_value2 AND "
                    "b.macro_value3 = a.macro_value3 AND b.macro_desc = a.macro_desc)"),
              0)
        << "key rows differ after the way out and back";
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_light_data a WHERE a.profile = 1 AND a.mode <> 255 AND NOT EXISTS "
                    "(SELECT 1 FROM t_light_data b WHERE b.profile = " + imported +
                    " AND b.mode = a.mode AND b.brightness = a.brightness AND b.speed = a.speed AND "
                    "b.direction = a.direction AND b.colorful = a.colorful AND b.colorindex = a.colorindex AND "
                    "b.color_value1 = a.color_value1)"),
              0)
        << "light rows differ after the way out and back";
    // The imported profile is the store's active one.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_profile_data WHERE status = 1 AND profile = " + imported), 1);
    DeleteFileW(file.c_str());

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

} // namespace
