#pragma once

// Colours of the test theme that the build writes beside the test
// executables (scripts/make_skins.py, --theme test). Every frame k of a test
// strip is FrameFill(k) inside, EdgeColor(k) in a band of `margin` pixels
// along its edges, and the four corner colours in its margin x margin
// corners. Colours here are 0x00RRGGBB.

#include <windows.h>

#include <cstdint>

#include "ui/framework/Manager.h"

namespace TestTheme {

constexpr uint32_t kFrameFills[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                    0xFF00FF, 0x00FFFF, 0xFF8000, 0x8000FF};
constexpr uint32_t kTopLeft = 0xFFFFFF;
constexpr uint32_t kTopRight = 0xC0C0C0;
constexpr uint32_t kBottomLeft = 0x606060;
constexpr uint32_t kBottomRight = 0x202020;

inline uint32_t FrameFill(int frame)
{
    if (frame < 8)
        return kFrameFills[frame];
    return ((frame * 53) & 0xFF) << 16 | ((frame * 101) & 0xFF) << 8 | ((frame * 197) & 0xFF);
}
inline uint32_t EdgeColor(int frame) { return (FrameFill(frame) >> 1) & 0x7F7F7F; }

// Test-only strips: 4 frames of 12 x 10 with margin 2, and one 30 x 24 frame
// with margin 6.
constexpr wchar_t kStrip4[] = L"test_strip4.png";
constexpr int kStrip4Frames = 4, kStrip4Width = 12, kStrip4Height = 10, kStrip4Margin = 2;
constexpr wchar_t kGrid[] = L"test_grid.png";
constexpr int kGridWidth = 30, kGridHeight = 24, kGridMargin = 6;

inline CString Path(const wchar_t* name) { return GetSkinFolder() + name; }

} // namespace TestTheme
