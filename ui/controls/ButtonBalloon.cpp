#include "ui/controls/ButtonBalloon.h"

#include "ui/framework/PaintManager.h"

namespace VREL {

int ButtonBalloon::Show(PaintManager* manager, const CString& text, CPoint clientPoint, AIRBLADDER_MODE mode,
                        int kind)
{
    if (!manager || text.IsEmpty())
        return 0;
    // The point is a place of the window: without one there is nowhere to
    // show the balloon.
    HWND window = manager->GetPaintWnd();
    if (!window || !::IsWindow(window))
        return 0;
    POINT screen = clientPoint;
    ::ClientToScreen(window, &screen);
    manager->SetAirBladderMsg(text, screen, AIRBLADDER_TYPE_AUTO_HIDE, mode);
    return manager->ShowAirBladder(SW_SHOW, kind);
}

int ButtonBalloon::Hide(PaintManager* manager, int kind)
{
    if (!manager || !manager->GetAirBladder())
        return 0;
    return manager->ShowAirBladder(SW_HIDE, kind);
}

} // namespace VREL
