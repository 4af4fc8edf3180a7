#pragma once

// The program's own message box: a small skinned, layered modal dialog with
// a title line, a message and one OK button (style 0) or OK and Cancel
// (style 4). ShowMessageBox creates it on a parent window, runs it and
// returns which button ended it.

#include <windows.h>

#include "app/window/LanguageTexts.h"
#include "ui/framework/CString.h"
#include "ui/framework/MDialog.h"

namespace tarnwell {

enum MessageBoxStyle : int
{
    kMessageBoxOk = 0,
    kMessageBoxOkCancel = 4,
};

enum MessageBoxResult : int
{
    kMessageBoxNotShown = -1,  // the window could not be created
    kMessageBoxAnsweredOk = 1,
    kMessageBoxCancelled = 2,  // Cancel, or the box closed from outside
};

// The message box's window caption, by which other windows find it.
inline constexpr wchar_t kMessageBoxCaption[] = L"MessageBox";

class CUIMessageBox : public VREL::MDialog
{
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 260;
    static constexpr int kTitleId = 31;
    static constexpr int kMessageId = 32;
    static constexpr int kOkId = 33;
    static constexpr int kCancelId = 34;

    // texts: where the button captions come from.
    explicit CUIMessageBox(const LanguageTexts& texts);
    ~CUIMessageBox() override;

    void SetTitle(const wchar_t* title) { m_title = title ? title : L""; }
    void SetMessage(const wchar_t* message) { m_message = message ? message : L""; }
    void SetStyle(int style) { m_style = style; }

    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy() override;

private:
    const LanguageTexts& m_texts;
    CString m_title;
    CString m_message;
    int m_style;
};

// Shows a message box over parent and returns 1 for OK, 2 for Cancel or a
// box closed from outside, -1 when the window could not be created. Title and
// message may be null.
int ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* title, int style, const LanguageTexts& texts);

} // namespace tarnwell
