#pragma once

// A window that hosts windowless controls: the base of every dialog. Its
// window side splits window messages into virtual handlers and passes every
// message on to the embedded paint manager; its object side (MObject) is the
// owner its top-level controls report to, and delivers their notifications
// to OnMessage. It closes through WM_USER_CLOSE_WINDOW, which carries the
// dialog result to the modal loop.

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

class VREL_API MDialog : public MWindow, public MObject
{
public:
    MDialog();
    // Destroys the embedded paint manager and with it the controls; a window
    // that still exists is left alone.
    ~MDialog() override;

    // ---- window side: overrides of MWindow ----------------------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* msg) override;
    // Attaches the paint manager, then InitUI with the client rectangle.
    int OnInitDialog() override;
    void OnDestroyMessage(HWND window) override;

    // ---- window side: virtual operations, in slot order ------------------------
    virtual POINT GetAirBladderPoint(MControl* control, UINT type);
    virtual void OnMinimize();
    virtual void OnMaximize();
    // Where a dialog creates its controls.
    virtual void InitUI(CRect client);
    // Where a dialog lays its controls out again.
    virtual void UISize(CRect client);
    // Every notification of the dialog's top-level controls.
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
    // Posts WM_CLOSE with the result; overriding refuses or delays the close.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
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
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    virtual void OnTimer(UINT id);
    virtual LRESULT OnNcPaint();
    virtual LRESULT OnClose();
    virtual LRESULT OnDestroy();
    // Does not delete the object.
    virtual LRESULT PostNcDestroy();

    // ---- object side -----------------------------------------------------------------
    const wchar_t* GetClassNameW() const override;
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender) override;

    // ---- controls ------------------------------------------------------------------------
    MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                            int enabled);
    MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                         int enabled);
    MControl* GetControl(UINT id);
    std::vector<MControl*>* GetControls();
    void SetFocusControl(MControl* control);
    PaintManager* GetPaintManager() { return &m_pm; }

    // ---- close protocol: post WM_USER_CLOSE_WINDOW with the result ---------------
    void DoOK();
    void DoCancel();
    void DoClose();
    void DoYes();
    void DoNo();

    // ---- paint manager settings ----------------------------------------------------
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);
    void SetScrollResID(UINT vertical, UINT horizontal);
    void SetLayeredWindow(int layered);
    void EnableWndDrag(int enable);
    void SetupBackTranslucent();
    void SetTooltip(CString text, CRect rect);
    void ClearTooltip();
    void SetTooltipCtrlID(int id) { m_tooltipCtrlId = id; }
    int GetTooltipCtrlID() const { return m_tooltipCtrlId; }
    // An empty rect places the message 502 x 70 pixels, centred, 20 pixels
    // above the bottom of the client area (moved down by the message offset).
    void SetMessage(CString text, CRect rect, MsgLevel level);
    void SetProgress(int value, CString text, CRect rect);
    // The window's multimedia tick.
    void SetMTimer(UINT period);
    void KillMTimer(UINT id);

    // ---- balloon and drop shadow ----------------------------------------------------
    // Shows the window's balloon below a screen point; 0 (nothing shown) when
    // the point's x or y is 0.
    int SetAirBladderMsg(const wchar_t* text, POINT point, AIRBLADDER_TYPE type);
    void CreateShadow(int show, bool force);
    void SetShadowShow(int show);
    // The shadow setters answer 0 and change nothing for values out of range.
    int SetSize(int size);
    int SetSharpness(UINT sharpness);
    int SetDarkness(UINT darkness);
    int SetPosition(int x, int y);
    int SetShadowColor(COLORREF colour);
    // Margins are taken only when all four are 0 or more.
    void SetShadowImage(const wchar_t* file, CRect margins);
    void SetShadowImage(UINT id, CRect margins);

protected:
    void SetupRegion(int value);

    PaintManager m_pm;
    COLORREF m_colorKey;
    int m_alpha;
    int m_messageOffset;
    int m_tooltipCtrlId;
    CRect m_clientRect;

private:
    void PostClose(WPARAM result);
};

} // namespace VREL
