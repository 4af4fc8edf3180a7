#include "ui/lists/InPlaceEdit.h"

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/MControlFont.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

InPlaceEdit::InPlaceEdit(MControlFont* owner, COLORREF back, COLORREF text)
    : m_pOwner(owner),
      m_hBackBrush(nullptr),
      m_bInitialised(0),
      m_bBlink(0),
      m_backColor(back),
      m_textColor(text)
{
}

InPlaceEdit::~InPlaceEdit() { DropBackBrush(); }

const wchar_t* InPlaceEdit::GetSuperClassName() const { return NativeEdit::kSuperClass; }

void InPlaceEdit::DropBackBrush()
{
    if (m_hBackBrush)
    {
        ::DeleteObject(m_hBackBrush);
        m_hBackBrush = nullptr;
    }
}

LRESULT InPlaceEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (NativeEdit::AnswerCommon(*this, msg, wParam, manager, m_bBlink, [this] { CopyTextToOwner(); }))
        return 0;
    switch (msg)
    {
    case WM_KILLFOCUS:
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

void InPlaceEdit::CopyTextToOwner()
{
    if (!m_bInitialised || !m_pOwner)
        return;
    const CString text = NativeEdit::WindowText(*this);
    if (text == m_pOwner->GetTitle())
        return;
    StoreText(text);
    NativeEdit::ReportTextChange(*m_pOwner);
}

void InPlaceEdit::OnDestroyMessage(HWND)
{
    NativeEdit::RepaintOwner(m_pOwner);
    ClearOwnerSlot();
    // Destroyed from inside one of its own messages, this object is still on
    // the stack.
    DeleteLater(this);
}

} // namespace VREL
