// The lighting page: light modes, colours, brightness, speed and direction.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnLightKeysChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnLightModeChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnPaletteColor(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnRgbEdit(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnEnableLight(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnBrightnessChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnSpeedChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnDirectionChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnColorfulChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnColorCell(const ControlNotify&) { return 0; }

void KeyboardDlg::LoadLightPage() {}
