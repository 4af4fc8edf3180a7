#include "ui/controls/MText.h"

#include <utility>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMText(
    MakeControlClass<MText, ControlForm::TitleVisible>(L"MText"));

constexpr Gdiplus::ARGB kBackArgb = 0xFF008000;
constexpr Gdiplus::ARGB kShadowArgb = 0xFF505050;
constexpr Gdiplus::ARGB kMarkArgb = 0xFFED801B;
// The text starts this far right of the icon.
constexpr int kIconGap = 5;
// The mark stands this far clear of the text on either side.
constexpr int kMarkGap = 2;
// The child whose scrolling repaints the text.
constexpr UINT kScrollChildId = 1;

// How far the pen moves over a piece of text as the graphics lays it out,
// trailing spaces included, in whole pixels. The bounds of the glyph
// outlines end at the last ink: a piece that ends in a space would lose it,
// and the piece drawn after it would touch the word before.
int AdvanceWidth(Gdiplus::Graphics& graphics, const Gdiplus::Font& font, const CString& text)
{
    if (text.IsEmpty())
        return 0;
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetFormatFlags(format.GetFormatFlags() | kSingleLineFlags);
    Gdiplus::RectF box;
    graphics.MeasureString(text.GetString(), text.GetLength(), &font, Gdiplus::PointF(0.0f, 0.0f), &format, &box);
    return static_cast<int>(box.Width + 0.5f);
}

} // namespace

MText::MText(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible)
    : MControlFont(owner, id, rect, title, visible, 0, 1),
      m_bShadow(0),
      m_bTextBack(0),
      m_backColor(kBackArgb),
      m_shadowColor(kShadowArgb),
      m_markColor(kMarkArgb),
      m_markStart(0),
      m_bMultiLine(0),
      m_bVCenter(0)
{
}

MText::~MText() = default;

void MText::StoreTitle(const wchar_t* title)
{
    ClearGDIFont();
    SetControlTitle(title);
}

void MText::SetMarkText(const wchar_t* mark)
{
    if (!mark || m_mark == mark)
        return;
    m_mark = mark;
    UpdateControl(1, 0);
}

void MText::SetMarkText(const wchar_t* mark, Gdiplus::Color colour, int start)
{
    if (!mark)
        return;
    if (m_mark == mark && m_markColor.GetValue() == colour.GetValue() && m_markStart == start)
        return;
    m_mark = mark;
    m_markColor = colour;
    m_markStart = start;
    UpdateControl(1, 0);
}

void MText::SetTitleMarkText(const wchar_t* title, const wchar_t* mark, int)
{
    if (!title)
        return;
    const CString newMark(mark);
    if (m_title == title && m_mark == newMark)
        return;
    StoreTitle(title);
    m_mark = newMark;
    UpdateControl(1, 0);
}

void MText::SetMarkText(const wchar_t* title, const wchar_t* mark, Gdiplus::Color colour, int start)
{
    if (!title)
        return;
    const CString newMark(mark);
    if (m_title == title && m_mark == newMark && m_markColor.GetValue() == colour.GetValue() &&
        m_markStart == start)
        return;
    StoreTitle(title);
    m_mark = newMark;
    m_markColor = colour;
    m_markStart = start;
    UpdateControl(1, 0);
}

void MText::EnableTextBack(int on, Gdiplus::Color colour)
{
    if (on != m_bTextBack)
    {
        m_bTextBack = on;
        m_backColor = colour;
    }
    UpdateControl(1, 0);
}

LRESULT MText::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    OnMessage(id, code, wParam, lParam);
    return 0;
}

LRESULT MText::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (id == kScrollChildId && code == NC_SCROLL)
        UpdateControl(1, 0);
    return 0;
}

int MText::OnControlScroll(int, UINT, CPoint) { return 1; }

int MText::FindMark() const
{
    if (m_mark.IsEmpty() || m_markStart < 0 || m_markStart > m_title.GetLength())
        return -1;
    return m_title.Find(m_mark, m_markStart);
}

void MText::DrawControl(HDC& dc, CRect)
{
    LookInputs inputs;
    inputs.Add(m_bTextBack).Add(m_backColor).Add(m_pImage).Add(m_frameWidth).Add(m_frameHeight);
    inputs.Add(m_title).Add(GetTextFont()).Add(m_fontSize).Add(m_fontStyle);
    inputs.Add(m_hAlign).Add(m_vAlign).Add(m_bMultiLine).Add(m_bVCenter).Add(m_bShadow);
    inputs.Add(m_shadowColor).Add(m_textColor).Add(m_mark).Add(m_markColor).Add(m_markStart);
    DrawKeptLook(*this, dc, m_hMemDC, m_kept, std::move(inputs), [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int W = cell.width, H = cell.height;
        if (m_bTextBack)
        {
            Gdiplus::SolidBrush back(m_backColor);
            graphics.FillRectangle(&back, 0, 0, W, H);
        }

        int x0 = 0;
        if (m_pImage)
        {
            graphics.DrawImage(m_pImage, Gdiplus::Rect(0, (H - m_frameHeight) / 2, m_frameWidth, m_frameHeight), 0, 0,
                               m_frameWidth, m_frameHeight, Gdiplus::UnitPixel);
            x0 = m_frameWidth + kIconGap;
        }
        if (m_title.IsEmpty())
            return;

        ::SetBkMode(cell.dc, TRANSPARENT);
        const ControlFont font(*this, m_fontSize, m_fontStyle);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        Gdiplus::StringAlignment vertical = VerticalAlignment(m_vAlign);
        if (m_bMultiLine && m_bVCenter)
            vertical = Gdiplus::StringAlignmentCenter;
        const auto format = MakeStringFormat(HorizontalAlignment(m_hAlign), vertical,
                                             m_bMultiLine ? kWrappingFlags : kSingleLineFlags);

        const int markAt = FindMark();
        if (markAt < 0)
        {
            const float width = static_cast<float>(W - x0), height = static_cast<float>(H);
            if (m_bShadow)
                DrawText(graphics, m_title, font.Get(),
                         Gdiplus::RectF(static_cast<float>(x0 + 1), 1.0f, width, height), *format, m_shadowColor);
            DrawText(graphics, m_title, font.Get(), Gdiplus::RectF(static_cast<float>(x0), 0.0f, width, height),
                     *format, m_textColor);
            return;
        }

        // Three pieces, each drawn from a point so that nothing wraps.
        const CString left = m_title.Left(markAt);
        const CString right = m_title.Mid(markAt + m_mark.GetLength());
        const int leftWidth = AdvanceWidth(graphics, font.Get(), left);
        const int markWidth = AdvanceWidth(graphics, font.Get(), m_mark);
        const int markX = x0 + leftWidth + kMarkGap;
        const int rightX = x0 + leftWidth + markWidth + 2 * kMarkGap;
        auto drawAt = [&](const CString& text, int x, int y, Gdiplus::Color colour) {
            Gdiplus::SolidBrush brush(colour);
            graphics.DrawString(text.GetString(), text.GetLength(), &font.Get(),
                                Gdiplus::PointF(static_cast<float>(x), static_cast<float>(y)), format.get(), &brush);
        };
        if (m_bShadow)
        {
            drawAt(left, x0 + 1, 1, m_shadowColor);
            drawAt(m_mark, markX + 1, 1, m_shadowColor);
            drawAt(right, rightX + 1, 1, m_shadowColor);
        }
        drawAt(left, x0, 0, m_textColor);
        drawAt(m_mark, markX, 0, m_markColor);
        drawAt(right, rightX, 0, m_textColor);
    });
}

} // namespace VREL
