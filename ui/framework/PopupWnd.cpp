#include "ui/framework/PopupWnd.h"

#include "ui/framework/MControl.h"

namespace VREL {

namespace {

// Pixels of this colour become transparent with SetupBackTranslucent.
constexpr COLORREF kPopupColorKey = 0xF1F1F1;

} // namespace

MPopupWnd::MPopupWnd() : MPopupBase(nullptr, kPopupColorKey) {}

MPopupWnd::~MPopupWnd() = default;

LRESULT MPopupWnd::SendMessageToParent(UINT code, WPARAM wParam, LPARAM lParam)
{
    MControl* control = dynamic_cast<MControl*>(m_pOwner);
    if (!control)
        return 0;
    return control->OnMessage(0, code, wParam, lParam);
}

} // namespace VREL
