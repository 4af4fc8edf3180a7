#pragma once

// What the peripheral widget tests share: controls bound to a paint manager
// without a window (images load through its cache, drag pictures render),
// reporting to an owner that records reports and repaint requests and marks
// a sender's cache stale as a window's manager does; and drawing them onto a
// canvas of one colour.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/MControl.h"
#include "ui/framework/PaintManager.h"

namespace peripheraltest {

using testsupport::ManagerLikeOwner;
using testsupport::Report;

constexpr uint32_t kWindowArgb = 0xFF101820;
constexpr uint32_t kWindowRgb = kWindowArgb & 0xFFFFFF;

class Bench
{
public:
    // A control of type T bound to the bench's manager; the bench owns it.
    template <class T, class... Args>
    T* Add(Args&&... args)
    {
        auto control = std::make_unique<T>(&owner, std::forward<Args>(args)...);
        T* raw = control.get();
        raw->SetManager(&manager);
        m_controls.push_back(std::move(control));
        return raw;
    }

    // Draws one control onto a canvas of the window colour as large as the
    // control's right and bottom edges.
    static void DrawOn(VREL::MControl& control, DibCanvas& canvas)
    {
        control.Draw(canvas.Dc(), CRect(0, 0, canvas.Width(), canvas.Height()));
    }

    VREL::PaintManager manager;
    ManagerLikeOwner owner;

private:
    std::vector<std::unique_ptr<VREL::MControl>> m_controls;
};

} // namespace peripheraltest
