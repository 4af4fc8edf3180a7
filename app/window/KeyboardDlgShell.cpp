// The window's shell until the page construction builds it: the caption bar
// with its title and the window buttons, at the places the full shell uses.

#include "app/window/KeyboardDlg.h"

#include "ui/controls/Areas.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Manager.h"

namespace {

constexpr int kCaptionHeight = 51;

struct ShellButton
{
    UINT id;
    const wchar_t* image;
    int rightOffset;  // left edge, from the client's right
};

const ShellButton kButtons[] = {
    {KeyboardDef::ID_CLOSE, L"sysbtn_close.png", 50},
    {KeyboardDef::ID_MINIMISE, L"sysbtn_min.png", 82},
    {KeyboardDef::ID_SETTINGS, L"sysbtn_setting.png", 114},
};

} // namespace

void KeyboardDlg::InitUI(CRect client)
{
    m_pm.SetBackColor(RGB(0x1B, 0x1B, 0x1B), RGB(0x3A, 0x3A, 0x3A));
    if (auto* bar = dynamic_cast<VREL::CRoundArea*>(CreateArea(L"CRoundArea", ID_CAPTION_BAR, CRect(), nullptr, 1, 1)))
        bar->SetColor(Gdiplus::Color(0xFF272727));
    CString name = VREL::Manager::GetDeviceName();
    if (auto* title =
            dynamic_cast<VREL::MControlFont*>(CreateArea(L"MText", ID_CAPTION_TEXT, CRect(), name.GetString(), 1, 1))) {
        title->SetTextColor(m_pageTextColour);
        title->SetFont(L"Segoe UI", 20, Gdiplus::FontStyleBold);
    }
    for (const ShellButton& button : kButtons) {
        if (auto* control =
                dynamic_cast<VREL::MControlFont*>(CreateControl(L"CImageButton", button.id, CRect(), nullptr, 1, 1)))
            control->SetImage(button.image, 4);
    }
    UISize(client);
}

void KeyboardDlg::UISize(CRect client)
{
    if (VREL::MControl* bar = GetControl(ID_CAPTION_BAR))
        bar->SetRect(CRect(client.left + 1, client.top + 1, client.right - 1, client.top + kCaptionHeight));
    if (VREL::MControl* title = GetControl(ID_CAPTION_TEXT))
        title->SetRect(CRect(client.left + 20, client.top + 1, client.left + 520, client.top + kCaptionHeight));
    for (const ShellButton& button : kButtons) {
        if (VREL::MControl* control = GetControl(button.id))
            control->SetRect(CRect(client.right - button.rightOffset, client.top + 10,
                                   client.right - button.rightOffset + 30, client.top + 40));
    }
}
