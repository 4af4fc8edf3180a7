#pragma once

// The small ring thumb of the colour field and the colour wheel: a white
// ring with a grey shadow one pixel right and down. Not exported.

#include <windows.h>
#include <gdiplus.h>

namespace VREL {

constexpr int kRingThumbSize = 8;

// The ring's bounding square has its top-left corner at (x, y).
inline void DrawRingThumb(Gdiplus::Graphics& graphics, int x, int y)
{
    constexpr Gdiplus::ARGB kRingColour = 0xFEFFFFFF;
    constexpr Gdiplus::ARGB kRingShadow = 0xFE808080;
    Gdiplus::Pen ring{Gdiplus::Color(kRingColour), 1.0f};
    graphics.DrawEllipse(&ring, x, y, kRingThumbSize, kRingThumbSize);
    Gdiplus::Pen shadow{Gdiplus::Color(kRingShadow), 1.0f};
    graphics.DrawEllipse(&shadow, x + 1, y + 1, kRingThumbSize, kRingThumbSize);
}

} // namespace VREL
