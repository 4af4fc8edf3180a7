#include "app/window/CUIMessageBox.h"

#include "ui/controls/MText.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/NotifyCode.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kBackCorner = 30;
constexpr int kTextSize = 16;
constexpr int kButtonTextSize = 14;
constexpr int kButtonFrame = 8;
constexpr int kOkText = 20;
constexpr int kOkLeftText = 23;
constexpr int kCancelText = 25;
constexpr UINT kAlignCentre = 1;
constexpr UINT kVAlignCentre = 4;

VREL::MButton* AddButton(VREL::MDialog& box, int id, const CString& text)
{
    auto* button = dynamic_cast<VREL::MButton*>(box.CreateControl(L"MButton", id, CRect(), text.GetString(), 1, 1));
    if (button)
    {
        button->SetImage(L"btn_apply.png", 4);
        button->SetFrameSize(kButtonFrame);
        button->SetFontWidth(kButtonTextSize);
    }
    return button;
}

} // namespace

CUIMessageBox::CUIMessageBox(const LanguageTexts& texts) : m_texts(texts), m_style(kMessageBoxOk) {}

CUIMessageBox::~CUIMessageBox() = default;

int CUIMessageBox::OnInitDialog()
{
    VREL::MDialog::OnInitDialog();
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 1;
}

void CUIMessageBox::InitUI(CRect client)
{
    SetLayeredWindow(1);
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    const int h = (b - t) / 2;
    const int m = (r - l) / 2;

    if (auto* title = dynamic_cast<VREL::MText*>(CreateArea(L"MText", kTitleId, CRect(20, 15, r - 20, 40),
                                                            m_title.GetString(), 1, 1)))
    {
        title->SetFontWidth(kTextSize);
        title->SetAlignment(kAlignCentre);
    }
    if (auto* message = dynamic_cast<VREL::MText*>(CreateArea(L"MText", kMessageId,
                                                              CRect(20, h - 30, r - 20, h + 30),
                                                              m_message.GetString(), 1, 1)))
    {
        message->SetFontWidth(kTextSize);
        message->SetAlignment(kAlignCentre);
        message->SetVAlignment(kVAlignCentre);
        message->EnableMultiLine(1);
        message->EnableVCenter(1);
    }
    if (m_style == kMessageBoxOk)
    {
        if (auto* ok = AddButton(*this, kOkId, m_texts.GetLanguageText(kOkText)))
            ok->SetRect(CRect(100, b - 50, r - 100, b - 14));
    }
    else if (m_style == kMessageBoxOkCancel)
    {
        if (auto* ok = AddButton(*this, kOkId, m_texts.GetLanguageText(kOkLeftText)))
            ok->SetRect(CRect(m - 120, b - 50, m - 20, b - 14));
        if (auto* cancel = AddButton(*this, kCancelId, m_texts.GetLanguageText(kCancelText)))
            cancel->SetRect(CRect(m + 20, b - 50, m + 120, b - 14));
    }
}

void CUIMessageBox::UISize(CRect) {}

LRESULT CUIMessageBox::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (code != VREL::NC_CLICKED)
        return 0;
    if (id == kOkId)
    {
        DoOK();
        return 1;
    }
    if (id == kCancelId)
    {
        DoCancel();
        return 1;
    }
    return 0;
}

LRESULT CUIMessageBox::OnDestroy() { return 0; }

int ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* title, int style, const LanguageTexts& texts)
{
    CUIMessageBox* box = new CUIMessageBox(texts);
    box->SetTitle(title);
    box->SetMessage(message);
    box->SetStyle(style);
    box->LoadBKImage(L"bk_prompt.png");
    box->SetBackMode(VREL::BACK_MODE_NINE_GRID, kBackCorner);
    box->Create(parent, kMessageBoxCaption, kStyle, kExStyle, CRect(0, 0, CUIMessageBox::kWidth, CUIMessageBox::kHeight));
    box->CenterWindow(nullptr);
    const int result = static_cast<int>(box->ShowModal(SW_SHOWNORMAL));
    delete box;
    return result;
}

} // namespace tarnwell
