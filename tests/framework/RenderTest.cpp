#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/Render.h"

namespace {

using VREL::MRender;

constexpr uint32_t kOpaqueBlack = 0xFF000000;

std::unique_ptr<Gdiplus::Image> LoadTheme(const wchar_t* name)
{
    return std::unique_ptr<Gdiplus::Image>(MRender::LoadImageFromFile(TestTheme::Path(name)));
}

// Grey level that a constant-alpha blend of white over black gives.
uint32_t Grey(int alpha)
{
    const uint32_t v = static_cast<uint32_t>(alpha) & 0xFF;
    return v << 16 | v << 8 | v;
}

// Restores the looked-up blend functions after a test replaced them.
class BlendFunctionsGuard
{
public:
    BlendFunctionsGuard() { MRender::GetBlendFunctions(m_alpha, m_gradient); }
    ~BlendFunctionsGuard() { MRender::SetBlendFunctions(m_alpha, m_gradient); }

private:
    MRender::AlphaBlendFn m_alpha = nullptr;
    MRender::GradientFillFn m_gradient = nullptr;
};

// ----------------------------------------------------------- image loading

TEST(RenderImages, LoadsSkinFilesAndRejectsMissingOnes)
{
    auto image = LoadTheme(TestTheme::kStrip4);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), UINT(TestTheme::kStrip4Frames * TestTheme::kStrip4Width));
    EXPECT_EQ(image->GetHeight(), UINT(TestTheme::kStrip4Height));
    EXPECT_EQ(MRender::LoadImageFromFile(TestTheme::Path(L"no_such_image.png")), nullptr);
}

TEST(RenderImages, LoadImageFromFileExMakesCopiesOfAGivenSize)
{
    std::unique_ptr<Gdiplus::Image> same(MRender::LoadImageFromFileEx(TestTheme::Path(TestTheme::kGrid), 0, 0));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->GetWidth(), UINT(TestTheme::kGridWidth));
    EXPECT_EQ(same->GetHeight(), UINT(TestTheme::kGridHeight));
    std::unique_ptr<Gdiplus::Image> small(MRender::LoadImageFromFileEx(TestTheme::Path(TestTheme::kGrid), 15, 12));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->GetWidth(), 15u);
    EXPECT_EQ(small->GetHeight(), 12u);
    EXPECT_EQ(MRender::LoadImageFromFileEx(TestTheme::Path(L"no_such_image.png"), 0, 0), nullptr);
}

TEST(RenderImages, LibraryCarriesItsScrollBarImagesAndFont)
{
    HMODULE library = GetModuleHandleW(L"vrel.dll");
    ASSERT_NE(library, nullptr);
    struct Expected
    {
        UINT id;
        UINT width, height;
    };
    for (const Expected& e : {Expected{101, 22, 20}, Expected{102, 12, 72}})
    {
        std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromIDResource(e.id, L"PNG", library));
        ASSERT_TRUE(image) << e.id;
        EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
        EXPECT_EQ(image->GetWidth(), e.width) << e.id;
        EXPECT_EQ(image->GetHeight(), e.height) << e.id;
    }
    EXPECT_NE(FindResourceW(library, MAKEINTRESOURCEW(106), L"ttf"), nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(999, L"PNG", library), nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"GIF", library), nullptr);
}

TEST(RenderImages, ScrollBarImagesHaveTheirFrameLayout)
{
    HMODULE library = GetModuleHandleW(L"vrel.dll");
    // 101: four rows of 5 pixels, fainter downwards, with round ends.
    std::unique_ptr<Gdiplus::Bitmap> thumbs(
        static_cast<Gdiplus::Bitmap*>(MRender::LoadImageFromIDResource(101, L"PNG", library)));
    ASSERT_TRUE(thumbs);
    const BYTE alphas[] = {255, 204, 153, 102};
    for (int row = 0; row < 4; ++row)
    {
        Gdiplus::Color middle;
        thumbs->GetPixel(11, row * 5 + 2, &middle);
        EXPECT_EQ(middle.GetValue() & 0xFFFFFF, 0xFDE000u) << row;
        EXPECT_EQ(middle.GetA(), alphas[row]) << row;
        Gdiplus::Color corner;
        thumbs->GetPixel(0, row * 5, &corner);
        EXPECT_LT(corner.GetA(), alphas[row] / 2) << "round ends, row " << row;
    }

    // 102: three columns of 4 pixels: a hollow outline and two solid bars.
    std::unique_ptr<Gdiplus::Bitmap> bars(
        static_cast<Gdiplus::Bitmap*>(MRender::LoadImageFromIDResource(102, L"PNG", library)));
    ASSERT_TRUE(bars);
    Gdiplus::Color pixel;
    bars->GetPixel(0, 36, &pixel);
    EXPECT_EQ(pixel.GetValue(), 0xFF898888u) << "outline";
    bars->GetPixel(1, 36, &pixel);
    EXPECT_EQ(pixel.GetA(), 0) << "hollow inside";
    bars->GetPixel(5, 36, &pixel);
    EXPECT_EQ(pixel.GetValue(), 0xFF6F6F6Fu);
    bars->GetPixel(9, 36, &pixel);
    EXPECT_EQ(pixel.GetValue(), 0xFF595959u);
    bars->GetPixel(4, 0, &pixel);
    EXPECT_LT(pixel.GetA(), 128) << "round end";
}

// A path of MAX_PATH characters or more reaches the system whole.
TEST(RenderImages, LoadIconFromFileTakesLongPaths)
{
    // A system program that carries icons of its own.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\notepad.exe";
    HICON shortIcon = MRender::LoadIconFromFile(program.c_str());
    if (!shortIcon)
        GTEST_SKIP() << "no icon in notepad.exe here";
    DestroyIcon(shortIcon);

    // ".\" segments name the same file by a path longer than MAX_PATH.
    std::wstring path(program);
    std::wstring dots;
    while (path.size() + dots.size() <= MAX_PATH + 20)
        dots += L".\\";
    path.insert(path.find_last_of(L'\\') + 1, dots);
    HICON longIcon = MRender::LoadIconFromFile(path.c_str());
    EXPECT_NE(longIcon, nullptr);
    if (longIcon)
        DestroyIcon(longIcon);
}

// ------------------------------------------------------------- nine-grids

TEST(RenderNineGrid, CornersEdgesAndCentreLandInTheirPieces)
{
    auto grid = LoadTheme(TestTheme::kGrid);
    ASSERT_TRUE(grid);
    DibCanvas canvas(130, 90, kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawImageFrame(graphics, grid.get(), CRect(10, 10, 110, 70), 0, 0, TestTheme::kGridWidth,
                                TestTheme::kGridHeight, TestTheme::kGridMargin);
    }
    struct Probe
    {
        int x, y;
        uint32_t color;
        const char* piece;
    };
    const uint32_t edge = TestTheme::EdgeColor(0);
    const Probe probes[] = {
        {12, 12, TestTheme::kTopLeft, "top-left"},
        {107, 12, TestTheme::kTopRight, "top-right"},
        {12, 67, TestTheme::kBottomLeft, "bottom-left"},
        {107, 67, TestTheme::kBottomRight, "bottom-right"},
        {60, 12, edge, "top edge"},
        {60, 67, edge, "bottom edge"},
        {12, 40, edge, "left edge"},
        {107, 40, edge, "right edge"},
        {60, 40, TestTheme::FrameFill(0), "centre"},
        {5, 5, 0, "outside"},
        {115, 75, 0, "outside"},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(NearColor(canvas.Rgb(p.x, p.y), p.color)) << p.piece << " " << std::hex << canvas.Rgb(p.x, p.y);
}

// Every line of a stretched piece shows that piece: none is left empty (a
// resampler that maps a destination line just outside its source piece
// drops it) and none takes the colour of the neighbouring piece (sampling
// across the seam). Uneven stretch ratios show both.
TEST(RenderNineGrid, StretchedPiecesLeaveNoSeam)
{
    auto grid = LoadTheme(TestTheme::kGrid);
    ASSERT_TRUE(grid);
    const int margin = TestTheme::kGridMargin;
    const uint32_t edge = TestTheme::EdgeColor(0);
    const uint32_t fill = TestTheme::FrameFill(0);
    const CRect frames[] = {CRect(10, 10, 110, 70), CRect(3, 5, 40, 36), CRect(0, 0, 127, 29),
                            CRect(7, 2, 98, 81)};
    for (const CRect& frame : frames)
    {
        DibCanvas canvas(frame.right + 5, frame.bottom + 5, kOpaqueBlack);
        {
            Gdiplus::Graphics graphics(canvas.Dc());
            MRender::DrawImageFrame(graphics, grid.get(), frame, 0, 0, TestTheme::kGridWidth,
                                    TestTheme::kGridHeight, margin);
        }
        // Across the middle: edge band, centre, edge band; along the top and
        // left edge pieces (inside their corners): the edge colour.
        const int midY = (frame.top + frame.bottom) / 2;
        for (int x = frame.left; x < frame.right; ++x)
        {
            const bool band = x < frame.left + margin || x >= frame.right - margin;
            EXPECT_TRUE(NearColor(canvas.Rgb(x, midY), band ? edge : fill))
                << "x " << x << " across " << frame.Width() << ": " << std::hex << canvas.Rgb(x, midY);
            if (!band)
            {
                EXPECT_TRUE(NearColor(canvas.Rgb(x, frame.top + 1), edge))
                    << "top edge x " << x << " across " << frame.Width();
            }
        }
        const int midX = (frame.left + frame.right) / 2;
        for (int y = frame.top; y < frame.bottom; ++y)
        {
            const bool band = y < frame.top + margin || y >= frame.bottom - margin;
            EXPECT_TRUE(NearColor(canvas.Rgb(midX, y), band ? edge : fill))
                << "y " << y << " down " << frame.Height() << ": " << std::hex << canvas.Rgb(midX, y);
            if (!band)
            {
                EXPECT_TRUE(NearColor(canvas.Rgb(frame.left + 1, y), edge))
                    << "left edge y " << y << " down " << frame.Height();
            }
        }
    }
}

TEST(RenderNineGrid, SeparateMarginsAndASourceFrame)
{
    auto strip = LoadTheme(TestTheme::kGrid);
    ASSERT_TRUE(strip);
    // Right and bottom margins twice the image's: the right-hand pieces take
    // 12 source columns, half edge band and half corner.
    DibCanvas canvas(100, 80, kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawImageFrameMID(graphics, strip.get(), CRect(0, 0, 100, 80), 0, 0, TestTheme::kGridWidth,
                                   TestTheme::kGridHeight, 6, 6, 12, 12);
    }
    EXPECT_TRUE(NearColor(canvas.Rgb(97, 2), TestTheme::kTopRight));
    EXPECT_TRUE(NearColor(canvas.Rgb(91, 2), TestTheme::EdgeColor(0)));
    EXPECT_TRUE(NearColor(canvas.Rgb(97, 77), TestTheme::kBottomRight));
    EXPECT_TRUE(NearColor(canvas.Rgb(97, 71), TestTheme::EdgeColor(0)));
    EXPECT_TRUE(NearColor(canvas.Rgb(2, 77), TestTheme::kBottomLeft));
    EXPECT_TRUE(NearColor(canvas.Rgb(2, 71), TestTheme::EdgeColor(0)));

    // A frame of a strip is picked by its source offset.
    auto frames = LoadTheme(TestTheme::kStrip4);
    ASSERT_TRUE(frames);
    DibCanvas framed(40, 40, kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(framed.Dc());
        MRender::DrawImageFrame(graphics, frames.get(), CRect(0, 0, 40, 40), 2 * TestTheme::kStrip4Width, 0,
                                TestTheme::kStrip4Width, TestTheme::kStrip4Height, TestTheme::kStrip4Margin);
    }
    EXPECT_TRUE(NearColor(framed.Rgb(20, 20), TestTheme::FrameFill(2)));
    EXPECT_TRUE(NearColor(framed.Rgb(0, 0), TestTheme::kTopLeft));
    EXPECT_TRUE(NearColor(framed.Rgb(20, 0), TestTheme::EdgeColor(2)));
}

// ------------------------------------------------------------------ fades

struct FadeCase
{
    int a, b;
    std::vector<int> alphas;  // expected per line
    int result;
};

const FadeCase kFadeCases[] = {
    {0, 100, {255, 191, 127, 63}, 63},
    {100, 0, {0, 63, 127, 191}, 191},
    {20, 20, {204, 204, 204, 204}, 204},
    {0, 50, {255, 223, 191, 159}, 159},
};

TEST(RenderFades, VerticalFadeAlphasPerRow)
{
    for (const FadeCase& c : kFadeCases)
    {
        DibCanvas source(10, 10, 0xFFFFFFFF);
        DibCanvas target(10, 10, kOpaqueBlack);
        const int result = MRender::DrawVerticalTransition(target.Dc(), source.Dc(), CRect(2, 3, 8, 7),
                                                           CRect(0, 0, 6, 4), c.a, c.b);
        EXPECT_EQ(result, c.result) << c.a << "->" << c.b;
        for (int row = 0; row < 4; ++row)
            EXPECT_TRUE(NearColor(target.Rgb(5, 3 + row), Grey(c.alphas[static_cast<size_t>(row)]), 1))
                << c.a << "->" << c.b << " row " << row << " " << std::hex << target.Rgb(5, 3 + row);
        EXPECT_EQ(target.Rgb(5, 2), 0u);
        EXPECT_EQ(target.Rgb(5, 7), 0u);
        EXPECT_EQ(target.Rgb(1, 4), 0u);
    }
}

TEST(RenderFades, HorizontalFadeAlphasPerColumn)
{
    for (const FadeCase& c : kFadeCases)
    {
        DibCanvas source(10, 10, 0xFFFFFFFF);
        DibCanvas target(10, 10, kOpaqueBlack);
        const int result = MRender::DrawHorizontalTransition(target.Dc(), source.Dc(), CRect(3, 2, 7, 8),
                                                             CRect(0, 0, 4, 6), c.a, c.b);
        EXPECT_EQ(result, c.result);
        for (int column = 0; column < 4; ++column)
            EXPECT_TRUE(NearColor(target.Rgb(3 + column, 5), Grey(c.alphas[static_cast<size_t>(column)]), 1))
                << c.a << "->" << c.b << " column " << column;
        EXPECT_EQ(target.Rgb(7, 5), 0u);
    }
}

TEST(RenderFades, NoLinesGiveOpaqueAndDrawNothing)
{
    DibCanvas source(4, 4, 0xFFFFFFFF);
    DibCanvas target(4, 4, kOpaqueBlack);
    EXPECT_EQ(MRender::DrawVerticalTransition(target.Dc(), source.Dc(), CRect(0, 2, 4, 2), CRect(), 0, 100), 255);
    EXPECT_EQ(MRender::DrawHorizontalTransition(target.Dc(), source.Dc(), CRect(1, 0, 1, 4), CRect(), 0, 100), 255);
    EXPECT_EQ(target.Rgb(1, 2), 0u);
}

TEST(RenderFades, CornerFadeByDistanceFromTheCornerSquare)
{
    DibCanvas source(8, 8, 0xFFFFFFFF);
    DibCanvas target(8, 8, kOpaqueBlack);
    MRender::DrawRightBottomTransition(target.Dc(), source.Dc(), CRect(0, 0, 8, 8), 4, 0);
    // Pixel (4 + i, 4 + j): alpha = 255 - min(4, |(i, j)|) * 63.75.
    EXPECT_TRUE(NearColor(target.Rgb(4, 4), Grey(255), 1));
    EXPECT_TRUE(NearColor(target.Rgb(5, 4), Grey(191), 1));
    EXPECT_TRUE(NearColor(target.Rgb(4, 6), Grey(127), 1));
    EXPECT_TRUE(NearColor(target.Rgb(6, 6), Grey(74), 1));  // distance 2.83
    EXPECT_EQ(target.Rgb(7, 7), 0u);                         // distance 4.24: transparent
    EXPECT_EQ(target.Rgb(3, 3), 0u);                         // outside the corner square

    DibCanvas untouched(8, 8, kOpaqueBlack);
    MRender::DrawRightBottomTransition(untouched.Dc(), source.Dc(), CRect(0, 0, 8, 8), 0, 0);
    EXPECT_EQ(untouched.Rgb(7, 7), 0u);
}

// --------------------------------------------------------------- gradient

TEST(RenderGradient, OpaqueGradientRunsFromFirstToSecondColour)
{
    MRender::AlphaBlendFn alphaBlend;
    MRender::GradientFillFn gradientFill;
    MRender::GetBlendFunctions(alphaBlend, gradientFill);
    ASSERT_NE(gradientFill, nullptr) << "msimg32 offers GradientFill";
    ASSERT_NE(alphaBlend, &MRender::AlphaBlendFallback) << "msimg32 offers AlphaBlend";

    DibCanvas canvas(80, 80, kOpaqueBlack);
    MRender::DrawGradient(canvas.Dc(), CRect(10, 10, 74, 74), 0xFFFF0000, 0xFF0000FF, true, 64);
    EXPECT_TRUE(NearColor(canvas.Rgb(40, 10), 0xFF0000, 8));
    EXPECT_TRUE(NearColor(canvas.Rgb(40, 73), 0x0000FF, 8));
    EXPECT_TRUE(NearColor(canvas.Rgb(40, 42), 0x7F0080, 12));
    EXPECT_EQ(canvas.Rgb(40, 9), 0u);
    EXPECT_EQ(canvas.Rgb(9, 40), 0u);

    canvas.Fill(kOpaqueBlack);
    MRender::DrawGradient(canvas.Dc(), CRect(10, 10, 74, 74), 0xFF00FF00, 0xFFFFFFFF, false, 64);
    EXPECT_TRUE(NearColor(canvas.Rgb(10, 40), 0x00FF00, 8));
    EXPECT_TRUE(NearColor(canvas.Rgb(73, 40), 0xFFFFFF, 8));
}

TEST(RenderGradient, TransparentOrEmptyGradientDrawsNothing)
{
    DibCanvas canvas(20, 20, 0xFF123456);
    MRender::DrawGradient(canvas.Dc(), CRect(0, 0, 20, 20), 0x00FF0000, 0x010000FF, true, 64);  // alpha (0+1)/2 = 0
    MRender::DrawGradient(canvas.Dc(), CRect(5, 5, 5, 15), 0xFFFF0000, 0xFF0000FF, true, 64);
    for (int y = 0; y < 20; y += 4)
        for (int x = 0; x < 20; x += 4)
            EXPECT_EQ(canvas.Pixel(x, y), 0xFF123456u);
}

// Without GradientFill the gradient is a stack of 2^m solid bands, the second
// colour at the far edge.
TEST(RenderGradient, SolidBandsStandInForGradientFill)
{
    BlendFunctionsGuard restore;
    MRender::AlphaBlendFn alphaBlend;
    MRender::GradientFillFn gradientFill;
    MRender::GetBlendFunctions(alphaBlend, gradientFill);
    MRender::SetBlendFunctions(alphaBlend, nullptr);

    struct BandCase
    {
        int steps;
        int bands;
    };
    for (const BandCase& c : {BandCase{3, 2}, BandCase{4, 4}, BandCase{20, 16}, BandCase{100, 64}})
    {
        DibCanvas canvas(4, 64, kOpaqueBlack);
        MRender::DrawGradient(canvas.Dc(), CRect(0, 0, 4, 64), 0xFF000000, 0xFFFC0000, true, c.steps);
        std::set<uint32_t> colors;
        for (int y = 0; y < 64; ++y)
            colors.insert(canvas.Rgb(1, y));
        EXPECT_EQ(static_cast<int>(colors.size()), c.bands) << "steps " << c.steps;
        EXPECT_EQ(canvas.Rgb(1, 63), 0xFC0000u) << "second colour at the bottom";
        // Top band i = bands - 1: (c2 * 1 + c1 * (bands - 1)) / bands.
        EXPECT_EQ(canvas.Rgb(1, 0), static_cast<uint32_t>(0xFC / c.bands) << 16) << "steps " << c.steps;
    }

    DibCanvas across(64, 2, kOpaqueBlack);
    MRender::DrawGradient(across.Dc(), CRect(0, 0, 64, 2), 0xFF0000FF, 0xFF000000, false, 8);
    EXPECT_EQ(across.Rgb(63, 0), 0u) << "second colour at the right";
    EXPECT_EQ(across.Rgb(0, 0), static_cast<uint32_t>(0xFF * 7 / 8));
    EXPECT_EQ(across.Rgb(8, 1), static_cast<uint32_t>(0xFF * 6 / 8));
    EXPECT_EQ(across.Rgb(56, 1), static_cast<uint32_t>(0xFF * 0 / 8));
}

// Half-transparent gradients blend at the average alpha, with the system's
// functions and with every stand-in: the background shows through by half.
TEST(RenderGradient, TranslucentGradientBlendsAtTheAverageAlpha)
{
    BlendFunctionsGuard restore;
    MRender::AlphaBlendFn systemBlend;
    MRender::GradientFillFn systemGradient;
    MRender::GetBlendFunctions(systemBlend, systemGradient);

    struct Variant
    {
        MRender::AlphaBlendFn blend;
        MRender::GradientFillFn gradient;
        const char* name;
    };
    const Variant variants[] = {
        {systemBlend, systemGradient, "system"},
        {systemBlend, nullptr, "bands"},
        {nullptr, systemGradient, "software blend"},
        {nullptr, nullptr, "bands and software blend"},
    };
    for (const Variant& v : variants)
    {
        MRender::SetBlendFunctions(v.blend, v.gradient);
        DibCanvas canvas(16, 16, 0xFF808080);
        // Alphas 0x60 and 0xA0 average to 0x80; one colour, so no bands show.
        MRender::DrawGradient(canvas.Dc(), CRect(4, 4, 12, 12), 0x60FF0000, 0xA0FF0000, true, 64);
        // 0x80 / 255 of red over grey 0x80: red 0xC0, green and blue 0x40.
        EXPECT_TRUE(NearColor(canvas.Rgb(8, 8), 0xC04040, 3)) << v.name << " " << std::hex << canvas.Rgb(8, 8);
        EXPECT_EQ(canvas.Rgb(2, 2), 0x808080u) << v.name;
    }
}

TEST(RenderGradient, SoftwareBlendFollowsSourceAlphaAndConstantAlpha)
{
    DibCanvas source(4, 1, 0);
    source.Set(0, 0, 0xFFC86432);  // opaque
    source.Set(1, 0, 0x80C86432);  // half
    source.Set(2, 0, 0x00C86432);  // transparent
    DibCanvas target(4, 1, 0xFF0A0A0A);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(MRender::AlphaBlendFallback(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 3, 1, blend));
    EXPECT_EQ(target.Pixel(0, 0), 0x00C86432u) << "alpha byte of the result is 0";
    // k = 128 / 255: trunc(10 * (1 - k) + c * k).
    EXPECT_EQ(target.Rgb(1, 0), 0x69371Eu);
    EXPECT_EQ(target.Rgb(2, 0), 0x0A0A0Au);
    EXPECT_EQ(target.Pixel(3, 0), 0xFF0A0A0Au) << "outside the region";

    const BLENDFUNCTION none = {AC_SRC_OVER, 0, 0, AC_SRC_ALPHA};
    EXPECT_TRUE(MRender::AlphaBlendFallback(target.Dc(), 3, 0, 1, 1, source.Dc(), 0, 0, 1, 1, none));
    EXPECT_EQ(target.Rgb(3, 0), 0x0A0A0Au);
    EXPECT_FALSE(MRender::AlphaBlendFallback(target.Dc(), 0, 0, 0, 1, source.Dc(), 0, 0, 0, 1, blend));
}

// ----------------------------------------------------- fills and shapes

TEST(RenderShapes, SolidFillsAndColourFills)
{
    DibCanvas canvas(20, 20, kOpaqueBlack);
    const RECT rect = {2, 2, 6, 6};
    MRender::FillSolidRect(canvas.Dc(), &rect, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(canvas.Rgb(3, 3), 0x112233u);
    EXPECT_EQ(canvas.Rgb(6, 6), 0u);
    EXPECT_EQ(GetBkColor(canvas.Dc()), RGB(0x11, 0x22, 0x33)) << "background colour stays changed";
    MRender::FillSolidRect(canvas.Dc(), 10, 10, 2, 3, RGB(0xFF, 0, 0));
    EXPECT_EQ(canvas.Rgb(11, 12), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(11, 13), 0u);

    const RECT area = {0, 14, 20, 20};
    MRender::DrawColor(canvas.Dc(), area, 0x00FFFFFF);
    EXPECT_EQ(canvas.Rgb(5, 16), 0u) << "alpha 0 draws nothing";
    MRender::DrawColor(canvas.Dc(), area, 0xFF00FF00);
    EXPECT_EQ(canvas.Rgb(5, 16), 0x00FF00u);
    MRender::DrawColor(canvas.Dc(), area, 0x01FFFFFF);
    EXPECT_TRUE(NearColor(canvas.Rgb(5, 16), 0x01FF01, 2)) << "alpha 1 still fills, faintly";
}

TEST(RenderShapes, CheckAlphaColorKeepsPureBlackOffTheColourKey)
{
    struct Case
    {
        DWORD in, out;
    };
    for (const Case& c : {Case{0xFF000000, 0xFF000001}, Case{0xFF000001, 0xFF000001}, Case{0x00000000, 0x00000001},
                          Case{0x80102030, 0x80102030}})
    {
        DWORD color = c.in;
        MRender::CheckAlphaColor(color);
        EXPECT_EQ(color, c.out) << std::hex << c.in;
    }
}

TEST(RenderShapes, RoundRectanglesFillInsideAndLeaveCornersOut)
{
    DibCanvas canvas(60, 40, kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawRoundRectange(graphics, 0.0f, 0.0f, 40.0f, 30.0f, 8.0f, Gdiplus::Color(0xFF00FF00));
    }
    EXPECT_EQ(canvas.Rgb(20, 15), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(20, 1), 0x00FF00u) << "straight top edge";
    EXPECT_EQ(canvas.Rgb(0, 0), 0u) << "rounded corner";
    EXPECT_EQ(canvas.Rgb(39, 29), 0u) << "rounded corner";
    EXPECT_EQ(canvas.Rgb(50, 15), 0u);

    canvas.Fill(kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawRoundRectange(graphics, 5.0f, 5.0f, 40.0f, 30.0f, 6.0f, Gdiplus::Color(0xFFFF0000), 3.0f,
                                   Gdiplus::Color(0xFF0000FF));
    }
    EXPECT_EQ(canvas.Rgb(25, 20), 0x0000FFu) << "fill";
    EXPECT_EQ(canvas.Rgb(25, 5), 0xFF0000u) << "outline on the edge";

    // Size-relative radii, outline only.
    canvas.Fill(kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawRoundRectange(graphics, 5.0f, 5.0f, 40.0f, 30.0f, 2.0f, Gdiplus::Color(0xFFFF0000), 3.0f, false,
                                   Gdiplus::Color(0xFF0000FF));
    }
    EXPECT_EQ(canvas.Rgb(25, 20), 0u) << "no fill";
    EXPECT_EQ(canvas.Rgb(25, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(5, 5), 0u) << "radii 10 x 7.5 round the corner";

    canvas.Fill(kOpaqueBlack);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        MRender::DrawRectange(graphics, 10.0f, 10.0f, 20.0f, 10.0f, Gdiplus::Color(0xFFFFFFFF),
                              Gdiplus::Color(0xFF0000FF));
    }
    EXPECT_EQ(canvas.Rgb(10, 10), 0x0000FFu) << "the frame starts one pixel in";
    EXPECT_EQ(canvas.Rgb(11, 15), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(20, 15), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(30, 15), 0xFFFFFFu) << "frame right edge at x + w";
}

// ------------------------------------------------------------------- text

TEST(RenderText, OriginPointPlacesContentInABox)
{
    struct Case
    {
        int w, h, cw, ch;
        UINT halign, valign;
        CPoint expected;
    };
    const Case cases[] = {
        {100, 20, 40, 10, 1, 4, {30, 5}},  {100, 20, 40, 10, 0, 0, {0, 0}},  {100, 20, 40, 10, 2, 8, {60, 10}},
        {100, 20, 41, 11, 1, 4, {29, 4}},  {10, 10, 40, 30, 1, 4, {-15, -10}}, {100, 20, 40, 10, 3, 2, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MRender::GetOriginPoint(c.w, c.h, c.cw, c.ch, c.halign, c.valign), c.expected)
            << c.w << "x" << c.h << " " << c.halign << "/" << c.valign;
    EXPECT_EQ(MRender::GetOriginPoint(CRect(10, 10, 110, 30), 40, 10, 1, 4), CPoint(40, 17));
    EXPECT_EQ(MRender::GetOriginPoint(CRect(10, 10, 110, 30), 40, 10, 0, 0), CPoint(10, 12));
}

TEST(RenderText, BoundsGrowWithTheTextAndFollowTheFontHeight)
{
    std::unique_ptr<Gdiplus::FontFamily> family(MRender::CreateFontFamily(L"Segoe UI"));
    Gdiplus::Font font(family.get(), 14.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    ASSERT_EQ(font.GetLastStatus(), Gdiplus::Ok);
    const float h = font.GetHeight(0.0f);
    const int expectedHeight = static_cast<float>(static_cast<int>(h)) == h ? static_cast<int>(h + 1)
                                                                            : static_cast<int>(h + 4);

    const Gdiplus::Size shortText = MRender::GetTextBounds(font, CString(L"ab"));
    const Gdiplus::Size longText = MRender::GetTextBounds(font, CString(L"abababab"));
    EXPECT_GT(shortText.Width, 0);
    EXPECT_GT(longText.Width, 3 * shortText.Width);
    EXPECT_EQ(shortText.Height, expectedHeight);
    EXPECT_EQ(longText.Height, expectedHeight) << "the height ignores the text";

    // With a width, one line of text (its glyphs lower than the line) is one
    // padded line height plus 1. (Wine lays out only the first line of a text
    // path, so taller wrapped texts cannot be checked here.)
    Gdiplus::StringFormat format;
    const int line = static_cast<float>(static_cast<int>(h)) == h ? static_cast<int>(h + 1) : static_cast<int>(h + 2);
    const Gdiplus::Size oneLine = MRender::GetTextBounds(font, format, 400, CString(L"aaaa"));
    EXPECT_EQ(oneLine.Height, line + 1);
    EXPECT_GT(oneLine.Width, 0);
    EXPECT_LE(oneLine.Width, 400);
}

TEST(RenderText, MissingFontFamilyFallsBackToAnInstalledOne)
{
    std::unique_ptr<Gdiplus::FontFamily> missing(MRender::CreateFontFamily(L"No Such Family 7f3a"));
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->IsAvailable());
    std::unique_ptr<Gdiplus::FontFamily> none(MRender::CreateFontFamily(nullptr));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->IsAvailable());
}

// -------------------------------------------------------------- BMP files

std::wstring TempFile(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId()) + L".bmp";
}

std::vector<BYTE> ReadFile(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    if (FILE* in = _wfopen(path.c_str(), L"rb"))
    {
        BYTE chunk[4096];
        size_t read;
        while ((read = fread(chunk, 1, sizeof(chunk), in)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + read);
        fclose(in);
    }
    return bytes;
}

TEST(RenderBmp, SavesAReadableBitmapFile)
{
    DibCanvas canvas(5, 3, 0xFF000000);
    canvas.Set(0, 0, 0xFF112233);  // top-left
    canvas.Set(4, 2, 0xFFAABBCC);  // bottom-right
    const std::wstring path = TempFile(L"tarnwell_save_");
    ASSERT_TRUE(MRender::SaveBitmapToFile(canvas.Bitmap(), path.c_str()));
    const std::vector<BYTE> bytes = ReadFile(path);
    DeleteFileW(path.c_str());

    ASSERT_GE(bytes.size(), 54u);
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memcpy(&file, bytes.data(), sizeof(file));
    memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_EQ(info.biWidth, 5);
    EXPECT_EQ(info.biHeight, 3);
    EXPECT_EQ(info.biPlanes, 1);
    ASSERT_EQ(info.biBitCount, 24) << "the test display is a true-colour one";
    EXPECT_EQ(file.bfOffBits, 54u);
    const DWORD stride = (24 * 5 + 31) / 32 * 4;
    EXPECT_EQ(file.bfSize, 54 + 3 * stride);
    EXPECT_EQ(bytes.size(), file.bfSize);
    // Bottom-up, blue-green-red.
    const BYTE* bottomRight = bytes.data() + 54 + 0 * stride + 4 * 3;
    const BYTE* topLeft = bytes.data() + 54 + 2 * stride;
    EXPECT_EQ((bottomRight[2] << 16) | (bottomRight[1] << 8) | bottomRight[0], 0xAABBCC);
    EXPECT_EQ((topLeft[2] << 16) | (topLeft[1] << 8) | topLeft[0], 0x112233);
}

TEST(RenderBmp, ReportsEveryFailure)
{
    DibCanvas canvas(4, 4, 0xFF000000);
    EXPECT_FALSE(MRender::SaveBitmapToFile(canvas.Bitmap(), L"Z:\\no\\such\\folder\\x.bmp")) << "file not created";

    const std::wstring unreadable = TempFile(L"tarnwell_bad_");
    EXPECT_FALSE(MRender::SaveBitmapToFile(nullptr, unreadable.c_str())) << "no bitmap";
    HBITMAP deleted = CreateBitmap(2, 2, 1, 32, nullptr);
    DeleteObject(deleted);
    EXPECT_FALSE(MRender::SaveBitmapToFile(deleted, unreadable.c_str())) << "deleted bitmap";
    EXPECT_EQ(GetFileAttributesW(unreadable.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written";

    // A device that accepts the file but refuses the data: writes fail.
    HANDLE full = CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (full == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no always-full device to write to";
    CloseHandle(full);
    EXPECT_FALSE(MRender::SaveBitmapToFile(canvas.Bitmap(), L"Z:\\dev\\full")) << "write failed";
}

} // namespace
