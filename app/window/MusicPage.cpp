// Music lighting: the visualizer's settings and the frames sent to the keyboard.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnMusicSetting(const ControlNotify&) { return 0; }

void KeyboardDlg::BuildMusicGrid() {}
void KeyboardDlg::SendMusicFrame() {}
