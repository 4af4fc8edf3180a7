// The keys page: layout presets, key resets, Fn layers and key-function assignment.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::OnLayoutPreset(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnResetKeyButton(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::ConfirmResetLayer(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnFnLayerTab(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::FillFunctionList(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::AssignPickedKey(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::AssignFunction(const ControlNotify&) { return 0; }

LRESULT KeyboardDlg::OnKeyDragOver(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::OnKeyDrop(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::OnProfileMenu(WPARAM, LPARAM) { return 0; }

void KeyboardDlg::LoadKeyMap() {}
