// The HSL model and the colour field: the single-precision round trips the
// field's users see, what a press or a drag on the field and the bar sets
// and reports, and the model's pixels as the field draws them.

#include <gtest/gtest.h>

#include "tests/controls/ColourTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/HslColor.h"
#include "ui/framework/NotifyCode.h"

using namespace colourtest;
using VREL::MPalette;

namespace {

// Field (0, 0)-(242, 150), bar (248, 0)-(280, 150) at the default height.
const CRect kPaletteRect(0, 0, 280, 160);

} // namespace

TEST(HslModel, RoundTripsThroughTheFieldKeepSinglePrecisionResults)
{
    struct Case
    {
        const char* name;
        COLORREF in;
        COLORREF out;
        int hue;
    };
    const Case cases[] = {
        {"green comes back with red 4, its hue stored as 119", RGB(0, 255, 0), RGB(4, 255, 0), 119},
        {"red is unchanged", RGB(255, 0, 0), RGB(255, 0, 0), 0},
        {"blue is unchanged", RGB(0, 0, 255), RGB(0, 0, 255), 240},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MPalette palette(nullptr, 1, kPaletteRect, 1);
        palette.SetSelectColor(c.in);
        EXPECT_EQ(palette.GetHue(), c.hue);
        EXPECT_EQ(palette.GetSelectColor(), c.out);
    }
    // The field's starting colour: H 180, S 200, L 120.
    EXPECT_EQ(VREL::HslToRgbScaled(180, 200, 120), RGB(51, 255, 254));
    EXPECT_EQ(MPalette(nullptr, 1, kPaletteRect, 1).GetSelectColor(), RGB(51, 255, 254));
}

TEST(ColourField, PressesMapTheFieldAndTheBarOntoTheModel)
{
    struct Case
    {
        const char* name;
        CPoint at;
        int hue, saturation, lightness;
    };
    const Case cases[] = {
        {"field, top row", CPoint(100, 0), 148, 200, 20},
        {"field, last row", CPoint(100, 149), 148, 200, 198},
        {"field, left and right columns", CPoint(0, 75), 0, 200, 110},
        {"field, last column", CPoint(241, 75), 358, 200, 110},
        {"bar, top row", CPoint(260, 0), 180, 0, 120},
        {"bar, last row", CPoint(260, 149), 180, 198, 120},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingOwner owner;
        MPalette palette(&owner, 5, kPaletteRect, 1);
        ASSERT_EQ(palette.GetPalletHeight(), 150);
        EXPECT_EQ(palette.OnControlLButtonDown(MK_LBUTTON, c.at), 1);
        EXPECT_EQ(palette.GetHue(), c.hue);
        EXPECT_EQ(palette.GetSaturation(), c.saturation);
        EXPECT_EQ(palette.GetLightness(), c.lightness);
        // A press that changes the colour reports it in wParam.
        const COLORREF colour = palette.GetSelectColor();
        EXPECT_EQ(owner.reports, (std::vector<Report>{{5, VREL::NC_COLOR, colour, 0}}));
    }
}

TEST(ColourField, DragsReportEveryStepAndAnUnchangedPressOrARelease)
{
    RecordingOwner owner;
    MPalette palette(&owner, 5, kPaletteRect, 1);
    palette.OnControlLButtonDown(MK_LBUTTON, CPoint(50, 50));
    palette.OnControlLButtonUp(0, CPoint(50, 50));
    owner.reports.clear();

    // Same point again: the colour does not change, nothing is reported.
    palette.OnControlLButtonDown(MK_LBUTTON, CPoint(50, 50));
    EXPECT_TRUE(owner.reports.empty());
    palette.OnControlMouseMove(MK_LBUTTON, CPoint(60, 55));
    palette.OnControlMouseMove(MK_LBUTTON, CPoint(70, 60));
    // Outside the field a field drag changes nothing.
    palette.OnControlMouseMove(MK_LBUTTON, CPoint(245, 60));
    palette.OnControlLButtonUp(0, CPoint(70, 60));
    const Report step = {5, VREL::NC_COLOR, 0, 0};
    EXPECT_EQ(owner.reports, (std::vector<Report>{step, step}));
    EXPECT_EQ(palette.GetThumbPos(), CPoint(70, 60));

    owner.reports.clear();
    palette.OnControlLButtonDown(MK_LBUTTON, CPoint(260, 10));
    owner.reports.clear();
    palette.OnControlMouseMove(MK_LBUTTON, CPoint(260, 100));
    EXPECT_EQ(owner.reports, (std::vector<Report>{step}));
    EXPECT_EQ(palette.GetSaturation(), 133);
}

TEST(ColourField, DrawsHueAcrossLightnessDownAndSaturationInTheBar)
{
    MPalette palette(nullptr, 1, kPaletteRect, 1);
    palette.SetManager(nullptr);
    DibCanvas canvas(kPaletteRect.Width(), kPaletteRect.Height());
    HDC& dc = canvas.Dc();
    palette.DrawControl(dc, kPaletteRect);

    struct Case
    {
        const char* name;
        int x, y;
        COLORREF expected;
        int tolerance;
    };
    // Field row y shows lightness 20 + y * 180 / 150; the bar shows
    // saturation down for hue 180 and lightness 120.
    const Case cases[] = {
        {"hue 0, lightness 20: dark red", 2, 1, RGB(51, 0, 0), 16},
        {"hue 180, lightness 100: cyan", 121, 67, RGB(0, 255, 255), 16},
        {"hue 240, lightness 100: blue", 161, 67, RGB(0, 0, 255), 20},
        {"bar top: grey", 252, 1, RGB(153, 153, 153), 8},
        {"bar bottom: the field's colour", 252, 148, RGB(51, 255, 254), 12},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(NearColor(canvas.Rgb(c.x, c.y), RgbOf(c.expected), c.tolerance))
            << std::hex << canvas.Rgb(c.x, c.y);
    }
}

TEST(ColourField, SaturationThumbIsFrameZeroOfItsStripBesideTheBar)
{
    MPalette palette(nullptr, 1, kPaletteRect, 1);
    palette.SetManager(nullptr);
    EXPECT_EQ(palette.SetThumbImage(TestTheme::kStrip4), 0);
    EXPECT_EQ(palette.GetThumbSize(), CSize(TestTheme::kStrip4Width, TestTheme::kStrip4Height));

    // Saturation 200 puts the thumb's middle on the bar's bottom (150);
    // it stands right of the 16-pixel bar, whose left edge is 248.
    DibCanvas canvas(kPaletteRect.Width(), kPaletteRect.Height());
    palette.DrawControl(canvas.Dc(), kPaletteRect);
    const int left = 248 + 16, top = 150 - TestTheme::kStrip4Height / 2;
    EXPECT_EQ(canvas.Rgb(left + TestTheme::kStrip4Width / 2, top + TestTheme::kStrip4Height / 2),
              TestTheme::FrameFill(0));

    // A strip that does not load leaves no thumb.
    palette.SetThumbImage(L"no_such_thumb.png");
    EXPECT_EQ(palette.GetThumbSize(), CSize(0, 0));
}
