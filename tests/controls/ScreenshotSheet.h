#pragma once

// A sheet for the screenshots: controls bound to a paint manager, drawn in
// the order they were added onto a canvas of the window colour, and written
// out as a PNG for people to look at. The screenshot program runs from its
// own folder of the build, beside a copy of the product skins, so that the
// library finds them where it looks for skins.

#include <windows.h>

#include <lodepng.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/MControl.h"
#include "ui/framework/PaintManager.h"

namespace screenshot {

constexpr uint32_t kWindowArgb = 0xFF1A1A1A;

inline CRect Box(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

class Sheet
{
public:
    Sheet(int width, int height) : m_canvas(width, height, kWindowArgb) {}

    // A control of type T with the next id, owned by the sheet.
    template <class T, class... Args>
    T* Add(Args&&... args)
    {
        auto control = std::make_unique<T>(&m_owner, static_cast<UINT>(m_controls.size() + 1),
                                           std::forward<Args>(args)...);
        T* raw = control.get();
        raw->SetManager(&m_manager);
        m_controls.push_back(std::move(control));
        return raw;
    }

    void Paint()
    {
        HDC dc = m_canvas.Dc();
        for (auto& control : m_controls)
            control->Draw(dc, CRect(0, 0, m_canvas.Width(), m_canvas.Height()));
    }

    // 0 when the file was written, else lodepng's error code.
    unsigned WritePng(const char* path)
    {
        const int width = m_canvas.Width();
        const int height = m_canvas.Height();
        std::vector<unsigned char> rgba;
        rgba.reserve(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const uint32_t p = m_canvas.Pixel(x, y);
                rgba.push_back(static_cast<unsigned char>(p >> 16));
                rgba.push_back(static_cast<unsigned char>(p >> 8));
                rgba.push_back(static_cast<unsigned char>(p));
                rgba.push_back(0xFF);
            }
        return lodepng::encode(path, rgba, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }

    DibCanvas& Canvas() { return m_canvas; }
    VREL::PaintManager& Manager() { return m_manager; }
    const std::vector<std::unique_ptr<VREL::MControl>>& Controls() const { return m_controls; }

private:
    VREL::PaintManager m_manager;
    // Marks a control stale on its redraw requests, as the manager of a window does.
    testsupport::ManagerLikeOwner m_owner;
    DibCanvas m_canvas;
    // Destroyed before the manager they are bound to.
    std::vector<std::unique_ptr<VREL::MControl>> m_controls;
};

} // namespace screenshot
