// The paint manager on a real window: input routing (hover, press and
// capture, focus walk, wheel, keys), repaint requests and double-buffered
// painting, and what remains of a control after it is removed. Input is
// sent as window messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/framework/CoreTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/MPanel.h"

using namespace coretest;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

class WindowTest : public PopupFixture<>
{
protected:
    WindowTest() : PopupFixture(kWidth, kHeight) {}
    void SetUp() override
    {
        PopupFixture::SetUp();
        dialog.EnableWndDrag(0);
        CursorTo(hwnd, 5, 5);
        HoldKeys({});
    }
    void TearDown() override
    {
        HoldKeys({});
        PopupFixture::TearDown();
    }

    Probe* AddProbe(UINT id, CRect rect, COLORREF colour = RGB(200, 0, 0))
    {
        return dialog.Add(new Probe(&dialog, id, rect, colour));
    }
};

} // namespace

// ---- routing ----------------------------------------------------------------------------

// A click travels from the window through a plain control to its child and
// comes back to the dialog as (child id, clicked).
TEST_F(WindowTest, ClickThroughAControlReachesTheDialogAsClicked)
{
    Probe* parent = AddProbe(1, CRect(20, 20, 220, 120));
    parent->notifyClickOnRelease = 0;
    Probe* child = new Probe(&dialog, 5, CRect(40, 40, 80, 80));
    child->SetManager(&Manager());
    parent->AddChild(child);

    Click(hwnd, 50, 50);

    ASSERT_EQ(dialog.reports.size(), 1u);
    EXPECT_EQ(dialog.reports[0], (Report{5, VREL::NC_CLICKED, 0, 0}));
    EXPECT_EQ(child->Count("down"), 1);
    EXPECT_EQ(parent->Count("down"), 0);
}

TEST_F(WindowTest, LaterOverlappingControlBecomesHoverButAllSeeTheMove)
{
    Probe* below = AddProbe(1, CRect(10, 10, 100, 100));
    Probe* above = AddProbe(2, CRect(50, 50, 150, 150));
    Move(hwnd, 60, 60);
    EXPECT_EQ(Manager().GetHoverControl(), above);
    EXPECT_EQ(below->Count("move"), 1);
    EXPECT_EQ(above->Count("move"), 1);
}

TEST_F(WindowTest, PressCapturesAndTheReleaseOutsideDropsTheHover)
{
    Probe* button = AddProbe(1, CRect(10, 10, 60, 60));
    Move(hwnd, 20, 20);
    Down(hwnd, 20, 20);
    EXPECT_EQ(::GetCapture(), hwnd);
    EXPECT_EQ(Manager().IsCaptured(), 1);

    // Dragged out of the control (even out of the window) it keeps the moves.
    Move(hwnd, 300, 250, MK_LBUTTON);
    Move(hwnd, -40, -40, MK_LBUTTON);
    EXPECT_EQ(Manager().GetHoverControl(), button);
    EXPECT_EQ(button->Count("move"), 3);
    EXPECT_EQ(button->lastPoint, CPoint(-40, -40));

    Up(hwnd, -40, -40);
    EXPECT_EQ(button->Count("up"), 1);
    EXPECT_EQ(Manager().GetHoverControl(), nullptr);
    EXPECT_EQ(Manager().IsCaptured(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(dialog.reports.empty());  // released outside: no click
}

TEST_F(WindowTest, ReleaseInsideKeepsTheHoverAndClicks)
{
    Probe* button = AddProbe(3, CRect(10, 10, 60, 60));
    Click(hwnd, 20, 20);
    EXPECT_EQ(Manager().GetHoverControl(), button);
    ASSERT_EQ(dialog.reports.size(), 1u);
    EXPECT_EQ(dialog.reports[0].id, 3u);
}

TEST_F(WindowTest, DeactivationReleasesAHeldControl)
{
    Probe* button = AddProbe(1, CRect(10, 10, 60, 60));
    Move(hwnd, 20, 20);
    Down(hwnd, 20, 20);
    ::SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(button->Count("up"), 1);
    EXPECT_EQ(button->lastPoint, CPoint(-1, -1));
    EXPECT_EQ(Manager().GetHoverControl(), nullptr);
}

TEST_F(WindowTest, PressOnEmptyAreaWithoutWindowDragDoesNothing)
{
    Probe* button = AddProbe(1, CRect(10, 10, 60, 60));
    CRect before;
    ::GetWindowRect(hwnd, &before);
    Move(hwnd, 200, 200);
    EXPECT_EQ(Down(hwnd, 200, 200), 1);
    CRect after;
    ::GetWindowRect(hwnd, &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(button->Count("down"), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

// ---- focus -----------------------------------------------------------------------------------

TEST_F(WindowTest, TabAndShiftTabWalkTheTabStops)
{
    Probe* a = AddProbe(1, CRect(0, 0, 10, 10));
    Probe* plain = AddProbe(2, CRect(20, 0, 30, 10));
    Probe* hidden = AddProbe(3, CRect(40, 0, 50, 10));
    Probe* b = AddProbe(4, CRect(60, 0, 70, 10));
    Probe* disabled = AddProbe(5, CRect(80, 0, 90, 10));
    Probe* c = AddProbe(6, CRect(100, 0, 110, 10));
    for (Probe* p : {a, hidden, b, disabled, c})
        p->SetTabStop(1);
    hidden->SetVisible(0, 0);
    disabled->SetEnabled(0);
    (void)plain;

    MSG tab = {hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    auto press = [&](std::initializer_list<int> held) {
        HoldKeys(held);
        return dialog.PreTranslateMessage(&tab);
    };

    std::vector<VREL::MControl*> forward;
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(press({}), 1);
        forward.push_back(Manager().GetFocusControl());
    }
    EXPECT_EQ(forward, (std::vector<VREL::MControl*>{a, b, c, a}));
    EXPECT_EQ(c->focusCalls, (std::vector<int>{1, 0}));

    EXPECT_EQ(press({VK_SHIFT}), 1);
    EXPECT_EQ(Manager().GetFocusControl(), c);
    EXPECT_EQ(press({VK_SHIFT}), 1);
    EXPECT_EQ(Manager().GetFocusControl(), b);

    // Tab with Ctrl or Alt held is left to others.
    EXPECT_EQ(press({VK_CONTROL}), 0);
    EXPECT_EQ(press({VK_MENU}), 0);
    EXPECT_EQ(Manager().GetFocusControl(), b);
}

TEST_F(WindowTest, TabWithoutTabStopsIsNotConsumed)
{
    AddProbe(1, CRect(0, 0, 10, 10));
    MSG tab = {hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(dialog.PreTranslateMessage(&tab), 0);
    EXPECT_EQ(Manager().GetFocusControl(), nullptr);
}

TEST_F(WindowTest, PressElsewhereTakesTheFocusAway)
{
    Probe* first = AddProbe(1, CRect(10, 10, 60, 60));
    AddProbe(2, CRect(100, 10, 150, 60));
    Manager().SetFocusControl(first);
    Click(hwnd, 120, 20);
    EXPECT_EQ(first->focusCalls, (std::vector<int>{1, 0}));
    EXPECT_EQ(Manager().GetFocusControl()->GetControlID(), 2u);
}

// ---- wheel and keys ----------------------------------------------------------------------

TEST_F(WindowTest, WheelTurnsIntoWholeNotches)
{
    struct Case
    {
        int delta;
        std::vector<UINT> directions;
        LRESULT handled;
    };
    const Case cases[] = {
        {60, {}, 0},
        {-60, {}, 0},
        {120, {0}, 1},
        {-240, {1, 1}, 1},
        {360, {0, 0, 0}, 1},
    };
    Probe* list = AddProbe(1, CRect(10, 10, 200, 200));
    Move(hwnd, 50, 50);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.delta);
        list->scrollDirections.clear();
        EXPECT_EQ(Wheel(hwnd, c.delta, 50, 50) != 0, c.handled != 0);
        EXPECT_EQ(list->scrollDirections, c.directions);
    }
}

TEST_F(WindowTest, WheelOutsideTheHoverIsOfferedToTheOthers)
{
    Probe* hover = AddProbe(1, CRect(10, 10, 100, 100));
    Probe* other = AddProbe(2, CRect(150, 10, 250, 100));
    Move(hwnd, 50, 50);
    // The wheel point lies in the other control; the hover control refuses.
    EXPECT_NE(Wheel(hwnd, 120, 200, 50), 0);
    EXPECT_TRUE(hover->scrollDirections.empty());
    EXPECT_EQ(other->scrollDirections, std::vector<UINT>{0});
}

TEST_F(WindowTest, KeysGoToTheControlUnderTheMouseFirst)
{
    Probe* first = AddProbe(1, CRect(10, 10, 60, 60));
    Probe* hover = AddProbe(2, CRect(100, 10, 150, 60));
    Manager().SetFocusControl(first);
    Move(hwnd, 120, 20);

    HoldKeys({VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(::SendMessageW(hwnd, WM_KEYDOWN, 'A', 0), 1);
    EXPECT_EQ(hover->keyModifiers, std::vector<UINT>{0x11});
    EXPECT_EQ(first->Count("key"), 0);

    // Releases and characters never reach a control.
    ::SendMessageW(hwnd, WM_KEYUP, 'A', 0);
    EXPECT_EQ(::SendMessageW(hwnd, WM_CHAR, 'a', 0), 1);
    EXPECT_EQ(hover->Count("key"), 1);

    hover->takesKeys = 0;
    HoldKeys({VK_CONTROL, VK_MENU});
    ::SendMessageW(hwnd, WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(first->keyModifiers, std::vector<UINT>{0x13});
}

TEST_F(WindowTest, ControlMessageHookTakesMessagesAwayFromTheManager)
{
    struct Hooking : Probe
    {
        using Probe::Probe;
        LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override { return msg == WM_MOUSEMOVE; }
    };
    Hooking* hook = dialog.Add(new Hooking(&dialog, 1, CRect(0, 0, 10, 10)));
    Probe* later = AddProbe(2, CRect(10, 10, 100, 100));
    Move(hwnd, 20, 20);
    EXPECT_EQ(later->Count("move"), 0);
    EXPECT_EQ(hook->Count("move"), 0);
    ::SendMessageW(hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(later->windowMessages.back(), static_cast<UINT>(WM_KEYDOWN));
}

// ---- repaint requests and painting -----------------------------------------------------------

namespace {

CRect PendingUpdate(HWND hwnd)
{
    CRect rect;
    if (!::GetUpdateRect(hwnd, &rect, FALSE))
        return CRect();
    return rect;
}

// What the window shows, read back from its client area.
void ReadClient(HWND hwnd, DibCanvas& canvas)
{
    HDC windowDc = ::GetDC(hwnd);
    ::BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), windowDc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, windowDc);
}

// A see-through control in the way of the library's texts: it keeps a copy
// of what lay beneath it when it last became stale and shows that copy.
class BackdropCopy : public VREL::MControl
{
public:
    using MControl::MControl;
    void DrawControl(HDC& dc, CRect) override
    {
        const int w = m_rect.Width(), h = m_rect.Height();
        if (!m_bUpdate || !m_hMemDC)
        {
            UpdateMemDC(dc, w, h);
            ::BitBlt(m_hMemDC, 0, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
        }
        ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hMemDC, 0, 0, SRCCOPY);
    }
};

class OpenPanel : public VREL::MPanel
{
public:
    using MPanel::MPanel;
    using MPanel::AddSubControl;
};

} // namespace

TEST_F(WindowTest, RepaintMarksTheSenderAndLaterOverlappingControls)
{
    Probe* area = dialog.Add(new Probe(&dialog, 1, CRect(0, 0, 400, 300)), VREL::CONTROL_KIND_AREA);
    Probe* earlier = AddProbe(2, CRect(30, 30, 90, 90));
    Probe* sender = AddProbe(3, CRect(50, 50, 150, 150));
    Probe* later = AddProbe(4, CRect(140, 140, 200, 220));
    Probe* laterApart = AddProbe(5, CRect(300, 10, 350, 60));
    Probe* laterHidden = AddProbe(6, CRect(60, 60, 70, 70));
    laterHidden->SetVisible(0, 0);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    for (Probe* p : {area, earlier, sender, later, laterApart, laterHidden})
        p->updateFlags.clear();
    ::ValidateRect(hwnd, nullptr);

    sender->UpdateControl(1, 0);

    EXPECT_EQ(sender->updateFlags, std::vector<int>{0});
    EXPECT_EQ(later->updateFlags, std::vector<int>{0});
    for (Probe* p : {area, earlier, laterApart, laterHidden})
        EXPECT_TRUE(p->updateFlags.empty()) << "control " << p->GetControlID();
    EXPECT_EQ(PendingUpdate(hwnd), CRect(50, 50, 200, 220));

    // Only the stale controls render again.
    for (Probe* p : {area, earlier, sender, later, laterApart})
        p->renders = 0;
    ::UpdateWindow(hwnd);
    EXPECT_EQ(sender->renders, 1);
    EXPECT_EQ(later->renders, 1);
    EXPECT_EQ(earlier->renders + area->renders + laterApart->renders, 0);
}

// A panel's see-through area over a control that goes: the panel is drawn
// again, and so is its area, which shows what lies beneath it now instead of
// the control's pixels of its last copy.
TEST_F(WindowTest, APanelDrawnAgainDrawsItsAreasOverWhatLiesBeneathNow)
{
    ::SetWindowRgn(hwnd, nullptr, FALSE);
    Probe* beneath = AddProbe(1, CRect(0, 200, kWidth, kHeight), RGB(128, 128, 128));
    auto* panel = dialog.Add(new OpenPanel(&dialog, 2, CRect(0, 60, kWidth, kHeight), 1));
    auto* text = new BackdropCopy(panel, 3, CRect(10, 250, 310, 280), 1, 1, 1);
    panel->AddSubControl(VREL::CONTROL_KIND_AREA, text);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    DibCanvas canvas(kWidth, kHeight);
    ReadClient(hwnd, canvas);
    ASSERT_EQ(canvas.Rgb(150, 265), 0x808080u);

    beneath->SetVisible(0);
    ::UpdateWindow(hwnd);
    ReadClient(hwnd, canvas);
    EXPECT_EQ(canvas.Rgb(150, 265), 0x1A1A1Au) << "the area still shows the control that went";
    EXPECT_EQ(canvas.Rgb(150, 220), 0x1A1A1Au);
}

TEST_F(WindowTest, RepaintWithoutRedrawKeepsTheSenderCache)
{
    Probe* sender = AddProbe(1, CRect(50, 50, 150, 150));
    Probe* later = AddProbe(2, CRect(100, 100, 200, 200));
    ::UpdateWindow(hwnd);
    sender->updateFlags.clear();
    sender->UpdateControl(0, 0);
    EXPECT_TRUE(sender->updateFlags.empty());
    EXPECT_EQ(later->updateFlags.back(), 0);
}

TEST_F(WindowTest, RepaintFromAControlInNoListInvalidatesExactlyItsRectangle)
{
    AddProbe(1, CRect(0, 0, 400, 300));
    Probe stray(&dialog, 9, CRect(10, 20, 30, 40));
    ::UpdateWindow(hwnd);
    ::ValidateRect(hwnd, nullptr);
    dialog.OnControlUpdate(CRect(10, 20, 30, 40), 1, &stray);
    EXPECT_EQ(PendingUpdate(hwnd), CRect(10, 20, 30, 40));
    EXPECT_EQ(dialog.OnControlUpdate(CRect(0, 0, 5, 5), 1, nullptr), 0);
}

// A layered window is pushed to the screen whole, so every request
// invalidates all of it.
TEST_F(WindowTest, LayeredWindowRepaintsWhole)
{
    AddProbe(1, CRect(10, 20, 30, 40));
    // Without the rounded region the whole client area can be pending.
    ::SetWindowRgn(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    Manager().SetLayeredWindow(1);
    for (const CRect request : {CRect(10, 20, 30, 40), CRect()})
    {
        ::ValidateRect(hwnd, nullptr);
        dialog.OnControlUpdate(request, 1, Manager().GetControl(1));
        EXPECT_EQ(PendingUpdate(hwnd), CRect(0, 0, kWidth, kHeight));
    }
    ::ValidateRect(hwnd, nullptr);
    Manager().InvalidateRect(CRect(1, 1, 2, 2), FALSE);
    EXPECT_EQ(PendingUpdate(hwnd), CRect(0, 0, kWidth, kHeight));
    Manager().SetLayeredWindow(0);
    ::ValidateRect(hwnd, nullptr);
}

TEST_F(WindowTest, PaintsBackgroundAndControlsInListOrder)
{
    dialog.Add(new Probe(&dialog, 1, CRect(20, 20, 120, 120), RGB(0, 200, 0)), VREL::CONTROL_KIND_AREA);
    AddProbe(2, CRect(100, 100, 200, 200), RGB(200, 0, 0));
    AddProbe(3, CRect(150, 150, 250, 250), RGB(0, 0, 200));
    // The area list comes first even though the control list was filled later.
    dialog.Add(new Probe(&dialog, 4, CRect(110, 110, 160, 160), RGB(200, 200, 0)), VREL::CONTROL_KIND_AREA);
    // Without the rounded region every edge of the client area shows.
    ::SetWindowRgn(hwnd, nullptr, FALSE);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);

    DibCanvas canvas(kWidth, kHeight);
    ReadClient(hwnd, canvas);
    EXPECT_EQ(canvas.Rgb(0, 150), 0x0A0F12u);  // border colour 0x120F0A as COLORREF
    EXPECT_EQ(canvas.Rgb(kWidth - 1, 150), 0x0A0F12u);
    EXPECT_EQ(canvas.Rgb(200, kHeight - 1), 0x0A0F12u);
    EXPECT_EQ(canvas.Rgb(10, 150), 0x1A1A1Au);   // back colour
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00C800u);    // area
    EXPECT_EQ(canvas.Rgb(115, 115), 0xC80000u);  // control over both areas
    EXPECT_EQ(canvas.Rgb(155, 155), 0x0000C8u);  // later control on top
    EXPECT_EQ(canvas.Rgb(300, 280), 0x1A1A1Au);
    EXPECT_TRUE(PendingUpdate(hwnd).IsRectEmpty());
}

// The window keeps its back buffer between paints: a larger window paints
// its new part, and the old border line inside it is gone.
TEST_F(WindowTest, ABackBufferKeptBetweenPaintsFollowsTheWindowSize)
{
    AddProbe(1, CRect(20, 20, 120, 120), RGB(0, 200, 0));
    AddProbe(2, CRect(420, 250, 480, 320), RGB(0, 0, 200));
    ::SetWindowRgn(hwnd, nullptr, FALSE);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);

    constexpr int kWider = kWidth + 100;
    constexpr int kTaller = kHeight + 60;
    ::SetWindowPos(hwnd, nullptr, 0, 0, kWider, kTaller, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);

    DibCanvas canvas(kWider, kTaller);
    ReadClient(hwnd, canvas);
    EXPECT_EQ(canvas.Rgb(kWidth - 1, 150), 0x1A1A1Au);  // the old right edge, back colour now
    EXPECT_EQ(canvas.Rgb(200, kHeight - 1), 0x1A1A1Au);
    EXPECT_EQ(canvas.Rgb(kWider - 1, 150), 0x0A0F12u);  // the new edges
    EXPECT_EQ(canvas.Rgb(200, kTaller - 1), 0x0A0F12u);
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00C800u);
    EXPECT_EQ(canvas.Rgb(450, 310), 0x0000C8u);  // a control only the larger window shows

    // A small repaint shows the buffer's pixels of its own area only.
    const CRect small(25, 25, 35, 35);
    ::InvalidateRect(hwnd, &small, FALSE);
    ::UpdateWindow(hwnd);
    ReadClient(hwnd, canvas);
    EXPECT_EQ(canvas.Rgb(30, 30), 0x00C800u);
    EXPECT_EQ(canvas.Rgb(kWider - 1, 150), 0x0A0F12u);
}

// The background image is kept as drawn between paints: a new image, a
// new back mode and a new size must each show as if drawn afresh.
TEST_F(WindowTest, BackgroundImageShowsItsCurrentImageModeAndSize)
{
    ::SetWindowRgn(hwnd, nullptr, FALSE);
    struct Step
    {
        const char* name;
        const wchar_t* image;  // null keeps the image
        VREL::enumBackMode mode;
        CSize size;
    };
    const Step steps[] = {
        {"first image", TestTheme::kGrid, VREL::BACK_MODE_IMAGE, CSize(kWidth, kHeight)},
        {"another image", TestTheme::kStrip4, VREL::BACK_MODE_IMAGE, CSize(kWidth, kHeight)},
        {"nine-grid", nullptr, VREL::BACK_MODE_NINE_GRID, CSize(kWidth, kHeight)},
        {"smaller window", nullptr, VREL::BACK_MODE_NINE_GRID, CSize(kWidth - 100, kHeight - 80)},
        {"back to the first image", TestTheme::kGrid, VREL::BACK_MODE_NINE_GRID, CSize(kWidth - 100, kHeight - 80)},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.name);
        if (step.image)
            ASSERT_EQ(Manager().LoadBKImage(CString(step.image)), 1);
        Manager().SetBackMode(step.mode, 6);
        ::SetWindowPos(hwnd, nullptr, 0, 0, step.size.cx, step.size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect client;
        ::GetClientRect(hwnd, &client);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);

        DibCanvas shown(client.Width(), client.Height());
        ReadClient(hwnd, shown);
        DibCanvas drawn(client.Width(), client.Height());
        {
            Gdiplus::Graphics graphics(drawn.Dc());
            Manager().DrawBackImage(graphics, client);
        }
        int differing = 0;
        for (int y = 0; y < client.Height(); y += 2)
            for (int x = 0; x < client.Width(); x += 2)
                differing += shown.Rgb(x, y) != drawn.Rgb(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(WindowTest, EmptyClientAreaStillEndsThePaint)
{
    AddProbe(1, CRect(0, 0, 10, 10));
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::SendMessageW(hwnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(PendingUpdate(hwnd).IsRectEmpty());
}

// Each size limit is reported only where it is set (above 0).
TEST_F(WindowTest, SizeLimitsAreReportedWhereSet)
{
    constexpr LONG kUntouched = -7;
    struct Case
    {
        CSize max, min;
        POINT maxTrack, minTrack, maxSize;
    };
    const Case cases[] = {
        {CSize(0, 0), CSize(10, 10), {kUntouched, kUntouched}, {10, 10}, {kUntouched, kUntouched}},
        {CSize(500, 0), CSize(0, 20), {500, kUntouched}, {kUntouched, 20}, {500, kUntouched}},
        {CSize(640, 480), CSize(64, 48), {640, 480}, {64, 48}, {640, 480}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.max.cx);
        Manager().SetWindowMaxSize(c.max.cx, c.max.cy);
        Manager().SetWindowMixSize(c.min.cx, c.min.cy);
        MINMAXINFO info;
        std::fill_n(reinterpret_cast<LONG*>(&info), sizeof(info) / sizeof(LONG), kUntouched);
        EXPECT_EQ(Manager().OnWindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 1);
        EXPECT_EQ(CPoint(info.ptMaxTrackSize), CPoint(c.maxTrack));
        EXPECT_EQ(CPoint(info.ptMinTrackSize), CPoint(c.minTrack));
        EXPECT_EQ(CPoint(info.ptMaxSize), CPoint(c.maxSize));
    }
}

// ---- removal --------------------------------------------------------------------------------

TEST_F(WindowTest, RemovedHoverAndFocusControlAreForgotten)
{
    Probe* hover = AddProbe(1, CRect(10, 10, 60, 60));
    Probe* other = AddProbe(2, CRect(100, 10, 150, 60));
    bool destroyed = false;
    hover->destroyed = &destroyed;
    Move(hwnd, 20, 20);
    Down(hwnd, 20, 20);
    ASSERT_EQ(Manager().GetHoverControl(), hover);
    ASSERT_EQ(Manager().GetFocusControl(), hover);

    Manager().RemoveControl(hover);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Manager().GetHoverControl(), nullptr);
    EXPECT_EQ(Manager().GetFocusControl(), nullptr);

    // The next release, move, key and wheel go on without it.
    Up(hwnd, 20, 20);
    Move(hwnd, 120, 20);
    ::SendMessageW(hwnd, WM_KEYDOWN, 'A', 0);
    Wheel(hwnd, 120, 120, 20);
    EXPECT_EQ(other->Count("key"), 1);
    EXPECT_EQ(other->scrollDirections.size(), 1u);
}

// A removed control's window timers stop with it; the others keep ticking.
TEST_F(WindowTest, RemovedControlGetsNoMoreWindowTimerTicks)
{
    Probe* gone = AddProbe(1, CRect(0, 0, 10, 10));
    Probe* stays = AddProbe(2, CRect(20, 0, 30, 10));
    ASSERT_EQ(Manager().SetTimer(gone, 1, 5), 1);
    ASSERT_EQ(Manager().SetTimer(stays, 1, 5), 1);
    Manager().RemoveControl(gone);
    // The address is only compared: no record of it may remain.
    EXPECT_EQ(Manager().GetControlTimerId(gone, 1), 0u);

    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < end)
    {
        Pump();
        ::Sleep(5);
    }
    EXPECT_GT(stays->ticks.load(), 0);
}

TEST_F(WindowTest, ControlsGoWithTheWindowButTheManagerStaysUsable)
{
    bool destroyed = false;
    AddProbe(1, CRect(10, 10, 60, 60))->destroyed = &destroyed;
    dialog.DestroyWindow();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(Manager().GetControls()->empty());

    // Other threads may still use the manager after its window is gone.
    bool lateDestroyed = false;
    std::thread worker([&] {
        Probe* late = new Probe(&dialog, 2, CRect(0, 0, 5, 5));
        late->destroyed = &lateDestroyed;
        Manager().AddControl(VREL::CONTROL_KIND_CONTROL, late);
        Manager().AddMTimer(late);
        late->UpdateControl(1, 0);
        Manager().RemoveControl(late);
    });
    worker.join();
    EXPECT_TRUE(lateDestroyed);
}
