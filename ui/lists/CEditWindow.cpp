#include "ui/lists/CEditWindow.h"

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/MControlFont.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

constexpr COLORREF kDefaultBack = 0xD2D2D2;
constexpr COLORREF kDefaultText = 0x000AFB;

} // namespace

CEditWindow::CEditWindow()
    : m_pOwner(nullptr),
      m_hBackBrush(nullptr),
      m_bInitialised(0),
      m_bBlink(0),
      m_bPassword(0),
      m_bMultiLine(0),
      m_bReadOnly(0),
      m_bNumberOnly(0),
      m_limit(NativeEdit::kDefaultLimit),
      m_passwordChar(NativeEdit::kDefaultPasswordChar),
      m_backColor(kDefaultBack),
      m_textColor(kDefaultText),
      m_hFont(nullptr),
      m_ppOwnerSlot(nullptr)
{
}

CEditWindow::~CEditWindow()
{
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

const wchar_t* CEditWindow::GetWindowClassName() const { return NativeEdit::kFieldClassName; }

const wchar_t* CEditWindow::GetSuperClassName() const { return NativeEdit::kSuperClass; }

int CEditWindow::SetEditColor(COLORREF back, COLORREF text)
{
    m_backColor = back;
    m_textColor = text;
    if (m_hBackBrush)
    {
        ::DeleteObject(m_hBackBrush);
        m_hBackBrush = nullptr;
    }
    return 1;
}

HWND CEditWindow::CreateEdit(MControlFont* owner, CRect rect)
{
    if (!owner)
        return nullptr;
    m_pOwner = owner;
    HWND window = NativeEdit::CreateOver(*this, *owner, rect, 0, m_bPassword != 0);
    if (!window)
        return nullptr;
    if (!m_hFont)
        m_hFont = NativeEdit::MakeFont(owner->GetTextFont(), owner->GetFontWidth(),
                                       static_cast<int>(owner->GetFontStyle()));
    NativeEdit::Setup setup;
    setup.font = m_hFont;
    setup.limit = m_limit;
    setup.password = m_bPassword != 0;
    setup.passwordChar = m_passwordChar;
    setup.text = owner->GetTitle();
    setup.enabled = owner->IsEnabled() != 0;
    setup.readOnly = m_bReadOnly != 0;
    setup.numberOnly = m_bNumberOnly != 0;
    NativeEdit::Initialise(*this, setup);
    m_bInitialised = 1;
    return window;
}

LRESULT CEditWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (NativeEdit::AnswerCommon(*this, msg, wParam, manager, m_bBlink, [this] { CopyTextToOwner(); }))
        return 0;
    switch (msg)
    {
    case WM_KILLFOCUS:
        // The list ends the rename itself; losing the focus reports nothing.
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

void CEditWindow::CopyTextToOwner()
{
    if (!m_bInitialised || !m_pOwner)
        return;
    const CString text = NativeEdit::WindowText(*this);
    if (text == m_pOwner->GetTitle())
        return;
    m_pOwner->SetTitle(text);
    NativeEdit::ReportTextChange(*m_pOwner);
}

void CEditWindow::OnDestroyMessage(HWND)
{
    NativeEdit::RepaintOwner(m_pOwner);
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
    // Destroyed from inside one of its own messages, this object is still on
    // the stack.
    DeleteLater(this);
}

} // namespace VREL
