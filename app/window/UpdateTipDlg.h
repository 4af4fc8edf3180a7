#pragma once

// The small progress window of updates and the factory reset: a line of text
// with the percentage and a bar. Whoever shows it runs it modally on its own
// (UI) thread and deletes it after the modal run returns; anything else asks
// it to close (RequestClose posts, from any thread) and never deletes it.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/MDialog.h"

namespace VREL {
class MControlFont;
class MProgress;
}

namespace tarnwell {

// The window's caption, by which other windows find it.
inline constexpr wchar_t kUpdateTipCaption[] = L"UpdateTipDlg";

class UpdateTipDlg : public VREL::MDialog
{
public:
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 71;
    static constexpr UINT kTextId = 30;
    static constexpr UINT kBarId = 31;
    // How far the running bar moves on each update of an unknown progress.
    static constexpr int kRunningStep = 5;

    // firstText: what the window says until the first progress arrives.
    explicit UpdateTipDlg(CString firstText);
    ~UpdateTipDlg() override;

    // Creates the window over parent, centres it and runs it modally; returns
    // when it closes. The caller deletes it afterwards.
    UINT Show(HWND parent);

    // "<text>: <percent>%" and the bar at percent; for kProgressUnknown the
    // text alone and a bar that moves on with each call.
    void SetProgressText(int percent, const wchar_t* text);
    // Asks the window to close; safe from any thread and when already closed.
    void RequestClose();

    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;

    // What the window shows (for the program's tests and screenshots).
    CString Text() const { return m_text; }
    int BarValue() const;

private:
    VREL::MControlFont* m_textArea;
    VREL::MProgress* m_bar;
    CString m_text;
    // Kept apart from the handle so that RequestClose never reads a member
    // that the UI thread is changing.
    volatile HWND m_window;
};

} // namespace tarnwell
