#include "ui/lists/IconLists.h"

#include <shlwapi.h>

#include <algorithm>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"
#include "ui/lists/CEditWindow.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterProfileList(
    MakeControlClass<ProfileList, ControlForm::VisibleOne>(L"ProfileList"));
const ControlRegistrar kRegisterMListBoxEx(MakeControlClass<MListBoxEx, ControlForm::VisibleOne>(L"MListBoxEx"));

// Profile list: row pitch, the highlight's height and corner, the gap the
// pitch leaves below a row, the edit icon inside a row, the text column.
constexpr int kProfilePitch = 36;
constexpr int kProfileBandHeight = 30;
constexpr float kProfileCorner = 6.0f;
constexpr int kProfileRowGap = 3;
constexpr int kEditIconFromRight = 21;
constexpr int kEditIconRightGap = 5;
constexpr int kEditIconTop = 7;
constexpr int kEditIconBottom = 23;
constexpr int kProfileTextLeft = 20;
constexpr int kProfileTextSideRoom = 40;
constexpr Gdiplus::ARGB kDarkTextArgb = 0xFF191919;
constexpr Gdiplus::ARGB kLightTextArgb = 0xFFFFFFFF;
constexpr int kEditIconHoverFrame = 1;
// The rename box over a profile's name.
constexpr COLORREF kProfileBoxBack = 0xE6FF49;
constexpr COLORREF kProfileBoxText = 0x191919;
constexpr int kProfileTextRectLeft = 32;
constexpr int kProfileTextRectRightGap = 30;

// Tile list defaults and frames.
constexpr int kTileWidth = 120;
constexpr int kTileHeight = 30;
constexpr int kTileGapX = 10;
constexpr int kTileGapY = 5;
constexpr int kTileNormalFrame = 0;
constexpr int kTileHoverFrame = 1;
constexpr int kTileSelectedFrame = 2;

void SetCursorTo(LPCWSTR cursor) { ::SetCursor(::LoadCursorW(nullptr, cursor)); }

} // namespace

// ---- IconRowList ----------------------------------------------------------------------------

IconRowList::IconRowList(MObject* owner, UINT id, CRect rect, int visible, int enabled, int rowHeight)
    : RowList(owner, id, rect, visible, enabled, rowHeight), m_rows(m_itemLock)
{
}

IconRowList::~IconRowList() = default;

int IconRowList::RowCountLocked() const { return m_rows.Count(); }

RECT* IconRowList::RowRectLocked(int index)
{
    IconListItem* item = m_rows.AtLocked(index);
    return item ? &item->rect : nullptr;
}

std::unique_ptr<IconListItem> IconRowList::MakeRow(const CString& text, int data, const CString& iconFile)
{
    auto row = std::make_unique<IconListItem>();
    row->text = text;
    row->data = data;
    row->iconWidth = 0;
    row->iconHeight = 0;
    row->rect = RECT{0, 0, 0, 0};
    const CString path = GetSkinFolder() + iconFile;
    if (!iconFile.IsEmpty() && ::PathFileExistsW(path))
    {
        row->icon.reset(MRender::LoadImageFromFile(path));
        if (row->icon)
        {
            row->iconWidth = static_cast<int>(row->icon->GetWidth());
            row->iconHeight = static_cast<int>(row->icon->GetHeight());
        }
    }
    return row;
}

void IconRowList::ClearList()
{
    m_rows.Clear();
    m_hoverRow = -1;
    m_selectedRow = -1;
    OnCleared();
    Repaint();
}

void IconRowList::SetCurData(int data)
{
    const int found = m_rows.Find([&](const IconListItem& row) { return row.data == data; });
    if (found >= 0)
        m_selectedRow = found;
    Repaint();
}

int IconRowList::GetCurData()
{
    ScopedLock lock(m_itemLock);
    const IconListItem* row = m_rows.AtLocked(SelectedRowLocked());
    return row ? row->data : 0;
}

int IconRowList::GetItemData(int index)
{
    int data = 0;
    m_rows.With(index, [&](const IconListItem& row) { data = row.data; });
    return data;
}

void IconRowList::SetSelectItem(int index)
{
    if (index == m_selectedRow)
        return;
    m_selectedRow = index;
    Repaint();
}

int IconRowList::GetSelectItem() { return SelectedRow(); }

int IconRowList::SetItemText(int index, CString text)
{
    return m_rows.With(index, [&](IconListItem& row) { row.text = text; }) ? 1 : 0;
}

CString IconRowList::GetItemText(int index)
{
    CString text;
    m_rows.With(index, [&](const IconListItem& row) { text = row.text; });
    return text;
}

int IconRowList::GetItemCount() { return m_rows.Count(); }

bool IconRowList::TrackPointer(CPoint pt, bool& stillOnHover)
{
    stillOnHover = false;
    const int before = m_hoverRow;
    if (!m_rect.PtInRect(pt))
    {
        m_hoverRow = -1;
        SetCursorTo(IDC_ARROW);
        return m_hoverRow != before;
    }
    ScopedLock lock(m_itemLock);
    if (m_hoverRow >= 0 && RowHoldsLocked(m_hoverRow, pt))
    {
        SetCursorTo(IDC_HAND);
        stillOnHover = true;
        return false;
    }
    m_hoverRow = -1;
    SetCursorTo(IDC_ARROW);
    m_hoverRow = HitRowLocked(pt);
    return m_hoverRow != before;
}

// ---- ProfileList -------------------------------------------------------------------------------

ProfileList::ProfileList(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : IconRowList(owner, id, rect, visible, enabled, kProfilePitch), m_iconHover(-1)
{
}

ProfileList::~ProfileList() = default;

int ProfileList::AddItem(CString text, int data, CString iconFile)
{
    const int last = m_rows.Append(MakeRow(text, data, iconFile));
    SyncScrollBar();
    m_pScrollVertical->SetScrollFinalPos();
    m_pScrollVertical->SetRange();
    Repaint();
    return last;
}

void ProfileList::OnCleared()
{
    ForgetRowState();
    m_iconHover = -1;
    m_offsetInFirst = 0;
    SyncScrollBar();
    m_pScrollVertical->SetScrollFinalPos();
    m_pScrollVertical->SetRange();
}

void ProfileList::DeleteItem(int index)
{
    if (!m_rows.Remove(index))
        return;
    ForgetRowState();
    m_iconHover = -1;
    SyncScrollBar();
    Repaint();
}

void ProfileList::GetCurValue(int& data, CString& text)
{
    ScopedLock lock(m_itemLock);
    if (const IconListItem* row = m_rows.AtLocked(SelectedRowLocked()))
    {
        data = row->data;
        text = row->text;
    }
}

void ProfileList::SetScrollPos(int)
{
    m_pScrollVertical->SetScrollCurrentPos(0);
    m_pScrollVertical->SetRange();
    Repaint();
}

int ProfileList::ImageWidth() { return m_rect.Width() - m_barThickness; }

void ProfileList::PrepareRows(Gdiplus::Graphics& graphics)
{
    ::SetBkMode(m_hMemDC, TRANSPARENT);
    graphics.SetTextRenderingHint(m_textHint);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
}

void ProfileList::DrawRowLocked(const RowCanvas& canvas, int index)
{
    IconListItem* row = m_rows.AtLocked(index);
    if (!row)
        return;
    const int wide = canvas.width;
    const int v = wide - m_barThickness;
    m_iconRect = CRect(v - kEditIconFromRight, kEditIconTop, v - kEditIconRightGap, kEditIconBottom);
    const int y = (index - canvas.first) * m_rowHeight;
    row->rect = CRect(0, y, v, y + m_rowHeight - kProfileRowGap);

    const Gdiplus::Color select = Manager::GetSelectColor();
    if (index == m_editRow)
    {
        MRender::DrawRoundRectange(canvas.graphics, 0.0f, static_cast<float>(y), static_cast<float>(v),
                                   static_cast<float>(kProfileBandHeight), kProfileCorner, select);
        return;
    }
    Gdiplus::Color text(kLightTextArgb);
    if (index == m_hoverRow || index == m_selectedRow)
    {
        MRender::DrawRoundRectange(canvas.graphics, 0.0f, static_cast<float>(y), static_cast<float>(v),
                                   static_cast<float>(kProfileBandHeight), kProfileCorner, select);
        if (m_pImage && m_frameWidth > 0)
        {
            const int frame = index == m_hoverRow && m_iconHover == 0 ? kEditIconHoverFrame : 0;
            DrawStripFrame(canvas.graphics, m_pImage,
                           Gdiplus::Rect(m_iconRect.left, m_iconRect.top + y, m_frameWidth, m_frameHeight),
                           frame * m_frameWidth, 0, m_frameWidth, m_frameHeight);
        }
        text = Gdiplus::Color(kDarkTextArgb);
    }
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    DrawText(canvas.graphics, row->text, canvas.font,
             Gdiplus::RectF(static_cast<float>(kProfileTextLeft), static_cast<float>(y),
                            static_cast<float>(wide - kProfileTextSideRoom), static_cast<float>(kProfileBandHeight)),
             *format, text);
}

int ProfileList::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    bool stillOnHover = false;
    const bool moved = TrackPointer(pt, stillOnHover);
    if (stillOnHover)
    {
        const int iconHover = RowPartHolds(m_hoverRow, m_iconRect, pt) ? 0 : -1;
        if (iconHover != m_iconHover)
        {
            m_iconHover = iconHover;
            Repaint();
        }
        return 0;
    }
    m_iconHover = -1;
    if (moved)
        Repaint();
    return 1;
}

int ProfileList::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int row = m_hoverRow;
    if (row < 0)
    {
        HideEdit(1);
        return 1;
    }
    m_selectedRow = row;
    if (RowPartHolds(row, m_iconRect, pt))
    {
        ShowEdit();
        Notify(NC_ICON_OR_TAB, 0, row);
    }
    else
    {
        Notify(NC_CLICKED, 0, row);
        HideEdit(0);
    }
    Repaint();
    return 1;
}

int ProfileList::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    const int row = m_hoverRow;
    m_selectedRow = row;
    Notify(RowPartHolds(row, m_iconRect, pt) ? NC_ICON_OR_TAB : NC_CLICKED, 0, row);
    return 1;
}

void ProfileList::PrepareEditBox(CEditWindow& box) { box.SetEditColor(kProfileBoxBack, kProfileBoxText); }

bool ProfileList::ReadRowTextLocked(int index, CString& text) { return m_rows.TextAtLocked(index, text); }

// The list's title follows the renamed profile.
void ProfileList::StoreRenamedTextLocked(int index, const CString& text)
{
    m_rows.SetTextAtLocked(index, text);
    m_title = text;
}

int ProfileList::GetTextRect(CRect& out)
{
    CRect client;
    if (!SelectedClientRect(client))
    {
        out = client;
        return 0;
    }
    const int top = BandTop(client.top, client.Height(), m_fontSize, false);
    out = CRect(client.left + kProfileTextRectLeft, top, client.right - kProfileTextRectRightGap,
                top + BandHeight(m_fontSize, false));
    return 1;
}

// ---- MListBoxEx ----------------------------------------------------------------------------

MListBoxEx::MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : IconRowList(owner, id, rect, visible, enabled, kTileHeight),
      m_tileWidth(kTileWidth),
      m_tileHeight(kTileHeight),
      m_gapX(kTileGapX),
      m_gapY(kTileGapY),
      m_contentHeight(0)
{
}

MListBoxEx::~MListBoxEx() = default;

void MListBoxEx::AddItem(CString text, int data, CString iconFile) { m_rows.Append(MakeRow(text, data, iconFile)); }

void MListBoxEx::SetWitdhAndHeight(int width, int height)
{
    m_tileWidth = width;
    m_tileHeight = height;
}

void MListBoxEx::SetItemSplit(int x, int y)
{
    m_gapX = x;
    m_gapY = y;
}

void MListBoxEx::SetAllItemHeight(int height)
{
    m_contentHeight = height;
    Repaint();
}

int MListBoxEx::SetControlFocus(int focus) { return MControl::SetControlFocus(focus); }

void MListBoxEx::DrawControl(HDC& dc, CRect)
{
    const int height = m_rect.Height();
    const int width = ImageWidth();
    if (height <= 0 || width <= 0)
        return;
    const MScroll* bar = m_pScrollVertical;
    const int range = bar->GetScrollMaxRange();
    // Content shorter than the view scrolls nowhere.
    const int64_t scrollable = std::max<int64_t>(static_cast<int64_t>(m_contentHeight) - height, 0);
    int64_t offset = range > 0 ? scrollable * bar->GetScrollCurrentPos() / range : 0;
    offset = std::min(std::max<int64_t>(offset, 0), scrollable);
    m_contentOffset = offset;

    ScopedLock lock(m_itemLock);
    const int count = m_rows.Count();
    // Every tile is laid out (and can be hovered and clicked) even where the
    // image, as tall as the content height, does not reach.
    m_firstVisible = count > 0 ? 0 : -1;
    m_lastVisible = count - 1;
    m_offsetInFirst = 0;
    const bool render = (!m_bUpdate || !m_hMemDC) && m_contentHeight > 0;
    std::unique_ptr<Gdiplus::Graphics> graphics;
    std::unique_ptr<ControlFont> font;
    std::unique_ptr<Gdiplus::StringFormat> format;
    if (render)
    {
        UpdateMemDC(dc, width, m_contentHeight);
        if (m_hMemDC)
        {
            CopyBackground(dc, width, m_contentHeight, 0);
            ::SetBkMode(m_hMemDC, TRANSPARENT);
            graphics = std::make_unique<Gdiplus::Graphics>(m_hMemDC);
            graphics->SetTextRenderingHint(m_textHint);
            graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            font = std::make_unique<ControlFont>(*this, m_fontSize, m_fontStyle);
            format = MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter,
                                      kSingleLineFlags);
        }
    }

    int x = 0;
    int y = static_cast<int>(-offset);
    for (int i = 0; i < count; ++i)
    {
        IconListItem& tile = *m_rows.AtLocked(i);
        tile.rect = CRect(x, y, x + m_tileWidth, y + m_tileHeight);
        if (graphics)
        {
            int frame = kTileNormalFrame;
            Gdiplus::Color text = m_textColor;
            if (i == m_selectedRow)
            {
                frame = kTileSelectedFrame;
                text = Gdiplus::Color(kDarkTextArgb);
            }
            else if (i == m_hoverRow)
            {
                frame = kTileHoverFrame;
                text = Gdiplus::Color(kLightTextArgb);
            }
            if (m_pImage && m_frameWidth > 0 && frame < m_frameCount)
                DrawStripFrame(*graphics, m_pImage, Gdiplus::Rect(x, y, m_tileWidth, m_tileHeight),
                               frame * m_frameWidth, 0, m_frameWidth, m_frameHeight);
            DrawText(*graphics, tile.text, font->Get(),
                     Gdiplus::RectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(m_tileWidth),
                                    static_cast<float>(m_tileHeight)),
                     *format, text);
        }
        x += m_gapX + m_tileWidth;
        if (width - m_tileWidth <= x)
        {
            x = 0;
            y += m_gapY + m_tileHeight;
        }
    }
    graphics.reset();
    if (m_hMemDC && m_contentHeight > 0)
        ::BitBlt(dc, m_rect.left, m_rect.top, width, std::min(height, m_contentHeight), m_hMemDC, 0, 0, SRCCOPY);
}

int MListBoxEx::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    bool stillOnHover = false;
    const bool moved = TrackPointer(pt, stillOnHover);
    if (stillOnHover)
        return 0;
    if (moved)
        Repaint();
    return 1;
}

int MListBoxEx::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    m_selectedRow = m_hoverRow;
    Repaint();
    return 1;
}

int MListBoxEx::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    Notify(NC_CLICKED, 0, SelectedRow());
    return 1;
}

} // namespace VREL
