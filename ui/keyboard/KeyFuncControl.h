#pragma once

// The key pickers: a whole keyboard drawn as a grid of labelled key cells.
// The user points at a cell, clicks it or drags it onto the keyboard
// picture; the owner then reads the picked cell with GetCurItemData. The
// cells come from one fixed table per keyboard shape (KeyPickerTables.h).
// The grid scrolls vertically with its own bar when it is shorter than its
// cells, and it is a drag source whose drag image is the cell under the
// mouse.
//
// KeyFuncControl shows the full table; KeyFuncControl2 the compact one,
// with 10 pixels of room under its last row, and it also reports the press
// (NC_PRESSED) before the click.

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"
#include "ui/keyboard/KeyPickerTables.h"

namespace VREL {

// One key cell.
struct KEY_FUNC_ITEM
{
    CString name;
    int code;
    // 0: the picture comes from the code; otherwise the given icon file.
    int flag;
    int reserved;
    // Two frames side by side: normal and highlighted; owned, may be null.
    Gdiplus::Image* image;
    int frameWidth;
    int frameHeight;
    // Content coordinates; right and bottom edges excluded from hit tests.
    RECT rect;
};

class VREL_API KeyPickerGrid : public MPanel
{
public:
    // Key pictures of the skin folder, by code in lower-case hexadecimal.
    static constexpr const wchar_t* kPicturePattern = L"character\\key_0x%x.png";
    static constexpr int kPictureFrames = 2;

    ~KeyPickerGrid() override;

    // ---- overrides ----------------------------------------------------------------------------
    void InitControl(PaintManager* manager) override;
    int IsDragDrop() override;
    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    HBITMAP GetControlDropBitmap() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    // A frame count below 1 counts as 1.
    int SetImage(const wchar_t* file, int frames) override;
    using MControlFont::SetImage;

    // Fills the grid with the class's table again.
    void InitItemInfo();
    void ClearItems();
    // The picked cell's code, flag, reserved value and name; false (nothing
    // written) when no cell is picked. The first argument is never written.
    bool GetCurItemData(int& first, int& code, int& flag, int& reserved, CString& name);
    // Marks the first cell with these values (code 0 clears the mark).
    void SetItemCheckByItemData(int code, int flag, int reserved);
    void DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, Gdiplus::Color first,
                      Gdiplus::Color second, bool corner);

    int GetItemCount();
    int GetHoverIndex() const { return m_hover; }
    int GetPickedIndex() const { return m_picked; }
    int GetCheckedIndex() const { return m_checked; }
    int GetContentHeight() const { return m_contentHeight; }
    // Pixels by which the cells are scrolled up, as last drawn.
    int GetScrollOffsetY() const { return static_cast<int>(m_scrollOffsetY); }
    // A copy of one cell (without its image); false outside the list.
    bool GetItem(int index, KEY_FUNC_ITEM& item);

protected:
    KeyPickerGrid(MObject* owner, UINT id, CRect rect, int visible, KeyPickerTable table, int extraHeight,
                  bool reportPress);

private:
    void AddKeyItem(const CString& name, int code, CRect rect, CString icon, int flag);
    int ComputeScrollOffset() const;
    // Shows the bar when the cells overflow and ranges it over them.
    void UpdateScrollBar();
    CRect WindowRectOf(const KEY_FUNC_ITEM& item) const;
    bool IsItemIndex(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
    void RequestRepaint();

    std::vector<KEY_FUNC_ITEM*> m_items;
    CriticalSection m_itemLock;
    int m_hover;
    int m_picked;
    int m_checked;
    int m_contentHeight;
    KeyPickerTable m_table;
    int m_extraHeight;
    bool m_reportPress;
    // The control's own image (SetImage); the grid never draws it.
    Gdiplus::Image* m_pOwnImage;
};

class VREL_API KeyFuncControl : public KeyPickerGrid
{
public:
    KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible);
};

class VREL_API KeyFuncControl2 : public KeyPickerGrid
{
public:
    static constexpr int kBottomRoom = 10;

    KeyFuncControl2(MObject* owner, UINT id, CRect rect, int visible);
};

} // namespace VREL
