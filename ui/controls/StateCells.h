#pragma once

// How the button-like controls of the library paint. A control renders each
// look it can show once, as cells of its own size side by side in its memory
// bitmap, and afterwards only copies the cell of its current state to the
// window. Each cell starts as a copy of what lies under the control, so that
// transparent parts of a skin show the window behind; all cells take that
// copy together, and each is rendered when it is first shown. The cells are
// rendered again only after the control's cache was marked stale (a repaint
// request with redraw 1, or something painted over it changed).
//
// A control with a single look caches it the same way, as one cell.
//
// Also here: the small text helpers the controls share (their GDI+ font and
// string formats). None of this is exported.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/KeptCells.h"

namespace VREL {

class MControl;
class MControlFont;

// One cell being rendered into a control's memory bitmap.
struct StateCell
{
    Gdiplus::Graphics& graphics;
    HDC dc;
    int index;
    // Left edge of the cell in the memory bitmap; cells are all at top 0.
    int left;
    int width;
    int height;

    // The cell's own rectangle offset by (x, y), with the given size.
    Gdiplus::RectF Box(float x, float y, float w, float h) const
    {
        return Gdiplus::RectF(static_cast<float>(left) + x, y, w, h);
    }
};

using CellRenderer = std::function<void(const StateCell&)>;

// What a cell's look depends on besides the background and what every cell
// shares (the control's title, font and size): its text colour, its shift,
// its strip frame. Cells whose keys are equal look the same.
using CellLookKey = std::function<std::uint64_t(int index)>;

// Copies cell shownCell (kept within the cells) to the control's place on
// target, rendering it with render first when it is not yet. When the
// control's cache is stale, every one of cellCount cells (at most 32) takes
// what lies under the control now, and each is rendered when it is first
// shown. memDc is the control's own memory DC member: rendering may make it
// anew. With lookKey, a cell whose key equals an earlier cell's is a copy
// of that cell instead of being rendered again: text and anti-aliased
// shapes cost far more than the copy.
void DrawStateCells(MControl& control, HDC& target, HDC& memDc, int cellCount, int shownCell,
                    const CellRenderer& render, const CellLookKey& lookKey = nullptr);

// DrawStateCells for a control that keeps its cells between renders
// (KeptCells.h): stale cells rendered from the same inputs over the same
// pixels are shown as they are instead of being rendered again. Its cells
// are all rendered at once.
void DrawKeptStateCells(MControl& control, HDC& target, HDC& memDc, KeptCells& kept, LookInputs inputs,
                        int cellCount, int shownCell, const CellRenderer& render,
                        const CellLookKey& lookKey = nullptr);

// A cell look key of a colour, a shift in pixels and a strip frame (-1 for
// none).
inline std::uint64_t CellLook(Gdiplus::ARGB colour, int shift = 0, int frame = -1)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint16_t>(frame)) << 40) |
           (static_cast<std::uint64_t>(static_cast<std::uint8_t>(shift)) << 32) | colour;
}

// The two halves of DrawStateCells for a control that renders its stale
// cells itself (the edit fields, whose GDI text must not wait behind GDI+
// drawing held back on the same DC): makes the memory bitmap for cellCount
// cells of the control's size and copies what lies under the control into
// each; false when there is no memory DC.
bool PrepareStateCells(MControl& control, HDC& target, HDC& memDc, int cellCount);
// Copies cell shownCell (kept within the cells) to the control's place on
// target.
void ShowStateCell(MControl& control, HDC& target, HDC memDc, int cellCount, int shownCell);

// A single look rendered on a thread of its own before the control's first
// paint: a window-sized stretched picture costs the first paint of a window
// more than everything else on it, and the window has other work to do
// before that paint. The thread renders onto what the paint is expected to
// find under the control (transparent and blended edges show it); the paint
// takes the result only when it found exactly that, so the look is always
// the one the paint would have rendered itself.
class LookAhead
{
public:
    LookAhead() = default;
    ~LookAhead() { Discard(); }
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;

    // What the paint is expected to find under the control, a row at a
    // time: fills row y (from the control's top) of width ARGB values. Made
    // when needed rather than kept: a window-sized copy is memory the
    // window's thread would wait for.
    using UnderRow = std::function<void(int y, std::uint32_t* row)>;

    // Starts rendering a width x height look onto what under gives. What
    // under and render read must stay untouched until the look-ahead is
    // delivered or discarded.
    void Start(int width, int height, UnderRow under, CellRenderer render);
    bool Pending() const { return m_thread.joinable(); }
    // Waits for the render. When target holds the expected pixels under the
    // control, the rendered bitmap becomes the control's cached look and the
    // result is true. Either way the look-ahead is spent.
    bool Deliver(MControl& control, HDC& target);
    // Waits for the render and drops it.
    void Discard();

private:
    void Render();
    bool TargetHoldsUnder(HDC target, const CRect& rect) const;

    std::thread m_thread;
    int m_width = 0;
    int m_height = 0;
    UnderRow m_under;
    CellRenderer m_render;
    HBITMAP m_bitmap = nullptr;  // the rendered look; null until then, or when rendering failed
};

// The same for a control with a single look: one cell, always the one shown.
// A pending look-ahead is delivered or spent when the cache is stale.
void DrawCachedLook(MControl& control, HDC& target, HDC& memDc, const CellRenderer& render,
                    LookAhead* lookAhead = nullptr);

inline void DrawKeptLook(MControl& control, HDC& target, HDC& memDc, KeptCells& kept, LookInputs inputs,
                         const CellRenderer& render)
{
    DrawKeptStateCells(control, target, memDc, kept, std::move(inputs), 1, 0, render);
}

// A frame count a caller passed in: strips have at least one frame.
inline int ValidFrameCount(int count) { return count < 1 ? 1 : count; }

// GDI+ string format flags the controls use: one line, trailing spaces
// measured (0x1800); or wrapping text that may overflow its box (0x4800).
constexpr INT kSingleLineFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr INT kWrappingFlags = Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

// Grey of disabled text.
constexpr Gdiplus::ARGB kDisabledTextArgb = 0xFF808080;

std::unique_ptr<Gdiplus::StringFormat> MakeStringFormat(Gdiplus::StringAlignment horizontal,
                                                        Gdiplus::StringAlignment vertical, INT flags);

// Horizontal alignment of a control font (0 left, 1 centre, 2 right) as a
// string alignment; vertical (0 top, 4 centre, 8 bottom) likewise. Other
// values give near.
Gdiplus::StringAlignment HorizontalAlignment(UINT align);
Gdiplus::StringAlignment VerticalAlignment(UINT align);

// The GDI+ font a control draws its text with: the family of its font name
// from the window's font cache, or the system's family of that name when the
// control has no window yet, at the given pixel size and style.
class ControlFont
{
public:
    ControlFont(MControlFont& control, int size, Gdiplus::FontStyle style);
    ~ControlFont();

    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;

    const Gdiplus::Font& Get() const { return *m_font; }

private:
    std::unique_ptr<Gdiplus::FontFamily> m_ownFamily;
    std::unique_ptr<Gdiplus::Font> m_font;
};

// The control's text font for its cells at the control's font size and
// style, made when the first cell draws text (which also makes text
// backgrounds transparent on the memory DC) and kept for the cells after it.
class CellFont
{
public:
    explicit CellFont(MControlFont& control) : m_control(control) {}

    const Gdiplus::Font& Get(const StateCell& cell);

private:
    MControlFont& m_control;
    std::unique_ptr<ControlFont> m_font;
};

// Draws text in colour into box with format.
void DrawText(Gdiplus::Graphics& graphics, const CString& text, const Gdiplus::Font& font,
              const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, Gdiplus::Color colour);

// Draws one frame of a strip (the source rectangle) scaled into dst without
// bleeding in pixels of the neighbouring frames.
void DrawStripFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& dst, int sx, int sy,
                    int sw, int sh);

// The title centred over the whole cell in one line: grey in the disabled
// cell (3), one pixel right and down in the pressed cell (2), else in colour.
void DrawCellTitle(const StateCell& cell, const CString& title, const Gdiplus::Font& font,
                   Gdiplus::TextRenderingHint hint, Gdiplus::Color colour);

// The look key of a cell drawn with DrawCellTitle (titled) over the cell's
// own strip frame (framed) or over no strip.
inline std::uint64_t CellTitleLook(int index, bool titled, Gdiplus::Color colour, bool framed)
{
    constexpr int kPressedCell = 2, kDisabledCell = 3;
    const Gdiplus::ARGB drawn = !titled ? 0 : index == kDisabledCell ? kDisabledTextArgb : colour.GetValue();
    return CellLook(drawn, index == kPressedCell, framed ? index : -1);
}

// The rounded bar of the progress bar and of the bar slider: inset by the
// same margin on every side of its control, with round corners.
constexpr int kInsetBarMargin = 3;
// The bar's full length in a control width pixels wide.
inline int InsetBarLength(int width) { return width - 2 * kInsetBarMargin; }
// Fills the bar from its left end, length pixels long, in a control height
// pixels high.
void FillInsetBar(Gdiplus::Graphics& graphics, float length, int height, Gdiplus::Color colour);

// GDI+ colour of a COLORREF (0x00BBGGRR) at the given alpha.
inline Gdiplus::Color ColorFromRef(COLORREF colour, BYTE alpha)
{
    return Gdiplus::Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace VREL
