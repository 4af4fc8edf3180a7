#pragma once

// What the library's popups have in common (the generic popup, the context
// menus and the item-list menu): a borderless tool window that hosts
// windowless controls (MHostWindow), reports to the object that opened it,
// and closes as soon as it loses activation.
//
// Ownership: the paint manager owns the controls and frees them with the
// object. Closing the window does not delete the object, unless a derived
// popup deletes itself in PostNcDestroy.

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/HostWindow.h"
#include "ui/framework/MObject.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MPopupBase : public MHostWindow
{
public:
    MPopupBase(MObject* owner, COLORREF colorKey);
    ~MPopupBase() override;

    // ---- overrides of MWindow ---------------------------------------------------------------
    int PreTranslateMessage(MSG* msg) override;
    // Attaches the paint manager, switches window dragging off, then InitUI.
    int OnInitDialog() override;

    // ---- virtual operations of the popup ------------------------------------------------------
    virtual MObject* GetParent();
    virtual void CloseWindow();
    // Restyled as a tool window (MToolWindow::RestyleAsToolWindow).
    int OnCreate(CREATESTRUCTW* create) override;
    // UISize with the client rectangle, then a repaint of the client area.
    int OnSize(UINT type, int cx, int cy) override;
    // Losing activation posts WM_CLOSE; returns 1.
    LRESULT OnNcActivate(BOOL active) override;
    // Re-applies the frame, then reports the new place and size.
    LRESULT OnWindowPosChanged(WINDOWPOS* pos) override;

    void SetParent(MObject* owner) { m_pOwner = owner; }

protected:
    // A rounded region of the window's own size.
    void SetupRegion(int corner);
    // The menus' report: posts message to ownerWindow (when there is one)
    // with wParam and the sender's id, and closes on a click. Returns 1.
    LRESULT ReportToWindow(HWND ownerWindow, UINT message, UINT id, UINT code, WPARAM wParam);

    MObject* m_pOwner;

private:
    // Set while OnWindowPosChanged re-applies the frame: that produces a
    // position-changed notice of its own, which must not re-apply it again.
    int m_bInPosChanged;
};

} // namespace VREL
