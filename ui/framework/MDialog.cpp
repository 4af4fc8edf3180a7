#include "ui/framework/MDialog.h"

#include "ui/framework/AirBladder.h"
#include "ui/framework/MControl.h"

namespace VREL {

namespace {

constexpr COLORREF kNoColorKey = 0xFFFFFF;
// Default overlay message box: 502 x 70, centred, 20 pixels above the bottom.
constexpr int kMessageHalfWidth = 251;
constexpr int kMessageTopFromBottom = 90;
constexpr int kMessageBottomFromBottom = 20;
// Anchor of a balloon below a control.
constexpr UINT kBalloonAnchorCentre = 1;
constexpr UINT kBalloonAnchorRight = 2;

} // namespace

MDialog::MDialog() : MHostWindow(kNoColorKey), m_messageOffset(0), m_tooltipCtrlId(0) {}

MDialog::~MDialog() = default;

// ---- window side --------------------------------------------------------------------------

int MDialog::PreTranslateMessage(MSG* msg) { return m_pm.PreTranslateMessage(msg) ? 1 : 0; }

int MDialog::OnInitDialog()
{
    AttachPaintManager(m_clientRect);
    InitUI(m_clientRect);
    return 1;
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

int MDialog::OnCreate(CREATESTRUCTW*)
{
    RemoveFrame(m_hWnd);
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

LRESULT MDialog::OnWindowPosChanging(WINDOWPOS*) { return 1; }

// ---- object side -----------------------------------------------------------------------------

const wchar_t* MDialog::GetClassNameW() const { return L"MDialog"; }

// ---- controls --------------------------------------------------------------------------------------

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

void MDialog::EnableWndDrag(int enable) { m_pm.EnableWndDrag(enable); }

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
