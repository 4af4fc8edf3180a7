#pragma once

// What the library's popups have in common (the generic popup, the context
// menus and the item-list menu): a borderless tool window with a paint
// manager of its own that hosts windowless controls, delivers their
// notifications to OnMessage, and closes as soon as it loses activation.
//
// Ownership: the paint manager owns the controls and frees them with the
// object. Closing the window does not delete the object, unless a derived
// popup deletes itself in PostNcDestroy.

#include <windows.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MObject.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;

class VREL_API MPopupBase : public MWindow, public MObject
{
public:
    MPopupBase(MObject* owner, COLORREF colorKey);
    // Destroys the embedded paint manager and with it the controls; a window
    // that still exists is left alone.
    ~MPopupBase() override;

    // ---- overrides of MWindow ---------------------------------------------------------------
    // The popup message map: the handlers observe, then the paint manager and
    // the default procedure get the message.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* msg) override;
    // Attaches the paint manager, switches window dragging off, then InitUI.
    int OnInitDialog() override;
    // Releases the paint manager's data, then PostNcDestroy.
    void OnDestroyMessage(HWND window) override;

    // ---- virtual operations, in slot order --------------------------------------------------
    virtual MObject* GetParent();
    // Where a derived popup creates its controls.
    virtual void InitUI(CRect client);
    virtual void UISize(CRect client);
    // Notifications of the popup's controls.
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual void CloseWindow();
    virtual int OnCreate(CREATESTRUCTW* create);
    virtual int OnSize(UINT type, int cx, int cy);
    virtual LRESULT OnMouseMove(UINT keys, CPoint pt);
    virtual LRESULT OnMouseLeave(UINT keys, LPARAM lParam);
    virtual LRESULT OnMouseHover(UINT keys, LPARAM lParam);
    virtual LRESULT OnMouseWheel(UINT keys, short delta, CPoint pt);
    virtual LRESULT OnLButtonDown(UINT keys, CPoint pt);
    virtual LRESULT OnLButtonUp(UINT keys, CPoint pt);
    virtual LRESULT OnLButtonDblClk(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonDown(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonUp(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonDblClk(UINT keys, CPoint pt);
    virtual LRESULT OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual LRESULT OnNcHitTest(CPoint pt);
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
    virtual LRESULT OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    // Losing activation posts WM_CLOSE.
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* pos);
    // Re-applies the frame, then reports the new place and size.
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    virtual void OnTimer(UINT id);
    virtual LRESULT OnNcPaint();
    virtual LRESULT OnClose();
    virtual LRESULT PostNcDestroy();
    virtual LRESULT OnDestroy();

    // ---- object side ----------------------------------------------------------------------------
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender) override;

    // ---- settings and controls -------------------------------------------------------------------
    void SetParent(MObject* owner) { m_pOwner = owner; }
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);
    void SetScrollResID(UINT vertical, UINT horizontal);
    void SetLayeredWindow(int layered);
    // Layered with constant alpha when alpha is not 255, else with the
    // colour key when it is not white, else nothing.
    void SetupBackTranslucent();
    MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                         int enabled);
    MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                            int enabled);
    MControl* GetControl(UINT id);
    PaintManager* GetPaintManager() { return &m_pm; }

protected:
    // A rounded region of the window's own size.
    void SetupRegion(int corner);
    // The menus' report: posts message to ownerWindow (when there is one)
    // with wParam and the sender's id, and closes on a click. Returns 1.
    LRESULT ReportToWindow(HWND ownerWindow, UINT message, UINT id, UINT code, WPARAM wParam);

    MObject* m_pOwner;
    PaintManager m_pm;
    COLORREF m_colorKey;
    int m_alpha;

private:
    // Set while OnWindowPosChanged re-applies the frame: that produces a
    // position-changed notice of its own, which must not re-apply it again.
    int m_bInPosChanged;
};

} // namespace VREL
