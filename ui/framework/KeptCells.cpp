#include "ui/framework/KeptCells.h"

#include <utility>

#include "ui/framework/MControl.h"

namespace VREL {

LookInputs& LookInputs::Add(const CString& text)
{
    const int length = text.GetLength();
    Add(static_cast<std::uint64_t>(length));
    const wchar_t* chars = text.GetString();
    for (int i = 0; i < length; ++i)
        Add(static_cast<std::uint64_t>(chars[i]));
    return *this;
}

BackgroundReader::~BackgroundReader() { Free(); }

void BackgroundReader::Free()
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

bool BackgroundReader::Read(HDC target, const CRect& rect, std::vector<std::uint32_t>& pixels)
{
    const CSize size(rect.Width(), rect.Height());
    if (!target || size.cx <= 0 || size.cy <= 0)
        return false;
    if (!m_dc || size != m_size)
    {
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
    }
    if (!::BitBlt(m_dc, 0, 0, size.cx, size.cy, target, rect.left, rect.top, SRCCOPY))
        return false;
    ::GdiFlush();
    pixels.assign(m_bits, m_bits + static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    return true;
}

bool KeptCells::Holds(const MControl& control, HDC target, HDC memDc, int cellCount, LookInputs inputs)
{
    const CRect rect = control.GetRect();
    const CSize size(rect.Width(), rect.Height());
    m_read = m_reader.Read(target, rect, m_now);
    const bool same = m_read && m_valid && memDc && memDc == m_memDc && size == m_size &&
                      cellCount == m_cellCount && inputs == m_inputs && m_now == m_background;
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
    m_inputs = std::move(m_pending);
    m_size = m_pendingSize;
    m_cellCount = m_pendingCells;
    m_memDc = memDc;
}

} // namespace VREL
