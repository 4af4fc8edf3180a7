#include "ui/keyboard/KeyFuncControl.h"

#include "ui/controls/ControlFontFamily.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr UINT kWheelTowardUser = 1;
// Rows the wheel moves per notch.
constexpr int kWheelRows = 10;

constexpr float kCellRadius = 6.0f;
constexpr float kCellPen = 2.0f;
constexpr Gdiplus::ARGB kCellDark = 0xFF333333;
constexpr Gdiplus::ARGB kCellLit = 0xFF49FFE6;
// Names may reach 3 pixels beyond their cell on each side.
constexpr int kNameOverhang = 3;
// The drag image: 1 pixel more at the left and top, 2 at the right and bottom.
constexpr int kDragLeadMargin = 1;
constexpr int kDragTrailMargin = 2;
constexpr float kCornerSize = 15.0f;

} // namespace

KeyPickerGrid::KeyPickerGrid(MObject* owner, UINT id, CRect rect, int visible, KeyPickerTable table, int extraHeight,
                             bool reportPress)
    : MPanel(owner, id, rect, visible),
      m_hover(-1),
      m_picked(-1),
      m_checked(-1),
      m_contentHeight(0),
      m_table(table),
      m_extraHeight(extraHeight),
      m_reportPress(reportPress),
      m_pOwnImage(nullptr)
{
    m_bDragDrop = 1;
}

KeyPickerGrid::~KeyPickerGrid()
{
    ClearItems();
    if (m_pImage == m_pOwnImage)
        m_pImage = nullptr;
    delete m_pOwnImage;
}

// ---- items ---------------------------------------------------------------------------------------

void KeyPickerGrid::InitItemInfo()
{
    ClearItems();
    int bottom = 0;
    for (size_t i = 0; i < m_table.count; ++i)
    {
        const KeyPickerEntry& e = m_table.entries[i];
        const CRect rect(e.left, e.top, e.left + e.width, e.top + e.height);
        AddKeyItem(e.label, e.code, rect, CString(), 0);
        bottom = rect.bottom;
    }
    m_contentHeight = bottom + m_extraHeight;
    UpdateScrollBar();
}

void KeyPickerGrid::AddKeyItem(const CString& name, int code, CRect rect, CString icon, int flag)
{
    auto* item = new KEY_FUNC_ITEM{name, code, flag, 0, nullptr, 0, 0, rect};
    if (flag == 0)
        icon.Format(kPicturePattern, static_cast<unsigned>(code));
    if (!icon.IsEmpty())
    {
        Gdiplus::Image* image = MRender::LoadImageFromFile(GetSkinFolder() + icon);
        if (image && image->GetLastStatus() == Gdiplus::Ok)
        {
            item->image = image;
            item->frameWidth = static_cast<int>(image->GetWidth()) / kPictureFrames;
            item->frameHeight = static_cast<int>(image->GetHeight());
        }
        else
        {
            delete image;
        }
    }
    ScopedLock lock(m_itemLock);
    m_items.push_back(item);
}

void KeyPickerGrid::ClearItems()
{
    ScopedLock lock(m_itemLock);
    for (KEY_FUNC_ITEM* item : m_items)
    {
        delete item->image;
        delete item;
    }
    m_items.clear();
}

int KeyPickerGrid::GetItemCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

bool KeyPickerGrid::GetItem(int index, KEY_FUNC_ITEM& item)
{
    ScopedLock lock(m_itemLock);
    if (!IsItemIndex(index))
        return false;
    item = *m_items[static_cast<size_t>(index)];
    item.image = nullptr;
    return true;
}

bool KeyPickerGrid::GetCurItemData(int&, int& code, int& flag, int& reserved, CString& name)
{
    ScopedLock lock(m_itemLock);
    // A picked index left over from a cleared list names no cell.
    if (!IsItemIndex(m_picked))
        return false;
    const KEY_FUNC_ITEM& item = *m_items[static_cast<size_t>(m_picked)];
    code = item.code;
    flag = item.flag;
    reserved = item.reserved;
    name = item.name;
    return true;
}

void KeyPickerGrid::SetItemCheckByItemData(int code, int flag, int reserved)
{
    m_checked = -1;
    if (code != 0)
    {
        ScopedLock lock(m_itemLock);
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            const KEY_FUNC_ITEM& item = *m_items[i];
            if (item.code == code && item.flag == flag && item.reserved == reserved)
            {
                m_checked = static_cast<int>(i);
                break;
            }
        }
    }
    RequestRepaint();
}

int KeyPickerGrid::SetImage(const wchar_t* file, int frames)
{
    if (frames < 1)
        frames = 1;
    Gdiplus::Image* image = MRender::LoadImageFromFile(GetSkinFolder() + CString(file ? file : L""));
    if (image && image->GetLastStatus() != Gdiplus::Ok)
    {
        delete image;
        image = nullptr;
    }
    if (m_pImage == m_pOwnImage)
        m_pImage = nullptr;
    delete m_pOwnImage;
    m_pOwnImage = image;
    m_pImage = image;
    if (!image)
        return 0;
    m_frameWidth = static_cast<int>(image->GetWidth() / static_cast<UINT>(frames));
    m_frameHeight = static_cast<int>(image->GetHeight());
    m_frameCount = frames;
    return 1;
}

void KeyPickerGrid::DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, Gdiplus::Color first,
                                 Gdiplus::Color second, bool corner)
{
    Gdiplus::SolidBrush fill(second);
    graphics.FillRectangle(&fill, x, y, w, h);
    Gdiplus::Pen pen(first, 1.0f);
    graphics.DrawRectangle(&pen, x + 1, y + 1, w - 1, h - 1);
    if (corner)
    {
        const Gdiplus::PointF triangle[] = {{x + w - kCornerSize, y + 1}, {x + w, y + 1}, {x + w, y + kCornerSize}};
        Gdiplus::SolidBrush mark(first);
        graphics.FillPolygon(&mark, triangle, 3);
    }
}

// ---- layout and scrolling -----------------------------------------------------------------------

void KeyPickerGrid::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    SetControlRect(m_rect);
}

void KeyPickerGrid::SetControlRect(CRect rect)
{
    m_rect = rect;
    {
        ScopedLock lock(m_controlLock);
        for (MControl* child : m_controls)
        {
            const UINT id = child->GetControlID();
            if (id != kVerticalBarId && id != kHorizontalBarId)
                continue;
            const CRect target = id == kVerticalBarId
                                     ? CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom)
                                     : CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom);
            CRect dirty;
            dirty.UnionRect(child->GetRect(), target);
            child->SetControlRect(target);
            if (child->IsVisible())
                OnControlUpdate(dirty, 1, child);
        }
    }
    UpdateScrollBar();
}

void KeyPickerGrid::UpdateScrollBar()
{
    const int show = m_contentHeight > m_rect.Height() ? 1 : 0;
    if (m_pScrollVertical->IsVisible() != show)
    {
        m_pScrollVertical->SetControlVisible(show);
        OnControlUpdate(m_pScrollVertical->GetRect(), 1, m_pScrollVertical);
    }
    m_pScrollVertical->SetScrollMaxRange(m_contentHeight);
    if (m_pScrollHorizontal->IsVisible())
        m_pScrollHorizontal->SetControlVisible(0);
}

int KeyPickerGrid::ComputeScrollOffset() const
{
    const int height = m_rect.Height();
    const int range = m_pScrollVertical->GetScrollMaxRange();
    if (m_contentHeight <= height || range <= 0)
        return 0;
    const long long position = m_pScrollVertical->GetScrollCurrentPos();
    return static_cast<int>(position * (m_contentHeight - height) / range);
}

int KeyPickerGrid::OnControlScroll(int, UINT direction, CPoint)
{
    const int rows = direction == kWheelTowardUser ? kWheelRows : -kWheelRows;
    if (m_pScrollVertical->ScrollRow(rows))
        RequestRepaint();
    return 1;
}

LRESULT KeyPickerGrid::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NC_SCROLL)
        RequestRepaint();
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void KeyPickerGrid::RequestRepaint()
{
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

// ---- input ---------------------------------------------------------------------------------------

CRect KeyPickerGrid::WindowRectOf(const KEY_FUNC_ITEM& item) const
{
    CRect r = item.rect;
    r.OffsetRect(m_rect.left, m_rect.top - static_cast<int>(m_scrollOffsetY));
    return r;
}

int KeyPickerGrid::IsDragDrop() { return m_bDragDrop; }

int KeyPickerGrid::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_hover;
    if (!m_rect.PtInRect(pt))
    {
        m_hover = -1;
    }
    else
    {
        ScopedLock lock(m_itemLock);
        if (IsItemIndex(m_hover) && WindowRectOf(*m_items[static_cast<size_t>(m_hover)]).PtInRect(pt))
            return 1;
        m_hover = -1;
        for (size_t i = 0; i < m_items.size(); ++i)
            if (WindowRectOf(*m_items[i]).PtInRect(pt))
            {
                m_hover = static_cast<int>(i);
                break;
            }
    }
    if (m_hover != old)
        RequestRepaint();
    return 0;
}

int KeyPickerGrid::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 1;
    if (m_rect.PtInRect(pt))
    {
        m_picked = m_hover;
        if (m_reportPress)
            SendMessageW(NC_PRESSED, static_cast<WPARAM>(m_picked), 0);
    }
    RequestRepaint();
    return 1;
}

int KeyPickerGrid::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_rect.PtInRect(pt))
    {
        m_picked = m_hover;
        SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_picked), 0);
    }
    RequestRepaint();
    return 0;
}

HBITMAP KeyPickerGrid::GetControlDropBitmap()
{
    if (!m_bEnabled || !m_pManager)
        return nullptr;
    CRect cell;
    {
        ScopedLock lock(m_itemLock);
        if (!IsItemIndex(m_hover))
            return nullptr;
        cell = m_items[static_cast<size_t>(m_hover)]->rect;
    }
    cell.OffsetRect(0, -static_cast<int>(m_scrollOffsetY));
    cell.InflateRect(kDragLeadMargin, kDragLeadMargin, kDragTrailMargin, kDragTrailMargin);
    return m_pManager->GetDropBitmap(this, cell, 0);
}

// ---- drawing ---------------------------------------------------------------------------------------

void KeyPickerGrid::DrawControl(HDC& dc, CRect)
{
    m_scrollOffsetY = ComputeScrollOffset();
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (w <= 0 || h <= 0)
        return;
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, w, h);
        MRender::BitBlt(m_hMemDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetTextRenderingHint(m_textHint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        ControlFontFamily family(*this, m_fontName);
        const Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle,
                                 Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
        Gdiplus::SolidBrush brush(m_textColor);
        const int offset = static_cast<int>(m_scrollOffsetY);

        ScopedLock lock(m_itemLock);
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            const KEY_FUNC_ITEM& item = *m_items[i];
            CRect cell = item.rect;
            cell.OffsetRect(0, -offset);
            const bool lit = static_cast<int>(i) == m_checked || static_cast<int>(i) == m_hover;
            MRender::DrawRoundRectange(graphics, static_cast<float>(cell.left + 1), static_cast<float>(cell.top + 1),
                                       static_cast<float>(cell.Width() - 2), static_cast<float>(cell.Height() - 2),
                                       kCellRadius, Gdiplus::Color(kCellDark), kCellPen,
                                       Gdiplus::Color(lit ? kCellLit : kCellDark));
            brush.SetColor(lit ? Gdiplus::Color(kCellDark) : m_textColor);
            if (item.image)
            {
                const int frame = lit ? 1 : 0;
                graphics.DrawImage(item.image,
                                   Gdiplus::Rect(cell.left + (cell.Width() - item.frameWidth) / 2,
                                                 cell.top + (cell.Height() - item.frameHeight) / 2, item.frameWidth,
                                                 item.frameHeight),
                                   frame * item.frameWidth, 0, item.frameWidth, item.frameHeight, Gdiplus::UnitPixel);
                continue;
            }
            const Gdiplus::RectF box(static_cast<float>(cell.left - kNameOverhang), static_cast<float>(cell.top),
                                     static_cast<float>(cell.Width() + 2 * kNameOverhang),
                                     static_cast<float>(cell.Height()));
            graphics.DrawString(item.name, item.name.GetLength(), &font, box, &format, &brush);
        }
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hMemDC, 0, 0);
}

// ---- the two shapes ----------------------------------------------------------------------------------

KeyFuncControl::KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible)
    : KeyPickerGrid(owner, id, rect, visible, FullKeyPickerTable(), 0, false)
{
}

KeyFuncControl2::KeyFuncControl2(MObject* owner, UINT id, CRect rect, int visible)
    : KeyPickerGrid(owner, id, rect, visible, CompactKeyPickerTable(), kBottomRoom, true)
{
}

namespace {
const ControlRegistrar kRegisterKeyFuncControl(
    MakeControlClass<KeyFuncControl, ControlForm::Visible>(L"KeyFuncControl"));
const ControlRegistrar kRegisterKeyFuncControl2(
    MakeControlClass<KeyFuncControl2, ControlForm::Visible>(L"KeyFuncControl2"));
} // namespace

} // namespace VREL
