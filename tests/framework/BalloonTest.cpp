// The balloon: where it places itself for each mode, when its hide timer
// runs, what it refuses, and its picture.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/framework/PopupTestSupport.h"
#include "ui/framework/AirBladder.h"
#include "ui/framework/Render.h"

using VREL::AIRBLADDER_MODE;
using VREL::AIRBLADDER_TYPE;
using VREL::MAirBladder;

namespace {

constexpr DWORD kBalloonStyle = 0x96000080;

class TestBalloon : public MAirBladder
{
public:
    TestBalloon() { Create(nullptr, L"AirBladder Window", kBalloonStyle, 0, CRect()); }
    ~TestBalloon() override { DestroyWindow(); }
    using MAirBladder::DrawBalloon;
};

// The library's own font, measured the way the balloon measures (near
// alignment, no wrap): the widest line and the height of one line.
class LibraryFont
{
public:
    LibraryFont()
    {
        HMODULE module = ::GetModuleHandleW(L"vrel.dll");
        HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(106), L"ttf");
        const void* data = ::LockResource(::LoadResource(module, info));
        m_fonts.AddMemoryFont(data, static_cast<INT>(::SizeofResource(module, info)));
        INT found = 0;
        m_fonts.GetFamilies(1, &m_family, &found);
    }
    Gdiplus::Size Measure(const wchar_t* text)
    {
        const Gdiplus::Font font(&m_family, 14.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentNear);
        format.SetLineAlignment(Gdiplus::StringAlignmentNear);
        format.SetFormatFlags(0x1800);
        return VREL::MRender::GetTextBounds(font, format, CString(text));
    }

private:
    Gdiplus::PrivateFontCollection m_fonts;
    Gdiplus::FontFamily m_family;
};

} // namespace

TEST(Balloon, PlacesItselfAgainstThePointByMode)
{
    LibraryFont font;
    const wchar_t* oneLine = L"Balloon text";
    const wchar_t* twoLines = L"First line\nthe second line";
    const wchar_t* threeLines = L"one\ntwo\nthree";
    const Gdiplus::Size one = font.Measure(oneLine);
    const Gdiplus::Size two = font.Measure(twoLines);
    const Gdiplus::Size three = font.Measure(threeLines);
    const int x = 500, y = 400;
    struct Case
    {
        const wchar_t* text;
        int mode;
        CRect expected;
    };
    const Case cases[] = {
        {oneLine, 1, CRect(x, y, x + one.Width + 40, y + one.Height + 20)},
        {oneLine, 2, CRect(x - one.Width - 40, y - 27, x, y + one.Height - 7)},
        {oneLine, 3, CRect(x - 25, y, x + one.Width + 15, y + one.Height + 30)},
        {oneLine, 4,
         CRect(x - (one.Width + 30) / 2, y - one.Height - 20, x - (one.Width + 30) / 2 + one.Width + 30, y)},
        {twoLines, 1, CRect(x, y, x + two.Width + 40, y + 2 * two.Height + 20)},
        {threeLines, 5, CRect(x, y - 10, x + three.Width + 40, y + 3 * three.Height - 45)},
        {oneLine, 9, CRect(0, 0, 0, 0)},
    };
    TestBalloon balloon;
    ASSERT_TRUE(balloon.GetSafeHwnd());
    for (const Case& c : cases)
    {
        EXPECT_EQ(1, balloon.SetAirBladderMsg(c.text, POINT{x, y}, VREL::AIRBLADDER_TYPE_NORMAL,
                                              static_cast<AIRBLADDER_MODE>(c.mode)));
        EXPECT_EQ(c.expected, PopupTest::WindowRect(balloon.GetSafeHwnd())) << "mode " << c.mode;
    }
}

TEST(Balloon, RepeatingTheSameMessageNeitherMovesNorRestartsTheHideTimer)
{
    TestBalloon balloon;
    const POINT pt{300, 200};
    ASSERT_EQ(1, balloon.SetAirBladderMsg(L"Saved", pt, VREL::AIRBLADDER_TYPE_NORMAL, VREL::AIRBLADDER_MODE_BELOW));
    // The first message started the timer.
    EXPECT_NE(0, balloon.KillTimer(VREL::TIMER_BALLOON_HIDE));

    const CRect placed = PopupTest::WindowRect(balloon.GetSafeHwnd());
    balloon.MoveWindow(10, 10, placed.Width(), placed.Height(), FALSE);
    EXPECT_EQ(1, balloon.SetAirBladderMsg(L"Saved", pt, VREL::AIRBLADDER_TYPE_NORMAL, VREL::AIRBLADDER_MODE_BELOW));
    EXPECT_EQ(0, balloon.KillTimer(VREL::TIMER_BALLOON_HIDE));
    EXPECT_EQ(10, PopupTest::WindowRect(balloon.GetSafeHwnd()).left);

    // A new point re-fits and restarts it; the staying kind starts none.
    EXPECT_EQ(1, balloon.SetAirBladderMsg(L"Saved", POINT{301, 200}, VREL::AIRBLADDER_TYPE_NORMAL,
                                          VREL::AIRBLADDER_MODE_BELOW));
    EXPECT_NE(0, balloon.KillTimer(VREL::TIMER_BALLOON_HIDE));
    EXPECT_EQ(1, balloon.SetAirBladderMsg(L"Saved", pt, VREL::AIRBLADDER_TYPE_STAY, VREL::AIRBLADDER_MODE_BELOW));
    EXPECT_EQ(0, balloon.KillTimer(VREL::TIMER_BALLOON_HIDE));
}

TEST(Balloon, HideTimerHidesItAndLosingFocusHidesItUnlessInModeFive)
{
    TestBalloon balloon;
    balloon.SetAirBladderMsg(L"Hint", POINT{200, 200}, VREL::AIRBLADDER_TYPE_AUTO_HIDE,
                             VREL::AIRBLADDER_MODE_RIGHT_BELOW);
    balloon.ShowWindow(SW_SHOWNOACTIVATE);
    balloon.SendMessageW(WM_TIMER, VREL::TIMER_BALLOON_HIDE, 0);
    EXPECT_FALSE(balloon.IsWindowVisible());

    balloon.ShowWindow(SW_SHOWNOACTIVATE);
    balloon.SendMessageW(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(balloon.IsWindowVisible());

    balloon.SetAirBladderMsg(L"a\nb\nc", POINT{200, 200}, VREL::AIRBLADDER_TYPE_AUTO_HIDE,
                             VREL::AIRBLADDER_MODE_RIGHT);
    balloon.ShowWindow(SW_SHOWNOACTIVATE);
    balloon.SendMessageW(WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(balloon.IsWindowVisible());
}

TEST(Balloon, NullTextIsRefusedAndChangesNothing)
{
    TestBalloon balloon;
    ASSERT_EQ(1, balloon.SetAirBladderMsg(L"Kept", POINT{100, 100}, VREL::AIRBLADDER_TYPE_NORMAL,
                                          VREL::AIRBLADDER_MODE_RIGHT_BELOW));
    balloon.KillTimer(VREL::TIMER_BALLOON_HIDE);
    const CRect before = PopupTest::WindowRect(balloon.GetSafeHwnd());
    EXPECT_EQ(0, balloon.SetAirBladderMsg(nullptr, POINT{300, 300}, VREL::AIRBLADDER_TYPE_NORMAL,
                                          VREL::AIRBLADDER_MODE_LEFT));
    EXPECT_EQ(CString(L"Kept"), balloon.GetText());
    EXPECT_EQ(before, PopupTest::WindowRect(balloon.GetSafeHwnd()));
    EXPECT_EQ(0, balloon.KillTimer(VREL::TIMER_BALLOON_HIDE));
}

TEST(Balloon, EmptyBalloonsPaintWithoutHarm)
{
    // One line in mode 5 has a negative height, an odd mode no size at all.
    TestBalloon balloon;
    EXPECT_EQ(1, balloon.SetAirBladderMsg(L"x", POINT{100, 100}, VREL::AIRBLADDER_TYPE_NORMAL,
                                          VREL::AIRBLADDER_MODE_RIGHT));
    EXPECT_EQ(1, balloon.SetAirBladderMsg(L"y", POINT{100, 100}, VREL::AIRBLADDER_TYPE_NORMAL,
                                          static_cast<AIRBLADDER_MODE>(7)));
    balloon.SendMessageW(WM_PAINT, 0, 0);
    PopupTest::Surface surface(4, 4);
    balloon.DrawBalloon(surface.Graphics(), 0, 0);
    balloon.DrawBalloon(surface.Graphics(), -3, 5);
    EXPECT_EQ(0u, surface.At(1, 1));
}

TEST(Balloon, BackgroundIsANineGridOverTheBalloon)
{
    TestBalloon balloon;
    ASSERT_EQ(1, balloon.LoadBKImage(CString(L"img_tip_bk.png")));
    EXPECT_EQ(0, balloon.LoadArrowLImage(CString(L"no_such_file.png")));
    PopupTest::Surface surface(120, 50);
    balloon.DrawBalloon(surface.Graphics(), 120, 50);
    // Test theme: frame 0 is red inside, dark red in its 8-pixel edge band;
    // the balloon keeps 6 pixels of the edge.
    EXPECT_EQ(0xFF7F0000u, surface.At(3, 25));
    EXPECT_EQ(0xFFFF0000u, surface.At(60, 25));
}
