#include "ui/lists/CEditWnd2.h"

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

CEditWnd2::CEditWnd2(MControlFont* combo) : InPlaceEdit(combo, kDefaultBack, kDefaultText), m_ppOwnerSlot(nullptr) {}

CEditWnd2::~CEditWnd2() = default;

const wchar_t* CEditWnd2::GetWindowClassName() const { return L"CEditWnd2"; }

void CEditWnd2::SetEditColor(COLORREF back, COLORREF text)
{
    if (back != m_backColor)
        DropBackBrush();
    m_backColor = back;
    m_textColor = text;
}

HWND CEditWnd2::CreateEdit(CRect textRect, HFONT font)
{
    if (!m_pOwner)
        return nullptr;
    HWND window = NativeEdit::CreateOver(*this, *m_pOwner, textRect, kBandShift, false);
    if (!window)
        return nullptr;
    NativeEdit::Setup setup;
    setup.font = font;
    setup.limit = kComboEditLimit;
    setup.text = m_pOwner->GetTitle();
    setup.enabled = m_pOwner->IsEnabled() != 0;
    NativeEdit::Initialise(*this, setup);
    m_bInitialised = 1;
    return window;
}

// Stored only: the report's repaint of the combo follows.
void CEditWnd2::StoreText(const CString& text) { m_pOwner->SetControlTitle(text); }

void CEditWnd2::ClearOwnerSlot()
{
    if (m_ppOwnerSlot && *m_ppOwnerSlot == this)
        *m_ppOwnerSlot = nullptr;
}

} // namespace VREL
