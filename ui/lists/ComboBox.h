#pragma once

// The combo boxes: windowless controls that show the chosen item's text and,
// on a click, open a drop-down window under themselves that lists the items;
// releasing on a row selects it and tells the owner OnBaseMessage(id, 2,
// index, 0).
//
// - MComboBox: a framed skin strip (normal, hover, pressed, disabled), an
//   optional in-place editor (CEditWnd2) and a guard that keeps the click
//   that closed the drop-down from opening it again.
// - MComboBox2: text and an unscaled arrow image, no editing, no guard.
// - CColorCombo: a colour swatch with four drawn looks and no drop-down.
//
// Items are records held by the combo under its item lock; the drop-down
// gets copies when it opens. The selection follows its item when items are
// inserted or deleted around it, and becomes none when its item goes.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CComboBoxWnd;
class CEditWnd2;

// One item of a combo box or of its drop-down list.
struct VREL_API ComboItem
{
    CString text;
    // Stored, never drawn.
    CString icon;
    Gdiplus::ARGB colour = 0xFF000000;
    long data = 0;
    // The row as last drawn by the list, client coordinates; hit tests use it.
    CRect rect;
};

// The items of one combo with its selection, every operation under the
// item lock. Indexes are valid from 0 to count - 1.
class VREL_API ComboItemList
{
public:
    ComboItemList() = default;
    ComboItemList(const ComboItemList&) = delete;
    ComboItemList& operator=(const ComboItemList&) = delete;

    // Appends; count - 1.
    int Add(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour);
    // -1 or an empty list appends, else inserts before index; an index
    // below -1 or past the last item is refused with -1; otherwise count - 1
    // (also after an insertion in the middle). A selection at or after the
    // new item moves with its item.
    int Insert(int index, const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour);
    // 1 when removed, or for -1 (nothing removed); 0 for any other invalid
    // index. selectionLost tells whether the selected item was the one.
    int Delete(int index, bool& selectionLost);
    void Clear();
    int Count() const;
    bool IsValid(int index) const;

    CString Text(int index) const;
    // 1 for a valid index; changed tells whether the text differed.
    int SetText(int index, const wchar_t* text, bool& changed);
    long Data(int index) const;
    int SetData(int index, long data);
    // The first item with the data, else -1.
    int Find(long data) const;

    int Selection() const;
    // Stores the selection as given; the caller checks it.
    void SetSelection(int index);

    // Copies of every item, taken under the lock.
    std::vector<ComboItem> Snapshot() const;

private:
    mutable CriticalSection m_lock;
    std::vector<std::unique_ptr<ComboItem>> m_items;
    int m_selection = -1;
};

// What both combo boxes share: the items, the selection, the press and
// release that open the drop-down, and the drop-down itself.
class VREL_API MComboBoxBase : public MControlFont
{
public:
    // The clock the reopen guard reads (milliseconds, as GetTickCount).
    using TickSource = DWORD (*)();
    // Null puts GetTickCount back; returns the previous source.
    static TickSource SetTickSource(TickSource source);
    static DWORD Now();

    // Rows of a drop-down, each this high, at most this many shown at once.
    static constexpr int kRowHeight = 30;
    static constexpr int kVisibleRows = 5;

    ~MComboBoxBase() override;

    // ---- overrides ----------------------------------------------------------------------
    // (9, 2): open the drop-down; (any id but 9, 2, index, 19): a row was
    // chosen; (any, 22): the drop-down went.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    // ---- items ------------------------------------------------------------------------
    int AddItem(const wchar_t* text, long data = 0, const wchar_t* icon = L"", Gdiplus::ARGB colour = 0xFF000000);
    int InsertItem(int index, const wchar_t* text, long data = 0, const wchar_t* icon = L"",
                   Gdiplus::ARGB colour = 0xFF000000);
    int SetItemData(int index, long data);
    long GetItemData(int index) const;
    int SetItemText(int index, const wchar_t* text);
    CString GetItemText(int index) const;
    // -1 clears the selection and the title; a valid index selects it and
    // shows its text; repaints. 0 for an invalid index, which changes nothing.
    int SetCurSel(int index);
    int GetCurSel() const { return m_items.Selection(); }
    long GetCurData() const;
    int FindData(long data) const;
    int SelectData(long data);
    // Removes and frees the item; the selection stays on its item, or
    // becomes none (and the title empty) when that item goes.
    int DeleteItem(int index);
    int DelAllItems();
    int GetItemCount() const { return m_items.Count(); }

    // ---- the drop-down --------------------------------------------------------------------
    int SetBackImage(const wchar_t* file);
    int SetBackImage(UINT id, const wchar_t* type);
    void SetScrollResID(UINT vertical, UINT horizontal);
    int SetShowModeMID(int left, int top, int right, int bottom);
    void SetTextRect(CRect rect) { m_textRect = rect; }
    // (3, 3, width - right inset, height - 3) relative to the control.
    void ResetTextRect();
    CComboBoxWnd* GetDropDown() const { return m_pDropDown; }
    // The height a drop-down of count items gets.
    int DropDownHeight(int count) const;
    // 0 normal, 1 hover, 2 pressed, 3 disabled.
    int GetVisualState() const { return m_visualState; }

protected:
    // dropPadding: pixels a drop-down adds to its rows; textRightInset: the
    // text rectangle's distance from the right edge; guard: whether a click
    // within 200 ms of the drop-down's close is kept from reopening it.
    MComboBoxBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, int dropPadding,
                  int textRightInset, bool guard);

    void Repaint(int redraw);
    // Called on a press inside, before the state changes.
    virtual void OnPressed() {}
    void OpenDropDown();
    // Destroys the drop-down's window, quietly when quiet, and frees it.
    void DestroyDropDown(bool quiet);

    ComboItemList m_items;
    CComboBoxWnd* m_pDropDown;
    int m_visualState;
    CRect m_textRect;
    int m_edgeLeft, m_edgeTop, m_edgeRight, m_edgeBottom;
    CString m_backImage;
    UINT m_backResId;
    CString m_backResType;
    UINT m_scrollVId;
    UINT m_scrollHId;
    DWORD m_closeTime;

private:
    int m_dropPadding;
    int m_textRightInset;
    bool m_bGuard;
};

class VREL_API MComboBox : public MComboBoxBase
{
public:
    MComboBox(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MComboBox() override;

    void DrawControl(HDC& dc, CRect paint) override;
    // Off ends editing; 1 for an enabled control.
    int SetControlFocus(int focus) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;

    // ---- in-place editing ------------------------------------------------------------------
    void SetShowEdit(int show) { m_bShowEdit = show; }
    int IsShowEdit() const { return m_bShowEdit; }
    void SetEditBKColor(COLORREF colour) { m_editBack = colour; }
    COLORREF GetEditBKColor() const { return m_editBack; }
    COLORREF GetEditTextColor() const;
    HFONT GetDefaultFont();
    // Stores the title when it differs, silently; null counts as empty.
    void SetEditText(const wchar_t* text);
    // The editor's live text while it is shown, else the title.
    CString GetEditText();
    CString GetTitleEx() const { return m_title; }
    // Left + 1 to right - 36, a band centred in the height.
    CRect CalcTextRect(int force);
    CRect GetTextRect() { return CalcTextRect(1); }
    void SetEditWindow(CEditWnd2* window) { m_pEditWnd = window; }
    CEditWnd2* GetEditWindow() const { return m_pEditWnd; }
    HWND GetEditHwnd() const;

protected:
    void OnPressed() override;
    void ShowEdit();
    void HideEdit();

private:
    int m_bShowEdit;
    CEditWnd2* m_pEditWnd;
    HFONT m_hEditFont;
    COLORREF m_editBack;
};

class VREL_API MComboBox2 : public MComboBoxBase
{
public:
    MComboBox2(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MComboBox2() override;

    void DrawControl(HDC& dc, CRect paint) override;
};

class VREL_API CColorCombo : public MControlFont
{
public:
    CColorCombo(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CColorCombo() override;

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int SetImage(const wchar_t* file, int count) override;
    using MControlFont::SetImage;

    void SetAreaColor(Gdiplus::ARGB colour);
    Gdiplus::ARGB GetAreaColor() const { return m_areaColour; }
    void SetIsOpen(bool open) { m_bOpen = open; }
    bool IsOpen() const { return m_bOpen; }
    int GetVisualState() const { return m_visualState; }

private:
    void Repaint(int redraw);

    Gdiplus::ARGB m_areaColour;
    int m_visualState;
    bool m_bOpen;
};

} // namespace VREL
