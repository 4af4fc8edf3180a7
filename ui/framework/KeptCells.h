#pragma once

// Cells a control keeps from one render to the next. A control asked for a
// new look renders its cells again; but when nothing its look is made of has
// changed since the last render (the values it draws from and the pixels
// under it), the new cells would equal the old ones pixel for pixel, and the
// old ones are shown instead. Asking for a new look is cheap to do often (a
// panel asks it of every child it covers); rendering with GDI+ is not (each
// call blends into the pixels it covers), so a panel redrawn over an
// unchanged window costs only the copies.
//
// The values are compared exactly, never through a hash: a stale look would
// be a wrong picture, not a slow one. Whoever renders from a value that is
// not among its inputs gets a stale look, so a control lists every member
// its renderer reads. Exported because the exported controls hold them.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <type_traits>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;

// Everything a control's cells are rendered from, besides the background
// under it and its size.
class VREL_API LookInputs
{
public:
    // A number, a flag or a member of an enumeration.
    template <class T, typename std::enable_if<std::is_integral<T>::value || std::is_enum<T>::value, int>::type = 0>
    LookInputs& Add(T value)
    {
        m_values.push_back(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
        return *this;
    }
    LookInputs& Add(const void* pointer) { return Add(reinterpret_cast<std::uintptr_t>(pointer)); }
    LookInputs& Add(Gdiplus::Color colour) { return Add(colour.GetValue()); }
    // The text's length and every character, so that no two texts look alike.
    LookInputs& Add(const CString& text);

    bool operator==(const LookInputs& other) const { return m_values == other.m_values; }
    bool operator!=(const LookInputs& other) const { return !(*this == other); }

private:
    std::vector<std::uint64_t> m_values;
};

class VREL_API KeptCells
{
public:
    // For a control whose cells are stale: when memDc (its memory DC) still
    // holds cellCount cells rendered from inputs over the pixels now under
    // the control on target, marks them current again and answers true.
    // Otherwise the caller renders them and then calls Rendered.
    bool Restore(MControl& control, HDC& target, HDC memDc, int cellCount, LookInputs inputs);
    // The cells were rendered into memDc from the inputs and over the
    // background that the last Restore saw.
    void Rendered(HDC memDc);

private:
    bool Holds(const MControl& control, HDC target, HDC memDc, int cellCount, LookInputs inputs);

    // The pixels the cells were rendered over, row by row.
    std::vector<std::uint32_t> m_background;
    // What the last Holds read, for the cells about to be rendered over it.
    std::vector<std::uint32_t> m_now;
    LookInputs m_inputs;
    LookInputs m_pending;
    CSize m_size;
    CSize m_pendingSize;
    int m_cellCount = 0;
    int m_pendingCells = 0;
    HDC m_memDc = nullptr;
    bool m_valid = false;
    bool m_read = false;
};

} // namespace VREL
