// Push buttons: the pointer state machine and its notifications, the order
// of notification and repaint, disabled buttons, the cells of the skinned
// kinds, the countdown of CTimerButton, the hover balloons, and frame counts
// of 0.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/controls/ButtonTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/AirBladder.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

using ButtonTest::Probe;
using ButtonTest::RecordingOwner;

namespace {

const CRect kRect(10, 10, 110, 40);
const CPoint kInside(50, 20);
const CPoint kOutside(200, 20);

// One kind of push button, made on an owner, with its state readable.
struct PushKind
{
    const char* name;
    std::function<std::unique_ptr<VREL::MControl>(VREL::MObject*)> make;
    std::function<int(VREL::MControl&)> state;
    // The click is notified while the button still shows its pressed look.
    bool notifiesFirst;
};

template <class T>
PushKind Titled(const char* name, bool notifiesFirst = false)
{
    return PushKind{name,
                    [](VREL::MObject* owner) { return std::make_unique<Probe<T>>(owner, 7, kRect, L"Go", 1, 1); },
                    [](VREL::MControl& c) { return dynamic_cast<Probe<T>&>(c).State(); }, notifiesFirst};
}

std::vector<PushKind> PushKinds()
{
    return {
        Titled<VREL::MButton>("MButton"),
        Titled<VREL::MButton2>("MButton2"),
        PushKind{"MImageButton",
                 [](VREL::MObject* owner) {
                     return std::make_unique<Probe<VREL::MImageButton>>(owner, 7, kRect, 1, 1);
                 },
                 [](VREL::MControl& c) { return dynamic_cast<Probe<VREL::MImageButton>&>(c).State(); }, false},
        Titled<VREL::CImageButton>("CImageButton"),
        Titled<VREL::CTextButton>("CTextButton", true),
        Titled<VREL::UpgradeButton>("UpgradeButton"),
        Titled<VREL::DownloadButton>("DownloadButton"),
        Titled<VREL::CIconButton>("CIconButton"),
        Titled<VREL::CTimerButton>("CTimerButton"),
    };
}

enum Op
{
    MOVE,
    DOWN,
    UP,
};

struct Step
{
    Op op;
    CPoint pt;
    int stateAfter;
};

struct Sequence
{
    const char* name;
    std::vector<Step> steps;
    // Notifications and repaint requests in order; the second form for a
    // button that notifies its click before its repaint.
    const char* trace;
    const char* traceNotifyFirst;
};

int Apply(VREL::MControl& button, const Step& step)
{
    switch (step.op)
    {
    case MOVE:
        return button.OnMouseMove(0, step.pt);
    case DOWN:
        return button.OnLButtonDown(MK_LBUTTON, step.pt);
    case UP:
        return button.OnLButtonUp(0, step.pt);
    }
    return 0;
}

const std::vector<Sequence> kSequences = {
    {"press and release inside",
     {{MOVE, kInside, 1}, {DOWN, kInside, 2}, {UP, kInside, 1}},
     "U0 N1 U0 U0 N2",
     "U0 N1 U0 N2 U0"},
    {"press, drag out, release outside",
     {{MOVE, kInside, 1}, {DOWN, kInside, 2}, {MOVE, kOutside, 2}, {UP, kOutside, 0}},
     "U0 N1 U0 U0",
     "U0 N1 U0 U0"},
    {"press, out and back in, release inside",
     {{MOVE, kInside, 1}, {DOWN, kInside, 2}, {MOVE, kOutside, 2}, {MOVE, kInside, 2}, {UP, kInside, 1}},
     "U0 N1 U0 U0 N2",
     "U0 N1 U0 N2 U0"},
    {"press without hover first",
     {{DOWN, kInside, 2}, {UP, kInside, 1}},
     "N1 U0 U0 N2",
     "N1 U0 N2 U0"},
};

TEST(PushButtons, PointerSequencesNotifyAndEndInTheRightCell)
{
    for (const PushKind& kind : PushKinds())
    {
        for (const Sequence& sequence : kSequences)
        {
            SCOPED_TRACE(std::string(kind.name) + ": " + sequence.name);
            RecordingOwner owner;
            auto button = kind.make(&owner);
            int stateAtClick = -1;
            owner.onNotify = [&](UINT, UINT code, WPARAM, LPARAM) {
                if (code == VREL::NC_CLICKED)
                    stateAtClick = kind.state(*button);
            };
            for (const Step& step : sequence.steps)
            {
                Apply(*button, step);
                EXPECT_EQ(step.stateAfter, kind.state(*button));
            }
            EXPECT_EQ(kind.notifiesFirst ? sequence.traceNotifyFirst : sequence.trace, owner.Trace());
            for (const ButtonTest::Event& e : owner.Notifications())
            {
                EXPECT_EQ(7u, e.id);
                EXPECT_EQ(0u, e.wParam);
                EXPECT_EQ(0, e.lParam);
            }
            if (stateAtClick >= 0)
            {
                EXPECT_EQ(kind.notifiesFirst ? 2 : 1, stateAtClick);
            }
        }
    }
}

TEST(PushButtons, DisabledButtonsIgnoreThePointerAndShowTheDisabledCell)
{
    for (const PushKind& kind : PushKinds())
    {
        SCOPED_TRACE(kind.name);
        RecordingOwner owner;
        auto button = kind.make(&owner);
        button->OnMouseMove(0, kInside);
        button->SetEnabled(0);
        EXPECT_EQ(3, kind.state(*button));
        // The button's own state change, then the control base's content repaint.
        EXPECT_EQ("U0 U0 U1", owner.Trace());

        owner.Clear();
        button->OnMouseMove(0, kInside);
        button->OnLButtonDown(MK_LBUTTON, kInside);
        button->OnLButtonUp(0, kInside);
        EXPECT_EQ("", owner.Trace());
        EXPECT_EQ(3, kind.state(*button));

        // Enabled again under the pointer: normal until the next move.
        button->SetEnabled(1);
        EXPECT_EQ(0, kind.state(*button));
        button->OnMouseMove(0, kInside);
        EXPECT_EQ(1, kind.state(*button));
    }
}

TEST(PushButtons, HiddenButtonsRequestNoRepaint)
{
    RecordingOwner owner;
    Probe<VREL::MButton> button(&owner, 7, kRect, L"Go", 0, 1);
    button.OnControlMouseMove(0, kInside);
    button.OnControlLButtonDown(0, kInside);
    button.OnControlLButtonUp(0, kInside);
    EXPECT_EQ("N1 N2", owner.Trace());
}

TEST(PushButtons, OwnerDisablingTheButtonOnItsClickKeepsTheDisabledCell)
{
    RecordingOwner owner;
    Probe<VREL::CTextButton> button(&owner, 7, kRect, L"Go", 1, 1);
    owner.onNotify = [&](UINT, UINT code, WPARAM, LPARAM) {
        if (code == VREL::NC_CLICKED)
            button.SetEnabled(0);
    };
    button.OnLButtonDown(MK_LBUTTON, kInside);
    button.OnLButtonUp(0, kInside);
    EXPECT_EQ(3, button.State());
}

TEST(PushButtons, ImageButtonTakesSpaceOnlyWithKeyFocusAndNoModifier)
{
    class FocusedImageButton : public VREL::MImageButton
    {
    public:
        using MImageButton::MImageButton;
        void Focus(int focus) { m_bKeyFocus = focus; }
    };
    struct Case
    {
        int focus;
        UINT key;
        UINT modifiers;
        const char* trace;
    };
    const Case cases[] = {
        {1, VK_SPACE, 0, "N1 N2"}, {0, VK_SPACE, 0, ""},        {1, VK_SPACE, 0x10, ""},
        {1, VK_SPACE, 0x11, ""},   {1, VK_RETURN, 0, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.focus) + " " + std::to_string(c.key) + " " + std::to_string(c.modifiers));
        RecordingOwner owner;
        FocusedImageButton button(&owner, 7, kRect, 1, 1);
        button.Focus(c.focus);
        EXPECT_EQ(c.trace[0] ? 1 : 0, button.OnControlKeyDown(c.key, 1, c.modifiers));
        EXPECT_EQ(c.trace, owner.Trace());
    }
}

// ---- rendered cells ------------------------------------------------------------------------

// btn_apply.png in the test theme: 4 frames of 40 x 30 with a nine-grid
// margin of 8, the corner size MButton draws with by default.
constexpr wchar_t kApplySkin[] = L"btn_apply.png";

class SkinnedButton : public ::testing::Test
{
protected:
    VREL::PaintManager manager;
    RecordingOwner owner;
};

TEST_F(SkinnedButton, MButtonRendersEachNineGridCellWhenFirstShownAndSwitchesBetweenThem)
{
    using namespace TestTheme;
    const CRect rect(0, 0, 100, 40);
    Probe<VREL::MButton> button(&owner, 7, rect, L"", 1, 1);
    button.SetManager(&manager);
    ASSERT_EQ(1, button.SetImage(kApplySkin, 4));
    constexpr uint32_t kWindow = 0xFF000000;
    DibCanvas window(rect.Width(), rect.Height(), kWindow);
    HDC dc = window.Dc();
    button.Draw(dc, rect);
    ASSERT_NE(nullptr, button.CellDC());
    DibCanvas first(4 * rect.Width(), rect.Height());
    ButtonTest::CopyCells(button.CellDC(), 4, rect, first);
    EXPECT_TRUE(NearColor(FrameFill(0), first.Rgb(50, 20)));
    for (int cell = 1; cell < 4; ++cell)
        EXPECT_EQ(first.Rgb(cell * rect.Width() + 50, 20), kWindow & 0xFFFFFF) << "cell " << cell << " rendered unseen";

    // Hover, press and disabling show their cells without a new look.
    struct Change
    {
        std::function<void()> act;
        int cell;
    };
    const Change changes[] = {
        {[&] { button.OnMouseMove(0, CPoint(50, 20)); }, 1},
        {[&] { button.OnLButtonDown(MK_LBUTTON, CPoint(50, 20)); }, 2},
        {[&] { button.OnLButtonUp(0, CPoint(500, 20)); }, 0},
        {[&] { button.SetControlEnabled(0); }, 3},
    };
    for (const Change& change : changes)
    {
        SCOPED_TRACE("shows cell " + std::to_string(change.cell));
        change.act();
        EXPECT_EQ(1, button.GetUpdate());
        button.Draw(dc, rect);
        EXPECT_TRUE(NearColor(FrameFill(change.cell), window.Rgb(50, 20)));
    }

    DibCanvas cells(4 * rect.Width(), rect.Height());
    ButtonTest::CopyCells(button.CellDC(), 4, rect, cells);
    for (int cell = 0; cell < 4; ++cell)
    {
        SCOPED_TRACE("cell " + std::to_string(cell));
        const int x = cell * rect.Width();
        EXPECT_TRUE(NearColor(kTopLeft, cells.Rgb(x + 2, 2)));
        EXPECT_TRUE(NearColor(kTopRight, cells.Rgb(x + 97, 2)));
        EXPECT_TRUE(NearColor(kBottomLeft, cells.Rgb(x + 2, 37)));
        EXPECT_TRUE(NearColor(kBottomRight, cells.Rgb(x + 97, 37)));
        EXPECT_TRUE(NearColor(EdgeColor(cell), cells.Rgb(x + 50, 3)));
        EXPECT_TRUE(NearColor(EdgeColor(cell), cells.Rgb(x + 3, 20)));
        EXPECT_TRUE(NearColor(EdgeColor(cell), cells.Rgb(x + 96, 20)));
        EXPECT_TRUE(NearColor(FrameFill(cell), cells.Rgb(x + 50, 20)));
    }
}

// A cell rendered late stands on what lay under the button when its look was
// asked for, as it would had it been rendered then: the window changing under
// the button afterwards, without a new look asked for, changes no cell.
TEST_F(SkinnedButton, ACellRenderedLateStandsOnTheWindowTheButtonsLookWasAskedOn)
{
    const CRect rect(0, 0, 60, 30);
    // No skin: the window shows around the title.
    Probe<VREL::MButton> button(&owner, 7, rect, L"H", 1, 1);
    button.SetManager(&manager);
    constexpr uint32_t kFirstWindow = 0xFF2060A0, kLaterWindow = 0xFF000000;
    DibCanvas window(rect.Width(), rect.Height(), kFirstWindow);
    HDC dc = window.Dc();
    button.Draw(dc, rect);
    window.Fill(kLaterWindow);
    button.OnMouseMove(0, CPoint(30, 15));
    ASSERT_EQ(1, button.GetUpdate());
    button.Draw(dc, rect);
    EXPECT_EQ(window.Rgb(1, 1), kFirstWindow & 0xFFFFFF);
    // Its look gone stale, the button takes the window as it is now.
    button.SetUpdate(0, 0);
    window.Fill(kLaterWindow);
    button.Draw(dc, rect);
    EXPECT_EQ(window.Rgb(1, 1), kLaterWindow & 0xFFFFFF);
}

TEST_F(SkinnedButton, MButtonTitleSitsInItsRectangleShiftedAndWhiteWhenPressedGreyWhenDisabled)
{
    const CRect rect(0, 0, 80, 40);
    Probe<VREL::MButton> button(&owner, 7, rect, L"H", 1, 1);
    button.SetManager(&manager);
    button.SetTextColor(Gdiplus::Color(0xFFFF0000));
    button.SetFontWidth(20);
    button.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    const CRect textRect(40, 4, 76, 36);
    button.SetTextRect(textRect);
    DibCanvas window(rect.Width(), rect.Height(), 0xFF000000);
    HDC dc = window.Dc();
    button.DrawEveryCell(dc, rect, 4);
    DibCanvas cells(4 * rect.Width(), rect.Height());
    ButtonTest::CopyCells(button.CellDC(), 4, rect, cells);

    auto cellBox = [&](int cell) { return CRect(cell * 80, 0, cell * 80 + 80, 40); };
    CRect normal = ButtonTest::BoundsOf(cells, 0xFF0000, cellBox(0));
    ASSERT_FALSE(normal.IsRectEmpty());
    EXPECT_GE(normal.left, textRect.left);
    EXPECT_LE(normal.right, textRect.right);
    CRect hover = ButtonTest::BoundsOf(cells, 0xFF0000, cellBox(1));
    hover.OffsetRect(-80, 0);
    EXPECT_TRUE(hover.EqualRect(normal));
    CRect pressed = ButtonTest::BoundsOf(cells, 0xFFFFFF, cellBox(2));
    pressed.OffsetRect(-160, 0);
    normal.OffsetRect(1, 1);
    EXPECT_TRUE(pressed.EqualRect(normal));
    normal.OffsetRect(-1, -1);
    CRect disabled = ButtonTest::BoundsOf(cells, 0x808080, cellBox(3));
    disabled.OffsetRect(-240, 0);
    EXPECT_TRUE(disabled.EqualRect(normal));
}

TEST(TextButton, AlignmentPlacesTheMeasuredTextWithSixPixelsOfRoom)
{
    // Each alignment moves the same text by whole pixels from where the
    // top-left alignment puts it: half of w - (measured width + 6) to the
    // centre, h - measured height to the bottom, half of it to the middle.
    // (Right alignment leaves the text a box only 6 pixels wider than its
    // ink; Wine's GDI+ then drops the glyphs instead of clipping them, so
    // it is not drawn here.)
    const int w = 120, h = 40, size = 20;
    auto inkOf = [&](UINT hAlign, UINT vAlign) {
        RecordingOwner owner;
        Probe<VREL::CTextButton> button(&owner, 7, CRect(0, 0, w, h), L"H", 1, 1);
        button.SetTextColor(Gdiplus::Color(0xFFFF0000));
        button.SetFontWidth(size);
        button.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
        button.SetAlignment(hAlign, vAlign);
        DibCanvas window(w, h, 0xFF000000);
        HDC dc = window.Dc();
        button.Draw(dc, CRect(0, 0, w, h));
        return ButtonTest::BoundsOf(window, 0xFF0000, CRect(0, 0, w, h));
    };

    RecordingOwner owner;
    VREL::CTextButton reference(&owner, 7, CRect(0, 0, w, h), L"H", 1, 1);
    std::unique_ptr<Gdiplus::FontFamily> family(VREL::MRender::CreateFontFamily(reference.GetTextFont()));
    const Gdiplus::Font font(family.get(), static_cast<Gdiplus::REAL>(size), reference.GetFontStyle(),
                             Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    const Gdiplus::Size measured = VREL::MRender::GetTextBounds(font, format, CString(L"H"));
    const int roomX = w - (measured.Width + 6);
    const int roomY = h - measured.Height;

    const CRect topLeft = inkOf(0, 0);
    ASSERT_FALSE(topLeft.IsRectEmpty());
    struct Case
    {
        UINT hAlign;
        UINT vAlign;
        int dx;
        int dy;
    };
    const Case cases[] = {
        {1, 0, roomX / 2, 0}, {0, 4, 0, roomY / 2}, {1, 8, roomX / 2, roomY}, {1, 4, roomX / 2, roomY / 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.hAlign) + " " + std::to_string(c.vAlign));
        const CRect ink = inkOf(c.hAlign, c.vAlign);
        EXPECT_EQ(topLeft.left + c.dx, ink.left);
        EXPECT_EQ(topLeft.top + c.dy, ink.top);
    }
}

// Renders the button's cells and returns them side by side.
template <class T>
std::unique_ptr<DibCanvas> RenderCells(Probe<T>& button, int count)
{
    const CRect rect = button.GetRect();
    DibCanvas window(rect.right, rect.bottom, 0xFF000000);
    HDC dc = window.Dc();
    button.DrawEveryCell(dc, rect, count);
    auto cells = std::make_unique<DibCanvas>(count * rect.Width(), rect.Height());
    ButtonTest::CopyCells(button.CellDC(), count, rect, *cells);
    return cells;
}

TEST_F(SkinnedButton, MButton2DrawsItsIconSmallWithTheSecondFrameWhenPressed)
{
    using namespace TestTheme;
    Probe<VREL::MButton2> button(&owner, 7, CRect(0, 0, 60, 30), L"", 1, 1);
    button.SetManager(&manager);
    ASSERT_EQ(1, button.SetImage(kApplySkin, 4));
    ASSERT_EQ(1, button.SetIconImage(kStrip4, kStrip4Frames));
    auto cells = RenderCells(button, 4);
    for (int cell = 0; cell < 4; ++cell)
    {
        SCOPED_TRACE("cell " + std::to_string(cell));
        const int x = cell * 60;
        // The icon's 10 x 10 box starts 5 pixels in, vertically centred.
        EXPECT_TRUE(NearColor(FrameFill(cell == 2 ? 1 : 0), cells->Rgb(x + 10, 15)));
        EXPECT_TRUE(NearColor(FrameFill(cell), cells->Rgb(x + 30, 15)));
        EXPECT_TRUE(NearColor(FrameFill(cell), cells->Rgb(x + 16, 15))) << "nothing past the 10 pixels";
    }
}

TEST_F(SkinnedButton, IconButtonDrawsItsIconInItsRectangleOnlyWhenTitled)
{
    using namespace TestTheme;
    struct Case
    {
        const char* name;
        const wchar_t* title;
        int iconFrames;
        // Frame of the icon strip each cell shows, or -1 for none.
        int frames[4];
    };
    const Case cases[] = {
        {"a frame per cell", L"x", kStrip4Frames, {0, 1, 2, 3}},
        {"one frame in every cell", L"x", 1, {0, 0, 0, 0}},
        {"untitled: no icon", L"", kStrip4Frames, {-1, -1, -1, -1}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Probe<VREL::CIconButton> button(&owner, 7, CRect(0, 0, 60, 30), c.title, 1, 1);
        ASSERT_EQ(1, button.SetIconImage(kStrip4, c.iconFrames));
        // The title far right, clear of the icon 4 pixels in.
        button.SetTextRect(CRect(44, 0, 60, 30), CRect(4, 0, 16, 30));
        auto cells = RenderCells(button, 4);
        for (int cell = 0; cell < 4; ++cell)
        {
            SCOPED_TRACE("cell " + std::to_string(cell));
            // The 12 x 10 icon is vertically centred: rows 10 to 19.
            const uint32_t expected = c.frames[cell] < 0 ? 0u : FrameFill(c.frames[cell]);
            const uint32_t drawn = cells->Rgb(cell * 60 + 10, 15);
            EXPECT_TRUE(NearColor(expected, drawn)) << std::hex << drawn;
            EXPECT_TRUE(NearColor(0, cells->Rgb(cell * 60 + 2, 15))) << "nothing left of the icon rectangle";
        }
    }
}

TEST_F(SkinnedButton, UpgradeBadgeShowsInEveryCellOnlyWhileTheStatusIsSet)
{
    Probe<VREL::UpgradeButton> button(&owner, 7, CRect(0, 0, 60, 30), L"", 1, 1);
    button.SetManager(&manager);
    ASSERT_EQ(1, button.SetImage(kApplySkin, 4));
    owner.Clear();
    button.SetUpgradeStatus(1);
    button.SetUpgradeStatus(1);
    EXPECT_EQ("U1", owner.Trace());
    auto cells = RenderCells(button, 4);
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_TRUE(NearColor(0xFF0000, cells->Rgb(cell * 60 + 52, 13), 16)) << cell;
    button.SetUpgradeStatus(0);
    cells = RenderCells(button, 4);
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_FALSE(NearColor(0xFF0000, cells->Rgb(cell * 60 + 52, 13), 16)) << cell;
}

TEST_F(SkinnedButton, DownloadProgressIsOneBarWhateverTheState)
{
    using namespace TestTheme;
    Probe<VREL::DownloadButton> button(&owner, 7, CRect(0, 0, 100, 40), L"", 1, 1);
    button.SetManager(&manager);
    ASSERT_EQ(1, button.SetImage(kApplySkin, 4));
    button.SetDownloadProcess(50);
    DibCanvas window(100, 40, 0xFF000000);
    HDC dc = window.Dc();
    for (int look = 0; look < 3; ++look)
    {
        SCOPED_TRACE("look " + std::to_string(look));
        if (look == 1)
            button.OnMouseMove(0, CPoint(50, 20));
        if (look == 2)
            button.OnLButtonDown(MK_LBUTTON, CPoint(50, 20));
        button.Draw(dc, CRect(0, 0, 100, 40));
        EXPECT_TRUE(NearColor(FrameFill(1), window.Rgb(25, 12)));
        EXPECT_TRUE(NearColor(FrameFill(0), window.Rgb(75, 12)));
    }
    button.SetDownloadProcess(0);
    button.Draw(dc, CRect(0, 0, 100, 40));
    EXPECT_TRUE(NearColor(FrameFill(2), window.Rgb(25, 12))) << "the pressed cell again";
    EXPECT_TRUE(NearColor(FrameFill(2), window.Rgb(75, 12)));
}

// ---- countdown -----------------------------------------------------------------------------

class ClockedTimerButton : public VREL::CTimerButton
{
public:
    using CTimerButton::CTimerButton;
    CString Text() { return CountdownText(); }
    int Running() const { return m_running; }
    DWORD now = 0;

protected:
    DWORD CurrentTick() const override { return now; }
};

constexpr DWORD kStart = 0xFFFFF000;  // the tick count wraps during the run

TEST(TimerButton, CountsDownFromTenSecondsAndNeverBelowZero)
{
    RecordingOwner owner;
    ClockedTimerButton button(&owner, 7, kRect, L"Go", 1, 1);
    button.now = kStart;
    ASSERT_EQ(1, button.SetRun(1));
    const struct
    {
        DWORD elapsed;
        const wchar_t* text;
    } cases[] = {
        {0, L"Go(10s)"}, {999, L"Go(10s)"}, {1000, L"Go(9s)"}, {9999, L"Go(1s)"},
        {10000, L"Go(0s)"}, {15000, L"Go(0s)"},
    };
    for (const auto& c : cases)
    {
        button.now = kStart + c.elapsed;
        EXPECT_STREQ(c.text, button.Text().GetString()) << c.elapsed;
    }
    button.SetRun(0);
    EXPECT_STREQ(L"Go", button.Text().GetString());
}

TEST(TimerButton, TicksRepaintAtMostEvery800MsAndClickOnceWhenTheTimeIsUp)
{
    RecordingOwner owner;
    ClockedTimerButton button(&owner, 7, kRect, L"Go", 1, 1);
    button.now = kStart;
    button.SetRun(1);
    owner.Clear();

    std::vector<DWORD> repaints;
    std::vector<DWORD> clicks;
    constexpr DWORD kTickMs = 16;
    for (DWORD t = kTickMs; t <= 13000; t += kTickMs)
    {
        button.now = kStart + t;
        const size_t before = owner.events.size();
        const int ticked = button.OnTimer();
        for (size_t i = before; i < owner.events.size(); ++i)
        {
            const ButtonTest::Event& e = owner.events[i];
            if (e.kind == ButtonTest::Event::UPDATE)
            {
                EXPECT_EQ(1, e.redraw);
                repaints.push_back(t);
            }
            else if (e.code == VREL::NC_CLICKED)
            {
                clicks.push_back(t);
            }
        }
        EXPECT_EQ(clicks.empty() || clicks.back() == t ? 1 : 0, ticked) << t;
    }
    ASSERT_EQ(1u, clicks.size());
    ASSERT_GE(repaints.size(), 2u);
    for (size_t i = 1; i < repaints.size(); ++i)
        EXPECT_GT(repaints[i] - repaints[i - 1], 800u);
    // The click comes with the first repainting tick past ten seconds.
    EXPECT_EQ(repaints.back(), clicks[0]);
    EXPECT_GT(clicks[0], 10000u);
    EXPECT_LE(repaints[repaints.size() - 2], 10000u);
    EXPECT_EQ(0, button.Running());
}

TEST(TimerButton, AClickStopsTheRunAndDisabledButtonsDoNotStart)
{
    RecordingOwner owner;
    ClockedTimerButton button(&owner, 7, kRect, L"Go", 1, 1);
    button.now = kStart;
    button.SetRun(1);
    button.OnLButtonDown(MK_LBUTTON, kInside);
    button.OnLButtonUp(0, kInside);
    EXPECT_EQ(0, button.Running());
    owner.Clear();
    button.now = kStart + 11000;
    EXPECT_EQ(0, button.OnTimer());
    EXPECT_EQ("", owner.Trace());

    button.SetEnabled(0);
    EXPECT_EQ(0, button.SetRun(1));
    EXPECT_EQ(0, button.Running());
}

TEST(TimerButton, AnOwnerThatStartsAgainOnTheClickKeepsTheNewRun)
{
    RecordingOwner owner;
    ClockedTimerButton button(&owner, 7, kRect, L"Go", 1, 1);
    owner.onNotify = [&](UINT, UINT code, WPARAM, LPARAM) {
        if (code == VREL::NC_CLICKED)
            button.SetRun(1);
    };
    button.now = kStart;
    button.SetRun(1);
    button.now = kStart + 10001;
    button.OnTimer();
    EXPECT_EQ(1, button.Running());

    button.OnLButtonDown(MK_LBUTTON, kInside);
    button.OnLButtonUp(0, kInside);
    EXPECT_EQ(1, button.Running());
}

TEST(TimerButton, FocusShowsOnlyWhileEnabled)
{
    RecordingOwner owner;
    ClockedTimerButton button(&owner, 7, kRect, L"Go", 1, 1);
    EXPECT_EQ(1, button.SetControlFocus(1));
    EXPECT_EQ(1, button.IsFocused());
    EXPECT_EQ("U1", owner.Trace());
    EXPECT_EQ(1, button.SetControlFocus(1));
    EXPECT_EQ("U1", owner.Trace());
    button.SetEnabled(0);
    EXPECT_EQ(0, button.SetControlFocus(0));
    EXPECT_EQ(1, button.IsFocused());
}

// ---- balloons ----------------------------------------------------------------------------

TEST(HelpButton, LeavingHidesTheBalloonOnlyWhileItsOwnIdHoldsIt)
{
    VREL::MDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr, L"help", WS_POPUP, 0, CRect(100, 100, 400, 300)));
    VREL::PaintManager* manager = dialog.GetPaintManager();
    auto* first = new VREL::CHelpButton(static_cast<VREL::MObject*>(&dialog), 5, CRect(10, 10, 30, 30), L"First", 1, 1);
    auto* second =
        new VREL::CHelpButton(static_cast<VREL::MObject*>(&dialog), 6, CRect(50, 10, 70, 30), L"Second", 1, 1);
    manager->AddControl(VREL::CONTROL_KIND_CONTROL, first);
    manager->AddControl(VREL::CONTROL_KIND_CONTROL, second);
    const CPoint away(200, 150);

    EXPECT_EQ(1, first->OnMouseMove(0, CPoint(15, 15)));
    ASSERT_NE(nullptr, manager->GetAirBladder());
    EXPECT_TRUE(manager->GetAirBladder()->IsWindowVisible());
    // The second button takes the balloon over; the first one leaving does
    // not hide it.
    EXPECT_EQ(1, second->OnMouseMove(0, CPoint(55, 15)));
    EXPECT_EQ(0, first->OnMouseMove(0, away));
    EXPECT_TRUE(manager->GetAirBladder()->IsWindowVisible());
    EXPECT_EQ(0, second->OnMouseMove(0, away));
    EXPECT_FALSE(manager->GetAirBladder()->IsWindowVisible());
    dialog.DestroyWindow();
}

TEST(ImageButton, HoverBalloonHangsFromTheEdgeItsModeNames)
{
    // The button's middle row is client y 35; the balloon's window edges
    // show where it was anchored (right of the point in mode 1, left of it
    // in mode 2, and 25 pixels left of client x 0 below it in other modes).
    const CRect rect(40, 20, 100, 50);
    struct Case
    {
        const char* name;
        VREL::AIRBLADDER_MODE mode;
        const wchar_t* title;
        bool shown;
        int anchorX;
    };
    const Case cases[] = {
        {"mode 1: right edge", VREL::AIRBLADDER_MODE_RIGHT_BELOW, L"Tip", true, 100},
        {"mode 2: left edge", VREL::AIRBLADDER_MODE_LEFT, L"Tip", true, 40},
        {"other modes: x 0", VREL::AIRBLADDER_MODE_BELOW, L"Tip", true, 0},
        {"mode 0: no balloon", VREL::AIRBLADDER_MODE_NONE, L"Tip", false, 0},
        {"untitled: no balloon", VREL::AIRBLADDER_MODE_RIGHT_BELOW, L"", false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        VREL::MDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr, L"image", WS_POPUP, 0, CRect(100, 100, 400, 300)));
        VREL::PaintManager* manager = dialog.GetPaintManager();
        auto* button = new VREL::CImageButton(static_cast<VREL::MObject*>(&dialog), 5, rect, c.title, 1, 1);
        manager->AddControl(VREL::CONTROL_KIND_CONTROL, button);
        button->SetAlrBladderMode(c.mode);

        button->OnMouseMove(0, CPoint(70, 35));
        VREL::MAirBladder* balloon = manager->GetAirBladder();
        EXPECT_EQ(c.shown, balloon && balloon->IsWindowVisible());
        if (c.shown && balloon)
        {
            POINT anchor{c.anchorX, 35};
            ClientToScreen(dialog.GetSafeHwnd(), &anchor);
            RECT placed;
            GetWindowRect(balloon->GetSafeHwnd(), &placed);
            if (c.mode == VREL::AIRBLADDER_MODE_RIGHT_BELOW)
            {
                EXPECT_EQ(anchor.x, placed.left);
                EXPECT_EQ(anchor.y, placed.top);
            }
            else if (c.mode == VREL::AIRBLADDER_MODE_LEFT)
            {
                EXPECT_EQ(anchor.x, placed.right);
                EXPECT_EQ(anchor.y - 27, placed.top);
            }
            else
            {
                EXPECT_EQ(anchor.x - 25, placed.left);
                EXPECT_EQ(anchor.y, placed.top);
            }
            button->OnMouseMove(0, CPoint(300, 150));
            EXPECT_FALSE(balloon->IsWindowVisible()) << "leaving hides it";
        }
        dialog.DestroyWindow();
    }
}

// ---- frame counts ----------------------------------------------------------------------------

TEST_F(SkinnedButton, AFrameCountOfZeroCountsAsOne)
{
    using namespace TestTheme;
    Probe<VREL::MButton> button(&owner, 7, kRect, L"Go", 1, 1);
    EXPECT_EQ(1, button.SetIconImage(kStrip4, 0));

    VREL::CSwitchButton toggle(&owner, 8, kRect, 1, 1);
    EXPECT_EQ(1, toggle.SetImage(kStrip4, kStrip4, 0));

    VREL::CCheckButton box(&owner, 9, kRect, L"Go", 1, 1);
    box.SetManager(&manager);
    ASSERT_EQ(1, box.SetImage(kStrip4, 0));
    // One frame of the whole strip's width.
    EXPECT_EQ(kStrip4Width * kStrip4Frames, box.GetImageSize().cx);

    // Drawing with such strips divides nothing by zero either.
    DibCanvas window(200, 60);
    HDC dc = window.Dc();
    toggle.Draw(dc, CRect(0, 0, 200, 60));
    box.Draw(dc, CRect(0, 0, 200, 60));
}

TEST_F(SkinnedButton, IconImagesLoadFromTheSkinFolder)
{
    using namespace TestTheme;
    Probe<VREL::MButton> button(&owner, 7, kRect, L"Go", 1, 1);
    EXPECT_EQ(1, button.SetIconImage(kStrip4, kStrip4Frames));
    EXPECT_EQ(0, button.SetIconImage(L"no_such_icon.png", 4));
    EXPECT_EQ("", owner.Trace());
}

} // namespace
