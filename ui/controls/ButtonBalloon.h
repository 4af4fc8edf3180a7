#pragma once

// The window's balloon as the buttons use it for their hover hints: the
// text beside a point of the window's client area, hiding itself after five
// seconds. A kind other than 0 claims the balloon: hiding it with another
// non-zero kind is refused by the window.

#include <windows.h>

#include "ui/framework/AirBladderTypes.h"
#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"

namespace VREL {

class PaintManager;

class ButtonBalloon
{
public:
    ButtonBalloon() = delete;

    // Shows text at clientPoint with placement mode; returns 1 when shown.
    static int Show(PaintManager* manager, const CString& text, CPoint clientPoint, AIRBLADDER_MODE mode,
                    int kind);
    // Hides the balloon unless another kind holds it; 1 when hidden.
    static int Hide(PaintManager* manager, int kind);
};

} // namespace VREL
