// Windows and dialogs: creation, the message split between the dialog's
// handlers and its paint manager, the close protocol and the modal loop.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

#include "tests/framework/CoreTestSupport.h"

using namespace coretest;

namespace {

// Posts the close request once the modal loop runs.
void PostSystemClose(HWND hwnd) { ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Empties the queue of this thread, WM_QUIT included.
void DrainQueue()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
    }
}

} // namespace

TEST(Dialog, ShowModalReturnsTheResultOfTheClose)
{
    struct Case
    {
        const char* name;
        void (*close)(TestDialog&);
        UINT result;
    };
    const Case cases[] = {
        {"DoOK", [](TestDialog& d) { d.DoOK(); }, IDOK},
        {"DoCancel", [](TestDialog& d) { d.DoCancel(); }, IDCANCEL},
        {"DoClose", [](TestDialog& d) { d.DoClose(); }, IDCANCEL},
        {"DoYes", [](TestDialog& d) { d.DoYes(); }, IDYES},
        {"DoNo", [](TestDialog& d) { d.DoNo(); }, IDNO},
        {"system close command", [](TestDialog& d) { PostSystemClose(d.GetSafeHwnd()); }, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestDialog dialog;
        ASSERT_NE(dialog.CreatePopup(300, 200), nullptr);
        c.close(dialog);
        EXPECT_EQ(dialog.ShowModal(SW_SHOW), c.result);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

// A close sent from another thread is handled inside GetMessageW, which
// returns only for a queued message: the loop must still see its window go.
TEST(Dialog, ACloseSentWhileTheLoopWaitsEndsTheLoop)
{
    struct Case
    {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"WM_CLOSE sent", WM_CLOSE, 0},
        {"system close command sent", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DrainQueue();
        TestDialog dialog;
        HWND hwnd = dialog.CreatePopup(300, 200);
        ASSERT_NE(hwnd, nullptr);
        HANDLE returned = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const DWORD uiThread = ::GetCurrentThreadId();
        bool stuck = false;
        std::thread closer([&] {
            for (int i = 0; i < 500 && !::IsWindowVisible(hwnd); ++i)
                ::Sleep(10);
            ::SendMessageW(hwnd, c.message, c.wParam, 0);
            // A loop that missed the close would wait for ever: wake it, and
            // say so.
            if (::WaitForSingleObject(returned, 10000) == WAIT_TIMEOUT)
            {
                stuck = true;
                ::PostThreadMessageW(uiThread, WM_NULL, 0, 0);
            }
        });
        EXPECT_EQ(dialog.ShowModal(SW_SHOW), 0u);
        ::SetEvent(returned);
        closer.join();
        ::CloseHandle(returned);
        EXPECT_FALSE(stuck) << "the loop waited on after its window was gone";
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        DrainQueue();
    }
}

TEST(Dialog, CloseProtocolRunsThroughTheQueueAndReleasesTheControls)
{
    TestDialog dialog;
    dialog.CreatePopup(300, 200);
    bool destroyed = false;
    dialog.Add(new Probe(&dialog, 1, CRect(0, 0, 10, 10)))->destroyed = &destroyed;
    dialog.DoYes();
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), static_cast<UINT>(IDYES));
    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"user-close", "close", "post-nc-destroy"}));
    EXPECT_TRUE(destroyed);
}

TEST(Dialog, OverriddenCloseRequestCanRefuse)
{
    TestDialog dialog;
    dialog.CreatePopup(300, 200);
    dialog.refuseCloses = 1;
    dialog.DoCancel();
    dialog.DoOK();
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), static_cast<UINT>(IDOK));
    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"user-close", "user-close", "close", "post-nc-destroy"}));
}

TEST(Dialog, OwnerIsDisabledDuringTheLoopAndEnabledAfter)
{
    TestDialog owner;
    owner.CreatePopup(300, 200);
    struct Probing : TestDialog
    {
        HWND ownerWindow = nullptr;
        int ownerEnabledInside = -1;
        void OnTimer(UINT) override
        {
            ownerEnabledInside = ::IsWindowEnabled(ownerWindow);
            ::KillTimer(GetSafeHwnd(), 1);
            DoOK();
        }
    } dialog;
    dialog.ownerWindow = owner.GetSafeHwnd();
    dialog.CreatePopup(200, 100, owner.GetSafeHwnd());
    ::SetTimer(dialog.GetSafeHwnd(), 1, 10, nullptr);
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), static_cast<UINT>(IDOK));
    EXPECT_EQ(dialog.ownerEnabledInside, 0);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    owner.DestroyWindow();
}

TEST(Dialog, QuitEndsTheLoopAndIsPostedAgain)
{
    DrainQueue();
    TestDialog owner;
    owner.CreatePopup(300, 200);
    TestDialog dialog;
    dialog.CreatePopup(200, 100, owner.GetSafeHwnd());
    ::PostQuitMessage(7);
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), 0u);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_NE(dialog.GetSafeHwnd(), nullptr);  // the window is left alone
    dialog.DestroyWindow();
    owner.DestroyWindow();
    DrainQueue();
}

TEST(Dialog, WithoutAWindowTheWrappersAnswerNeutrally)
{
    TestDialog owner;
    owner.CreatePopup(300, 200);
    TestDialog dialog;
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), 0xFFFFFFFFu);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    EXPECT_EQ(dialog.GetWindowTextLengthW(), -1);
    EXPECT_EQ(dialog.ShowWindow(SW_SHOW), 0);
    EXPECT_EQ(dialog.SendMessageW(WM_USER, 0, 0), 0);
    CString text(L"unchanged");
    EXPECT_EQ(dialog.GetWindowTextW(text), 0);
    EXPECT_EQ(text, L"unchanged");
    owner.DestroyWindow();
}

TEST(Dialog, WideWindowsGetRoundedCorners)
{
    struct Case
    {
        int width;
        bool rounded;
    };
    for (const Case c : {Case{200, false}, Case{201, true}})
    {
        SCOPED_TRACE(c.width);
        TestDialog dialog;
        HWND hwnd = dialog.CreatePopup(c.width, 100);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        const int kind = ::GetWindowRgn(hwnd, region);
        ::DeleteObject(region);
        EXPECT_EQ(kind != ERROR, c.rounded);
        dialog.DestroyWindow();
    }
}

TEST(Dialog, CreateTwiceKeepsTheWindowAndInitialisesOnce)
{
    TestDialog dialog;
    HWND first = dialog.CreatePopup(300, 200);
    EXPECT_EQ(dialog.Create(nullptr, L"again", WS_POPUP, 0, CRect(0, 0, 50, 50)), first);
    EXPECT_EQ(dialog.initDialogCalls, 1);
    dialog.DestroyWindow();
}

TEST(Dialog, DefaultCreateMakesTheClientWindow)
{
    TestDialog dialog;
    HWND hwnd = dialog.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    CString name;
    dialog.GetWindowTextW(name);
    EXPECT_EQ(name, L"VrelClient");
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, CRect(0, 0, 800, 600));
    // The dialog took away the caption and the sizing frame.
    EXPECT_EQ(dialog.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
    dialog.DestroyWindow();
}

TEST(Dialog, EraseBackgroundReachesNeitherTheManagerNorTheDefault)
{
    TestDialog dialog;
    HWND hwnd = dialog.CreatePopup(300, 200);
    Probe* probe = dialog.Add(new Probe(&dialog, 1, CRect(0, 0, 10, 10)));
    HDC dc = ::GetDC(hwnd);
    EXPECT_EQ(::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ::ReleaseDC(hwnd, dc);
    ::SendMessageW(hwnd, WM_USER + 5, 0, 0);
    const std::vector<UINT>& seen = probe->windowMessages;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(WM_ERASEBKGND)), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(WM_USER + 5)), 1);
    dialog.DestroyWindow();
}

TEST(Dialog, NativeChildNotificationsAreReflected)
{
    TestDialog dialog;
    HWND hwnd = dialog.CreatePopup(300, 200);
    struct Reflector
    {
        static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
        {
            if (msg == WM_COMMAND + 0x2000)
                return 0x5A;
            return ::DefWindowProcW(h, msg, w, l);
        }
    };
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Reflector::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CoreTestReflector";
    ::RegisterClassW(&wc);
    HWND child = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::SendMessageW(hwnd, WM_COMMAND, 0, reinterpret_cast<LPARAM>(child)), 0x5A);
    EXPECT_EQ(::SendMessageW(hwnd, WM_COMMAND, 0, 0), 0);
    dialog.DestroyWindow();
}

// An object deleted while its window lives on no longer receives that
// window's messages.
TEST(Dialog, WindowOutlivingItsObjectNoLongerReachesIt)
{
    auto dialog = std::make_unique<TestDialog>();
    HWND hwnd = dialog->CreatePopup(300, 200);
    dialog->Add(new Probe(dialog.get(), 1, CRect(0, 0, 100, 100)));
    dialog.reset();
    ASSERT_TRUE(::IsWindow(hwnd));
    Move(hwnd, 10, 10);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    EXPECT_TRUE(::DestroyWindow(hwnd));
}

TEST(Dialog, CentresOnTheWorkAreaWithoutAVisibleOwner)
{
    TestDialog owner;
    owner.CreatePopup(300, 200);
    ::ShowWindow(owner.GetSafeHwnd(), SW_MINIMIZE);
    TestDialog dialog;
    HWND hwnd = dialog.CreatePopup(200, 100, owner.GetSafeHwnd(), 0, 0);
    dialog.CenterWindow(nullptr);

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const CRect work(monitor.rcWork);
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, (work.left + work.right) / 2 - 100);
    EXPECT_EQ(rect.top, (work.top + work.bottom) / 2 - 50);
    dialog.DestroyWindow();
    owner.DestroyWindow();
}

TEST(Dialog, BalloonPointLiesBelowTheControl)
{
    TestDialog dialog;
    HWND hwnd = dialog.CreatePopup(300, 200);
    Probe* probe = dialog.Add(new Probe(&dialog, 1, CRect(10, 20, 50, 40)));
    POINT origin = {0, 0};
    ::ClientToScreen(hwnd, &origin);
    const LONG xs[] = {10, 30, 50, 10};
    for (UINT type = 0; type < 4; ++type)
    {
        const POINT p = dialog.GetAirBladderPoint(probe, type);
        EXPECT_EQ(p.x, origin.x + xs[type]) << "type " << type;
        EXPECT_EQ(p.y, origin.y + 40);
    }
    const POINT none = dialog.GetAirBladderPoint(nullptr, 0);
    EXPECT_EQ(none.x + none.y, 0);
    dialog.DestroyWindow();
}

TEST(Dialog, ShadowAndBalloonSettersRefuseOutOfRangeValues)
{
    TestDialog dialog;
    dialog.CreatePopup(300, 200);
    EXPECT_EQ(dialog.SetSize(36), 0);
    EXPECT_EQ(dialog.SetSize(-36), 0);
    EXPECT_EQ(dialog.SetSize(-35), 1);
    EXPECT_EQ(dialog.SetDarkness(256), 0);
    EXPECT_EQ(dialog.SetDarkness(255), 1);
    EXPECT_EQ(dialog.SetPosition(0, 36), 0);
    EXPECT_EQ(dialog.SetShadowColor(RGB(1, 2, 3)), 1);

    EXPECT_EQ(dialog.SetAirBladderMsg(L"tip", POINT{0, 100}, VREL::AIRBLADDER_TYPE_NORMAL), 0);
    EXPECT_EQ(dialog.GetPaintManager()->GetAirBladder(), nullptr);
    dialog.DestroyWindow();
}

TEST(Dialog, DefaultMessageBoxSitsAboveTheBottomEdge)
{
    TestDialog dialog;
    dialog.CreatePopup(800, 600);
    dialog.SetMessage(L"saved", CRect(), VREL::MSG_LEVEL_INFO);
    EXPECT_EQ(dialog.Manager().GetOverlayRect(), CRect(149, 510, 651, 580));
    const CRect given(10, 10, 60, 40);
    dialog.SetMessage(L"saved", given, VREL::MSG_LEVEL_WARNING);
    EXPECT_EQ(dialog.Manager().GetOverlayRect(), given);
    dialog.DestroyWindow();
}

// The split that dialogs, popups and tool windows share: each message
// reaches its handler with its arguments unpacked (points sign-extended),
// and goes on to the paint manager and the default procedure afterwards.
class SplitRecorder : public TestDialog
{
public:
    std::string last;
    CPoint point;
    WPARAM first = 0;
    LPARAM second = 0;

    LRESULT Note(const char* name, WPARAM w, LPARAM l, CPoint pt = CPoint())
    {
        last = name;
        first = w;
        second = l;
        point = pt;
        return 0;
    }
    int OnSize(UINT type, int cx, int cy) override
    {
        Note("size", type, 0, CPoint(cx, cy));
        return MDialog::OnSize(type, cx, cy);
    }
    LRESULT OnMouseMove(UINT keys, CPoint pt) override { return Note("move", keys, 0, pt); }
    LRESULT OnLButtonDown(UINT keys, CPoint pt) override { return Note("ldown", keys, 0, pt); }
    LRESULT OnLButtonUp(UINT keys, CPoint pt) override { return Note("lup", keys, 0, pt); }
    LRESULT OnLButtonDblClk(UINT keys, CPoint pt) override { return Note("ldbl", keys, 0, pt); }
    LRESULT OnRButtonDown(UINT keys, CPoint pt) override { return Note("rdown", keys, 0, pt); }
    LRESULT OnRButtonUp(UINT keys, CPoint pt) override { return Note("rup", keys, 0, pt); }
    LRESULT OnRButtonDblClk(UINT keys, CPoint pt) override { return Note("rdbl", keys, 0, pt); }
    LRESULT OnMouseHover(UINT keys, LPARAM lParam) override { return Note("hover", keys, lParam); }
    LRESULT OnMouseLeave(UINT keys, LPARAM lParam) override { return Note("leave", keys, lParam); }
    void OnTimer(UINT id) override { Note("timer", id, 0); }
    LRESULT OnKeyDown(UINT key, UINT, UINT) override { return Note("keydown", key, 0); }
};

TEST(Dialog, MessagesReachTheirHandlersUnpacked)
{
    struct Case
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        const char* handler;
        WPARAM first;
        LPARAM second;
        CPoint point;
    };
    const LPARAM negative = MAKELPARAM(-5, -7);
    const Case cases[] = {
        {WM_MOUSEMOVE, MK_SHIFT, negative, "move", MK_SHIFT, 0, CPoint(-5, -7)},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), "ldown", MK_LBUTTON, 0, CPoint(3, 4)},
        {WM_LBUTTONUP, 0, negative, "lup", 0, 0, CPoint(-5, -7)},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4), "ldbl", MK_LBUTTON, 0, CPoint(3, 4)},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 9), "rdown", MK_RBUTTON, 0, CPoint(8, 9)},
        {WM_RBUTTONUP, 0, MAKELPARAM(8, 9), "rup", 0, 0, CPoint(8, 9)},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, negative, "rdbl", MK_RBUTTON, 0, CPoint(-5, -7)},
        {WM_MOUSEHOVER, MK_CONTROL, MAKELPARAM(1, 2), "hover", MK_CONTROL, MAKELPARAM(1, 2), CPoint()},
        {WM_MOUSELEAVE, 0, 0, "leave", 0, 0, CPoint()},
        {WM_TIMER, 77, 0, "timer", 77, 0, CPoint()},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80), "size", SIZE_RESTORED, 0, CPoint(120, 80)},
        // Keys have a handler that the split does not call.
        {WM_KEYDOWN, 'A', 0, "", 0, 0, CPoint()},
    };
    SplitRecorder dialog;
    HWND hwnd = dialog.CreatePopup(300, 200);
    ASSERT_NE(hwnd, nullptr);
    // A press that no control takes would otherwise start moving the window.
    dialog.EnableWndDrag(0);
    for (const Case& c : cases)
    {
        dialog.Note("", 0, 0);
        ::SendMessageW(hwnd, c.msg, c.wParam, c.lParam);
        EXPECT_EQ(dialog.last, c.handler) << std::hex << c.msg;
        EXPECT_EQ(dialog.first, c.first) << std::hex << c.msg;
        EXPECT_EQ(dialog.second, c.second) << std::hex << c.msg;
        EXPECT_EQ(dialog.point, c.point) << std::hex << c.msg;
    }
    dialog.DestroyWindow();
}
