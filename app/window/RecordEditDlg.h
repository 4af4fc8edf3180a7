#pragma once

// The small modal dialog of the macro page's insert menu that captures one
// key: while its edit is being edited, raw input comes to the dialog and the
// last key seen (down or up) is the captured key.

#include <windows.h>

#include <memory>

#include "app/window/RawInput.h"
#include "ui/framework/CString.h"
#include "ui/framework/MDialog.h"

class RecordEditDlg : public VREL::MDialog
{
public:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 150;
    static constexpr UINT ID_TITLE = 31;
    static constexpr UINT ID_CLOSE = 32;
    static constexpr UINT ID_KEY_LABEL = 33;
    static constexpr UINT ID_KEY_EDIT = 34;
    static constexpr UINT ID_OK = 35;

    RecordEditDlg();
    ~RecordEditDlg() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

    int CapturedCode() const { return m_keyCode; }
    const CString& CapturedName() const { return m_keyName; }
    bool IsCapturing() const { return m_recorder != nullptr; }
    // The capture of one decoded event, as WM_INPUT does it.
    void TakeKeyEvent(const tarnwell::RawInputEvent& event);

private:
    CString m_title;
    CString m_keyName;
    int m_keyCode;
    int m_eventKind;
    std::unique_ptr<tarnwell::RawInputRecorder> m_recorder;
};
