#include "app/window/RecordEditDlg.h"

#include "app/window/AppSettings.h"
#include "app/window/LanguageTexts.h"
#include "app/window/MessageTexts.h"
#include "ui/framework/MControlFont.h"
#include "ui/lists/MEdit.h"

namespace {

constexpr UINT NOTIFY_CLICKED = 2;
constexpr UINT NOTIFY_EDIT_ENDED = 29;
constexpr UINT NOTIFY_EDIT_STARTED = 30;
constexpr int TEXT_CLOSE = 5;
constexpr int TEXT_OK = 22;
constexpr wchar_t kLanSection[] = L"LAN";
constexpr COLORREF kEditBack = RGB(0x37, 0x58, 0x53);
// The captured key's name on the dark dialog: the edit's default dark text
// would not read there.
constexpr Gdiplus::ARGB kEditText = 0xFFFFFFFF;
constexpr int kKeyLimit = 10;

CString LanText(int number)
{
    tarnwell::LanguageTexts texts(tarnwell::GetExeFolder().c_str(), tarnwell::GetCurrentLanguage());
    return texts.GetLanguageText(number, kLanSection);
}

} // namespace

RecordEditDlg::RecordEditDlg() : m_keyCode(0), m_eventKind(0) {}

RecordEditDlg::~RecordEditDlg() = default;

int RecordEditDlg::OnInitDialog()
{
    VREL::MDialog::OnInitDialog();
    if (auto* edit = dynamic_cast<VREL::MEdit*>(GetControl(ID_KEY_EDIT))) {
        SetFocusControl(edit);
        edit->SetControlTitle(m_keyName.GetString());
    }
    return 1;
}

void RecordEditDlg::InitUI(CRect client)
{
    if (auto* title = dynamic_cast<VREL::MControlFont*>(
            CreateArea(L"MText", ID_TITLE, CRect(), m_title.GetString(), 1, 1)))
        title->SetAlignment(1);
    if (auto* close =
            dynamic_cast<VREL::MControlFont*>(CreateControl(L"CImageButton", ID_CLOSE, CRect(), nullptr, 1, 1))) {
        close->SetImage(L"sysbtn_close.png", 4);
        close->SetTooltip(LanText(TEXT_CLOSE).GetString());
    }
    CreateArea(L"MText", ID_KEY_LABEL, CRect(), LanText(tarnwell::TEXT_RECORD_EDITOR_KEY).GetString(), 1, 1);
    if (auto* edit = dynamic_cast<VREL::MEdit*>(CreateControl(L"MEdit", ID_KEY_EDIT, CRect(), L"", 1, 1))) {
        edit->SetImage(L"img_edit.png", 4);
        edit->SetEditBKColor(kEditBack);
        edit->SetTextColor(Gdiplus::Color(kEditText));
        edit->SetLimitText(kKeyLimit);
        edit->EnableCharMessage(0);
        edit->SetAlignment(1);
    }
    if (auto* ok = dynamic_cast<VREL::MControlFont*>(
            CreateControl(L"MButton", ID_OK, CRect(), LanText(TEXT_OK).GetString(), 1, 1)))
        ok->SetImage(L"img_button.png", 4);
    UISize(client);
}

void RecordEditDlg::UISize(CRect client)
{
    if (GetControl(ID_TITLE) == nullptr)
        return;
    const int w = client.Width();
    const int r = client.right;
    const int b = client.bottom;
    const struct
    {
        UINT id;
        CRect rect;
    } places[] = {
        {ID_TITLE, CRect(w / 2 - 100, 10, w / 2 + 100, 40)},
        {ID_CLOSE, CRect(r - 40, 15, r - 10, 45)},
        {ID_KEY_LABEL, CRect(25, 60, 125, 90)},
        {ID_KEY_EDIT, CRect(125, 60, 325, 90)},
        {ID_OK, CRect((w - 120) / 2 + 40, b - 50, (w - 120) / 2 + 160, b - 20)},
    };
    for (const auto& place : places) {
        if (VREL::MControl* control = GetControl(place.id))
            control->SetRect(place.rect);
    }
}

LRESULT RecordEditDlg::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (id == ID_KEY_EDIT && code == NOTIFY_EDIT_STARTED) {
        if (auto* edit = dynamic_cast<VREL::MEdit*>(GetControl(ID_KEY_EDIT)))
            edit->SetControlTitle(L"");
        m_recorder.reset();
        m_recorder = std::make_unique<tarnwell::RawInputRecorder>();
        m_recorder->Register(m_hWnd);
        return 1;
    }
    if (id == ID_KEY_EDIT && code == NOTIFY_EDIT_ENDED) {
        m_recorder.reset();
        return 1;
    }
    if (code != NOTIFY_CLICKED)
        return 0;
    if (id == ID_CLOSE) {
        m_recorder.reset();
        DoCancel();
        return 1;
    }
    if (id == ID_OK) {
        m_recorder.reset();
        DoOK();
        return 1;
    }
    return 0;
}

void RecordEditDlg::TakeKeyEvent(const tarnwell::RawInputEvent& event)
{
    if (event.name.empty() || event.kind != tarnwell::RAW_EVENT_KEYBOARD)
        return;
    m_keyCode = event.code;
    m_keyName = CString(event.name);
    m_eventKind = event.kind;
    if (auto* edit = dynamic_cast<VREL::MEdit*>(GetControl(ID_KEY_EDIT)))
        edit->SetControlTitle(m_keyName.GetString());
}

LRESULT RecordEditDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INPUT && m_recorder) {
        tarnwell::RawInputEvent event;
        if (tarnwell::DecodeRawInput(reinterpret_cast<HRAWINPUT>(lParam), event))
            TakeKeyEvent(event);
    }
    return VREL::MDialog::OnWindowMessage(msg, wParam, lParam);
}
