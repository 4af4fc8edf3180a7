#pragma once

// The library's context menu: a popup that stacks MenuItem rows, sizes
// itself to them and posts the clicked row to its owner window as
// (menu message, 0, row id), the message being the one given to Create.
// A click or the loss of activation closes it, and once its window is gone
// the menu deletes itself: its creator allocates it with new and never
// frees it, nor touches it after it closed.

#include <windows.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/PopupBase.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// One change to a row queued before the window exists; applied in order
// when the menu is created.
struct MenuItemChange
{
    // The row: its id when the key is a decimal number, else the first row
    // whose title equals the key.
    UINT itemId;
    CString itemKey;
    CString title;     // empty: leave the title
    int visible;       // 0 hides the row
    int enable;        // with enableGiven: 0 disables the row
    int enableGiven;   // 1 only for SetItemEnable
    int check;         // -1: leave
};

class VREL_API MenuWnd : public MPopupBase
{
public:
    static constexpr int kDefaultWidth = 300;
    static constexpr int kDefaultRowHeight = 30;
    static constexpr int kDefaultTextInset = 5;
    static constexpr int kDefaultTopMargin = 12;
    static constexpr int kDefaultBottomMargin = 6;

    explicit MenuWnd(MObject* owner);
    ~MenuWnd() override;

    // ---- overrides ---------------------------------------------------------------------------
    // Applies the queued changes, then lays the rows out.
    void InitUI(CRect client) override;
    // Posts (menu message, wParam, sender id) to the owner window; a click
    // also closes the menu.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Deletes the menu.
    LRESULT PostNcDestroy() override;

    // ---- creation: 1 when the window exists -------------------------------------------------
    // At screen point pt, width x width until rows are added; background from
    // the application's "PNG" resource backgroundId, drawn in mode with corner.
    int Create(HWND ownerWindow, CPoint pt, UINT message, UINT backgroundId, int corner, int width,
               enumBackMode mode);
    // The same with the background from a skin file.
    int Create(HWND ownerWindow, CPoint pt, UINT message, CString backgroundFile, int corner, int width,
               enumBackMode mode);
    // Keeps the background settings and the current width.
    int Create(HWND ownerWindow, CPoint pt, UINT message);

    // ---- rows: each addition lays the menu out again; they return -1 ------------------------
    // A title wider than the room widens the menu; it never narrows. The
    // icon (resource id other than -1, or a skin file) is kept by the row.
    int AddMenu(CString text, UINT id, int iconResId, int, int);
    int AddMenu(CString text, UINT id, CString iconFile, int, int);
    int AddSeparator(UINT id, CString iconFile);

    // ---- changes queued for creation ------------------------------------------------------
    void SetItemTitle(CString item, CString title);
    void SetItemVisible(CString item, BOOL visible);
    void SetItemEnable(CString item, BOOL enable);
    void SetItemCheck(CString item, int check);

    // Lays the rows out and sizes the window to them.
    void SetMenuPoint();
    // Posts (menu message, wParam, lParam) to the owner window; code
    // NC_CLICKED also closes the menu. Returns 1.
    LRESULT SendMessageToParent(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

    UINT GetMenuMessage() const { return m_menuMessage; }
    int GetWidth() const { return m_width; }

private:
    int CreateAt(HWND ownerWindow, CPoint pt, UINT message);
    MControl* CreateRow(UINT id, const CString& text);
    MControl* AddRow(const CString& text, UINT id);
    void QueueChange(const CString& item, const CString& title, int visible, int enable, int enableGiven,
                     int check);
    MControl* FindRow(const MenuItemChange& change);

    UINT m_menuMessage;
    CString m_fontName;
    int m_fontSize;
    int m_fontStyle;
    int m_textInset;
    int m_rowHeight;
    int m_width;
    int m_topMargin;
    int m_bottomMargin;
    HWND m_hOwnerWnd;
    std::vector<MenuItemChange> m_pending;
};

} // namespace VREL
