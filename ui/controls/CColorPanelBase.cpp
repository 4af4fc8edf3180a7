#include "ui/controls/ColorControls.h"

namespace VREL {

CColorPanelBase::CColorPanelBase(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible)
{
}

void CColorPanelBase::DrawControl(HDC&, CRect) {}

void CColorPanelBase::SetControlRect(CRect rect)
{
    m_rect = rect;
    PlaceChildren(rect);
    // The panel's own layout: its bars and the content size of the moved
    // children.
    MPanel::SetControlRect(rect);
    UpdateControl(1, 0);
}

void CColorPanelBase::SetControlEnabled(int enabled)
{
    m_bEnabled = enabled;
    for (MControl* child : EnabledChildren())
    {
        if (child && child->IsEnabled() != enabled)
        {
            child->SetControlEnabled(enabled);
            child->UpdateControl(1, 0);
        }
    }
}

int CColorPanelBase::OnControlMouseMove(UINT, CPoint) { return m_bEnabled; }

int CColorPanelBase::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled; }

int CColorPanelBase::OnControlLButtonUp(UINT, CPoint) { return m_bEnabled; }

int CColorPanelBase::OnControlScroll(int, UINT, CPoint) { return 1; }

} // namespace VREL
