// The progress bar (value, marquee, drawing) and the level control (value,
// clicks on its cells, drawing).

#include <gtest/gtest.h>

#include "tests/controls/SliderTabTestSupport.h"
#include "ui/controls/Progress.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

using namespace VREL;
using slidertest::RecordingOwner;
using slidertest::Report;

namespace {

constexpr UINT kId = 31;
constexpr uint32_t kBackground = 0x101010;
constexpr uint32_t kTrack = 0x646464;
constexpr uint32_t kCell = 0xEDEDED;

uint32_t Select() { return RgbOf(Manager::m_select_color); }

} // namespace

TEST(Progress, SetProgressClampsAboveAndIgnoresNegativesAndDisabled)
{
    struct Case
    {
        const char* name;
        int enabled;
        int value;
        int expected;
        bool repaint;
    };
    const Case cases[] = {
        {"above the maximum", 1, 150, 100, true},
        {"negative", 1, -5, 30, false},
        {"unchanged", 1, 30, 30, false},
        {"disabled", 0, 60, 30, false},
    };
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        MProgress bar(&owner, kId, CRect(0, 0, 106, 20), 1, 1);
        bar.SetProgress(30);
        bar.SetEnabled(c.enabled);
        owner.Clear();
        EXPECT_EQ(bar.SetProgress(c.value), c.expected) << c.name;
        EXPECT_EQ(bar.GetProgress(), c.expected) << c.name;
        EXPECT_EQ(!owner.repaints.empty(), c.repaint) << c.name;
    }
}

// The track spans x 3 to 103 of a bar 106 wide.
TEST(Progress, FillFollowsProgressOverMaximum)
{
    struct Case
    {
        const char* name;
        int progress;
        int maximum;
        int x;
        bool filled;
    };
    const Case cases[] = {
        {"half", 50, 100, 20, true},
        {"half, right part", 50, 100, 90, false},
        {"empty", 0, 100, 20, false},
        {"maximum 0 shows the track alone", 80, 0, 20, false},
        {"maximum lowered below the value", 80, 50, 100, true},
    };
    for (const Case& c : cases)
    {
        MProgress bar(nullptr, kId, CRect(0, 0, 106, 20), 1, 1);
        bar.SetProgress(c.progress);
        bar.SetMaxProgress(c.maximum);
        EXPECT_EQ(bar.GetProgress(), c.progress) << c.name;
        DibCanvas canvas(106, 20, 0xFF000000 | kBackground);
        bar.Draw(canvas.Dc(), CRect(0, 0, 106, 20));
        EXPECT_EQ(canvas.Rgb(c.x, 10), c.filled ? Select() : kTrack) << c.name;
        EXPECT_EQ(canvas.Rgb(1, 10), kBackground) << c.name;
    }
}

TEST(Progress, MarqueeStepsEveryThirdTickAndStartsOver)
{
    RecordingOwner owner;
    MProgress bar(&owner, kId, CRect(0, 0, 106, 20), 1, 1);
    EXPECT_EQ(bar.OnControlTimer(), 0);  // not running
    EXPECT_EQ(bar.SetRun(1, 0), 1);
    bar.OnTimer();
    bar.OnTimer();
    EXPECT_EQ(bar.GetProgress(), 0);
    bar.OnTimer();
    EXPECT_EQ(bar.GetProgress(), 1);
    for (int i = 3; i < 300; ++i)
        bar.OnTimer();
    EXPECT_EQ(bar.GetProgress(), 100);
    for (int i = 0; i < 3; ++i)
        bar.OnTimer();
    EXPECT_EQ(bar.GetProgress(), 0);

    bar.SetEnabled(0);
    EXPECT_EQ(bar.SetRun(0, 50), 1);  // ignored while disabled
    EXPECT_EQ(bar.GetProgress(), 0);
}

TEST(Progress, ImagesNeedAManager)
{
    MProgress bar(nullptr, kId, CRect(0, 0, 106, 20), 1, 1);
    EXPECT_FALSE(bar.SetBackGroundImage(CString(L"test_grid.png")));
    EXPECT_FALSE(bar.SetForeGroundImage(101u));
}

TEST(LevelCtrl, SetLevelValueClampsIntoTheRange)
{
    MLevelCtrl level(nullptr, kId, CRect(0, 0, 300, 20), 1, 1);
    EXPECT_EQ(level.GetLevelValue(), 0);
    level.SetLevelValue(0);
    EXPECT_EQ(level.GetLevelValue(), 1);
    level.SetLevelValue(99);
    EXPECT_EQ(level.GetLevelValue(), 15);
}

// 300 wide with the range 1 to 15: drawn cells 18 wide every 20 pixels, hit
// cells 15 wide at the same places.
TEST(LevelCtrl, ClickChoosesTheCellUnderThePoint)
{
    struct Case
    {
        const char* name;
        int dx;
        int dy;
        int level;  // after the click; 7 = unchanged
    };
    const Case cases[] = {
        {"first cell", 3, 5, 1},
        {"gap after the first hit cell", 16, 5, 7},
        {"third cell", 41, 5, 3},
        {"last cell", 283, 5, 15},
        {"below the cells", 41, 16, 7},
        {"the current level", 121, 5, 7},
    };
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        MLevelCtrl level(&owner, kId, CRect(10, 10, 310, 40), 1, 1);
        level.SetLevelValue(7);
        EXPECT_EQ(level.OnLButtonUp(0, CPoint(10 + c.dx, 10 + c.dy)), 1) << c.name;
        EXPECT_EQ(level.GetLevelValue(), c.level) << c.name;
        if (c.level == 7)
            EXPECT_TRUE(owner.reports.empty()) << c.name;
        else
            EXPECT_EQ(owner.reports, (std::vector<Report>{{kId, NC_CLICKED, static_cast<WPARAM>(c.level), 0}}))
                << c.name;
    }
}

TEST(LevelCtrl, DisabledControlTakesNoClick)
{
    RecordingOwner owner;
    MLevelCtrl level(&owner, kId, CRect(0, 0, 300, 20), 1, 0);
    EXPECT_EQ(level.OnControlLButtonUp(0, CPoint(41, 5)), 0);
    EXPECT_EQ(level.GetLevelValue(), 0);
    EXPECT_TRUE(owner.reports.empty());
}

TEST(LevelCtrl, CellsUpToTheLevelAreLit)
{
    MLevelCtrl level(nullptr, kId, CRect(0, 0, 300, 20), 1, 1);
    DibCanvas canvas(300, 20, 0xFF000000 | kBackground);
    level.Draw(canvas.Dc(), CRect(0, 0, 300, 20));
    EXPECT_EQ(canvas.Rgb(9, 8), kCell);  // a new control lights nothing

    level.SetLevelValue(3);
    level.SetUpdate(0, 0);
    level.Draw(canvas.Dc(), CRect(0, 0, 300, 20));
    EXPECT_EQ(canvas.Rgb(9, 8), Select());
    EXPECT_EQ(canvas.Rgb(49, 8), Select());
    EXPECT_EQ(canvas.Rgb(40, 0), kCell);  // the cell's rim
    EXPECT_EQ(canvas.Rgb(69, 8), kCell);
    EXPECT_EQ(canvas.Rgb(19, 8), kBackground);  // the gap
    EXPECT_EQ(canvas.Rgb(9, 17), kBackground);  // below the cells
}

// A maximum below the minimum leaves no cells: nothing is drawn and every
// click keeps the level.
TEST(LevelCtrl, InvertedRangeHasNoCells)
{
    RecordingOwner owner;
    MLevelCtrl level(&owner, kId, CRect(0, 0, 300, 20), 1, 1);
    level.SetLevelValue(4);
    level.SetRangeValue(5, 3);
    owner.Clear();
    DibCanvas canvas(300, 20, 0xFF000000 | kBackground);
    level.Draw(canvas.Dc(), CRect(0, 0, 300, 20));
    EXPECT_EQ(canvas.Rgb(9, 8), kBackground);
    EXPECT_EQ(level.OnLButtonUp(0, CPoint(9, 5)), 1);
    EXPECT_EQ(level.GetLevelValue(), 4);
    EXPECT_TRUE(owner.reports.empty());

    // A range of exactly one empty step (maximum one below the minimum).
    level.SetRangeValue(5, 4);
    level.SetUpdate(0, 0);
    level.Draw(canvas.Dc(), CRect(0, 0, 300, 20));
    EXPECT_EQ(level.OnLButtonUp(0, CPoint(9, 5)), 1);
}
