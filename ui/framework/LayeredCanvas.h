#pragma once

// A 32-bit premultiplied ARGB picture for a layered window: a bottom-up DIB
// section selected into a memory DC, a GDI+ surface over the same pixels
// (so drawing keeps per-pixel alpha), and the hand-over to the window with
// UpdateLayeredWindow. Internal to vrel.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>

namespace VREL {

class LayeredCanvas
{
public:
    // Nothing is allocated for a width or height below 1.
    LayeredCanvas(int width, int height);
    ~LayeredCanvas();

    LayeredCanvas(const LayeredCanvas&) = delete;
    LayeredCanvas& operator=(const LayeredCanvas&) = delete;

    bool IsValid() const { return m_bits != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HDC Dc() const { return m_dc; }
    // Bottom-up rows: memory row 0 is the bottom line.
    uint32_t* Pixels() const { return m_bits; }
    // A GDI+ surface over the pixels; null when the canvas is not valid.
    Gdiplus::Graphics* Graphics();
    // UpdateLayeredWindow with per-pixel alpha; pos null keeps the window
    // where it is.
    BOOL Present(HWND window, const POINT* pos);

    // A GDI+ bitmap sharing the pixels of a bottom-up 32-bit DIB.
    static std::unique_ptr<Gdiplus::Bitmap> WrapBottomUp(void* bits, int width, int height);

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
    uint32_t* m_bits;
    std::unique_ptr<Gdiplus::Bitmap> m_surface;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

} // namespace VREL
