#pragma once

// What the paint manager's drawn caret needs of the control that owns it.
// The owner is the rich edit, whose class is built above the paint manager:
// its source file enters these two functions when the library loads
// (a static object calling SetCaretOwnerAccess), and the paint manager calls
// through them. Until then a caret has no owner to read and draws nothing.

#include <windows.h>

#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;
class MRichEdit;

struct CaretOwnerAccess
{
    // The owner's control side (its focused flag is read from it).
    MControl* (*control)(MRichEdit* owner);
    // The owner's text colour, the caret's colour.
    COLORREF (*textColor)(MRichEdit* owner);
};

// Enters the functions; returns the ones entered before (both null at first).
VREL_API CaretOwnerAccess SetCaretOwnerAccess(const CaretOwnerAccess& access);
VREL_API CaretOwnerAccess GetCaretOwnerAccess();

} // namespace VREL
