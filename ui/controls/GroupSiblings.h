#pragma once

// Where a group button (the radio kinds, the selector, the colour swatch)
// finds the other members of its group: among the top-level controls of its
// dialog's window when its owner is a dialog and the kind looks there, else
// among its owner control's sub-controls. The list is copied while its
// owner's lock is held, so that the caller unchecks and repaints the members
// without holding that lock: a repaint request takes the paint manager's
// locks, and another thread (the program's worker) may be walking or
// changing the same list.

#include <vector>

namespace VREL {

class MControl;

class GroupSiblings
{
public:
    GroupSiblings() = delete;

    // Null entries are left out; the button itself is included. Empty when
    // the button has no owner.
    static std::vector<MControl*> Of(MControl& button, bool lookInDialog);
};

} // namespace VREL
