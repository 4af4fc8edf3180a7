#include "ui/framework/KeptCells.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "ui/framework/CriticalSection.h"
#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/MControl.h"

namespace VREL {

namespace {

// The pixels under a control, read through a 32-bit DIB section. One for
// every control of the process: a bitmap per control would add two GDI
// objects to each control of a window, and GDI objects are few.
class BackgroundReader
{
public:
    // Reads rect of target; false when it cannot be read. same tells whether
    // the pixels equal kept; when they do not, they are copied into fresh.
    bool Read(HDC target, const CRect& rect, const std::vector<std::uint32_t>& kept, bool& same,
              std::vector<std::uint32_t>& fresh)
    {
        const int w = rect.Width();
        const int h = rect.Height();
        if (!target || w <= 0 || h <= 0)
            return false;
        ScopedLock hold(m_lock);
        if (!Reserve(w, h) || !::BitBlt(m_canvas->Dc(), 0, 0, w, h, target, rect.left, rect.top, SRCCOPY))
            return false;
        ::GdiFlush();
        const size_t row = static_cast<size_t>(w);
        same = kept.size() == row * static_cast<size_t>(h);
        for (int y = 0; y < h && same; ++y)
            same = std::memcmp(Row(y), kept.data() + row * y, row * sizeof(std::uint32_t)) == 0;
        if (same)
            return true;
        fresh.resize(row * static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            std::memcpy(fresh.data() + row * y, Row(y), row * sizeof(std::uint32_t));
        return true;
    }

private:
    // Row y from the top: the canvas keeps its rows bottom-up.
    const std::uint32_t* Row(int y) const
    {
        return m_canvas->Pixels() + static_cast<size_t>(m_canvas->Height() - 1 - y) * m_canvas->Width();
    }

    // A canvas of at least w x h; it only grows.
    bool Reserve(int w, int h)
    {
        if (m_canvas && w <= m_canvas->Width() && h <= m_canvas->Height())
            return true;
        const int width = std::max(w, m_canvas ? m_canvas->Width() : 0);
        const int height = std::max(h, m_canvas ? m_canvas->Height() : 0);
        m_canvas = std::make_unique<LayeredCanvas>(width, height);
        if (!m_canvas->IsValid())
            m_canvas.reset();
        return m_canvas != nullptr;
    }

    CriticalSection m_lock;
    std::unique_ptr<LayeredCanvas> m_canvas;
};

BackgroundReader& Reader()
{
    static BackgroundReader reader;
    return reader;
}

} // namespace

LookInputs& LookInputs::Add(const CString& text)
{
    const int length = text.GetLength();
    Add(length);
    const wchar_t* chars = text.GetString();
    for (int i = 0; i < length; ++i)
        Add(chars[i]);
    return *this;
}

bool KeptCells::Holds(const MControl& control, HDC target, HDC memDc, int cellCount, LookInputs inputs)
{
    const CRect rect = control.GetRect();
    const CSize size(rect.Width(), rect.Height());
    bool sameBackground = false;
    m_now.clear();
    m_read = Reader().Read(target, rect, m_background, sameBackground, m_now);
    const bool same = m_read && sameBackground && m_valid && memDc && memDc == m_memDc && size == m_size &&
                      cellCount == m_cellCount && inputs == m_inputs;
    // Cells rendered again over the same pixels keep them.
    if (!same && m_read && sameBackground)
        m_now = m_background;
    m_pending = std::move(inputs);
    m_pendingSize = size;
    m_pendingCells = cellCount;
    return same;
}

bool KeptCells::Restore(MControl& control, HDC& target, HDC memDc, int cellCount, LookInputs inputs)
{
    if (!Holds(control, target, memDc, cellCount, std::move(inputs)))
        return false;
    // Marks the cells current; their bitmap already has this size.
    const CRect rect = control.GetRect();
    control.UpdateMemDC(target, cellCount * rect.Width(), rect.Height());
    return true;
}

void KeptCells::Rendered(HDC memDc)
{
    // A background that could not be read is never matched again.
    m_valid = m_read && memDc != nullptr;
    m_background.swap(m_now);
    // Only the background the cells stand on is kept.
    std::vector<std::uint32_t>().swap(m_now);
    m_inputs = std::move(m_pending);
    m_size = m_pendingSize;
    m_cellCount = m_pendingCells;
    m_memDc = memDc;
}

} // namespace VREL
