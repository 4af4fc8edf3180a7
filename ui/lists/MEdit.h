#pragma once

// The library's text field. It is windowless like every other control: it
// draws its skin frame, its text (or a grey tip while empty) and an optional
// icon button into its cached bitmap. Only while the user types does a real
// system edit window (CEditWnd) lie over its text area; that window is made
// on the first edit and afterwards only moved, shown and hidden, and what the
// user types is copied back into the title as it changes.
//
// Reports to the owner, OnBaseMessage(id, code, 0, 0): 30 when editing
// starts, 26 for each change of the typed text, 29 when editing ends (from
// HideEdit and again when the native window loses the focus), 1 on a press,
// 2 on the release that follows, 9 and 31 for a press and release on the
// icon.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CEditWnd;

class VREL_API MEdit : public MControlFont
{
public:
    // The title argument becomes the tip text; the field starts empty.
    MEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled);
    ~MEdit() override;

    // ---- overrides ------------------------------------------------------------------
    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;
    // Stores a different title, puts it into the native edit and repaints;
    // sends nothing.
    void SetControlTitle(const wchar_t* title) override;
    // Ends an edit in progress, then answers the title.
    CString GetControlTitle() override;

    // ---- text ------------------------------------------------------------------------
    // Stores the title when it differs; no repaint, no report. Null is ignored.
    void SetEditText(const wchar_t* text);
    // The native edit's live text while it is shown, else the title.
    CString GetEditText();
    // The stored title, without ending an edit.
    CString GetTitleEx() const { return m_title; }
    void SetTipInfo(const wchar_t* text) { m_tip = text; }
    CString GetTipInfo() const { return m_tip; }

    // ---- geometry and icon ---------------------------------------------------------
    void SetTextRect(CRect rect);
    CRect GetTextRect();
    CRect GetIconRect() const { return m_iconRect; }
    // Icon strip from the skin folder; 1 when it loaded.
    int SetIconImage(const wchar_t* file, int frames);

    // ---- the native edit's font and colours ----------------------------------------
    void SetEditFont(const wchar_t* name, int size, bool bold, bool underline, bool italic);
    void SetEditFont();
    HFONT GetDefaultFont();
    // The text colour as COLORREF.
    COLORREF GetEditTextColor() const;
    int IsEditFocused();
    HWND GetEditHwnd();

    // ---- plain settings; those the native edit takes are fixed at its creation ----
    void SetLimitText(int limit) { m_limit = limit; }
    int GetLimitText() const { return m_limit; }
    void SetReadOnly(int readOnly) { m_bReadOnly = readOnly; }
    int IsReadOnly() const { return m_bReadOnly; }
    void SetNumberOnly(int numberOnly) { m_bNumberOnly = numberOnly; }
    int IsNumberOnly() const { return m_bNumberOnly; }
    void EnablePassWord(int password) { m_bPassword = password; }
    int IsPassWordMode() const { return m_bPassword; }
    void EnableMultLine(int multiLine) { m_bMultiLine = multiLine; }
    int IsMultLineMode() const { return m_bMultiLine; }
    // 0: the native edit swallows every typed character.
    void EnableCharMessage(int pass) { m_bCharsPassed = pass; }
    int GetCharMessage() const { return m_bCharsPassed; }
    void SetPassWordChar(wchar_t ch) { m_passwordChar = ch; }
    wchar_t GetPassWordChar() const { return m_passwordChar; }
    // 0xFFFFFFFF leaves the native edit in the system's colours.
    void SetEditBKColor(COLORREF colour) { m_editBack = colour; }
    COLORREF GetEditBKColor() const { return m_editBack; }
    void SetEditWindow(CEditWnd* window) { m_pEditWnd = window; }
    CEditWnd* GetEditWindow() const { return m_pEditWnd; }
    // 0 normal, 1 hover, 2 editing, 3 disabled.
    int GetVisualState() const { return m_visualState; }

protected:
    void ShowEdit();
    void HideEdit();
    CRect CalcTextRect(int force);

private:
    void CreateEditWindow();
    void LayoutIcon();
    // Where the native edit goes: the text rectangle, in screen coordinates
    // when the window is layered.
    CRect EditWindowRect();
    void Repaint(int redraw);
    void DrawTextSlots(HDC dc, int width, int height);

    CString m_tip;
    int m_bPassword;
    int m_bMultiLine;
    int m_bReadOnly;
    int m_bNumberOnly;
    int m_bCharsPassed;
    int m_limit;
    wchar_t m_passwordChar;
    COLORREF m_editBack;
    HFONT m_hEditFont;
    int m_visualState;
    int m_frameCorner;
    std::unique_ptr<Gdiplus::Image> m_pIcon;
    int m_iconFrameWidth;
    int m_iconHeight;
    int m_iconFrames;
    CRect m_iconRect;
    CRect m_textRect;
    int m_bTextRectSet;
    int m_iconState;
    CEditWnd* m_pEditWnd;
};

} // namespace VREL
