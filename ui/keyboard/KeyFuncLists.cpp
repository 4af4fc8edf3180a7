#include "ui/keyboard/KeyFuncLists.h"

#include <algorithm>
#include <cstdint>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
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
// Rows of the bar's row step that one wheel notch moves.
constexpr int kWheelRows = 10;

constexpr int kTypeCellWidth = 80;
constexpr int kTypeCellHeight = 70;
constexpr int kValueCellWidth = 80;
constexpr int kValueCellHeight = 36;
constexpr int kCellGap = 10;
constexpr int kGridFontSize = 12;
constexpr float kCellRadius = 6.0f;
// The type grid's label band at the bottom of a cell.
constexpr int kLabelFromBottom = 25;
constexpr int kLabelHeight = 20;
constexpr int kIconTop = 5;
// A dragged value cell is shown with this much of its surroundings.
constexpr int kDragMargin = 2;

constexpr int kMenuRowHeight = 60;
constexpr int kMenuTextRowHeight = 30;
constexpr int kMenuTextRow = 3;
constexpr int kMenuFontSize = 10;
constexpr float kMenuRadius = 3.0f;
constexpr Gdiplus::ARGB kMenuHighlightFill = 0xFF333333;
constexpr int kMenuIconSize = 30;
constexpr int kMenuIconTop = 10;
constexpr int kMenuTextInset = 5;

// ---- item lookups shared by the three lists (each takes the list's lock) ----

void SelectByData(KeyFuncItems& items, int data)
{
    ScopedLock lock(items.Lock());
    for (int i = 0; i < items.Count(); ++i)
    {
        if (items.At(i)->data == data)
        {
            items.selected = i;
            return;
        }
    }
}

int DataAt(KeyFuncItems& items, int index)
{
    ScopedLock lock(items.Lock());
    const KeyFuncItems::IconListItem* item = items.At(index);
    return item ? item->data : 0;
}

CString TextAt(KeyFuncItems& items, int index)
{
    ScopedLock lock(items.Lock());
    const KeyFuncItems::IconListItem* item = items.At(index);
    return item ? item->text : CString();
}

int RenameAt(KeyFuncItems& items, int index, const CString& text)
{
    ScopedLock lock(items.Lock());
    KeyFuncItems::IconListItem* item = items.At(index);
    if (!item)
        return 0;
    item->text = text;
    return 1;
}

CRect RectAt(KeyFuncItems& items, int index)
{
    ScopedLock lock(items.Lock());
    const KeyFuncItems::IconListItem* item = items.At(index);
    return item ? item->rect : CRect();
}

void SetCursorTo(LPCWSTR cursor) { ::SetCursor(::LoadCursorW(nullptr, cursor)); }

// The mouse over a list: the hover follows the item under the point. Returns
// -1 when the control ignores the move, 0 when the hovered item still holds
// the point, else 1 (with a repaint when the hover changed).
template <class Control>
int TrackHover(Control& control, KeyFuncItems& items, CPoint pt, void (Control::*repaint)())
{
    if (!control.IsEnabled())
        return 0;
    const CRect rect = control.GetRect();
    const CPoint origin = rect.TopLeft();
    const int before = items.hover;
    if (!rect.PtInRect(pt))
    {
        items.hover = -1;
        SetCursorTo(IDC_ARROW);
    }
    else
    {
        ScopedLock lock(items.Lock());
        if (items.HoverHolds(pt, origin))
        {
            SetCursorTo(IDC_HAND);
            return 0;
        }
        items.hover = items.HitTest(pt, origin);
    }
    if (items.hover != before)
        (control.*repaint)();
    return 1;
}

// A press on a hovered item selects it.
template <class Control>
int PressItem(Control& control, KeyFuncItems& items, CPoint pt, void (Control::*repaint)())
{
    if (!control.IsEnabled())
        return 0;
    if (control.GetRect().PtInRect(pt) && items.Valid(items.hover))
    {
        items.selected = items.hover;
        (control.*repaint)();
    }
    return 1;
}

// The white fill and the window's background under a list's memory bitmap.
void CopyBackground(HDC memDc, HDC& target, const CRect& control, int width, int height, int rows)
{
    MRender::FillSolidRect(memDc, 0, 0, width, height, RGB(255, 255, 255));
    HDC dst = memDc;
    MRender::DrawVerticalTransition(dst, target, CRect(0, 0, width, rows),
                                    CRect(control.left, control.top, control.left + width, control.top + rows), 0, 0);
}

// A grid cell: its rounded box in the look of its state, the icon at its
// natural size at the top, the text in the box the caller gives.
void DrawGridCell(Gdiplus::Graphics& graphics, const KeyFuncItems::IconListItem& item, bool selected, bool hovered,
                  const Gdiplus::Font& font, const Gdiplus::StringFormat& format, const Gdiplus::Brush& brush,
                  const Gdiplus::RectF& textBox)
{
    const CRect& r = item.rect;
    Gdiplus::Color border = Manager::m_normal_color;
    Gdiplus::Color fill = Manager::m_normal_color;
    if (selected)
        border = Manager::m_down_color;
    else if (hovered)
        border = fill = Manager::m_hover_color;
    MRender::DrawRoundRectange(graphics, static_cast<float>(r.left), static_cast<float>(r.top),
                               static_cast<float>(r.Width()), static_cast<float>(r.Height()), kCellRadius, border,
                               1.0f, true, fill);
    if (item.icon)
    {
        graphics.DrawImage(item.icon.get(), r.left + (r.Width() - item.iconWidth) / 2, r.top + kIconTop,
                           item.iconWidth, item.iconHeight);
    }
    graphics.DrawString(item.text.GetString(), item.text.GetLength(), &font, textBox, &format, &brush);
}

} // namespace

// ------------------------------------------------------------------- KeyFuncItems

KeyFuncItems::KeyFuncItems() = default;

KeyFuncItems::~KeyFuncItems() = default;

void KeyFuncItems::Append(std::unique_ptr<IconListItem> item, const CString& iconFile)
{
    if (!iconFile.IsEmpty())
    {
        PeripheralImage image = LoadExistingImage(GetSkinFolder() + iconFile);
        item->iconWidth = image.width;
        item->iconHeight = image.height;
        item->icon = std::move(image.image);
    }
    m_items.push_back(std::move(item));
}

void KeyFuncItems::Clear()
{
    ScopedLock lock(m_lock);
    m_items.clear();
    hover = -1;
    selected = -1;
}

int KeyFuncItems::HitTest(CPoint pt, CPoint origin) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if ((m_items[i]->rect + origin).PtInRect(pt))
            return static_cast<int>(i);
    }
    return -1;
}

bool KeyFuncItems::HoverHolds(CPoint pt, CPoint origin) const
{
    const IconListItem* item = At(hover);
    return item && (item->rect + origin).PtInRect(pt);
}

// -------------------------------------------------------------------- KeyFuncType

KeyFuncType::KeyFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_cellWidth(kTypeCellWidth),
      m_cellHeight(kTypeCellHeight),
      m_gapX(kCellGap),
      m_gapY(kCellGap),
      m_allHeight(0)
{
}

KeyFuncType::~KeyFuncType() { m_items.Clear(); }

void KeyFuncType::Repaint() { UpdateControl(1, 0); }

void KeyFuncType::AddItem(CString text, int data, CString icon)
{
    auto item = std::make_unique<KeyFuncItems::IconListItem>();
    item->text = text;
    item->data = data;
    m_items.Append(std::move(item), icon);
}

void KeyFuncType::ClearList()
{
    m_items.Clear();
    Repaint();
}

void KeyFuncType::SetCurData(int data)
{
    SelectByData(m_items, data);
    Repaint();
}

int KeyFuncType::GetItemData(int index) { return DataAt(m_items, index); }

int KeyFuncType::GetCurData() { return DataAt(m_items, m_items.selected); }

void KeyFuncType::SetSelectItem(int index)
{
    if (index == m_items.selected)
        return;
    m_items.selected = index;
    Repaint();
}

int KeyFuncType::SetItemText(int index, CString text) { return RenameAt(m_items, index, text); }

CString KeyFuncType::GetItemText(int index) { return TextAt(m_items, index); }

CRect KeyFuncType::GetItemRect(int index) { return RectAt(m_items, index); }

void KeyFuncType::SetWitdhAndHeight(int width, int height)
{
    m_cellWidth = width;
    m_cellHeight = height;
}

void KeyFuncType::SetItemSplit(int horizontal, int vertical)
{
    m_gapX = horizontal;
    m_gapY = vertical;
}

void KeyFuncType::SetAllItemHeight(int height)
{
    m_allHeight = height;
    Repaint();
}

int KeyFuncType::GetScrollPixelOffset() const
{
    // Content that fits the view is never moved (the bar's range may still
    // be set from an earlier, taller content).
    const int overflow = m_allHeight - m_rect.Height();
    const int range = m_pScrollVertical->GetScrollMaxRange();
    if (range <= 0 || overflow <= 0)
        return 0;
    const int64_t offset = static_cast<int64_t>(m_pScrollVertical->GetScrollCurrentPos()) * overflow / range;
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(offset, 0), overflow));
}

void KeyFuncType::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width() - (m_pScrollVertical->IsVisible() ? m_barThickness : 0);
    const int view = m_rect.Height();
    const int offset = GetScrollPixelOffset();
    m_scrollOffsetY = offset;
    if (width <= 0 || view <= 0)
        return;
    // Rows below a content height shorter than the view still show the
    // window behind the list.
    const int height = std::max(m_allHeight, view);
    if (!m_bUpdate || !m_hMemDC)
    {
        UpdateMemDC(dc, width, height);
        if (!m_hMemDC)
            return;
        CopyBackground(m_hMemDC, dc, m_rect, width, height, view);
        ::SetBkMode(m_hMemDC, TRANSPARENT);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetTextRenderingHint(m_textHint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const ControlFont font(*this, kGridFontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        const Gdiplus::SolidBrush brush(m_textColor);

        ScopedLock lock(m_items.Lock());
        int x = 0;
        int y = -offset;
        for (int i = 0; i < m_items.Count(); ++i)
        {
            KeyFuncItems::IconListItem& item = *m_items.At(i);
            item.rect = CRect(x, y, x + m_cellWidth, y + m_cellHeight);
            const Gdiplus::RectF label(static_cast<float>(item.rect.left),
                                       static_cast<float>(item.rect.bottom - kLabelFromBottom),
                                       static_cast<float>(m_cellWidth), static_cast<float>(kLabelHeight));
            DrawGridCell(graphics, item, i == m_items.selected, i == m_items.hover, font.Get(), *format, brush, label);
            x += m_cellWidth + m_gapX;
            if (x >= width - m_cellWidth)
            {
                x = 0;
                y += m_cellHeight + m_gapY;
            }
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, view, m_hMemDC, 0, 0, SRCCOPY);
}

LRESULT KeyFuncType::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (code == NC_SCROLL && (id == kVerticalBarId || id == kHorizontalBarId))
        Repaint();
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void KeyFuncType::SetControlRect(CRect rect)
{
    m_rect = rect;
    {
        ScopedLock lock(m_controlLock);
        const CRect target(rect.right - m_barThickness, rect.top, rect.right, rect.bottom);
        CRect dirty;
        dirty.UnionRect(m_pScrollVertical->GetRect(), target);
        m_pScrollVertical->SetControlRect(target);
        if (m_pScrollVertical->IsVisible())
            OnControlUpdate(dirty, 1, m_pScrollVertical);
    }
    const int show = m_rect.Height() < m_allHeight ? 1 : 0;
    if (m_pScrollVertical->IsVisible() != show)
    {
        m_pScrollVertical->SetControlVisible(show);
        OnControlUpdate(m_pScrollVertical->GetRect(), 1, m_pScrollVertical);
    }
    m_pScrollVertical->SetScrollMaxRange(m_allHeight);
}

int KeyFuncType::OnControlMouseMove(UINT, CPoint pt) { return TrackHover(*this, m_items, pt, &KeyFuncType::Repaint); }

int KeyFuncType::OnControlLButtonDown(UINT, CPoint pt)
{
    return PressItem(*this, m_items, pt, &KeyFuncType::Repaint);
}

int KeyFuncType::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_rect.PtInRect(pt) && m_items.Valid(m_items.hover))
        SendMessageW(NC_CLICKED, 0, static_cast<LPARAM>(m_items.selected));
    return 1;
}

int KeyFuncType::OnControlScroll(int, UINT direction, CPoint)
{
    if (m_pScrollVertical->ScrollRow(direction == kWheelTowardUser ? kWheelRows : -kWheelRows))
        Repaint();
    return 1;
}

// ------------------------------------------------------------------- KeyFuncValue

KeyFuncValue::KeyFuncValue(MObject* owner, UINT id, CRect rect, int visible, int)
    : MControlFont(owner, id, rect, L"", visible, 1, 1)
{
    m_bDragDrop = 1;
}

KeyFuncValue::~KeyFuncValue() { m_items.Clear(); }

void KeyFuncValue::Repaint() { UpdateControl(1, 0); }

void KeyFuncValue::AddItem(CString text, int data, CString icon)
{
    auto item = std::make_unique<KeyFuncItems::IconListItem>();
    item->text = text;
    item->data = data;
    m_items.Append(std::move(item), icon);
}

void KeyFuncValue::ClearList()
{
    m_items.Clear();
    Repaint();
}

void KeyFuncValue::SetCurData(int data)
{
    SelectByData(m_items, data);
    Repaint();
}

int KeyFuncValue::GetItemData(int index) { return DataAt(m_items, index); }

int KeyFuncValue::GetCurData() { return DataAt(m_items, m_items.selected); }

void KeyFuncValue::SetSelectItem(int index)
{
    if (index == m_items.selected)
        return;
    m_items.selected = index;
    Repaint();
}

int KeyFuncValue::SetItemText(int index, CString text) { return RenameAt(m_items, index, text); }

CString KeyFuncValue::GetItemText(int index) { return TextAt(m_items, index); }

CRect KeyFuncValue::GetItemRect(int index) { return RectAt(m_items, index); }

void KeyFuncValue::GetCurValue(int& data, CString& text)
{
    ScopedLock lock(m_items.Lock());
    if (const KeyFuncItems::IconListItem* item = m_items.At(m_items.selected))
    {
        data = item->data;
        text = item->text;
    }
}

void KeyFuncValue::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    if (!m_bUpdate || !m_hMemDC)
    {
        UpdateMemDC(dc, width, height);
        if (!m_hMemDC)
            return;
        ::BitBlt(m_hMemDC, 0, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
        ::SetBkMode(m_hMemDC, TRANSPARENT);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetTextRenderingHint(m_textHint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const ControlFont font(*this, kGridFontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        const Gdiplus::SolidBrush brush(m_textColor);

        ScopedLock lock(m_items.Lock());
        int x = 0;
        int y = 0;
        for (int i = 0; i < m_items.Count(); ++i)
        {
            KeyFuncItems::IconListItem& item = *m_items.At(i);
            item.rect = CRect(x, y, x + kValueCellWidth, y + kValueCellHeight);
            const Gdiplus::RectF label(static_cast<float>(item.rect.left), static_cast<float>(item.rect.top),
                                       static_cast<float>(kValueCellWidth), static_cast<float>(kValueCellHeight));
            DrawGridCell(graphics, item, i == m_items.selected, i == m_items.hover, font.Get(), *format, brush, label);
            x += kValueCellWidth + kCellGap;
            if (x >= width - kValueCellWidth)
            {
                x = 0;
                y += kValueCellHeight + kCellGap;
            }
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, 0, SRCCOPY);
}

void KeyFuncValue::SetControlRect(CRect rect)
{
    m_rect = rect;
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

HBITMAP KeyFuncValue::GetControlDropBitmap()
{
    if (!m_bEnabled || !m_pManager)
        return nullptr;
    CRect cell;
    {
        ScopedLock lock(m_items.Lock());
        const KeyFuncItems::IconListItem* item = m_items.At(m_items.hover);
        if (!item)
            return nullptr;
        m_items.selected = m_items.hover;
        cell = item->rect;
    }
    cell.InflateRect(kDragMargin, kDragMargin);
    return m_pManager->GetDropBitmap(this, cell, 0);
}

int KeyFuncValue::OnControlMouseMove(UINT, CPoint pt)
{
    return TrackHover(*this, m_items, pt, &KeyFuncValue::Repaint);
}

int KeyFuncValue::OnControlLButtonDown(UINT, CPoint pt)
{
    return PressItem(*this, m_items, pt, &KeyFuncValue::Repaint);
}

int KeyFuncValue::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_rect.PtInRect(pt) && m_items.Valid(m_items.hover))
        SendMessageW(NC_CLICKED, 0, static_cast<LPARAM>(m_items.selected));
    return 1;
}

// ---------------------------------------------------------------- KeyMenuFuncType

KeyMenuFuncType::KeyMenuFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : MControlFont(owner, id, rect, L"", visible, 1, 1)
{
}

KeyMenuFuncType::~KeyMenuFuncType() { m_items.Clear(); }

void KeyMenuFuncType::Repaint() { UpdateControl(1, 0); }

void KeyMenuFuncType::AddItem(CString text, CString text2, int data, CString icon)
{
    auto item = std::make_unique<KeyFuncItems::MenuFuncItem>();
    item->text = text;
    item->text2 = text2;
    item->data = data;
    m_items.Append(std::move(item), icon);
}

void KeyMenuFuncType::ClearList()
{
    m_items.Clear();
    Repaint();
}

void KeyMenuFuncType::SetCurData(int data)
{
    SelectByData(m_items, data);
    Repaint();
}

int KeyMenuFuncType::GetItemData(int index) { return DataAt(m_items, index); }

int KeyMenuFuncType::GetCurData() { return DataAt(m_items, m_items.selected); }

void KeyMenuFuncType::SetSelectItem(int index)
{
    if (index == m_items.selected)
        return;
    m_items.selected = index;
    Repaint();
}

int KeyMenuFuncType::SetItemText(int index, CString text) { return RenameAt(m_items, index, text); }

CString KeyMenuFuncType::GetItemText(int index) { return TextAt(m_items, index); }

CRect KeyMenuFuncType::GetItemRect(int index) { return RectAt(m_items, index); }

void KeyMenuFuncType::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    if (!m_bUpdate || !m_hMemDC)
    {
        UpdateMemDC(dc, width, height);
        if (!m_hMemDC)
            return;
        ::BitBlt(m_hMemDC, 0, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
        ::SetBkMode(m_hMemDC, TRANSPARENT);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetTextRenderingHint(m_textHint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        const ControlFont font(*this, kMenuFontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        const Gdiplus::SolidBrush brush(m_textColor);

        ScopedLock lock(m_items.Lock());
        int y = 0;
        for (int i = 0; i < m_items.Count(); ++i)
        {
            KeyFuncItems::IconListItem& item = *m_items.At(i);
            const bool textRow = (i == kMenuTextRow);
            item.rect = CRect(0, y, width, y + (textRow ? kMenuTextRowHeight : kMenuRowHeight));
            if (i == m_items.selected || i == m_items.hover)
            {
                MRender::DrawRoundRectange(graphics, 1.0f, static_cast<float>(y + 1), static_cast<float>(width - 2),
                                           static_cast<float>(item.rect.Height() - 2), kMenuRadius,
                                           Manager::m_select_color, 1.0f, true, Gdiplus::Color(kMenuHighlightFill));
            }
            if (textRow)
            {
                const Gdiplus::RectF box(static_cast<float>(kMenuTextInset), static_cast<float>(y),
                                         static_cast<float>(width - 2 * kMenuTextInset),
                                         static_cast<float>(kMenuTextRowHeight));
                graphics.DrawString(item.text.GetString(), item.text.GetLength(), &font.Get(), box, format.get(),
                                    &brush);
            }
            else if (item.icon)
            {
                graphics.DrawImage(item.icon.get(), (width - kMenuIconSize) / 2, y + kMenuIconTop, kMenuIconSize,
                                   kMenuIconSize);
            }
            // Every row advances by a full row height, the short text row too.
            y += kMenuRowHeight;
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, 0, SRCCOPY);
}

void KeyMenuFuncType::SetControlRect(CRect rect) { m_rect = rect; }

int KeyMenuFuncType::OnControlMouseMove(UINT, CPoint pt)
{
    return TrackHover(*this, m_items, pt, &KeyMenuFuncType::Repaint);
}

int KeyMenuFuncType::OnControlLButtonDown(UINT, CPoint pt)
{
    return PressItem(*this, m_items, pt, &KeyMenuFuncType::Repaint);
}

int KeyMenuFuncType::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (!m_rect.PtInRect(pt) || !m_items.Valid(m_items.hover))
        return 1;
    const int data = DataAt(m_items, m_items.hover);
    SendMessageW(NC_CLICKED, static_cast<WPARAM>(data), 0);
    return 1;
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterKeyFuncType(
    MakeControlClass<KeyFuncType, ControlForm::VisibleOne>(L"KeyFuncType"));
const ControlRegistrar kRegisterKeyFuncValue(
    MakeControlClass<KeyFuncValue, ControlForm::VisibleOne>(L"KeyFuncValue"));
const ControlRegistrar kRegisterKeyMenuFuncType(
    MakeControlClass<KeyMenuFuncType, ControlForm::VisibleOne>(L"KeyMenuFuncType"));

} // namespace

} // namespace VREL
