#include "ui/controls/PushButtons.h"

#include "ui/framework/NotifyCode.h"

namespace VREL {

namespace {

void ShowCursor(bool hand) { ::SetCursor(::LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW)); }

} // namespace

MPushButtonBase::MPushButtonBase(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled, ClickOrder order, bool handCursor)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_state(BUTTON_STATE_NORMAL),
      m_cursorOnMove(handCursor),
      m_cursorOnDown(handCursor),
      m_pointerRepaints(true),
      m_clickOrder(order)
{
}

int MPushButtonBase::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_state == BUTTON_STATE_PRESSED)
        return 0;
    const bool inside = m_rect.PtInRect(pt) != 0;
    if (m_cursorOnMove)
        ShowCursor(inside);
    const BUTTON_STATE next = inside ? BUTTON_STATE_HOVER : BUTTON_STATE_NORMAL;
    if (next == m_state)
        return 0;
    m_state = next;
    if (m_pointerRepaints)
        UpdateControl(0, 0);
    return 1;
}

int MPushButtonBase::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    if (m_cursorOnDown)
        ShowCursor(true);
    const bool changed = m_state != BUTTON_STATE_PRESSED;
    m_state = BUTTON_STATE_PRESSED;
    BeforePress();
    SendMessageW(NC_PRESSED, 0, 0);
    if (!changed)
        return 0;
    UpdateControl(0, 0);
    return 1;
}

int MPushButtonBase::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const bool inside = m_rect.PtInRect(pt) != 0;
    const BUTTON_STATE next = inside ? BUTTON_STATE_HOVER : BUTTON_STATE_NORMAL;
    if (next == m_state)
        return 0;
    const bool click = inside && m_state == BUTTON_STATE_PRESSED;
    if (click && m_clickOrder == NOTIFY_THEN_REPAINT)
    {
        BeforeClick();
        SendMessageW(NC_CLICKED, 0, 0);
        // The owner may have disabled the button while it handled the
        // click; that look wins over the hover look of the release.
        if (m_state != BUTTON_STATE_PRESSED)
        {
            UpdateControl(0, 0);
            return 1;
        }
    }
    m_state = next;
    if (click || m_pointerRepaints)
        UpdateControl(0, 0);
    if (click && m_clickOrder == REPAINT_THEN_NOTIFY)
    {
        BeforeClick();
        SendMessageW(NC_CLICKED, 0, 0);
    }
    return 1;
}

void MPushButtonBase::SetControlEnabled(int enabled)
{
    if (enabled == m_bEnabled)
        return;
    MControl::SetControlEnabled(enabled);
    m_state = enabled ? BUTTON_STATE_NORMAL : BUTTON_STATE_DISABLED;
    UpdateControl(0, 0);
}

} // namespace VREL
