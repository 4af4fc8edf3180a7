// The key tooltips: placement above a key, repeated and refused calls, and
// the panel they paint.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/PopupTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/AirBladder.h"
#include "ui/framework/KeyboardTips.h"

using VREL::CKeyboardTips;
using VREL::KBToolTips;

namespace {

constexpr DWORD kTipStyle = 0x96000080;

class TestTips : public CKeyboardTips
{
public:
    TestTips() { Create(nullptr, L"KeyboardTip Window", kTipStyle, 0, CRect()); }
    ~TestTips() override { DestroyWindow(); }
    using CKeyboardTips::DrawTips;
};

} // namespace

TEST(KeyboardTips, BoxHangsCentredAboveThePointAndIgnoresRepeats)
{
    TestTips tips;
    ASSERT_TRUE(tips.GetSafeHwnd());
    ASSERT_EQ(1, tips.SetAirBladderMsg(L"Esc", L"Escape", L"Layer 1", POINT{400, 300}));
    EXPECT_EQ(CRect(305, 200, 495, 300), PopupTest::WindowRect(tips.GetSafeHwnd()));

    // The same lines at the same point do not move the box back.
    tips.MoveWindow(0, 0, 190, 100, FALSE);
    EXPECT_EQ(1, tips.SetAirBladderMsg(L"Esc", L"Escape", L"Layer 1", POINT{400, 300}));
    EXPECT_EQ(CRect(0, 0, 190, 100), PopupTest::WindowRect(tips.GetSafeHwnd()));
    // Another extra line does.
    EXPECT_EQ(1, tips.SetAirBladderMsg(L"Esc", L"Escape", L"Layer 2", POINT{400, 300}));
    EXPECT_EQ(CRect(305, 200, 495, 300), PopupTest::WindowRect(tips.GetSafeHwnd()));
    // An empty title moves nothing.
    tips.MoveWindow(0, 0, 190, 100, FALSE);
    EXPECT_EQ(1, tips.SetAirBladderMsg(L"", L"Escape", L"Layer 2", POINT{50, 60}));
    EXPECT_EQ(CRect(0, 0, 190, 100), PopupTest::WindowRect(tips.GetSafeHwnd()));
}

TEST(KeyboardTips, NullArgumentsAreRefusedWithoutStoringAnything)
{
    TestTips tips;
    ASSERT_EQ(1, tips.SetAirBladderMsg(L"F1", L"Help", L"", POINT{400, 300}));
    tips.MoveWindow(0, 0, 190, 100, FALSE);
    struct Case
    {
        const wchar_t* title;
        const wchar_t* text;
        const wchar_t* extra;
        int result;
    };
    const Case refused[] = {
        {nullptr, L"Help", L"", 0},
        {L"F1", nullptr, L"", 0},
        {L"F1", L"Help", nullptr, 0},
    };
    for (const Case& c : refused)
    {
        EXPECT_EQ(c.result, tips.SetAirBladderMsg(c.title, c.text, c.extra, POINT{500, 500}));
        EXPECT_EQ(CRect(0, 0, 190, 100), PopupTest::WindowRect(tips.GetSafeHwnd()));
    }
    // With a new title, missing lines are simply empty.
    EXPECT_EQ(1, tips.SetAirBladderMsg(L"F2", nullptr, nullptr, POINT{500, 500}));
    EXPECT_EQ(CRect(405, 400, 595, 500), PopupTest::WindowRect(tips.GetSafeHwnd()));
}

TEST(KeyboardTips, PanelHasAThinRimLeftAndTopAndAThickRimRightAndBottom)
{
    TestTips tips;
    DibCanvas canvas(190, 100, 0xFF00FF00);
    tips.DrawTips(canvas.Dc(), 190, 100);
    struct Probe
    {
        int x, y;
        uint32_t rgb;
    };
    const Probe probes[] = {
        {0, 50, 0x505050}, {1, 50, 0x141414}, {95, 0, 0x505050},  {95, 1, 0x141414},
        {188, 50, 0x505050}, {187, 50, 0x141414}, {95, 98, 0x505050}, {95, 97, 0x141414},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.rgb, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;
}

TEST(KeyboardTips, ReducedTooltipChecksArgumentsAndChangesNothing)
{
    KBToolTips tips;
    ASSERT_TRUE(tips.Create(nullptr, L"KeyboardTip Window", kTipStyle, 0, CRect(10, 20, 110, 70)));
    EXPECT_EQ(0, tips.SetAirBladderMsg(nullptr, L"a", L"b", POINT{300, 300}));
    EXPECT_EQ(0, tips.SetAirBladderMsg(L"", nullptr, L"b", POINT{300, 300}));
    EXPECT_EQ(1, tips.SetAirBladderMsg(L"Tab", L"a", L"b", POINT{300, 300}));
    EXPECT_EQ(CRect(10, 20, 110, 70), PopupTest::WindowRect(tips.GetSafeHwnd()));
    tips.PostMessageW(VREL::WM_USER_CLOSE_WINDOW, 0, 0);
    PopupTest::Pump();
    EXPECT_FALSE(::IsWindow(tips.GetSafeHwnd()));
}

namespace {

class FontOfBalloon : public VREL::MAirBladder
{
public:
    FontOfBalloon() { Create(nullptr, L"AirBladder Window", kTipStyle, 0, CRect()); }
    ~FontOfBalloon() override { DestroyWindow(); }
    using MAirBladder::GetTempFont;
};

class FontOfTips : public TestTips
{
public:
    using CKeyboardTips::GetTempFont;
};

} // namespace

TEST(KeyboardTips, BalloonsAndKeyTipsShareOneCopyOfTheLibraryFont)
{
    // Every copy of the font's collection holds the whole font, and the
    // system never gives it back: many tips and balloons over a session
    // must not each load one.
    FontOfTips first;
    FontOfTips second;
    FontOfBalloon balloon;
    FontOfBalloon another;
    ASSERT_NE(first.GetTempFont(), nullptr);
    EXPECT_EQ(second.GetTempFont(), first.GetTempFont());
    EXPECT_EQ(balloon.GetTempFont(), first.GetTempFont());
    EXPECT_EQ(another.GetTempFont(), first.GetTempFont());
}
