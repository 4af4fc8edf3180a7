#pragma once

// A window whose messages are split into virtual handlers: what dialogs,
// popups and the small tool windows have in common. The handlers observe
// (their results are not used) and the message always goes on afterwards:
// to the window's paint manager first where the window has one (a nonzero
// answer is the result), then to the saved window procedure. Two messages
// end in the split: WM_ERASEBKGND answers 1 (the windows paint their whole
// background themselves) and WM_USER_CLOSE_WINDOW answers what
// OnUserCloseWindow returns.
//
// Mouse wheel, keys, hit tests, size limits and non-client sizing and
// painting have handlers that derived windows may call or override, but the
// split does not call them.

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class PaintManager;

class VREL_API MHandlerWindow : public MWindow
{
public:
    MHandlerWindow();
    ~MHandlerWindow() override;

    // Splits the message; the window has no paint manager.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // ---- handlers; unless said otherwise they do nothing and return 0 ------------
    // Posts WM_CLOSE with the same wParam and lParam; returns 1.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    // Returns 1.
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
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* pos);
    // Returns 1.
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    virtual void OnTimer(UINT id);
    virtual LRESULT OnNcPaint();
    // Returns 1; the close goes on whatever a handler answers.
    virtual LRESULT OnClose();
    // Does not delete the object.
    virtual LRESULT PostNcDestroy();
    virtual LRESULT OnDestroy();

    // Drops the caption and the sizing frame and adds clipping of siblings
    // and children (and bit 0x8): the look every window of the library takes
    // at creation.
    static void RemoveFrame(HWND window);

protected:
    // Calls the handler of msg, then passes the message on: to host first
    // when there is one, then to the saved window procedure.
    LRESULT SplitMessage(UINT msg, WPARAM wParam, LPARAM lParam, PaintManager* host);
};

} // namespace VREL
