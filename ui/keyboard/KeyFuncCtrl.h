#pragma once

// The grouped key-function picker: three collapsible groups (character keys,
// other keys, special functions with icons), each a 40-pixel header row and,
// while open, its items as 50 x 50 boxes on a 60-pixel grid that wraps at the
// drawing width. A release over an item picks it and reports NC_CLICKED with
// lParam = its key code; a click on a header opens or closes the group. With
// the drag flag on, an item can be dragged as a picture of its box; the drop's
// receiver asks GetCurValue which function it was, since the hover stays on
// the dragged item.
//
// The picker is empty until its owner calls InitItemInfo. Item and header
// rectangles are kept as the last paint laid them out, relative to the
// control's top-left corner with the scroll offset applied; the content
// height (headers plus open groups) is worked out again by a header click and
// by SetControlRect, and an open group's height only by painting it, so it
// can lag one paint behind.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API KeyFuncCtrl : public MPanel
{
public:
    struct KEY_ITEM
    {
        // The label, or the tooltip of an item with an icon.
        CString name;
        int code = 0;
        std::unique_ptr<Gdiplus::Image> icon;
        CRect rect;
    };

    struct ITEM_INFO
    {
        CString name;
        int open = 0;
        // The open group's item area; from the table until painted.
        int height = 0;
        CRect header;
        std::vector<std::unique_ptr<KEY_ITEM>> items;
    };

    KeyFuncCtrl(MObject* owner, UINT id, CRect rect, int visible);
    ~KeyFuncCtrl() override;

    // ---- overrides ----------------------------------------------------------------------
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
    using MControlFont::SetImage;
    // The header arrows (frame 0 open, frame 2 closed); a count below 1 is
    // taken as 1. 0 and no strip when the image does not load.
    int SetImage(const wchar_t* file, int count) override;

    // ---- content ------------------------------------------------------------------------
    // The three built-in groups, the first one open.
    void InitItemInfo();
    void ClearItems();
    // Closes every group.
    void ResetKeyState();
    // Renames a group; 0 for an index outside the groups.
    int SetItemText(int index, CString title);
    // Renames (the tooltip of) a special function of the third group.
    void SetItemDesc(int code, CString text);
    // The hovered item's code and name; 0 and empty without one.
    void GetCurValue(int& code, CString& name);

    // ---- state, for the owner's layout and for tests ---------------------------------------
    int GetGroupCount();
    // Copies of a group's fields; an index outside gives an empty record.
    CString GetGroupName(int group);
    int IsGroupOpen(int group);
    int GetGroupHeight(int group);
    CRect GetGroupHeaderRect(int group);
    int GetGroupItemCount(int group);
    CRect GetKeyItemRect(int group, int item);
    int GetKeyItemCode(int group, int item);
    CString GetKeyItemName(int group, int item);
    bool KeyItemHasIcon(int group, int item);
    int GetPickedCode() const { return m_pickedCode; }
    int GetContentHeight() const { return m_contentHeight; }
    void GetHoverItem(int& group, int& item) const
    {
        group = m_hoverGroup;
        item = m_hoverItem;
    }
    // The drawing width: the control less the bar's thickness.
    int GetDrawWidth() const;

private:
    void AddGroup(const wchar_t* name, int open, int height);
    void AddKeyItem(ITEM_INFO* group, CString name, int code, CRect rect, CString iconFile);
    // Headers plus open groups; the caller holds the lock.
    int ComputeContentHeight() const;
    // The bar follows the content height and keeps the visible part.
    void UpdateScrollState();
    void ShowVerticalBar(bool show);
    // The hovered item, or null when the pair names none; the caller holds
    // the lock.
    KEY_ITEM* HoveredItem() const;
    void Repaint();

    std::vector<std::unique_ptr<ITEM_INFO>> m_groups;
    CriticalSection m_lock;
    int m_hoverGroup;
    int m_hoverItem;
    int m_pickedCode;
    int m_contentHeight;
};

} // namespace VREL
