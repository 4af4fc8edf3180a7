#include "ui/lists/InPlaceEdit.h"

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"
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
    if (text == OwnerText())
        return;
    StoreText(text);
    NativeEdit::ReportTextChange(*m_pOwner);
}

CString InPlaceEdit::OwnerText() { return m_pOwner->GetTitle(); }

void InPlaceEdit::Discard()
{
    DetachOwner();
    const HWND handle = GetSafeHwnd();
    if (handle && ::IsWindow(handle))
        DestroyWindow();  // its destroy handler deletes the object
    else
        delete this;
}

HWND InPlaceEdit::ShownHandle(InPlaceEdit* edit)
{
    if (!edit)
        return nullptr;
    const HWND handle = edit->GetSafeHwnd();
    if (!handle || !::IsWindow(handle) || !(edit->GetStyle() & WS_VISIBLE))
        return nullptr;
    return handle;
}

void InPlaceEdit::Present(const CString& text)
{
    SetWindowTextW(text);
    ShowWindow(SW_SHOW);
    SendMessageW(EM_SETSEL, static_cast<WPARAM>(text.GetLength()), static_cast<LPARAM>(-1));
    SetFocus();
}

void InPlaceEdit::Conclude(InPlaceEdit* edit, MControl& control, CString& title, const std::function<void()>& repaint)
{
    if (!ShownHandle(edit))
        return;
    const CString text = NativeEdit::WindowText(*edit);
    if (text != title)
    {
        title = text;
        repaint();
    }
    edit->ShowWindow(SW_HIDE);
    control.SendMessageW(NC_EDIT_END, 0, 0);
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
