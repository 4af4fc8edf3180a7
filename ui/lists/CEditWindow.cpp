#include "ui/lists/CEditWindow.h"

#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"
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

const wchar_t* CEditWindow::GetWindowClassName() const { return L"MEditWindow"; }

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
    if (rect.IsRectEmpty())
        rect = NativeEdit::FallbackRect(owner->GetRect(), owner->GetFontWidth(), false, 0);
    UINT hAlign = 0, vAlign = 0;
    owner->GetAlignment(hAlign, vAlign);
    PaintManager* manager = owner->GetManager();
    const DWORD style = NativeEdit::WindowStyle(NativeEdit::IsLayered(manager), false, hAlign, m_bPassword != 0);
    HWND window = NativeEdit::Create(*this, manager, rect, style);
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
    switch (msg)
    {
    case WM_KILLFOCUS:
        // The list ends the rename itself; losing the focus reports nothing.
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
        if (m_pOwner && NativeEdit::IsLayered(m_pOwner->GetManager()))
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

LRESULT CEditWindow::OnReflectedCommand(WPARAM wParam)
{
    switch (HIWORD(wParam))
    {
    case EN_CHANGE:
    {
        if (!m_bInitialised || !m_pOwner)
            break;
        const CString text = NativeEdit::WindowText(*this);
        if (text != m_pOwner->GetTitle())
        {
            m_pOwner->SetTitle(text);
            m_pOwner->SendMessageW(NC_TEXT_CHANGED, 0, 0);
            m_pOwner->UpdateControl(1, 0);
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

void CEditWindow::OnDestroyMessage(HWND)
{
    if (m_pOwner && m_pOwner->IsVisible())
        m_pOwner->UpdateControl(1, 0);
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
    delete this;
}

} // namespace VREL
