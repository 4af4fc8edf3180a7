#include "ui/lists/ComboDropDown.h"

#include <algorithm>

#include "ui/controls/ControlFontFamily.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterList(MakeControlClass<CComboBoxList, ControlForm::VisibleOne>(L"CComboBoxList"));

constexpr int kRow = MComboBoxBase::kRowHeight;
constexpr UINT kVerticalBarId = 1;
// Rows the wheel moves per notch, in bar steps.
constexpr int kWheelSteps = 2;

// A hovered or pressed row: a rounded band in the select colour.
constexpr float kBandX = 1.0f;
constexpr float kBandTop = 2.0f;
constexpr float kBandHeight = 29.0f;
constexpr float kBandRadius = 4.0f;
constexpr Gdiplus::ARGB kBandText = 0xFF141414;
constexpr Gdiplus::ARGB kRowText = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kListText = 0xFFFFFFFF;
constexpr float kTextX = 6.0f;
constexpr int kFarTextShrink = 18;

constexpr COLORREF kDropBack = 0xE6E6E6;
constexpr COLORREF kDropFrame = 0x969696;
constexpr int kListInset = 2;
constexpr int kBackCorner = 6;

} // namespace

// ==== CComboBoxList =============================================================================

CComboBoxList::CComboBoxList(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MPanel(owner, id, rect, visible, enabled),
      m_hover(-1),
      m_pressed(-1),
      m_first(0),
      m_last(0),
      m_bandTop(0)
{
    m_format.SetAlignment(Gdiplus::StringAlignmentNear);
    m_format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    m_format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    MControlFont::SetTextColor(Gdiplus::Color(kListText));
    CComboBoxList::SetControlRect(rect);
}

CComboBoxList::~CComboBoxList() = default;

void CComboBoxList::Repaint(int redraw) { UpdateControl(redraw, 0); }

void CComboBoxList::SetTextColor(Gdiplus::Color colour) { MControlFont::SetTextColor(colour); }

int CComboBoxList::AddItem(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    int count = 0;
    {
        ScopedLock lock(m_itemLock);
        auto item = std::make_unique<ComboItem>();
        item->text = text;
        item->data = data;
        item->icon = icon;
        item->colour = colour;
        m_items.push_back(std::move(item));
        count = static_cast<int>(m_items.size());
    }
    if (count > MComboBoxBase::kVisibleRows)
        UpdateScrollBar();
    return count - 1;
}

void CComboBoxList::DelAllItems()
{
    {
        ScopedLock lock(m_itemLock);
        m_items.clear();
        m_hover = -1;
        m_pressed = -1;
    }
    UpdateScrollBar();
    Repaint(1);
}

int CComboBoxList::GetItemCount() const
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

int CComboBoxList::GetListHeight() const { return GetItemCount() * kRow; }

CRect CComboBoxList::GetItemRect(int index) const
{
    ScopedLock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return CRect();
    return m_items[static_cast<size_t>(index)]->rect;
}

bool CComboBoxList::IsScrollBarShown() const { return m_pScrollVertical && m_pScrollVertical->IsVisible(); }

void CComboBoxList::UpdateScrollBar()
{
    if (!m_pScrollVertical)
        return;
    const int total = GetListHeight();
    const int shown = total > m_rect.Height() ? 1 : 0;
    if (shown != m_pScrollVertical->IsVisible())
    {
        m_pScrollVertical->SetVisible(shown);
        Repaint(1);
    }
    m_pScrollVertical->SetScrollMaxRange(total);
    m_pScrollVertical->SetRange();
}

void CComboBoxList::SetControlRect(CRect rect)
{
    m_rect = rect;
    // The bars lie along the right and the bottom edge.
    if (m_pScrollVertical)
        m_pScrollVertical->SetRect(
            CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom));
    if (m_pScrollHorizontal)
        m_pScrollHorizontal->SetRect(
            CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom));
    UpdateScrollBar();
}

int CComboBoxList::ScrollOffset() const
{
    if (!m_pScrollVertical)
        return 0;
    const int range = m_pScrollVertical->GetScrollMaxRange();
    if (range <= 0)
        return 0;
    const int overflow = GetListHeight() - m_rect.Height();
    return static_cast<int>(static_cast<long long>(overflow) * m_pScrollVertical->GetScrollCurrentPos() / range);
}

LRESULT CComboBoxList::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (id == kVerticalBarId && code == NC_SCROLL)
        Repaint(1);
    return 0;
}

int CComboBoxList::OnControlScroll(int, UINT direction, CPoint)
{
    if (!m_pScrollVertical || GetListHeight() <= m_rect.Height())
        return 0;
    const int step = m_pScrollVertical->GetScrollRowStep() * kWheelSteps;
    const int range = m_pScrollVertical->GetScrollMaxRange();
    const int before = m_pScrollVertical->GetScrollCurrentPos();
    const int after = std::min(std::max(before + (direction ? step : -step), 0), range);
    if (after != before)
    {
        m_pScrollVertical->SetScrollCurrentPos(after);
        m_pScrollVertical->SetRange();
        Repaint(1);
    }
    return 1;
}

int CComboBoxList::OnControlMouseMove(UINT, CPoint pt)
{
    int hover = -1;
    if (m_rect.PtInRect(pt))
    {
        ScopedLock lock(m_itemLock);
        if (m_hover >= 0 && m_hover < static_cast<int>(m_items.size()) &&
            m_items[static_cast<size_t>(m_hover)]->rect.PtInRect(pt))
        {
            hover = m_hover;
        }
        else
        {
            for (int i = m_first; i <= m_last && i < static_cast<int>(m_items.size()); ++i)
                if (m_items[static_cast<size_t>(i)]->rect.PtInRect(pt))
                {
                    hover = i;
                    break;
                }
        }
    }
    if (hover == m_hover)
        return 0;
    m_hover = hover;
    Repaint(1);
    return 1;
}

int CComboBoxList::OnControlLButtonDown(UINT, CPoint)
{
    if (m_pressed == m_hover)
        return 0;
    m_pressed = m_hover;
    Repaint(1);
    return 1;
}

int CComboBoxList::OnControlLButtonUp(UINT, CPoint)
{
    if (m_pressed == -1)
        return 0;
    SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_pressed), kComboChoiceTag);
    return 1;
}

void CComboBoxList::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    const bool barShown = IsScrollBarShown();
    const int content = barShown ? width - m_barThickness : width;
    const int count = GetItemCount();
    const int offset = std::max(ScrollOffset(), 0);
    m_first = std::max(offset / kRow, 0);
    m_last = std::max(std::min((offset + height) / kRow, count - 1), 0);
    const int cacheHeight = std::max(height, (m_last - m_first + 1) * kRow);
    m_bandTop = offset - m_first * kRow;

    if (!m_bUpdate)
    {
        UpdateMemDC(dc, width, cacheHeight);
        if (!m_hMemDC)
            return;
        RECT all = {0, 0, width, cacheHeight};
        ::FillRect(m_hMemDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::BitBlt(m_hMemDC, 0, m_bandTop, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);

        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.SetTextRenderingHint(m_textHint);
        ControlFontFamily family(*this, m_fontName);
        Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle, Gdiplus::UnitPixel);
        Gdiplus::StringFormat format(&m_format);
        format.SetAlignment(m_hAlign == 1   ? Gdiplus::StringAlignmentCenter
                            : m_hAlign == 2 ? Gdiplus::StringAlignmentFar
                                            : Gdiplus::StringAlignmentNear);
        const float textWidth = static_cast<float>(content - (m_hAlign == 2 ? kFarTextShrink : 0)) - kTextX;
        Gdiplus::SolidBrush bandText{Gdiplus::Color(kBandText)};
        Gdiplus::SolidBrush rowText{Gdiplus::Color(kRowText)};

        ScopedLock lock(m_itemLock);
        for (int i = m_first; i <= m_last && i < static_cast<int>(m_items.size()); ++i)
        {
            const int row = i - m_first;
            ComboItem& item = *m_items[static_cast<size_t>(i)];
            const int top = m_rect.top + row * kRow - m_bandTop;
            item.rect = CRect(m_rect.left, top, m_rect.right - (barShown ? m_barThickness : 0), top + kRow);
            const bool marked = i == m_pressed || i == m_hover;
            const float y = static_cast<float>(row * kRow);
            if (marked)
                MRender::DrawRoundRectange(graphics, kBandX, y + kBandTop, static_cast<float>(content - 2),
                                           kBandHeight, kBandRadius, Manager::GetSelectColor());
            const Gdiplus::RectF box(kTextX, y, textWidth, static_cast<float>(kRow));
            graphics.DrawString(item.text, item.text.GetLength(), &font, box, &format,
                                marked ? &bandText : &rowText);
        }
    }
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, 0, m_bandTop, SRCCOPY);
}

// ==== CComboBoxWnd ===============================================================================

CComboBoxWnd::CComboBoxWnd() : m_pList(nullptr) { m_pm.SetBackColor(kDropBack, kDropFrame); }

CComboBoxWnd::~CComboBoxWnd() = default;

void CComboBoxWnd::InitUI(CRect client)
{
    m_pm.SetLayeredWindow(1);
    CRect inner = client;
    inner.DeflateRect(kListInset, kListInset);
    m_pList = static_cast<CComboBoxList*>(CreateControl(L"CComboBoxList", kComboListId, inner, L"", 1, 1));
}

void CComboBoxWnd::UISize(CRect) {}

LRESULT CComboBoxWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (id != kComboListId || code != NC_CLICKED)
        return 0;
    SendMessageToParent(NC_CLICKED, wParam, lParam);
    CloseWindow();
    return 0;
}

LRESULT CComboBoxWnd::OnDestroy()
{
    SendMessageToParent(NC_POPUP_CLOSED, 0, 0);
    return 0;
}

int CComboBoxWnd::LoadBKImage(CString file)
{
    m_pm.SetBackMode(BACK_MODE_NINE_GRID, kBackCorner);
    return m_pm.LoadBKImage(file);
}

int CComboBoxWnd::LoadBKImage(UINT id, CString type)
{
    m_pm.SetBackMode(BACK_MODE_NINE_GRID, kBackCorner);
    return m_pm.LoadBKImage(id, type);
}

void CComboBoxWnd::SetListFont(const wchar_t* name, int size, Gdiplus::FontStyle style)
{
    if (!m_pList)
        return;
    m_pList->SetFont(name, size, style);
    m_pList->UpdateControl(1, 0);
}

void CComboBoxWnd::SetListAlignment(UINT align)
{
    if (!m_pList)
        return;
    UINT h = 0, v = 0;
    m_pList->GetAlignment(h, v);
    if (h == align)
        return;
    m_pList->SetAlignment(align);
    m_pList->UpdateControl(1, 0);
}

} // namespace VREL
