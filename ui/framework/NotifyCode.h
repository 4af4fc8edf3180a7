#pragma once

// The code argument of OnBaseMessage and OnMessage: one numbering for the
// whole library. wParam and lParam are 0 unless the sender says otherwise.

namespace VREL {

enum enumNotifyCode
{
    NC_PRESSED = 1,         // left button went down on the control
    NC_CLICKED = 2,         // click completed, item or value chosen
    NC_DBLCLK = 3,          // double click
    NC_RCLICK = 5,          // right button released on the control
    NC_CHECK_CHANGED = 7,   // check state changed by key
    NC_SCROLL = 8,          // position changing while moving
    NC_ICON_OR_TAB = 9,     // tab or item icon pressed
    NC_POPUP_CLOSED = 22,   // a drop-down window closed
    NC_RUBBER_BAND = 24,    // rubber-band selection ended
    NC_TEXT_CHANGED = 26,   // edit text changed
    NC_COLOR = 27,          // colour changing or chosen
    NC_SPIN = 28,           // spin value changed
    NC_EDIT_END = 29,       // in-place edit ended
    NC_EDIT_BEGIN = 30,     // in-place edit started
    NC_ICON_CLICK = 31,     // edit icon clicked
    NC_IMAGE_SAVED = 32,    // image saved
};

} // namespace VREL
