#include "ui/framework/PopupBase.h"

#include <windowsx.h>

#include "ui/framework/MControl.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/ToolWindow.h"

namespace VREL {

namespace {

constexpr COLORREF kNoColorKey = 0xFFFFFF;
constexpr int kOpaqueAlpha = 255;
// Re-applies the restyled frame without moving, sizing or activating.
constexpr UINT kFrameChangedFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOSENDCHANGING;

} // namespace

MPopupBase::MPopupBase(MObject* owner, COLORREF colorKey)
    : m_pOwner(owner), m_colorKey(colorKey), m_alpha(kOpaqueAlpha), m_bInPosChanged(0)
{
}

MPopupBase::~MPopupBase()
{
    // The window may outlive the object; from here on it must not reach it.
    Detach();
}

// ---- window side -------------------------------------------------------------------------------

LRESULT MPopupBase::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A handler may end the window (and a self-deleting popup with it):
    // nothing after the default procedure touches the object.
    HWND hwnd = m_hWnd;
    WNDPROC saved = m_oldWndProc;
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT keys = static_cast<UINT>(wParam);
    switch (msg)
    {
    case WM_CREATE:
        OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), pt.x, pt.y);
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_NCACTIVATE:
        OnNcActivate(static_cast<BOOL>(wParam));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(keys, pt);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(keys, pt);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(keys, pt);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(keys, pt);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(keys, pt);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(keys, pt);
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(keys, pt);
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(keys, lParam);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(keys, lParam);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_USER_CLOSE_WINDOW:
        return OnUserCloseWindow(wParam, lParam);
    default:
        break;
    }
    if (const LRESULT handled = m_pm.OnWindowMessage(msg, wParam, lParam))
        return handled;
    return ::CallWindowProcW(saved, hwnd, msg, wParam, lParam);
}

int MPopupBase::PreTranslateMessage(MSG*) { return 0; }

int MPopupBase::OnInitDialog()
{
    CRect client;
    if (WindowExists())
    {
        m_pm.Init(m_hWnd, this);
        ::GetClientRect(m_hWnd, &client);
    }
    // Pressing on the popup's background never moves it.
    m_pm.EnableWndDrag(0);
    InitUI(client);
    return 1;
}

void MPopupBase::OnDestroyMessage(HWND window)
{
    if (window == m_pm.GetPaintWnd())
        m_pm.OnDestroyMessage(window);
    PostNcDestroy();
}

MObject* MPopupBase::GetParent() { return m_pOwner; }
void MPopupBase::InitUI(CRect) {}
void MPopupBase::UISize(CRect) {}
LRESULT MPopupBase::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MPopupBase::OnUserCloseWindow(WPARAM wParam, LPARAM lParam)
{
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

void MPopupBase::CloseWindow()
{
    if (WindowExists())
        PostMessageW(WM_CLOSE, 0, 0);
}

int MPopupBase::OnCreate(CREATESTRUCTW*)
{
    MToolWindow::RestyleAsToolWindow(m_hWnd);
    return 1;
}

int MPopupBase::OnSize(UINT, int, int)
{
    CRect client;
    GetClientRect(&client);
    UISize(client);
    InvalidateRect(client, FALSE);
    return 0;
}

LRESULT MPopupBase::OnMouseMove(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnMouseLeave(UINT, LPARAM) { return 0; }
LRESULT MPopupBase::OnMouseHover(UINT, LPARAM) { return 0; }
LRESULT MPopupBase::OnMouseWheel(UINT, short, CPoint) { return 0; }
LRESULT MPopupBase::OnLButtonDown(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnLButtonUp(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnLButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnRButtonDown(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnRButtonUp(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnRButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MPopupBase::OnKeyDown(UINT, UINT, UINT) { return 0; }
LRESULT MPopupBase::OnNcHitTest(CPoint) { return 0; }
LRESULT MPopupBase::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
LRESULT MPopupBase::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { return 0; }

LRESULT MPopupBase::OnNcActivate(BOOL active)
{
    if (!active)
        PostMessageW(WM_CLOSE, 0, 0);
    return 1;
}

LRESULT MPopupBase::OnWindowPosChanging(WINDOWPOS*) { return 0; }

LRESULT MPopupBase::OnWindowPosChanged(WINDOWPOS* pos)
{
    if (!pos || m_bInPosChanged)
        return 1;
    const WINDOWPOS place = *pos;
    m_bInPosChanged = 1;
    SetWindowPos(nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    SendMessageW(WM_MOVE, 0, MAKELPARAM(place.x, place.y));
    SendMessageW(WM_SIZE, 0, MAKELPARAM(place.cx, place.cy));
    OnSize(0, place.cx, place.cy);
    m_bInPosChanged = 0;
    return 1;
}

LRESULT MPopupBase::OnPaint() { return 0; }
void MPopupBase::OnTimer(UINT) {}
LRESULT MPopupBase::OnNcPaint() { return 0; }
LRESULT MPopupBase::OnClose() { return 1; }
LRESULT MPopupBase::PostNcDestroy() { return 0; }
LRESULT MPopupBase::OnDestroy() { return 0; }

// ---- object side -------------------------------------------------------------------------------------

LRESULT MPopupBase::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MPopupBase::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    return m_pm.OnControlUpdate(rect, redraw, sender);
}

// ---- settings and controls ----------------------------------------------------------------------------

int MPopupBase::LoadBKImage(CString file) { return m_pm.LoadBKImage(file); }

int MPopupBase::LoadBKImage(UINT id, CString type) { return m_pm.LoadBKImage(id, type); }

void MPopupBase::SetBackMode(enumBackMode mode, int parameter) { m_pm.SetBackMode(mode, parameter); }

void MPopupBase::SetScrollResID(UINT vertical, UINT horizontal) { m_pm.SetScrollResID(vertical, horizontal); }

void MPopupBase::SetLayeredWindow(int layered) { m_pm.SetLayeredWindow(layered); }

void MPopupBase::SetupBackTranslucent()
{
    if (!WindowExists())
        return;
    if (m_alpha != kOpaqueAlpha)
    {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        ::SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(m_alpha), LWA_ALPHA);
    }
    else if (m_colorKey != kNoColorKey)
    {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        ::SetLayeredWindowAttributes(m_hWnd, m_colorKey, kOpaqueAlpha, LWA_COLORKEY);
    }
}

MControl* MPopupBase::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_AREA, this, className, id, rect, title, visible, enabled);
}

MControl* MPopupBase::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                                    int visible, int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_CONTROL, this, className, id, rect, title, visible, enabled);
}

MControl* MPopupBase::GetControl(UINT id) { return m_pm.GetControl(id); }

void MPopupBase::SetupRegion(int corner) { MToolWindow::ApplyRoundRegion(m_hWnd, corner); }

LRESULT MPopupBase::ReportToWindow(HWND ownerWindow, UINT message, UINT id, UINT code, WPARAM wParam)
{
    if (ownerWindow)
        ::PostMessageW(ownerWindow, message, wParam, static_cast<LPARAM>(id));
    if (code == NC_CLICKED)
        CloseWindow();
    return 1;
}

} // namespace VREL
