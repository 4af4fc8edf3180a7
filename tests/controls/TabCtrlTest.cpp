// The tab strip: selection and its notification, pages, layout of the two
// kinds, hidden and deleted tabs, the slide, pointer input and page panels.

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/controls/SliderTabTestSupport.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

using namespace VREL;
using slidertest::ColourControl;
using slidertest::HostDialog;
using slidertest::RecordingOwner;
using slidertest::Report;

namespace {

constexpr UINT kStripId = 52;
constexpr COLORREF kPageColours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 160, 0), RGB(200, 200, 0)};

// A strip whose pages are its own sub-controls, as pages made by
// CreatePanel are, and which can be given a tab-button image.
class TestTabCtrl : public MTabCtrl
{
public:
    using MTabCtrl::MTabCtrl;

    ColourControl* AddPage(int index, CRect rect)
    {
        auto* page = new ColourControl(this, 100 + index, rect, kPageColours[index % 4], 0);
        AddSubControl(CONTROL_KIND_CONTROL, page);
        return page;
    }
    void SetTabButton(Gdiplus::Image* image, int width, int height)
    {
        m_pTabButtonImage = image;
        m_tabButtonWidth = width;
        m_tabButtonHeight = height;
    }
};

// A horizontal strip of `count` text tabs 100 wide and 40 high over a page
// area, each tab with a page below the tabs.
struct Strip
{
    explicit Strip(int count, CRect rect = CRect(0, 0, 400, 200), MObject* parent = nullptr)
        : strip(parent ? parent : &owner, kStripId, rect, 1, 1)
    {
        strip.SetTabCtrlHeight(40);
        for (int i = 0; i < count; ++i)
        {
            ColourControl* page = strip.AddPage(i, CRect(rect.left, rect.top + 40, rect.right, rect.bottom));
            pages.push_back(page);
            strip.InsertItem(static_cast<UINT>(10 + i), L"Tab", L"", page, -1, 100);
        }
    }
    int Left(int index) { return strip.GetItemInfo(index)->rcItem.left; }
    int Width(int index)
    {
        const RECT& rc = strip.GetItemInfo(index)->rcItem;
        return rc.right - rc.left;
    }

    RecordingOwner owner;
    TestTabCtrl strip;
    std::vector<ColourControl*> pages;
};

} // namespace

// The owner hears of the new tab while the old page still shows and the new
// one is still hidden; the pages switch afterwards.
TEST(TabCtrl, SelectionNotifiesBeforeThePagesSwitch)
{
    Strip s(3);
    std::vector<std::pair<int, int>> seen;  // (new page visible, old page visible) at the report
    int oldIndex = -1;
    s.owner.onReport = [&](const Report& r) {
        if (r.code == NC_CLICKED)
            seen.emplace_back(s.pages[r.wParam]->IsVisible(), oldIndex >= 0 ? s.pages[oldIndex]->IsVisible() : 0);
    };

    EXPECT_EQ(s.strip.SetSelectItem(0), -1);
    oldIndex = 0;
    EXPECT_EQ(s.strip.SetSelectItem(2), 0);

    ASSERT_EQ(s.owner.reports.size(), 2u);
    EXPECT_EQ(s.owner.reports[1], (Report{kStripId, NC_CLICKED, 2, 0}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(0, 1));
    EXPECT_EQ(s.pages[2]->IsVisible(), 1);
    EXPECT_EQ(s.pages[0]->IsVisible(), 0);
    EXPECT_EQ(s.pages[1]->IsVisible(), 0);
}

TEST(TabCtrl, InvalidIndexesAreIgnored)
{
    Strip s(3);
    s.strip.SetSelectItem(1);
    s.owner.Clear();
    for (int index : {1, -1, 3, 99})
        EXPECT_EQ(s.strip.SetSelectItem(index), 1) << index;
    EXPECT_TRUE(s.owner.reports.empty());

    EXPECT_EQ(s.strip.GetItemInfo(3), nullptr);
    EXPECT_EQ(s.strip.GetItemID(-1), 0u);
    EXPECT_EQ(s.strip.GetItemID(2), 12u);
    EXPECT_EQ(s.strip.SetItemText(3, L"x"), 0);
    EXPECT_EQ(s.strip.GetItemVisible(3), 0);
    s.strip.SetItemVisible(3, 0);
    s.strip.DeleteItem(-1);
    s.strip.SetTabTooltip(7, L"tip");
    s.strip.SetTabTooltip(-1, L"tip");
    EXPECT_EQ(s.strip.GetItemCount(), 3);
    EXPECT_EQ(s.strip.GetSelectItem(), 1);
}

// Four tabs on a strip 400 wide without padding share 100 pixels each.
TEST(TabCtrl, SharedItemWidth)
{
    struct Case
    {
        int width;
        int minimum;
        int expected;
    };
    const Case cases[] = {
        {120, 120, 120},  // the share is below the minimum
        {80, 50, 80},     // the request is below the share
        {150, 50, 100},   // the share is below the request
        {150, 0, 150},    // no minimum: always the request
    };
    for (const Case& c : cases)
    {
        Strip s(4);
        s.strip.SetItemWidth(c.width, c.minimum, 1);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_EQ(s.Width(i), c.expected) << c.width << "/" << c.minimum;
            EXPECT_EQ(s.Left(i), i * c.expected);
        }
    }
}

TEST(TabCtrl, VerticalTabsStandOnePixelApartAfterARelayout)
{
    RecordingOwner owner;
    MTabCtrl strip(&owner, kStripId, CRect(0, 0, 60, 300), 1, 1);
    strip.SetTabType(TAB_TYPE_VERTICAL);
    strip.SetTabCtrlWidth(60);
    strip.SetTabCtrlHeight(50);
    for (int i = 0; i < 3; ++i)
        strip.InsertItem(static_cast<UINT>(i), L"", L"test_tab_icon.png", nullptr, -1, 0);
    strip.InsertItem(3, L"", L"test_tab_icon.png", nullptr, 0, 0);  // a strip has frames: the default 3
    EXPECT_EQ(strip.GetItemInfo(3)->nFrameCount, 3);
    EXPECT_EQ(strip.GetItemInfo(3)->nFrameWidth, 16);
    strip.RefreshItems();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(strip.GetItemInfo(i)->rcItem.top, i * 51);
        EXPECT_EQ(strip.GetItemInfo(i)->rcItem.bottom, i * 51 + 50);
    }
}

TEST(TabCtrl, HiddenTabLeavesNoGap)
{
    // A strip no higher than its tabs: the pages lie outside it.
    Strip s(3, CRect(0, 0, 400, 40));
    s.strip.SetItemVisible(1, 0);
    EXPECT_TRUE(CRect(s.strip.GetItemInfo(1)->rcItem).IsRectEmpty());
    EXPECT_EQ(s.Left(2), 100);

    // Drawn: the select bar of the third tab lies where the second would be.
    s.strip.SetSelectItem(2);
    DibCanvas canvas(400, 40, 0xFF000000);
    s.strip.Draw(canvas.Dc(), CRect(0, 0, 400, 40));
    const uint32_t select = RgbOf(Manager::m_select_color);
    EXPECT_EQ(canvas.Rgb(150, 40 - 3), select);
    EXPECT_NE(canvas.Rgb(250, 40 - 3), select);
}

// A selection made by the program moves the select bar on the next paint.
TEST(TabCtrl, ProgramSelectionMovesTheSelectBar)
{
    Strip s(3, CRect(0, 0, 300, 40));
    s.strip.SetSelectItem(0);
    DibCanvas canvas(300, 40, 0xFF000000);
    s.strip.Draw(canvas.Dc(), CRect(0, 0, 300, 40));
    const uint32_t select = RgbOf(Manager::m_select_color);
    EXPECT_EQ(canvas.Rgb(50, 40 - 3), select);

    s.strip.SetSelectItem(2);
    canvas.Fill(0xFF000000);
    s.strip.Draw(canvas.Dc(), CRect(0, 0, 300, 40));
    EXPECT_NE(canvas.Rgb(50, 40 - 3), select);
    EXPECT_EQ(canvas.Rgb(250, 40 - 3), select);
}

TEST(TabCtrl, HidingTheSelectedTabKeepsItAndItsPage)
{
    Strip s(3);
    s.strip.SetSelectItem(1);
    s.strip.SetItemVisible(1, 0);
    EXPECT_EQ(s.strip.GetSelectItem(), 1);
    EXPECT_EQ(s.pages[1]->IsVisible(), 1);
}

TEST(TabCtrl, DeletingTheSelectedLastTabMovesToTheLastVisibleSilently)
{
    struct Case
    {
        std::vector<int> hidden;
        int expected;
    };
    const Case cases[] = {{{}, 1}, {{1}, 0}, {{0, 1}, -1}};
    for (const Case& c : cases)
    {
        Strip s(3);
        s.strip.SetSelectItem(2);
        for (int index : c.hidden)
            s.strip.SetItemVisible(index, 0);
        s.owner.Clear();
        s.strip.DeleteItem(2);
        EXPECT_EQ(s.strip.GetItemCount(), 2);
        EXPECT_EQ(s.strip.GetSelectItem(), c.expected);
        EXPECT_EQ(s.owner.CountCode(NC_CLICKED), 0);
    }
}

TEST(TabCtrl, DeletedPageThatIsASubControlIsDeleted)
{
    Strip s(2);
    const size_t children = s.strip.GetControls()->size();
    s.strip.DeleteItem(0);
    EXPECT_EQ(s.strip.GetControls()->size(), children - 1);
    EXPECT_EQ(s.strip.GetItemID(0), 11u);
}

TEST(TabCtrl, ClickSelectsOnlyAHoveredTab)
{
    Strip s(3);
    s.strip.OnLButtonDown(MK_LBUTTON, CPoint(150, 20));
    EXPECT_EQ(s.strip.GetSelectItem(), -1);

    s.strip.OnMouseMove(0, CPoint(150, 20));
    EXPECT_EQ(s.strip.GetHoverItem(), 1);
    s.strip.OnLButtonDown(MK_LBUTTON, CPoint(150, 20));
    EXPECT_EQ(s.strip.GetSelectItem(), 1);
    EXPECT_EQ(s.owner.CountCode(NC_CLICKED), 1);

    // The selected tab again: no report, but a repaint.
    s.owner.Clear();
    s.strip.OnMouseMove(0, CPoint(160, 20));
    s.strip.OnLButtonDown(MK_LBUTTON, CPoint(160, 20));
    EXPECT_EQ(s.owner.CountCode(NC_CLICKED), 0);
    EXPECT_FALSE(s.owner.repaints.empty());
}

// Three tabs 100 wide across the top 40 pixels of a strip 400 x 200: the
// pointer belongs to the strip over a visible tab and over the page area,
// and passes through the empty rest of the tab row.
TEST(TabCtrl, HitTestLetsThePointerThroughBesideTheTabs)
{
    struct Case
    {
        const char* name;
        int hidden;  // a tab taken out of the layout, or -1
        CPoint pt;
        int result;
    };
    const Case cases[] = {
        {"on a tab", -1, CPoint(150, 20), 1},
        {"right of the last tab", -1, CPoint(350, 20), 0},
        {"page area", -1, CPoint(350, 100), 1},
        {"where the moved last tab ended", 1, CPoint(250, 20), 0},
        {"on the moved last tab", 1, CPoint(150, 20), 1},
    };
    for (const Case& c : cases)
    {
        Strip s(3);
        if (c.hidden >= 0)
            s.strip.SetItemVisible(c.hidden, 0);
        EXPECT_EQ(s.strip.OnCheckMouseResponse(0, c.pt), c.result) << c.name;
    }
}

TEST(TabCtrl, ReleaseOnTheTopOrLeftEdgeIsIgnored)
{
    struct Case
    {
        CPoint pt;
        bool repaint;
    };
    const Case cases[] = {{CPoint(10, 10), true}, {CPoint(0, 10), false}, {CPoint(10, 0), false},
                          {CPoint(-5, 10), false}};
    for (const Case& c : cases)
    {
        Strip s(2);
        s.owner.Clear();
        EXPECT_EQ(s.strip.OnControlLButtonUp(0, c.pt), 0);
        EXPECT_EQ(!s.owner.repaints.empty(), c.repaint) << c.pt.x << "," << c.pt.y;
    }
}

TEST(TabCtrl, TabButtonPressReportsItsTab)
{
    Strip s(2);
    Gdiplus::Bitmap button(10, 10);
    s.strip.SetTabButton(&button, 10, 10);
    s.strip.RefreshItems();
    // Second tab's button: 3 pixels in from its right edge, 6 below the top.
    EXPECT_EQ(CRect(s.strip.GetItemInfo(1)->rcTabButton), CRect(187, 6, 197, 16));
    s.strip.OnLButtonDown(MK_LBUTTON, CPoint(190, 10));
    ASSERT_FALSE(s.owner.reports.empty());
    EXPECT_EQ(s.owner.reports.back(), (Report{kStripId, NC_ICON_OR_TAB, 1, 0}));
    EXPECT_EQ(s.strip.GetItemInfo(1)->nTabButtonState, 2);
    s.strip.SetTabButton(nullptr, 0, 0);
}

// Without a window there is no timer to move a slide: the new page shows at
// once instead of the old one staying frozen in place.
TEST(TabCtrl, SlideNeedsATimer)
{
    Strip s(2);
    s.strip.EnableAnimateChangeTab(1);
    s.strip.SetSelectItem(0);
    s.strip.SetSelectItem(1);
    EXPECT_EQ(s.strip.IsSliding(), 0);
    DibCanvas canvas(400, 200, 0xFF000000);
    s.strip.Draw(canvas.Dc(), CRect(0, 0, 400, 200));
    EXPECT_EQ(canvas.Rgb(200, 120), RgbOf(kPageColours[1]));
}

TEST(TabCtrl, CreatePanelKnowsOnlyTabLayouts)
{
    RecordingOwner owner;
    MTabCtrl strip(&owner, kStripId, CRect(0, 0, 400, 200), 1, 1);
    MControl* page = strip.CreatePanel(L"MTabLayout", 54, CRect(0, 40, 400, 200));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(strip.GetControls()->size(), 1u);
    EXPECT_EQ(strip.GetControls()->front(), page);
    EXPECT_EQ(strip.CreatePanel(L"MPanel", 55, CRect()), nullptr);
    EXPECT_EQ(strip.CreatePanel(L"", 56, CRect()), nullptr);
    EXPECT_EQ(strip.CreatePanel(nullptr, 57, CRect()), nullptr);
    EXPECT_EQ(strip.GetControls()->size(), 1u);
}

// ---- the slide, on a window whose timer drives it ----

class TabSlide : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(dialog.Open(500, 300), nullptr); }
    void TearDown() override { dialog.DestroyWindow(); }

    TestTabCtrl* MakeStrip(CRect rect, int tabs)
    {
        auto* strip = dialog.Add(new TestTabCtrl(&dialog, kStripId, rect, 1, 1));
        strip->SetTabCtrlHeight(40);
        for (int i = 0; i < tabs; ++i)
        {
            ColourControl* page = strip->AddPage(i, CRect(rect.left, rect.top + 40, rect.right, rect.bottom));
            strip->InsertItem(static_cast<UINT>(i), L"", L"", page, -1, 100);
        }
        strip->EnableAnimateChangeTab(1);
        return strip;
    }
    // Ticks until the slide ends; the number of ticks it took.
    static int TicksToFinish(MTabCtrl& strip)
    {
        int ticks = 0;
        while (strip.IsSliding() && ticks < 1000)
        {
            EXPECT_EQ(strip.OnTimer(), 1);
            ++ticks;
        }
        return ticks;
    }

    HostDialog dialog;
};

TEST_F(TabSlide, FirstSelectionShowsItsPageAtOnce)
{
    TestTabCtrl* strip = MakeStrip(CRect(0, 0, 400, 200), 2);
    strip->SetSelectItem(0);
    EXPECT_EQ(strip->IsSliding(), 0);

    DibCanvas canvas(400, 200, 0xFF000000);
    strip->Draw(canvas.Dc(), CRect(0, 0, 400, 200));
    EXPECT_EQ(canvas.Rgb(200, 120), RgbOf(kPageColours[0]));
}

TEST_F(TabSlide, SlideEndsOnTheTickThatCoversTheWidth)
{
    struct Case
    {
        int width;
        int from;
        int to;
        int ticks;
    };
    const Case cases[] = {
        {400, 0, 1, 10},  // 40 per tick
        {405, 0, 1, 11},  // still 40 per tick: the tenth leaves 5 pixels
        {400, 1, 0, 10},  // backwards
        {5, 0, 1, 5},     // a step that would round to 0 moves a pixel
    };
    for (const Case& c : cases)
    {
        TestTabCtrl* strip = MakeStrip(CRect(0, 0, c.width, 200), 2);
        strip->SetSelectItem(c.from);
        strip->SetSelectItem(c.to);
        ASSERT_EQ(strip->IsSliding(), 1) << c.width;
        EXPECT_EQ(TicksToFinish(*strip), c.ticks) << c.width;
        EXPECT_EQ(strip->OnTimer(), 0);
        dialog.Manager().RemoveControl(strip);
    }
}

// The slide's window timer runs while it slides and is stopped when it ends.
TEST_F(TabSlide, FinishedSlideStopsItsTimer)
{
    TestTabCtrl* strip = MakeStrip(CRect(0, 0, 400, 200), 2);
    strip->SetSelectItem(0);
    strip->SetSelectItem(1);
    auto ticksWithin = [&](DWORD ms) {
        int ticks = 0;
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms)
        {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            {
                ticks += (msg.message == WM_TIMER) ? 1 : 0;
                ::DispatchMessageW(&msg);
            }
            ::Sleep(5);
        }
        return ticks;
    };
    EXPECT_GT(ticksWithin(150), 0);
    TicksToFinish(*strip);
    ticksWithin(50);  // one already queued may still arrive
    EXPECT_EQ(ticksWithin(200), 0);
}

// Half way through a slide to a higher tab the old page has moved half out
// to the left and the new page fills the right half.
TEST_F(TabSlide, SlideFrameShowsBothPages)
{
    TestTabCtrl* strip = MakeStrip(CRect(0, 0, 400, 200), 2);
    strip->SetSelectItem(0);
    strip->SetSelectItem(1);
    for (int i = 0; i < 5; ++i)
        strip->OnTimer();
    EXPECT_EQ(strip->GetSlideOffset(), 200);

    DibCanvas canvas(400, 200, 0xFF000000);
    strip->Draw(canvas.Dc(), CRect(0, 0, 400, 200));
    EXPECT_EQ(canvas.Rgb(100, 120), RgbOf(kPageColours[0]));
    EXPECT_EQ(canvas.Rgb(300, 120), RgbOf(kPageColours[1]));

    TicksToFinish(*strip);
    canvas.Fill(0xFF000000);
    strip->SetUpdate(0, 0);
    strip->Draw(canvas.Dc(), CRect(0, 0, 400, 200));
    EXPECT_EQ(canvas.Rgb(100, 120), RgbOf(kPageColours[1]));
}

// When a worker thread selects the tab, the owner's handler runs on that
// thread, still before the pages switch.
TEST_F(TabSlide, SelectionFromAnotherThreadReportsOnThatThread)
{
    TestTabCtrl* strip = MakeStrip(CRect(0, 0, 400, 200), 2);
    strip->EnableAnimateChangeTab(0);
    strip->SetSelectItem(0);
    RecordingOwner owner;
    strip->SetParent(&owner);
    DWORD reportThread = 0;
    int newPageVisibleAtReport = -1;
    owner.onReport = [&](const Report&) {
        reportThread = ::GetCurrentThreadId();
        newPageVisibleAtReport = strip->GetItemInfo(1)->pPage->IsVisible();
    };
    DWORD workerThread = 0;
    std::thread worker([&] {
        workerThread = ::GetCurrentThreadId();
        strip->SetSelectItem(1);
    });
    worker.join();
    strip->SetParent(&dialog);
    EXPECT_EQ(reportThread, workerThread);
    EXPECT_EQ(newPageVisibleAtReport, 0);
    EXPECT_EQ(strip->GetItemInfo(1)->pPage->IsVisible(), 1);
}
