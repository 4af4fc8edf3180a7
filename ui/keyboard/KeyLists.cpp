#include "ui/keyboard/KeyLists.h"

#include "ui/controls/ControlFontFamily.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr Gdiplus::ARGB kDarkText = 0xFF141414;
constexpr Gdiplus::ARGB kDimText = 0xFF808788;
constexpr Gdiplus::ARGB kTabText = 0xFFC8C8C8;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kSeparator = 0xFF909090;
constexpr Gdiplus::ARGB kCellDark = 0xFF333333;
constexpr Gdiplus::ARGB kCellLit = 0xFF49FFE6;

// The lit row of the layer strip: 2 px in, 6 px narrower, 34 high, radius 4.
constexpr int kLayerInset = 2;
constexpr int kLayerWidthCut = 6;
constexpr float kLayerLitHeight = 34.0f;
constexpr float kLayerRadius = 4.0f;
// The bar under a lit category tab.
constexpr int kTabBarWidth = 60;
constexpr int kTabBarRise = 2;
constexpr int kTabBarHeight = 5;
// The second tab look: a white plate, a dot and separators between tabs.
constexpr int kTab2Inset = 3;
constexpr float kTab2PlateWidth = 88.0f;
constexpr float kTab2Radius = 4.0f;
constexpr float kTab2DotX = 5.0f;
constexpr float kTab2DotY = 12.0f;
constexpr float kTab2DotSize = 3.0f;
constexpr float kTab2SeparatorX = 94.0f;
constexpr float kTab2SeparatorY = 4.0f;
constexpr float kTab2SeparatorHeight = 16.0f;
// A value cell's body and name box.
constexpr float kCellBodyInset = 5.0f;
constexpr float kCellBodyWidth = 90.0f;
constexpr float kCellBodyHeight = 40.0f;
constexpr float kCellRadius = 6.0f;
constexpr float kCellPen = 2.0f;
constexpr float kCellNameX = 2.0f;
constexpr float kCellNameWidth = 96.0f;
// The drag image reaches this far beyond the cell.
constexpr int kDragMargin = 2;
constexpr float kCornerSize = 15.0f;

std::unique_ptr<Gdiplus::StringFormat> CentredFormat(INT flags)
{
    auto format = std::make_unique<Gdiplus::StringFormat>();
    format->SetAlignment(Gdiplus::StringAlignmentCenter);
    format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format->SetFormatFlags(flags);
    return format;
}

constexpr INT kOneLine = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

// The items' text: the control's font family at a pixel size and style, in
// a centred format.
struct ItemText
{
    ItemText(MControlFont& control, const CString& fontName, int size, Gdiplus::FontStyle style, INT flags)
        : family(control, fontName),
          font(family.Get(), static_cast<Gdiplus::REAL>(size), style, Gdiplus::UnitPixel),
          format(CentredFormat(flags))
    {
    }

    ControlFontFamily family;
    const Gdiplus::Font font;
    const std::unique_ptr<Gdiplus::StringFormat> format;
};
constexpr INT kCellLine = Gdiplus::StringFormatFlagsNoClip | Gdiplus::StringFormatFlagsLineLimit;

void Text(Gdiplus::Graphics& graphics, const CString& text, const Gdiplus::Font& font, const Gdiplus::RectF& box,
          const Gdiplus::StringFormat& format, Gdiplus::Color colour)
{
    if (text.IsEmpty())
        return;
    Gdiplus::SolidBrush brush(colour);
    graphics.DrawString(text, text.GetLength(), &font, box, &format, &brush);
}

Gdiplus::RectF BoxOf(const RECT& r)
{
    return Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right - r.left),
                          static_cast<float>(r.bottom - r.top));
}

} // namespace

// ---- layout --------------------------------------------------------------------------------

namespace keylists {

std::vector<RECT> LayoutValueCells(const std::vector<CString>& names, int controlWidth)
{
    std::vector<RECT> cells;
    cells.reserve(names.size());
    int x = 0;
    int y = 0;
    for (const CString& name : names)
    {
        cells.push_back(RECT{x, y, x + kValueCellWidth, y + kValueCellHeight});
        x += kValueCellPitchX;
        if (x > controlWidth - kValueCellPitchX)
        {
            y += kValueCellPitchY;
            x = 0;
        }
        if (name == kRowBreakName)
        {
            y += kValueCellPitchY;
            x = 0;
        }
    }
    return cells;
}

} // namespace keylists

// ---- KeyLayerCtrl ---------------------------------------------------------------------------

KeyLayerCtrl::KeyLayerCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyItemStrip(owner, id, rect, visible, enabled, 0)
{
}

KeyLayerCtrl::~KeyLayerCtrl() = default;

int KeyLayerCtrl::AddKeyLayer(CString name, int layerId)
{
    return Append(new KEY_LAYER_ITEM{layerId, name, RECT{0, 0, 0, 0}});
}

void KeyLayerCtrl::SetSelectKeyLayer(int layerId)
{
    {
        ScopedLock lock(m_itemLock);
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i]->layerId == layerId)
            {
                m_selected = static_cast<int>(i);
                break;
            }
    }
    RequestRepaint();
}

int KeyLayerCtrl::GetSelectKeyLayerID()
{
    ScopedLock lock(m_itemLock);
    return IsItemIndex(m_selected) ? m_items[static_cast<size_t>(m_selected)]->layerId : -1;
}

void KeyLayerCtrl::SetItemText(int index, CString text) { RenameItem(index, text); }

void KeyLayerCtrl::ClearAllItems() { ClearItems(); }

int KeyLayerCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_selected;
    if (m_rect.PtInRect(pt) && m_hover != -1)
    {
        m_selected = m_hover;
        int layerId = 0;
        bool inRow = false;
        {
            ScopedLock lock(m_itemLock);
            if (IsItemIndex(m_selected))
            {
                const KEY_LAYER_ITEM& row = *m_items[static_cast<size_t>(m_selected)];
                layerId = row.layerId;
                inRow = CRect(row.rect).PtInRect(CPoint(pt.x - m_rect.left, pt.y - m_rect.top));
            }
        }
        if (inRow)
            SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_selected), static_cast<LPARAM>(layerId));
    }
    if (m_selected == old)
        return 0;
    RequestRepaint();
    return 1;
}

void KeyLayerCtrl::DrawItems(Gdiplus::Graphics& graphics, int width, int)
{
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    const ItemText text(*this, m_fontName, m_fontSize, m_fontStyle, kOneLine);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        KEY_LAYER_ITEM& row = *m_items[i];
        const int top = keylists::kLayerRowHeight * static_cast<int>(i);
        row.rect = RECT{0, top, width, top + keylists::kLayerRowHeight};
        const bool lit = static_cast<int>(i) == m_selected || static_cast<int>(i) == m_hover;
        if (lit)
            MRender::DrawRoundRectange(graphics, static_cast<float>(kLayerInset), static_cast<float>(top + kLayerInset),
                                       static_cast<float>(width - kLayerWidthCut), kLayerLitHeight, kLayerRadius,
                                       Manager::m_select_color);
        Text(graphics, row.name, text.font, BoxOf(row.rect), *text.format, Gdiplus::Color(lit ? kDarkText : kDimText));
    }
}

// ---- KeyTypeTab -----------------------------------------------------------------------------

KeyTypeTab::KeyTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyItemStrip(owner, id, rect, visible, enabled, 0)
{
}

KeyTypeTab::~KeyTypeTab() = default;

int KeyTypeTab::AddKeyType(CString name, int type) { return Append(new KEY_TYPE_ITEM{name, type, RECT{0, 0, 0, 0}}); }

void KeyTypeTab::SetSelectKeyType(int index)
{
    {
        ScopedLock lock(m_itemLock);
        if (index != -1 && !IsItemIndex(index))
            return;
        m_selected = index;
    }
    RequestRepaint();
}

void KeyTypeTab::SetItemText(int index, CString text) { RenameItem(index, text); }

void KeyTypeTab::ClearAllItems() { ClearItems(); }

int KeyTypeTab::OnControlLButtonUp(UINT, CPoint pt) { return ReleaseSelectingHover(pt); }

void KeyTypeTab::DrawItems(Gdiplus::Graphics& graphics, int, int)
{
    graphics.SetTextRenderingHint(m_textHint);
    const ItemText text(*this, m_fontName, m_fontSize, m_fontStyle, kOneLine);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        KEY_TYPE_ITEM& tab = *m_items[i];
        const int left = keylists::kTypeTabWidth * static_cast<int>(i);
        tab.rect = RECT{left, 0, left + keylists::kTypeTabWidth, keylists::kTypeTabHeight};
        const bool lit = static_cast<int>(i) == m_selected || static_cast<int>(i) == m_hover;
        if (lit)
        {
            Gdiplus::SolidBrush bar(Manager::m_select_color);
            graphics.FillRectangle(&bar, left + (keylists::kTypeTabWidth - kTabBarWidth) / 2,
                                   keylists::kTypeTabHeight - kTabBarRise, kTabBarWidth, kTabBarHeight);
        }
        Text(graphics, tab.name, text.font, BoxOf(tab.rect), *text.format, lit ? Manager::m_select_color : Gdiplus::Color(kTabText));
    }
}

// ---- KeyTypeTab2 ----------------------------------------------------------------------------

KeyTypeTab2::KeyTypeTab2(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyTypeTab(owner, id, rect, visible, enabled)
{
}

void KeyTypeTab2::DrawItems(Gdiplus::Graphics& graphics, int, int height)
{
    graphics.SetTextRenderingHint(m_textHint);
    const ItemText text(*this, m_fontName, m_fontSize, m_fontStyle, kOneLine);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        KEY_TYPE_ITEM& tab = *m_items[i];
        const int left = keylists::kTypeTab2Width * static_cast<int>(i);
        tab.rect = RECT{left, 0, left + keylists::kTypeTab2Width, height};
        const float x = static_cast<float>(left + kTab2Inset);
        const bool lit = static_cast<int>(i) == m_selected || static_cast<int>(i) == m_hover;
        if (lit)
        {
            MRender::DrawRoundRectange(graphics, x, static_cast<float>(kTab2Inset), kTab2PlateWidth,
                                       static_cast<float>(height - 2 * kTab2Inset), kTab2Radius, Gdiplus::Color(kWhite));
            Gdiplus::SolidBrush dot(Manager::m_select_color);
            graphics.FillEllipse(&dot, x + kTab2DotX, kTab2DotY, kTab2DotSize, kTab2DotSize);
        }
        Text(graphics, tab.name, text.font, BoxOf(tab.rect), *text.format, lit ? m_textColor : Gdiplus::Color(kDimText));
        if (i + 1 < m_items.size())
        {
            Gdiplus::SolidBrush separator{Gdiplus::Color(kSeparator)};
            graphics.FillRectangle(&separator, x + kTab2SeparatorX, kTab2SeparatorY, 1.0f, kTab2SeparatorHeight);
        }
    }
}

// ---- KeyValueList ----------------------------------------------------------------------------

KeyValueList::KeyValueList(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyItemStrip(owner, id, rect, visible, enabled, -1)
{
    m_fontSize = kDefaultFontPx;
    SetDragDrop(1);
}

KeyValueList::~KeyValueList() { ClearAllItemsQuietly(); }

void KeyValueList::ClearAllItemsQuietly()
{
    ScopedLock lock(m_itemLock);
    for (KEY_VALUE_ITEM* item : m_items)
        delete item->icon;
    m_items.clear();
}

int KeyValueList::AddKeyInfo(int value, CString name, CString iconFile)
{
    auto* item = new KEY_VALUE_ITEM{value, name, nullptr, 0, 0, RECT{0, 0, 0, 0}};
    if (!iconFile.IsEmpty())
    {
        Gdiplus::Image* icon = MRender::LoadImageFromFile(GetSkinFolder() + iconFile);
        if (icon && icon->GetLastStatus() == Gdiplus::Ok)
        {
            item->icon = icon;
            item->iconWidth = static_cast<int32_t>(icon->GetWidth());
            item->iconHeight = static_cast<int32_t>(icon->GetHeight());
        }
        else
        {
            delete icon;
        }
    }
    return Append(item);
}

void KeyValueList::SetSelectKeyValue(int value)
{
    if (value == -1)
    {
        m_selected = -1;
    }
    else
    {
        ScopedLock lock(m_itemLock);
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i]->value == value)
            {
                m_selected = static_cast<int>(i);
                break;
            }
    }
    RequestRepaint();
}

unsigned long KeyValueList::GetSelectKeyValue(CString& name)
{
    ScopedLock lock(m_itemLock);
    if (!IsItemIndex(m_selected))
        return static_cast<unsigned long>(-1);
    const KEY_VALUE_ITEM& item = *m_items[static_cast<size_t>(m_selected)];
    name = item.name;
    return static_cast<unsigned long>(item.value);
}

void KeyValueList::GetCurValue(int& value, CString& name)
{
    ScopedLock lock(m_itemLock);
    if (!IsItemIndex(m_selected))
        return;
    const KEY_VALUE_ITEM& item = *m_items[static_cast<size_t>(m_selected)];
    value = item.value;
    name = item.name;
}

void KeyValueList::ClearAllItems()
{
    ClearAllItemsQuietly();
    m_hover = -1;
    m_selected = 0;
    RequestRepaint();
}

void KeyValueList::DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, Gdiplus::Color border,
                                Gdiplus::Color fill, bool corner)
{
    Gdiplus::SolidBrush brush(fill);
    graphics.FillRectangle(&brush, x, y, w, h);
    Gdiplus::Pen pen(border, 1.0f);
    graphics.DrawRectangle(&pen, x + 1, y + 1, w - 2, h - 2);
    if (corner)
    {
        const Gdiplus::PointF triangle[] = {{x + w - kCornerSize, y + 1}, {x + w, y + 1}, {x + w, y + kCornerSize}};
        Gdiplus::SolidBrush mark(border);
        graphics.FillPolygon(&mark, triangle, 3);
    }
}

HBITMAP KeyValueList::GetControlDropBitmap()
{
    if (!m_bEnabled || !m_pManager)
        return nullptr;
    CRect cell;
    {
        ScopedLock lock(m_itemLock);
        if (!IsItemIndex(m_hover))
            return nullptr;
        m_selected = m_hover;
        cell = m_items[static_cast<size_t>(m_hover)]->rect;
    }
    cell.InflateRect(kDragMargin, kDragMargin);
    return m_pManager->GetDropBitmap(this, cell, 0);
}

int KeyValueList::OnControlLButtonUp(UINT, CPoint pt) { return ReleaseSelectingHover(pt); }

void KeyValueList::DrawItems(Gdiplus::Graphics& graphics, int width, int)
{
    graphics.SetTextRenderingHint(m_textHint);
    const ItemText text(*this, m_fontName, m_fontSize - 1, m_fontStyle, kCellLine);
    std::vector<CString> names;
    names.reserve(m_items.size());
    for (const KEY_VALUE_ITEM* item : m_items)
        names.push_back(item->name);
    const std::vector<RECT> cells = keylists::LayoutValueCells(names, width);
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        KEY_VALUE_ITEM& item = *m_items[i];
        item.rect = cells[i];
        const float x = static_cast<float>(item.rect.left);
        const float y = static_cast<float>(item.rect.top);
        const bool lit = static_cast<int>(i) == m_selected || static_cast<int>(i) == m_hover;
        MRender::DrawRoundRectange(graphics, x + kCellBodyInset, y + kCellBodyInset, kCellBodyWidth, kCellBodyHeight,
                                   kCellRadius, Gdiplus::Color(kCellDark), kCellPen,
                                   Gdiplus::Color(lit ? kCellLit : kCellDark));
        Text(graphics, item.name, text.font,
             Gdiplus::RectF(x + kCellNameX, y + kCellBodyInset, kCellNameWidth, kCellBodyHeight), *text.format, lit ? Gdiplus::Color(kCellDark) : m_textColor);
    }
}

namespace {
const ControlRegistrar kRegisterKeyLayerCtrl(
    MakeControlClass<KeyLayerCtrl, ControlForm::VisibleOne>(L"KeyLayerCtrl"));
const ControlRegistrar kRegisterKeyTypeTab(MakeControlClass<KeyTypeTab, ControlForm::VisibleOne>(L"KeyTypeTab"));
const ControlRegistrar kRegisterKeyTypeTab2(MakeControlClass<KeyTypeTab2, ControlForm::VisibleOne>(L"KeyTypeTab2"));
const ControlRegistrar kRegisterKeyValueList(
    MakeControlClass<KeyValueList, ControlForm::VisibleOne>(L"KeyValueList"));
} // namespace

} // namespace VREL
