// The generic popup: resizing, closing on deactivation and reporting to the
// control that opened it.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/PopupTestSupport.h"
#include "ui/framework/MControl.h"
#include "ui/framework/PopupWnd.h"

using VREL::MPopupWnd;

namespace {

constexpr DWORD kPopupStyle = WS_POPUP | WS_VISIBLE;
// Far more position notices than one resize can cause.
constexpr int kRunawayLimit = 50;

class CountingPopup : public MPopupWnd
{
public:
    ~CountingPopup() override { DestroyWindow(); }
    LRESULT OnWindowPosChanged(WINDOWPOS* pos) override
    {
        // Stop a runaway here so that the test fails instead of the process.
        if (++positionNotices > kRunawayLimit)
            return 1;
        return MPopupWnd::OnWindowPosChanged(pos);
    }
    void UISize(CRect client) override { lastLayout = client; }

    int positionNotices = 0;
    CRect lastLayout;
};

class SinkControl : public VREL::MControl
{
public:
    SinkControl() : MControl(nullptr, 7, CRect(), 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override {}
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        calls.push_back({id, code, wParam, lParam});
        return 7;
    }
    struct Call
    {
        UINT id, code;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Call> calls;
};

} // namespace

TEST(PopupWindow, ResizingReappliesTheFrameOnceAndLaysOut)
{
    CountingPopup popup;
    ASSERT_TRUE(popup.Create(nullptr, L"Popup", kPopupStyle, 0, CRect(100, 100, 260, 200)));
    EXPECT_EQ(WS_EX_TOOLWINDOW, popup.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(0u, popup.GetStyle() & WS_CAPTION);

    popup.positionNotices = 0;
    popup.SetWindowPos(nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PopupTest::Pump();
    EXPECT_GE(popup.positionNotices, 1);
    EXPECT_LE(popup.positionNotices, 3);
    EXPECT_EQ(CRect(100, 100, 350, 220), PopupTest::WindowRect(popup.GetSafeHwnd()));
    EXPECT_EQ(CRect(0, 0, 250, 120), popup.lastLayout);
}

TEST(PopupWindow, LosingActivationClosesTheWindowButKeepsTheObject)
{
    PopupTest::RecorderWindow other;
    CountingPopup popup;
    ASSERT_TRUE(popup.Create(nullptr, L"Popup", kPopupStyle, 0, CRect(100, 100, 260, 200)));
    ::SetActiveWindow(popup.GetSafeHwnd());
    PopupTest::Pump();
    ASSERT_TRUE(::IsWindow(popup.GetSafeHwnd()));

    ::SetActiveWindow(other.Hwnd());
    PopupTest::Pump();
    EXPECT_EQ(nullptr, popup.GetSafeHwnd());
    // The object is still there for its creator.
    EXPECT_EQ(0, popup.SendMessageToParent(2, 0, 0));
}

TEST(PopupWindow, ReportsToTheControlThatOpenedIt)
{
    CountingPopup popup;
    EXPECT_EQ(0, popup.SendMessageToParent(22, 5, 6));

    VREL::MObject notAControl;
    popup.SetParent(&notAControl);
    EXPECT_EQ(0, popup.SendMessageToParent(22, 5, 6));

    SinkControl sink;
    popup.SetParent(&sink);
    EXPECT_EQ(&sink, popup.GetParent());
    EXPECT_EQ(7, popup.SendMessageToParent(22, 5, 6));
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ(0u, sink.calls[0].id);
    EXPECT_EQ(22u, sink.calls[0].code);
    EXPECT_EQ(5u, sink.calls[0].wParam);
    EXPECT_EQ(6, sink.calls[0].lParam);
}

TEST(PopupWindow, CloseMessagesAndTranslucency)
{
    CountingPopup popup;
    ASSERT_TRUE(popup.Create(nullptr, L"Popup", kPopupStyle, 0, CRect(100, 100, 260, 200)));
    EXPECT_EQ(1, popup.SendMessageW(WM_ERASEBKGND, 0, 0));
    // The popup's colour key is not white: translucency makes it layered.
    popup.SetupBackTranslucent();
    EXPECT_NE(0u, popup.GetExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(1, popup.SendMessageW(VREL::WM_USER_CLOSE_WINDOW, IDOK, 0));
    PopupTest::Pump();
    EXPECT_EQ(nullptr, popup.GetSafeHwnd());
}
