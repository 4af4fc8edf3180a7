#pragma once

// The small list controls of the keys page: the Fn-layer strip
// (KeyLayerCtrl), the key-category tabs in two looks (KeyTypeTab,
// KeyTypeTab2) and the wrapping grid of function values (KeyValueList) from
// which the user drags a function onto the keyboard picture.
//
// Each keeps heap records of its items under an item lock, a hovered and a
// selected index, lays its cells out while it paints (so nothing can be
// hovered before the first painting), and reports a click to its owner with
// NC_CLICKED. Value setters never notify. Indexes a caller passes are checked
// against the list: one outside it changes nothing.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

struct KEY_LAYER_ITEM
{
    int32_t layerId;
    CString name;
    RECT rect;
};

struct KEY_TYPE_ITEM
{
    CString name;
    int32_t type;
    RECT rect;
};

struct KEY_VALUE_ITEM
{
    int32_t value;
    CString name;
    Gdiplus::Image* icon;  // owned; null when none
    int32_t iconWidth;
    int32_t iconHeight;
    RECT rect;
};

// Cell geometry of the four controls, in control coordinates.
namespace keylists {

constexpr int kLayerRowHeight = 36;
constexpr int kTypeTabWidth = 120;
constexpr int kTypeTabHeight = 30;
constexpr int kTypeTab2Width = 100;
constexpr int kValueCellWidth = 100;
constexpr int kValueCellHeight = 50;
constexpr int kValueCellPitchX = 105;
constexpr int kValueCellPitchY = 55;
// After a cell of this name the grid starts a new row.
constexpr const wchar_t* kRowBreakName = L"Reset";

// The cells of a value grid control width pixels wide for these names.
VREL_API std::vector<RECT> LayoutValueCells(const std::vector<CString>& names, int controlWidth);

} // namespace keylists

// Hover, selection, item lock and the common input rules of the four
// controls.
template <class Item>
class KeyItemStrip : public MControlFont
{
public:
    int GetItemCount();
    int GetHoverItem() const { return m_hover; }
    // The cell of an item as last laid out, in control coordinates; empty
    // for an index outside the list.
    CRect GetItemRect(int index);

    // ---- overrides ----------------------------------------------------------------------------
    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;

protected:
    KeyItemStrip(MObject* owner, UINT id, CRect rect, int visible, int enabled, int selected);
    ~KeyItemStrip() override;

    // Lays out and draws every item; the item lock is held.
    virtual void DrawItems(Gdiplus::Graphics& graphics, int width, int height) = 0;
    virtual Gdiplus::SmoothingMode Smoothing() const { return Gdiplus::SmoothingModeHighQuality; }

    bool IsItemIndex(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
    void RequestRepaint();
    void FreeItems();
    int Append(Item* item);
    // Renames the item at index and repaints; an index outside the list
    // changes nothing.
    void RenameItem(int index, const CString& text);
    // Frees every item, hovers none, selects the first and repaints.
    void ClearItems();
    // Common release rule of the tabs and the grid: selects the hovered item
    // and notifies (index, 0).
    int ReleaseSelectingHover(CPoint pt);

    std::vector<Item*> m_items;
    CriticalSection m_itemLock;
    int m_hover;
    int m_selected;
};

class VREL_API KeyLayerCtrl : public KeyItemStrip<KEY_LAYER_ITEM>
{
public:
    KeyLayerCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~KeyLayerCtrl() override;

    int AddKeyLayer(CString name, int layerId);
    void SetSelectKeyLayer(int layerId);
    // -1 when no row is selected (also with no rows).
    int GetSelectKeyLayerID();
    void SetItemText(int index, CString text);
    void ClearAllItems();

    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    void DrawItems(Gdiplus::Graphics& graphics, int width, int height) override;
};

class VREL_API KeyTypeTab : public KeyItemStrip<KEY_TYPE_ITEM>
{
public:
    KeyTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~KeyTypeTab() override;

    int AddKeyType(CString name, int type);
    // Selects by index; -1 selects none.
    void SetSelectKeyType(int index);
    int GetSelectItem() const { return m_selected; }
    void SetItemText(int index, CString text);
    void ClearAllItems();

    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    void DrawItems(Gdiplus::Graphics& graphics, int width, int height) override;
};

class VREL_API KeyTypeTab2 : public KeyTypeTab
{
public:
    KeyTypeTab2(MObject* owner, UINT id, CRect rect, int visible, int enabled);

protected:
    void DrawItems(Gdiplus::Graphics& graphics, int width, int height) override;
};

class VREL_API KeyValueList : public KeyItemStrip<KEY_VALUE_ITEM>
{
public:
    static constexpr int kDefaultFontPx = 12;

    KeyValueList(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~KeyValueList() override;

    int AddKeyInfo(int value, CString name, CString iconFile);
    // -1 clears the selection.
    void SetSelectKeyValue(int value);
    // The selected cell's value and name; -1 (name untouched) with none.
    unsigned long GetSelectKeyValue(CString& name);
    void GetCurValue(int& value, CString& name);
    void ClearAllItems();
    int GetSelectItem() const { return m_selected; }
    void DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, Gdiplus::Color border,
                      Gdiplus::Color fill, bool corner);

    HBITMAP GetControlDropBitmap() override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    void DrawItems(Gdiplus::Graphics& graphics, int width, int height) override;
    Gdiplus::SmoothingMode Smoothing() const override { return Gdiplus::SmoothingModeAntiAlias; }

private:
    // Frees every cell and its icon; no repaint.
    void ClearAllItemsQuietly();
};

// ---- KeyItemStrip: defined here so that every user of the exported
// controls sees the whole class --------------------------------------------------------------

template <class Item>
KeyItemStrip<Item>::KeyItemStrip(MObject* owner, UINT id, CRect rect, int visible, int enabled, int selected)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_hover(-1), m_selected(selected)
{
}

template <class Item>
KeyItemStrip<Item>::~KeyItemStrip()
{
    ScopedLock lock(m_itemLock);
    for (Item* item : m_items)
        delete item;
    m_items.clear();
}

template <class Item>
int KeyItemStrip<Item>::GetItemCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

template <class Item>
CRect KeyItemStrip<Item>::GetItemRect(int index)
{
    ScopedLock lock(m_itemLock);
    return IsItemIndex(index) ? CRect(m_items[static_cast<size_t>(index)]->rect) : CRect();
}

template <class Item>
void KeyItemStrip<Item>::RequestRepaint()
{
    if (m_bVisible)
        UpdateControl(1, 0);
}

template <class Item>
int KeyItemStrip<Item>::Append(Item* item)
{
    ScopedLock lock(m_itemLock);
    m_items.push_back(item);
    return static_cast<int>(m_items.size()) - 1;
}

template <class Item>
void KeyItemStrip<Item>::RenameItem(int index, const CString& text)
{
    {
        ScopedLock lock(m_itemLock);
        if (!IsItemIndex(index))
            return;
        m_items[static_cast<size_t>(index)]->name = text;
    }
    RequestRepaint();
}

template <class Item>
void KeyItemStrip<Item>::ClearItems()
{
    FreeItems();
    m_hover = -1;
    m_selected = 0;
    RequestRepaint();
}

template <class Item>
void KeyItemStrip<Item>::FreeItems()
{
    ScopedLock lock(m_itemLock);
    for (Item* item : m_items)
        delete item;
    m_items.clear();
}

template <class Item>
void KeyItemStrip<Item>::DrawControl(HDC& dc, CRect)
{
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (w <= 0 || h <= 0)
        return;
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, w, h);
        MRender::BitBlt(m_hMemDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
        ::SetBkMode(m_hMemDC, TRANSPARENT);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetSmoothingMode(Smoothing());
        ScopedLock lock(m_itemLock);
        DrawItems(graphics, w, h);
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hMemDC, 0, 0);
}

template <class Item>
int KeyItemStrip<Item>::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_hover;
    ScopedLock lock(m_itemLock);
    const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
    if (IsItemIndex(m_hover) && CRect(m_items[static_cast<size_t>(m_hover)]->rect).PtInRect(local))
        return 1;
    m_hover = -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (CRect(m_items[i]->rect).PtInRect(local))
        {
            m_hover = static_cast<int>(i);
            break;
        }
    if (m_hover == old)
        return 0;
    RequestRepaint();
    return 1;
}

template <class Item>
int KeyItemStrip<Item>::OnControlLButtonDown(UINT, CPoint)
{
    return 1;
}

template <class Item>
int KeyItemStrip<Item>::ReleaseSelectingHover(CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_selected;
    if (m_rect.PtInRect(pt) && m_hover != -1)
    {
        m_selected = m_hover;
        SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_hover), 0);
    }
    if (m_selected == old)
        return 0;
    RequestRepaint();
    return 1;
}

} // namespace VREL
