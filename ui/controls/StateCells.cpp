#include "ui/controls/StateCells.h"

#include <algorithm>
#include <vector>

#include "ui/framework/MControl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Render.h"

namespace VREL {

void DrawStateCells(MControl& control, HDC& target, HDC& memDc, int cellCount, int shownCell,
                    const CellRenderer& render, const CellLookKey& lookKey)
{
    const CRect rect = control.GetRect();
    const int w = rect.Width();
    const int h = rect.Height();
    if (w <= 0 || h <= 0 || cellCount <= 0)
        return;

    if (!control.GetUpdate() || !memDc)
    {
        // Every background first: GDI+ may hold back its drawing on the DC
        // until the Graphics object goes, so GDI and GDI+ do not interleave.
        if (!PrepareStateCells(control, target, memDc, cellCount))
            return;
        // The first cell of each look; the others copy it.
        std::vector<int> source(static_cast<size_t>(cellCount));
        std::vector<std::uint64_t> keys;
        for (int i = 0; i < cellCount; ++i)
        {
            source[i] = i;
            if (!lookKey)
                continue;
            keys.push_back(lookKey(i));
            for (int j = 0; j < i; ++j)
            {
                if (keys[j] == keys[i])
                {
                    source[i] = j;
                    break;
                }
            }
        }
        {
            Gdiplus::Graphics graphics(memDc);
            for (int i = 0; i < cellCount; ++i)
                if (source[i] == i)
                    render(StateCell{graphics, memDc, i, i * w, w, h});
        }
        for (int i = 0; i < cellCount; ++i)
            if (source[i] != i)
                ::BitBlt(memDc, i * w, 0, w, h, memDc, source[i] * w, 0, SRCCOPY);
    }
    ShowStateCell(control, target, memDc, cellCount, shownCell);
}

void DrawKeptStateCells(MControl& control, HDC& target, HDC& memDc, KeptCells& kept, LookInputs inputs,
                        int cellCount, int shownCell, const CellRenderer& render, const CellLookKey& lookKey)
{
    const CRect rect = control.GetRect();
    if (rect.Width() <= 0 || rect.Height() <= 0 || cellCount <= 0)
        return;
    if (control.GetUpdate() && memDc)
    {
        ShowStateCell(control, target, memDc, cellCount, shownCell);
        return;
    }
    if (!kept.Restore(control, target, memDc, cellCount, std::move(inputs)))
    {
        DrawStateCells(control, target, memDc, cellCount, shownCell, render, lookKey);
        kept.Rendered(memDc);
        return;
    }
    ShowStateCell(control, target, memDc, cellCount, shownCell);
}

bool PrepareStateCells(MControl& control, HDC& target, HDC& memDc, int cellCount)
{
    const CRect rect = control.GetRect();
    const int w = rect.Width();
    const int h = rect.Height();
    control.UpdateMemDC(target, cellCount * w, h);
    if (!memDc)
        return false;
    for (int i = 0; i < cellCount; ++i)
        ::BitBlt(memDc, i * w, 0, w, h, target, rect.left, rect.top, SRCCOPY);
    return true;
}

void ShowStateCell(MControl& control, HDC& target, HDC memDc, int cellCount, int shownCell)
{
    const CRect rect = control.GetRect();
    const int shown = std::min(std::max(shownCell, 0), cellCount - 1);
    ::BitBlt(target, rect.left, rect.top, rect.Width(), rect.Height(), memDc, shown * rect.Width(), 0, SRCCOPY);
}

std::unique_ptr<Gdiplus::StringFormat> MakeStringFormat(Gdiplus::StringAlignment horizontal,
                                                        Gdiplus::StringAlignment vertical, INT flags)
{
    auto format = std::make_unique<Gdiplus::StringFormat>(flags);
    format->SetAlignment(horizontal);
    format->SetLineAlignment(vertical);
    return format;
}

Gdiplus::StringAlignment HorizontalAlignment(UINT align)
{
    constexpr UINT kCentre = 1, kRight = 2;
    if (align == kCentre)
        return Gdiplus::StringAlignmentCenter;
    if (align == kRight)
        return Gdiplus::StringAlignmentFar;
    return Gdiplus::StringAlignmentNear;
}

Gdiplus::StringAlignment VerticalAlignment(UINT align)
{
    constexpr UINT kMiddle = 4, kBottom = 8;
    if (align == kMiddle)
        return Gdiplus::StringAlignmentCenter;
    if (align == kBottom)
        return Gdiplus::StringAlignmentFar;
    return Gdiplus::StringAlignmentNear;
}

ControlFont::ControlFont(MControlFont& control, int size, Gdiplus::FontStyle style)
{
    const CString name = control.GetTextFont();
    const Gdiplus::FontFamily* family = control.GetFontFamily(name);
    if (!family)
    {
        m_ownFamily.reset(MRender::CreateFontFamily(name));
        family = m_ownFamily.get();
    }
    m_font = std::make_unique<Gdiplus::Font>(family, static_cast<Gdiplus::REAL>(size), style, Gdiplus::UnitPixel);
}

ControlFont::~ControlFont() = default;

const Gdiplus::Font& CellFont::Get(const StateCell& cell)
{
    if (!m_font)
    {
        ::SetBkMode(cell.dc, TRANSPARENT);
        m_font = std::make_unique<ControlFont>(m_control, m_control.GetFontWidth(), m_control.GetFontStyle());
    }
    return m_font->Get();
}

void DrawText(Gdiplus::Graphics& graphics, const CString& text, const Gdiplus::Font& font,
              const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, Gdiplus::Color colour)
{
    Gdiplus::SolidBrush brush(colour);
    graphics.DrawString(text.GetString(), text.GetLength(), &font, box, &format, &brush);
}

void DrawStripFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& dst, int sx, int sy,
                    int sw, int sh)
{
    if (!image || sw <= 0 || sh <= 0)
        return;
    // Scaling straight from the strip samples pixels of the neighbouring
    // frames at the edges (and Wine maps the last column of a scaled image
    // onto the first pixel past the source): the frame is copied on its own
    // first, so that nothing beyond it can be sampled.
    Gdiplus::Bitmap frame(sw, sh, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics copy(&frame);
        copy.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        copy.DrawImage(image, Gdiplus::Rect(0, 0, sw, sh), sx, sy, sw, sh, Gdiplus::UnitPixel);
    }
    graphics.DrawImage(&frame, dst, 0, 0, sw, sh, Gdiplus::UnitPixel);
}

void DrawCellTitle(const StateCell& cell, const CString& title, const Gdiplus::Font& font,
                   Gdiplus::TextRenderingHint hint, Gdiplus::Color colour)
{
    constexpr int kPressedCell = 2, kDisabledCell = 3;
    const float shift = cell.index == kPressedCell ? 1.0f : 0.0f;
    const Gdiplus::Color drawn = cell.index == kDisabledCell ? Gdiplus::Color(kDisabledTextArgb) : colour;
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    cell.graphics.SetTextRenderingHint(hint);
    DrawText(cell.graphics, title, font,
             cell.Box(shift, shift, static_cast<float>(cell.width), static_cast<float>(cell.height)), *format, drawn);
}

void FillInsetBar(Gdiplus::Graphics& graphics, float length, int height, Gdiplus::Color colour)
{
    constexpr float kCornerRadius = 4.0f;
    MRender::DrawRoundRectange(graphics, kInsetBarMargin, kInsetBarMargin, length,
                               static_cast<float>(height - 2 * kInsetBarMargin), kCornerRadius, colour);
}

} // namespace VREL
