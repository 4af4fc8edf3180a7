// The profile widgets of the caption bar.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnProfileListNotify(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::AddProfile(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::DeleteProfile(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::ImportProfile(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::ExportProfile(const ControlNotify&) { return 0; }

void KeyboardDlg::LoadProfileList() {}
void KeyboardDlg::ApplyProfile() {}
