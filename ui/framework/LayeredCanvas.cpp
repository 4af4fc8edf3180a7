#include "ui/framework/LayeredCanvas.h"

namespace VREL {

LayeredCanvas::LayeredCanvas(int width, int height)
    : m_width(width), m_height(height), m_dc(nullptr), m_bitmap(nullptr), m_oldBitmap(nullptr), m_bits(nullptr)
{
    if (width < 1 || height < 1)
        return;
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!m_dc)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap || !bits)
        return;
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<uint32_t*>(bits);
}

LayeredCanvas::~LayeredCanvas()
{
    m_graphics.reset();
    m_surface.reset();
    if (m_dc && m_oldBitmap)
        ::SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    if (m_dc)
        ::DeleteDC(m_dc);
}

std::unique_ptr<Gdiplus::Bitmap> LayeredCanvas::WrapBottomUp(void* bits, int width, int height)
{
    if (!bits || width < 1 || height < 1)
        return nullptr;
    const INT stride = width * 4;
    BYTE* top = static_cast<BYTE*>(bits) + static_cast<size_t>(height - 1) * stride;
    return std::make_unique<Gdiplus::Bitmap>(width, height, -stride, PixelFormat32bppPARGB, top);
}

Gdiplus::Graphics* LayeredCanvas::Graphics()
{
    if (!IsValid())
        return nullptr;
    if (!m_graphics)
    {
        m_surface = WrapBottomUp(m_bits, m_width, m_height);
        if (!m_surface)
            return nullptr;
        m_graphics = std::make_unique<Gdiplus::Graphics>(m_surface.get());
    }
    return m_graphics.get();
}

BOOL LayeredCanvas::Present(HWND window, const POINT* pos)
{
    if (!IsValid() || !window)
        return FALSE;
    if (m_graphics)
        m_graphics->Flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
    SIZE size = {m_width, m_height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    POINT where = pos ? *pos : POINT{0, 0};
    return ::UpdateLayeredWindow(window, nullptr, pos ? &where : nullptr, &size, m_dc, &source, 0, &blend,
                                 ULW_ALPHA);
}

} // namespace VREL
