#include "ui/lists/CEditWnd.h"

#include "ui/framework/DeferredDelete.h"
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

const wchar_t* CEditWnd::GetWindowClassName() const { return NativeEdit::kFieldClassName; }

const wchar_t* CEditWnd::GetSuperClassName() const { return NativeEdit::kSuperClass; }

LRESULT CEditWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (NativeEdit::AnswerCommon(*this, msg, wParam, manager, m_bBlink, [this] { CopyTextToField(); }))
        return 0;
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

void CEditWnd::CopyTextToField()
{
    if (!m_bInitialised || !m_pOwner)
        return;
    const CString text = NativeEdit::WindowText(*this);
    if (text == m_pOwner->GetTitleEx())
        return;
    m_pOwner->SetEditText(text);
    NativeEdit::ReportTextChange(*m_pOwner);
}

void CEditWnd::OnDestroyMessage(HWND)
{
    if (MEdit* owner = m_pOwner)
    {
        m_pOwner = nullptr;
        NativeEdit::RepaintOwner(owner);
        if (owner->GetEditWindow() == this)
            owner->SetEditWindow(nullptr);
    }
    // The window may be destroyed from inside one of its own messages (the
    // field removed when its edit ends): this object is still on the stack.
    DeleteLater(this);
}

} // namespace VREL
