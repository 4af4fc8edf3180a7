#include "ui/controls/PushButtons.h"

#include "ui/controls/ButtonBalloon.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCHelpButton(
    MakeControlClass<CHelpButton, ControlForm::TitleVisibleEnabled>(L"CHelpButton"));

// Anchor of the balloon relative to the button's top-left corner.
constexpr int kAnchorRight = 20;
constexpr int kAnchorLeft = -2;

} // namespace

CHelpButton::CHelpButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_state(BUTTON_STATE_NORMAL),
      m_balloonMode(AIRBLADDER_MODE_LEFT)
{
    m_frameCount = 1;
}

void CHelpButton::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, 1, 0, [&](const StateCell& cell) {
        if (!m_pImage)
            return;
        cell.graphics.DrawImage(m_pImage, Gdiplus::Rect(0, 0, cell.width, cell.height), 0, 0,
                                static_cast<INT>(m_pImage->GetWidth()), static_cast<INT>(m_pImage->GetHeight()),
                                Gdiplus::UnitPixel);
    });
}

int CHelpButton::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_title.IsEmpty())
        return 0;
    const int kind = static_cast<int>(m_id);
    if (!m_rect.PtInRect(pt))
    {
        ButtonBalloon::Hide(m_pManager, kind);
        return 0;
    }
    const int dx = m_balloonMode == AIRBLADDER_MODE_LEFT ? kAnchorLeft : kAnchorRight;
    ButtonBalloon::Show(m_pManager, m_title, CPoint(m_rect.left + dx, m_rect.top), m_balloonMode, kind);
    return 1;
}

} // namespace VREL
