// The loading window: its close button, its animation and what it refuses.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/PopupTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "ui/framework/LoadingWnd.h"

using VREL::LoadingWnd;
using VREL::WM_LOADING_CLOSE;

namespace {

class TestLoading : public LoadingWnd
{
public:
    ~TestLoading() override { DestroyWindow(); }
    using LoadingWnd::DrawFrame;
    void OnTimer(UINT id) override
    {
        if (id == VREL::TIMER_LOADING_FRAME)
            ++m_timerCalls;
        LoadingWnd::OnTimer(id);
    }
    int TimerCalls() const { return m_timerCalls; }
    void Tick(int times)
    {
        for (int i = 0; i < times; ++i)
            LoadingWnd::OnTimer(VREL::TIMER_LOADING_FRAME);
    }

private:
    int m_timerCalls = 0;
};

uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

} // namespace

TEST(LoadingWindow, CloseButtonPostsOnlyForAReleaseInsideIt)
{
    PopupTest::RecorderWindow owner;
    TestLoading loading;
    ASSERT_TRUE(loading.CreateDlg(owner.Hwnd(), CRect(100, 100, 500, 400)));
    // Test theme close strip: 4 frames of 30 x 30, 39 pixels from the right edge.
    EXPECT_EQ(CRect(361, 10, 391, 40), loading.GetCloseRect());

    loading.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, PopupTest::Pack(370, 20));
    EXPECT_EQ(2, loading.GetCloseState());
    loading.SendMessageW(WM_LBUTTONUP, 0, PopupTest::Pack(20, 200));
    PopupTest::Pump();
    EXPECT_TRUE(owner.MessagesOf(WM_LOADING_CLOSE).empty());
    EXPECT_EQ(0, loading.GetCloseState());

    loading.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, PopupTest::Pack(370, 20));
    loading.SendMessageW(WM_LBUTTONUP, 0, PopupTest::Pack(380, 30));
    PopupTest::Pump();
    const auto posted = owner.MessagesOf(WM_LOADING_CLOSE);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(0u, posted[0].wParam);
    EXPECT_EQ(0, posted[0].lParam);
    EXPECT_EQ(1, loading.GetCloseState());
}

TEST(LoadingWindow, IgnoresTheCloseProtocolAndKeepsAnimating)
{
    PopupTest::RecorderWindow owner;
    TestLoading loading;
    ASSERT_TRUE(loading.CreateDlg(owner.Hwnd(), CRect(100, 100, 500, 400)));
    loading.PostMessageW(VREL::WM_USER_CLOSE_WINDOW, IDOK, 0);
    loading.CloseWindow();
    PopupTest::Pump(200);
    EXPECT_TRUE(::IsWindow(loading.GetSafeHwnd()));
    EXPECT_EQ(1, loading.IsRunning());
    EXPECT_GE(loading.TimerCalls(), 2);

    // WM_CLOSE stops the animation and ends the window.
    loading.SendMessageW(WM_CLOSE, 0, 0);
    EXPECT_EQ(0, loading.IsRunning());
    EXPECT_FALSE(::IsWindow(loading.GetSafeHwnd()));
}

TEST(LoadingWindow, FrameStepsEveryTwoTicksAndWrapsAtTheFrameCount)
{
    PopupTest::RecorderWindow owner;
    struct Case
    {
        bool withGif;
        int wrap;
    };
    for (const Case c : {Case{true, 8}, Case{false, 18}})
    {
        TestLoading loading;
        if (c.withGif)
            ASSERT_TRUE(loading.CreateDlg(owner.Hwnd(), CRect(100, 100, 500, 400)));
        else
            ASSERT_TRUE(loading.Create(owner.Hwnd(), L"Loading Window", 0x96000000, 0, CRect(100, 100, 500, 400)));
        loading.KillTimer(VREL::TIMER_LOADING_FRAME);
        EXPECT_EQ(c.withGif ? 8 : 0, loading.GetGifFrameCount());
        loading.Tick(1);
        EXPECT_EQ(0, loading.GetCurrentFrame());
        loading.Tick(1);
        EXPECT_EQ(1, loading.GetCurrentFrame());
        loading.Tick(2 * (c.wrap - 2));
        EXPECT_EQ(c.wrap - 1, loading.GetCurrentFrame());
        loading.Tick(2);
        EXPECT_EQ(0, loading.GetCurrentFrame());
    }
}

TEST(LoadingWindow, DrawsTheCurrentGifFrameCentredOverThePlainBackground)
{
    PopupTest::RecorderWindow owner;
    TestLoading loading;
    ASSERT_TRUE(loading.CreateDlg(owner.Hwnd(), CRect(100, 100, 500, 400)));
    loading.KillTimer(VREL::TIMER_LOADING_FRAME);
    for (int frame : {0, 1, 5})
    {
        loading.Tick(2 * frame);
        PopupTest::Surface surface(400, 300);
        loading.DrawFrame(surface.Graphics(), 400, 300);
        // The GIF covers (84, 121) to (316, 179); its centre shows the frame's fill.
        EXPECT_EQ(Opaque(TestTheme::FrameFill(frame)), surface.At(200, 150)) << "frame " << frame;
        // Without a background: white at alpha 240, premultiplied.
        EXPECT_EQ(0xF0F0F0F0u, surface.At(5, 290));
        loading.Tick(2 * (8 - frame));
    }
}

TEST(LoadingWindow, FrameSlotsOutsideTheRangeAreRefused)
{
    LoadingWnd loading;
    const struct
    {
        int slot;
        int result;
    } cases[] = {{-1, 0}, {0, 1}, {18, 1}, {19, 0}, {1000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.result, loading.LoadAnimateImage(CString(L"img_sys_close.png"), c.slot)) << c.slot;
    EXPECT_EQ(0, loading.LoadAnimateImage(CString(L"missing.png"), 3));
    EXPECT_EQ(0, loading.LoadGifImage(CString(L"missing.gif")));
    EXPECT_EQ(0, loading.GetGifFrameCount());
}
