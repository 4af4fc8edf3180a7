#pragma once

// The base of every dialog: a window that hosts windowless controls (its
// handlers, paint manager and notification path come from MHostWindow). It
// closes through WM_USER_CLOSE_WINDOW, which carries the dialog result to
// the modal loop: OnUserCloseWindow posts WM_CLOSE with it, and a dialog that
// overrides OnUserCloseWindow can refuse or delay the close.

#include <windows.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/HostWindow.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;

class VREL_API MDialog : public MHostWindow
{
public:
    MDialog();
    ~MDialog() override;

    // ---- window side: overrides of MWindow ----------------------------------------
    int PreTranslateMessage(MSG* msg) override;
    // Attaches the paint manager, then InitUI with the client rectangle.
    int OnInitDialog() override;

    // ---- window side: virtual operations of the dialog ---------------------------
    virtual POINT GetAirBladderPoint(MControl* control, UINT type);
    virtual void OnMinimize();
    virtual void OnMaximize();
    // Removes the caption and the sizing frame (RemoveFrame).
    int OnCreate(CREATESTRUCTW* create) override;
    // Translucency unless minimised, UISize while the client area is larger
    // than 1 x 1, then a repaint of the client area.
    int OnSize(UINT type, int cx, int cy) override;
    // Returns 1.
    LRESULT OnWindowPosChanging(WINDOWPOS* pos) override;

    // ---- object side -----------------------------------------------------------------
    const wchar_t* GetClassNameW() const override;

    // ---- controls ------------------------------------------------------------------------
    std::vector<MControl*>* GetControls();
    void SetFocusControl(MControl* control);

    // ---- close protocol: post WM_USER_CLOSE_WINDOW with the result ---------------
    void DoOK();
    void DoCancel();
    void DoClose();
    void DoYes();
    void DoNo();

    // ---- paint manager settings ----------------------------------------------------
    void EnableWndDrag(int enable);
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

    int m_messageOffset;
    int m_tooltipCtrlId;
    CRect m_clientRect;

private:
    void PostClose(WPARAM result);
};

} // namespace VREL
