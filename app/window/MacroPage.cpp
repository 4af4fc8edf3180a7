// The macro page: the macro list, recording and the event editor.
// The handlers are dispatched by KeyboardDlg's tables; until the page's
// behaviour lands they report the notification as not handled.

#include "app/window/KeyboardDlg.h"

LRESULT KeyboardDlg::ShowMacroMenu(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnRecordListNotify(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnMacroField(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnEventValueField(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::AddMacro(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::DeleteMacro(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnEventEditButton(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::ClearRecordItems(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::ToggleRecording(const ControlNotify&) { return 0; }
LRESULT KeyboardDlg::OnMacroRadio(const ControlNotify&) { return 0; }

LRESULT KeyboardDlg::OnMacroMenu(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::EditRecordItem(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::OnRecordMenu(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::OnRawInput(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDlg::OnHookKey(WPARAM, LPARAM) { return 0; }

void KeyboardDlg::LoadMacroList() {}
