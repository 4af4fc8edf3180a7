#pragma once

// Root of every control and of every window class that hosts controls: class
// identity by name, the notification sink and the repaint request.

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;

class VREL_API MObject
{
public:
    MObject() = default;
    virtual ~MObject();

    // 1 when name equals GetClassNameW() exactly (case-sensitive).
    virtual int IsClass(const wchar_t* name);
    // Null here; classes that are looked up by name override it.
    virtual const wchar_t* GetClassNameW() const;
    virtual const wchar_t* GetObjectClass();
    virtual const wchar_t* BaseObjectClassName();
    // Notification sink: a control reports an event code (enumNotifyCode)
    // with its own id.
    virtual LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
    // Repaint request: the sender asks for rect to be repainted; redraw 1
    // says the sender's cached picture is stale, 0 that only the screen must
    // be refreshed from it.
    virtual LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender);
};

} // namespace VREL
