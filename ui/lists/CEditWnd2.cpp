#include "ui/lists/CEditWnd2.h"

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/MControlFont.h"
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
    HWND window = NativeEdit::CreateOver(*this, *m_pCombo, textRect, kBandShift, false);
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
    PaintManager* manager = m_pCombo ? m_pCombo->GetManager() : nullptr;
    if (NativeEdit::AnswerCommon(*this, msg, wParam, manager, m_bBlink, [this] { CopyTextToCombo(); }))
        return 0;
    switch (msg)
    {
    case WM_KILLFOCUS:
        // The combo ends the edit itself; losing the focus reports nothing.
        ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        break;
    case WM_CTLCOLOREDIT + NativeEdit::kReflectOffset:
    case WM_CTLCOLORSTATIC + NativeEdit::kReflectOffset:
        return NativeEdit::AnswerColour(reinterpret_cast<HDC>(wParam), m_backColor, m_textColor, m_hBackBrush);
    default:
        break;
    }
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

void CEditWnd2::CopyTextToCombo()
{
    if (!m_bInitialised || !m_pCombo)
        return;
    const CString text = NativeEdit::WindowText(*this);
    if (text == m_pCombo->GetTitle())
        return;
    // Stored only: the report's repaint of the combo follows.
    m_pCombo->SetControlTitle(text);
    NativeEdit::ReportTextChange(*m_pCombo);
}

void CEditWnd2::OnDestroyMessage(HWND)
{
    NativeEdit::RepaintOwner(m_pCombo);
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
    // Destroyed from inside one of its own messages, this object is still on
    // the stack.
    DeleteLater(this);
}

} // namespace VREL
