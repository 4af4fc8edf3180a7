#include "app/window/UpdateTipDlg.h"

#include <utility>

#include "app/window/UpdateProgress.h"
#include "ui/controls/Progress.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kBackCorner = 10;
constexpr wchar_t kBackImage[] = L"img_upgrade_bkg.png";

} // namespace

UpdateTipDlg::UpdateTipDlg(CString firstText)
    : m_textArea(nullptr), m_bar(nullptr), m_text(std::move(firstText)), m_window(nullptr)
{
}

UpdateTipDlg::~UpdateTipDlg()
{
    // The window must not outlive the object that handles its messages.
    if (WindowExists())
        DestroyWindow();
}

UINT UpdateTipDlg::Show(HWND parent)
{
    Create(parent, kUpdateTipCaption, kStyle, kExStyle, CRect(0, 0, kWidth, kHeight));
    m_window = GetSafeHwnd();
    CenterWindow(nullptr);
    const UINT result = ShowModal(SW_SHOW);
    m_window = nullptr;
    return result;
}

void UpdateTipDlg::RequestClose()
{
    const HWND window = m_window;
    if (window != nullptr)
        ::PostMessageW(window, VREL::WM_USER_CLOSE_WINDOW, IDOK, 0);
}

int UpdateTipDlg::OnInitDialog()
{
    VREL::MDialog::OnInitDialog();
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 1;
}

void UpdateTipDlg::InitUI(CRect client)
{
    SetLayeredWindow(1);
    LoadBKImage(kBackImage);
    SetBackMode(VREL::BACK_MODE_NINE_GRID, kBackCorner);
    m_textArea = dynamic_cast<VREL::MControlFont*>(
        CreateArea(L"MText", kTextId, CRect(20, 10, client.right - 20, 30), m_text.GetString(), 1, 1));
    m_bar = dynamic_cast<VREL::MProgress*>(
        CreateControl(L"MProgress", kBarId, CRect(20, 30, client.right - 20, 56), nullptr, 1, 1));
}

void UpdateTipDlg::UISize(CRect) {}

LRESULT UpdateTipDlg::OnMessage(UINT, UINT code, WPARAM, LPARAM) { return code == VREL::NC_CLICKED ? 1 : 0; }

LRESULT UpdateTipDlg::OnDestroy()
{
    m_textArea = nullptr;
    m_bar = nullptr;
    m_window = nullptr;
    return 0;
}

void UpdateTipDlg::SetProgressText(int percent, const wchar_t* text)
{
    const wchar_t* label = text != nullptr ? text : L"";
    if (percent == kProgressUnknown) {
        m_text = label;
        if (m_bar != nullptr)
            m_bar->SetProgress((m_bar->GetProgress() + kRunningStep) % (kProgressDone + 1));
    } else {
        if (percent < 0)
            percent = 0;
        if (percent > kProgressDone)
            percent = kProgressDone;
        m_text.Format(L"%ls: %d%%", label, percent);
        if (m_bar != nullptr)
            m_bar->SetProgress(percent);
    }
    if (m_textArea != nullptr)
        m_textArea->SetTitle(m_text.GetString());
}

int UpdateTipDlg::BarValue() const { return m_bar != nullptr ? m_bar->GetProgress() : -1; }

} // namespace tarnwell
