#pragma once

// The two lists of icon rows: the profile list and the tile list.
//
// ProfileList: one row per profile, its name centred; the row under the
// mouse and the selected row get a rounded highlight in the library's select
// colour and a small edit icon (the control's strip, 2 frames) at their
// right end. A click reports twice, on the press and on the release: 2 with
// the row in lParam, or 9 on the edit icon, whose press also opens the
// rename box at once. A changed rename reports 29 with the row; its text is
// also the list's title (GetTitleEx).
//
// MListBoxEx: equal text tiles, left to right and wrapped into lines, each a
// frame of the control's strip (0 normal, 1 hovered, 2 selected) with its
// text centred. The content height is set by the caller; a press selects a
// tile, the release over a tile reports 2 with the selected tile in lParam.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/RowList.h"
#include "ui/lists/RowStore.h"

namespace VREL {

// One row of an icon list.
struct IconListItem
{
    CString text;
    int data;
    // Loaded when the named file exists; never drawn.
    std::unique_ptr<Gdiplus::Image> icon;
    int iconWidth;
    int iconHeight;
    // Where the last paint put the row, in the list's own coordinates.
    RECT rect;
};

// What both icon lists keep besides the rows.
class VREL_API IconRowList : public RowList
{
public:
    ~IconRowList() override;

    // ---- rows ---------------------------------------------------------------------------
    void ClearList();
    // Selects the first row with this data (unchanged when none); repaints.
    void SetCurData(int data);
    int GetCurData();
    int GetItemData(int index);
    // Selects any index; the getters answer -1 and 0 for one that names no row.
    void SetSelectItem(int index);
    int GetSelectItem();
    // Replaces the text without a repaint; 1, or 0 for no such row.
    int SetItemText(int index, CString text);
    CString GetItemText(int index);
    int GetItemCount();

protected:
    IconRowList(MObject* owner, UINT id, CRect rect, int visible, int enabled, int rowHeight);

    int RowCountLocked() const override;
    RECT* RowRectLocked(int index) override;
    // A new row with its icon, when the file exists in the skin folder.
    static std::unique_ptr<IconListItem> MakeRow(const CString& text, int data, const CString& iconFile);
    // What ClearList resets beyond the rows.
    virtual void OnCleared() {}
    // Moves the hover to the row under pt (arrow cursor off the rows, hand
    // on them); true when the hover row changed. stillOnHover: the point is
    // still on the hover row.
    bool TrackPointer(CPoint pt, bool& stillOnHover);

    RowStore<IconListItem> m_rows;
};

class VREL_API ProfileList : public IconRowList
{
public:
    ProfileList(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~ProfileList() override;

    // ---- overrides ----------------------------------------------------------------------
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int GetTextRect(CRect& out) override;

    // ---- rows ---------------------------------------------------------------------------
    // Appends and scrolls to the end; the index of the new last row.
    int AddItem(CString text, int data, CString iconFile);
    void DeleteItem(int index);
    // Data and text of the selected row; untouched without one.
    void GetCurValue(int& data, CString& text);
    // The text of the latest rename.
    CString GetTitleEx() const { return m_title; }
    // Back to the top, whatever the argument.
    void SetScrollPos(int position);
    int GetIconHover() const { return m_iconHover; }
    CRect GetIconRect() const { return m_iconRect; }

protected:
    void DrawRowLocked(const RowCanvas& canvas, int index) override;
    void PrepareRows(Gdiplus::Graphics& graphics) override;
    int ImageWidth() override;
    bool RenameEnabled() const override { return true; }
    void PrepareEditBox(CEditWindow& box) override;
    bool ReadRowTextLocked(int index, CString& text) override;
    void StoreRenamedTextLocked(int index, const CString& text) override;
    void OnCleared() override;

    int m_iconHover;
    CRect m_iconRect;
};

class VREL_API MListBoxEx : public IconRowList
{
public:
    MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MListBoxEx() override;

    // ---- overrides ----------------------------------------------------------------------
    // The tiles' own layout, as tall as the content height.
    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    // ---- tiles --------------------------------------------------------------------------
    // Appends; shown at the next repaint.
    void AddItem(CString text, int data, CString iconFile);
    int GetLightCount() { return GetItemCount(); }
    void SetWitdhAndHeight(int width, int height);
    void SetItemSplit(int x, int y);
    // The content height; the bar follows at the next placement.
    void SetAllItemHeight(int height);
    int GetAllItemHeight() const { return m_contentHeight; }

protected:
    int ContentHeight() override { return m_contentHeight; }
    bool PlacesHorizontalBar() const override { return false; }
    // The tiles take the wheel even when they all fit, so that it never
    // scrolls what lies beneath them.
    bool TakesWheelWhenContentFits() const override { return true; }

    int m_tileWidth;
    int m_tileHeight;
    int m_gapX;
    int m_gapY;
    int m_contentHeight;
};

} // namespace VREL
