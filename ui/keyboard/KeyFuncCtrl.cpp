#include "ui/keyboard/KeyFuncCtrl.h"

#include <algorithm>
#include <cstdint>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/PeripheralPaint.h"

namespace VREL {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr UINT kWheelTowardUser = 1;
constexpr int kWheelRows = 10;

constexpr int kInitialContentHeight = 500;
// The content height with every group closed.
constexpr int kClosedContentHeight = 120;

constexpr int kHeaderHeight = 40;
constexpr int kHeaderBandHeight = 30;
constexpr int kHeaderTextLeft = 10;
constexpr int kArrowRight = 10;
constexpr int kArrowTop = 5;
constexpr int kArrowOpenFrame = 0;
constexpr int kArrowClosedFrame = 2;
constexpr float kCornerRadius = 6.0f;
constexpr Gdiplus::ARGB kOpenHeaderColor = 0xFF575757;
constexpr int kFontSize = 12;

// The item grid of an open group.
constexpr int kGridLeft = 10;
constexpr int kBoxSize = 50;
constexpr int kBoxPitch = 60;
constexpr int kFirstRowHeight = 60;
constexpr int kIconInset = 15;
constexpr int kIconSize = 20;

// The table's initial item boxes: twelve 42 x 42 boxes on a 50-pixel grid.
constexpr int kTableColumns = 12;
constexpr int kTablePitch = 50;
constexpr int kTableLeft = 5;
constexpr int kTableBox = 42;

// A dragged item's picture shows this much around its box.
constexpr int kDragLeftTop = 1;
constexpr int kDragRightBottom = 2;

struct TableItem
{
    const wchar_t* name;
    int code;
    const wchar_t* icon;
};

const TableItem kCharacterKeys[] = {
    {L"A", 4, L""},    {L"B", 5, L""},    {L"C", 6, L""},     {L"D", 7, L""},    {L"E", 8, L""},
    {L"F", 9, L""},    {L"G", 10, L""},   {L"H", 11, L""},    {L"I", 12, L""},   {L"J", 13, L""},
    {L"K", 14, L""},   {L"L", 15, L""},   {L"M", 16, L""},    {L"N", 17, L""},   {L"O", 18, L""},
    {L"P", 19, L""},   {L"Q", 20, L""},   {L"R", 21, L""},    {L"S", 22, L""},   {L"T", 23, L""},
    {L"U", 24, L""},   {L"V", 25, L""},   {L"W", 26, L""},    {L"X", 27, L""},   {L"Y", 28, L""},
    {L"Z", 29, L""},   {L"1", 30, L""},   {L"2", 31, L""},    {L"3", 32, L""},   {L"4", 33, L""},
    {L"5", 34, L""},   {L"6", 35, L""},   {L"7", 36, L""},    {L"8", 37, L""},   {L"9", 38, L""},
    {L"0", 39, L""},   {L"~", 53, L""},   {L"-", 45, L""},    {L"=", 46, L""},   {L"[", 47, L""},
    {L"]", 48, L""},   {L"\\", 49, L""},  {L";", 51, L""},    {L"'", 52, L""},   {L",<", 54, L""},
    {L".>", 55, L""},  {L"/?", 56, L""},
};

const TableItem kOtherKeys[] = {
    {L"Esc", 41, L""},       {L"Tab", 43, L""},      {L"Caps", 57, L""},      {L"Backsapce", 42, L""},
    {L"Enter", 40, L""},     {L"Space", 44, L""},    {L"L-Ctrl", 224, L""},   {L"R-Ctrl", 228, L""},
    {L"L-Shift", 225, L""},  {L"R-Shift", 229, L""}, {L"L-Alt", 226, L""},    {L"R-Alt", 230, L""},
    {L"L-Win", 227, L""},    {L"R-Win", 231, L""},   {L"Menu", 101, L""},     {L"\u2191", 82, L""},
    {L"\u2190", 80, L""},    {L"\u2193", 81, L""},   {L"\u2192", 79, L""},    {L"PrtSc", 70, L""},
    {L"ScrL", 71, L""},      {L"Pause", 72, L""},    {L"Home", 74, L""},      {L"End", 77, L""},
    {L"Ins", 73, L""},       {L"Del", 76, L""},      {L"PgUp", 75, L""},      {L"PgDn", 78, L""},
    {L"F1", 58, L""},        {L"F2", 59, L""},       {L"F3", 60, L""},        {L"F4", 61, L""},
    {L"F5", 62, L""},        {L"F6", 63, L""},       {L"F7", 64, L""},        {L"F8", 65, L""},
    {L"F9", 66, L""},        {L"F10", 67, L""},      {L"F11", 68, L""},       {L"F12", 69, L""},
    {L"NumLock", 83, L""},   {L"Num 1", 89, L""},    {L"Num 2", 90, L""},     {L"Num 3", 91, L""},
    {L"Num 4", 92, L""},     {L"Num 5", 93, L""},    {L"Num 6", 94, L""},     {L"Num 7", 95, L""},
    {L"Num 8", 96, L""},     {L"Num 9", 97, L""},    {L"Num 0", 98, L""},     {L"Num .", 99, L""},
    {L"Num +", 87, L""},     {L"Num -", 86, L""},    {L"Num *", 85, L""},     {L"Num /", 84, L""},
    {L"Num Enter", 88, L""},
};

const TableItem kSpecialFunctions[] = {
    {L"My Computer", 500, L"icon//icon_pc.png"},
    {L"Calculator ", 501, L"icon//icon_cal.png"},
    {L"Email", 502, L"icon//icon_email.png"},
    {L"Multimedia", 503, L"icon//icon_multimedia.png"},
    {L"Play/Pause", 504, L"icon//icon_playpause.png"},
    {L"Stop", 505, L"icon//icon_stop.png"},
    {L"Previous", 506, L"icon//icon_pre.png"},
    {L"Next", 507, L"icon//icon_next.png"},
    {L"Volume +", 508, L"icon//icon_vol_up.png"},
    {L"Volume -", 509, L"icon//icon_vol_down.png"},
    {L"Volume Mute", 510, L"icon//icon_vol_mute.png"},
    {L"Web", 511, L"icon//icon_home.png"},
    {L"Web Refresh", 512, L"icon//icon_web_refresh.png"},
    {L"Web Stop", 513, L"icon//icon_web_stop.png"},
    {L"Web Backward", 514, L"icon//icon_web_backward.png"},
    {L"Web Foreward", 515, L"icon//icon_web_foreward.png"},
    {L"Web Favorites", 516, L"icon//icon_favorites.png"},
    {L"Web Search", 517, L"icon//icon_web_search.png"},
    {L"Fn", 175, L""},
};

struct TableGroup
{
    const wchar_t* title;
    int open;
    int height;
    const TableItem* items;
    size_t count;
};

const TableGroup kGroups[] = {
    {L"#\u57FA\u672C\u5B57\u7B26", 1, 300, kCharacterKeys, sizeof(kCharacterKeys) / sizeof(kCharacterKeys[0])},
    {L"#\u6269\u5C55\u5B57\u7B26", 0, 250, kOtherKeys, sizeof(kOtherKeys) / sizeof(kOtherKeys[0])},
    {L"#\u7279\u6B8A\u5B57\u7B26", 0, 100, kSpecialFunctions,
     sizeof(kSpecialFunctions) / sizeof(kSpecialFunctions[0])},
};

CRect TableRect(int k)
{
    const int column = k % kTableColumns;
    const int row = k / kTableColumns;
    return CRect(kTableLeft + kTablePitch * column, kTablePitch * row, kTableLeft + kTableBox + kTablePitch * column,
                 kTableBox + kTablePitch * row);
}

} // namespace

KeyFuncCtrl::KeyFuncCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_hoverGroup(-1),
      m_hoverItem(-1),
      m_pickedCode(0),
      m_contentHeight(kInitialContentHeight)
{
}

KeyFuncCtrl::~KeyFuncCtrl()
{
    ScopedLock lock(m_lock);
    m_groups.clear();
}

void KeyFuncCtrl::Repaint() { UpdateControl(1, 0); }

int KeyFuncCtrl::GetDrawWidth() const { return m_rect.Width() - m_barThickness; }

// ---- content ---------------------------------------------------------------------------

void KeyFuncCtrl::AddGroup(const wchar_t* name, int open, int height)
{
    auto group = std::make_unique<ITEM_INFO>();
    group->name = name;
    group->open = open;
    group->height = height;
    m_groups.push_back(std::move(group));
}

void KeyFuncCtrl::AddKeyItem(ITEM_INFO* group, CString name, int code, CRect rect, CString iconFile)
{
    auto item = std::make_unique<KEY_ITEM>();
    item->name = name;
    item->code = code;
    item->rect = rect;
    if (!iconFile.IsEmpty())
        item->icon = LoadOwnedImage(GetSkinFolder() + iconFile).image;
    group->items.push_back(std::move(item));
}

void KeyFuncCtrl::InitItemInfo()
{
    ClearItems();
    for (const TableGroup& table : kGroups)
    {
        AddGroup(table.title, table.open, table.height);
        ITEM_INFO* group = m_groups.back().get();
        for (size_t k = 0; k < table.count; ++k)
        {
            const TableItem& entry = table.items[k];
            AddKeyItem(group, entry.name, entry.code, TableRect(static_cast<int>(k)), entry.icon);
        }
    }
}

void KeyFuncCtrl::ClearItems()
{
    {
        ScopedLock lock(m_lock);
        m_groups.clear();
        ShowVerticalBar(false);
        m_pScrollVertical->SetScrollMaxRange(0);
        m_contentHeight = 0;
    }
    Repaint();
}

void KeyFuncCtrl::ResetKeyState()
{
    {
        ScopedLock lock(m_lock);
        for (auto& group : m_groups)
            group->open = 0;
        m_contentHeight = kClosedContentHeight;
    }
    ShowVerticalBar(m_rect.Height() < kClosedContentHeight);
    m_pScrollVertical->SetScrollMaxRange(kClosedContentHeight);
    Repaint();
}

int KeyFuncCtrl::SetItemText(int index, CString title)
{
    bool changed = false;
    {
        ScopedLock lock(m_lock);
        if (index < 0 || index >= static_cast<int>(m_groups.size()))
            return 0;
        ITEM_INFO& group = *m_groups[static_cast<size_t>(index)];
        changed = group.name != title;
        group.name = title;
    }
    if (changed)
        Repaint();
    return 1;
}

void KeyFuncCtrl::SetItemDesc(int code, CString text)
{
    {
        ScopedLock lock(m_lock);
        constexpr size_t kSpecialGroup = 2;
        if (m_groups.size() > kSpecialGroup)
        {
            for (auto& item : m_groups[kSpecialGroup]->items)
            {
                if (item->code == code)
                {
                    item->name = text;
                    break;
                }
            }
        }
    }
    Repaint();
}

void KeyFuncCtrl::GetCurValue(int& code, CString& name)
{
    code = 0;
    name = CString();
    ScopedLock lock(m_lock);
    if (const KEY_ITEM* item = HoveredItem())
    {
        code = item->code;
        name = item->name;
    }
}

KeyFuncCtrl::KEY_ITEM* KeyFuncCtrl::HoveredItem() const
{
    if (m_hoverGroup < 0 || m_hoverGroup >= static_cast<int>(m_groups.size()))
        return nullptr;
    const ITEM_INFO& group = *m_groups[static_cast<size_t>(m_hoverGroup)];
    if (m_hoverItem < 0 || m_hoverItem >= static_cast<int>(group.items.size()))
        return nullptr;
    return group.items[static_cast<size_t>(m_hoverItem)].get();
}

// ---- state copies ------------------------------------------------------------------------

int KeyFuncCtrl::GetGroupCount()
{
    ScopedLock lock(m_lock);
    return static_cast<int>(m_groups.size());
}

namespace {

template <class Group, class Result, class Read>
Result ReadGroup(CriticalSection& lock, const std::vector<std::unique_ptr<Group>>& groups, int index, Result none,
                 Read read)
{
    ScopedLock guard(lock);
    if (index < 0 || index >= static_cast<int>(groups.size()))
        return none;
    return read(*groups[static_cast<size_t>(index)]);
}

} // namespace

CString KeyFuncCtrl::GetGroupName(int group)
{
    return ReadGroup(m_lock, m_groups, group, CString(), [](const ITEM_INFO& g) { return g.name; });
}

int KeyFuncCtrl::IsGroupOpen(int group)
{
    return ReadGroup(m_lock, m_groups, group, 0, [](const ITEM_INFO& g) { return g.open; });
}

int KeyFuncCtrl::GetGroupHeight(int group)
{
    return ReadGroup(m_lock, m_groups, group, 0, [](const ITEM_INFO& g) { return g.height; });
}

CRect KeyFuncCtrl::GetGroupHeaderRect(int group)
{
    return ReadGroup(m_lock, m_groups, group, CRect(), [](const ITEM_INFO& g) { return g.header; });
}

int KeyFuncCtrl::GetGroupItemCount(int group)
{
    return ReadGroup(m_lock, m_groups, group, 0, [](const ITEM_INFO& g) { return static_cast<int>(g.items.size()); });
}

namespace {

const KeyFuncCtrl::KEY_ITEM* ItemOf(const KeyFuncCtrl::ITEM_INFO& group, int item)
{
    if (item < 0 || item >= static_cast<int>(group.items.size()))
        return nullptr;
    return group.items[static_cast<size_t>(item)].get();
}

} // namespace

CRect KeyFuncCtrl::GetKeyItemRect(int group, int item)
{
    return ReadGroup(m_lock, m_groups, group, CRect(), [item](const ITEM_INFO& g) {
        const KEY_ITEM* key = ItemOf(g, item);
        return key ? key->rect : CRect();
    });
}

int KeyFuncCtrl::GetKeyItemCode(int group, int item)
{
    return ReadGroup(m_lock, m_groups, group, 0, [item](const ITEM_INFO& g) {
        const KEY_ITEM* key = ItemOf(g, item);
        return key ? key->code : 0;
    });
}

CString KeyFuncCtrl::GetKeyItemName(int group, int item)
{
    return ReadGroup(m_lock, m_groups, group, CString(), [item](const ITEM_INFO& g) {
        const KEY_ITEM* key = ItemOf(g, item);
        return key ? key->name : CString();
    });
}

bool KeyFuncCtrl::KeyItemHasIcon(int group, int item)
{
    return ReadGroup(m_lock, m_groups, group, false, [item](const ITEM_INFO& g) {
        const KEY_ITEM* key = ItemOf(g, item);
        return key && key->icon != nullptr;
    });
}

// ---- layout and scrolling ----------------------------------------------------------------

int KeyFuncCtrl::ComputeContentHeight() const
{
    int height = 0;
    for (const auto& group : m_groups)
        height += kHeaderHeight + (group->open ? group->height : 0);
    return height;
}

void KeyFuncCtrl::ShowVerticalBar(bool show)
{
    const int visible = show ? 1 : 0;
    if (m_pScrollVertical->IsVisible() == visible)
        return;
    m_pScrollVertical->SetControlVisible(visible);
    OnControlUpdate(m_pScrollVertical->GetRect(), 1, m_pScrollVertical);
}

void KeyFuncCtrl::UpdateScrollState()
{
    const int content = m_contentHeight;
    const int view = m_rect.Height();
    ShowVerticalBar(content > view);
    m_pScrollVertical->SetScrollMaxRange(content);
    // The position that keeps the visible part where it was. Content that
    // fits the view has nothing to scroll: the position goes back to the top
    // (the share of an overflow of 0 or less is not a position).
    const int overflow = content - view;
    int position = 0;
    if (overflow > 0)
        position = static_cast<int>(m_scrollOffsetY * m_pScrollVertical->GetScrollMaxRange() / overflow);
    m_pScrollVertical->SetScrollCurrentPos(position);
}

void KeyFuncCtrl::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    SetControlRect(m_rect);
}

void KeyFuncCtrl::SetControlRect(CRect rect)
{
    m_rect = rect;
    {
        ScopedLock lock(m_controlLock);
        for (MControl* bar : {static_cast<MControl*>(m_pScrollVertical), static_cast<MControl*>(m_pScrollHorizontal)})
        {
            const CRect target = bar == m_pScrollVertical
                                     ? CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom)
                                     : CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom);
            CRect dirty;
            dirty.UnionRect(bar->GetRect(), target);
            bar->SetControlRect(target);
            if (bar->IsVisible())
                OnControlUpdate(dirty, 1, bar);
        }
    }
    {
        ScopedLock lock(m_lock);
        m_contentHeight = ComputeContentHeight();
    }
    if (m_contentHeight > 0)
        UpdateScrollState();
    Repaint();
}

int KeyFuncCtrl::OnControlScroll(int, UINT direction, CPoint)
{
    if (m_rect.Height() >= m_contentHeight)
        return 0;
    if (m_pScrollVertical->ScrollRow(direction == kWheelTowardUser ? kWheelRows : -kWheelRows))
        Repaint();
    return 1;
}

LRESULT KeyFuncCtrl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (code == NC_SCROLL && (id == kVerticalBarId || id == kHorizontalBarId))
        Repaint();
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

int KeyFuncCtrl::SetImage(const wchar_t* file, int count)
{
    count = ValidFrameCount(count);
    const ImgResInfo* info = m_pManager ? m_pManager->AddImgResInfo(file, count) : nullptr;
    if (!info || !info->image)
    {
        m_pImage = nullptr;
        m_frameWidth = 0;
        m_frameHeight = 0;
        return 0;
    }
    m_pImage = info->image;
    m_frameCount = count;
    m_frameWidth = static_cast<int>(info->image->GetWidth()) / count;
    m_frameHeight = static_cast<int>(info->image->GetHeight());
    Repaint();
    return 1;
}

// ---- painting ------------------------------------------------------------------------------

void KeyFuncCtrl::DrawControl(HDC& dc, CRect)
{
    const int view = m_rect.Height();
    if (m_contentHeight < view)
        m_contentHeight = view;
    const int content = m_contentHeight;
    const int range = m_pScrollVertical->GetScrollMaxRange();
    int offset = 0;
    if (range > 0)
        offset = static_cast<int>(static_cast<int64_t>(m_pScrollVertical->GetScrollCurrentPos()) * (content - view) /
                                  range);
    m_scrollOffsetY = offset;
    const int width = GetDrawWidth();
    if (width <= 0 || view <= 0)
        return;

    if (!m_bUpdate || !m_hMemDC)
    {
        UpdateMemDC(dc, width, content);
        if (!m_hMemDC)
            return;
        MRender::FillSolidRect(m_hMemDC, 0, 0, width, content, RGB(255, 255, 255));
        // Only the top view-high rows are ever shown: the background
        // stays put while the groups scroll over it.
        HDC memDc = m_hMemDC;
        MRender::DrawVerticalTransition(memDc, dc, CRect(0, 0, width, view),
                                        CRect(m_rect.left, m_rect.top, m_rect.left + width, m_rect.top + view), 0, 0);
        ::SetBkMode(m_hMemDC, TRANSPARENT);

        Gdiplus::Graphics graphics(m_hMemDC);
        PrepareGraphics(graphics, m_textHint);
        const ControlFont font(*this, kFontSize, Gdiplus::FontStyleRegular);
        const auto itemFormat =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, 0);
        const auto headerFormat =
            MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        const Gdiplus::SolidBrush brush(m_textColor);
        const float w = static_cast<float>(width);

        ScopedLock lock(m_lock);
        const KEY_ITEM* hovered = HoveredItem();
        int y = -offset;
        for (auto& groupPtr : m_groups)
        {
            ITEM_INFO& group = *groupPtr;
            group.header = CRect(0, y, width, y + kHeaderHeight);
            const float top = static_cast<float>(y);
            if (group.open)
            {
                MRender::DrawRoundRectange(graphics, 0.0f, top, w, static_cast<float>(kHeaderBandHeight),
                                           kCornerRadius, Gdiplus::Color(kOpenHeaderColor), 1.0f,
                                           Gdiplus::Color(kOpenHeaderColor));
            }
            const int frame = group.open ? kArrowOpenFrame : kArrowClosedFrame;
            if (m_pImage && frame < m_frameCount)
            {
                DrawStripFrame(graphics, m_pImage,
                               Gdiplus::Rect(width - m_frameWidth - kArrowRight, y + kArrowTop, m_frameWidth,
                                             m_frameHeight),
                               frame * m_frameWidth, 0, m_frameWidth, m_frameHeight);
            }
            graphics.DrawString(group.name.GetString(), group.name.GetLength(), &font.Get(),
                                Gdiplus::RectF(static_cast<float>(kHeaderTextLeft), top, w,
                                               static_cast<float>(kHeaderBandHeight)),
                                headerFormat.get(), &brush);
            if (group.open)
            {
                group.height = kFirstRowHeight;
                int x = kGridLeft;
                int rowTop = y + kHeaderHeight;
                for (auto& itemPtr : group.items)
                {
                    KEY_ITEM& item = *itemPtr;
                    item.rect = CRect(x, rowTop, x + kBoxSize, rowTop + kBoxSize);
                    const bool marked = item.code == m_pickedCode || &item == hovered;
                    const Gdiplus::Color border = marked ? Manager::m_down_color : Manager::m_hover_color;
                    MRender::DrawRoundRectange(graphics, static_cast<float>(x), static_cast<float>(rowTop),
                                               static_cast<float>(kBoxSize), static_cast<float>(kBoxSize),
                                               kCornerRadius, border, 1.0f, Manager::m_normal_color);
                    if (item.icon)
                    {
                        graphics.DrawImage(item.icon.get(),
                                           Gdiplus::Rect(x + kIconInset, rowTop + kIconInset, kIconSize, kIconSize), 0,
                                           0, kIconSize, kIconSize, Gdiplus::UnitPixel);
                    }
                    else
                    {
                        graphics.DrawString(item.name.GetString(), item.name.GetLength(), &font.Get(),
                                            Gdiplus::RectF(static_cast<float>(x), static_cast<float>(rowTop),
                                                           static_cast<float>(kBoxSize), static_cast<float>(kBoxSize)),
                                            itemFormat.get(), &brush);
                    }
                    x += kBoxPitch;
                    if (x > width - kBoxPitch)
                    {
                        x = kGridLeft;
                        rowTop += kBoxPitch;
                        group.height += kBoxPitch;
                    }
                }
            }
            y += kHeaderHeight + (group.open ? group.height : 0);
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, view, m_hMemDC, 0, 0, SRCCOPY);
}

// ---- mouse ---------------------------------------------------------------------------------

int KeyFuncCtrl::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int beforeGroup = m_hoverGroup;
    const int beforeItem = m_hoverItem;
    const CPoint origin = m_rect.TopLeft();
    if (!m_rect.PtInRect(pt))
    {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        if (m_pManager)
        {
            m_pManager->ClearTooltip();
            m_pManager->SetTooltipCtrlID(0);
        }
        m_hoverGroup = -1;
    }
    else
    {
        CString tip;
        CRect tipRect;
        bool hovered = false;
        bool holds = false;
        {
            ScopedLock lock(m_lock);
            if (const KEY_ITEM* item = HoveredItem())
            {
                hovered = true;
                const CRect box = item->rect + origin;
                if (box.PtInRect(pt))
                {
                    holds = true;
                    if (item->icon)
                    {
                        tip = item->name;
                        tipRect = box;
                    }
                }
            }
        }
        if (holds)
        {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            if (!tipRect.IsRectEmpty())
                SetTooltip(tip, tipRect);
            return 1;
        }
        if (hovered)
        {
            m_hoverGroup = -1;
            m_hoverItem = -1;
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            ClearTooltip();
        }
        ScopedLock lock(m_lock);
        for (size_t g = 0; g < m_groups.size() && m_hoverGroup < 0; ++g)
        {
            const ITEM_INFO& group = *m_groups[g];
            if (!group.open)
                continue;
            for (size_t i = 0; i < group.items.size(); ++i)
            {
                if ((group.items[i]->rect + origin).PtInRect(pt))
                {
                    m_hoverGroup = static_cast<int>(g);
                    m_hoverItem = static_cast<int>(i);
                    break;
                }
            }
        }
    }
    if (beforeGroup != m_hoverGroup || beforeItem != m_hoverItem)
        Repaint();
    return 1;
}

int KeyFuncCtrl::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int KeyFuncCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const CPoint origin = m_rect.TopLeft();
    bool itemHovered = false;
    {
        ScopedLock lock(m_lock);
        if (const KEY_ITEM* item = HoveredItem())
        {
            itemHovered = true;
            if ((item->rect + origin).PtInRect(pt))
                m_pickedCode = item->code;
        }
        else
        {
            for (auto& group : m_groups)
            {
                if ((group->header + origin).PtInRect(pt))
                    group->open = group->open ? 0 : 1;
            }
            m_contentHeight = ComputeContentHeight();
        }
    }
    if (itemHovered)
        SendMessageW(NC_CLICKED, 0, static_cast<LPARAM>(m_pickedCode));
    else
        UpdateScrollState();
    Repaint();
    return 0;
}

// ---- drag source -----------------------------------------------------------------------------

int KeyFuncCtrl::IsDragDrop() { return m_bDragDrop; }

HBITMAP KeyFuncCtrl::GetControlDropBitmap()
{
    if (!m_bEnabled || !m_pManager)
        return nullptr;
    CRect box;
    {
        ScopedLock lock(m_lock);
        const KEY_ITEM* item = HoveredItem();
        if (!item)
            return nullptr;
        box = item->rect;
    }
    box.InflateRect(kDragLeftTop, kDragLeftTop, kDragRightBottom, kDragRightBottom);
    return m_pManager->GetDropBitmap(this, box, 0);
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterKeyFuncCtrl(MakeControlClass<KeyFuncCtrl, ControlForm::Visible>(L"KeyFuncCtrl"));

} // namespace

} // namespace VREL
