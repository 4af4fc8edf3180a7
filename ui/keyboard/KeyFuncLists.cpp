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

void SetCursorTo(LPCWSTR cursor) { ::SetCursor(::LoadCursorW(nullptr, cursor)); }

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

// The text every list draws on its memory DC: the control's font at a size,
// centred in one line, in a colour; shapes smooth.
struct ListText
{
    ListText(const StateCell& cell, MControlFont& control, int size, Gdiplus::TextRenderingHint hint,
             Gdiplus::Color colour)
        : ListText(cell.graphics, cell.dc, control, size, hint, colour)
    {
    }
    ListText(Gdiplus::Graphics& graphics, HDC dc, MControlFont& control, int size, Gdiplus::TextRenderingHint hint,
             Gdiplus::Color colour)
        : font(control, size, control.GetFontStyle()),
          format(MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags)),
          brush(colour)
    {
        ::SetBkMode(dc, TRANSPARENT);
        graphics.SetTextRenderingHint(hint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    }

    const ControlFont font;
    const std::unique_ptr<Gdiplus::StringFormat> format;
    const Gdiplus::SolidBrush brush;
};

struct GridCells
{
    int width;
    int height;
    int gapX;
    int gapY;
    // The text in a band at the cell's bottom, else over the whole cell.
    bool labelBand;
};

// Lays the cells out row by row from (0, top), a new row before a cell that
// would reach width - cell width, and draws them.
void DrawGrid(Gdiplus::Graphics& graphics, KeyFuncItems& items, const ListText& text, const GridCells& grid, int width,
              int top)
{
    ScopedLock lock(items.Lock());
    int x = 0;
    int y = top;
    for (int i = 0; i < items.Count(); ++i)
    {
        KeyFuncItems::IconListItem& item = *items.At(i);
        item.rect = CRect(x, y, x + grid.width, y + grid.height);
        const Gdiplus::RectF label =
            grid.labelBand ? Gdiplus::RectF(static_cast<float>(item.rect.left),
                                            static_cast<float>(item.rect.bottom - kLabelFromBottom),
                                            static_cast<float>(grid.width), static_cast<float>(kLabelHeight))
                           : Gdiplus::RectF(static_cast<float>(item.rect.left), static_cast<float>(item.rect.top),
                                            static_cast<float>(grid.width), static_cast<float>(grid.height));
        DrawGridCell(graphics, item, i == items.selected, i == items.hover, text.font.Get(), *text.format, text.brush,
                     label);
        x += grid.width + grid.gapX;
        if (x >= width - grid.width)
        {
            x = 0;
            y += grid.height + grid.gapY;
        }
    }
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

void KeyFuncItems::SelectData(int data)
{
    ScopedLock lock(m_lock);
    for (int i = 0; i < Count(); ++i)
    {
        if (At(i)->data == data)
        {
            selected = i;
            return;
        }
    }
}

int KeyFuncItems::DataAt(int index)
{
    ScopedLock lock(m_lock);
    const IconListItem* item = At(index);
    return item ? item->data : 0;
}

CString KeyFuncItems::TextAt(int index)
{
    ScopedLock lock(m_lock);
    const IconListItem* item = At(index);
    return item ? item->text : CString();
}

int KeyFuncItems::RenameAt(int index, const CString& text)
{
    ScopedLock lock(m_lock);
    IconListItem* item = At(index);
    if (!item)
        return 0;
    item->text = text;
    return 1;
}

CRect KeyFuncItems::RectAt(int index)
{
    ScopedLock lock(m_lock);
    const IconListItem* item = At(index);
    return item ? item->rect : CRect();
}

int KeyFuncItems::TrackHover(MControl& control, CPoint pt)
{
    if (!control.IsEnabled())
        return 0;
    const CRect rect = control.GetRect();
    const CPoint origin = rect.TopLeft();
    const int before = hover;
    if (!rect.PtInRect(pt))
    {
        hover = -1;
        SetCursorTo(IDC_ARROW);
    }
    else
    {
        ScopedLock lock(m_lock);
        if (HoverHolds(pt, origin))
        {
            SetCursorTo(IDC_HAND);
            return 0;
        }
        hover = HitTest(pt, origin);
    }
    if (hover != before)
        control.UpdateControl(1, 0);
    return 1;
}

int KeyFuncItems::Press(MControl& control, CPoint pt)
{
    if (!control.IsEnabled())
        return 0;
    if (control.GetRect().PtInRect(pt) && Valid(hover))
    {
        selected = hover;
        control.UpdateControl(1, 0);
    }
    return 1;
}

int KeyFuncItems::Release(MControl& control, CPoint pt)
{
    if (!control.IsEnabled())
        return 0;
    if (control.GetRect().PtInRect(pt) && Valid(hover))
        control.SendMessageW(NC_CLICKED, 0, static_cast<LPARAM>(selected));
    return 1;
}

// -------------------------------------------------------------------- KeyFuncType

KeyFuncType::KeyFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : KeyFuncList(owner, id, rect, visible),
      m_cellWidth(kTypeCellWidth),
      m_cellHeight(kTypeCellHeight),
      m_gapX(kCellGap),
      m_gapY(kCellGap),
      m_allHeight(0)
{
}

KeyFuncType::~KeyFuncType() = default;

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
        Gdiplus::Graphics graphics(m_hMemDC);
        const ListText text(graphics, m_hMemDC, *this, kGridFontSize, m_textHint, m_textColor);
        DrawGrid(graphics, m_items, text, GridCells{m_cellWidth, m_cellHeight, m_gapX, m_gapY, true}, width, -offset);
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

int KeyFuncType::OnControlScroll(int, UINT direction, CPoint)
{
    if (m_pScrollVertical->ScrollRow(direction == kWheelTowardUser ? kWheelRows : -kWheelRows))
        Repaint();
    return 1;
}

// ------------------------------------------------------------------- KeyFuncValue

KeyFuncValue::KeyFuncValue(MObject* owner, UINT id, CRect rect, int visible, int)
    : KeyFuncList(owner, id, rect, L"", visible, 1, 1)
{
    m_bDragDrop = 1;
}

KeyFuncValue::~KeyFuncValue() = default;

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
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        const ListText text(cell, *this, kGridFontSize, m_textHint, m_textColor);
        DrawGrid(cell.graphics, m_items, text, GridCells{kValueCellWidth, kValueCellHeight, kCellGap, kCellGap, false},
                 cell.width, 0);
    });
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

// ---------------------------------------------------------------- KeyMenuFuncType

KeyMenuFuncType::KeyMenuFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : KeyFuncList(owner, id, rect, L"", visible, 1, 1)
{
}

KeyMenuFuncType::~KeyMenuFuncType() = default;

void KeyMenuFuncType::AddItem(CString text, CString text2, int data, CString icon)
{
    auto item = std::make_unique<KeyFuncItems::MenuFuncItem>();
    item->text = text;
    item->text2 = text2;
    item->data = data;
    m_items.Append(std::move(item), icon);
}

void KeyMenuFuncType::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        const int width = cell.width;
        const ListText text(cell, *this, kMenuFontSize, m_textHint, m_textColor);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);

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
                graphics.DrawString(item.text.GetString(), item.text.GetLength(), &text.font.Get(), box,
                                    text.format.get(), &text.brush);
            }
            else if (item.icon)
            {
                graphics.DrawImage(item.icon.get(), (width - kMenuIconSize) / 2, y + kMenuIconTop, kMenuIconSize,
                                   kMenuIconSize);
            }
            // Every row advances by a full row height, the short text row too.
            y += kMenuRowHeight;
        }
    });
}

void KeyMenuFuncType::SetControlRect(CRect rect) { m_rect = rect; }

int KeyMenuFuncType::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (!m_rect.PtInRect(pt) || !m_items.Valid(m_items.hover))
        return 1;
    const int data = m_items.DataAt(m_items.hover);
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
