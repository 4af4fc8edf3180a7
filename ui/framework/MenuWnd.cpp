#include "ui/framework/MenuWnd.h"

#include <cwchar>
#include <memory>

#include "ui/framework/MControl.h"
#include "ui/framework/MenuItem.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const wchar_t kWindowName[] = L"Menu Window";
const wchar_t kRowClass[] = L"MenuItem";
const wchar_t kDefaultFont[] = L"Segoe UI";
constexpr int kDefaultFontSize = 14;
// The menus' own frame style; OnCreate turns the window into a tool window.
constexpr DWORD kMenuStyle = 0x80B;
constexpr COLORREF kMenuColorKey = 0xFFFFFF;
constexpr COLORREF kMenuBackColor = 0x333333;
constexpr COLORREF kMenuBorderColor = 0xE6FF49;
constexpr INT kMeasureFlags = 0x1800;
// Room kept right of a row's text.
constexpr int kTextRightRoom = 4;
constexpr int kRowSideInset = 5;
constexpr int kSeparatorHeight = 4;
constexpr int kOtherSeparatorRightInset = 10;
constexpr int kIconFrames = 4;
constexpr int kNoIcon = -1;
constexpr int kMarginWhenZero = 2;
constexpr UINT kSeparatorControlId = static_cast<UINT>(-1);

// The decimal row id a key names, or 0 when the key is not a number.
UINT KeyToId(const CString& key)
{
    if (key.IsEmpty())
        return 0;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(key.GetString(), &end, 10);
    return (end && *end == L'\0') ? static_cast<UINT>(value) : 0;
}

} // namespace

MenuWnd::MenuWnd(MObject* owner)
    : MPopupBase(owner, kMenuColorKey), m_menuMessage(0), m_fontName(kDefaultFont), m_fontSize(kDefaultFontSize),
      m_fontStyle(Gdiplus::FontStyleRegular), m_textInset(kDefaultTextInset), m_rowHeight(kDefaultRowHeight),
      m_width(kDefaultWidth), m_topMargin(kDefaultTopMargin), m_bottomMargin(kDefaultBottomMargin),
      m_hOwnerWnd(nullptr)
{
    m_pm.SetBackColor(kMenuBackColor, kMenuBorderColor);
}

MenuWnd::~MenuWnd() = default;

// ---- creation --------------------------------------------------------------------------------------

int MenuWnd::CreateAt(HWND ownerWindow, CPoint pt, UINT message)
{
    m_menuMessage = message;
    m_hOwnerWnd = ownerWindow;
    MWindow::Create(ownerWindow, kWindowName, kMenuStyle, 0, CRect(pt.x, pt.y, pt.x + m_width, pt.y + m_width));
    return WindowExists() ? 1 : 0;
}

int MenuWnd::Create(HWND ownerWindow, CPoint pt, UINT message, UINT backgroundId, int corner, int width,
                    enumBackMode mode)
{
    m_width = width;
    LoadBKImage(backgroundId, L"PNG");
    SetBackMode(mode, corner);
    return CreateAt(ownerWindow, pt, message);
}

int MenuWnd::Create(HWND ownerWindow, CPoint pt, UINT message, CString backgroundFile, int corner, int width,
                    enumBackMode mode)
{
    m_width = width;
    LoadBKImage(backgroundFile);
    SetBackMode(mode, corner);
    return CreateAt(ownerWindow, pt, message);
}

int MenuWnd::Create(HWND ownerWindow, CPoint pt, UINT message) { return CreateAt(ownerWindow, pt, message); }

// ---- rows ---------------------------------------------------------------------------------------------

MControl* MenuWnd::CreateRow(UINT id, const CString& text)
{
    return m_pm.CreateControl(CONTROL_KIND_CONTROL, this, kRowClass, id, CRect(), text, 1, 1);
}

MControl* MenuWnd::AddRow(const CString& text, UINT id)
{
    std::unique_ptr<Gdiplus::FontFamily> family(MRender::CreateFontFamily(m_fontName));
    const Gdiplus::Font font(family.get(), static_cast<Gdiplus::REAL>(m_fontSize),
                             static_cast<Gdiplus::FontStyle>(m_fontStyle), Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(kMeasureFlags);
    const int textWidth = MRender::GetTextBounds(font, format, text).Width;
    if (textWidth > m_width - m_textInset - kTextRightRoom)
        m_width = textWidth + m_textInset + kTextRightRoom;

    MControl* row = CreateRow(id, text);
    if (MenuItem* item = dynamic_cast<MenuItem*>(row))
        item->SetFont(m_fontName, m_fontSize, static_cast<Gdiplus::FontStyle>(m_fontStyle));
    return row;
}

int MenuWnd::AddMenu(CString text, UINT id, int iconResId, int, int)
{
    MenuItem* item = dynamic_cast<MenuItem*>(AddRow(text, id));
    if (item && iconResId != kNoIcon)
        item->SetImage(static_cast<UINT>(iconResId), L"PNG", kIconFrames);
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddMenu(CString text, UINT id, CString iconFile, int, int)
{
    MenuItem* item = dynamic_cast<MenuItem*>(AddRow(text, id));
    if (item && !iconFile.IsEmpty())
        item->SetImage(iconFile.GetString(), kIconFrames);
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddSeparator(UINT id, CString iconFile)
{
    MControl* row = CreateRow(id, CString());
    if (MenuItem* item = dynamic_cast<MenuItem*>(row))
    {
        item->SetSeparator(1);
        if (!iconFile.IsEmpty())
            item->SetImage(iconFile.GetString(), 1);
    }
    SetMenuPoint();
    return -1;
}

void MenuWnd::SetMenuPoint()
{
    std::vector<MControl*>* controls = m_pm.GetControls();
    if (!controls || controls->empty())
        return;
    int y = m_topMargin ? m_topMargin : kMarginWhenZero;
    // A copy: SetRect may call back into the manager.
    const std::vector<MControl*> rows = *controls;
    for (MControl* control : rows)
    {
        if (control->IsClass(kRowClass))
        {
            MenuItem* item = static_cast<MenuItem*>(control);
            if (!item->IsVisible())
            {
                item->SetRect(CRect(0, 0, 0, 0));
            }
            else if (item->IsSeparator())
            {
                item->SetRect(CRect(m_textInset + 1, y + 1, m_width - kRowSideInset, y + 2));
                y += kSeparatorHeight;
            }
            else
            {
                item->SetRect(CRect(kRowSideInset, y, m_width - kRowSideInset, y + m_rowHeight));
                y += m_rowHeight;
                item->SetTextInset(m_textInset);
            }
        }
        else if (control->GetControlID() == kSeparatorControlId)
        {
            control->SetRect(CRect(m_textInset + 4, y + 1, m_width - kOtherSeparatorRightInset, y + 2));
            y += kSeparatorHeight;
        }
    }
    const int height = y + (m_bottomMargin ? m_bottomMargin : kMarginWhenZero);
    SetWindowPos(nullptr, 0, 0, m_width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    GetClientRect(&client);
    InvalidateRect(client, FALSE);
}

// ---- queued changes ------------------------------------------------------------------------------

void MenuWnd::QueueChange(const CString& item, const CString& title, int visible, int enable, int enableGiven,
                          int check)
{
    m_pending.push_back(MenuItemChange{KeyToId(item), item, title, visible, enable, enableGiven, check});
}

void MenuWnd::SetItemTitle(CString item, CString title) { QueueChange(item, title, 1, 1, 0, -1); }

void MenuWnd::SetItemVisible(CString item, BOOL visible) { QueueChange(item, CString(), visible ? 1 : 0, 1, 0, -1); }

void MenuWnd::SetItemEnable(CString item, BOOL enable) { QueueChange(item, CString(), 1, enable ? 1 : 0, 1, -1); }

void MenuWnd::SetItemCheck(CString item, int check) { QueueChange(item, CString(), 1, 0, 0, check); }

MControl* MenuWnd::FindRow(const MenuItemChange& change)
{
    if (change.itemId)
        return GetControl(change.itemId);
    std::vector<MControl*>* controls = m_pm.GetControls();
    if (!controls)
        return nullptr;
    for (MControl* control : *controls)
    {
        if (control->IsClass(kRowClass) && static_cast<MenuItem*>(control)->GetTitle() == change.itemKey)
            return control;
    }
    return nullptr;
}

void MenuWnd::InitUI(CRect)
{
    for (const MenuItemChange& change : m_pending)
    {
        MControl* control = FindRow(change);
        if (!control)
            continue;
        MenuItem* item = control->IsClass(kRowClass) ? static_cast<MenuItem*>(control) : nullptr;
        if (item && !change.title.IsEmpty())
            item->SetTitle(change.title);
        if (!change.visible && control->IsVisible())
            control->SetVisible(0);
        if (change.enableGiven && !change.enable && control->IsEnabled())
            control->SetEnabled(0);
        if (item && change.check != -1)
            item->SetCheck(change.check);
    }
    SetMenuPoint();
}

// ---- reporting and end ----------------------------------------------------------------------------

LRESULT MenuWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM)
{
    return ReportToWindow(m_hOwnerWnd, m_menuMessage, id, code, wParam);
}

LRESULT MenuWnd::SendMessageToParent(UINT, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (m_hOwnerWnd)
        ::PostMessageW(m_hOwnerWnd, m_menuMessage, wParam, lParam);
    if (code == NC_CLICKED)
        CloseWindow();
    return 1;
}

LRESULT MenuWnd::PostNcDestroy()
{
    delete this;
    return 0;
}

} // namespace VREL
