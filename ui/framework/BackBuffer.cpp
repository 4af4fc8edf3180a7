#include "ui/framework/BackBuffer.h"

#include <algorithm>

namespace VREL {

LayeredCanvas* BackBuffer::For(int width, int height)
{
    WaitPrepared();
    if (!m_canvas || m_canvas->Width() != width || m_canvas->Height() != height)
    {
        m_canvas = std::make_unique<LayeredCanvas>(width, height);
        if (!m_canvas->IsValid())
            m_canvas.reset();
    }
    return m_canvas.get();
}

void BackBuffer::PrepareAhead(int width, int height, std::uint32_t argb)
{
    LayeredCanvas* canvas = For(width, height);
    if (!canvas)
        return;
    std::uint32_t* pixels = canvas->Pixels();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    m_preparing = std::thread([pixels, count, argb] { std::fill(pixels, pixels + count, argb); });
}

void BackBuffer::Release()
{
    WaitPrepared();
    m_canvas.reset();
}

void BackBuffer::WaitPrepared()
{
    if (m_preparing.joinable())
        m_preparing.join();
}

} // namespace VREL
