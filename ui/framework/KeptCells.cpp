#include "ui/framework/KeptCells.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ui/framework/CriticalSection.h"
#include "ui/framework/MControl.h"

namespace VREL {

namespace {

// The pixels under a control, read through a 32-bit DIB section. One for
// every control of the process: a bitmap per control would add two GDI
// objects to each control of a window, and GDI objects are few.
class BackgroundReader
{
public:
    ~BackgroundReader() { Free(); }

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
        if (!Reserve(target, w, h) || !::BitBlt(m_dc, 0, 0, w, h, target, rect.left, rect.top, SRCCOPY))
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
    const std::uint32_t* Row(int y) const { return m_bits + static_cast<size_t>(y) * static_cast<size_t>(m_size.cx); }

    // A bitmap of at least w x h; it only grows.
    bool Reserve(HDC target, int w, int h)
    {
        if (m_dc && w <= m_size.cx && h <= m_size.cy)
            return true;
        const CSize size(std::max(w, static_cast<int>(m_size.cx)), std::max(h, static_cast<int>(m_size.cy)));
        Free();
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_dc = ::CreateCompatibleDC(target);
        m_bitmap = m_dc ? ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (!m_bitmap || !bits)
        {
            Free();
            return false;
        }
        m_old = ::SelectObject(m_dc, m_bitmap);
        m_bits = static_cast<std::uint32_t*>(bits);
        m_size = size;
        return true;
    }

    void Free()
    {
        if (m_dc && m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_old = nullptr;
        m_bits = nullptr;
        m_size = CSize();
    }

    CriticalSection m_lock;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
    CSize m_size;
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
