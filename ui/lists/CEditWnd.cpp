#include "ui/lists/CEditWnd.h"

#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/lists/MEdit.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

CEditWnd::CEditWnd(MEdit* owner) : m_pOwner(owner), m_hBackBrush(nullptr), m_bInitialised(0), m_bBlink(0) {}

CEditWnd::~CEditWnd()
{
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

const wchar_t* CEditWnd::GetWindowClassName() const { return L"MEditWindow"; }

const wchar_t* CEditWnd::GetSuperClassName() const { return NativeEdit::kSuperClass; }

LRESULT CEditWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_KILLFOCUS:
        if (m_pOwner)
            m_pOwner->SendMessageW(NC_EDIT_END, 0, 0);
        ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        break;
    case WM_CHAR:
        if (m_pOwner && !m_pOwner->GetCharMessage())
            return 1;
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
        return OnReflectedCommand(wParam, lParam);
    case WM_CTLCOLOREDIT + NativeEdit::kReflectOffset:
    case WM_CTLCOLORSTATIC + NativeEdit::kReflectOffset:
        if (!m_pOwner)
            return 0;
        return NativeEdit::AnswerColour(reinterpret_cast<HDC>(wParam), m_pOwner->GetEditBKColor(),
                                        m_pOwner->GetEditTextColor(), m_hBackBrush);
    default:
        break;
    }
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CEditWnd::OnReflectedCommand(WPARAM wParam, LPARAM)
{
    switch (HIWORD(wParam))
    {
    case EN_CHANGE:
    {
        if (!m_bInitialised || !m_pOwner)
            break;
        const CString text = NativeEdit::WindowText(*this);
        if (text != m_pOwner->GetTitleEx())
        {
            m_pOwner->SetEditText(text);
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

void CEditWnd::OnDestroyMessage(HWND)
{
    if (MEdit* owner = m_pOwner)
    {
        m_pOwner = nullptr;
        if (owner->IsVisible())
            owner->UpdateControl(1, 0);
        if (owner->GetEditWindow() == this)
            owner->SetEditWindow(nullptr);
    }
    delete this;
}

} // namespace VREL
