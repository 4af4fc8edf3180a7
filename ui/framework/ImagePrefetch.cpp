#include "ui/framework/ImagePrefetch.h"

#include <utility>

namespace VREL {

ImagePrefetch::ImagePrefetch(Decoder decode) : m_decode(std::move(decode)) {}

ImagePrefetch::~ImagePrefetch() { Drop(); }

void ImagePrefetch::Start(const std::vector<CString>& paths)
{
    Drop();
    if (paths.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = false;
        for (const CString& path : paths)
            m_slots.push_back(Slot{path});
    }
    m_thread = std::thread([this] { Run(); });
}

void ImagePrefetch::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (size_t i = 0; i < m_slots.size() && !m_stop; ++i)
    {
        // A load that came first decoded the file itself.
        if (m_slots[i].state != State::Queued)
            continue;
        m_slots[i].state = State::Decoding;
        const CString path = m_slots[i].path;
        lock.unlock();
        Gdiplus::Image* image = m_decode(path);
        lock.lock();
        m_slots[i].image = image;
        m_slots[i].state = State::Done;
        m_decoded.notify_all();
    }
}

Gdiplus::Image* ImagePrefetch::Take(const CString& path)
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (size_t i = 0; i < m_slots.size(); ++i)
    {
        if (m_slots[i].path != path || m_slots[i].state == State::Taken)
            continue;
        if (m_slots[i].state == State::Queued)
        {
            m_slots[i].state = State::Taken;
            return nullptr;
        }
        // A Drop while the file is decoded takes the slots away: the load
        // then decodes the file itself.
        const unsigned listing = m_listing;
        m_decoded.wait(lock, [&] { return m_listing != listing || m_slots[i].state == State::Done; });
        if (m_listing != listing)
            return nullptr;
        m_slots[i].state = State::Taken;
        return std::exchange(m_slots[i].image, nullptr);
    }
    return nullptr;
}

void ImagePrefetch::Drop()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> lock(m_lock);
    for (Slot& slot : m_slots)
        delete slot.image;
    m_slots.clear();
    ++m_listing;
    m_decoded.notify_all();
}

} // namespace VREL
