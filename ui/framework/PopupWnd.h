#pragma once

// The library's generic popup: a borderless tool window with its own paint
// manager that hosts windowless controls created by class name, reports to
// the control that opened it, and closes itself as soon as it loses
// activation. Closing does not delete the object: its creator does.

#include <windows.h>

#include "ui/framework/MObject.h"
#include "ui/framework/PopupBase.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MPopupWnd : public MPopupBase
{
public:
    MPopupWnd();
    ~MPopupWnd() override;

    // The owner's control-side OnMessage (0, code, wParam, lParam); 0 and
    // nothing called without an owner, or when the owner is not a control.
    LRESULT SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam);
};

} // namespace VREL
