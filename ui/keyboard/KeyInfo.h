#pragma once

// One key of the keyboard picture. The field order and widths are part of
// the library's interface: Tarnwell reads the records through the pointer
// copies that the picture hands out.

#include <windows.h>

#include <cstdint>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"

namespace Gdiplus {
class Image;
}

namespace VREL {

// The rectangle and colour must keep the widths of the plain Win32 types.
static_assert(sizeof(CRect) == sizeof(RECT), "KEY_INFO's rectangle is a RECT");
static_assert(sizeof(COLORREF) == sizeof(uint32_t), "KEY_INFO's colour is 32 bits");

struct KEY_INFO {
    int32_t index = 0;        // place in the key list when the key was added
    int32_t keyCode = 0;      // the key's KeyCode (175 Fn, 240 round control key, 241+ its sub-keys)
    CString name;             // text drawn on the key
    CString description;      // title of the key tip
    int32_t funcType = 0;     // kind of the assigned function; kept, never interpreted
    CString tipText1;
    CString tipText2;
    CRect rect;               // layout coordinates
    int32_t checked = 0;      // 1 when checked
    int32_t reserved = 0;     // always 0
    COLORREF color = 0;       // 0x00BBGGRR; 0 counts as dark
    Gdiplus::Image* icon = nullptr;  // freed by the picture with the record; null when none
    int32_t iconWidth = 0;
    int32_t iconHeight = 0;
};

}  // namespace VREL
