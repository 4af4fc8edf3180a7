// Areas and static text: what they fill, what their setters ask for, and
// where MText puts its mark.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "tests/controls/ButtonTestSupport.h"
#include "ui/controls/Areas.h"
#include "ui/controls/MText.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

using ButtonTest::RecordingOwner;

namespace {

constexpr uint32_t kBlack = 0xFF000000;

// The left edge of a character's cell where a single line of the whole text
// is laid out from x = 0, spaces counted.
float CharacterLeft(const Gdiplus::Font& font, const CString& text, int index)
{
    DibCanvas canvas(1, 1);
    Gdiplus::Graphics graphics(canvas.Dc());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    const Gdiplus::CharacterRange range(index, 1);
    format.SetMeasurableCharacterRanges(1, &range);
    Gdiplus::Region region;
    graphics.MeasureCharacterRanges(text.GetString(), text.GetLength(), &font, Gdiplus::RectF(0, 0, 1000, 100),
                                    &format, 1, &region);
    Gdiplus::RectF bounds;
    region.GetBounds(&bounds, &graphics);
    return bounds.X;
}

// Paints a control alone on a black window of its size and returns the canvas.
std::unique_ptr<DibCanvas> Paint(VREL::MControl& control)
{
    const CRect rect = control.GetRect();
    auto canvas = std::make_unique<DibCanvas>(rect.right, rect.bottom, kBlack);
    HDC dc = canvas->Dc();
    control.Draw(dc, CRect(0, 0, rect.right, rect.bottom));
    return canvas;
}

TEST(Areas, AreaFillsARoundedBoxAtAlpha230AndIgnoresItsFrame)
{
    RecordingOwner owner;
    VREL::CArea area(&owner, 5, CRect(0, 0, 60, 40), 1, 1);
    area.SetTransparent(0, 0, 0x535837);
    EXPECT_EQ("U1", owner.Trace());
    auto before = Paint(area);
    // 0x375853 at alpha 230 over black.
    EXPECT_TRUE(NearColor(0x314F4B, before->Rgb(30, 20), 3)) << std::hex << before->Rgb(30, 20);
    EXPECT_EQ(0u, before->Rgb(0, 0)) << "the corner is rounded off";

    area.SetFrame(4, Gdiplus::Color(0xFFFF0000), 0);
    auto after = Paint(area);
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 60; x += 3)
            ASSERT_EQ(before->Rgb(x, y), after->Rgb(x, y)) << x << "," << y;
}

TEST(Areas, RoundAreaIsSquareWhenSmallAndDrawsItsFrameInset)
{
    RecordingOwner owner;
    const Gdiplus::Color red(0xFFFF0000);
    struct Case
    {
        const char* name;
        CRect rect;
        int round;
        bool cornerFilled;
    };
    const Case cases[] = {
        {"rounded", CRect(0, 0, 40, 30), 1, false},
        {"rounded but 8 high", CRect(0, 0, 40, 8), 1, true},
        {"rounded but 8 wide", CRect(0, 0, 8, 30), 1, true},
        {"square", CRect(0, 0, 40, 30), 0, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        VREL::CRoundArea area(&owner, 5, c.rect, 1, 1);
        area.SetColor(red);
        area.SetRound(c.round);
        auto canvas = Paint(area);
        EXPECT_EQ(c.cornerFilled, NearColor(0xFF0000, canvas->Rgb(0, 0), 8));
        EXPECT_TRUE(NearColor(0xFF0000, canvas->Rgb(c.rect.Width() / 2, c.rect.Height() / 2)));
    }

    VREL::CRoundArea framed(&owner, 5, CRect(0, 0, 40, 30), 1, 1);
    framed.SetColor(red);
    framed.SetRound(0);
    framed.SetFrame(1, Gdiplus::Color(0xFF00FF00), 1);
    auto canvas = Paint(framed);
    EXPECT_TRUE(NearColor(0xFF0000, canvas->Rgb(0, 15)));
    EXPECT_TRUE(NearColor(0x00FF00, canvas->Rgb(1, 15), 8));
    EXPECT_TRUE(NearColor(0xFF0000, canvas->Rgb(3, 15)));
}

TEST(Areas, TextAreaIsAnOpaqueBoxWithAOnePixelFrame)
{
    RecordingOwner owner;
    VREL::CTextArea box(&owner, 5, CRect(0, 0, 40, 20), L"", 1, 1);
    box.SetTransparent(0, 0, 0x0000FF);
    box.SetFrame(1, Gdiplus::Color(0xFF00FF00), 0);
    EXPECT_EQ("U1 U1", owner.Trace());
    auto canvas = Paint(box);
    EXPECT_EQ(0x00FF00u, canvas->Rgb(0, 0));
    EXPECT_EQ(0x00FF00u, canvas->Rgb(39, 19));
    // With no title, everything inside is the fill (0x0000FF as COLORREF is red).
    EXPECT_EQ(ButtonTest::BoundsOf(*canvas, 0xFF0000, CRect(0, 0, 40, 20)).EqualRect(CRect(1, 1, 39, 19)), true);
}

TEST(StaticText, BackgroundKeepsItsFirstColourAndTheTextTakesTheWheelOnlyWhenEnabled)
{
    RecordingOwner owner;
    VREL::MText text(&owner, 5, CRect(0, 0, 40, 20), L"", 1);
    text.EnableTextBack(1, Gdiplus::Color(0xFF00FF00));
    text.EnableTextBack(1, Gdiplus::Color(0xFF0000FF));
    EXPECT_EQ("U1 U1", owner.Trace());
    EXPECT_EQ(0x00FF00u, Paint(text)->Rgb(2, 2));

    EXPECT_EQ(0, text.IsEnabled());
    EXPECT_EQ(0, text.OnScroll(1, 1, CPoint(10, 10)));
    text.SetEnabled(1);
    EXPECT_EQ(1, text.OnScroll(1, 1, CPoint(10, 10)));
}

TEST(StaticText, MarkSettersRepaintOnlyOnChangeAndIgnoreNulls)
{
    RecordingOwner owner;
    VREL::MText text(&owner, 5, CRect(0, 0, 40, 20), L"abc", 1);
    text.SetMarkText(L"b");
    text.SetMarkText(L"b");
    text.SetMarkText(nullptr);
    text.SetTitleMarkText(nullptr, L"x", 0);
    EXPECT_EQ("U1", owner.Trace());
    text.SetTitleMarkText(L"abc", nullptr, 0);
    EXPECT_EQ("U1 U1", owner.Trace());
    text.SetMarkText(L"abd", L"d", Gdiplus::Color(0xFF0000FF), 1);
    EXPECT_STREQ(L"abd", text.GetTitle().GetString());
    EXPECT_EQ("U1 U1 U1", owner.Trace());
}

// Red title, blue mark: each piece stands where the plain title would have
// it, the mark two pixels clear of the text on either side, spaces around
// the mark included; a mark not found after its start draws nothing blue.
TEST(StaticText, MarkStandsTwoPixelsClearOfTheTextOnEitherSide)
{
    constexpr int kSize = 20;
    const CRect rect(0, 0, 300, 30);
    struct Case
    {
        const wchar_t* title;
        const wchar_t* mark;
        int start;
        bool marked;
    };
    const Case cases[] = {
        {L"abcdefXYghij", L"XY", 0, true},
        {L"abcdefXYghij", L"XY", 6, true},
        {L"Find the mark here", L"mark", 0, true},
        {L"abcdefXYghij", L"XY", 7, false},
        {L"abcdefXYghij", L"XY", -1, false},
        {L"abcdefXYghij", L"XY", 13, false},
    };
    std::unique_ptr<Gdiplus::FontFamily> family(VREL::MRender::CreateFontFamily(VREL::Manager::GetFontName()));
    const Gdiplus::Font font(family.get(), static_cast<Gdiplus::REAL>(kSize), Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    for (const Case& c : cases)
    {
        const CString title = c.title;
        SCOPED_TRACE(std::string(title.GetString(), title.GetString() + title.GetLength()) + " start " +
                     std::to_string(c.start));
        RecordingOwner owner;
        VREL::MText text(&owner, 5, rect, title, 1);
        text.SetFontWidth(kSize);
        text.SetAlignment(0, 0);
        text.SetTextColor(Gdiplus::Color(0xFFFF0000));
        text.SetMarkText(c.mark, Gdiplus::Color(0xFF0000FF), c.start);
        auto canvas = Paint(text);

        CRect blue, red;
        bool anyBlue = false;
        int firstRed = 1 << 20, redLeftOfMark = -1, redRightOfMarkMin = 1 << 20;
        for (int y = 0; y < rect.Height(); ++y)
            for (int x = 0; x < rect.Width(); ++x)
            {
                const uint32_t p = canvas->Rgb(x, y);
                if ((p & 0xFF) > 0x60 && (p >> 16) < 0x20)
                {
                    if (!anyBlue)
                        blue = CRect(x, y, x + 1, y + 1);
                    blue.left = std::min<LONG>(blue.left, x);
                    blue.right = std::max<LONG>(blue.right, x + 1);
                    anyBlue = true;
                }
            }
        if (!c.marked)
        {
            EXPECT_FALSE(anyBlue);
            continue;
        }
        ASSERT_TRUE(anyBlue);
        for (int y = 0; y < rect.Height(); ++y)
            for (int x = 0; x < rect.Width(); ++x)
            {
                const uint32_t p = canvas->Rgb(x, y);
                if ((p >> 16) > 0x60 && (p & 0xFF) < 0x20)
                {
                    firstRed = std::min(firstRed, x);
                    if (x < blue.left)
                        redLeftOfMark = std::max(redLeftOfMark, x);
                    else if (x >= blue.right)
                        redRightOfMarkMin = std::min(redRightOfMarkMin, x);
                    else
                        ADD_FAILURE() << "title pixel inside the mark at " << x;
                }
            }

        // Where the plain title's layout puts the first character, the
        // mark's and the first inked character after the mark.
        const int markAt = title.Find(c.mark, c.start);
        int rightAt = markAt + static_cast<int>(wcslen(c.mark));
        while (title[rightAt] == L' ')
            ++rightAt;
        const float first = CharacterLeft(font, title, 0);
        const int markOffset = static_cast<int>(CharacterLeft(font, title, markAt) - first + 0.5f);
        const int rightOffset = static_cast<int>(CharacterLeft(font, title, rightAt) - first + 0.5f);
        // Positions are taken from where the title's ink starts; glyphs
        // differ by a pixel or two of side bearing.
        EXPECT_NEAR(markOffset + 2, blue.left - firstRed, 2);
        EXPECT_NEAR(rightOffset + 4, redRightOfMarkMin - firstRed, 2);
        EXPECT_LT(redLeftOfMark, blue.left);
        EXPECT_LE(blue.right, redRightOfMarkMin);
    }
}

} // namespace
