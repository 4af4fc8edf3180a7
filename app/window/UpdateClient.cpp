// Checking for, downloading and installing updates.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnUpdateResult(WPARAM, LPARAM) { return 0; }

void KeyboardDlg::DownloadAppUpdate() {}
void KeyboardDlg::DownloadFirmware() {}
