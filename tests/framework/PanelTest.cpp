// The scrollable panel: content size from its children, its two bars, the
// mapping of mouse points into scrolled content (and not for its bars), the
// wheel, notifications passed up and the drawing rule.

#include <gtest/gtest.h>

#include "tests/framework/CoreTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/MScroll.h"

using namespace coretest;

namespace {

constexpr UINT kTowardUser = 1;
constexpr UINT kAwayFromUser = 0;

class TestPanel : public VREL::MPanel
{
public:
    TestPanel(VREL::MObject* owner, CRect rect) : MPanel(owner, 40, rect, 1) {}
    Probe* Add(UINT id, CRect rect)
    {
        auto* child = new Probe(this, id, rect);
        AddSubControl(VREL::CONTROL_KIND_CONTROL, child);
        return child;
    }
    VREL::MScroll* Vertical() const { return m_pScrollVertical; }
    VREL::MScroll* Horizontal() const { return m_pScrollHorizontal; }
};

// A 100 x 100 panel whose child reaches 250 pixels below its top.
class TallPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        deep = panel.Add(5, CRect(0, 200, 50, 250));
        panel.SetControlRect(kView);
    }

    const CRect kView{0, 0, 100, 100};
    RecordingOwner owner;
    TestPanel panel{&owner, kView};
    Probe* deep = nullptr;
};

} // namespace

TEST(Panel, ANewPanelHasNoContentAndHidesBothBars)
{
    RecordingOwner owner;
    TestPanel panel(&owner, CRect(0, 0, 100, 100));
    EXPECT_EQ(panel.GetVirtualHeight(), 0);
    EXPECT_EQ(panel.GetVirtualWidth(), 0);
    EXPECT_FALSE(panel.Vertical()->IsVisible());
    EXPECT_FALSE(panel.Horizontal()->IsVisible());
    CPoint pt(10, 10);
    EXPECT_EQ(panel.OnMousePointChange(pt), 0);
    EXPECT_EQ(pt, CPoint(10, 10));
    EXPECT_EQ(panel.GetControl(1), panel.Vertical());
    EXPECT_EQ(panel.GetControl(2), panel.Horizontal());
}

TEST_F(TallPanel, OverflowingContentShowsTheVerticalBarAtTheRightEdge)
{
    EXPECT_EQ(panel.GetVirtualHeight(), 250);
    EXPECT_EQ(panel.GetVirtualWidth(), 50);
    EXPECT_TRUE(panel.Vertical()->IsVisible());
    EXPECT_EQ(panel.Vertical()->GetRect(), CRect(97, 0, 100, 100));
    EXPECT_EQ(panel.Vertical()->GetScrollMaxRange(), 250);
    EXPECT_FALSE(panel.Horizontal()->IsVisible());
}

TEST_F(TallPanel, ChildrenGetContentPointsWhileTheBarsGetWindowPoints)
{
    EXPECT_EQ(panel.OnScroll(1, kTowardUser, CPoint(50, 50)), 1);
    ASSERT_EQ(panel.Vertical()->GetScrollCurrentPos(), 10);
    // (250 - 100) * 10 / 250 = 6 pixels down into the content.
    EXPECT_EQ(panel.GetScrollOffset(), CPoint(0, 6));

    panel.OnLButtonDown(MK_LBUTTON, CPoint(10, 210));
    panel.OnLButtonUp(0, CPoint(10, 210));
    EXPECT_EQ(deep->Count("down"), 1);
    EXPECT_EQ(deep->lastPoint, CPoint(10, 216));
    owner.reports.clear();

    // The thumb spans y 2..52 of the window. A press at y 50 lands on it
    // (a shifted point, y 56, would page instead and report at once).
    panel.OnLButtonDown(MK_LBUTTON, CPoint(98, 50));
    EXPECT_TRUE(owner.reports.empty());
    panel.OnMouseMove(MK_LBUTTON, CPoint(98, 60));
    ASSERT_EQ(owner.reports.size(), 1u);
    // The bar's report reaches the panel's owner unchanged: id 1, position 60.
    EXPECT_EQ(owner.reports[0], (Report{1, VREL::NC_SCROLL, 60, 0}));
}

TEST_F(TallPanel, TheWheelStopsAtBothEndsButKeepsTheNotch)
{
    owner.repaints.clear();
    EXPECT_EQ(panel.OnScroll(1, kAwayFromUser, CPoint(50, 50)), 1);
    EXPECT_EQ(panel.Vertical()->GetScrollCurrentPos(), 0);
    EXPECT_TRUE(owner.repaints.empty());

    for (int notch = 0; notch < 25; ++notch)
        panel.OnScroll(1, kTowardUser, CPoint(50, 50));
    EXPECT_EQ(panel.Vertical()->GetScrollCurrentPos(), 250);
    EXPECT_EQ(panel.GetScrollOffset(), CPoint(0, 150));
    owner.repaints.clear();

    EXPECT_EQ(panel.OnScroll(1, kTowardUser, CPoint(50, 50)), 1);
    EXPECT_EQ(panel.Vertical()->GetScrollCurrentPos(), 250);
    EXPECT_TRUE(owner.repaints.empty());
    EXPECT_TRUE(owner.reports.empty());
}

TEST(Panel, ContentEndingAtTheBottomShowsNoBarYetTakesTheWheel)
{
    RecordingOwner owner;
    TestPanel panel(&owner, CRect(0, 0, 100, 100));
    panel.Add(5, CRect(0, 50, 50, 100));
    panel.SetControlRect(CRect(0, 0, 100, 100));

    EXPECT_FALSE(panel.Vertical()->IsVisible());
    EXPECT_EQ(panel.OnScroll(1, kTowardUser, CPoint(50, 50)), 1);
    EXPECT_EQ(panel.GetScrollOffset(), CPoint(0, 0));
    CPoint pt(10, 10);
    EXPECT_EQ(panel.OnMousePointChange(pt), 0);
}

TEST_F(TallPanel, WithScrollingOffPointsStayAndTheWheelIsRefused)
{
    panel.SetEnableScroll(0);
    EXPECT_TRUE(panel.Vertical()->IsVisible());
    EXPECT_EQ(panel.OnScroll(1, kTowardUser, CPoint(50, 50)), 0);
    CPoint pt(10, 10);
    EXPECT_EQ(panel.OnMousePointChange(pt), 0);
    EXPECT_EQ(pt, CPoint(10, 10));
}

TEST_F(TallPanel, OverflowingChildrenAreLeftToTheSubclassUnlessScrollingIsOff)
{
    Probe* top = panel.Add(6, CRect(10, 10, 40, 40));
    top->colour = RGB(200, 0, 0);

    DibCanvas scrolled(100, 100, 0xFF000000);
    panel.Draw(scrolled.Dc(), CRect(0, 0, 100, 100));
    EXPECT_EQ(scrolled.Rgb(20, 20), 0u);

    panel.SetEnableScroll(0);
    DibCanvas plain(100, 100, 0xFF000000);
    panel.Draw(plain.Dc(), CRect(0, 0, 100, 100));
    EXPECT_EQ(plain.Rgb(20, 20), 0xC80000u);
}

TEST_F(TallPanel, NotificationsReachTheOwnerUnchanged)
{
    deep->SendMessageW(VREL::NC_CLICKED, 0, 0);
    deep->SendMessageW(VREL::NC_RCLICK, 7, 9);
    EXPECT_EQ(owner.reports,
              (std::vector<Report>{{5, VREL::NC_CLICKED, 0, 0}, {5, VREL::NC_RCLICK, 7, 9}}));
}

TEST_F(TallPanel, EnablingReachesTheChildrenAndBars)
{
    panel.SetEnabled(0);
    EXPECT_EQ(deep->IsEnabled(), 0);
    EXPECT_EQ(panel.Vertical()->IsEnabled(), 0);
    EXPECT_EQ(panel.Horizontal()->IsEnabled(), 0);
    panel.SetEnabled(1);
    EXPECT_EQ(deep->IsEnabled(), 1);
    EXPECT_EQ(panel.Vertical()->IsEnabled(), 1);
}

TEST_F(TallPanel, GetControlFindsAGrandchildAndNothingElse)
{
    auto* grandchild = new Probe(deep, 77, CRect(0, 200, 10, 210));
    deep->AddChild(grandchild);
    EXPECT_EQ(panel.GetControl(77), grandchild);
    EXPECT_EQ(panel.GetControl(78), nullptr);
}

TEST(Panel, ARepaintMakesLaterOverlappingChildrenStaleOnlyOnceBound)
{
    RecordingOwner owner;
    TestPanel panel(&owner, CRect(0, 0, 100, 100));
    Probe* before = panel.Add(5, CRect(0, 0, 50, 50));
    Probe* sender = panel.Add(6, CRect(10, 10, 40, 40));
    Probe* over = panel.Add(7, CRect(30, 30, 60, 60));
    Probe* apart = panel.Add(8, CRect(70, 70, 90, 90));
    Probe* hidden = panel.Add(9, CRect(20, 20, 30, 30));
    hidden->SetControlVisible(0);
    auto staleOnes = [&](int redraw) {
        for (Probe* p : {before, sender, over, apart, hidden})
            p->updateFlags.clear();
        EXPECT_EQ(panel.OnControlUpdate(sender->GetRect(), redraw, sender), 0);
        std::vector<UINT> stale;
        for (Probe* p : {before, sender, over, apart, hidden})
            if (!p->updateFlags.empty())
                stale.push_back(p->GetControlID());
        return stale;
    };

    EXPECT_EQ(panel.OnControlUpdate(sender->GetRect(), 1, nullptr), 0);
    // Not bound yet: the children are not walked.
    EXPECT_EQ(staleOnes(1), (std::vector<UINT>{6}));

    panel.InitControl(nullptr);
    // Only visible children after the sender that meet its rectangle.
    EXPECT_EQ(staleOnes(1), (std::vector<UINT>{6, 7}));
    // Without redraw the sender keeps its cache; what lies over it still renders again.
    EXPECT_EQ(staleOnes(0), (std::vector<UINT>{7}));
}
