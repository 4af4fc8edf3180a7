// The two sliders: value mapping from the mouse, notifications, wheel,
// programmatic setters and degenerate geometry.

#include <gtest/gtest.h>

#include "tests/controls/SliderTabTestSupport.h"
#include "ui/controls/Slider.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

using namespace VREL;
using slidertest::RecordingOwner;
using slidertest::Report;

namespace {

constexpr UINT kId = 7;
constexpr uint32_t kBackground = 0x808080;

} // namespace

// 216 pixels wide leaves a 200-pixel track; with the range 0 to 10 a press
// 100 pixels from the left edge gives 100 * 11 / 200 = 5.
TEST(Slider, PressDragAndReleaseFollowTheTrack)
{
    RecordingOwner owner;
    MSlider slider(&owner, kId, CRect(10, 20, 226, 60), 1, 1);

    EXPECT_EQ(slider.OnLButtonDown(MK_LBUTTON, CPoint(110, 25)), 1);
    EXPECT_EQ(slider.GetProgress(), 5);
    EXPECT_EQ(slider.GetThumbRect(), CRect(110, 20, 126, 36));
    EXPECT_EQ(slider.GetState(), 2);  // the thumb jumped under the pointer
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0], (Report{kId, NC_SCROLL, 5, 0}));

    // Dragging past the right end gives the maximum, once.
    slider.OnMouseMove(MK_LBUTTON, CPoint(240, 25));
    slider.OnMouseMove(MK_LBUTTON, CPoint(250, 25));
    EXPECT_EQ(slider.GetProgress(), 10);
    EXPECT_EQ(slider.GetThumbRect().left, 210);
    ASSERT_EQ(owner.reports.size(), 2u);
    EXPECT_EQ(owner.reports[1], (Report{kId, NC_SCROLL, 10, 0}));

    slider.OnLButtonUp(0, CPoint(250, 25));
    ASSERT_EQ(owner.reports.size(), 3u);
    EXPECT_EQ(owner.reports[2], (Report{kId, NC_CLICKED, 0, 0}));
    EXPECT_EQ(slider.GetState(), 0);
}

// A press below the thumb moves the value to the click, but the thumb does
// not land under the pointer: no drag starts, and moves with the button
// held do not move the value.
TEST(Slider, PressOffTheLandedThumbStartsNoDrag)
{
    RecordingOwner owner;
    MSlider slider(&owner, kId, CRect(0, 0, 216, 40), 1, 1);
    EXPECT_EQ(slider.OnLButtonDown(MK_LBUTTON, CPoint(100, 30)), 0);
    EXPECT_EQ(slider.GetProgress(), 5);
    EXPECT_EQ(slider.GetThumbRect(), CRect(100, 0, 116, 16));
    EXPECT_EQ(slider.GetState(), 0);
    EXPECT_EQ(owner.reports, (std::vector<Report>{{kId, NC_SCROLL, 5, 0}}));

    slider.OnMouseMove(MK_LBUTTON, CPoint(180, 30));
    EXPECT_EQ(slider.GetProgress(), 5);
    EXPECT_EQ(owner.reports.size(), 1u);
}

// Hovering the thumb lights it (state 1) and leaving puts it back; a move
// that changes nothing over a valid picture asks for nothing.
TEST(Slider, HoverFollowsTheThumb)
{
    RecordingOwner owner;
    MSlider slider(&owner, kId, CRect(0, 0, 216, 40), 1, 1);
    DibCanvas canvas(216, 40, 0xFF000000 | kBackground);
    auto paint = [&] { slider.Draw(canvas.Dc(), CRect(0, 0, 216, 40)); };
    struct Step
    {
        CPoint pt;
        int result;
        int state;
    };
    const Step steps[] = {
        {CPoint(100, 8), 0, 0},  // off the thumb, as before
        {CPoint(8, 8), 1, 1},    // onto the thumb at the left end
        {CPoint(10, 10), 0, 1},
        {CPoint(8, 30), 1, 0},   // below it
    };
    paint();
    for (const Step& s : steps)
    {
        owner.Clear();
        EXPECT_EQ(slider.OnControlMouseMove(0, s.pt), s.result) << s.pt.x << "," << s.pt.y;
        EXPECT_EQ(slider.GetState(), s.state) << s.pt.x << "," << s.pt.y;
        if (s.result)
        {
            ASSERT_EQ(owner.repaints.size(), 1u);
            EXPECT_EQ(owner.repaints[0].redraw, 0);
        }
        EXPECT_TRUE(owner.reports.empty());
        paint();
    }
}

TEST(Slider, DisabledSliderIgnoresTheMouse)
{
    RecordingOwner owner;
    MSlider slider(&owner, kId, CRect(0, 0, 216, 40), 1, 0);
    EXPECT_EQ(slider.OnControlLButtonDown(MK_LBUTTON, CPoint(100, 5)), 0);
    EXPECT_EQ(slider.OnControlLButtonUp(0, CPoint(100, 5)), 0);
    EXPECT_EQ(slider.GetProgress(), 0);
    EXPECT_TRUE(owner.reports.empty());
}

TEST(Slider, WheelStepsByOneAndIsSilentAtTheEnds)
{
    RecordingOwner owner;
    MSlider2 slider(&owner, kId, CRect(0, 0, 106, 20), 1, 1);
    const CPoint inside(50, 10);

    // A notch towards the user at the minimum changes nothing and says nothing.
    EXPECT_EQ(slider.OnScroll(1, 1, inside), 1);
    EXPECT_EQ(slider.GetProgress(), 0);
    EXPECT_TRUE(owner.reports.empty());

    EXPECT_EQ(slider.OnScroll(1, 0, inside), 1);
    EXPECT_EQ(slider.GetProgress(), 1);
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0], (Report{kId, NC_CLICKED, 0, 0}));

    slider.SetProgress(10);
    owner.Clear();
    slider.OnScroll(1, 0, inside);
    EXPECT_EQ(slider.GetProgress(), 10);
    EXPECT_TRUE(owner.reports.empty());
}

TEST(Slider, SetProgressClampsAboveIgnoresNegativesAndNeverNotifies)
{
    struct Case
    {
        int minimum;
        int value;
        int expected;
        bool repaint;
    };
    const Case cases[] = {
        {0, 25, 10, true},   // above the maximum: the maximum
        {0, -1, 0, false},   // negative: nothing
        {0, 0, 0, false},    // the current value: nothing
        {5, 3, 3, true},     // below the minimum but not negative: taken
    };
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        MSlider slider(&owner, kId, CRect(0, 0, 216, 40), 1, 1);
        slider.SetMinProgress(c.minimum);
        EXPECT_EQ(slider.SetProgress(c.value), c.expected) << c.value;
        EXPECT_EQ(slider.GetProgress(), c.expected);
        EXPECT_EQ(!owner.repaints.empty(), c.repaint) << c.value;
        EXPECT_TRUE(owner.reports.empty());
    }
}

TEST(Slider, ValueTextAddsPercentOnlyForAMaximumOf100)
{
    MSlider slider(nullptr, kId, CRect(0, 0, 216, 40), 1, 1);
    EXPECT_EQ(slider.GetValueText(), L"0");
    slider.SetMaxProgress(100);
    slider.SetProgress(42);
    EXPECT_EQ(slider.GetValueText(), L"42%");
}

// An empty range or a track of no length has nowhere to put the thumb: it
// stays at the left edge and the mouse gives the minimum.
TEST(Slider, EmptyRangeOrTrackKeepsTheThumbAtTheLeftEdge)
{
    struct Case
    {
        const char* name;
        bool bar;
        int width;
        int minimum;
        int maximum;
    };
    const Case cases[] = {
        {"span 0", false, 216, 5, 5},
        {"track 0", false, 16, 0, 10},
        {"track below 0", false, 10, 0, 10},
        {"bar track 0", true, 6, 0, 10},
        {"bar track below 0", true, 2, 0, 10},
    };
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        const CRect rect(30, 10, 30 + c.width, 50);
        MSlider slider(&owner, kId, rect, 1, 1);
        MSlider2 bar(&owner, kId, rect, 1, 1);
        MSliderBase& s = c.bar ? static_cast<MSliderBase&>(bar) : static_cast<MSliderBase&>(slider);
        s.SetMinProgress(c.minimum);
        s.SetMaxProgress(c.maximum);
        s.SetProgress(c.maximum);
        s.SetRect(rect);
        EXPECT_EQ(s.GetThumbRect().left, rect.left) << c.name;
        EXPECT_EQ(s.MoveThumbPos(CPoint(rect.left + 5, 20)), c.minimum) << c.name;
        DibCanvas canvas(80, 60, kBackground);
        s.Draw(canvas.Dc(), CRect(0, 0, 80, 60));
    }
}

TEST(Slider, SpanZeroDrawsNoThumb)
{
    MSlider slider(nullptr, kId, CRect(0, 0, 216, 40), 1, 1);
    slider.SetShowText(0);
    slider.SetMinProgress(5);
    slider.SetMaxProgress(5);
    DibCanvas canvas(216, 40, 0xFF000000 | kBackground);
    slider.Draw(canvas.Dc(), CRect(0, 0, 216, 40));
    EXPECT_EQ(canvas.Rgb(8, 2), kBackground);
    EXPECT_EQ(canvas.Rgb(100, 8), RgbOf(Manager::m_normal_color));
}

TEST(Slider, DrawingPlacesThumbAndFillByTheValue)
{
    const uint32_t select = RgbOf(Manager::m_select_color);
    {
        MSlider slider(nullptr, kId, CRect(0, 0, 216, 40), 1, 1);
        slider.SetShowText(0);
        slider.SetProgress(5);
        DibCanvas canvas(216, 40, 0xFF000000 | kBackground);
        slider.Draw(canvas.Dc(), CRect(0, 0, 216, 40));
        EXPECT_EQ(canvas.Rgb(108, 8), select);                                   // thumb centre
        EXPECT_EQ(canvas.Rgb(50, 8), select);                                    // filled track
        EXPECT_EQ(canvas.Rgb(160, 8), RgbOf(Manager::m_normal_color)); // empty track
        EXPECT_EQ(canvas.Rgb(160, 2), kBackground);
    }
    {
        MSlider2 bar(nullptr, kId, CRect(0, 0, 106, 20), 1, 1);
        bar.SetProgress(5);
        DibCanvas canvas(106, 20, 0xFF000000 | kBackground);
        bar.Draw(canvas.Dc(), CRect(0, 0, 106, 20));
        EXPECT_EQ(canvas.Rgb(20, 10), select);
        EXPECT_EQ(canvas.Rgb(80, 10), 0x141414u);
        EXPECT_EQ(canvas.Rgb(1, 10), kBackground);
    }
}
