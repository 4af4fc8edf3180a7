#include "ui/framework/HandlerWindow.h"

#include <windowsx.h>

#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

// Caption and sizing frame off; clip siblings and children, and bit 0x8.
constexpr DWORD kFrameStylesRemoved = WS_CAPTION | WS_THICKFRAME;
constexpr DWORD kFrameStylesAdded = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x8;

} // namespace

MHandlerWindow::MHandlerWindow() = default;

MHandlerWindow::~MHandlerWindow() = default;

LRESULT MHandlerWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SplitMessage(msg, wParam, lParam, nullptr);
}

LRESULT MHandlerWindow::SplitMessage(UINT msg, WPARAM wParam, LPARAM lParam, PaintManager* host)
{
    // The default procedure may end the window, and a self-deleting window
    // with it: it gets the handle and procedure as they were, and nothing
    // after it touches the object.
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
    if (host)
    {
        if (const LRESULT handled = host->OnWindowMessage(msg, wParam, lParam))
            return handled;
    }
    return ::CallWindowProcW(saved, hwnd, msg, wParam, lParam);
}

void MHandlerWindow::RemoveFrame(HWND window)
{
    if (!window)
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    ::SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & ~kFrameStylesRemoved) | kFrameStylesAdded));
}

LRESULT MHandlerWindow::OnUserCloseWindow(WPARAM wParam, LPARAM lParam)
{
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

int MHandlerWindow::OnCreate(CREATESTRUCTW*) { return 1; }
int MHandlerWindow::OnSize(UINT, int, int) { return 0; }
LRESULT MHandlerWindow::OnMouseMove(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnMouseLeave(UINT, LPARAM) { return 0; }
LRESULT MHandlerWindow::OnMouseHover(UINT, LPARAM) { return 0; }
LRESULT MHandlerWindow::OnMouseWheel(UINT, short, CPoint) { return 0; }
LRESULT MHandlerWindow::OnLButtonDown(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnLButtonUp(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnLButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnRButtonDown(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnRButtonUp(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnRButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MHandlerWindow::OnKeyDown(UINT, UINT, UINT) { return 0; }
LRESULT MHandlerWindow::OnNcHitTest(CPoint) { return 0; }
LRESULT MHandlerWindow::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
LRESULT MHandlerWindow::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { return 0; }
LRESULT MHandlerWindow::OnNcActivate(BOOL) { return 0; }
LRESULT MHandlerWindow::OnWindowPosChanging(WINDOWPOS*) { return 0; }
LRESULT MHandlerWindow::OnWindowPosChanged(WINDOWPOS*) { return 1; }
LRESULT MHandlerWindow::OnPaint() { return 0; }
void MHandlerWindow::OnTimer(UINT) {}
LRESULT MHandlerWindow::OnNcPaint() { return 0; }
LRESULT MHandlerWindow::OnClose() { return 1; }
LRESULT MHandlerWindow::PostNcDestroy() { return 0; }
LRESULT MHandlerWindow::OnDestroy() { return 0; }

} // namespace VREL
