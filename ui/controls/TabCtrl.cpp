#include "ui/controls/TabCtrl.h"

#include <algorithm>
#include <cwchar>

#include "ui/controls/ControlFontFamily.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr UINT kAlignCentre = 1;
constexpr UINT kAlignVCentre = 4;
constexpr int kStripFrames = 3;
constexpr int kDefaultIconFrames = 3;
constexpr int kSlideSteps = 10;
constexpr UINT kSlidePeriodMs = 30;
// The select bar under the selected tab: 2 pixels high, its top 3 pixels
// above the strip's bottom.
constexpr int kSelectBarRise = 3;
constexpr int kSelectBarHeight = 2;
// Vertical tabs stand one pixel apart after a re-layout.
constexpr int kVerticalGap = 1;
// The tab button sits 3 pixels in from the tab's right edge, 6 below its
// top; anchored buttons 3 below the anchor.
constexpr int kButtonRightInset = 3;
constexpr int kButtonTop = 6;
constexpr int kAnchoredButtonTop = 3;
constexpr int kAnchoredButtonMode = 2;
// Columns of the vertical kind's cache: normal, hover, selected.
constexpr int kVerticalColumns = 3;
constexpr int kHoverColumn = 1;
constexpr int kSelectedColumn = 2;

RECT EmptyRect() { return RECT{0, 0, 0, 0}; }

// A bitmap the size of the window's top-left part, for composing one frame
// of a slide.
class ScratchBitmap
{
public:
    ScratchBitmap(HDC target, int width, int height)
        : m_dc(::CreateCompatibleDC(target)),
          m_bitmap(::CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1))),
          m_old(m_dc && m_bitmap ? ::SelectObject(m_dc, m_bitmap) : nullptr)
    {
    }
    ~ScratchBitmap()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    ScratchBitmap(const ScratchBitmap&) = delete;
    ScratchBitmap& operator=(const ScratchBitmap&) = delete;

    bool IsValid() const { return m_old != nullptr; }
    HDC& Dc() { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

void BlitIfAny(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy)
{
    if (w > 0 && h > 0)
        MRender::BitBlt(dst, x, y, w, h, src, sx, sy);
}

} // namespace

// ------------------------------------------------------------------- MTabCtrl

MTabCtrl::MTabCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_pSeparatorImage(nullptr),
      m_separatorWidth(0),
      m_separatorHeight(0),
      m_pTabButtonImage(nullptr),
      m_tabButtonWidth(0),
      m_tabButtonHeight(0),
      m_tabButtonMode(0),
      m_tabButtonX{0, 0, 0.0f},
      m_tabButtonY{0, 0, 0.0f},
      m_type(TAB_TYPE_HORIZONTAL),
      m_defaultItemWidth(0),
      m_itemWidth(0),
      m_requestedWidth(0),
      m_minimumWidth(0),
      m_itemPitch(0),
      m_requestedHeight(0),
      m_minimumHeight(0),
      m_stripHeight(0),
      m_stripWidth(0),
      m_leftPadding(0),
      m_rightPadding(0),
      m_topPadding(0),
      m_bottomPadding(0),
      m_selected(-1),
      m_hover(-1),
      m_previous(-1),
      m_bSlideEnabled(0),
      m_slideSteps(kSlideSteps),
      m_hOffset(0),
      m_vOffset(0),
      m_bTipEnabled(1),
      m_lastTip(-1),
      m_bMousePressed(0)
{
    m_hAlign = kAlignCentre;
    m_vAlign = kAlignVCentre;
    m_frameCount = kStripFrames;
}

MTabCtrl::~MTabCtrl()
{
    // A withdrawn strip has no timers left, and its manager may be gone.
    if (m_pManager && !IsWithdrawn())
        m_pManager->KillTimer(this, kSlideTimerKey);
    delete m_pSeparatorImage;
    delete m_pTabButtonImage;
    for (TabItemInfo& item : m_items)
        delete item.pIcon;
    m_items.clear();
}

// ---- tabs -------------------------------------------------------------------------

int MTabCtrl::InsertItem(UINT id, CString text, CString iconFile, MControl* page, int frameCount, int width)
{
    TabItemInfo item = {};
    item.bVisible = 1;
    item.nID = id;
    item.strText = text;
    // -1 asks for the default; a strip has at least one frame, and 0 or
    // another negative count gets the default as well.
    item.nFrameCount = frameCount >= 1 ? frameCount : kDefaultIconFrames;
    item.bTip = 0;
    item.pPage = page;
    item.rcItem = EmptyRect();
    item.rcTabButton = EmptyRect();

    if (!iconFile.IsEmpty())
        item.pIcon = MRender::LoadImageFromFile(GetSkinFolder() + iconFile);
    if (item.pIcon)
    {
        item.nFrameWidth = static_cast<int>(item.pIcon->GetWidth() / static_cast<UINT>(item.nFrameCount));
        item.nIconHeight = static_cast<int>(item.pIcon->GetHeight());
    }

    int tabWidth = width;
    if (tabWidth == 0)
        tabWidth = item.nFrameWidth;
    if (tabWidth == 0)
        tabWidth = m_defaultItemWidth;
    item.rcItem = RECT{m_rect.left, m_rect.top, m_rect.left + tabWidth, m_rect.bottom};
    return InsertItem(-1, item);
}

int MTabCtrl::InsertItem(int position, const TabItemInfo& item)
{
    if (!m_items.empty())
        m_separators.push_back(EmptyRect());
    if (position < 0 || position >= static_cast<int>(m_items.size()))
        m_items.push_back(item);
    else
        m_items.insert(m_items.begin() + position, item);
    LayoutItems(true);
    if (m_type == TAB_TYPE_VERTICAL)
        SetItemHeight(m_requestedHeight, m_minimumHeight, 1);
    else
        SetItemWidth(m_requestedWidth, m_minimumWidth, 1);
    RequestRepaint(1);
    return 1;
}

void MTabCtrl::LayoutItems(bool forInsert)
{
    int x = m_rect.left + m_leftPadding;
    int y = m_rect.top + m_topPadding;
    const int count = static_cast<int>(m_items.size());
    for (int i = 0; i < count; ++i)
    {
        TabItemInfo& item = m_items[static_cast<size_t>(i)];
        const bool hasSeparator = i < static_cast<int>(m_separators.size());
        if (!item.bVisible)
        {
            item.rcItem = EmptyRect();
            if (hasSeparator)
                m_separators[static_cast<size_t>(i)] = EmptyRect();
            continue;
        }
        const bool last = (i == count - 1);
        if (m_type == TAB_TYPE_HORIZONTAL)
        {
            if (m_itemWidth == 0)
                m_itemWidth = item.rcItem.right - item.rcItem.left;
            if (m_stripHeight == 0)
                m_stripHeight = item.nIconHeight;
            // The insertion places the button from the tab's own running
            // offset, the re-layout from the tab's index.
            const int runningOffset = x - m_rect.left;
            item.rcItem = RECT{x, y, x + m_itemWidth, y + m_stripHeight};
            x += m_itemWidth;
            if (!last && m_pSeparatorImage && hasSeparator)
            {
                m_separators[static_cast<size_t>(i)] = RECT{x, y, x + m_separatorWidth, y + m_separatorHeight};
                x += m_separatorWidth;
            }
            if (m_pTabButtonImage)
            {
                const int base = forInsert ? runningOffset : i * m_itemWidth + m_leftPadding;
                int left;
                int top;
                if (m_tabButtonMode < kAnchoredButtonMode)
                {
                    left = base + (m_itemWidth - m_tabButtonWidth - kButtonRightInset);
                    top = forInsert ? m_topPadding + kButtonTop : kButtonTop;
                }
                else
                {
                    left = base + PositionItem2Value(m_tabButtonX, 0, m_itemWidth);
                    top = (forInsert ? m_topPadding : 0) + PositionItem2Value(m_tabButtonY, 0, m_stripHeight) +
                          kAnchoredButtonTop;
                }
                item.rcTabButton = RECT{left, top, left + m_tabButtonWidth, top + m_tabButtonHeight};
            }
        }
        else
        {
            if (m_itemPitch == 0)
                m_itemPitch = item.nIconHeight;
            if (m_stripWidth == 0)
                m_stripWidth = item.rcItem.right - item.rcItem.left;
            item.rcItem = RECT{x, y, x + m_stripWidth, y + m_stripHeight};
            y += m_stripHeight + (forInsert ? 0 : kVerticalGap);
            if (!last && m_pSeparatorImage && hasSeparator)
            {
                m_separators[static_cast<size_t>(i)] = RECT{x, y, x + m_separatorWidth, y + m_separatorHeight};
                y += m_separatorHeight;
            }
            if (m_pTabButtonImage)
            {
                const int base = m_itemPitch * i + m_topPadding;
                int left;
                int top;
                if (m_tabButtonMode < kAnchoredButtonMode)
                {
                    left = m_leftPadding + m_stripWidth - m_tabButtonWidth - kButtonRightInset;
                    top = base + kButtonTop;
                }
                else
                {
                    left = m_leftPadding + PositionItem2Value(m_tabButtonX, 0, m_stripWidth);
                    top = base + kAnchoredButtonTop + PositionItem2Value(m_tabButtonY, 0, m_itemPitch);
                }
                item.rcTabButton = RECT{left, top, left + m_tabButtonWidth, top + m_tabButtonHeight};
            }
        }
        if (forInsert)
            item.nTabButtonState = 0;
    }
}

void MTabCtrl::RefreshItems()
{
    LayoutItems(false);
    const int count = static_cast<int>(m_items.size());
    if (m_selected >= count)
    {
        m_selected = -1;
        for (int i = count - 1; i >= 0; --i)
        {
            if (m_items[static_cast<size_t>(i)].bVisible)
            {
                m_selected = i;
                break;
            }
        }
    }
    if (m_hover >= count)
        m_hover = -1;
    ApplyPageVisibility(true);
    RequestRepaint(1);
}

void MTabCtrl::SetItemWidth(int width, int minimum, int refresh)
{
    m_requestedWidth = width;
    m_minimumWidth = minimum;
    if (m_items.empty())
        return;
    int result = width;
    if (minimum > 0)
    {
        const int share = (m_rect.Width() - m_rightPadding - m_leftPadding) / static_cast<int>(m_items.size());
        result = (share < minimum) ? minimum : std::min(share, width);
    }
    if (result == m_itemWidth)
        return;
    m_itemWidth = result;
    if (refresh)
        RefreshItems();
}

void MTabCtrl::SetItemHeight(int height, int minimum, int refresh)
{
    m_requestedHeight = height;
    m_minimumHeight = minimum;
    if (m_items.empty())
        return;
    int result = height;
    if (minimum > 0)
    {
        const int share = (m_rect.Height() - m_bottomPadding - m_topPadding) / static_cast<int>(m_items.size());
        result = (share < minimum) ? minimum : std::min(share, height);
    }
    if (result == m_itemPitch)
        return;
    m_itemPitch = result;
    if (refresh)
        RefreshItems();
}

void MTabCtrl::SetLeftRightPading(int left, int right)
{
    m_leftPadding = left;
    m_rightPadding = right;
}

void MTabCtrl::SetTopBottomPading(int top, int bottom)
{
    m_topPadding = top;
    m_bottomPadding = bottom;
}

TabItemInfo* MTabCtrl::GetItemInfo(int index)
{
    return IsValidIndex(index) ? &m_items[static_cast<size_t>(index)] : nullptr;
}

UINT MTabCtrl::GetItemID(int index) const
{
    return IsValidIndex(index) ? m_items[static_cast<size_t>(index)].nID : 0;
}

int MTabCtrl::SetItemText(int index, CString text)
{
    if (!IsValidIndex(index))
        return 0;
    m_items[static_cast<size_t>(index)].strText = text;
    return 1;
}

void MTabCtrl::SetItemVisible(int index, int visible)
{
    if (!IsValidIndex(index))
        return;
    m_items[static_cast<size_t>(index)].bVisible = visible;
    RefreshItems();
}

int MTabCtrl::GetItemVisible(int index) const
{
    return IsValidIndex(index) ? m_items[static_cast<size_t>(index)].bVisible : 0;
}

void MTabCtrl::DeleteItem(int index)
{
    if (!IsValidIndex(index))
        return;
    TabItemInfo& item = m_items[static_cast<size_t>(index)];
    if (item.pPage && IsSubControl(item.pPage))
        RemoveControl(item.pPage);
    delete item.pIcon;
    m_items.erase(m_items.begin() + index);
    // A slide that involved the deleted tab has nothing left to show.
    if (m_bRunning && (index == m_previous || index == m_selected))
        StopSlide();
    if (m_type == TAB_TYPE_VERTICAL)
        SetItemHeight(m_requestedHeight, m_minimumHeight, 0);
    else
        SetItemWidth(m_requestedWidth, m_minimumWidth, 0);
    RefreshItems();
}

bool MTabCtrl::IsSubControl(const MControl* control)
{
    ScopedLock lock(m_controlLock);
    return std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end();
}

MControl* MTabCtrl::CreatePanel(const wchar_t* className, UINT id, CRect rect)
{
    if (!className || !*className || std::wcscmp(className, L"MTabLayout") != 0)
        return nullptr;
    MTabLayout* page = new MTabLayout(this, id, rect, 1);
    if (m_pManager)
        page->SetManager(m_pManager);
    AddSubControl(CONTROL_KIND_CONTROL, page);
    return page;
}

// ---- selection and pages --------------------------------------------------------------

int MTabCtrl::SetSelectItem(int index)
{
    if (index == m_selected || !IsValidIndex(index))
        return m_selected;
    const int previous = m_selected;
    m_previous = previous;
    m_selected = index;
    m_hover = -1;
    // The owner hears of the new tab before any page changes visibility.
    SendMessageW(NC_CLICKED, static_cast<WPARAM>(index), 0);
    ApplyPageVisibility(true);

    // A slide needs an old page to move out, a new page to move in and the
    // window timer that moves them; without any of these the new page is
    // simply shown. The timer cannot be started from a thread that does not
    // own the window.
    const bool slideAlreadyRunning = m_bRunning != 0;
    m_bRunning = 0;
    if (m_bSlideEnabled && IsValidIndex(previous) && m_items[static_cast<size_t>(previous)].pPage &&
        m_items[static_cast<size_t>(index)].pPage)
    {
        const bool ticking = slideAlreadyRunning || (m_pManager && m_pManager->SetTimer(this, kSlideTimerKey, kSlidePeriodMs));
        if (ticking)
        {
            m_hOffset = 0;
            m_vOffset = 0;
            m_bRunning = 1;
        }
    }
    else if (slideAlreadyRunning && m_pManager)
    {
        m_pManager->KillTimer(this, kSlideTimerKey);
    }
    // The vertical kind's cache holds every tab in every look and only the
    // copy changes; the horizontal kind draws the selection into its cache,
    // which must be rendered again to move the select bar.
    RequestRepaint(m_type == TAB_TYPE_VERTICAL ? 0 : 1);
    return previous;
}

void MTabCtrl::ApplyPageVisibility(bool showSelected)
{
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        MControl* page = m_items[i].pPage;
        if (!page)
            continue;
        const int wanted = (showSelected && static_cast<int>(i) == m_selected) ? 1 : 0;
        SetPageVisible(page, wanted);
    }
    // A page shared by two tabs must end up shown when its tab is selected.
    if (showSelected && IsValidIndex(m_selected))
    {
        if (MControl* page = m_items[static_cast<size_t>(m_selected)].pPage)
            SetPageVisible(page, 1);
    }
}

void MTabCtrl::SetPageVisible(MControl* page, int visible)
{
    if ((page->IsVisible() != 0) == (visible != 0))
        return;
    page->SetControlVisible(visible);
    if (MObject* owner = page->GetParantObject())
        owner->OnControlUpdate(page->GetRect(), 1, page);
}

void MTabCtrl::SetTabCtrlVisible(int visible) { ApplyPageVisibility(visible != 0); }

void MTabCtrl::SetControlVisible(int visible)
{
    m_bVisible = visible;
    ApplyPageVisibility(visible != 0);
}

void MTabCtrl::SetControlWndVisible(int)
{
    ScopedLock lock(m_controlLock);
}

void MTabCtrl::SetControlRect(CRect rect)
{
    m_rect = rect;
    if (m_type == TAB_TYPE_VERTICAL)
        SetItemHeight(m_requestedHeight, m_minimumHeight, 0);
    else
        SetItemWidth(m_requestedWidth, m_minimumWidth, 0);
    if (m_bVisible)
        RefreshItems();
}

// ---- notifications and repaints ---------------------------------------------------------

LRESULT MTabCtrl::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MTabCtrl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MTabCtrl::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    if (!sender)
        return 0;
    if (redraw)
        sender->SetUpdate(0, 0);
    // The strip's own cached picture stays valid; the owner repaints the
    // area and whatever lies over it.
    return m_pOwner ? m_pOwner->OnControlUpdate(rect, 0, this) : 0;
}

void MTabCtrl::RequestRepaint(int redraw)
{
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, redraw, this);
}

// ---- slide --------------------------------------------------------------------------------

// A finished slide needs no more ticks: a window timer left running would
// wake the window every 30 ms for the rest of the strip's life.
void MTabCtrl::StopSlide()
{
    m_bRunning = 0;
    if (m_pManager)
        m_pManager->KillTimer(this, kSlideTimerKey);
}

int MTabCtrl::OnControlTimer()
{
    if (!m_bRunning || m_previous < 0)
        return 0;
    const bool forward = m_selected > m_previous;
    // At least a pixel per tick, or a strip narrower than its step count
    // would never finish sliding.
    if (m_type == TAB_TYPE_VERTICAL)
    {
        const int size = m_rect.Height();
        const int step = std::max(size / m_slideSteps, 1);
        m_vOffset += forward ? step : -step;
        if (forward ? m_vOffset >= size : size + m_vOffset <= 0)
            StopSlide();
    }
    else
    {
        const int size = m_rect.Width();
        const int step = std::max(size / m_slideSteps, 1);
        m_hOffset += forward ? step : -step;
        if (forward ? m_hOffset >= size : size + m_hOffset <= 0)
            StopSlide();
    }
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_updateRect, 0, this);
    return 1;
}

int MTabCtrl::DrawSubControls(HDC& dc, CRect paint)
{
    if (!m_bRunning)
        return MControlFont::DrawSubControls(dc, paint);
    if (!IsValidIndex(m_previous) || !IsValidIndex(m_selected))
        return 0;
    MControl* oldPage = m_items[static_cast<size_t>(m_previous)].pPage;
    MControl* newPage = m_items[static_cast<size_t>(m_selected)].pPage;
    if (!oldPage || !newPage)
        return 0;

    const int L = m_rect.left;
    const int T = m_rect.top;
    const int R = m_rect.right;
    const int B = m_rect.bottom;
    const int W = m_rect.Width();
    const int H = m_rect.Height();
    const int d = m_hOffset;
    const int e = m_vOffset;
    const bool horizontal = (m_type != TAB_TYPE_VERTICAL);

    ScratchBitmap oldFrame(dc, R, B);
    ScratchBitmap newFrame(dc, R, B);
    if (!oldFrame.IsValid() || !newFrame.IsValid())
        return 0;
    BlitIfAny(oldFrame.Dc(), L, T, W, H, dc, L, T);
    BlitIfAny(newFrame.Dc(), L, T, W, H, dc, L, T);

    oldPage->SetControlVisible(1);
    newPage->SetControlVisible(0);
    oldPage->Draw(oldFrame.Dc(), paint);
    const CRect oldRect = oldPage->GetRect();
    const int pt = oldRect.top;
    const int pl = oldRect.left;
    if (horizontal)
    {
        if (d > 0)
            BlitIfAny(dc, L, pt, W - d, B - pt, oldFrame.Dc(), L + d, pt);
        else
            BlitIfAny(dc, L - d, pt, W + d, B - pt, oldFrame.Dc(), L, pt);
    }
    else
    {
        if (e > 0)
            BlitIfAny(dc, pl, T, R - pl, H - e, oldFrame.Dc(), pl, T + e);
        else
            BlitIfAny(dc, pl, T - e, R - pl, H + e, oldFrame.Dc(), pl, T);
    }

    oldPage->SetControlVisible(0);
    newPage->SetControlVisible(1);
    newPage->Draw(newFrame.Dc(), paint);
    const CRect newRect = newPage->GetRect();
    const int qt = newRect.top;
    const int ql = newRect.left;
    if (horizontal)
    {
        if (d > 0)
            BlitIfAny(dc, L + W - d, qt, d, B - qt, newFrame.Dc(), L, qt);
        else
            BlitIfAny(dc, L, qt, -d, B - qt, newFrame.Dc(), L + W + d, qt);
    }
    else
    {
        if (e > 0)
            BlitIfAny(dc, ql, T + H - e, R - ql, e, newFrame.Dc(), ql, T);
        else
            BlitIfAny(dc, ql, T, R - ql, -e, newFrame.Dc(), ql, T + H + e);
    }
    return 1;
}

// ---- drawing ------------------------------------------------------------------------------

void MTabCtrl::DrawControl(HDC& dc, CRect paint)
{
    if (m_type == TAB_TYPE_VERTICAL)
        DrawControlVertical(dc, paint);
    else
        DrawControlHorizontal(dc, paint);
}

void MTabCtrl::DrawControlHorizontal(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        const int h = cell.height;
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetTextRenderingHint(m_textHint);
        ControlFontFamily family(*this, m_fontName);
        Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(m_fontSize), Gdiplus::FontStyleBold,
                           Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetFormatFlags(kSingleLineFlags);
        Gdiplus::SolidBrush brush(m_textColor);
        // Tabs are drawn from the control's left edge; a hidden tab leaves
        // no gap.
        int x = 0;
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            const TabItemInfo& item = m_items[i];
            if (!item.bVisible)
                continue;
            const int tabWidth = item.rcItem.right - item.rcItem.left;
            if (static_cast<int>(i) == m_selected)
            {
                brush.SetColor(Manager::m_select_color);
                graphics.FillRectangle(&brush, x, h - kSelectBarRise, tabWidth, kSelectBarHeight);
            }
            else
            {
                brush.SetColor(m_textColor);
            }
            if (!item.strText.IsEmpty())
            {
                const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(x), 0.0f, static_cast<Gdiplus::REAL>(tabWidth),
                                         static_cast<Gdiplus::REAL>(h));
                graphics.DrawString(item.strText, item.strText.GetLength(), &font, box, &format, &brush);
            }
            x += tabWidth;
        }
    });
}

void MTabCtrl::DrawControlVertical(HDC& dc, CRect)
{
    const int sw = m_stripWidth;
    const int h = m_rect.Height();
    if (sw <= 0 || h <= 0)
        return;
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, kVerticalColumns * sw, h);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetPageUnit(Gdiplus::UnitPixel);
        for (int k = 0; k < kVerticalColumns; ++k)
        {
            const int column = k * sw;
            MRender::BitBlt(m_hMemDC, column, 0, sw, h, dc, m_rect.left, m_rect.top);
            for (const TabItemInfo& item : m_items)
            {
                if (!item.bVisible || !item.pIcon)
                    continue;
                const Gdiplus::Rect box(column + m_leftPadding, item.rcItem.top - m_rect.top,
                                        item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top);
                graphics.DrawImage(item.pIcon, box, item.nFrameWidth * k, 0, item.nFrameWidth, item.nIconHeight,
                                   Gdiplus::UnitPixel);
            }
        }
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, sw, h, m_hMemDC, 0, 0);
    // A selected tab under the pointer shows as selected.
    const int columns[] = {kHoverColumn, kSelectedColumn};
    const int indexes[] = {m_hover, m_selected};
    for (int n = 0; n < 2; ++n)
    {
        if (!IsValidIndex(indexes[n]))
            continue;
        const RECT& rc = m_items[static_cast<size_t>(indexes[n])].rcItem;
        BlitIfAny(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hMemDC,
                  columns[n] * sw + rc.left - m_rect.left, rc.top - m_rect.top);
    }
}

// ---- input --------------------------------------------------------------------------------

CRect MTabCtrl::TabArea() const
{
    CRect area = m_rect;
    if (m_type == TAB_TYPE_VERTICAL)
        area.right = std::min<LONG>(area.right, area.left + m_stripWidth);
    else
        area.bottom = std::min<LONG>(area.bottom, area.top + m_stripHeight);
    return area;
}

int MTabCtrl::OnCheckMouseResponse(UINT, CPoint pt)
{
    // Outside the tabs the page area takes the pointer.
    if (!TabArea().PtInRect(pt))
        return 1;
    for (const TabItemInfo& item : m_items)
    {
        if (item.bVisible && CRect(item.rcItem).PtInRect(pt))
            return 1;
    }
    return 0;
}

bool MTabCtrl::PtInTabButton(CPoint pt, const TabItemInfo& item) const
{
    CRect button(item.rcTabButton);
    button.OffsetRect(m_rect.left, m_rect.top);
    return button.PtInRect(pt);
}

int MTabCtrl::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int oldHover = m_hover;
    bool buttonChanged = false;
    const bool inside = m_rect.PtInRect(pt);
    if (inside)
    {
        if (IsValidIndex(m_hover))
        {
            const TabItemInfo& item = m_items[static_cast<size_t>(m_hover)];
            if (CRect(item.rcItem).PtInRect(pt))
            {
                MControl::SetTooltip(item.strText, CRect(item.rcItem));
                if (m_bTipEnabled && item.bTip)
                    SetTabTooltip(m_hover, item.strText);
                return 0;
            }
            m_hover = -1;
        }
        ClearTooltip();
        if (m_hover < 0)
        {
            for (size_t i = 0; i < m_items.size(); ++i)
            {
                if (CRect(m_items[i].rcItem).PtInRect(pt))
                {
                    m_hover = static_cast<int>(i);
                    break;
                }
            }
        }
        if (m_pTabButtonImage)
        {
            for (TabItemInfo& item : m_items)
            {
                const int state = PtInTabButton(pt, item) ? 1 : 0;
                if (state != item.nTabButtonState)
                {
                    item.nTabButtonState = state;
                    buttonChanged = true;
                }
            }
        }
    }
    else
    {
        m_hover = -1;
        m_lastTip = -1;
        ClearTooltip();
    }
    if (m_hover == oldHover && !buttonChanged)
        return 0;
    RequestRepaint(1);
    return 1;
}

void MTabCtrl::SetTabTooltip(int index, CString caption)
{
    // A tab that does not exist has no tooltip.
    if (!IsValidIndex(index))
        return;
    const TabItemInfo& item = m_items[static_cast<size_t>(index)];
    if (index != m_lastTip && item.bTip)
        MControl::SetTooltip(caption, CRect(item.rcItem));
    m_lastTip = index;
}

void MTabCtrl::ClearTabTooltip() {}

void MTabCtrl::SetAirBladderInfo(CRect, CString) {}

int MTabCtrl::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    m_bMousePressed = 1;
    if (m_rect.PtInRect(pt) && m_pTabButtonImage)
    {
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            if (PtInTabButton(pt, m_items[i]))
            {
                m_items[i].nTabButtonState = 2;
                RequestRepaint(1);
                SendMessageW(NC_ICON_OR_TAB, static_cast<WPARAM>(i), 0);
                return 1;
            }
        }
    }
    if (IsValidIndex(m_hover) && CRect(m_items[static_cast<size_t>(m_hover)].rcItem).PtInRect(pt))
    {
        SetSelectItem(m_hover);
        RequestRepaint(1);
    }
    return 0;
}

int MTabCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (m_bEnabled && pt.x > 0 && pt.y > 0)
    {
        m_bMousePressed = 0;
        RequestRepaint(1);
    }
    return 0;
}

int MTabCtrl::OnControlScroll(int amount, UINT direction, CPoint pt)
{
    if (!IsValidIndex(m_selected))
        return 0;
    const TabItemInfo& item = m_items[static_cast<size_t>(m_selected)];
    if (!item.pPage || !CRect(item.rcItem).PtInRect(pt))
        return 0;
    return item.pPage->OnScroll(amount, direction, pt);
}

int MTabCtrl::OnControlKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    if (!IsValidIndex(m_selected))
        return 0;
    MControl* page = m_items[static_cast<size_t>(m_selected)].pPage;
    return page ? page->OnKeyDown(key, repeat, modifiers) : 0;
}

int MTabCtrl::OnControlKeyUp(UINT, UINT, UINT) { return 0; }

// ----------------------------------------------------------------- MTabLayout

MTabLayout::MTabLayout(MObject* owner, UINT id, CRect rect, int visible) : MPanel(owner, id, rect, visible)
{
    m_frameCount = 1;
    m_bRunTimer = 1;
}

MTabLayout::~MTabLayout() = default;

void MTabLayout::DrawControl(HDC&, CRect) {}

int MTabLayout::DrawSubControls(HDC& dc, CRect paint) { return MPanel::DrawSubControls(dc, paint); }

int MTabLayout::OnCheckMouseResponse(UINT, CPoint pt)
{
    ScopedLock lock(m_controlLock);
    for (MControl* child : m_controls)
    {
        if (child->PtInRect(pt))
            return 1;
    }
    return 0;
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterMTabCtrl(MakeControlClass<MTabCtrl, ControlForm::VisibleEnabled>(L"MTabCtrl"));
const ControlRegistrar kRegisterMTabLayout(MakeControlClass<MTabLayout, ControlForm::Visible>(L"MTabLayout"));

} // namespace

} // namespace VREL
