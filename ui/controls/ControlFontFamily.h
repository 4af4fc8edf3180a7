#pragma once

// The GDI+ font family a control draws its text with: the one its paint
// manager's font cache gives, or, for a control not bound to a window yet
// (or a family the cache does not know), one made on the spot so that the
// text is still drawn. Lives for one rendering.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/MControlFont.h"
#include "ui/framework/Render.h"

namespace VREL {

class ControlFontFamily
{
public:
    ControlFontFamily(MControlFont& control, const wchar_t* name) : m_family(control.GetFontFamily(name))
    {
        if (!m_family)
        {
            m_own.reset(MRender::CreateFontFamily(name));
            m_family = m_own.get();
        }
    }

    ControlFontFamily(const ControlFontFamily&) = delete;
    ControlFontFamily& operator=(const ControlFontFamily&) = delete;

    const Gdiplus::FontFamily* Get() const { return m_family; }

private:
    std::unique_ptr<Gdiplus::FontFamily> m_own;
    Gdiplus::FontFamily* m_family;
};

} // namespace VREL
