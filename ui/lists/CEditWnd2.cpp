#include "ui/lists/CEditWnd2.h"

#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

// The combo's editor takes this many characters whatever the combo's
// other settings.
constexpr int kComboEditLimit = 60;
constexpr COLORREF kDefaultBack = 0xFBFBFB;
constexpr COLORREF kDefaultText = 0x050505;
// Its fallback band sits one pixel lower than centred.
constexpr int kBandShift = 1;

} // namespace

CEditWnd2::CEditWnd2(MControlFont* combo)
    : m_pCombo(combo),
      m_hBackBrush(nullptr),
      m_bInitialised(0),
      m_bBlink(0),
      m_backColor(kDefaultBack),
      m_textColor(kDefaultText),
      m_ppOwnerSlot(nullptr)
{
}

CEditWnd2::~CEditWnd2()
{
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

const wchar_t* CEditWnd2::GetWindowClassName() const { return L"CEditWnd2"; }

const wchar_t* CEditWnd2::GetSuperClassName() const { return NativeEdit::kSuperClass; }

void CEditWnd2::SetEditColor(COLORREF back, COLORREF text)
{
    if (back != m_backColor && m_hBackBrush)
    {
        ::DeleteObject(m_hBackBrush);
        m_hBackBrush = nullptr;
    }
    m_backColor = back;
    m_textColor = text;
}

HWND CEditWnd2::CreateEdit(CRect textRect, HFONT font)
{
    if (!m_pCombo)
        return nullptr;
    if (textRect.IsRectEmpty())
        textRect = NativeEdit::FallbackRect(m_pCombo->GetRect(), m_pCombo->GetFontWidth(), false, kBandShift);
    UINT hAlign = 0, vAlign = 0;
    m_pCombo->GetAlignment(hAlign, vAlign);
    PaintManager* manager = m_pCombo->GetManager();
    const DWORD style = NativeEdit::WindowStyle(NativeEdit::IsLayered(manager), false, hAlign, false);
    HWND window = NativeEdit::Create(*this, manager, textRect, style);
    if (!window)
        return nullptr;
    NativeEdit::Setup setup;
    setup.font = font;
    setup.limit = kComboEditLimit;
    setup.text = m_pCombo->GetTitle();
    setup.enabled = m_pCombo->IsEnabled() != 0;
    NativeEdit::Initialise(*this, setup);
    m_bInitialised = 1;
    return window;
}

LRESULT CEditWnd2::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_KILLFOCUS:
        // The combo ends the edit itself; losing the focus reports nothing.
        ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        break;
    case WM_TIMER:
        if (wParam == NativeEdit::kBlinkTimerId)
        {
            m_bBlink = !m_bBlink;
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_PRINT:
        if (m_pCombo && NativeEdit::IsLayered(m_pCombo->GetManager()))
            return 0;
        break;
    case WM_COMMAND + NativeEdit::kReflectOffset:
        return OnReflectedCommand(wParam);
    case WM_CTLCOLOREDIT + NativeEdit::kReflectOffset:
    case WM_CTLCOLORSTATIC + NativeEdit::kReflectOffset:
        return NativeEdit::AnswerColour(reinterpret_cast<HDC>(wParam), m_backColor, m_textColor, m_hBackBrush);
    default:
        break;
    }
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CEditWnd2::OnReflectedCommand(WPARAM wParam)
{
    switch (HIWORD(wParam))
    {
    case EN_CHANGE:
    {
        if (!m_bInitialised || !m_pCombo)
            break;
        const CString text = NativeEdit::WindowText(*this);
        if (text != m_pCombo->GetTitle())
        {
            // Stored only: the combo's repaint follows below.
            m_pCombo->SetControlTitle(text);
            m_pCombo->SendMessageW(NC_TEXT_CHANGED, 0, 0);
            m_pCombo->UpdateControl(1, 0);
        }
        break;
    }
    case EN_UPDATE:
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        break;
    default:
        break;
    }
    return 0;
}

void CEditWnd2::OnDestroyMessage(HWND)
{
    if (m_pCombo && m_pCombo->IsVisible())
        m_pCombo->UpdateControl(1, 0);
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
    delete this;
}

} // namespace VREL
