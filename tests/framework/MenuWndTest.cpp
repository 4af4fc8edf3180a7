// Context menus: layout, the click report, what closes them, and that they
// delete themselves.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/PopupTestSupport.h"
#include "tests/support/Recorders.h"
#include "ui/framework/MenuExWnd.h"
#include "ui/framework/MenuItem.h"
#include "ui/framework/MenuWnd.h"

using VREL::MenuExWnd;
using VREL::MenuItem;
using VREL::MenuWnd;

namespace {

constexpr UINT kMenuMessage = WM_USER + 300;
const CPoint kMenuPoint(120, 100);

// Tells when the menu deletes itself.
class TestMenu : public MenuWnd
{
public:
    explicit TestMenu(bool* deleted) : MenuWnd(nullptr), m_deleted(deleted) { *deleted = false; }
    ~TestMenu() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

class TestMenuEx : public MenuExWnd
{
public:
    explicit TestMenuEx(bool* deleted) : MenuExWnd(nullptr), m_deleted(deleted) { *deleted = false; }
    ~TestMenuEx() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

CRect RowRect(MenuWnd* menu, UINT id) { return menu->GetControl(id)->GetRect(); }

// The real cursor goes where the messages say, so that mouse tracking and
// any move the system synthesises agree with them.
void MoveCursor(HWND hwnd, CPoint client)
{
    POINT screen = client;
    ::ClientToScreen(hwnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
}

void Click(HWND hwnd, CPoint down, CPoint up)
{
    MoveCursor(hwnd, down);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, PopupTest::Pack(down.x, down.y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PopupTest::Pack(down.x, down.y));
    MoveCursor(hwnd, up);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, PopupTest::Pack(up.x, up.y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, PopupTest::Pack(up.x, up.y));
}

} // namespace

TEST(Menu, SizesItselfToItsRowsAndWidensForLongTitles)
{
    bool deleted = false;
    TestMenu* menu = new TestMenu(&deleted);
    ASSERT_EQ(1, menu->Create(nullptr, kMenuPoint, kMenuMessage));
    HWND hwnd = menu->GetSafeHwnd();
    menu->AddMenu(L"Open", 11, -1, 0, 0);
    menu->AddMenu(L"Delete", 12, -1, 0, 0);
    EXPECT_EQ(CRect(120, 100, 420, 178), PopupTest::WindowRect(hwnd));
    EXPECT_EQ(CRect(5, 12, 295, 42), RowRect(menu, 11));
    EXPECT_EQ(CRect(5, 42, 295, 72), RowRect(menu, 12));

    menu->AddMenu(L"A title far too long for a menu that is only three hundred pixels wide", 13, -1, 0, 0);
    const int wide = menu->GetWidth();
    EXPECT_GT(wide, 300);
    EXPECT_EQ(CRect(120, 100, 120 + wide, 208), PopupTest::WindowRect(hwnd));
    EXPECT_EQ(CRect(5, 12, wide - 5, 42), RowRect(menu, 11));

    // Shorter titles never narrow it; a separator takes 4 pixels.
    menu->AddMenu(L"Rename", 14, -1, 0, 0);
    menu->AddSeparator(15, CString());
    EXPECT_EQ(wide, menu->GetWidth());
    EXPECT_EQ(CRect(120, 100, 120 + wide, 242), PopupTest::WindowRect(hwnd));
    EXPECT_EQ(CRect(6, 133, wide - 5, 134), RowRect(menu, 15));

    menu->CloseWindow();
    PopupTest::Pump();
    EXPECT_TRUE(deleted);
}

TEST(Menu, AClickPostsOneReportThenTheMenuDeletesItself)
{
    for (const bool withOwner : {true, false})
    {
        PopupTest::RecorderWindow owner;
        bool deleted = false;
        TestMenu* menu = new TestMenu(&deleted);
        ASSERT_EQ(1, menu->Create(withOwner ? owner.Hwnd() : nullptr, kMenuPoint, kMenuMessage));
        menu->AddMenu(L"Open", 11, -1, 0, 0);
        menu->AddMenu(L"Delete", 12, -1, 0, 0);
        HWND hwnd = menu->GetSafeHwnd();
        menu->ShowWindow(SW_SHOW);
        PopupTest::Pump();

        Click(hwnd, CPoint(150, 57), CPoint(150, 57));
        PopupTest::Pump();
        EXPECT_TRUE(deleted);
        EXPECT_FALSE(::IsWindow(hwnd));
        const auto posted = owner.MessagesOf(kMenuMessage);
        if (withOwner)
        {
            ASSERT_EQ(1u, posted.size());
            EXPECT_EQ(0u, posted[0].wParam);
            EXPECT_EQ(12, posted[0].lParam);
        }
        else
        {
            EXPECT_TRUE(posted.empty());
        }
    }
}

TEST(Menu, PressInsideAndReleaseOutsidePostsNothingAndStaysOpen)
{
    PopupTest::RecorderWindow owner;
    bool deleted = false;
    TestMenu* menu = new TestMenu(&deleted);
    ASSERT_EQ(1, menu->Create(owner.Hwnd(), kMenuPoint, kMenuMessage));
    menu->AddMenu(L"Open", 11, -1, 0, 0);
    menu->AddMenu(L"Delete", 12, -1, 0, 0);
    menu->ShowWindow(SW_SHOW);
    PopupTest::Pump();

    Click(menu->GetSafeHwnd(), CPoint(150, 27), CPoint(150, 300));
    PopupTest::Pump();
    EXPECT_TRUE(owner.MessagesOf(kMenuMessage).empty());
    ASSERT_FALSE(deleted);
    EXPECT_EQ(MenuItem::ROW_NORMAL, static_cast<MenuItem*>(menu->GetControl(11))->GetState());

    menu->CloseWindow();
    PopupTest::Pump();
    EXPECT_TRUE(deleted);
}

TEST(Menu, LosingActivationClosesItSilently)
{
    PopupTest::RecorderWindow owner;
    bool deleted = false;
    TestMenu* menu = new TestMenu(&deleted);
    ASSERT_EQ(1, menu->Create(owner.Hwnd(), kMenuPoint, kMenuMessage));
    menu->AddMenu(L"Open", 11, -1, 0, 0);
    menu->ShowWindow(SW_SHOW);
    ::SetActiveWindow(menu->GetSafeHwnd());
    PopupTest::Pump();
    ASSERT_FALSE(deleted);

    ::SetActiveWindow(owner.Hwnd());
    PopupTest::Pump();
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(owner.MessagesOf(kMenuMessage).empty());
}

TEST(Menu, QueuedChangesApplyToRowsThatExistWhenTheMenuIsCreated)
{
    PopupTest::RecorderWindow owner;
    bool deleted = false;
    TestMenu* menu = new TestMenu(&deleted);
    menu->AddMenu(L"Open", 11, -1, 0, 0);
    menu->AddMenu(L"Delete", 12, -1, 0, 0);
    menu->AddMenu(L"Rename", 13, -1, 0, 0);
    menu->SetItemTitle(L"Open", L"Open file");
    menu->SetItemEnable(L"12", FALSE);
    menu->SetItemCheck(L"11", 1);
    menu->SetItemVisible(L"13", FALSE);
    menu->SetItemVisible(L"99", FALSE);
    ASSERT_EQ(1, menu->Create(owner.Hwnd(), kMenuPoint, kMenuMessage));

    auto* open = static_cast<MenuItem*>(menu->GetControl(11));
    auto* remove = static_cast<MenuItem*>(menu->GetControl(12));
    EXPECT_EQ(CString(L"Open file"), open->GetTitle());
    // A queued check leaves the row's check and its enabled state alone.
    EXPECT_EQ(0, open->GetCheck());
    EXPECT_EQ(1, open->IsEnabled());
    EXPECT_EQ(0, remove->IsEnabled());
    EXPECT_EQ(MenuItem::ROW_DISABLED, remove->GetState());
    EXPECT_EQ(0, menu->GetControl(13)->IsVisible());
    EXPECT_EQ(78, PopupTest::WindowRect(menu->GetSafeHwnd()).Height());

    // A disabled row reports nothing.
    menu->ShowWindow(SW_SHOW);
    PopupTest::Pump();
    Click(menu->GetSafeHwnd(), CPoint(150, 57), CPoint(150, 57));
    PopupTest::Pump();
    EXPECT_TRUE(owner.MessagesOf(kMenuMessage).empty());
    menu->CloseWindow();
    PopupTest::Pump();
    EXPECT_TRUE(deleted);
}

TEST(Menu, EnablingARowRestsItAndRepaintsItsCells)
{
    testsupport::RecordingOwner owner;
    MenuItem row(&owner, 7, CRect(5, 12, 295, 42), L"Open", 1, 1);
    row.SetControlCheck(1);
    struct Step
    {
        int enabled;
        int state;
    };
    // Disabled shows frame 3; enabled again, a checked row rests on frame 2.
    for (const Step step : {Step{0, MenuItem::ROW_DISABLED}, Step{1, MenuItem::ROW_PRESSED}})
    {
        owner.Clear();
        row.SetControlEnabled(step.enabled);
        EXPECT_EQ(step.state, row.GetState());
        ASSERT_EQ(1u, owner.repaints.size());
        EXPECT_EQ(1, owner.repaints[0].redraw);
    }
    // A disabled row takes no press.
    row.SetControlEnabled(0);
    owner.Clear();
    EXPECT_EQ(0, row.OnControlLButtonDown(MK_LBUTTON, CPoint(50, 20)));
    EXPECT_EQ(0, row.OnControlLButtonUp(0, CPoint(50, 20)));
    EXPECT_TRUE(owner.reports.empty());
}

TEST(MenuEx, RunsWithoutAnItemListAndReportsItemData)
{
    PopupTest::RecorderWindow owner;
    bool deleted = false;
    TestMenuEx* menu = new TestMenuEx(&deleted);
    ASSERT_EQ(1, menu->Create(owner.Hwnd(), CRect(100, 100, 300, 260), kMenuMessage, CString()));
    menu->AddItem(L"Play", L"Media", 42, CString());
    // The list reports a chosen item as (100, clicked, item data).
    menu->OnBaseMessage(MenuExWnd::kListId, 2, 42, 0);
    PopupTest::Pump();
    EXPECT_TRUE(deleted);
    const auto posted = owner.MessagesOf(kMenuMessage);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(42u, posted[0].wParam);
    EXPECT_EQ(100, posted[0].lParam);
}
