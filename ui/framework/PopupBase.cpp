#include "ui/framework/PopupBase.h"

#include "ui/framework/MControl.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/ToolWindow.h"

namespace VREL {

namespace {

// Re-applies the restyled frame without moving, sizing or activating.
constexpr UINT kFrameChangedFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOSENDCHANGING;

} // namespace

MPopupBase::MPopupBase(MObject* owner, COLORREF colorKey)
    : MHostWindow(colorKey), m_pOwner(owner), m_bInPosChanged(0)
{
}

MPopupBase::~MPopupBase() = default;

// ---- window side -------------------------------------------------------------------------------

int MPopupBase::PreTranslateMessage(MSG*) { return 0; }

int MPopupBase::OnInitDialog()
{
    CRect client;
    AttachPaintManager(client);
    // Pressing on the popup's background never moves it.
    m_pm.EnableWndDrag(0);
    InitUI(client);
    return 1;
}

MObject* MPopupBase::GetParent() { return m_pOwner; }

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

LRESULT MPopupBase::OnNcActivate(BOOL active)
{
    if (!active)
        PostMessageW(WM_CLOSE, 0, 0);
    return 1;
}

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
