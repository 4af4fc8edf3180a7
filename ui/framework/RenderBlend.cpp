// Fades, gradients and the software stand-in for AlphaBlend.

#include "ui/framework/Render.h"

#include <algorithm>
#include <cmath>

namespace VREL {

namespace {

constexpr int kOpaque = 255;
constexpr int kFullPercent = 100;
constexpr COLOR16 kVertexAlphaOpaque = 0xFF00;

struct BlendFunctions
{
    MRender::AlphaBlendFn alphaBlend;
    MRender::GradientFillFn gradientFill;
};

// Looked up once per process in the msimg32 the library already imports.
BlendFunctions& Functions()
{
    static BlendFunctions functions = [] {
        BlendFunctions found = {&MRender::AlphaBlendFallback, nullptr};
        if (HMODULE msimg = GetModuleHandleW(L"msimg32.dll"))
        {
            if (auto alpha = reinterpret_cast<MRender::AlphaBlendFn>(
                    reinterpret_cast<void*>(GetProcAddress(msimg, "AlphaBlend"))))
                found.alphaBlend = alpha;
            found.gradientFill = reinterpret_cast<MRender::GradientFillFn>(
                reinterpret_cast<void*>(GetProcAddress(msimg, "GradientFill")));
        }
        return found;
    }();
    return functions;
}

BLENDFUNCTION ConstantAlpha(int alpha, BYTE format = 0)
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), format};
}

// The alphas of a row or column fade. a and b are transparencies in percent
// of the first and the last line; the result is the alpha of line `index`.
class FadeRamp
{
public:
    FadeRamp(int a, int b, int lines) : m_rising(a >= b)
    {
        const int lo = std::min(a, b);
        const int hi = std::max(a, b);
        m_start = std::trunc(kOpaque - lo * double(kOpaque) / kFullPercent);
        m_end = std::trunc((kFullPercent - hi) * double(kOpaque) / kFullPercent);
        m_step = lines > 0 ? (m_start - m_end) / lines : 0.0;
    }
    BYTE Alpha(int index) const
    {
        const double value = m_rising ? m_end + index * m_step : m_start - index * m_step;
        return static_cast<BYTE>(static_cast<int>(value) & 0xFF);
    }

private:
    bool m_rising;
    double m_start = 0.0;
    double m_end = 0.0;
    double m_step = 0.0;
};

// log2 of the number of solid bands: 2 to 64.
int BandBits(int steps)
{
    if (steps >= 64)
        return 6;
    if (steps >= 32)
        return 5;
    if (steps >= 16)
        return 4;
    if (steps >= 8)
        return 3;
    if (steps >= 4)
        return 2;
    return 1;
}

// Without GradientFill: 2^bits solid bands from argb2 at the far edge (bottom
// or right) to nearly argb1 at the near edge.
void FillBands(HDC dc, const RECT& rect, DWORD argb1, DWORD argb2, bool vertical, int steps)
{
    const int bits = BandBits(steps);
    const int bands = 1 << bits;
    const int size = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    const auto channel = [&](int shift, int band) {
        const int c1 = static_cast<int>((argb1 >> shift) & 0xFF);
        const int c2 = static_cast<int>((argb2 >> shift) & 0xFF);
        return static_cast<BYTE>((c2 * (bands - band) + c1 * band) >> bits);
    };
    for (int band = 0; band < bands; ++band)
    {
        const int nearOffset = (size * band) >> bits;
        const int farOffset = (size * (band + 1)) >> bits;
        if (farOffset - nearOffset <= 0)
            continue;
        RECT piece = rect;
        if (vertical)
        {
            piece.top = rect.bottom - farOffset;
            piece.bottom = rect.bottom - nearOffset;
        }
        else
        {
            piece.left = rect.right - farOffset;
            piece.right = rect.right - nearOffset;
        }
        HBRUSH brush = CreateSolidBrush(RGB(channel(16, band), channel(8, band), channel(0, band)));
        FillRect(dc, &piece, brush);
        DeleteObject(brush);
    }
}

TRIVERTEX Vertex(LONG x, LONG y, DWORD argb)
{
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(((argb >> 16) & 0xFF) << 8);
    vertex.Green = static_cast<COLOR16>(((argb >> 8) & 0xFF) << 8);
    vertex.Blue = static_cast<COLOR16>((argb & 0xFF) << 8);
    vertex.Alpha = kVertexAlphaOpaque;
    return vertex;
}

// 32-bit bottom-up DIB selected into its own memory DC, for the software blend.
class PixelBuffer
{
public:
    PixelBuffer(HDC reference, int width, int height) : m_dc(CreateCompatibleDC(reference))
    {
        if (!m_dc)
            return;
        m_bitmap = MRender::CreateARGB32Bitmap(reference, width, height, &m_bits);
        if (m_bitmap)
            m_oldBitmap = SelectObject(m_dc, m_bitmap);
    }
    ~PixelBuffer()
    {
        if (m_oldBitmap)
            SelectObject(m_dc, m_oldBitmap);
        if (m_bitmap)
            DeleteObject(m_bitmap);
        if (m_dc)
            DeleteDC(m_dc);
    }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    bool IsReady() const { return m_dc && m_bitmap && m_bits; }
    HDC Dc() const { return m_dc; }
    BYTE* Bits() const { return m_bits; }
    // Sets every alpha byte to 0xFF.
    void MakeOpaque(int width, int height)
    {
        GdiFlush();
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (size_t i = 0; i < count; ++i)
            m_bits[i * 4 + 3] = 0xFF;
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    BYTE* m_bits = nullptr;
};

} // namespace

// ----------------------------------------------------------------- fades

int MRender::DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int a, int b)
{
    const int rows = dstRect.Height();
    if (rows <= 0)
        return kOpaque;
    const FadeRamp ramp(a, b, rows);
    BYTE alpha = kOpaque;
    for (int i = 0; i < rows; ++i)
    {
        alpha = ramp.Alpha(i);
        ::AlphaBlend(dst, dstRect.left, dstRect.top + i, dstRect.Width(), 1, src, srcRect.left, srcRect.top + i,
                     dstRect.Width(), 1, ConstantAlpha(alpha));
    }
    return alpha;
}

int MRender::DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int a, int b)
{
    const int columns = dstRect.Width();
    if (columns <= 0)
        return kOpaque;
    const FadeRamp ramp(a, b, columns);
    BYTE alpha = kOpaque;
    for (int i = 0; i < columns; ++i)
    {
        alpha = ramp.Alpha(i);
        ::AlphaBlend(dst, dstRect.left + i, dstRect.top, 1, dstRect.Height(), src, srcRect.left + i, srcRect.top, 1,
                     dstRect.Height(), ConstantAlpha(alpha));
    }
    return alpha;
}

void MRender::DrawRightBottomTransition(HDC& dst, HDC& src, CRect rect, int n, DWORD)
{
    if (n <= 0)
        return;
    const int w = rect.Width();
    const int h = rect.Height();
    const double perPixel = double(kOpaque) / n;
    for (int i = 0; i < n; ++i)
    {
        for (int j = 0; j < n; ++j)
        {
            const double distance = std::sqrt(double(i * i + j * j));
            const int alpha = static_cast<int>(kOpaque - std::min(double(n), distance) * perPixel);
            const int x = w - n + i;
            const int y = h - n + j;
            ::AlphaBlend(dst, x, y, 1, 1, src, x, y, 1, 1, ConstantAlpha(alpha));
        }
    }
}

// -------------------------------------------------------------- gradient

void MRender::SetBlendFunctions(AlphaBlendFn alphaBlend, GradientFillFn gradientFill)
{
    BlendFunctions& functions = Functions();
    functions.alphaBlend = alphaBlend ? alphaBlend : &AlphaBlendFallback;
    functions.gradientFill = gradientFill;
}

void MRender::GetBlendFunctions(AlphaBlendFn& alphaBlend, GradientFillFn& gradientFill)
{
    const BlendFunctions& functions = Functions();
    alphaBlend = functions.alphaBlend;
    gradientFill = functions.gradientFill;
}

void MRender::DrawGradient(HDC dc, const RECT& rect, DWORD argb1, DWORD argb2, bool vertical, int steps)
{
    const BlendFunctions& functions = Functions();
    const int alpha = static_cast<int>(((argb1 >> 24) + (argb2 >> 24)) >> 1);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (alpha == 0 || width <= 0 || height <= 0)
        return;

    const auto fill = [&](HDC surface, const RECT& area) {
        if (functions.gradientFill)
        {
            TRIVERTEX vertices[2] = {Vertex(area.left, area.top, argb1), Vertex(area.right, area.bottom, argb2)};
            GRADIENT_RECT mesh = {0, 1};
            functions.gradientFill(surface, vertices, 2, &mesh, 1,
                                   vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        }
        else
        {
            FillBands(surface, area, argb1, argb2, vertical, steps);
        }
    };

    if (alpha == kOpaque)
    {
        fill(dc, rect);
        return;
    }
    // The translucent gradient is drawn on a 32-bit surface first. The blend
    // onto the target weighs each pixel by its own alpha too, so the surface
    // is made opaque whichever way it was filled: solid bands, unlike
    // GradientFill, leave the alpha byte 0, and would otherwise be added to
    // the target (or vanish under the software blend).
    PixelBuffer surface(dc, width, height);
    if (!surface.IsReady())
        return;
    const RECT area = {0, 0, width, height};
    fill(surface.Dc(), area);
    surface.MakeOpaque(width, height);
    functions.alphaBlend(dc, rect.left, rect.top, width, height, surface.Dc(), 0, 0, width, height,
                         ConstantAlpha(alpha, AC_SRC_ALPHA));
}

BOOL WINAPI MRender::AlphaBlendFallback(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                                        BLENDFUNCTION blend)
{
    PixelBuffer source(dst, w, h);
    if (!source.IsReady())
        return FALSE;
    StretchBlt(source.Dc(), 0, 0, w, h, src, sx, sy, sw, sh, SRCCOPY);
    PixelBuffer target(dst, w, h);
    if (!target.IsReady())
        return FALSE;
    ::BitBlt(target.Dc(), 0, 0, w, h, dst, x, y, SRCCOPY);
    GdiFlush();

    const double constant = blend.SourceConstantAlpha;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    const BYTE* from = source.Bits();
    BYTE* to = target.Bits();
    for (size_t i = 0; i < count; ++i, from += 4, to += 4)
    {
        const double k = std::max(0.0, from[3] * constant / 255.0 / 255.0);
        for (int c = 0; c < 3; ++c)
            to[c] = static_cast<BYTE>(static_cast<int>(to[c] * (1.0 - k) + from[c] * k));
        to[3] = 0;
    }
    ::BitBlt(dst, x, y, w, h, target.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

} // namespace VREL
