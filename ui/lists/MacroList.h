#pragma once

// The macro list and its twin: one-column lists of named rows with a long
// item data each, renamed in place by double click once renaming is on.
//
// MacroList (the macro page's list): rows of the row background strip
// (frame 1 highlights the selected, hovered and edited row), an icon strip
// of 4 frames at each row's right end, text at x 15. A release on a row
// reports 9 when it lands on the row's icon, else 2; a right click 5 with
// the new selection (-1 on empty space); a changed rename 29 with the row.
//
// MListBox: the same list with another look (a light rounded highlight, the
// control's strip as a small icon at the left, no row icon at the right) and
// fuller reports: 1 on a press with the row, 2 on every release on a row
// (also while disabled), 3 on a double click.

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/RowList.h"
#include "ui/lists/RowStore.h"

namespace VREL {

class MImageList;

// One row.
struct ListItem
{
    CString text;
    // Given when the row is added; kept, never drawn.
    int image;
    long data;
    // Where the last paint put the row.
    RECT rect;
};

class VREL_API MacroList : public RowList
{
public:
    MacroList(MObject* owner, UINT id, CRect rect, int visible);
    ~MacroList() override;

    // ---- overrides ----------------------------------------------------------------------
    // The control less the bar's width at its right edge, shown or not.
    int PtInRect(CPoint pt) override;
    HBITMAP GetControlDropBitmap() override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;
    using MControlFont::SetImage;
    // The row background strip (the twin: its row icon), from the skin folder.
    int SetImage(const wchar_t* file, int frames) override;
    int GetTextRect(CRect& out) override;

    // ---- rows ---------------------------------------------------------------------------
    int AddString(const wchar_t* text, int image);
    int AddString(const wchar_t* text, long data, int image);
    // -1 (nothing added) for an index below -1 or past the last row; else
    // the row goes before row index (appended for -1) and the result is the
    // index of the last row.
    int InsertString(int index, const wchar_t* text, int image, long data);
    int SetItemData(int index, long data);
    long GetItemData(int index);
    // Replaces the text without a repaint; 1, or 0 for no such row.
    int ModifyItemString(int index, const wchar_t* text);
    // Exact, case-sensitive; a null text looks for an empty one.
    int FindString(const wchar_t* text);
    int FindItemData(long data);
    int GetItemCount();
    int DeleteItem(int index);
    int DeleteAllItems();
    // Always empty: rows have no place until painted.
    CRect GetItemRect(int index);
    CString GetItemText(int index);
    void SwapItem(int a, int b);

    // ---- selection ------------------------------------------------------------------------
    // Selects the first row with this data; the index found, -1 when none
    // (the selection then stays).
    int SetCurData(long data);
    int GetCurData();
    // 0 for an index below -1 or past the last row; else 1.
    int SetCurSel(int index);
    int GetCurSel();

    // ---- look -----------------------------------------------------------------------------
    int SetImageList(MImageList* list);
    // The icon strip, always cut into 4 frames.
    int SetEditImage(const wchar_t* file, int frames);
    void EnableShowEdit(int enable) { m_renameSwitch = enable; }
    void SetScaleValue(float scale) { m_scale = scale; }
    CRect GetIconRect() const { return m_iconRect; }

protected:
    enum Look
    {
        LOOK_MACRO,
        LOOK_LISTBOX,
    };
    MacroList(MObject* owner, UINT id, CRect rect, int visible, Look look);

    int RowCountLocked() const override;
    RECT* RowRectLocked(int index) override;
    void PrepareRows(Gdiplus::Graphics& graphics) override;
    void DrawRowLocked(const RowCanvas& canvas, int index) override;
    bool ReadRowTextLocked(int index, CString& text) override;
    void StoreRenamedTextLocked(int index, const CString& text) override;
    void OnPlaced() override;
    bool RenameEnabled() const override { return m_renameSwitch != 0; }
    void PrepareEditBox(CEditWindow& box) override;

    // R: the drawn row height.
    int DrawnRowHeight() const;
    void DrawMacroRow(const RowCanvas& canvas, ListItem& item, int index, int k);
    void DrawListBoxRow(const RowCanvas& canvas, ListItem& item, int index, int k);

    Look m_look;
    RowStore<ListItem> m_rows;
    float m_scale;
    int m_renameSwitch;
    SkinStrip m_rowStrip;
    SkinStrip m_iconStrip;
    CRect m_iconRect;
    int m_dragTextBase;
    MImageList* m_pImageList;
};

class VREL_API MListBox : public MacroList
{
public:
    MListBox(MObject* owner, UINT id, CRect rect, int visible);
    ~MListBox() override;
};

} // namespace VREL
