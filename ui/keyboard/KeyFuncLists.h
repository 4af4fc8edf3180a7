#pragma once

// Three item lists of key functions that share one item model (a text, an
// integer data value and an optional icon) and one scheme of hover,
// selection and notification:
//   KeyFuncType      a scrollable grid of function types, cell size and gaps
//                    set by the owner;
//   KeyFuncValue     a fixed grid of function values (80 x 36 cells) that is
//                    a drag source: the drop's receiver reads the dragged
//                    value with GetCurValue or GetCurData;
//   KeyMenuFuncType  the one-column list of icon rows that fills the extended
//                    menu window (MenuExWnd); the fourth row is a 30-pixel
//                    text row.
// A release over an item reports NC_CLICKED: the grids with lParam = the
// selected index, the menu list with wParam = the hovered item's data.
// Items are appended without the lock (the owner fills a list before anyone
// else uses it) and removed all at once.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// The items of one list with the list's lock, hover and selection.
class VREL_API KeyFuncItems
{
public:
    struct IconListItem
    {
        virtual ~IconListItem() = default;
        CString text;
        int data = 0;
        std::unique_ptr<Gdiplus::Image> icon;
        int iconWidth = 0;
        int iconHeight = 0;
        // As the last paint laid it out, relative to the control's top-left
        // corner; empty until then.
        CRect rect;
    };
    // The menu list's item: a second text that is kept and never shown.
    struct MenuFuncItem : IconListItem
    {
        CString text2;
    };

    KeyFuncItems();
    ~KeyFuncItems();
    KeyFuncItems(const KeyFuncItems&) = delete;
    KeyFuncItems& operator=(const KeyFuncItems&) = delete;

    // Loads the icon (skin folder + file) only when that file exists.
    void Append(std::unique_ptr<IconListItem> item, const CString& iconFile);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    IconListItem* At(int index) const { return Valid(index) ? m_items[static_cast<size_t>(index)].get() : nullptr; }
    // First item whose rectangle, moved by origin, holds pt; -1 when none.
    int HitTest(CPoint pt, CPoint origin) const;
    // 1 when the hovered item still holds pt.
    bool HoverHolds(CPoint pt, CPoint origin) const;

    // Lookups under the lock; an invalid index reads 0, an empty text or an
    // empty rectangle, and renames nothing (0).
    void SelectData(int data);
    int DataAt(int index);
    CString TextAt(int index);
    int RenameAt(int index, const CString& text);
    CRect RectAt(int index);

    // The pointer over the list's control. A move: the hover follows the
    // item under the point; 0 when the control is disabled or the hovered
    // item still holds the point, else 1, with a repaint when the hover
    // changed. A press on a hovered item selects it. A release over a
    // hovered item reports NC_CLICKED with lParam = the selected index.
    int TrackHover(MControl& control, CPoint pt);
    int Press(MControl& control, CPoint pt);
    int Release(MControl& control, CPoint pt);

    CriticalSection& Lock() { return m_lock; }

    int hover = -1;
    int selected = -1;

private:
    std::vector<std::unique_ptr<IconListItem>> m_items;
    CriticalSection m_lock;
};

// What the three lists share over the control base each one paints with:
// the item calls and the pointer's hover, press and (for the grids) release.
template <class Base>
class KeyFuncList : public Base
{
public:
    using Base::Base;

    int OnControlMouseMove(UINT, CPoint pt) override { return m_items.TrackHover(*this, pt); }
    int OnControlLButtonDown(UINT, CPoint pt) override { return m_items.Press(*this, pt); }
    int OnControlLButtonUp(UINT, CPoint pt) override { return m_items.Release(*this, pt); }

    void AddItem(CString text, int data, CString icon)
    {
        auto item = std::make_unique<KeyFuncItems::IconListItem>();
        item->text = text;
        item->data = data;
        m_items.Append(std::move(item), icon);
    }
    void ClearList()
    {
        m_items.Clear();
        Repaint();
    }
    void SetCurData(int data)
    {
        m_items.SelectData(data);
        Repaint();
    }
    int GetItemData(int index) { return m_items.DataAt(index); }
    int GetCurData() { return m_items.DataAt(m_items.selected); }
    void SetSelectItem(int index)
    {
        if (index == m_items.selected)
            return;
        m_items.selected = index;
        Repaint();
    }
    int GetSelectItem() const { return m_items.selected; }
    int SetItemText(int index, CString text) { return m_items.RenameAt(index, text); }
    CString GetItemText(int index) { return m_items.TextAt(index); }
    int GetItemCount() const { return m_items.Count(); }
    int GetHoverItem() const { return m_items.hover; }
    // As the last paint laid it out, relative to the control; empty outside.
    CRect GetItemRect(int index) { return m_items.RectAt(index); }

protected:
    void Repaint() { this->UpdateControl(1, 0); }

    KeyFuncItems m_items;
};

class VREL_API KeyFuncType : public KeyFuncList<MPanel>
{
public:
    KeyFuncType(MObject* owner, UINT id, CRect rect, int visible, int unused);
    ~KeyFuncType() override;

    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

    // Cell size and gaps; no repaint. The content height repaints.
    void SetWitdhAndHeight(int width, int height);
    void SetItemSplit(int horizontal, int vertical);
    void SetAllItemHeight(int height);
    // The pixel offset the cells are drawn up by.
    int GetScrollPixelOffset() const;

private:
    int m_cellWidth;
    int m_cellHeight;
    int m_gapX;
    int m_gapY;
    int m_allHeight;
};

class VREL_API KeyFuncValue : public KeyFuncList<MControlFont>
{
public:
    KeyFuncValue(MObject* owner, UINT id, CRect rect, int visible, int unused);
    ~KeyFuncValue() override;

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    // The hovered cell enlarged by 2 pixels; the cell becomes the selection.
    HBITMAP GetControlDropBitmap() override;

    // Both left as they were when nothing is selected.
    void GetCurValue(int& data, CString& text);
};

class VREL_API KeyMenuFuncType : public KeyFuncList<MControlFont>
{
public:
    KeyMenuFuncType(MObject* owner, UINT id, CRect rect, int visible, int unused);
    ~KeyMenuFuncType() override;

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    // Reports the hovered item's data in wParam.
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    void AddItem(CString text, CString text2, int data, CString icon);
};

} // namespace VREL
