#include "ui/controls/StateCells.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/framework/MControl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

// As many as the control's mask of unrendered cells holds.
constexpr int kMaxCells = 32;

std::uint32_t CellBit(int index) { return std::uint32_t{1} << index; }

// The first cell that looks like cell index (itself when none before it
// does, or when the control gave no look key).
int LookSource(int index, const CellLookKey& lookKey)
{
    if (!lookKey)
        return index;
    const std::uint64_t key = lookKey(index);
    for (int j = 0; j < index; ++j)
        if (lookKey(j) == key)
            return j;
    return index;
}

// Renders the cells of wanted that are still unrendered: a cell that looks
// like an earlier one is a copy of it, rendered first if need be.
void RenderCells(MControl& control, HDC memDc, int cellCount, std::uint32_t wanted, const CellRenderer& render,
                 const CellLookKey& lookKey)
{
    std::uint32_t unrendered = control.GetUnrenderedCells();
    if ((unrendered & wanted) == 0)
        return;
    const CRect rect = control.GetRect();
    const int w = rect.Width();
    const int h = rect.Height();
    std::vector<int> copies;
    {
        // GDI+ may hold back its drawing on the DC until the Graphics
        // object goes: the copies wait for it.
        Gdiplus::Graphics graphics(memDc);
        for (int i = 0; i < cellCount; ++i)
        {
            if (!(wanted & unrendered & CellBit(i)))
                continue;
            const int source = LookSource(i, lookKey);
            if (unrendered & CellBit(source))
            {
                render(StateCell{graphics, memDc, source, source * w, w, h});
                unrendered &= ~CellBit(source);
            }
            if (source != i)
            {
                copies.push_back(source);
                copies.push_back(i);
                unrendered &= ~CellBit(i);
            }
        }
    }
    for (size_t k = 0; k < copies.size(); k += 2)
        ::BitBlt(memDc, copies[k + 1] * w, 0, w, h, memDc, copies[k] * w, 0, SRCCOPY);
    control.SetUnrenderedCells(unrendered);
}

// DrawStateCells, rendering either only the cell shown (the others when
// they are first shown) or every cell at once.
void DrawCells(MControl& control, HDC& target, HDC& memDc, int cellCount, int shownCell, const CellRenderer& render,
               const CellLookKey& lookKey, bool everyCell)
{
    const CRect rect = control.GetRect();
    if (rect.Width() <= 0 || rect.Height() <= 0 || cellCount <= 0)
        return;
    cellCount = std::min(cellCount, kMaxCells);
    const int shown = std::min(std::max(shownCell, 0), cellCount - 1);
    const std::uint32_t all = cellCount == kMaxCells ? ~std::uint32_t{0} : CellBit(cellCount) - 1;
    if (!control.GetUpdate() || !memDc)
    {
        // Every background first, as the window is now: a cell rendered
        // later stands on what lay under the control when the cache went
        // stale, as it would have had it been rendered at once.
        if (!PrepareStateCells(control, target, memDc, cellCount))
            return;
        control.SetUnrenderedCells(all);
    }
    RenderCells(control, memDc, cellCount, everyCell ? all : CellBit(shown), render, lookKey);
    ShowStateCell(control, target, memDc, cellCount, shown);
}

} // namespace

void DrawStateCells(MControl& control, HDC& target, HDC& memDc, int cellCount, int shownCell,
                    const CellRenderer& render, const CellLookKey& lookKey)
{
    // Most cells (hover, pressed, disabled) are seen late or never: a
    // window's first paint renders only the looks it shows.
    DrawCells(control, target, memDc, cellCount, shownCell, render, lookKey, false);
}

void DrawCachedLook(MControl& control, HDC& target, HDC& memDc, const CellRenderer& render, LookAhead* lookAhead)
{
    if (lookAhead && lookAhead->Pending() && (!control.GetUpdate() || !memDc) && lookAhead->Deliver(control, target))
    {
        ShowStateCell(control, target, memDc, 1, 0);
        return;
    }
    DrawStateCells(control, target, memDc, 1, 0, render);
}

void LookAhead::Start(int width, int height, UnderRow under, CellRenderer render)
{
    Discard();
    if (width <= 0 || height <= 0 || !under || !render)
        return;
    m_width = width;
    m_height = height;
    m_under = std::move(under);
    m_render = std::move(render);
    m_thread = std::thread([this] { Render(); });
}

namespace {

// True when dc holds a 32-bit DIB section, described then by section.
bool DibPixels(HDC dc, DIBSECTION& section)
{
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    return bitmap && ::GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) &&
           section.dsBm.bmBitsPixel == 32 && section.dsBm.bmBits;
}

// Row y (from the top) of a 32-bit DIB section at column x.
std::uint32_t* DibRow(const DIBSECTION& section, int y, int x)
{
    const int row = section.dsBmih.biHeight > 0 ? section.dsBm.bmHeight - 1 - y : y;
    return reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(section.dsBm.bmBits) +
                                            static_cast<size_t>(row) * section.dsBm.bmWidthBytes) +
           x;
}

} // namespace

void LookAhead::Render()
{
    // The kind of memory bitmap a paint makes for the cell, one compatible
    // with the 32-bit back buffer: a bottom-up 32-bit DIB section, whose
    // pixels are written in place. It is made and given what lies under the
    // control before the thread asks for a DC: a process's first DC waits
    // for the display driver, which the window's thread is loading then.
    HBITMAP bitmap = MRender::CreateARGB32Bitmap(nullptr, m_width, m_height, nullptr);
    DIBSECTION section = {};
    bool rendered = false;
    if (bitmap && ::GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) &&
        section.dsBm.bmBitsPixel == 32 && section.dsBm.bmBits)
    {
        for (int y = 0; y < m_height; ++y)
            m_under(y, DibRow(section, y, 0));
        HDC dc = ::CreateCompatibleDC(nullptr);
        if (dc)
        {
            HGDIOBJ old = ::SelectObject(dc, bitmap);
            {
                Gdiplus::Graphics graphics(dc);
                m_render(StateCell{graphics, dc, 0, 0, m_width, m_height});
            }
            ::GdiFlush();
            rendered = true;
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
        }
    }
    if (!rendered && bitmap)
    {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    m_bitmap = bitmap;
}

bool LookAhead::TargetHoldsUnder(HDC target, const CRect& rect) const
{
    // Only a back buffer whose pixels can be read in place is compared: a
    // copy of a window-sized area would cost what the look-ahead saves.
    DIBSECTION section = {};
    if (!DibPixels(target, section))
        return false;
    if (rect.left < 0 || rect.top < 0 || rect.right > section.dsBm.bmWidth || rect.bottom > section.dsBm.bmHeight)
        return false;
    ::GdiFlush();
    std::vector<std::uint32_t> expected(static_cast<size_t>(m_width));
    const size_t rowBytes = expected.size() * sizeof(std::uint32_t);
    for (int y = 0; y < m_height; ++y)
    {
        m_under(y, expected.data());
        if (std::memcmp(DibRow(section, rect.top + y, rect.left), expected.data(), rowBytes) != 0)
            return false;
    }
    return true;
}

bool LookAhead::Deliver(MControl& control, HDC& target)
{
    if (!Pending())
        return false;
    m_thread.join();
    const CRect rect = control.GetRect();
    const bool fits = m_bitmap && rect.Width() == m_width && rect.Height() == m_height;
    const bool delivered = fits && TargetHoldsUnder(target, rect);
    if (delivered)
        control.AdoptMemBitmap(target, m_bitmap, m_width, m_height);
    else if (m_bitmap)
        ::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_under = nullptr;
    m_render = nullptr;
    return delivered;
}

void LookAhead::Discard()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_under = nullptr;
    m_render = nullptr;
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
        // Kept cells are shown again as they are: all of them are rendered.
        DrawCells(control, target, memDc, cellCount, shownCell, render, lookKey, true);
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
    // A 32-bit image that is all one frame would be copied as it is: it is
    // drawn itself, which spares a large picture's first paint a copy as
    // costly as the drawing.
    if (sx == 0 && sy == 0 && static_cast<int>(image->GetWidth()) == sw && static_cast<int>(image->GetHeight()) == sh &&
        image->GetType() == Gdiplus::ImageTypeBitmap && image->GetPixelFormat() == PixelFormat32bppARGB)
    {
        graphics.DrawImage(image, dst, 0, 0, sw, sh, Gdiplus::UnitPixel);
        return;
    }
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
