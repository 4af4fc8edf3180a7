#include "ui/controls/Slider.h"

#include <algorithm>
#include <cstdint>

#include "ui/controls/ControlFontFamily.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

namespace VREL {

namespace {

constexpr UINT kAlignCentre = 1;
constexpr UINT kAlignVCentre = 4;
constexpr UINT kWheelTowardsUser = 1;

// MSlider: a 3-pixel track 7 pixels below the top, inset 3 on each side; the
// filled part reaches 10 pixels past the thumb's left edge so that it ends
// under the thumb's centre.
constexpr int kTrackInset = 3;
constexpr int kTrackTop = 7;
constexpr int kTrackHeight = 3;
constexpr int kFillPastThumb = 10;
constexpr int kTextBoxHeight = 20;
constexpr int kPercentMaximum = 100;

// MSlider2: the track of its bar.
constexpr Gdiplus::ARGB kBarTrackColor = 0xFF141414;

} // namespace

// ---------------------------------------------------------------- MSliderBase

MSliderBase::MSliderBase(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_state(0),
      m_progress(0),
      m_minimum(0),
      m_maximum(10),
      m_thumbWidth(kThumbWidth),
      m_thumbHeight(kThumbHeight),
      m_scale(1),
      m_showText(1),
      m_selectColor(Manager::m_select_color)
{
    m_hAlign = kAlignCentre;
    m_vAlign = kAlignVCentre;
}

MSliderBase::~MSliderBase() = default;

void MSliderBase::RequestRepaint(int redraw)
{
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, redraw, this);
}

int MSliderBase::ThumbOffset() const
{
    const int track = TrackLength();
    const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
    // An empty range or a control no wider than its thumb has nowhere to
    // move the thumb to: it stays at the left edge.
    if (span <= 0 || track <= 0)
        return 0;
    const int64_t x = static_cast<int64_t>(track) * (static_cast<int64_t>(m_progress) - m_minimum) / span;
    if (x <= 0)
        return 0;
    if (x >= track)
        return track;
    return static_cast<int>(x);
}

void MSliderBase::SetControlRect(CRect rect)
{
    m_rect = rect;
    const int x = ThumbOffset();
    m_thumb = CRect(x, 0, x + m_thumbWidth, m_thumbHeight);
    m_thumb.OffsetRect(rect.left, rect.top);
}

int MSliderBase::SetProgress(int value)
{
    if (value > m_maximum)
        value = m_maximum;
    if (value < 0 || value == m_progress)
        return m_progress;
    m_progress = value;
    SetControlRect(m_rect);
    RequestRepaint(1);
    return m_progress;
}

void MSliderBase::SetSelectColor(Gdiplus::Color colour)
{
    m_selectColor = colour;
    RequestRepaint(1);
}

int MSliderBase::MoveThumbPos(CPoint pt)
{
    const int track = TrackLength();
    int64_t value = m_minimum;
    if (track > 0)
    {
        const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
        value = m_minimum + (static_cast<int64_t>(pt.x) - m_rect.left) * (span + 1) / track;
    }
    if (value < m_minimum)
        value = m_minimum;
    if (value > m_maximum)
        value = m_maximum;
    const int v = static_cast<int>(value);
    if (v == m_progress)
        return v;
    m_progress = v;
    SetControlRect(m_rect);
    RequestRepaint(1);
    SendMessageW(NC_SCROLL, static_cast<WPARAM>(m_progress), 0);
    return v;
}

int MSliderBase::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_state;
    if (m_thumb.PtInRect(pt))
    {
        m_state = 2;
        MoveThumbPos(pt);
    }
    else
    {
        // The value jumps to the click; the drag starts only when the thumb
        // landed under the pointer.
        MoveThumbPos(pt);
        if (m_thumb.PtInRect(pt))
            m_state = 2;
    }
    if (m_state == old)
        return 0;
    RequestRepaint(0);
    return 1;
}

int MSliderBase::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_state == 2)
    {
        MoveThumbPos(pt);
        return 1;
    }
    const int old = m_state;
    if (!m_bPressed)
        m_state = (m_thumb.PtInRect(pt) && m_rect.PtInRect(pt)) ? 1 : 0;
    if (m_state == old && m_bUpdate)
        return 0;
    SetUpdate(0, 0);
    RequestRepaint(0);
    return 1;
}

int MSliderBase::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int old = m_state;
    m_state = m_thumb.PtInRect(pt) ? 1 : 0;
    SendMessageW(NC_CLICKED, 0, 0);
    if (m_state == old)
        return 0;
    RequestRepaint(0);
    return 1;
}

int MSliderBase::OnControlScroll(int, UINT direction, CPoint)
{
    int v = (direction == kWheelTowardsUser) ? m_progress - 1 : m_progress + 1;
    if (v < m_minimum)
        v = m_minimum;
    if (v > m_maximum)
        v = m_maximum;
    if (v != m_progress)
    {
        SetProgress(v);
        SendMessageW(NC_CLICKED, 0, 0);
    }
    return 1;
}

// -------------------------------------------------------------------- MSlider

MSlider::MSlider(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MSliderBase(owner, id, rect, visible, enabled)
{
    SetProgress(0);
    SetControlRect(rect);
}

int MSlider::TrackLength() const { return m_rect.Width() - m_thumbWidth; }

CString MSlider::GetValueText()
{
    CString text;
    text.Format(L"%ls%d%ls", m_title.GetString(), m_progress, m_maximum == kPercentMaximum ? L"%" : L"");
    return text;
}

void MSlider::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        const int w = cell.width;
        const int h = cell.height;
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        Gdiplus::SolidBrush track(Manager::m_normal_color);
        graphics.FillRectangle(&track, kTrackInset, kTrackTop, w - 2 * kTrackInset, kTrackHeight);
        if (m_minimum < m_maximum)
        {
            const int x = ThumbOffset();
            Gdiplus::SolidBrush select(m_selectColor);
            graphics.FillRectangle(&select, kTrackInset, kTrackTop, x + kFillPastThumb, kTrackHeight);
            graphics.FillEllipse(&select, x, 0, m_thumbWidth, m_thumbHeight);
        }
        if (m_showText)
        {
            ControlFontFamily family(*this, m_fontName);
            Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle,
                               Gdiplus::UnitPixel);
            graphics.SetTextRenderingHint(m_textHint);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            format.SetFormatFlags(kSingleLineFlags);
            Gdiplus::SolidBrush brush(m_textColor);
            const CString text = GetValueText();
            const Gdiplus::RectF box(0.0f, static_cast<Gdiplus::REAL>(h - kTextBoxHeight),
                                     static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(kTextBoxHeight));
            graphics.DrawString(text, text.GetLength(), &font, box, &format, &brush);
        }
    });
}

// ------------------------------------------------------------------- MSlider2

MSlider2::MSlider2(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MSliderBase(owner, id, rect, visible, enabled)
{
    SetProgress(0);
    SetControlRect(rect);
}

int MSlider2::TrackLength() const { return InsetBarLength(m_rect.Width()); }

void MSlider2::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        cell.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int track = InsetBarLength(cell.width);
        FillInsetBar(cell.graphics, static_cast<float>(track), cell.height, Gdiplus::Color(kBarTrackColor));
        const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
        if (span <= 0)
            return;
        int64_t g = static_cast<int64_t>(track) * (static_cast<int64_t>(m_progress) - m_minimum) / span;
        g = std::min<int64_t>(std::max<int64_t>(g, 0), cell.width);
        // The bar's own select colour, which starts as the library's: a colour
        // given with SetSelectColor shows, as it does on MSlider.
        if (g > 0)
            FillInsetBar(cell.graphics, static_cast<float>(g), cell.height, m_selectColor);
    });
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterMSlider(MakeControlClass<MSlider, ControlForm::VisibleEnabled>(L"MSlider"));
const ControlRegistrar kRegisterMSlider2(MakeControlClass<MSlider2, ControlForm::VisibleOne>(L"MSlider2"));

} // namespace

} // namespace VREL
