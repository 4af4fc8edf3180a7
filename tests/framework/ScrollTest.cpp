// The scroll bars: thumb geometry from range, page and length, paging and
// dragging with the position they report, row steps, and what a bar with an
// empty range or a very short track does.

#include <gtest/gtest.h>

#include "tests/framework/CoreTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/MScroll.h"

using namespace coretest;

namespace {

// Records, with each report, whether the bar said it was changing.
class BarOwner : public RecordingOwner
{
public:
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        changingDuringReport.push_back(bar ? bar->IsChangeing() : -1);
        return RecordingOwner::OnBaseMessage(id, code, wParam, lParam);
    }
    VREL::MScroll* bar = nullptr;
    std::vector<int> changingDuringReport;
};

std::vector<WPARAM> ReportedPositions(const RecordingOwner& owner)
{
    std::vector<WPARAM> positions;
    for (const Report& n : owner.reports)
    {
        EXPECT_EQ(n.code, static_cast<UINT>(VREL::NC_SCROLL));
        positions.push_back(n.wParam);
    }
    return positions;
}

} // namespace

// ---- geometry ----------------------------------------------------------------------------

struct ThumbCase
{
    int length;
    int range;
    int position;
    int page;         // expected page (worked out automatically)
    int thumbLength;  // expected; 0 = no thumb
    int thumbStart;   // offset from the bar's start
    int scrollable;
};

class ThumbGeometry : public ::testing::TestWithParam<ThumbCase>
{
};

TEST_P(ThumbGeometry, BothKindsLayTheThumbOutAlongTheirAxis)
{
    const ThumbCase c = GetParam();
    RecordingOwner owner;
    VREL::CScrollVertical vertical(&owner, 1, CRect(10, 20, 13, 20 + c.length), 1);
    VREL::CScrollHorizontal horizontal(&owner, 2, CRect(20, 10, 20 + c.length, 13), 1);
    for (VREL::MScroll* bar : {static_cast<VREL::MScroll*>(&vertical), static_cast<VREL::MScroll*>(&horizontal)})
    {
        SCOPED_TRACE(bar == &vertical ? "vertical" : "horizontal");
        bar->SetScrollMaxRange(c.range);
        bar->SetScrollCurrentPos(c.position);
        EXPECT_EQ(bar->GetScrollPageSize(), c.page);
        EXPECT_EQ(bar->IsScrollable(), c.scrollable);
        const CRect thumb = bar->GetThumbRect();
        if (c.thumbLength == 0)
        {
            EXPECT_TRUE(thumb.IsRectEmpty());
            continue;
        }
        const bool isVertical = bar == &vertical;
        EXPECT_EQ(isVertical ? thumb.Height() : thumb.Width(), c.thumbLength);
        EXPECT_EQ(isVertical ? thumb.top - 20 : thumb.left - 20, c.thumbStart);
        EXPECT_EQ(isVertical ? thumb.Width() : thumb.Height(), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ThumbGeometry,
    ::testing::Values(
        // 200 long, range 1000: page 200, the proportional 40 raised to 100.
        ThumbCase{200, 1000, 500, 200, 100, 50, 1},
        // A range more than ten lengths long gets a tenth of it as page.
        ThumbCase{200, 3000, 0, 300, 100, 0, 1},
        // A 120-pixel bar keeps 50 pixels of track free.
        ThumbCase{120, 1000, 0, 120, 70, 0, 1},
        // A page as long as the range: nothing to scroll, the thumb fills the bar.
        ThumbCase{200, 100, 0, 200, 200, 0, 0},
        // A track of 30 pixels would give a thumb of -20: it gets its share
        // (100 / 1000 of 30) and stays inside the track.
        ThumbCase{30, 1000, 1000, 100, 3, 27, 1},
        // Empty and negative ranges have no thumb at all.
        ThumbCase{200, 0, 0, 200, 0, 0, 0},
        ThumbCase{200, -5, 0, 200, 0, 0, 0}));

TEST(ScrollBar, APositionPastTheRangeComesBackOnlyOnTheVerticalBar)
{
    RecordingOwner owner;
    VREL::CScrollVertical vertical(&owner, 1, CRect(0, 0, 3, 200), 1);
    VREL::CScrollHorizontal horizontal(&owner, 2, CRect(0, 0, 200, 3), 1);
    vertical.SetScrollCurrentPos(1500);
    horizontal.SetScrollCurrentPos(1500);

    EXPECT_EQ(vertical.GetScrollCurrentPos(), 1000);
    EXPECT_EQ(vertical.GetThumbRect().bottom, 200);
    EXPECT_EQ(horizontal.GetScrollCurrentPos(), 1500);
    EXPECT_GT(horizontal.GetThumbRect().right, 200);
}

TEST(ScrollBar, FinalPositionIsTheRangeAndZeroForAnEmptyRange)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetScrollFinalPos();
    EXPECT_EQ(bar.GetScrollCurrentPos(), 1000);
    bar.SetScrollMaxRange(0);
    bar.SetScrollFinalPos();
    EXPECT_EQ(bar.GetScrollCurrentPos(), 0);
}

TEST(ScrollBar, AFixedPageStaysWhenTheRangeChanges)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetScrollMaxRange(3000);
    EXPECT_EQ(bar.GetScrollPageSize(), 300);
    bar.SetScrollSize(50, 0);
    bar.SetScrollMaxRange(5000);
    EXPECT_EQ(bar.GetScrollPageSize(), 50);
    // A page of 0 hands the page back to the bar.
    bar.SetScrollSize(0, 0);
    EXPECT_EQ(bar.GetScrollPageSize(), 500);
}

// ---- rows ------------------------------------------------------------------------------------

TEST(ScrollBar, RowsStopAtBothEndsAndNeverReport)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetScrollCurrentPos(995);
    EXPECT_EQ(bar.ScrollRow(1), 1);
    EXPECT_EQ(bar.GetScrollCurrentPos(), 1000);
    EXPECT_EQ(bar.ScrollRow(1), 0);

    bar.SetScrollCurrentPos(5);
    EXPECT_EQ(bar.ScrollRow(-1), 1);
    EXPECT_EQ(bar.GetScrollCurrentPos(), 0);
    EXPECT_EQ(bar.ScrollRow(-1), 0);

    // A range of 0 holds only position 0.
    bar.SetScrollMaxRange(0);
    EXPECT_EQ(bar.ScrollRow(3), 0);
    EXPECT_EQ(bar.GetScrollCurrentPos(), 0);
    EXPECT_TRUE(owner.reports.empty());
}

// Arrow children ask their bar for a row step with lParam 2: 1 and 3 back, 2 and 4 forward.
TEST(ScrollBar, ArrowChildrenStepTheThumbByARow)
{
    struct Case
    {
        UINT id;
        LPARAM lParam;
        std::vector<WPARAM> reported;
    };
    const Case cases[] = {
        {1, 2, {400}}, {3, 2, {400}}, {2, 2, {600}}, {4, 2, {600}}, {1, 0, {}}, {4, 1, {}}, {5, 2, {}}, {0, 2, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        RecordingOwner owner;
        VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
        bar.SetScrollCurrentPos(500);
        // The thumb travels 100 pixels for 1000, so a step of 10 pixels is 100.
        EXPECT_EQ(bar.OnMessage(c.id, 0, 0, c.lParam), 0);
        EXPECT_EQ(ReportedPositions(owner), c.reported);
    }
}

// ---- mouse --------------------------------------------------------------------------------

TEST(ScrollBar, DraggingTheThumbReportsEachPositionWhileChanging)
{
    BarOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    owner.bar = &bar;
    bar.SetScrollCurrentPos(500);
    ASSERT_EQ(bar.GetThumbRect().top, 50);

    EXPECT_EQ(bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 60)), 1);
    EXPECT_TRUE(owner.reports.empty());
    EXPECT_EQ(bar.GetThumbState(), VREL::MScroll::THUMB_DRAGGING);
    bar.OnMouseMove(MK_LBUTTON, CPoint(1, 70));
    // Past the end the thumb stops at the bottom: position 1000 once.
    bar.OnMouseMove(MK_LBUTTON, CPoint(1, 400));
    bar.OnMouseMove(MK_LBUTTON, CPoint(1, 500));
    bar.OnLButtonUp(0, CPoint(1, 500));

    EXPECT_EQ(ReportedPositions(owner), (std::vector<WPARAM>{600, 1000}));
    EXPECT_EQ(owner.changingDuringReport, (std::vector<int>{1, 1}));
    EXPECT_EQ(bar.IsChangeing(), 0);
    EXPECT_EQ(bar.GetThumbState(), VREL::MScroll::THUMB_NORMAL);
}

TEST(ScrollBar, ClickingTheTrackPagesUntilTheEnd)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetScrollCurrentPos(500);

    // A page is 200 * 200 / 1000 = 40 pixels; the last one is cut to 10.
    bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 190));
    bar.OnLButtonUp(0, CPoint(1, 190));
    bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 195));
    bar.OnLButtonUp(0, CPoint(1, 195));
    bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 5));

    EXPECT_EQ(ReportedPositions(owner), (std::vector<WPARAM>{900, 1000, 600}));
}

TEST(ScrollBar, ABarWithoutThumbIgnoresTheMouse)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetScrollMaxRange(0);
    EXPECT_EQ(bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 100)), 0);
    EXPECT_EQ(bar.OnMouseMove(MK_LBUTTON, CPoint(1, 150)), 0);
    EXPECT_EQ(bar.MoveRange(20), 0);
    EXPECT_TRUE(owner.reports.empty());
}

TEST(ScrollBar, ADisabledBarNeitherPagesNorDrags)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(0, 0, 3, 200), 1);
    bar.SetControlEnabled(0);
    EXPECT_EQ(bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 190)), 0);
    EXPECT_EQ(bar.OnLButtonDown(MK_LBUTTON, CPoint(1, 10)), 0);
    EXPECT_EQ(bar.GetThumbState(), VREL::MScroll::THUMB_NORMAL);
    EXPECT_TRUE(owner.reports.empty());
}

// ---- drawing and images ---------------------------------------------------------------------

TEST(ScrollBar, TheVerticalBarPaintsItsColumnAndThumbOnlyWhenScrollable)
{
    RecordingOwner owner;
    VREL::CScrollVertical bar(&owner, 1, CRect(10, 0, 13, 200), 1);
    bar.SetScrollCurrentPos(500);
    DibCanvas canvas(20, 200, 0xFF000000);
    bar.Draw(canvas.Dc(), CRect(0, 0, 20, 200));
    EXPECT_EQ(canvas.Rgb(11, 60), 0x49FFE6u);
    EXPECT_EQ(canvas.Rgb(11, 10), 0x969696u);
    EXPECT_EQ(canvas.Rgb(5, 60), 0u);

    bar.SetScrollMaxRange(0);
    bar.SetUpdate(0, 0);
    DibCanvas empty(20, 200, 0xFF000000);
    bar.Draw(empty.Dc(), CRect(0, 0, 20, 200));
    EXPECT_EQ(empty.Rgb(11, 60), 0u);
}

TEST(ScrollBar, TheLibraryStripsGiveTheFrameSizesOfEachKind)
{
    VREL::PaintManager manager;
    manager.SetScrollResID(102, 101);
    RecordingOwner owner;
    VREL::CScrollVertical vertical(&owner, 1, CRect(0, 0, 3, 200), 1);
    VREL::CScrollHorizontal horizontal(&owner, 2, CRect(0, 0, 200, 3), 1);
    vertical.SetManager(&manager);
    horizontal.SetManager(&manager);

    // Vertical strip 12 x 72 in three columns; horizontal 22 x 20 in four rows.
    EXPECT_EQ(vertical.GetImageSize(), CSize(4, 72));
    EXPECT_EQ(horizontal.GetImageSize(), CSize(22, 5));
    EXPECT_EQ(vertical.SetImage(0u, L"PNG", 4), 0);
    EXPECT_EQ(horizontal.SetImage(L"no_such_strip.png", 1), 0);
    EXPECT_EQ(horizontal.GetImageSize(), CSize(22, 5));
}
