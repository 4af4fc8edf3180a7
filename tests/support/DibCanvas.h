#pragma once

// A 32-bit top-left addressed canvas for painting tests: a DIB section
// selected into a memory DC, with direct access to its pixels; and the
// colour helpers that read it.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>

#include "ui/framework/Render.h"

class DibCanvas
{
public:
    DibCanvas(int width, int height, uint32_t argb = 0)
        : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr))
    {
        m_bitmap = VREL::MRender::CreateARGB32Bitmap(m_dc, width, height, &m_bits);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(argb);
    }
    ~DibCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC& Dc() { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(uint32_t argb)
    {
        GdiFlush();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Raw(x, y) = argb;
    }
    void Set(int x, int y, uint32_t argb)
    {
        GdiFlush();
        Raw(x, y) = argb;
    }
    // 0xAARRGGBB.
    uint32_t Pixel(int x, int y)
    {
        GdiFlush();
        return Raw(x, y);
    }
    uint32_t Rgb(int x, int y) { return Pixel(x, y) & 0xFFFFFF; }

private:
    // The DIB is bottom-up: row 0 of the memory is the bottom line.
    uint32_t& Raw(int x, int y)
    {
        return reinterpret_cast<uint32_t*>(m_bits)[(m_height - 1 - y) * m_width + x];
    }

    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    BYTE* m_bits = nullptr;
};

// 0x00RRGGBB of a COLORREF or a GDI+ colour, as the canvas reports pixels.
inline uint32_t RgbOf(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | static_cast<uint32_t>(GetGValue(colour)) << 8 |
           GetBValue(colour);
}

inline uint32_t RgbOf(const Gdiplus::Color& colour) { return colour.GetValue() & 0xFFFFFF; }

// Channel-wise closeness of two 0x..RRGGBB colours.
inline bool NearColor(uint32_t a, uint32_t b, int tolerance = 2)
{
    for (int shift = 0; shift <= 16; shift += 8)
    {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}
