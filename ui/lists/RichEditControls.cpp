#include "ui/lists/RichEditControls.h"

#include <algorithm>
#include <cwchar>

#include "ui/controls/ControlFontFamily.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMEditEx(MakeControlClass<MEditEx, ControlForm::TitleVisibleEnabled>(L"MEditEx"));
const ControlRegistrar kRegisterCSpinButton(
    MakeControlClass<CSpinButton, ControlForm::VisibleEnabled>(L"CSpinButton"));

constexpr DWORD kSingleLineStyle = ES_AUTOHSCROLL | WS_HSCROLL;
constexpr DWORD kNumberStyle = ES_AUTOHSCROLL | ES_NUMBER | WS_HSCROLL;
// The text band of the single-line edits is 16 pixels high.
constexpr int kBand = 16;
constexpr int kHalfBand = kBand / 2;

// The logon edit: icon at (5, 16), underline and tip in grey.
constexpr int kLogonFontSize = 16;
constexpr int kLogonPadLeft = 50, kLogonPadTop = 16, kLogonPadRight = 5, kLogonPadBottom = 5;
constexpr int kLogonLayoutTop = 14;
constexpr int kLogonIconX = 5, kLogonIconY = 16;
constexpr Gdiplus::ARGB kLogonGrey = 0xFE898989;
constexpr float kLogonTipSize = 14.0f;
constexpr float kLogonLabelSize = 9.0f;
constexpr int kLogonTipWidthLoss = 60;
constexpr int kLogonLabelX = 2;

// The spin box: the frame leaves 15 pixels at the right; the buttons sit
// 4 pixels inside the text area's right edge, one pixel off the middle.
constexpr Gdiplus::ARGB kSpinTextColour = 0xFE050505;
constexpr int kSpinRightStrip = 15;
constexpr int kSpinButtonInset = 4;
constexpr int kSpinButtonGap = 1;
constexpr int kSpinDefaultMax = 100;
const wchar_t kSpinUpImage[] = L"img_spin_up.png";
const wchar_t kSpinDownImage[] = L"img_spin_down.png";
constexpr int kSpinButtonFrames = 4;

} // namespace

// ==== MEditEx =====================================================================================

MEditEx::MEditEx(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled)
    : MRichEdit(owner, id, rect, tip, visible, enabled)
{
    m_style = kSingleLineStyle;
}

MEditEx::~MEditEx() = default;

void MEditEx::SetControlRect(CRect rect)
{
    m_rect = rect;
    const int band = rect.Height() / 2 - kHalfBand;
    m_padding.top = band;
    m_padding.bottom = band;
    LayOutTextArea(m_padding, 0);
}

void MEditEx::DrawControl(HDC& dc, CRect paint) { DrawFramedLook(dc, paint, m_rect.Width(), TipLook::Centred); }

// ==== CLogonEdit ===================================================================================

CLogonEdit::CLogonEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled)
    : MRichEdit(owner, id, rect, tip, visible, enabled)
{
    m_style = kSingleLineStyle;
    m_fontSize = kLogonFontSize;
    m_padding = CRect(kLogonPadLeft, kLogonPadTop, kLogonPadRight, kLogonPadBottom);
}

CLogonEdit::~CLogonEdit() = default;

void CLogonEdit::SetControlRect(CRect rect)
{
    m_rect = rect;
    m_padding.top = kLogonLayoutTop;
    m_padding.bottom = kLogonPadBottom;
    LayOutTextArea(m_padding, 0);
}

int CLogonEdit::OnControlMouseMove(UINT, CPoint) { return 0; }

void CLogonEdit::DrawControl(HDC& dc, CRect paint)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, width, height);
        if (!m_hMemDC)
            return;
        ::BitBlt(m_hMemDC, 0, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
        Gdiplus::Graphics graphics(m_hMemDC);
        if (m_pIcon && m_iconFrameWidth > 0)
            graphics.DrawImage(m_pIcon, Gdiplus::Rect(kLogonIconX, kLogonIconY, m_iconFrameWidth, m_iconHeight), 0,
                               0, static_cast<int>(m_pIcon->GetWidth()), static_cast<int>(m_pIcon->GetHeight()),
                               Gdiplus::UnitPixel);
        Gdiplus::Pen line{Gdiplus::Color(kLogonGrey), 1.0f};
        graphics.DrawLine(&line, 0, height - 1, width, height - 1);
        if (m_title.IsEmpty())
        {
            const int padded = height - m_padding.top - m_padding.bottom;
            const int top = (padded - kBand) / 2 + m_padding.top + 1;
            DrawTip(m_hMemDC, CRect(m_padding.left, top, m_padding.left + width - kLogonTipWidthLoss, top + kBand),
                    kLogonTipSize, kLogonGrey, true);
        }
        else
        {
            DrawTip(m_hMemDC, CRect(kLogonLabelX, 0, kLogonLabelX + width - kLogonTipWidthLoss, kBand),
                    kLogonLabelSize, kLogonGrey, true);
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, 0, SRCCOPY);
    DrawText(dc, paint);
}

// ==== CSpinButton ===================================================================================

CSpinButton::CSpinButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MRichEdit(owner, id, rect, L"", visible, enabled),
      m_value(0),
      m_min(0),
      m_max(kSpinDefaultMax),
      m_pUp(nullptr),
      m_pDown(nullptr),
      m_bWriting(false)
{
    m_style = kNumberStyle;
    MControlFont::SetTextColor(Gdiplus::Color(kSpinTextColour));
    m_textColour = RGB(0x05, 0x05, 0x05);
}

CSpinButton::~CSpinButton() = default;

void CSpinButton::InitControl(PaintManager* manager)
{
    const bool first = !m_bRichInitialised;
    MRichEdit::InitControl(manager);
    if (!first)
        return;
    for (UINT id : {kUpButtonId, kDownButtonId})
    {
        MControl* button = MPanel::CreateControl(L"CImageButton", id, CRect(), L"", 1, 1);
        if (auto* strip = dynamic_cast<MControlFont*>(button))
            strip->SetImage(id == kUpButtonId ? kSpinUpImage : kSpinDownImage, kSpinButtonFrames);
        (id == kUpButtonId ? m_pUp : m_pDown) = button;
    }
    SetControlRect(m_rect);
}

void CSpinButton::SetControlRect(CRect rect)
{
    m_rect = rect;
    const int band = rect.Height() / 2 - kHalfBand;
    m_padding.top = band;
    m_padding.bottom = band;
    m_textArea = CRect(rect.left + m_padding.left, rect.top + m_padding.top,
                       rect.right - m_padding.right - kSpinRightStrip, rect.bottom - m_padding.bottom);
    if (m_pHost)
        m_pHost->SetClientRect(m_textArea);
    LayOutButtons();
}

void CSpinButton::LayOutButtons()
{
    const int edge = m_textArea.right;
    const int middle = m_rect.top + m_rect.Height() / 2;
    for (MControl* button : {m_pUp, m_pDown})
    {
        auto* strip = dynamic_cast<MControlFont*>(button);
        if (!strip)
            continue;
        const CSize size = strip->GetImageSize();
        const int left = edge - size.cx - kSpinButtonInset;
        const int top = button == m_pUp ? middle - size.cy - kSpinButtonGap : middle + kSpinButtonGap;
        button->SetRect(CRect(left, top, edge - kSpinButtonInset, top + size.cy));
    }
}

void CSpinButton::SetControlEnabled(int enabled)
{
    m_bEnabled = enabled ? 1 : 0;
    for (MControl* button : {m_pUp, m_pDown})
        if (button)
            button->SetEnabled(m_bEnabled);
}

// The frame leaves the buttons' strip free; the spin box shows no tip.
void CSpinButton::DrawControl(HDC& dc, CRect paint)
{
    DrawFramedLook(dc, paint, m_rect.Width() - kSpinRightStrip, TipLook::None);
}

LRESULT CSpinButton::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (code != NC_CLICKED || (id != kUpButtonId && id != kDownButtonId))
        return 0;
    int value = m_value;
    if (id == kUpButtonId)
        value = value + 1 > m_max ? m_min : value + 1;
    else
        value = value - 1 < m_min ? m_max : value - 1;
    SetCurValue(value);
    SendMessageW(NC_SPIN, 0, 0);
    return 0;
}

void CSpinButton::SetCurValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    ShowValue(value);
}

void CSpinButton::ShowValue(int value)
{
    CString text;
    text.Format(L"%d", value);
    m_bWriting = true;
    SetTitle(text);
    m_bWriting = false;
    Repaint(1);
}

void CSpinButton::SetRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = maximum;
}

void CSpinButton::OnTxNotify(DWORD code, void* data)
{
    MRichEdit::OnTxNotify(code, data);
    if (code != EN_CHANGE || m_bWriting)
        return;
    const CString text = m_title.IsEmpty() ? CString(L"0") : m_title;
    const long long typed = std::wcstoll(text, nullptr, 10);
    const long long clamped = std::min<long long>(std::max<long long>(typed, m_min), m_max);
    const int value = static_cast<int>(clamped);
    if (value != m_value)
    {
        SetCurValue(value);
        return;
    }
    // The value stayed, but the typed number lay outside the range: the
    // text must not keep showing it.
    if (clamped != typed)
        ShowValue(value);
}

} // namespace VREL
