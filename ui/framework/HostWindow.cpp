#include "ui/framework/HostWindow.h"

#include "ui/framework/MControl.h"

namespace VREL {

namespace {

constexpr COLORREF kNoColorKey = 0xFFFFFF;
constexpr int kOpaqueAlpha = 255;

} // namespace

MHostWindow::MHostWindow(COLORREF colorKey) : m_colorKey(colorKey), m_alpha(kOpaqueAlpha) {}

MHostWindow::~MHostWindow()
{
    // The window may outlive the object; from here on it must not reach it.
    Detach();
}

// ---- window side --------------------------------------------------------------------------------

LRESULT MHostWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SplitMessage(msg, wParam, lParam, &m_pm);
}

void MHostWindow::OnDestroyMessage(HWND window)
{
    if (window == m_pm.GetPaintWnd())
        m_pm.OnDestroyMessage(window);
    PostNcDestroy();
}

bool MHostWindow::AttachPaintManager(CRect& client)
{
    if (!WindowExists())
        return false;
    m_pm.Init(m_hWnd, this);
    ::GetClientRect(m_hWnd, &client);
    return true;
}

void MHostWindow::InitUI(CRect) {}

void MHostWindow::UISize(CRect) {}

LRESULT MHostWindow::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

// ---- object side ---------------------------------------------------------------------------------

LRESULT MHostWindow::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MHostWindow::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    return m_pm.OnControlUpdate(rect, redraw, sender);
}

// ---- controls and paint manager settings ---------------------------------------------------------

MControl* MHostWindow::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                                     int visible, int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_CONTROL, static_cast<MObject*>(this), className, id, rect, title,
                              visible, enabled);
}

MControl* MHostWindow::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                                  int visible, int enabled)
{
    return m_pm.CreateControl(CONTROL_KIND_AREA, static_cast<MObject*>(this), className, id, rect, title, visible,
                              enabled);
}

MControl* MHostWindow::GetControl(UINT id) { return m_pm.GetControl(id); }

int MHostWindow::LoadBKImage(CString file) { return m_pm.LoadBKImage(file); }

int MHostWindow::LoadBKImage(UINT id, CString type) { return m_pm.LoadBKImage(id, type); }

void MHostWindow::SetBackMode(enumBackMode mode, int parameter) { m_pm.SetBackMode(mode, parameter); }

void MHostWindow::SetScrollResID(UINT vertical, UINT horizontal) { m_pm.SetScrollResID(vertical, horizontal); }

void MHostWindow::SetLayeredWindow(int layered) { m_pm.SetLayeredWindow(layered); }

void MHostWindow::SetupBackTranslucent()
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

} // namespace VREL
