#pragma once

// The look a control with several states shows: frame k of its image strip,
// or cell k of its pre-rendered cells.

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

} // namespace VREL
