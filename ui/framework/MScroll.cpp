#include "ui/framework/MScroll.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>

#include "ui/framework/ImgResInfo.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr int kInitialRange = 1000;
constexpr int kInitialRowStep = 10;
// Without a page of its own, a bar shows its length of the range, or a
// tenth of a range that is more than ten times longer.
constexpr int kAutoPageFactor = 10;
// The thumb is at least this long, or the track less the margin on a short bar.
constexpr int kMinThumbLength = 100;
constexpr int kShortTrackMargin = 50;

// Children of a bar: arrow buttons at its ends.
constexpr UINT kArrowUpId = 6;
constexpr UINT kArrowDownId = 7;
constexpr UINT kArrowLeftId = 4;
constexpr UINT kArrowRightId = 5;
// OnMessage: children that step back and forward, and the lParam that asks.
constexpr UINT kStepBackIds[] = {1, 3};
constexpr UINT kStepForwardIds[] = {2, 4};
constexpr LPARAM kStepRequest = 2;

// The strips: a vertical strip holds three columns, a horizontal one four
// rows of which rows 1-3 are the thumb in states 0-2.
constexpr int kVerticalStripColumns = 3;
constexpr int kHorizontalStripColumns = 3;
constexpr int kHorizontalStripRows = 4;
constexpr int kStripEnd = 6;
constexpr int kResourceStripFrames = 4;
const wchar_t kResourceStripType[] = L"PNG";
const wchar_t kVerticalStripFile[] = L"img_scroll_v.png";
const wchar_t kHorizontalStripFile[] = L"img_scroll_h.png";

constexpr Gdiplus::ARGB kThumbColumnColor = 0xFF969696;
constexpr Gdiplus::ARGB kThumbColor = 0xFF49FFE6;
constexpr Gdiplus::ARGB kTrackLineColor = 0xC8141414;

int Low(const RECT& r, bool vertical) { return vertical ? r.top : r.left; }
int High(const RECT& r, bool vertical) { return vertical ? r.bottom : r.right; }
int Along(const POINT& p, bool vertical) { return vertical ? p.y : p.x; }

// Position of a thumb that starts `offset` pixels into a track where it can
// travel `travel` pixels, for a position span of `span`.
int PositionAt(int offset, int span, int travel)
{
    if (travel <= 0)
        return 0;
    return static_cast<int>(static_cast<int64_t>(offset) * span / travel);
}

void DrawSlice(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int dx, int dy, int dw, int dh, int sx, int sy,
               int sw, int sh)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    graphics.DrawImage(image, Gdiplus::Rect(dx, dy, dw, dh), sx, sy, sw, sh, Gdiplus::UnitPixel);
}

} // namespace

// ---- MScroll ---------------------------------------------------------------------------

MScroll::MScroll(MObject* owner, UINT id, CRect rect, int visible)
    : MControlFont(owner, id, rect, L"", visible, 1, 1),
      m_state(THUMB_NORMAL),
      m_bHover(0),
      m_bScrollable(0),
      m_arrowSize(0),
      m_range(kInitialRange),
      m_position(0),
      m_page(0),
      m_rowStep(kInitialRowStep),
      m_bAutoPage(0),
      m_bChanging(0),
      m_dragAnchor(-1)
{
}

MScroll::~MScroll() = default;

void MScroll::DrawControl(HDC&, CRect) {}

LRESULT MScroll::OnMessage(UINT id, UINT, WPARAM, LPARAM lParam)
{
    if (lParam != kStepRequest)
        return 0;
    if (std::find(std::begin(kStepBackIds), std::end(kStepBackIds), id) != std::end(kStepBackIds))
        MoveRange(-m_rowStep);
    else if (std::find(std::begin(kStepForwardIds), std::end(kStepForwardIds), id) != std::end(kStepForwardIds))
        MoveRange(m_rowStep);
    return 0;
}

void MScroll::SetControlRect(CRect rect)
{
    MControlFont::SetControlRect(rect);
    SetRange();

    ScopedLock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        MControl* child = m_controls[i];
        child->SetVisible(m_bScrollable);
        CRect place = m_rect;
        switch (child->GetControlID())
        {
        case kArrowUpId:
            place.bottom = place.top + m_arrowSize;
            break;
        case kArrowDownId:
            place.top = place.bottom - m_arrowSize;
            break;
        case kArrowLeftId:
            place.right = place.left + m_arrowSize;
            break;
        case kArrowRightId:
            place.left = place.right - m_arrowSize;
            break;
        default:
            continue;
        }
        child->SetControlRect(place);
    }
}

int MScroll::MoveRange(int) { return 0; }

int MScroll::SetRange() { return 0; }

int MScroll::SetRangeEx() { return 0; }

int MScroll::SetScrollCurrentPos(int position)
{
    m_position = position;
    SetRange();
    return 1;
}

int MScroll::SetScrollCurrentPosEx(int position)
{
    m_position = position;
    SetRangeEx();
    return 1;
}

int MScroll::SetScrollBeginPos()
{
    m_position = 0;
    SetRange();
    return 1;
}

int MScroll::SetScrollFinalPos()
{
    // Worked out along the height whatever the kind.
    if (m_range <= 0)
    {
        m_position = 0;
        return 1;
    }
    const int length = m_rect.Height();
    const int track = length - 2 * m_arrowSize;
    const int thumb = ThumbLength(track);
    m_position = track - thumb > 0 ? PositionAt(length - thumb, m_range, track - thumb) : m_range;
    return 1;
}

int MScroll::SetScrollMaxRange(int range)
{
    m_range = range;
    if (m_bAutoPage)
        m_page = 0;
    SetRange();
    return 1;
}

int MScroll::SetScrollSize(int page, int step)
{
    m_page = page;
    if (page != 0)
        m_bAutoPage = 0;
    if (step != 0)
        m_rowStep = step;
    SetRange();
    return 1;
}

int MScroll::SetScrollInfo(int range, int position, int page, int step)
{
    m_range = range;
    m_position = position;
    if (page != 0)
    {
        m_page = page;
        m_bAutoPage = 0;
    }
    if (step != 0)
        m_rowStep = step;
    SetRange();
    return 1;
}

int MScroll::ScrollRow(int n)
{
    int position = m_position + n * m_rowStep;
    if (position < 0)
        position = 0;
    // A range below 0 holds no position but 0.
    const int last = std::max(m_range, 0);
    if (position > last)
        position = last;
    const int changed = position != m_position ? 1 : 0;
    m_position = position;
    SetRange();
    return changed;
}

int MScroll::ThumbLength(int track) const
{
    if (track <= 0 || m_range <= 0)
        return 0;
    const double proportional = static_cast<double>(m_page) / m_range * track;
    int length = static_cast<int>(std::max(static_cast<double>(m_arrowSize / 2), proportional));
    if (length < kMinThumbLength)
        length = std::min(track - kShortTrackMargin, kMinThumbLength);
    // A track no longer than the margin would give no thumb or a negative
    // one: it gets its proportional share instead.
    if (length <= 0)
        length = static_cast<int>(proportional);
    return std::clamp(length, 1, track);
}

int MScroll::LayOutThumb(Axis axis, PositionMode mode)
{
    const bool vertical = axis == AXIS_VERTICAL;
    const int start = Low(m_rect, vertical);
    const int end = High(m_rect, vertical);
    const int length = end - start;
    const int arrow = m_arrowSize;

    if (m_page == 0)
    {
        m_page = length;
        if (m_range > kAutoPageFactor * length)
            m_page = m_range / kAutoPageFactor;
        m_bAutoPage = 1;
    }
    m_bScrollable = m_page < m_range ? 1 : 0;
    if (m_range <= 0)
    {
        // An empty range has no thumb to place, draw or hit.
        m_bScrollable = 0;
        m_thumb.SetRectEmpty();
    }
    if (!m_bScrollable)
    {
        m_state = THUMB_NORMAL;
        m_dragAnchor = -1;
        if (m_range <= 0)
            return m_position;
    }

    const int track = length - 2 * arrow;
    const int thumb = ThumbLength(track);
    const int span = mode == POSITION_OF_CONTENT ? m_range - length : m_range;
    const double share = span > 0 ? static_cast<double>(m_position) / span : 0.0;
    double at = start + arrow + share * (track - thumb);
    at = std::max(at, static_cast<double>(start + arrow));
    at = std::min(at, static_cast<double>(end - arrow - arrow / 2));
    const int thumbStart = static_cast<int>(at);
    if (vertical)
        m_thumb.SetRect(m_rect.left, thumbStart, m_rect.right, thumbStart + thumb);
    else
        m_thumb.SetRect(thumbStart, m_rect.top, thumbStart + thumb, m_rect.bottom);

    // A vertical thumb pushed past the end comes back, and the position is
    // what the thumb then shows.
    if (vertical && m_thumb.bottom > end)
    {
        m_thumb.OffsetRect(0, end - m_thumb.bottom);
        if (span > 0)
            m_position = PositionAt(m_thumb.top - start - arrow, span, track - thumb);
    }
    return m_position;
}

int MScroll::MoveThumb(Axis axis, int delta)
{
    if (delta == 0 || m_range <= 0)
        return 0;
    const bool vertical = axis == AXIS_VERTICAL;
    const int start = Low(m_rect, vertical);
    const int end = High(m_rect, vertical);
    const int arrow = m_arrowSize;
    if (delta < 0 && Low(m_thumb, vertical) + delta < start + arrow)
        delta = start + arrow - Low(m_thumb, vertical);
    else if (delta > 0 && High(m_thumb, vertical) + delta > end - arrow)
        delta = end - arrow - High(m_thumb, vertical);
    if (delta == 0)
        return 0;

    if (vertical)
        m_thumb.OffsetRect(0, delta);
    else
        m_thumb.OffsetRect(delta, 0);
    const int track = end - start - 2 * arrow;
    const int thumb = ThumbLength(track);
    m_bChanging = 1;
    m_position = PositionAt(Low(m_thumb, vertical) - start - arrow, m_range, track - thumb);
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
    if (m_pOwner)
        m_pOwner->OnBaseMessage(m_id, NC_SCROLL, static_cast<WPARAM>(m_position), 0);
    m_bChanging = 0;
    return delta;
}

int MScroll::PressTrack(Axis axis, CPoint pt)
{
    if (!m_bScrollable)
        return 0;
    const bool vertical = axis == AXIS_VERTICAL;
    if (!m_thumb.PtInRect(pt))
    {
        if (!m_bEnabled)
            return 0;
        const int track = High(m_rect, vertical) - Low(m_rect, vertical) - 2 * m_arrowSize;
        const int page = static_cast<int>(static_cast<int64_t>(track) * m_page / m_range);
        return MoveRange(Along(pt, vertical) < Low(m_thumb, vertical) ? -page : page);
    }
    const int previous = m_state;
    if (m_bEnabled)
    {
        m_state = THUMB_DRAGGING;
        m_dragAnchor = Along(pt, vertical);
    }
    if (m_state != previous && m_bVisible)
    {
        if (m_pOwner)
            m_pOwner->OnControlUpdate(m_rect, 0, this);
        return 1;
    }
    return 0;
}

int MScroll::MoveOverBar(Axis axis, CPoint pt)
{
    if (!m_bScrollable)
        return 0;
    const bool vertical = axis == AXIS_VERTICAL;
    if (m_state == THUMB_DRAGGING)
    {
        if (m_bEnabled)
            m_dragAnchor += MoveRange(Along(pt, vertical) - m_dragAnchor);
        return 1;
    }
    const int previousState = m_state;
    const int previousHover = m_bHover;
    if (!m_bPressed && m_bEnabled)
    {
        m_bHover = m_rect.PtInRect(pt) ? 1 : 0;
        m_state = (m_bHover && m_thumb.PtInRect(pt)) ? THUMB_HOVER : THUMB_NORMAL;
    }
    if (m_state == previousState && m_bHover == previousHover && m_bUpdate)
        return 0;
    SetUpdate(0, 0);
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 0, this);
    return 1;
}

int MScroll::ReleaseThumb(CPoint pt)
{
    if (!m_bScrollable)
        return 0;
    const int previous = m_state;
    if (m_bEnabled)
    {
        m_dragAnchor = -1;
        m_state = m_thumb.PtInRect(pt) ? THUMB_HOVER : THUMB_NORMAL;
    }
    if (m_state != previous && m_bVisible)
    {
        if (m_pOwner)
            m_pOwner->OnControlUpdate(m_rect, 0, this);
        return 1;
    }
    return 0;
}

const ImgResInfo* MScroll::LoadStrip(UINT id, const CString& type, int count)
{
    if (!m_pManager || id == 0)
        return nullptr;
    const ImgResInfo* info = m_pManager->AddImgResInfo(id, type, count, 0);
    return (info && info->image) ? info : nullptr;
}

const ImgResInfo* MScroll::LoadStrip(const wchar_t* file, int count)
{
    if (!m_pManager)
        return nullptr;
    const ImgResInfo* info = m_pManager->AddImgResInfo(file, count);
    return (info && info->image) ? info : nullptr;
}

HDC MScroll::PrepareCache(HDC& dc)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0 || (m_bUpdate && m_hMemDC))
        return nullptr;
    UpdateMemDC(dc, width, height);
    if (!m_hMemDC)
        return nullptr;
    // What lies under the bar shows through wherever the bar draws nothing.
    ::BitBlt(m_hMemDC, 0, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
    return m_hMemDC;
}

void MScroll::PresentCache(HDC& dc)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (m_hMemDC && width > 0 && height > 0)
        ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, 0, SRCCOPY);
}

int MScroll::TakeStrip(const ImgResInfo* info, int count, int columns, int rows)
{
    if (!info)
        return 0;
    m_pImage = info->image;
    m_frameCount = count;
    m_frameWidth = static_cast<int>(info->image->GetWidth()) / columns;
    m_frameHeight = static_cast<int>(info->image->GetHeight()) / rows;
    return 1;
}

void MScroll::LoadDefaultStrip(UINT resourceId, const wchar_t* file)
{
    if (resourceId)
        SetImage(resourceId, kResourceStripType, kResourceStripFrames);
    else
        SetImage(file, 1);
}

void MScroll::DrawStrip(HDC& dc, CRect r, int source, Axis axis)
{
    if (!m_pImage)
        return;
    Gdiplus::Graphics graphics(dc);
    graphics.SetPageUnit(Gdiplus::UnitPixel);
    const bool vertical = axis == AXIS_VERTICAL;
    // Along the bar: two fixed ends and a stretched middle; across it the
    // slice takes the whole of r from the frame that starts at source.
    const int length = vertical ? r.Height() : r.Width();
    const int frameLength = vertical ? m_frameHeight : m_frameWidth;
    struct Slice
    {
        int at, size, from, fromSize;
    };
    const Slice slices[] = {
        {0, kStripEnd, 0, kStripEnd},
        {kStripEnd, length - 2 * kStripEnd, kStripEnd, frameLength - 2 * kStripEnd},
        {length - kStripEnd, kStripEnd, frameLength - kStripEnd, kStripEnd},
    };
    for (const Slice& slice : slices)
    {
        if (vertical)
            DrawSlice(graphics, m_pImage, r.left, r.top + slice.at, r.Width(), slice.size, source, slice.from,
                      m_frameWidth, slice.fromSize);
        else
            DrawSlice(graphics, m_pImage, r.left + slice.at, r.top, slice.size, r.Height(), slice.from, source,
                      slice.fromSize, m_frameHeight);
    }
}

// ---- CScrollVertical ---------------------------------------------------------------------

CScrollVertical::CScrollVertical(MObject* owner, UINT id, CRect rect, int visible)
    : MScroll(owner, id, rect, visible)
{
    SetRange();
}

CScrollVertical::~CScrollVertical() = default;

void CScrollVertical::InitControl(PaintManager* manager)
{
    if (manager)
        LoadDefaultStrip(manager->GetScrollVID(), kVerticalStripFile);
}

int CScrollVertical::SetImage(UINT id, CString type, int count)
{
    return TakeStrip(LoadStrip(id, type, count), count, kVerticalStripColumns, 1);
}

int CScrollVertical::SetImage(const wchar_t* file, int count)
{
    return TakeStrip(LoadStrip(file, count), count, kVerticalStripColumns, 1);
}

int CScrollVertical::MoveRange(int delta) { return MoveThumb(AXIS_VERTICAL, delta); }

int CScrollVertical::SetRange() { return LayOutThumb(AXIS_VERTICAL, POSITION_OF_RANGE); }

int CScrollVertical::SetRangeEx() { return LayOutThumb(AXIS_VERTICAL, POSITION_OF_CONTENT); }

int CScrollVertical::OnControlMouseMove(UINT, CPoint pt) { return MoveOverBar(AXIS_VERTICAL, pt); }

int CScrollVertical::OnControlLButtonDown(UINT, CPoint pt) { return PressTrack(AXIS_VERTICAL, pt); }

int CScrollVertical::OnControlLButtonUp(UINT, CPoint pt) { return ReleaseThumb(pt); }

void CScrollVertical::DrawControl(HDC& dc, CRect)
{
    if (HDC memory = PrepareCache(dc); memory && m_bScrollable)
    {
        Gdiplus::Graphics graphics(memory);
        const int left = m_thumb.left - m_rect.left;
        Gdiplus::SolidBrush column{Gdiplus::Color(kThumbColumnColor)};
        graphics.FillRectangle(&column, left, 0, m_thumb.Width(), m_rect.Height());
        Gdiplus::SolidBrush thumb{Gdiplus::Color(kThumbColor)};
        graphics.FillRectangle(&thumb, left, m_thumb.top - m_rect.top, m_thumb.Width(), m_thumb.Height());
    }
    PresentCache(dc);
}

void CScrollVertical::DrawRange(HDC& dc, CRect r, int source) { DrawStrip(dc, r, source, AXIS_VERTICAL); }

// ---- CScrollHorizontal ------------------------------------------------------------------

CScrollHorizontal::CScrollHorizontal(MObject* owner, UINT id, CRect rect, int visible)
    : MScroll(owner, id, rect, visible)
{
    SetRange();
}

CScrollHorizontal::~CScrollHorizontal() = default;

void CScrollHorizontal::InitControl(PaintManager* manager)
{
    if (manager)
        LoadDefaultStrip(manager->GetScrollHID(), kHorizontalStripFile);
}

// The library's own strip is one column wide; a skin strip has three.
int CScrollHorizontal::SetImage(UINT id, CString type, int count)
{
    return TakeStrip(LoadStrip(id, type, count), count, 1, kHorizontalStripRows);
}

int CScrollHorizontal::SetImage(const wchar_t* file, int count)
{
    return TakeStrip(LoadStrip(file, count), count, kHorizontalStripColumns, kHorizontalStripRows);
}

int CScrollHorizontal::MoveRange(int delta) { return MoveThumb(AXIS_HORIZONTAL, delta); }

int CScrollHorizontal::SetRange() { return LayOutThumb(AXIS_HORIZONTAL, POSITION_OF_RANGE); }

int CScrollHorizontal::OnControlMouseMove(UINT, CPoint pt) { return MoveOverBar(AXIS_HORIZONTAL, pt); }

int CScrollHorizontal::OnControlLButtonDown(UINT, CPoint pt) { return PressTrack(AXIS_HORIZONTAL, pt); }

int CScrollHorizontal::OnControlLButtonUp(UINT, CPoint pt) { return ReleaseThumb(pt); }

void CScrollHorizontal::DrawControl(HDC& dc, CRect)
{
    if (HDC memory = PrepareCache(dc); memory && m_bScrollable)
    {
        const int height = m_rect.Height();
        {
            Gdiplus::Graphics graphics(memory);
            Gdiplus::Pen line(Gdiplus::Color(kTrackLineColor), 1.0f);
            graphics.DrawLine(&line, 0, height / 2, m_rect.Width(), height / 2);
        }
        // States 0, 1 and 2 show rows 1, 2 and 3 of the strip.
        const int row = (m_state >= THUMB_NORMAL && m_state <= THUMB_DRAGGING) ? m_state + 1 : 1;
        CRect thumb = m_thumb;
        thumb.OffsetRect(-m_rect.left, -m_rect.top);
        DrawRange(memory, thumb, m_frameHeight * row);
    }
    PresentCache(dc);
}

void CScrollHorizontal::DrawRange(HDC& dc, CRect r, int source) { DrawStrip(dc, r, source, AXIS_HORIZONTAL); }

} // namespace VREL
