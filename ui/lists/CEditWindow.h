#pragma once

// The rename box of the list controls: an in-place edit (class name
// "MEditWindow", shared with the edit field's window) laid over a row's text
// while the user renames it. The list creates it on its first rename and
// afterwards moves, fills, shows and hides it itself; every change of the
// text becomes the list's title at once (with the list's repaint).

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/InPlaceEdit.h"

namespace VREL {

class MControlFont;

class VREL_API CEditWindow : public InPlaceEdit
{
public:
    CEditWindow();
    ~CEditWindow() override;

    const wchar_t* GetWindowClassName() const override;

    // Creates the native window over rect (client coordinates of the
    // owner's window; an empty rect places a single-line band in the
    // owner). Limit, flags and colours must be set before.
    HWND CreateEdit(MControlFont* owner, CRect rect);
    // The creator's field that holds this object; cleared when the window
    // is destroyed.
    void SetOwnerSlot(CEditWindow** slot) { m_ppOwnerSlot = slot; }
    // Background (0xFFFFFFFF keeps the system's colours) and text colour.
    int SetEditColor(COLORREF back, COLORREF text);

    void SetLimitText(int limit) { m_limit = limit; }
    int GetLimitText() const { return m_limit; }
    void EnablePassWord(int password) { m_bPassword = password; }
    void EnableMultLine(int multiLine) { m_bMultiLine = multiLine; }
    void SetReadOnly(int readOnly) { m_bReadOnly = readOnly; }
    void SetNumberOnly(int numberOnly) { m_bNumberOnly = numberOnly; }
    void SetPassWordChar(wchar_t ch) { m_passwordChar = ch; }
    COLORREF GetBackColor() const { return m_backColor; }
    COLORREF GetTextColor() const { return m_textColor; }

protected:
    void StoreText(const CString& text) override;
    void ClearOwnerSlot() override;

private:
    int m_bPassword;
    int m_bMultiLine;
    int m_bReadOnly;
    int m_bNumberOnly;
    int m_limit;
    wchar_t m_passwordChar;
    HFONT m_hFont;
    CEditWindow** m_ppOwnerSlot;
};

} // namespace VREL
