// The settings page and the system settings panel.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnFirmwareInfo(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnDisableKeyOption(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnSleepTimeChanged(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::FactoryReset(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::CloseSystemSettings(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::SetAutorun(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::SetAutorunMinimize(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::SetExitMode(const ControlNotify&) { return 0; }

void KeyboardDlg::LoadSettingsPage() {}
