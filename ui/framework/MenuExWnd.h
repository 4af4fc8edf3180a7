#pragma once

// A context menu that holds one item list of the keyboard widgets
// ("KeyMenuFuncType", id 100) instead of rows. A chosen item reaches the
// owner window as (menu message, item data, 100); a click or the loss of
// activation closes the menu, which then deletes itself like MenuWnd.
// KeyMenuWnd is the same menu under its own name.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/PopupBase.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class KeyMenuFuncType;

class VREL_API MenuExWnd : public MPopupBase
{
public:
    static constexpr UINT kListId = 100;

    explicit MenuExWnd(MObject* owner);
    ~MenuExWnd() override;

    // ---- overrides ----------------------------------------------------------------------
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Deletes the menu.
    LRESULT PostNcDestroy() override;

    // At rect (screen coordinates) with the background from a skin file; the
    // item list fills the client area. 1 when the window exists.
    int Create(HWND ownerWindow, CRect rect, UINT message, CString backgroundFile);
    // Passes the item to the list; nothing without one.
    void AddItem(CString text, CString text2, int data, CString icon);
    LRESULT SendMessageToParent(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

    // Null while the factory yields no item list.
    KeyMenuFuncType* GetList() const { return m_pList; }
    MControl* GetListControl() const { return m_pListControl; }

private:
    KeyMenuFuncType* m_pList;
    // The same control seen as a control; kept by the paint manager.
    MControl* m_pListControl;
    UINT m_menuMessage;
    HWND m_hOwnerWnd;
};

class VREL_API KeyMenuWnd : public MenuExWnd
{
public:
    explicit KeyMenuWnd(MObject* owner);
    ~KeyMenuWnd() override;
};

} // namespace VREL
