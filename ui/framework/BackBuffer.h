#pragma once

// The picture a window paints into before it reaches the screen, kept from
// one paint to the next. A paint draws only its update area into it and
// shows only that area, so what lies outside is never seen. Internal to
// vrel.

#include <cstdint>
#include <memory>
#include <thread>

#include "ui/framework/LayeredCanvas.h"

namespace VREL {

class BackBuffer
{
public:
    BackBuffer() = default;
    ~BackBuffer() { Release(); }

    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // The buffer for a client area of width x height, made anew when the size
    // changed; null when it cannot be made.
    LayeredCanvas* For(int width, int height);
    // Makes the buffer for the size now, and writes argb into all of it on a
    // thread of its own: fresh memory costs its first write, which for a
    // window-sized buffer is a noticeable part of the first paint, while
    // the window has other work to do before that paint.
    void PrepareAhead(int width, int height, std::uint32_t argb);
    void Release();

private:
    void WaitPrepared();

    std::unique_ptr<LayeredCanvas> m_canvas;
    std::thread m_preparing;
};

} // namespace VREL
