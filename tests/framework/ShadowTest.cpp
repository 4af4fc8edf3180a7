// The drop shadow: the shadow bitmap as a pure computation, and the shadow
// window that follows a real window.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Shadow.h"

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

TEST(ShadowBitmap, ExampleSettingsGiveSoftEdgeSolidBandAndCutOut)
{
    const int w = 100, h = 60;
    const ShadowParams params{10, 5, 150, 5, 5, 0x000000};
    GuardedPixels pixels(w + 20, h + 20);
    ASSERT_EQ(1, MShadow::ComputeShadow(params, w, h, FullRows(w, h), pixels.Data(), pixels.Count()));
    EXPECT_TRUE(pixels.GuardsIntact());

    // Kernel of radius 10 with a solid core of radius 5 around the shape's
    // edge: the top edge is row 10, the right edge column w + 9.
    EXPECT_EQ(Black(75), pixels.At(60, 2));
    EXPECT_EQ(0u, pixels.At(0, 0));
    EXPECT_EQ(Black(150), pixels.At(w + 14, 30));
    EXPECT_EQ(Black(75), pixels.At(w + 17, 30));
    EXPECT_EQ(Black(75), pixels.At(2, 30));
    // Solid beyond the window, right of and below it.
    EXPECT_EQ(Black(150), pixels.At(w + 7, 30));
    EXPECT_EQ(Black(150), pixels.At(50, h + 7));
    // Nothing under the window itself, which lies at (5, 5) in the bitmap.
    for (int y = 5; y < h + 5; ++y)
        for (int x = 5; x < w + 5; ++x)
            ASSERT_EQ(0u, pixels.At(x, y)) << x << "," << y;
}

TEST(ShadowBitmap, ColourIsPremultipliedByTheDarkness)
{
    const int w = 30, h = 20;
    // Sharpness 0: a hard disc of radius 4 at full darkness.
    const ShadowParams params{4, 0, 200, 0, 0, 0xFF8040};
    GuardedPixels pixels(w + 8, h + 8);
    ASSERT_EQ(1, MShadow::ComputeShadow(params, w, h, FullRows(w, h), pixels.Data(), pixels.Count()));
    const uint32_t expected = 0xC8000000u | (255u * 200 / 255) << 16 | (128u * 200 / 255) << 8 | (64u * 200 / 255);
    EXPECT_EQ(expected, pixels.At(0, 14));
    EXPECT_EQ(0u, pixels.At(0, 0));
    EXPECT_EQ(0u, pixels.At(10, 10));
}

TEST(ShadowBitmap, SharpnessAboveSizeNarrowsTheShapeAndWidensTheKernel)
{
    const int w = 40, h = 30;
    const ShadowParams params{2, 6, 150, 0, 0, 0x000000};
    GuardedPixels pixels(w + 4, h + 4);
    ASSERT_EQ(1, MShadow::ComputeShadow(params, w, h, FullRows(w, h), pixels.Data(), pixels.Count()));
    EXPECT_TRUE(pixels.GuardsIntact());
    // The shape's left edge moved in by 4 to x = 6; a kernel of radius 6
    // reaches the bitmap's edge with alpha (1 - 6/7) * 150.
    EXPECT_EQ(Black(21), pixels.At(0, 17));
    EXPECT_EQ(Black(42), pixels.At(1, 17));
    EXPECT_EQ(0u, pixels.At(10, 17));
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

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

CRect WindowRect(HWND hwnd)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    return CRect(r);
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
        pm.Init(parent, nullptr);
        pm.CreateShadow(1, false);
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
    first.Init(parent, nullptr);
    first.CreateShadow(1, false);
    ASSERT_TRUE(first.GetShadow()->GetShadowWnd());

    VREL::PaintManager second;
    second.Init(parent, nullptr);
    second.CreateShadow(1, false);
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
