// The spin box: the key table (wrapping, typed digits, backspace, focus),
// the arrow buttons and their layout, enabling, and use before binding.

#include <gtest/gtest.h>

#include <climits>

#include "tests/controls/SliderTabTestSupport.h"
#include "ui/controls/SpinButton.h"
#include "ui/framework/NotifyCode.h"

using namespace VREL;
using slidertest::HostDialog;
using slidertest::RecordingOwner;
using slidertest::Report;

namespace {

constexpr UINT kSpinId = 654;

// An unbound spin box with the key focus.
struct FocusedSpin
{
    FocusedSpin(int value, int minimum, int maximum) : spin(&owner, kSpinId, CRect(0, 0, 60, 24), 1, 1)
    {
        spin.SetRange(minimum, maximum);
        spin.SetCurValue(value);
        spin.SetControlFocus(1);
        owner.Clear();
    }
    int Key(UINT key) { return spin.OnControlKeyDown(key, 1, 0); }

    RecordingOwner owner;
    MSpinButton spin;
};

} // namespace

TEST(SpinButton, KeyTable)
{
    struct Case
    {
        const char* name;
        int value;
        int minimum;
        int maximum;
        std::vector<UINT> keys;
        int expected;
        int spins;  // NC_SPIN reports
    };
    const Case cases[] = {
        {"up wraps to the minimum", 100, 1, 100, {VK_UP}, 1, 1},
        {"down wraps to the maximum", 1, 1, 100, {VK_DOWN}, 100, 1},
        {"keypad plus and minus", 50, 1, 100, {VK_ADD, VK_ADD, VK_SUBTRACT}, 51, 3},
        {"digits build a number", 0, 1, 100, {'4', '2'}, 42, 2},
        {"too large wraps to the minimum", 42, 1, 100, {'7'}, 1, 1},
        {"keypad digits", 1, 1, 100, {VK_NUMPAD5}, 15, 1},
        {"longer than the limit restarts", 100, 1, 200, {'5'}, 5, 1},
        {"below the minimum wraps to the maximum", 0, 1, 100, {'0'}, 100, 1},
        {"backspace drops the last digit", 42, 1, 100, {VK_BACK}, 4, 1},
        {"backspace below 10 gives 0", 4, 1, 100, {VK_BACK}, 0, 1},
        {"backspace on 0 says nothing", 0, 1, 100, {VK_BACK}, 0, 0},
        {"left and right stay in the box", 7, 1, 100, {VK_LEFT, VK_RIGHT}, 7, 0},
    };
    for (const Case& c : cases)
    {
        FocusedSpin f(c.value, c.minimum, c.maximum);
        for (UINT key : c.keys)
            EXPECT_EQ(f.Key(key), 1) << c.name;
        EXPECT_EQ(f.spin.GetCurValue(), c.expected) << c.name;
        EXPECT_EQ(f.owner.CountCode(NC_SPIN), c.spins) << c.name;
        EXPECT_EQ(f.owner.reports.size(), static_cast<size_t>(c.spins)) << c.name;
    }
}

TEST(SpinButton, OtherKeysAndAnUnfocusedBoxAreLeftAlone)
{
    FocusedSpin f(5, 1, 100);
    EXPECT_EQ(f.Key('A'), 0);
    EXPECT_EQ(f.Key(VK_RETURN), 0);

    f.spin.SetControlFocus(0);
    EXPECT_EQ(f.spin.IsFocused(), 0);
    for (UINT key : {UINT(VK_UP), UINT(VK_DOWN), UINT(VK_BACK), UINT('3'), UINT(VK_LEFT)})
        EXPECT_EQ(f.Key(key), 0);
    EXPECT_EQ(f.spin.GetCurValue(), 5);
    EXPECT_TRUE(f.owner.reports.empty());
}

// The box's own area: hover, press and release change the cell shown
// (redraw 0, the cells stay valid) and never notify; a press holds until the
// release, wherever the pointer goes.
TEST(SpinButton, MouseChangesOnlyTheCellShown)
{
    RecordingOwner owner;
    MSpinButton spin(&owner, kSpinId, CRect(0, 0, 60, 24), 1, 1);
    struct Step
    {
        const char* name;
        int (MSpinButton::*handler)(UINT, CPoint);
        CPoint pt;
        int result;
        int state;
    };
    const Step steps[] = {
        {"move in", &MSpinButton::OnControlMouseMove, CPoint(10, 10), 1, 1},
        {"move within", &MSpinButton::OnControlMouseMove, CPoint(20, 10), 0, 1},
        {"press", &MSpinButton::OnControlLButtonDown, CPoint(20, 10), 1, 2},
        {"move out while pressed", &MSpinButton::OnControlMouseMove, CPoint(200, 10), 0, 2},
        {"release outside", &MSpinButton::OnControlLButtonUp, CPoint(200, 10), 1, 0},
        {"press outside", &MSpinButton::OnControlLButtonDown, CPoint(200, 10), 0, 0},
    };
    for (const Step& s : steps)
    {
        owner.Clear();
        EXPECT_EQ((spin.*s.handler)(0, s.pt), s.result) << s.name;
        EXPECT_EQ(spin.GetState(), s.state) << s.name;
        EXPECT_EQ(owner.repaints.size(), static_cast<size_t>(s.result)) << s.name;
        for (const auto& r : owner.repaints)
            EXPECT_EQ(r.redraw, 0) << s.name;
        EXPECT_TRUE(owner.reports.empty()) << s.name;
    }

    // Disabled, the box shows its disabled cell and takes neither the mouse
    // nor the focus.
    spin.SetEnabled(0);
    EXPECT_EQ(spin.OnControlMouseMove(0, CPoint(10, 10)), 0);
    EXPECT_EQ(spin.GetState(), 3);
    EXPECT_EQ(spin.SetControlFocus(1), 0);
    EXPECT_EQ(spin.IsFocused(), 0);
}

// A digit limit beyond what an int holds must not build a number that
// overflows: the text never grows past nine digits.
TEST(SpinButton, LargeDigitLimitIsCapped)
{
    FocusedSpin f(999999999, 0, INT_MAX);
    f.spin.SetLimitLength(20);
    f.Key('9');
    EXPECT_EQ(f.spin.GetCurValue(), 9);
    f.Key('8');
    EXPECT_EQ(f.spin.GetCurValue(), 98);
}

TEST(SpinButton, WrappingAtTheIntLimitsDoesNotOverflow)
{
    FocusedSpin up(INT_MAX, 0, INT_MAX);
    up.Key(VK_UP);
    EXPECT_EQ(up.spin.GetCurValue(), 0);
    FocusedSpin down(INT_MIN, INT_MIN, 5);
    down.Key(VK_DOWN);
    EXPECT_EQ(down.spin.GetCurValue(), 5);
}

TEST(SpinButton, SettersDoNotNotify)
{
    RecordingOwner owner;
    MSpinButton spin(&owner, kSpinId, CRect(0, 0, 60, 24), 1, 1);
    spin.SetRange(0, 255);
    spin.SetCurValue(300);  // the range is not applied
    EXPECT_EQ(spin.GetCurValue(), 300);
    EXPECT_TRUE(owner.reports.empty());
    EXPECT_FALSE(owner.repaints.empty());
}

// Before it is bound the box has no arrows; moving, enabling and drawing it
// must not reach for them.
TEST(SpinButton, UnboundBoxWorksWithoutArrows)
{
    RecordingOwner owner;
    MSpinButton spin(&owner, kSpinId, CRect(0, 0, 60, 24), 1, 1);
    EXPECT_EQ(spin.GetUpArrow(), nullptr);
    spin.SetRect(CRect(10, 10, 80, 40));
    spin.SetEnabled(0);
    EXPECT_EQ(spin.GetState(), 3);
    spin.SetEnabled(1);
    EXPECT_EQ(spin.GetState(), 0);
    EXPECT_EQ(spin.OnMessage(30, NC_CLICKED, 0, 0), 1);
    EXPECT_EQ(spin.GetCurValue(), 1);
    DibCanvas canvas(100, 50);
    spin.Draw(canvas.Dc(), CRect(0, 0, 100, 50));
}

class SpinOnWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(dialog.Open(300, 200), nullptr);
        spin = dialog.Add(new MSpinButton(&dialog, kSpinId, CRect(20, 30, 80, 54), 1, 1));
    }
    void TearDown() override { dialog.DestroyWindow(); }

    HostDialog dialog;
    MSpinButton* spin = nullptr;
};

TEST_F(SpinOnWindow, ArrowsStandRightOfTheValueAboveAndBelowTheMiddle)
{
    MControl* up = spin->GetUpArrow();
    MControl* down = spin->GetDownArrow();
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(up->GetControlID(), 30u);
    EXPECT_EQ(down->GetControlID(), 31u);
    // img_spin_up.png and img_spin_down.png: frames of 12 x 9; the middle is 42.
    EXPECT_EQ(up->GetRect(), CRect(64, 33, 76, 42));
    EXPECT_EQ(down->GetRect(), CRect(64, 42, 76, 51));

    spin->SetRect(CRect(20, 30, 100, 70));
    EXPECT_EQ(up->GetRect(), CRect(84, 41, 96, 50));
}

TEST_F(SpinOnWindow, ArrowClicksStepAndWrap)
{
    spin->SetRange(0, 255);
    spin->SetCurValue(255);
    ASSERT_NE(spin->GetUpArrow(), nullptr);
    spin->GetUpArrow()->SendMessageW(NC_CLICKED, 0, 0);
    EXPECT_EQ(spin->GetCurValue(), 0);
    spin->GetDownArrow()->SendMessageW(NC_CLICKED, 0, 0);
    EXPECT_EQ(spin->GetCurValue(), 255);
    // The arrows' press reports stay inside the box.
    spin->GetDownArrow()->SendMessageW(NC_PRESSED, 0, 0);
    EXPECT_EQ(dialog.reports, (std::vector<Report>{{kSpinId, NC_SPIN, 0, 0}, {kSpinId, NC_SPIN, 0, 0}}));
}

TEST_F(SpinOnWindow, DisablingTheBoxDisablesItsArrows)
{
    ASSERT_NE(spin->GetUpArrow(), nullptr);
    spin->SetEnabled(0);
    EXPECT_EQ(spin->GetState(), 3);
    EXPECT_EQ(spin->GetUpArrow()->IsEnabled(), 0);
    EXPECT_EQ(spin->GetDownArrow()->IsEnabled(), 0);
    spin->SetEnabled(1);
    EXPECT_EQ(spin->GetUpArrow()->IsEnabled(), 1);
}
