#include "ui/controls/PushInput.h"

#include "ui/framework/MControl.h"
#include "ui/framework/NotifyCode.h"

namespace VREL {

namespace {

bool Inside(const MControl& button, CPoint pt) { return button.GetRect().PtInRect(pt); }

void ShowCursor(bool hand) { ::SetCursor(::LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW)); }

} // namespace

int PushInput::Move(MControl& button, BUTTON_STATE& state, CPoint pt, bool setCursor)
{
    if (!button.IsEnabled() || state == BUTTON_STATE_PRESSED)
        return 0;
    const bool inside = Inside(button, pt);
    if (setCursor)
        ShowCursor(inside);
    const BUTTON_STATE next = inside ? BUTTON_STATE_HOVER : BUTTON_STATE_NORMAL;
    if (next == state)
        return 0;
    state = next;
    button.UpdateControl(0, 0);
    return 1;
}

int PushInput::Down(MControl& button, BUTTON_STATE& state, CPoint pt, bool setCursor)
{
    if (!button.IsEnabled() || !Inside(button, pt))
        return 0;
    if (setCursor)
        ShowCursor(true);
    const bool changed = state != BUTTON_STATE_PRESSED;
    state = BUTTON_STATE_PRESSED;
    button.SendMessageW(NC_PRESSED, 0, 0);
    if (!changed)
        return 0;
    button.UpdateControl(0, 0);
    return 1;
}

int PushInput::Up(MControl& button, BUTTON_STATE& state, CPoint pt, ClickOrder order,
                  const std::function<void()>& beforeClick)
{
    if (!button.IsEnabled())
        return 0;
    const bool inside = Inside(button, pt);
    const BUTTON_STATE next = inside ? BUTTON_STATE_HOVER : BUTTON_STATE_NORMAL;
    if (next == state)
        return 0;
    const bool click = inside && state == BUTTON_STATE_PRESSED;
    if (click && order == NOTIFY_THEN_REPAINT)
    {
        if (beforeClick)
            beforeClick();
        button.SendMessageW(NC_CLICKED, 0, 0);
        // The owner may have disabled the button while it handled the
        // click; that look wins over the hover look of the release.
        if (state != BUTTON_STATE_PRESSED)
        {
            button.UpdateControl(0, 0);
            return 1;
        }
    }
    state = next;
    button.UpdateControl(0, 0);
    if (click && order == REPAINT_THEN_NOTIFY)
    {
        if (beforeClick)
            beforeClick();
        button.SendMessageW(NC_CLICKED, 0, 0);
    }
    return 1;
}

void PushInput::Enable(MControl& button, BUTTON_STATE& state, int enabled)
{
    if (enabled == button.IsEnabled())
        return;
    button.MControl::SetControlEnabled(enabled);
    state = enabled ? BUTTON_STATE_NORMAL : BUTTON_STATE_DISABLED;
    button.UpdateControl(0, 0);
}

} // namespace VREL
