#include "ui/lists/CEditWindow.h"

#include "ui/framework/MControlFont.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

constexpr COLORREF kDefaultBack = 0xD2D2D2;
constexpr COLORREF kDefaultText = 0x000AFB;

} // namespace

CEditWindow::CEditWindow()
    : InPlaceEdit(nullptr, kDefaultBack, kDefaultText),
      m_bPassword(0),
      m_bMultiLine(0),
      m_bReadOnly(0),
      m_bNumberOnly(0),
      m_limit(NativeEdit::kDefaultLimit),
      m_passwordChar(NativeEdit::kDefaultPasswordChar),
      m_hFont(nullptr),
      m_ppOwnerSlot(nullptr)
{
}

CEditWindow::~CEditWindow()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

const wchar_t* CEditWindow::GetWindowClassName() const { return NativeEdit::kFieldClassName; }

int CEditWindow::SetEditColor(COLORREF back, COLORREF text)
{
    m_backColor = back;
    m_textColor = text;
    DropBackBrush();
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
    NativeEdit::Setup setup;
    setup.font = NativeEdit::FontFor(m_hFont, *owner);
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

void CEditWindow::StoreText(const CString& text) { m_pOwner->SetTitle(text); }

void CEditWindow::ClearOwnerSlot()
{
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
}

} // namespace VREL
