#pragma once

// The tab strip: a row of text tabs (horizontal kind) or a column of icon
// tabs (vertical kind), each tab optionally bound to a page control that the
// strip shows while that tab is selected and hides otherwise. Pages are
// normally MTabLayout panels. The strip reports a new selection with
// NC_CLICKED (wParam = index), also when the program selects a tab through
// SetSelectItem; the owner's handler runs on the caller's thread. A press on
// a tab's small button reports NC_ICON_OR_TAB (wParam = index). When enabled,
// a change of tab slides the old page out and the new one in over ten timer
// ticks.

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "ui/framework/MControlFont.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// One tab, held by value in the strip in insertion order.
struct TabItemInfo
{
    // 0 takes the tab out of the layout (empty rectangle).
    int bVisible;
    // The tab's icon strip; owned by the strip, null when it did not load.
    Gdiplus::Image* pIcon;
    int nFrameWidth;
    int nIconHeight;
    int nFrameCount;
    // The tab, in window client coordinates.
    RECT rcItem;
    CString strText;
    UINT nID;
    // The tab's small button, relative to the strip's top-left corner.
    RECT rcTabButton;
    // 0 normal, 1 pointer over the button, 2 pressed.
    int nTabButtonState;
    // When set, SetTabTooltip acts for this tab.
    int bTip;
    // Shown while the tab is selected; may be null.
    MControl* pPage;
};

enum TAB_TYPE
{
    TAB_TYPE_HORIZONTAL = 0,  // text tabs side by side, a select bar under the selected one
    TAB_TYPE_VERTICAL = 1,    // icon tabs stacked, drawn from the icon strip's frames
};

class VREL_API MTabCtrl : public MControlFont
{
public:
    MTabCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MTabCtrl() override;

    // Appends a tab (not selected). frameCount -1 means 3; width 0 means the
    // icon's frame width, else the default item width. Returns 1.
    int InsertItem(UINT id, CString text, CString iconFile, MControl* page, int frameCount, int width);
    // Creates a page panel as a sub-control of the strip; only "MTabLayout"
    // is known, any other name gives null.
    MControl* CreatePanel(const wchar_t* className, UINT id, CRect rect);
    // Selects a tab, reports NC_CLICKED to the owner before any page changes
    // visibility, then shows its page and hides the others. Returns the
    // previous selection; the current index, -1 or an index out of range
    // change nothing.
    int SetSelectItem(int index);
    int GetSelectItem() const { return m_selected; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // The tab's record, which the caller may change; null out of range.
    TabItemInfo* GetItemInfo(int index);
    UINT GetItemID(int index) const;
    int SetItemText(int index, CString text);
    void SetItemVisible(int index, int visible);
    int GetItemVisible(int index) const;
    void DeleteItem(int index);
    // Lays every tab out again, fixes the selection, shows the selected page
    // and hides the others, repaints.
    void RefreshItems();
    // The width shared by the tabs of the horizontal kind: the requested
    // width, but no more than the strip can give each tab when a minimum is
    // set, and never below that minimum.
    void SetItemWidth(int width, int minimum, int refresh);
    // The same for the pitch of the vertical kind.
    void SetItemHeight(int height, int minimum, int refresh);
    void SetTabCtrlWidth(int width) { m_stripWidth = width; }
    int GetCtrlWidth() const { return m_stripWidth; }
    void SetTabCtrlHeight(int height) { m_stripHeight = height; }
    int GetCtrlHeight() const { return m_stripHeight; }
    void SetLeftRightPading(int left, int right);
    void SetTopBottomPading(int top, int bottom);
    void SetTabType(TAB_TYPE type) { m_type = type; }
    void EnableAnimateChangeTab(int enable) { m_bSlideEnabled = enable ? 1 : 0; }
    // The rectangle each slide tick asks the owner to repaint.
    void SetUpdataRect(CRect rect) { m_updateRect = rect; }
    // Nonzero shows the selected tab's page and hides the others; 0 hides
    // every page. The strip's own visibility is untouched.
    void SetTabCtrlVisible(int visible);
    // Shows the caption as the tab's tooltip when the tab asks for one.
    void SetTabTooltip(int index, CString caption);
    void ClearTabTooltip();
    bool PtInTabButton(CPoint pt, const TabItemInfo& item) const;
    int GetHoverItem() const { return m_hover; }
    int IsSliding() const { return m_bRunning; }
    int GetSlideOffset() const { return m_type == TAB_TYPE_VERTICAL ? m_vOffset : m_hOffset; }

    // ---- virtual operations --------------------------------------------------
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // A page created by CreatePanel asks the strip to repaint it; the strip
    // passes the request on to its own owner.
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int DrawSubControls(HDC& dc, CRect paint) override;
    int OnCheckMouseResponse(UINT flags, CPoint pt) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    void SetControlVisible(int visible) override;
    void SetControlWndVisible(int visible) override;
    int OnControlTimer() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;
    virtual int OnControlKeyUp(UINT key, UINT repeat, UINT modifiers);

protected:
    void DrawControlHorizontal(HDC& dc, CRect paint);
    void DrawControlVertical(HDC& dc, CRect paint);

    // Separator and tab-button images with their sizes and the button's
    // placement (mode below 2: at the tab's right edge; 2 and above: by the
    // two anchors). The strip itself sets none of them; a derived strip may.
    Gdiplus::Image* m_pSeparatorImage;
    int m_separatorWidth;
    int m_separatorHeight;
    Gdiplus::Image* m_pTabButtonImage;
    int m_tabButtonWidth;
    int m_tabButtonHeight;
    int m_tabButtonMode;
    VR_POSITION_ITEM m_tabButtonX;
    VR_POSITION_ITEM m_tabButtonY;

private:
    static constexpr UINT kSlideTimerKey = 100;

    int InsertItem(int position, const TabItemInfo& item);
    void SetAirBladderInfo(CRect rect, CString text);
    // Lays every tab out in one pass; an insertion lays out slightly
    // differently from a re-layout (see the .cpp).
    void LayoutItems(bool forInsert);
    // Shows the selected tab's page and hides every other page (all of them
    // when showSelected is false).
    void ApplyPageVisibility(bool showSelected);
    void SetPageVisible(MControl* page, int visible);
    bool IsValidIndex(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
    bool IsSubControl(const MControl* control);
    void RequestRepaint(int redraw);
    void StopSlide();
    // The part of the strip that holds the tabs.
    CRect TabArea() const;

    TAB_TYPE m_type;
    std::vector<TabItemInfo> m_items;
    std::vector<RECT> m_separators;
    int m_defaultItemWidth;
    int m_itemWidth;
    int m_requestedWidth;
    int m_minimumWidth;
    int m_itemPitch;
    int m_requestedHeight;
    int m_minimumHeight;
    int m_stripHeight;
    int m_stripWidth;
    int m_leftPadding;
    int m_rightPadding;
    int m_topPadding;
    int m_bottomPadding;
    int m_selected;
    int m_hover;
    int m_previous;
    int m_bSlideEnabled;
    int m_slideSteps;
    int m_hOffset;
    int m_vOffset;
    CRect m_updateRect;
    int m_bTipEnabled;
    int m_lastTip;
    BYTE m_bMousePressed;
};

// A page of a tab strip: a panel that draws nothing of its own and lets the
// pointer through wherever it has no control. Timer ticks that reach the
// strip are passed on into its pages.
class VREL_API MTabLayout : public MPanel
{
public:
    MTabLayout(MObject* owner, UINT id, CRect rect, int visible);
    ~MTabLayout() override;

    void DrawControl(HDC& dc, CRect paint) override;
    int DrawSubControls(HDC& dc, CRect paint) override;
    int OnCheckMouseResponse(UINT flags, CPoint pt) override;
};

} // namespace VREL
