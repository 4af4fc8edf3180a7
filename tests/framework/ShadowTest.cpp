// The drop shadow: the shadow bitmap as a pure computation, and the shadow
// window that follows a real window.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/framework/PopupTestSupport.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Shadow.h"

using PopupTest::Pump;
using PopupTest::WindowRect;
using VREL::MShadow;
using VREL::ShadowParams;
using VREL::ShadowSpan;

namespace {

constexpr uint32_t kGuard = 0xDEADBEEF;
constexpr size_t kGuardWords = 64;

// A shadow bitmap with guard words on both sides.
class GuardedPixels
{
public:
    GuardedPixels(int width, int height)
        : m_width(width), m_height(height),
          m_words(kGuardWords * 2 + static_cast<size_t>(std::max(width, 0)) * std::max(height, 0), 0)
    {
        for (size_t i = 0; i < kGuardWords; ++i)
        {
            m_words[i] = kGuard;
            m_words[m_words.size() - 1 - i] = kGuard;
        }
    }
    uint32_t* Data() { return m_words.data() + kGuardWords; }
    size_t Count() const { return m_words.size() - 2 * kGuardWords; }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < kGuardWords; ++i)
        {
            if (m_words[i] != kGuard || m_words[m_words.size() - 1 - i] != kGuard)
                return false;
        }
        return true;
    }
    // (x, y) with y = 0 at the top; the bitmap is bottom-up.
    uint32_t At(int x, int y) const { return m_words[kGuardWords + static_cast<size_t>(m_height - 1 - y) * m_width + x]; }
    bool AllZero() const
    {
        for (size_t i = kGuardWords; i < m_words.size() - kGuardWords; ++i)
        {
            if (m_words[i] != 0)
                return false;
        }
        return true;
    }

private:
    int m_width;
    int m_height;
    std::vector<uint32_t> m_words;
};

std::vector<ShadowSpan> FullRows(int width, int height)
{
    return std::vector<ShadowSpan>(static_cast<size_t>(height), ShadowSpan{0, width});
}

// Rows of varying extent with empty rows between, as a rounded or notched
// window gives.
std::vector<ShadowSpan> RaggedRows(int width, int height)
{
    std::vector<ShadowSpan> rows;
    for (int y = 0; y < height; ++y)
    {
        if (y % 5 == 2)
            rows.push_back(ShadowSpan{width, 0});
        else
            rows.push_back(ShadowSpan{std::min(y % 3, width - 1), std::max(1, width - y % 4)});
    }
    return rows;
}

uint32_t Black(int alpha) { return static_cast<uint32_t>(alpha) << 24; }

} // namespace

TEST(ShadowBitmap, PlainWindowsGiveTheirSoftEdgeSolidBandAndCutOut)
{
    struct Probe
    {
        int x, y;
        uint32_t argb;
        const char* what;
    };
    struct Case
    {
        const char* name;
        ShadowParams params;
        int w, h;
        std::vector<Probe> probes;
        // Where the window lies in the bitmap: nothing is drawn under it.
        CRect cutOut;
    };
    // Colour 0xFF8040 at darkness 200, premultiplied.
    const uint32_t orange = 0xC8000000u | (255u * 200 / 255) << 16 | (128u * 200 / 255) << 8 | (64u * 200 / 255);
    const Case cases[] = {
        // Kernel of radius 10 with a solid core of radius 5 around the
        // shape's edge: the top edge is row 10, the right edge column w + 9.
        {"example settings",
         {10, 5, 150, 5, 5, 0x000000},
         100,
         60,
         {{60, 2, Black(75), "soft above the top edge"},
          {0, 0, 0u, "nothing in the corner"},
          {114, 30, Black(150), "solid right of the right edge"},
          {117, 30, Black(75), "soft further right"},
          {2, 30, Black(75), "soft left of the left edge"},
          {107, 30, Black(150), "solid beyond the window, on its right"},
          {50, 67, Black(150), "solid beyond the window, below it"}},
         CRect(5, 5, 105, 65)},
        // Sharpness 0: a hard disc of radius 4 at full darkness.
        {"colour is premultiplied by the darkness",
         {4, 0, 200, 0, 0, 0xFF8040},
         30,
         20,
         {{0, 14, orange, "the hard edge"}, {0, 0, 0u, "the corner"}, {10, 10, 0u, "under the window"}},
         CRect()},
        // The shape's left edge moved in by 4 to x = 6; a kernel of radius 6
        // reaches the bitmap's edge with alpha (1 - 6/7) * 150.
        {"sharpness above size narrows the shape and widens the kernel",
         {2, 6, 150, 0, 0, 0x000000},
         40,
         30,
         {{0, 17, Black(21), "the bitmap's edge"},
          {1, 17, Black(42), "one further in"},
          {10, 17, 0u, "inside the shape"}},
         CRect()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GuardedPixels pixels(c.w + 2 * c.params.size, c.h + 2 * c.params.size);
        ASSERT_EQ(1, MShadow::ComputeShadow(c.params, c.w, c.h, FullRows(c.w, c.h), pixels.Data(), pixels.Count()));
        EXPECT_TRUE(pixels.GuardsIntact());
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.argb, pixels.At(p.x, p.y)) << p.what << " (" << p.x << "," << p.y << ")";
        for (int y = c.cutOut.top; y < c.cutOut.bottom; ++y)
            for (int x = c.cutOut.left; x < c.cutOut.right; ++x)
                ASSERT_EQ(0u, pixels.At(x, y)) << x << "," << y;
    }
}

TEST(ShadowBitmap, ExtremeSettingsNeverWriteOutsideTheBitmap)
{
    const int sizes[] = {-35, -20, -1, 0, 1, 20, 35};
    const int sharpnesses[] = {0, 1, 35};
    const int offsets[] = {-35, 0, 35};
    const std::pair<int, int> windows[] = {{1, 1}, {3, 2}, {40, 7}, {70, 71}};
    for (const auto& [w, h] : windows)
        for (int size : sizes)
            for (int sharpness : sharpnesses)
                for (int xo : offsets)
                    for (int yo : offsets)
                        for (int shape = 0; shape < 2; ++shape)
                        {
                            const ShadowParams params{size, sharpness, 255, xo, yo, 0xFFFFFF};
                            const int w2 = w + 2 * size, h2 = h + 2 * size;
                            GuardedPixels pixels(w2, h2);
                            const auto rows = shape ? RaggedRows(w, h) : FullRows(w, h);
                            const int result =
                                MShadow::ComputeShadow(params, w, h, rows, pixels.Data(), pixels.Count());
                            SCOPED_TRACE(testing::Message() << w << "x" << h << " size " << size << " sharp "
                                                            << sharpness << " offset " << xo << "," << yo);
                            ASSERT_TRUE(pixels.GuardsIntact());
                            ASSERT_EQ(w2 >= 1 && h2 >= 1 ? 1 : 0, result);
                        }
}

TEST(ShadowBitmap, RefusesBadInputAndWritesNothing)
{
    const ShadowParams params{10, 5, 150, 5, 5, 0};
    GuardedPixels small(39, 40);
    EXPECT_EQ(0, MShadow::ComputeShadow(params, 20, 20, FullRows(20, 20), small.Data(), small.Count()));
    EXPECT_TRUE(small.AllZero());
    GuardedPixels pixels(40, 40);
    EXPECT_EQ(0, MShadow::ComputeShadow(params, 20, 20, FullRows(20, 19), pixels.Data(), pixels.Count()));
    EXPECT_EQ(0, MShadow::ComputeShadow(params, 20, 20, FullRows(20, 20), nullptr, pixels.Count()));
    EXPECT_TRUE(pixels.AllZero());
}

TEST(ShadowBitmap, SpansFollowTheRegionRowByRow)
{
    HRGN round = ::CreateRoundRectRgn(0, 0, 21, 11, 8, 8);
    const auto rows = MShadow::SpansFromRegion(round, 20, 10);
    ::DeleteObject(round);
    ASSERT_EQ(10u, rows.size());
    EXPECT_GT(rows[0].left, 0);
    EXPECT_LT(rows[0].right, 20);
    EXPECT_EQ(0, rows[5].left);
    EXPECT_EQ(20, rows[5].right);

    HRGN empty = ::CreateRectRgn(0, 0, 0, 0);
    for (const ShadowSpan& row : MShadow::SpansFromRegion(empty, 20, 10))
    {
        EXPECT_EQ(20, row.left);
        EXPECT_EQ(0, row.right);
    }
    ::DeleteObject(empty);
}

// ---- the shadow window ---------------------------------------------------------------------

namespace {

const wchar_t kParentClass[] = L"ShadowTestParent";

HWND MakeParent(int x, int y, int w, int h, bool rounded)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kParentClass;
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd && rounded)
        ::SetWindowRgn(hwnd, ::CreateRoundRectRgn(0, 0, w + 1, h + 1, 10, 10), TRUE);
    return hwnd;
}

// Binds the manager to the window and gives it a shadow.
void AttachShadow(VREL::PaintManager& manager, HWND window)
{
    manager.Init(window, nullptr);
    manager.CreateShadow(1, false);
}

} // namespace

TEST(ShadowWindow, SettersKeepTheirLimits)
{
    MShadow shadow;
    EXPECT_EQ(0, shadow.SetSize(36));
    EXPECT_EQ(0, shadow.SetSize(-36));
    EXPECT_EQ(1, shadow.SetSize(-35));
    EXPECT_EQ(0, shadow.SetSharpness(36));
    EXPECT_EQ(1, shadow.SetSharpness(35));
    EXPECT_EQ(0, shadow.SetDarkness(256));
    EXPECT_EQ(1, shadow.SetDarkness(255));
    EXPECT_EQ(0, shadow.SetPosition(0, -36));
    EXPECT_EQ(0, shadow.SetPosition(36, 0));
    EXPECT_EQ(1, shadow.SetPosition(-35, 35));
    EXPECT_EQ(0, shadow.SetShadowCorner(RECT{-1, 0, 0, 0}));
    EXPECT_EQ(1, shadow.SetShadowCorner(RECT{0, 0, 0, 0}));
    EXPECT_EQ(0, shadow.SetImage(static_cast<const wchar_t*>(nullptr)));
}

TEST(ShadowWindow, FollowsItsWindowAndIsSizedByTheSettings)
{
    HWND parent = MakeParent(200, 150, 120, 80, true);
    ASSERT_TRUE(parent);
    {
        VREL::PaintManager pm;
        AttachShadow(pm, parent);
        HWND shadow = pm.GetShadow()->GetShadowWnd();
        ASSERT_TRUE(shadow);
        // Size 0 draws nothing; size 10 gives a bitmap 20 larger, placed by offset - size.
        ASSERT_EQ(1, pm.SetSize(10));
        EXPECT_EQ(CRect(195, 145, 195 + 140, 145 + 100), WindowRect(shadow));
        ::SetWindowPos(parent, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        EXPECT_EQ(CRect(295, 245, 295 + 140, 245 + 100), WindowRect(shadow));

        pm.DisableShadow(1);
        EXPECT_FALSE(::IsWindowVisible(shadow));
        pm.DisableShadow(0);
        EXPECT_TRUE(::IsWindowVisible(shadow));

        // A negative size that leaves nothing of the window draws nothing.
        EXPECT_EQ(1, pm.SetSize(-35));
        ::SetWindowPos(parent, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    // The shadow went with its manager while its window lives on: the window
    // must no longer call into it.
    ::SetWindowPos(parent, nullptr, 10, 10, 60, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_TRUE(MShadow::GetShadowMap().find(parent) == MShadow::GetShadowMap().end());
    ::DestroyWindow(parent);
}

TEST(ShadowWindow, ASecondShadowForTheSameWindowIsRefused)
{
    HWND parent = MakeParent(100, 100, 90, 60, true);
    ASSERT_TRUE(parent);
    VREL::PaintManager first;
    AttachShadow(first, parent);
    ASSERT_TRUE(first.GetShadow()->GetShadowWnd());

    VREL::PaintManager second;
    AttachShadow(second, parent);
    EXPECT_FALSE(second.GetShadow()->GetShadowWnd());
    // Attaching the same shadow again is refused as well.
    EXPECT_EQ(0, first.GetShadow()->Create(&first));

    // With two subclass procedures chained through one map entry this would
    // never return.
    ::SetWindowPos(parent, nullptr, 0, 0, 100, 70, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(first.GetShadow(), MShadow::GetShadowMap()[parent]);
    ::DestroyWindow(parent);
    EXPECT_TRUE(MShadow::GetShadowMap().find(parent) == MShadow::GetShadowMap().end());
    EXPECT_FALSE(first.GetShadow()->GetShadowWnd());
}

TEST(ShadowWindow, SizeAndShowMessagesOfTheWindowHideAndShowIt)
{
    HWND parent = MakeParent(100, 100, 90, 60, true);
    ASSERT_TRUE(parent);
    {
        VREL::PaintManager pm;
        AttachShadow(pm, parent);
        ASSERT_EQ(1, pm.SetSize(8));
        const MShadow* shadow = pm.GetShadow();
        ASSERT_TRUE(shadow->GetShadowWnd());
        struct Step
        {
            const char* what;
            UINT msg;
            WPARAM wParam;
            bool visible;
            BYTE status; // 1 attached, 2 shown, 4 window shown
        };
        const Step steps[] = {
            {"maximised", WM_SIZE, SIZE_MAXIMIZED, false, 5},
            {"restored", WM_SIZE, SIZE_RESTORED, true, 7},
            {"minimised", WM_SIZE, SIZE_MINIMIZED, false, 5},
            {"window hidden", WM_SHOWWINDOW, FALSE, false, 1},
            {"sized while hidden", WM_SIZE, SIZE_RESTORED, false, 1},
            {"window shown", WM_SHOWWINDOW, TRUE, true, 7},
        };
        for (const Step& step : steps)
        {
            SCOPED_TRACE(step.what);
            ::SendMessageW(parent, step.msg, step.wParam, step.msg == WM_SIZE ? MAKELPARAM(90, 60) : 0);
            EXPECT_EQ(step.visible, ::IsWindowVisible(shadow->GetShadowWnd()) != FALSE);
            EXPECT_EQ(step.status, shadow->GetStatus());
        }
    }
    ::DestroyWindow(parent);
}
