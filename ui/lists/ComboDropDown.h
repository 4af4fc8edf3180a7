#pragma once

// The combo boxes' drop-down: a tool-window popup (CComboBoxWnd) that holds
// one list control (CComboBoxList, id 88) and closes itself when it loses
// activation or a row is chosen. The list reports a released row to the
// drop-down as (88, 2, index, 19); the drop-down passes (0, 2, index, 19)
// to its combo and closes; when its window goes it tells the combo (0, 22).

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/PopupWnd.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/ComboBox.h"

namespace VREL {

// The tag a chosen row carries in lParam, from the list to its combo.
constexpr LPARAM kComboChoiceTag = 19;
// The list's id in the drop-down, and the id a combo opens itself with.
constexpr UINT kComboListId = 88;
constexpr UINT kComboOpenId = 9;

class VREL_API CComboBoxList : public MPanel
{
public:
    CComboBoxList(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CComboBoxList() override;

    void DrawControl(HDC& dc, CRect paint) override;
    // The vertical bar's position changes repaint the list; nothing goes on.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    // Stored for the rows, which are drawn in fixed colours.
    void SetTextColor(Gdiplus::Color colour) override;

    int AddItem(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour);
    void DelAllItems();
    int GetItemCount() const;
    // count x row height.
    int GetListHeight() const;
    int GetHoverIndex() const { return m_hover; }
    int GetPressedIndex() const { return m_pressed; }
    // The row's rectangle as last drawn; empty before the first drawing.
    CRect GetItemRect(int index) const;
    bool IsScrollBarShown() const;

private:
    // Shows the bar exactly when the rows overflow, with the rows' height as range.
    void UpdateScrollBar();
    int ScrollOffset() const;
    void Repaint(int redraw);

    mutable CriticalSection m_itemLock;
    std::vector<std::unique_ptr<ComboItem>> m_items;
    int m_hover;
    int m_pressed;
    int m_first;
    int m_last;
    int m_bandTop;
    Gdiplus::StringFormat m_format;
};

class VREL_API CComboBoxWnd : public MPopupWnd
{
public:
    CComboBoxWnd();
    ~CComboBoxWnd() override;

    // Layered painting and the list, inset by 2 pixels on every side.
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    // (88, 2, index, tag): the choice goes to the combo and the drop-down closes.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Tells the combo (0, 22) that the drop-down went.
    LRESULT OnDestroy() override;

    // A nine-grid background with corner 6, from the skin folder or a resource.
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetListFont(const wchar_t* name, int size, Gdiplus::FontStyle style);
    void SetListAlignment(UINT align);
    CComboBoxList* GetList() const { return m_pList; }

private:
    CComboBoxList* m_pList;
};

} // namespace VREL
