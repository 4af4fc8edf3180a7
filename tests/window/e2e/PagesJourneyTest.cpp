// Journeys through the window's pages and languages, run against the real
// program and the simulated keyboard: every page is shown and photographed
// into screenshots/pages/, and the language radios change every caption and
// the stored language, and change them back.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;

// Places in the 1380 x 800 window.
constexpr POINT kSettingsButton = {1281, 25};
constexpr POINT kEnterButton = {690, 620};
constexpr POINT kHomeButton = {113, 25};
constexpr POINT kPolishRadio = {632, 251};
constexpr POINT kEnglishRadio = {462, 251};
// The tab strip's items, 120 wide from the strip's left edge.
constexpr int kTabLeft = 450;
constexpr int kTabWidth = 120;
constexpr int kTabY = 25;
// The system settings page's headings and the texts of its check boxes and
// radios (no box or radio picture inside, so only the words differ).
constexpr RECT kSystemTexts = {450, 200, 550, 236};
constexpr RECT kStartupTexts = {480, 296, 950, 362};
constexpr RECT kExitTexts = {480, 428, 950, 530};

// The macro page: its new-macro button, the first macro row's more button
// and the event list's first row; the insert menu (170 wide) starts with the
// left click. The lighting page's music mode tile.
constexpr POINT kNewMacro = {96, 745};
constexpr POINT kMacroMore = {264, 150};
constexpr RECT kFirstMacroRow = {40, 134, 250, 166};
constexpr RECT kFirstEventRow = {320, 163, 700, 195};
constexpr UINT ID_INSERT_BUTTON = 93;
constexpr UINT NOTIFY_CLICKED = 2;
constexpr int kInsertMenuWidth = 170;
constexpr int kInsertLeftClickRow = 0;
constexpr POINT kInsertMenuPlace = {540, 560};
constexpr POINT kMusicTile = {360, 730};
constexpr RECT kMusicControls = {570, 520, 1130, 646};

bool Changed(HWND window, const RECT& area, const std::vector<DWORD>& before)
{
    return WaitFor([&] { return Capture(window, area) != before; });
}

void ClickAt(HWND window, POINT at) { Click(window, at.x, at.y); }

// The keys page is pictured once its profile bar lists the first profile.
bool ProfileBarFilled(HWND window)
{
    const POINT row = ProfileRow(0);
    return WaitFor([&] { return Colours(Capture(window, RECT{row.x - 50, row.y - 10, row.x + 50, row.y + 10})) > 2; });
}

class PagesJourney : public ProgramJourney
{
protected:
    void Shoot(HWND window, const wchar_t* name)
    {
        EXPECT_FALSE(SaveScreenshot(window, name).empty()) << "no screenshot of " << std::string(name, name + wcslen(name));
    }
    // The macro page (shown) with a new macro, its more menu open, the insert
    // menu open, and the page with the events that menu inserted.
    void ShootMacroMenus(HWND window, const std::wstring& suffix)
    {
        const std::vector<DWORD> noMacro = Capture(window, kFirstMacroRow);
        ClickAt(window, kNewMacro);
        ASSERT_TRUE(Changed(window, kFirstMacroRow, noMacro)) << "no macro was added";
        POINT screen = kMacroMore;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        // The more button shows once the new row has painted: pressed until
        // the menu opens.
        HWND menu = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            ClickAt(window, kMacroMore);
            return WaitFor([&] { return (menu = FindProcessWindow(program->ProcessId(), L"Menu Window")) != nullptr; },
                           1000);
        })) << "the macro menu did not open";
        menu = WaitForMenu(program->ProcessId());
        ASSERT_NE(menu, nullptr) << "the macro menu did not paint";
        Shoot(window, (L"macro_menu" + suffix).c_str());
        PostMessageW(menu, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(menu); }));

        // The insert button has no place of its own yet: its menu opens above
        // the window's corner, and is brought over the page for the picture.
        SendControlNotify(window, ID_INSERT_BUTTON, NOTIFY_CLICKED);
        const DWORD process = program->ProcessId();
        ASSERT_TRUE(WaitFor([&] { return (menu = FindProcessWindow(process, L"Menu Window")) != nullptr; }))
            << "the insert menu did not open";
        RECT main;
        GetWindowRect(window, &main);
        SetWindowPos(menu, nullptr, main.left + kInsertMenuPlace.x, main.top + kInsertMenuPlace.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        menu = WaitForMenu(program->ProcessId());
        ASSERT_NE(menu, nullptr) << "the insert menu did not paint";
        Shoot(menu, (L"insert_menu" + suffix).c_str());
        const std::vector<DWORD> empty = Capture(window, kFirstEventRow);
        ASSERT_TRUE(ChooseMenuRow(program->ProcessId(), kInsertMenuWidth, kInsertLeftClickRow));
        ASSERT_TRUE(Changed(window, kFirstEventRow, empty)) << "the insert menu inserted no events";
        Shoot(window, (L"macro_events" + suffix).c_str());
    }
    // The lighting page (shown) in its music mode.
    void ShootMusicPage(HWND window, const std::wstring& suffix)
    {
        ASSERT_TRUE(WaitFor([&] {
            return Colours(Capture(window, RECT{kMusicTile.x - 40, kMusicTile.y - 10, kMusicTile.x + 40,
                                                kMusicTile.y + 10})) > 4;
        })) << "the music tile never showed";
        const std::vector<DWORD> before = Capture(window, kMusicControls);
        ClickAt(window, kMusicTile);
        ASSERT_TRUE(Changed(window, kMusicControls, before)) << "the music controls did not show";
        Shoot(window, (L"music" + suffix).c_str());
    }
    void Exit(HWND window)
    {
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
    }
};

TEST_F(PagesJourney, EveryPageShowsAndIsPhotographed)
{
    // Without a keyboard the window stays on the home page.
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return sim.Count("enumerate") >= 1; }));
    const std::vector<DWORD> hiddenStrip = Capture(window, kTabStrip);
    EXPECT_GT(Colours(Capture(window, RECT{540, 600, 840, 640})), 2u) << "the home page's button shows nothing";
    Shoot(window, L"home");

    // The keyboard arrives: the device pages open on the keys page.
    ASSERT_TRUE(sim.SetDevices({SimDevice{}}));
    ASSERT_TRUE(Changed(window, kTabStrip, hiddenStrip)) << "the tab strip never showed";
    Shoot(window, L"keys");

    struct Tab
    {
        int index;
        const wchar_t* name;
    };
    // Each tab's page differs from the page before it.
    const Tab tabs[] = {{1, L"lighting"}, {2, L"macro"}, {3, L"settings"}, {0, L"keys"}};
    const RECT page = {1, 60, 1379, 799};
    for (const Tab& tab : tabs) {
        SCOPED_TRACE(std::string(tab.name, tab.name + wcslen(tab.name)));
        const std::vector<DWORD> before = Capture(window, page);
        Click(window, kTabLeft + kTabWidth * tab.index + kTabWidth / 2, kTabY);
        EXPECT_TRUE(Changed(window, page, before));
        if (tab.index == 0) {
            EXPECT_TRUE(ProfileBarFilled(window)) << "the profile bar lists no profile";
        }
        Shoot(window, tab.name);
    }

    Click(window, kTabLeft + kTabWidth * 1 + kTabWidth / 2, kTabY);
    ShootMusicPage(window, L"");
    Click(window, kTabLeft + kTabWidth * 2 + kTabWidth / 2, kTabY);
    ShootMacroMenus(window, L"");
    const std::vector<DWORD> macroPage = Capture(window, page);
    Click(window, kTabLeft + kTabWidth / 2, kTabY);
    EXPECT_TRUE(Changed(window, page, macroPage));

    const std::vector<DWORD> keysPage = Capture(window, page);
    ClickAt(window, kSettingsButton);
    EXPECT_TRUE(Changed(window, page, keysPage));
    EXPECT_GT(Colours(Capture(window, kSystemTexts)), 2u) << "the language heading is empty";
    Shoot(window, L"system_settings");
    Exit(window);
}

// The device pages in Polish, whose words are the longest the pages show.
TEST_F(PagesJourney, EveryDevicePageInPolishIsPhotographed)
{
    WriteRegistryValue(L"LCID", L"1045");
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    // The keyboard is there from the start: the pages open on the keys page.
    ASSERT_TRUE(WaitFor([&] { return Colours(Capture(window, kTabStrip)) > 8; })) << "the tab strip never showed";
    const RECT page = {1, 60, 1379, 799};
    const struct
    {
        int index;
        const wchar_t* name;
    } tabs[] = {{0, L"keys_pl"}, {1, L"lighting_pl"}, {2, L"macro_pl"}, {3, L"settings_pl"}};
    for (const auto& tab : tabs) {
        const std::vector<DWORD> before = Capture(window, page);
        Click(window, kTabLeft + kTabWidth * tab.index + kTabWidth / 2, kTabY);
        if (tab.index != 0) {
            EXPECT_TRUE(Changed(window, page, before));
        } else {
            EXPECT_TRUE(ProfileBarFilled(window)) << "the profile bar lists no profile";
        }
        Shoot(window, tab.name);
    }
    Click(window, kTabLeft + kTabWidth * 1 + kTabWidth / 2, kTabY);
    ShootMusicPage(window, L"_pl");
    Click(window, kTabLeft + kTabWidth * 2 + kTabWidth / 2, kTabY);
    ShootMacroMenus(window, L"_pl");
    Exit(window);
}

TEST_F(PagesJourney, LanguageRadiosChangeEveryCaptionAndTheStoredLanguageAndBack)
{
    WriteRegistryValue(L"LCID", L"1033");
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    std::wstring lcid;
    ASSERT_TRUE(WaitFor([&] { return ReadRegistryValue(L"LCID", lcid) && lcid == L"1033"; }));

    const RECT page = {1, 60, 1379, 799};
    const std::vector<DWORD> home = Capture(window, page);
    ClickAt(window, kSettingsButton);
    ASSERT_TRUE(Changed(window, page, home));
    const RECT areas[] = {kSystemTexts, kStartupTexts, kExitTexts};
    std::vector<std::vector<DWORD>> english;
    for (const RECT& area : areas)
        english.push_back(Capture(window, area));

    ClickAt(window, kPolishRadio);
    EXPECT_TRUE(WaitFor([&] { return ReadRegistryValue(L"LCID", lcid) && lcid == L"1045"; }))
        << "LCID " << std::string(lcid.begin(), lcid.end());
    for (size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Changed(window, areas[i], english[i])) << "the caption kept its English text";
        EXPECT_GT(Colours(Capture(window, areas[i])), 2u) << "the caption went empty";
    }
    Shoot(window, L"system_settings_pl");

    // The home page in Polish, then back to the system settings.
    const std::vector<DWORD> systemPage = Capture(window, page);
    ClickAt(window, kHomeButton);
    EXPECT_TRUE(Changed(window, page, systemPage));
    Shoot(window, L"home_pl");
    const std::vector<DWORD> homePage = Capture(window, page);
    ClickAt(window, kSettingsButton);
    EXPECT_TRUE(Changed(window, page, homePage));

    ClickAt(window, kEnglishRadio);
    EXPECT_TRUE(WaitFor([&] { return ReadRegistryValue(L"LCID", lcid) && lcid == L"1033"; }))
        << "LCID " << std::string(lcid.begin(), lcid.end());
    for (size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(WaitFor([&] { return Capture(window, areas[i]) == english[i]; }))
            << "the caption did not come back to its English text";
    }
    Exit(window);
}

// Without a keyboard the way into the device pages answers with the
// program's message box; its OK button closes it and the window goes on, and
// a keyboard plugged in while it shows closes it too.
TEST_F(PagesJourney, EnteringWithoutAKeyboardShowsTheMessageBoxUntilItsButtonOrTheKeyboardClosesIt)
{
    sim.Reset({});
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return sim.Count("enumerate") >= 1; }));
    ClickAt(window, kEnterButton);
    HWND box = nullptr;
    ASSERT_TRUE((box = WaitForMessageBox()) != nullptr) << "no message box";
    // 500 x 260, centred on the main window.
    EXPECT_TRUE(WaitCentredOn(box, window)) << "the box is not centred on the window";
    RECT rect = {};
    GetWindowRect(box, &rect);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_EQ(rect.bottom - rect.top, 260);
    SaveScreenshot(box, L"message_box");
    // The one button, OK, in the middle of the bottom row.
    Click(box, 250, 228);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); })) << "OK did not close the box";
    EXPECT_TRUE(program->Running());

    // Asked again, the box is closed by the keyboard's arrival, and the
    // device pages open.
    ClickAt(window, kEnterButton);
    ASSERT_TRUE((box = WaitForMessageBox()) != nullptr) << "no message box the second time";
    const std::vector<DWORD> hiddenStrip = Capture(window, kTabStrip);
    ASSERT_TRUE(sim.SetDevices({SimDevice{}}));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        << "the keyboard's arrival did not close the box";
    EXPECT_TRUE(Changed(window, kTabStrip, hiddenStrip)) << "the device pages did not open";
    Exit(window);
}

} // namespace
