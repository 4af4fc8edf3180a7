#include "ui/lists/RecordList.h"

#include <memory>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCRecordList(MakeControlClass<CRecordList, ControlForm::Visible>(L"CRecordList"));

constexpr int kRowHeight = 36;
constexpr int kHighlightFrame = 1;
// Columns (not scaled): the index, the icon (scaled), the text; the more
// button's distance from the right edge.
constexpr int kIndexLeft = 15;
constexpr int kIndexWidth = 50;
constexpr float kIconLeft = 90.0f;
constexpr int kTextLeft = 190;
constexpr int kTextWidth = 150;
constexpr int kMoreRightGap = 15;

// Icon pairs of the type-icon strip: normal, then selected at + 1.
constexpr int kKeyIcons = 2;
constexpr int kMouseIcons = 4;
constexpr int kDelayIcons = 6;
constexpr int kFirstPairIcons = 0;
// Types beyond the five that the strip still draws.
constexpr int kMouseLikeFirst = 6, kMouseLikeLast = 7;
constexpr int kFirstPairFirst = 8, kFirstPairLast = 12;

} // namespace

CRecordList::CRecordList(MObject* owner, UINT id, CRect rect, int visible)
    : RowList(owner, id, rect, visible, 1, kRowHeight),
      m_rows(m_itemLock),
      m_selectedTimestamp(0),
      m_scale(1.0f)
{
    m_pScrollVertical->SetControlVisible(0);
}

CRecordList::~CRecordList() = default;

int CRecordList::RowCountLocked() const { return m_rows.Count(); }

RECT* CRecordList::RowRectLocked(int index)
{
    RecordItem* item = m_rows.AtLocked(index);
    return item ? &item->rect : nullptr;
}

int CRecordList::DrawnRowHeight() const { return static_cast<int>(static_cast<float>(m_rowHeight) * m_scale); }

int CRecordList::IconFrameOf(int type)
{
    switch (type)
    {
    case RECORD_DELAY:
        return kDelayIcons;
    case RECORD_MOUSE_DOWN:
    case RECORD_MOUSE_UP:
        return kMouseIcons;
    default:
        break;
    }
    if (type >= kMouseLikeFirst && type <= kMouseLikeLast)
        return kMouseIcons;
    if (type >= kFirstPairFirst && type <= kFirstPairLast)
        return kFirstPairIcons;
    return kKeyIcons;
}

// ---- rows ---------------------------------------------------------------------------------

namespace {

std::unique_ptr<RecordItem> MakeRecord(const CString& text, int type, int value, int timestamp)
{
    auto item = std::make_unique<RecordItem>();
    item->text = text;
    item->type = type;
    item->value = value;
    item->timestamp = timestamp;
    item->rect = RECT{0, 0, 0, 0};
    return item;
}

} // namespace

int CRecordList::AddString(CString text, int type, int value, int timestamp)
{
    const int last = m_rows.Append(MakeRecord(text, type, value, timestamp));
    SyncScrollBar();
    Repaint();
    return last;
}

int CRecordList::InsertString(int index, CString text, int type, int value, int timestamp)
{
    int last;
    {
        ScopedLock lock(m_itemLock);
        const int count = m_rows.Count();
        if (index < -1 || index > count)
            return -1;
        m_rows.Insert(index == -1 ? count : index, MakeRecord(text, type, value, timestamp));
        last = count;
    }
    SyncScrollBar();
    m_selectedTimestamp = 0;
    Repaint();
    return last;
}

int CRecordList::GetItemCount() { return m_rows.Count(); }

int CRecordList::GetEventCount()
{
    int events = 0;
    m_rows.ForEach([&](const RecordItem& item, int) {
        if (item.type != RECORD_DELAY)
            ++events;
    });
    return events;
}

int CRecordList::DeleteItem(int index)
{
    if (!m_rows.Has(index))
        return 0;
    m_hoverRow = -1;
    m_selectedRow = -1;
    m_rows.Remove(index);
    ForgetRowState();
    SyncScrollBar();
    Repaint();
    return 1;
}

int CRecordList::DeleteAllItems()
{
    m_rows.Clear();
    ForgetRowState();
    SyncScrollBar();
    Repaint();
    return 1;
}

void CRecordList::DeleteTimeStamp(int timestamp)
{
    m_hoverRow = -1;
    m_selectedRow = -1;
    m_rows.RemoveIf([&](const RecordItem& item) { return item.timestamp == timestamp; });
    ForgetRowState();
    SyncScrollBar();
    Repaint();
}

void CRecordList::MoveTop(int index)
{
    if (m_rows.Move(index, 0))
        m_selectedRow = 0;
}

void CRecordList::MoveBottom(int index)
{
    ScopedLock lock(m_itemLock);
    if (m_rows.Move(index, m_rows.Count()))
        m_selectedRow = m_rows.Count() - 1;
}

void CRecordList::SwapItem(int a, int b) { m_rows.Swap(a, b); }

int CRecordList::GetRecrodTimeStamp(int index)
{
    int timestamp = 0;
    m_rows.With(index, [&](const RecordItem& item) { timestamp = item.timestamp; });
    return timestamp;
}

void CRecordList::GetRecordInfo(int index, CString& text, int& type, int& value, int& timestamp)
{
    m_rows.With(index, [&](const RecordItem& item) {
        text = item.text;
        type = item.type;
        value = item.value;
        timestamp = item.timestamp;
    });
}

void CRecordList::SetRecordInfo(int index, CString text, int type, int value, int timestamp)
{
    const bool found = m_rows.With(index, [&](RecordItem& item) {
        item.text = text;
        item.type = type;
        item.value = value;
        item.timestamp = timestamp;
    });
    if (found)
        Repaint();
}

void CRecordList::SetRecordInfo(int timestamp, int type, CString text, int value)
{
    m_rows.ForEach([&](RecordItem& item, int) {
        if (item.timestamp == timestamp && item.type == type)
        {
            item.text = text;
            item.value = value;
        }
    });
    Repaint();
}

void CRecordList::UpdateTimeStamp(int type, int code, int timestamp)
{
    ScopedLock lock(m_itemLock);
    for (int i = m_rows.Count() - 1; i >= 0; --i)
    {
        RecordItem& item = *m_rows.AtLocked(i);
        if (item.type == type && item.value == code)
        {
            item.timestamp = timestamp;
            continue;
        }
        const bool downOfThisUp = (type == RECORD_KEY_UP && item.type == RECORD_KEY_DOWN) ||
                                  (type == RECORD_MOUSE_UP && item.type == RECORD_MOUSE_DOWN);
        if (downOfThisUp && item.value == code)
        {
            item.timestamp = timestamp;
            break;
        }
    }
}

bool CRecordList::UpdateDelayTime(int timestamp)
{
    if (!m_rows.With(m_rows.Count() - 1, [&](RecordItem& item) { item.timestamp = timestamp; }))
        return false;
    Repaint();
    return true;
}

std::vector<RecordItem*> CRecordList::GetRecordItems() { return m_rows.Copy(); }

// ---- selection and look -----------------------------------------------------------------------

int CRecordList::SetCurSel(int index) { return SelectRow(index); }

int CRecordList::GetCurSel() { return SelectedRow(); }

void CRecordList::SetTimeStampSelect(int timestamp)
{
    m_selectedTimestamp = timestamp;
    Repaint();
}

int CRecordList::SetImage(const wchar_t* file, int frames)
{
    if (!m_iconStrip.Load(file, frames))
        return 0;
    Repaint();
    return 1;
}

int CRecordList::SetItemImage(const wchar_t* file, int frames) { return m_rowStrip.Load(file, frames) ? 1 : 0; }

int CRecordList::SetMoreImage(const wchar_t* file, int frames) { return m_moreStrip.Load(file, frames) ? 1 : 0; }

void CRecordList::OnPlaced()
{
    const int r = DrawnRowHeight();
    const int iconLeft = static_cast<int>(kIconLeft * m_scale);
    const int iconTop = (r - m_iconStrip.frameHeight) / 2;
    m_iconRect = CRect(iconLeft, iconTop, iconLeft + m_iconStrip.frameWidth, iconTop + m_iconStrip.frameHeight);
    const int moreLeft = m_rect.Width() - m_moreStrip.frameWidth - kMoreRightGap;
    const int moreTop = (r - m_moreStrip.frameHeight) / 2;
    m_moreRect = CRect(moreLeft, moreTop, moreLeft + m_moreStrip.frameWidth, moreTop + m_moreStrip.frameHeight);
}

// ---- paint ----------------------------------------------------------------------------------

bool CRecordList::InGroupLocked(int index) const
{
    const RecordItem* item = m_rows.AtLocked(index);
    return index == m_selectedRow || (item && item->timestamp == m_selectedTimestamp);
}

void CRecordList::DrawRowLocked(const RowCanvas& canvas, int index)
{
    RecordItem* item = m_rows.AtLocked(index);
    if (!item)
        return;
    const int k = index - canvas.first;
    const int r = DrawnRowHeight();
    const int top = k * r;
    const int w = canvas.width;
    item->rect = CRect(0, top, w, top + r);
    const bool grouped = InGroupLocked(index);

    if (grouped || index == m_hoverRow)
        m_rowStrip.Draw(canvas.graphics, kHighlightFrame, Gdiplus::Rect(0, k * m_rowHeight, w, r - 1));

    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    CString number;
    number.Format(L"%d", index);
    DrawText(canvas.graphics, number, canvas.font,
             Gdiplus::RectF(static_cast<float>(kIndexLeft), static_cast<float>(top), static_cast<float>(kIndexWidth),
                            static_cast<float>(r)),
             *format, m_textColor);

    if (m_iconStrip.Loaded())
        m_iconStrip.Draw(canvas.graphics, IconFrameOf(item->type) + (grouped ? 1 : 0),
                         Gdiplus::Rect(m_iconRect.left, m_iconRect.top + top, m_iconStrip.frameWidth,
                                       m_iconStrip.frameHeight));

    DrawText(canvas.graphics, item->text, canvas.font,
             Gdiplus::RectF(static_cast<float>(kTextLeft), static_cast<float>(top), static_cast<float>(kTextWidth),
                            static_cast<float>(r)),
             *format, m_textColor);

    // The selected row offers its menu through the more button.
    if (index == m_selectedRow && m_moreStrip.Loaded())
        m_moreStrip.Draw(canvas.graphics, 0,
                         Gdiplus::Rect(m_moreRect.left, m_moreRect.top + top, m_moreStrip.frameWidth,
                                       m_moreStrip.frameHeight));
}

// ---- mouse ----------------------------------------------------------------------------------

bool CRecordList::OnMoreButton(CPoint pt) { return m_moreStrip.Loaded() && RowPartHolds(SelectedRow(), m_moreRect, pt); }

int CRecordList::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int row = m_hoverRow;
    bool changed = row != m_selectedRow;
    m_selectedRow = row;
    if (row >= 0)
    {
        const int timestamp = GetRecrodTimeStamp(row);
        changed = changed || timestamp != m_selectedTimestamp;
        m_selectedTimestamp = timestamp;
    }
    Notify(NC_PRESSED, static_cast<WPARAM>(row), 0);
    if (changed)
        Repaint();
    return 1;
}

int CRecordList::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    const int row = m_hoverRow;
    if (row == m_selectedRow && OnMoreButton(pt))
    {
        Notify(NC_ICON_OR_TAB, static_cast<WPARAM>(row), 0);
        return 1;
    }
    const bool changed = row != m_selectedRow;
    m_selectedRow = row;
    Notify(NC_CLICKED, 0, 0);
    if (changed)
        Repaint();
    return 1;
}

int CRecordList::OnControlLButtonDblClk(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    if (m_hoverRow != m_selectedRow)
    {
        m_selectedRow = m_hoverRow;
        Repaint();
    }
    return 1;
}

int CRecordList::OnControlRButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int row = m_hoverRow;
    const bool changed = row != m_selectedRow;
    m_selectedRow = row;
    if (row >= 0)
        Notify(NC_RCLICK, static_cast<WPARAM>(row), 0);
    if (changed)
        Repaint();
    return 1;
}

} // namespace VREL
