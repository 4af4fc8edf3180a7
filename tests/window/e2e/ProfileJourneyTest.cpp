// Journeys of the profile bar on the keys page, clicked and typed as a user
// does: profiles are added under the default names, renamed in place,
// deleted with every row they own, and carried out to a file and back in,
// all read back from the program's settings database.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr POINT kKeysTab = TabPlace(0);

// Every table that keeps rows of a profile.
const char* const kProfileTables[] = {
    "t_key_macro_data", "t_light_data",    "t_config_data",      "t_userlightrgb_data", "t_musiclayer_data",
    "t_userlight_data", "t_customlight_data", "t_ledlayer_data", "t_profile_data",
};

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }

// Clicks a button of the profile bar, answers the file dialog it opens with
// the path as a user types it, and waits for the dialog to go.
bool ChooseFile(HWND window, DWORD processId, POINT button, const std::wstring& path)
{
    ClickAt(window, button);
    return AnswerFileDialog(processId, path);
}

class ProfileJourney : public ProgramJourney
{
protected:
    // Starts the program and waits until the keys page shows the profile
    // bar with the first profile in it.
    HWND OpenProfileBar()
    {
        HWND window = StartProgram();
        if (!window)
            return nullptr;
        EXPECT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; }))
            << "the device pages never opened";
        ClickAt(window, kKeysTab);
        database = SettingsDatabase();
        EXPECT_TRUE(WaitFor([&] {
            return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = 1") > 100 &&
                   Query("SELECT COUNT(*) FROM t_light_data WHERE profile = 1") == 16;
        })) << "the first profile was not made";
        EXPECT_TRUE(WaitFor([&] { return Colours(Capture(window, RowArea(0))) > 2; }))
            << "the profile list shows no first row";
        return window;
    }
    static RECT RowArea(int index)
    {
        const POINT row = ProfileRow(index);
        return RECT{row.x - 50, row.y - 10, row.x + 50, row.y + 10};
    }
    long long Query(const std::string& sql) const { return QueryDatabase(database, sql.c_str()); }
    long long Profiles() const { return Query("SELECT COUNT(*) FROM t_profile_data WHERE type = 1"); }
    long long Named(const std::string& name) const
    {
        return Query("SELECT COUNT(*) FROM t_profile_data WHERE name = '" + name + "'");
    }
    long long Active() const { return Query("SELECT profile FROM t_profile_data WHERE status = 1"); }
    // Rows of a profile left in the tables that keep profile rows.
    long long RowsOf(long long profile) const
    {
        long long rows = 0;
        for (const char* table : kProfileTables)
            rows += Query(std::string("SELECT COUNT(*) FROM ") + table + " WHERE profile = " + std::to_string(profile));
        return rows;
    }
    void Exit(HWND window)
    {
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
    }
    std::wstring database;
};

TEST_F(ProfileJourney, TheBarAddsRenamesAndDeletesProfilesAndKeepsTheLastOne)
{
    HWND window = OpenProfileBar();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(Profiles(), 1);
    ASSERT_EQ(Named("Profile 01"), 1);

    // The New button and the header's add icon each add a whole profile under
    // the first free default name; neither selects it.
    ClickAt(window, kNewProfileButton);
    ASSERT_TRUE(WaitFor([&] { return Profiles() == 2; })) << "New added no profile";
    ClickAt(window, kAddProfileIcon);
    ASSERT_TRUE(WaitFor([&] { return Profiles() == 3; })) << "the add icon added no profile";
    EXPECT_EQ(Named("Profile 02"), 1);
    EXPECT_EQ(Named("Profile 03"), 1);
    const std::string newest = "(SELECT MAX(profile) FROM t_profile_data)";
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_light_data WHERE profile = " + newest), 16);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_musiclayer_data WHERE profile = " + newest), 1);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_config_data WHERE profile = " + newest), 44);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = " + newest),
              Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1"));
    EXPECT_EQ(Active(), 1);
    const long long second = Query("SELECT profile FROM t_profile_data WHERE name = 'Profile 02'");

    // Renamed in place: the edit icon of the second row opens the name, the
    // keys replace it, and a press on the list's empty space ends it.
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, RowArea(2))) > 2; })) << "the new rows are not shown";
    ClickAt(window, ProfileEditIcon(1));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = FocusedWindow(window);
        return box != nullptr && box != window && IsWindowVisible(box);
    })) << "the edit icon opened no name box";
    PressKey(box, VK_END);
    TypeText(box, std::wstring(16, L'\b') + L"Travel");
    wchar_t typed[64] = {};
    wchar_t boxClass[64] = {};
    GetClassNameW(box, boxClass, 64);
    // Asked, not read: another process's edit box keeps its text itself.
    ASSERT_TRUE(WaitFor([&] {
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(box, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(typed), SMTO_NORMAL, kTimeoutMs, &copied);
        return std::wstring(typed) == L"Travel";
    })) << "the typed name did not reach the box: " << std::string(typed, typed + wcslen(typed)) << " in a "
        << std::string(boxClass, boxClass + wcslen(boxClass));
    ClickAt(window, ProfileRow(4));
    EXPECT_TRUE(WaitFor([&] { return Named("Travel") == 1; })) << "the new name was not stored";
    EXPECT_EQ(Query("SELECT profile FROM t_profile_data WHERE name = 'Travel'"), second);
    EXPECT_EQ(Profiles(), 3);
    SaveScreenshot(window, L"keys_profiles_renamed");

    // Deleted: chosen, then Delete; no row of it is left in any table, and
    // the first profile is the active one.
    ClickAt(window, ProfileRow(1));
    ASSERT_TRUE(WaitFor([&] { return Active() == second; })) << "choosing the row did not make it active";
    ClickAt(window, kDeleteProfileButton);
    ASSERT_TRUE(WaitFor([&] { return Profiles() == 2; })) << "Delete removed no profile";
    EXPECT_EQ(RowsOf(second), 0) << "rows of the deleted profile are left";
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(Named("Travel"), 0);

    // Its default number is free again.
    ClickAt(window, kNewProfileButton);
    ASSERT_TRUE(WaitFor([&] { return Profiles() == 3; }));
    EXPECT_EQ(Named("Profile 02"), 1);

    // Down to one profile; the last one is kept and the user is told.
    // Each choice is waited for: a Delete that came before it would take
    // the first profile, which is the active one until then.
    for (int left = 3; left > 1; --left) {
        ClickAt(window, ProfileRow(1));
        ASSERT_TRUE(WaitFor([&] { return Active() != 1; })) << "choosing the second row with " << left << " profiles";
        ClickAt(window, kDeleteProfileButton);
        ASSERT_TRUE(WaitFor([&] { return Profiles() == left - 1; })) << "Delete with " << left << " profiles";
        ASSERT_TRUE(WaitFor([&] { return Active() == 1; })) << "the first profile is not active after the delete";
    }
    ClickAt(window, kDeleteProfileButton);
    HWND message = WaitForMessageBox();
    ASSERT_NE(message, nullptr) << "deleting the last profile said nothing";
    Click(message, kBoxOnlyOk.x, kBoxOnlyOk.y);
    EXPECT_TRUE(WaitFor([&] { return ShownMessageBox() == nullptr; }));
    EXPECT_EQ(Profiles(), 1);
    EXPECT_EQ(Named("Profile 01"), 1);
    EXPECT_EQ(Active(), 1);
    Exit(window);
}

TEST_F(ProfileJourney, AnExportedProfileComesBackByImportAsANewProfileWithTheSameRows)
{
    HWND window = OpenProfileBar();
    ASSERT_NE(window, nullptr);
    // Rows that differ from a new profile's: the Dvorak preset on the base layer.
    ClickAt(window, kPresetCombo);
    HWND dropDown = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dropDown = FindProcessWindow(program->ProcessId(), L"ComboWnd")) != nullptr; }))
        << "the preset combo opened no drop-down";
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(dropDown, RECT{2, 2, 80, 120})) > 4; }));
    Click(dropDown, DropDownRow(2).x, DropDownRow(2).y);
    ASSERT_TRUE(WaitFor([&] {
        return Query("SELECT COUNT(*) FROM t_key_macro_data WHERE profile = 1 AND macro_value <> key_code") > 0;
    })) << "the preset changed no key";

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"tarnwell journey profile.xml";
    DeleteFileW(file.c_str());
    ASSERT_TRUE(ChooseFile(window, program->ProcessId(), kExportProfileButton, file)) << "no save dialog came";
    ASSERT_TRUE(WaitFor([&] { return FileWritten(file); })) << "the profile file was not written";

    const long long profiles = Query("SELECT COUNT(*) FROM t_profile_data");
    ASSERT_TRUE(ChooseFile(window, program->ProcessId(), kImportProfileButton, file)) << "no open dialog came";
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
    // The imported profile is the store's active one, and the list shows it.
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t_profile_data WHERE status = 1 AND profile = " + imported), 1);
    EXPECT_TRUE(WaitFor([&] { return Colours(Capture(window, RowArea(1))) > 2; })) << "the list shows no second row";
    DeleteFileW(file.c_str());
    Exit(window);
}

} // namespace
