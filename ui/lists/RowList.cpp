#include "ui/lists/RowList.h"

#include <algorithm>

#include "ui/controls/StateCells.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/CEditWindow.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr UINT kWheelTowardUser = 1;
// Rows of the bar's step per wheel notch.
constexpr int kWheelRows = 10;
constexpr COLORREF kWhite = 0xFFFFFF;
// The rename band: the font size plus this, except for the small sizes
// whose bands a class keeps fixed.
constexpr int kBandExtra = 6;

} // namespace

// ---- SkinStrip -------------------------------------------------------------------------

SkinStrip::SkinStrip() : frameWidth(0), frameHeight(0), frames(0) {}

SkinStrip::~SkinStrip() = default;

bool SkinStrip::Load(const wchar_t* file, int count)
{
    image.reset();
    frameWidth = frameHeight = frames = 0;
    if (!file)
        return false;
    std::unique_ptr<Gdiplus::Image> loaded(MRender::LoadImageFromFile(GetSkinFolder() + file));
    if (!loaded || loaded->GetWidth() == 0 || loaded->GetHeight() == 0)
        return false;
    frames = ValidFrameCount(count);
    frameWidth = static_cast<int>(loaded->GetWidth()) / frames;
    frameHeight = static_cast<int>(loaded->GetHeight());
    image = std::move(loaded);
    return true;
}

void SkinStrip::Draw(Gdiplus::Graphics& graphics, int frame, const Gdiplus::Rect& dst) const
{
    if (!image || frame < 0 || frame >= frames)
        return;
    DrawStripFrame(graphics, image.get(), dst, frame * frameWidth, 0, frameWidth, frameHeight);
}

// ---- RowList ---------------------------------------------------------------------------

RowList::RowList(MObject* owner, UINT id, CRect rect, int visible, int enabled, int rowHeight)
    : MPanel(owner, id, rect, visible, enabled),
      m_rowHeight(rowHeight),
      m_hoverRow(-1),
      m_selectedRow(-1),
      m_firstVisible(-1),
      m_lastVisible(-1),
      m_contentOffset(0),
      m_offsetInFirst(0),
      m_editRow(-1),
      m_pEditWnd(nullptr)
{
}

RowList::~RowList()
{
    // The box's window going asks a visible owner to repaint: this list is
    // half gone by now, so it no longer counts as visible.
    m_bVisible = 0;
    if (m_pEditWnd && m_pEditWnd->GetSafeHwnd())
        m_pEditWnd->DestroyWindow();
    // A box whose window never came (or could not be destroyed from here).
    if (m_pEditWnd)
    {
        if (m_pEditWnd->GetSafeHwnd())
            m_pEditWnd->SetOwnerSlot(nullptr);
        else
            delete m_pEditWnd;
        m_pEditWnd = nullptr;
    }
}

MScroll* RowList::VerticalBar() const { return m_pScrollVertical; }

int RowList::RowCount()
{
    ScopedLock lock(m_itemLock);
    return RowCountLocked();
}

int RowList::ContentHeight() { return RowCount() * m_rowHeight; }

int RowList::ImageWidth()
{
    const int width = m_rect.Width();
    return m_pScrollVertical->IsVisible() ? width - m_barThickness : width;
}

int RowList::SelectedRowLocked() const
{
    return m_selectedRow >= 0 && m_selectedRow < RowCountLocked() ? m_selectedRow : -1;
}

int RowList::SelectedRow()
{
    ScopedLock lock(m_itemLock);
    return SelectedRowLocked();
}

int RowList::SelectRow(int index)
{
    if (index < -1 || index >= RowCount())
        return 0;
    if (index == m_selectedRow)
        return 1;
    m_selectedRow = index;
    Repaint();
    return 1;
}

void RowList::SyncScrollBar()
{
    const int content = ContentHeight();
    const int visible = content > m_rect.Height() ? 1 : 0;
    MScroll* bar = m_pScrollVertical;
    if (bar->IsVisible() != visible)
    {
        bar->SetControlVisible(visible);
        if (MObject* owner = bar->GetParantObject())
            owner->OnControlUpdate(bar->GetRect(), 1, bar);
    }
    bar->SetScrollMaxRange(content);
}

void RowList::SetControlRect(CRect rect)
{
    m_rect = rect;
    {
        ScopedLock lock(m_controlLock);
        for (MControl* child : m_controls)
        {
            const UINT id = child->GetControlID();
            if (id != kVerticalBarId && (id != kHorizontalBarId || !PlacesHorizontalBar()))
                continue;
            const CRect target = id == kVerticalBarId
                                     ? CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom)
                                     : CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom);
            CRect dirty;
            dirty.UnionRect(child->GetRect(), target);
            child->SetControlRect(target);
            if (child->IsVisible())
                child->GetParantObject()->OnControlUpdate(dirty, 1, child);
        }
    }
    OnPlaced();
    SyncScrollBar();
}

int RowList::OnControlScroll(int, UINT direction, CPoint)
{
    // Nothing to scroll: the bar stays where it is, also where the class
    // keeps the wheel.
    if (ContentHeight() <= m_rect.Height())
        return TakesWheelWhenContentFits() ? 1 : 0;
    MScroll* bar = m_pScrollVertical;
    const int before = bar->GetScrollCurrentPos();
    const int step = (direction == kWheelTowardUser ? kWheelRows : -kWheelRows) * bar->GetScrollRowStep();
    const int position = std::min(std::max(before + step, 0), std::max(bar->GetScrollMaxRange(), 0));
    bar->SetScrollCurrentPos(position);
    bar->SetRange();
    if (position != before && m_bVisible)
        UpdateControl(1, 0);
    return 1;
}

LRESULT RowList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NC_SCROLL && m_bVisible)
        UpdateControl(1, 0);
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

// ---- paint -----------------------------------------------------------------------------

void RowList::CopyBackground(HDC& dc, int width, int height, int into)
{
    RECT all = {0, 0, width, height};
    MRender::FillSolidRect(m_hMemDC, &all, kWhite);
    const int lines = height - into;
    if (lines <= 0)
        return;
    MRender::DrawVerticalTransition(m_hMemDC, dc, CRect(0, into, width, height),
                                    CRect(m_rect.left, m_rect.top, m_rect.left + width, m_rect.top + lines), 0, 0);
}

void RowList::PrepareRows(Gdiplus::Graphics& graphics)
{
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
}

void RowList::DrawRowLocked(const RowCanvas& canvas, int index)
{
    if (RECT* rect = RowRectLocked(index))
    {
        const int k = index - canvas.first;
        *rect = CRect(0, k * m_rowHeight, canvas.width, (k + 1) * m_rowHeight);
    }
}

void RowList::DrawControl(HDC& dc, CRect)
{
    const int height = m_rect.Height();
    const int width = ImageWidth();
    if (height <= 0 || width <= 0)
        return;
    const int pitch = RowHeightOrOne();

    ScopedLock lock(m_itemLock);
    const int count = RowCountLocked();
    const MScroll* bar = m_pScrollVertical;
    const int range = bar->GetScrollMaxRange();
    // Content shorter than the view leaves nothing to scroll: never a
    // negative offset, never one past the end.
    const int64_t scrollable = std::max<int64_t>(static_cast<int64_t>(count) * pitch - height, 0);
    int64_t offset = range > 0 ? scrollable * bar->GetScrollCurrentPos() / range : 0;
    offset = std::min(std::max<int64_t>(offset, 0), scrollable);

    const int first = static_cast<int>(offset / pitch);
    int last = static_cast<int>((offset + height) / pitch);
    last = std::max(std::min(last, count - 1), 0);
    const int imageHeight = std::max(height, (last - first + 1) * pitch);
    const int within = static_cast<int>(std::max<int64_t>(offset - static_cast<int64_t>(first) * pitch, 0));
    m_contentOffset = offset;
    m_firstVisible = first;
    m_lastVisible = last;
    m_offsetInFirst = within;

    if (!m_bUpdate || !m_hMemDC)
    {
        UpdateMemDC(dc, width, imageHeight);
        if (!m_hMemDC)
            return;
        CopyBackground(dc, width, imageHeight, within);
        if (count > 0)
        {
            Gdiplus::Graphics graphics(m_hMemDC);
            PrepareRows(graphics);
            ControlFont font(*this, m_fontSize, m_fontStyle);
            const RowCanvas canvas{graphics, m_hMemDC, font.Get(), width, first};
            for (int i = first; i <= last && i < count; ++i)
                DrawRowLocked(canvas, i);
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, within, SRCCOPY);
}

// ---- hover -----------------------------------------------------------------------------

CRect RowList::ClientRectLocked(int index)
{
    const RECT* rect = RowRectLocked(index);
    if (!rect)
        return CRect();
    CRect client(*rect);
    client.OffsetRect(m_rect.left, m_rect.top - m_offsetInFirst);
    return client;
}

bool RowList::SelectedClientRect(CRect& client)
{
    ScopedLock lock(m_itemLock);
    const int row = SelectedRowLocked();
    client = row < 0 ? CRect() : ClientRectLocked(row);
    return row >= 0;
}

bool RowList::RowPartHolds(int index, const CRect& part, CPoint pt)
{
    ScopedLock lock(m_itemLock);
    if (!RowRectLocked(index))
        return false;
    const CRect client = ClientRectLocked(index);
    CRect placed = part;
    placed.OffsetRect(client.left, client.top);
    return placed.PtInRect(pt) != 0;
}

CRect RowList::GetRowClientRect(int index)
{
    ScopedLock lock(m_itemLock);
    return ClientRectLocked(index);
}

bool RowList::RowHoldsLocked(int index, CPoint pt)
{
    return RowRectLocked(index) && ClientRectLocked(index).PtInRect(pt);
}

int RowList::HitRowLocked(CPoint pt)
{
    if (m_firstVisible < 0 || m_lastVisible < 0)
        return -1;
    const int last = std::min(m_lastVisible, RowCountLocked() - 1);
    for (int i = m_firstVisible; i <= last; ++i)
        if (RowHoldsLocked(i, pt))
            return i;
    return -1;
}

int RowList::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    int hover = -1;
    {
        ScopedLock lock(m_itemLock);
        if (RowCountLocked() == 0 || m_firstVisible < 0 || m_lastVisible < 0)
            return 0;
        if (m_rect.PtInRect(pt))
        {
            if (m_hoverRow >= 0 && RowHoldsLocked(m_hoverRow, pt))
                return 1;
            hover = HitRowLocked(pt);
        }
    }
    if (hover != m_hoverRow)
    {
        m_hoverRow = hover;
        if (m_bVisible)
            UpdateControl(1, 0);
    }
    return 0;
}

void RowList::ForgetRowState()
{
    m_hoverRow = -1;
    m_selectedRow = -1;
    m_firstVisible = -1;
    m_lastVisible = -1;
    CancelEdit();
}

// ---- rename ----------------------------------------------------------------------------

void RowList::PrepareEditBox(CEditWindow&) {}

bool RowList::ReadRowTextLocked(int, CString&) { return false; }

void RowList::StoreRenamedTextLocked(int, const CString&) {}

int RowList::BandHeight(int fontSize, bool mediumSizes)
{
    if (fontSize == 8)
        return 12;
    if (mediumSizes && fontSize == 14)
        return 20;
    if (mediumSizes && fontSize == 16)
        return 24;
    return fontSize + kBandExtra;
}

int RowList::BandTop(int rowTop, int rowHeight, int fontSize, bool mediumSizes)
{
    const int band = BandHeight(fontSize, mediumSizes);
    // The medium sizes sit one pixel higher.
    const int lift = mediumSizes && (fontSize == 14 || fontSize == 16) ? 1 : 0;
    return rowTop + (rowHeight - band) / 2 - lift;
}

int RowList::GetTextRect(CRect& out)
{
    out = CRect();
    return 0;
}

void RowList::ShowEdit()
{
    if (!m_bEnabled || !RenameEnabled())
        return;
    CString text;
    int row;
    {
        ScopedLock lock(m_itemLock);
        row = SelectedRowLocked();
        if (row < 0 || !ReadRowTextLocked(row, text))
            return;
    }
    // A rename of another row still open is taken first, not dropped.
    if (m_editRow >= 0 && m_editRow != row)
        HideEdit(1);

    CRect place;
    GetTextRect(place);
    m_editRow = row;
    if (m_pEditWnd && m_pEditWnd->GetSafeHwnd())
    {
        const CRect moved = NativeEdit::PlacementRect(m_pManager, place);
        m_pEditWnd->MoveWindow(&moved, TRUE);
    }
    else
    {
        if (!m_pEditWnd)
        {
            m_pEditWnd = new CEditWindow();
            PrepareEditBox(*m_pEditWnd);
        }
        if (!m_pEditWnd->CreateEdit(this, place))
        {
            delete m_pEditWnd;
            m_pEditWnd = nullptr;
            m_editRow = -1;
            return;
        }
        m_pEditWnd->SetOwnerSlot(&m_pEditWnd);
    }

    const HWND box = m_pEditWnd->GetSafeHwnd();
    ::SetWindowTextW(box, text);
    // The box may have gone while its text was reported (an owner that
    // deletes the list, say); then there is nothing left to show.
    if (!m_pEditWnd || !::IsWindow(box))
        return;
    ::ShowWindow(box, SW_SHOW);
    ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(text.GetLength()), -1);
    ::SetFocus(box);
    m_bKeyFocus = 1;
}

void RowList::HideEdit(int force)
{
    if (!RenameEnabled())
        return;
    if (m_editRow == m_selectedRow && !force)
        return;
    m_bKeyFocus = 0;
    const int row = m_editRow;
    m_editRow = -1;
    if (!m_pEditWnd || !m_pEditWnd->GetSafeHwnd())
        return;
    bool changed = false;
    if (row != -1)
    {
        CString typed;
        m_pEditWnd->GetWindowTextW(typed);
        ScopedLock lock(m_itemLock);
        CString current;
        // The row must still be there: the rows may have changed under the box.
        if (ReadRowTextLocked(row, current) && current != typed)
        {
            StoreRenamedTextLocked(row, typed);
            changed = true;
        }
    }
    HideEditWindow();
    if (changed)
    {
        Notify(NC_EDIT_END, 0, row);
        Repaint();
    }
}

void RowList::CancelEdit()
{
    if (m_editRow == -1)
        return;
    m_editRow = -1;
    m_bKeyFocus = 0;
    HideEditWindow();
}

void RowList::CancelEditIfMoved(int firstMovedRow)
{
    if (m_editRow >= 0 && firstMovedRow <= m_editRow)
        CancelEdit();
}

void RowList::HideEditWindow()
{
    if (!m_pEditWnd)
        return;
    const HWND box = m_pEditWnd->GetSafeHwnd();
    if (!box)
        return;
    // The worker clears lists while a rename may be open: it must not wait
    // for the UI thread to hide the box.
    if (::GetWindowThreadProcessId(box, nullptr) == ::GetCurrentThreadId())
        ::ShowWindow(box, SW_HIDE);
    else
        ::ShowWindowAsync(box, SW_HIDE);
}

int RowList::SetControlFocus(int focus)
{
    if (!m_bEnabled)
        return 0;
    if (focus)
        return 1;
    HideEdit(1);
    Repaint();
    return 1;
}

} // namespace VREL
