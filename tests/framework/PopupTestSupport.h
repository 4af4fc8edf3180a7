#pragma once

// Helpers of the popup tests: a plain top-level window that records the
// messages posted to it, and a top-down 32-bit surface that GDI+ and GDI can
// both draw on; with the shared message pump.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/support/WindowInput.h"
#include "ui/framework/Geometry.h"

namespace PopupTest {

struct Posted
{
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A visible top-level window that keeps every message at or above WM_USER.
class RecorderWindow
{
public:
    explicit RecorderWindow(CRect rect = CRect(600, 500, 700, 560))
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PopupTestRecorder";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                                   rect.Width(), rect.Height(), nullptr, nullptr, wc.hInstance, this);
    }
    ~RecorderWindow()
    {
        if (::IsWindow(m_hwnd))
            ::DestroyWindow(m_hwnd);
    }
    RecorderWindow(const RecorderWindow&) = delete;
    RecorderWindow& operator=(const RecorderWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    const std::vector<Posted>& Messages() const { return m_messages; }
    std::vector<Posted> MessagesOf(UINT msg) const
    {
        std::vector<Posted> found;
        for (const Posted& p : m_messages)
        {
            if (p.msg == msg)
                found.push_back(p);
        }
        return found;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
        {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecorderWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg >= WM_USER && msg < 0xC000)
            self->m_messages.push_back(Posted{msg, wParam, lParam});
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    HWND m_hwnd = nullptr;
    std::vector<Posted> m_messages;
};

using testsupport::Pack;
using testsupport::Pump;

inline CRect WindowRect(HWND hwnd)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    return CRect(r);
}

// A top-down premultiplied ARGB surface, cleared to transparent.
class Surface
{
public:
    Surface(int width, int height)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, 0),
          m_bitmap(std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                     reinterpret_cast<BYTE*>(m_pixels.data()))),
          m_graphics(std::make_unique<Gdiplus::Graphics>(m_bitmap.get()))
    {
    }
    Gdiplus::Graphics& Graphics() { return *m_graphics; }
    // 0xAARRGGBB, premultiplied.
    uint32_t At(int x, int y)
    {
        m_graphics->Flush(Gdiplus::FlushIntentionSync);
        return m_pixels[static_cast<size_t>(y) * m_width + x];
    }

private:
    int m_width;
    int m_height;
    std::vector<uint32_t> m_pixels;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

} // namespace PopupTest
