#pragma once

// One row of a context menu (MenuWnd): a windowless control that shows its
// title over the background under it, outlined while hovered or pressed,
// and reports a click (press and release inside the row) to its owner with
// NC_CLICKED. Rows are not checkable by the user and take no keys.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/KeptCells.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MenuWnd;

class VREL_API MenuItem : public MControlFont
{
public:
    // The frame a row shows.
    enum RowState
    {
        ROW_NORMAL = 0,
        ROW_HOVER = 1,
        ROW_PRESSED = 2, // also the resting look of a checked row
        ROW_DISABLED = 3,
    };

    MenuItem(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
    // Closes the window of a popup menu that is still open.
    ~MenuItem() override;

    // ---- overrides ---------------------------------------------------------------------
    const wchar_t* GetClassNameW() const override;
    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    // ---- check -------------------------------------------------------------------------
    int GetCheck() const { return m_check; }
    // Sets the check and the resting look; repaints when visible.
    void SetControlCheck(int check);
    // Rows are not checkable: returns 0 and changes nothing.
    int SetCheck(int check);

    // ---- plain accessors --------------------------------------------------------------------
    int GetState() const { return m_state; }
    int IsHover() const { return m_state == ROW_HOVER; }
    CString GetGroupName() const { return m_groupName; }
    void SetGroupName(CString name) { m_groupName = name; }
    CString GetValue() const { return m_value; }
    void SetSeparator(int separator) { m_separator = separator; }
    int IsSeparator() const { return m_separator; }
    int IsPopup() const { return m_popup; }
    MenuWnd* GetPopupMenu() const { return m_pPopupMenu; }
    void SetPopupMenu(MenuWnd* menu) { m_pPopupMenu = menu; }
    void SetFrameWidth(int width) { m_frameWidth = width; }
    // Left inset of the text; the menu's layout sets it.
    void SetTextInset(int inset) { m_textInset = inset; }
    int GetTextInset() const { return m_textInset; }
    MenuWnd* GetParentMenu() { return nullptr; }
    void ShowPopupMenu() {}
    int ResetGroupCheck() { return 1; }
    CString GetGroupValue() { return CString(); }

private:
    int RestingState() const { return m_check ? ROW_PRESSED : ROW_NORMAL; }
    void Render(HDC& dc, int width, int height);
    // The normal and the hover look, into their cells of the memory bitmap.
    void RenderDrawnLooks(int width, int height);

    int m_state;
    int m_check;
    int m_pressed;
    int m_separator;
    int m_popup;
    MenuWnd* m_pPopupMenu;
    int m_textInset;
    int m_frameWidth;
    CString m_groupName;
    CString m_value;
    KeptCells m_kept;
};

} // namespace VREL
