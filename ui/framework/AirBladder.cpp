#include "ui/framework/AirBladder.h"

#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

// No wrap, trailing spaces measured.
constexpr INT kFormatFlags = 0x1800;
constexpr enumBackMode kDefaultBackMode = BACK_MODE_NINE_GRID;
constexpr int kDefaultBackParameter = 18;
constexpr int kBackgroundCorner = 6;
constexpr int kTextInset = 8;
constexpr Gdiplus::ARGB kTextColor = 0xFFFFFFFF;

} // namespace

MAirBladder::MAirBladder()
    : m_point{0, 0}, m_type(AIRBLADDER_TYPE_NORMAL), m_mode(AIRBLADDER_MODE_BELOW),
      m_backMode(kDefaultBackMode), m_backParameter(kDefaultBackParameter), m_lineCount(1)
{
    ResetFormat(Gdiplus::StringAlignmentNear);
}

MAirBladder::~MAirBladder() = default;

void MAirBladder::ResetFormat(Gdiplus::StringAlignment alignment)
{
    m_pFormat = std::make_unique<Gdiplus::StringFormat>();
    m_pFormat->SetAlignment(alignment);
    m_pFormat->SetLineAlignment(alignment);
    m_pFormat->SetFormatFlags(kFormatFlags);
}

int MAirBladder::OnInitDialog()
{
    LoadTempFont();
    return 1;
}

LRESULT MAirBladder::OnKillFocus(HWND)
{
    if (m_mode != AIRBLADDER_MODE_RIGHT)
        ShowWindow(SW_HIDE);
    KillTimer(TIMER_BALLOON_HIDE);
    return 1;
}

// ---- images ----------------------------------------------------------------------------------

int MAirBladder::LoadBKImage(CString file) { return m_background.LoadFile(file); }
int MAirBladder::LoadBKImage(UINT id, CString type) { return m_background.LoadResource(id, type); }
int MAirBladder::LoadArrowLImage(CString file) { return m_arrowLeft.LoadFile(file); }
int MAirBladder::LoadArrowLImage(UINT id, CString type) { return m_arrowLeft.LoadResource(id, type); }
int MAirBladder::LoadArrowRImage(CString file) { return m_arrowRight.LoadFile(file); }
int MAirBladder::LoadArrowRImage(UINT id, CString type) { return m_arrowRight.LoadResource(id, type); }
int MAirBladder::LoadArrowTImage(CString file) { return m_arrowTop.LoadFile(file); }
int MAirBladder::LoadArrowTImage(UINT id, CString type) { return m_arrowTop.LoadResource(id, type); }

void MAirBladder::SetBackMode(enumBackMode mode, int parameter)
{
    m_backMode = mode;
    m_backParameter = parameter;
}

// ---- message -----------------------------------------------------------------------------------

int MAirBladder::SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode)
{
    if (!text)
        return 0;
    if (m_text == text && m_point.x == pt.x && m_point.y == pt.y && m_type == type && m_mode == mode)
        return 1;
    ResetFormat(Gdiplus::StringAlignmentNear);
    m_text = text;
    m_point = pt;
    m_type = type;
    m_mode = mode;
    AutoFit();
    if (m_type != AIRBLADDER_TYPE_STAY && WindowExists())
        SetTimer(TIMER_BALLOON_HIDE, kHideDelayMs, nullptr);
    return 1;
}

Gdiplus::FontFamily* MAirBladder::TextFamily()
{
    if (Gdiplus::FontFamily* family = GetTempFont())
        return family;
    if (Gdiplus::FontFamily* family = LoadTempFont())
        return family;
    // Without the library's font resource the text still has to show.
    if (!m_pFallbackFamily)
        m_pFallbackFamily.reset(MRender::CreateFontFamily(Manager::GetFontName()));
    return m_pFallbackFamily.get();
}

void MAirBladder::AutoFit()
{
    if (m_text.IsEmpty())
        return;
    const Gdiplus::Font font(TextFamily(), static_cast<Gdiplus::REAL>(kFontPixels), Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    const Gdiplus::Size bounds = MRender::GetTextBounds(font, *m_pFormat, m_text);
    const int w = bounds.Width;
    const int h = bounds.Height;

    int lines = 1;
    for (int i = 0; i < m_text.GetLength(); ++i)
    {
        if (m_text[i] == L'\n')
            ++lines;
    }
    m_lineCount = lines;
    if (lines == 1 || m_mode == AIRBLADDER_MODE_ABOVE)
        ResetFormat(Gdiplus::StringAlignmentCenter);

    const int total = lines * h;
    const int x = m_point.x;
    const int y = m_point.y;
    CRect rect;
    switch (m_mode)
    {
    case AIRBLADDER_MODE_RIGHT_BELOW:
        rect.SetRect(x, y, x + w + 40, y + total + 20);
        break;
    case AIRBLADDER_MODE_LEFT:
        rect.SetRect(x - w - 40, y - 27, x, y + total - 7);
        break;
    case AIRBLADDER_MODE_BELOW:
        rect.SetRect(x - 25, y, x + w + 15, y + total + 30);
        break;
    case AIRBLADDER_MODE_ABOVE:
    {
        const int left = x - (w + 30) / 2;
        rect.SetRect(left, y - total - 20, left + w + 30, y);
        break;
    }
    case AIRBLADDER_MODE_RIGHT:
        rect.SetRect(x, y - 10, x + w + 40, y + total - 45);
        // The text block is centred as if two lines fewer.
        m_lineCount -= 2;
        break;
    default:
        break;
    }
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    Paint();
}

// ---- painting -------------------------------------------------------------------------------------

LRESULT MAirBladder::OnPaint() { return PaintLayered(BalloonPicture()); }

// A balloon without area (an odd mode, one line in mode 5) has nothing to show.
void MAirBladder::Paint() { PresentLayered(BalloonPicture()); }

MToolWindow::LayeredDraw MAirBladder::BalloonPicture()
{
    return [this](Gdiplus::Graphics& graphics, int width, int height) { DrawBalloon(graphics, width, height); };
}

void MAirBladder::DrawBalloon(Gdiplus::Graphics& graphics, int width, int height)
{
    if (width < 1 || height < 1)
        return;
    if (m_background.IsLoaded())
        MRender::DrawImageFrame(graphics, m_background.image.get(), CRect(0, 0, width - 1, height - 1), 0, 0,
                                m_background.width, m_background.height, kBackgroundCorner);
    if (m_text.IsEmpty())
        return;
    const Gdiplus::Font font(TextFamily(), static_cast<Gdiplus::REAL>(kFontPixels), Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    const int lineHeight = MRender::GetTextBounds(font, *m_pFormat, m_text).Height;
    const Gdiplus::SolidBrush brush{Gdiplus::Color(kTextColor)};
    const int n = m_lineCount;
    const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(kTextInset),
                             static_cast<Gdiplus::REAL>((height - n * lineHeight) * 0.5 + n - 1),
                             static_cast<Gdiplus::REAL>(width - 2 * kTextInset),
                             static_cast<Gdiplus::REAL>(n * lineHeight + 2));
    graphics.DrawString(m_text.GetString(), m_text.GetLength(), &font, box, m_pFormat.get(), &brush);
}

} // namespace VREL
