#pragma once

// The pointer behaviour every push button shares. A button is hovered (1)
// while the pointer is over it, held (2) from a press inside until the
// release, and disabled (3) while its enabled flag is clear. While held it
// ignores moves, so the pressed look stays when the pointer leaves, and a
// release outside cancels the click. Each change of state is followed by a
// repaint request with redraw 0: the cached cells stay valid.

#include <windows.h>

#include <functional>

#include "ui/framework/ButtonState.h"
#include "ui/framework/Geometry.h"

namespace VREL {

class MControl;

class PushInput
{
public:
    PushInput() = delete;

    // Whether the button notifies a click before or after its repaint
    // request; before means the owner still sees the pressed state.
    enum ClickOrder
    {
        REPAINT_THEN_NOTIFY,
        NOTIFY_THEN_REPAINT,
    };

    // Each returns 1 when the state changed. setCursor: the hand over the
    // button and the arrow elsewhere.
    static int Move(MControl& button, BUTTON_STATE& state, CPoint pt, bool setCursor);
    // Sends NC_PRESSED for a press inside an enabled button.
    static int Down(MControl& button, BUTTON_STATE& state, CPoint pt, bool setCursor);
    // Sends NC_CLICKED for a release inside after a press; beforeClick runs
    // just before that notification.
    static int Up(MControl& button, BUTTON_STATE& state, CPoint pt, ClickOrder order,
                  const std::function<void()>& beforeClick = nullptr);
    // Stores the flag; the state becomes normal or disabled.
    static void Enable(MControl& button, BUTTON_STATE& state, int enabled);
};

} // namespace VREL
