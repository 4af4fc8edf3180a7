#include "ui/framework/MDialog.h"

#include <windowsx.h>

#include "ui/framework/AirBladder.h"
#include "ui/framework/MControl.h"

namespace VREL {

namespace {

constexpr COLORREF kNoColorKey = 0xFFFFFF;
constexpr int kOpaqueAlpha = 255;
// OnCreate drops the caption and the sizing frame and clips children.
constexpr DWORD kStylesRemoved = WS_CAPTION | WS_THICKFRAME;
constexpr DWORD kStylesAdded = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x8;
// Default overlay message box: 502 x 70, centred, 20 pixels above the bottom.
constexpr int kMessageHalfWidth = 251;
constexpr int kMessageTopFromBottom = 90;
constexpr int kMessageBottomFromBottom = 20;
// Anchor of a balloon below a control.
constexpr UINT kBalloonAnchorCentre = 1;
constexpr UINT kBalloonAnchorRight = 2;

} // namespace

MDialog::MDialog()
    : m_colorKey(kNoColorKey), m_alpha(kOpaqueAlpha), m_messageOffset(0), m_tooltipCtrlId(0)
{
}

MDialog::~MDialog()
{
    // The window may outlive the object; from here on it must not reach it.
    Detach();
}

// ---- window side --------------------------------------------------------------------------

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = m_hWnd;
    WNDPROC saved = m_oldWndProc;
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT keys = static_cast<UINT>(wParam);
    // The handlers observe; the paint manager sees every message all the same.
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
    case WM_ERASEBKGND:
        return 1;
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
    case WM_USER_CLOSE_WINDOW:
        return OnUserCloseWindow(wParam, lParam);
    default:
        break;
    }
    if (const LRESULT handled = m_pm.OnWindowMessage(msg, wParam, lParam))
        return handled;
    return ::CallWindowProcW(saved, hwnd, msg, wParam, lParam);
}

int MDialog::PreTranslateMessage(MSG* msg) { return m_pm.PreTranslateMessage(msg) ? 1 : 0; }

int MDialog::OnInitDialog()
{
    if (WindowExists())
    {
        m_pm.Init(m_hWnd, this);
        ::GetClientRect(m_hWnd, &m_clientRect);
    }
    InitUI(m_clientRect);
    return 1;
}

void MDialog::OnDestroyMessage(HWND window)
{
    if (window == m_pm.GetPaintWnd())
        m_pm.OnDestroyMessage(window);
    PostNcDestroy();
}

POINT MDialog::GetAirBladderPoint(MControl* control, UINT type)
{
    POINT point = {0, 0};
    if (!control)
        return point;
    const CRect rect = control->GetRect();
    point.y = rect.bottom;
    if (type == kBalloonAnchorCentre)
        point.x = rect.left + (rect.right - rect.left) / 2;
    else if (type == kBalloonAnchorRight)
        point.x = rect.right;
    else
        point.x = rect.left;
    ClientToScreen(&point);
    return point;
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() { ShowWindow(WindowExists() && ::IsZoomed(m_hWnd) ? SW_RESTORE : SW_MAXIMIZE); }

void MDialog::InitUI(CRect) {}

void MDialog::UISize(CRect) {}

LRESULT MDialog::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam)
{
    if (HandleSet())
        ::PostMessageW(m_hWnd, WM_CLOSE, wParam, lParam);
    return 1;
}

int MDialog::OnCreate(CREATESTRUCTW*)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>((style & ~kStylesRemoved) | kStylesAdded));
    return 1;
}

int MDialog::OnSize(UINT, int, int)
{
    if (!(WindowExists() && ::IsIconic(m_hWnd)))
        SetupBackTranslucent();
    if (WindowExists())
    {
        ::GetClientRect(m_hWnd, &m_clientRect);
        if (m_clientRect.Width() > 1 && m_clientRect.Height() > 1)
            UISize(m_clientRect);
    }
    if (WindowExists())
        ::InvalidateRect(m_hWnd, &m_clientRect, FALSE);
    return 0;
}

LRESULT MDialog::OnMouseMove(UINT, CPoint) { return 0; }

LRESULT MDialog::OnMouseLeave(UINT, LPARAM) { return 0; }

LRESULT MDialog::OnMouseHover(UINT, LPARAM) { return 0; }

LRESULT MDialog::OnMouseWheel(UINT, short, CPoint) { return 0; }

LRESULT MDialog::OnLButtonDown(UINT, CPoint) { return 0; }

LRESULT MDialog::OnLButtonUp(UINT, CPoint) { return 0; }

LRESULT MDialog::OnLButtonDblClk(UINT, CPoint) { return 0; }

LRESULT MDialog::OnRButtonDown(UINT, CPoint) { return 0; }

LRESULT MDialog::OnRButtonUp(UINT, CPoint) { return 0; }

LRESULT MDialog::OnRButtonDblClk(UINT, CPoint) { return 0; }

LRESULT MDialog::OnKeyDown(UINT, UINT, UINT) { return 0; }

LRESULT MDialog::OnNcHitTest(CPoint) { return 0; }

LRESULT MDialog::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }

LRESULT MDialog::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { return 0; }

LRESULT MDialog::OnNcActivate(BOOL) { return 0; }

LRESULT MDialog::OnWindowPosChanging(WINDOWPOS*) { return 1; }

LRESULT MDialog::OnWindowPosChanged(WINDOWPOS*) { return 1; }

LRESULT MDialog::OnPaint() { return 0; }

void MDialog::OnTimer(UINT) {}

LRESULT MDialog::OnNcPaint() { return 0; }

LRESULT MDialog::OnClose() { return 1; }

LRESULT MDialog::OnDestroy() { return 0; }

LRESULT MDialog::PostNcDestroy() { return 0; }

// ---- object side -----------------------------------------------------------------------------

const wchar_t* MDialog::GetClassNameW() const { return L"MDialog"; }

LRESULT MDialog::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MDialog::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    return m_pm.OnControlUpdate(rect, redraw, sender);
}

// ---- controls --------------------------------------------------------------------------------------

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_CONTROL, static_cast<MObject*>(this), className, id, rect, title,
                              visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                              int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_AREA, static_cast<MObject*>(this), className, id, rect, title, visible,
                              enabled);
}

MControl* MDialog::GetControl(UINT id) { return m_pm.GetControl(id); }

std::vector<MControl*>* MDialog::GetControls() { return m_pm.GetControls(); }

void MDialog::SetFocusControl(MControl* control) { m_pm.SetFocusControl(control); }

// ---- close protocol ----------------------------------------------------------------------------------

void MDialog::PostClose(WPARAM result)
{
    if (HandleSet())
        ::PostMessageW(m_hWnd, WM_USER_CLOSE_WINDOW, result, 0);
}

void MDialog::DoOK() { PostClose(IDOK); }

void MDialog::DoCancel() { PostClose(IDCANCEL); }

void MDialog::DoClose() { PostClose(IDCANCEL); }

void MDialog::DoYes() { PostClose(IDYES); }

void MDialog::DoNo() { PostClose(IDNO); }

// ---- paint manager settings ----------------------------------------------------------------------

int MDialog::LoadBKImage(CString file) { return m_pm.LoadBKImage(file); }

int MDialog::LoadBKImage(UINT id, CString type) { return m_pm.LoadBKImage(id, type); }

void MDialog::SetBackMode(enumBackMode mode, int parameter) { m_pm.SetBackMode(mode, parameter); }

void MDialog::SetScrollResID(UINT vertical, UINT horizontal) { m_pm.SetScrollResID(vertical, horizontal); }

void MDialog::SetLayeredWindow(int layered) { m_pm.SetLayeredWindow(layered); }

void MDialog::EnableWndDrag(int enable) { m_pm.EnableWndDrag(enable); }

void MDialog::SetupBackTranslucent()
{
    if (m_alpha != kOpaqueAlpha)
    {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        if (WindowExists())
            ::SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(m_alpha), LWA_ALPHA);
    }
    else if (m_colorKey != kNoColorKey)
    {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        if (WindowExists())
            ::SetLayeredWindowAttributes(m_hWnd, m_colorKey, kOpaqueAlpha, LWA_COLORKEY);
    }
}

void MDialog::SetupRegion(int) {}

void MDialog::SetTooltip(CString text, CRect rect) { m_pm.SetTooltip(text, rect); }

void MDialog::ClearTooltip() { m_pm.ClearTooltip(); }

void MDialog::SetMessage(CString text, CRect rect, MsgLevel level)
{
    if (rect.IsRectEmpty())
    {
        if (WindowExists())
            ::GetClientRect(m_hWnd, &rect);
        const int half = (rect.right - rect.left) / 2;
        rect = CRect(half - kMessageHalfWidth, rect.bottom - kMessageTopFromBottom, half + kMessageHalfWidth,
                     rect.bottom - kMessageBottomFromBottom);
        rect.OffsetRect(0, m_messageOffset);
    }
    m_pm.SetMessage(text, rect, level);
}

void MDialog::SetProgress(int value, CString text, CRect rect) { m_pm.SetProgress(value, text, rect); }

void MDialog::SetMTimer(UINT period) { m_pm.SetMTimer(period); }

void MDialog::KillMTimer(UINT id) { m_pm.KillMTimer(id); }

// ---- balloon and drop shadow ----------------------------------------------------------------------

int MDialog::SetAirBladderMsg(const wchar_t* text, POINT point, AIRBLADDER_TYPE type)
{
    if (point.x == 0 || point.y == 0)
        return 0;
    m_pm.SetAirBladderMsg(text, point, type, AIRBLADDER_MODE_BELOW);
    if (MAirBladder* balloon = m_pm.GetAirBladder())
        balloon->ShowWindow(SW_SHOW);
    return 1;
}

void MDialog::CreateShadow(int show, bool force) { m_pm.CreateShadow(show, force); }

void MDialog::SetShadowShow(int show) { m_pm.SetShadowShow(show); }

int MDialog::SetSize(int size) { return m_pm.SetSize(size); }

int MDialog::SetSharpness(UINT sharpness) { return m_pm.SetSharpness(sharpness); }

int MDialog::SetDarkness(UINT darkness) { return m_pm.SetDarkness(darkness); }

int MDialog::SetPosition(int x, int y) { return m_pm.SetPosition(x, y); }

int MDialog::SetShadowColor(COLORREF colour)
{
    m_pm.SetShadowColor(colour);
    return 1;
}

void MDialog::SetShadowImage(const wchar_t* file, CRect margins) { m_pm.SetShadowImage(file, margins); }

void MDialog::SetShadowImage(UINT id, CRect margins) { m_pm.SetShadowImage(id, margins); }

} // namespace VREL
