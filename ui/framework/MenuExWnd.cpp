#include "ui/framework/MenuExWnd.h"

#include "ui/framework/MControl.h"
#include "ui/framework/NotifyCode.h"

// The item list is a keyboard widget, built later with the keyboard widgets.
// Until that header exists this file compiles without it, and until the
// class registers itself with the control factory, Create gets no list back:
// the menu opens as an empty window (it still closes when it loses
// activation), AddItem drops every item, and nothing is ever posted to the
// owner window, since only the list reports choices.
#if __has_include("ui/keyboard/KeyMenuFuncType.h")
#include "ui/keyboard/KeyMenuFuncType.h"
#define VREL_HAS_KEY_MENU_LIST 1
#endif

namespace VREL {

namespace {

const wchar_t kWindowName[] = L"Menu Window";
const wchar_t kListClass[] = L"KeyMenuFuncType";
constexpr DWORD kMenuStyle = 0x80B;
constexpr COLORREF kMenuColorKey = 0xFFFFFF;
constexpr COLORREF kMenuBackColor = 0x333333;
constexpr COLORREF kMenuBorderColor = 0xE6FF49;
constexpr int kBackgroundCorner = 10;

} // namespace

MenuExWnd::MenuExWnd(MObject* owner)
    : MPopupBase(owner, kMenuColorKey), m_pList(nullptr), m_pListControl(nullptr), m_menuMessage(0),
      m_hOwnerWnd(nullptr)
{
}

MenuExWnd::~MenuExWnd() = default;

int MenuExWnd::Create(HWND ownerWindow, CRect rect, UINT message, CString backgroundFile)
{
    m_menuMessage = message;
    m_hOwnerWnd = ownerWindow;
    LoadBKImage(backgroundFile);
    SetBackMode(BACK_MODE_NINE_GRID, kBackgroundCorner);
    MWindow::Create(ownerWindow, kWindowName, kMenuStyle, 0, rect);
    m_pListControl = m_pm.CreateControl(CONTROL_KIND_CONTROL, this, kListClass, kListId,
                                        CRect(0, 0, rect.Width(), rect.Height()), nullptr, 1, 1);
#if defined(VREL_HAS_KEY_MENU_LIST)
    m_pList = dynamic_cast<KeyMenuFuncType*>(m_pListControl);
#endif
    m_pm.SetBackColor(kMenuBackColor, kMenuBorderColor);
    return WindowExists() ? 1 : 0;
}

void MenuExWnd::AddItem(CString text, CString text2, int data, CString icon)
{
#if defined(VREL_HAS_KEY_MENU_LIST)
    if (m_pList)
        m_pList->AddItem(text, text2, data, icon);
#else
    (void)text;
    (void)text2;
    (void)data;
    (void)icon;
#endif
}

LRESULT MenuExWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM)
{
    return ReportToWindow(m_hOwnerWnd, m_menuMessage, id, code, wParam);
}

LRESULT MenuExWnd::SendMessageToParent(UINT, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (m_hOwnerWnd)
        ::PostMessageW(m_hOwnerWnd, m_menuMessage, wParam, lParam);
    if (code == NC_CLICKED)
        CloseWindow();
    return 1;
}

LRESULT MenuExWnd::PostNcDestroy()
{
    delete this;
    return 0;
}

KeyMenuWnd::KeyMenuWnd(MObject* owner) : MenuExWnd(owner) {}

KeyMenuWnd::~KeyMenuWnd() = default;

} // namespace VREL
