#pragma once

// The look a control with several states shows: frame k of its image strip,
// or cell k of its pre-rendered cells.

#include <windows.h>
#include <gdiplus.h>

namespace VREL {

typedef int BUTTON_STATE;

enum ButtonStateValue : int
{
    BUTTON_STATE_NORMAL = 0,
    BUTTON_STATE_HOVER = 1,
    BUTTON_STATE_PRESSED = 2,
    BUTTON_STATE_DISABLED = 3,
    BUTTON_STATE_CHECKED = 4,
    BUTTON_STATE_CHECKED_HOVER = 5,
    BUTTON_STATE_CHECKED_PRESSED = 6,
    BUTTON_STATE_CHECKED_DISABLED = 7,
};

// The title colours of a button whose title shows its look: the control's
// own text colour at rest, then these.
struct LookTextColours
{
    Gdiplus::Color hover;
    Gdiplus::Color down;
    Gdiplus::Color disabled;

    // The colour of look 0 to 3 (normal, hover, pressed, disabled).
    Gdiplus::Color Of(BUTTON_STATE look, Gdiplus::Color normal) const
    {
        switch (look)
        {
        case BUTTON_STATE_HOVER:
            return hover;
        case BUTTON_STATE_PRESSED:
            return down;
        case BUTTON_STATE_DISABLED:
            return disabled;
        default:
            return normal;
        }
    }
};

} // namespace VREL
