#include "ui/lists/CEditWnd.h"

#include "ui/framework/NotifyCode.h"
#include "ui/lists/MEdit.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

// The colours are the field's, read at every request.
CEditWnd::CEditWnd(MEdit* owner) : InPlaceEdit(owner, NativeEdit::kSystemColours, 0) {}

CEditWnd::~CEditWnd() = default;

const wchar_t* CEditWnd::GetWindowClassName() const { return NativeEdit::kFieldClassName; }

// Only ever made with a field as its owner.
MEdit* CEditWnd::GetOwner() const { return static_cast<MEdit*>(m_pOwner); }

LRESULT CEditWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    MEdit* field = GetOwner();
    switch (msg)
    {
    case WM_KILLFOCUS:
        if (field)
            field->SendMessageW(NC_EDIT_END, 0, 0);
        break;
    case WM_CHAR:
        if (field && !field->GetCharMessage())
            return 1;
        break;
    case WM_CTLCOLOREDIT + NativeEdit::kReflectOffset:
    case WM_CTLCOLORSTATIC + NativeEdit::kReflectOffset:
        if (!field)
            return 0;
        m_backColor = field->GetEditBKColor();
        m_textColor = field->GetEditTextColor();
        break;
    default:
        break;
    }
    return InPlaceEdit::OnWindowMessage(msg, wParam, lParam);
}

CString CEditWnd::OwnerText() { return GetOwner()->GetTitleEx(); }

void CEditWnd::StoreText(const CString& text) { GetOwner()->SetEditText(text); }

void CEditWnd::ClearOwnerSlot()
{
    MEdit* field = GetOwner();
    if (field && field->GetEditWindow() == this)
        field->SetEditWindow(nullptr);
}

} // namespace VREL
