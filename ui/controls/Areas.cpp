#include "ui/controls/Areas.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCArea(
    MakeControlClass<CArea, ControlForm::VisibleOne>(L"CArea"));
const ControlRegistrar kRegisterCRoundArea(
    MakeControlClass<CRoundArea, ControlForm::VisibleOne>(L"CRoundArea"));
const ControlRegistrar kRegisterCTextArea(
    MakeControlClass<CTextArea, ControlForm::TitleVisibleOne>(L"CTextArea"));

constexpr int kDefaultTransparency = 80;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr Gdiplus::ARGB kAreaFrameArgb = 0xFE050505;
constexpr Gdiplus::ARGB kRoundAreaArgb = 0xC82B2B2B;
constexpr Gdiplus::ARGB kRoundFrameArgb = 0xFF050505;
constexpr BYTE kAreaAlpha = 0xE6;
constexpr BYTE kOpaque = 0xFF;
constexpr float kAreaRadius = 10.0f;
constexpr int kRoundRadius = 10;
// Smaller than this either way, a rounded area is drawn square.
constexpr int kMinRoundSize = 10;

void FillBox(Gdiplus::Graphics& graphics, Gdiplus::Color colour, int x, int y, int w, int h)
{
    Gdiplus::SolidBrush brush(colour);
    graphics.FillRectangle(&brush, x, y, w, h);
}

} // namespace

// ---- CArea --------------------------------------------------------------------------------

CArea::CArea(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControl(owner, id, rect, visible, enabled, 1),
      m_transparent1(kDefaultTransparency),
      m_transparent2(kDefaultTransparency),
      m_color(kWhite),
      m_frameWidth(0),
      m_frameColor(kAreaFrameArgb)
{
}

CArea::~CArea() = default;

void CArea::SetTransparent(int first, int second, COLORREF colour)
{
    m_transparent1 = first;
    m_transparent2 = second;
    m_color = colour;
    UpdateControl(1, 0);
}

void CArea::SetFrame(int width, Gdiplus::Color colour, int)
{
    m_frameWidth = width;
    m_frameColor = colour;
    UpdateControl(1, 0);
}

void CArea::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, 1, 0, [&](const StateCell& cell) {
        cell.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        MRender::DrawRoundRectange(cell.graphics, 0.0f, 0.0f, static_cast<float>(cell.width),
                                   static_cast<float>(cell.height), kAreaRadius, ColorFromRef(m_color, kAreaAlpha));
    });
}

// ---- CRoundArea ---------------------------------------------------------------------------

CRoundArea::CRoundArea(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControl(owner, id, rect, visible, enabled, 1),
      m_color(kRoundAreaArgb),
      m_bRound(1),
      m_radius(kRoundRadius),
      m_bFrame(0),
      m_frameColor(kRoundFrameArgb),
      m_frameWidth(1)
{
}

CRoundArea::~CRoundArea() = default;

void CRoundArea::SetColor(Gdiplus::Color colour)
{
    m_color = colour;
    UpdateControl(1, 0);
}

void CRoundArea::SetRound(int round)
{
    m_bRound = round;
    UpdateControl(1, 0);
}

void CRoundArea::SetFrame(int on, Gdiplus::Color colour, int width)
{
    m_bFrame = on;
    m_frameColor = colour;
    m_frameWidth = width;
    UpdateControl(1, 0);
}

void CRoundArea::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, 1, 0, [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int W = cell.width, H = cell.height, w = m_frameWidth;
        const bool roomForCorners = W >= kMinRoundSize && H >= kMinRoundSize;
        const float radius = static_cast<float>(m_radius);
        if (m_bRound && roomForCorners)
        {
            if (m_bFrame)
                MRender::DrawRoundRectange(graphics, static_cast<float>(w), static_cast<float>(w),
                                           static_cast<float>(W - 2 * w), static_cast<float>(H - 2 * w), radius,
                                           m_frameColor, static_cast<float>(w), m_color);
            else
                MRender::DrawRoundRectange(graphics, 0.0f, 0.0f, static_cast<float>(W), static_cast<float>(H), radius,
                                           m_color);
            return;
        }
        FillBox(graphics, m_color, 0, 0, W, H);
        if (!m_bRound && m_bFrame)
        {
            Gdiplus::Pen pen(m_frameColor, static_cast<float>(w));
            graphics.DrawRectangle(&pen, w, w, W - 2 * w, H - 2 * w);
        }
    });
}

// ---- CTextArea ----------------------------------------------------------------------------

CTextArea::CTextArea(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_transparent1(kDefaultTransparency),
      m_transparent2(kDefaultTransparency),
      m_color(kWhite),
      m_bFrame(0),
      m_frameColor(kRoundFrameArgb)
{
}

CTextArea::~CTextArea() = default;

void CTextArea::SetTransparent(int first, int second, COLORREF colour)
{
    m_transparent1 = first;
    m_transparent2 = second;
    m_color = colour;
    UpdateControl(1, 0);
}

void CTextArea::SetFrame(int on, Gdiplus::Color colour, int)
{
    m_bFrame = on;
    m_frameColor = colour;
    UpdateControl(1, 0);
}

void CTextArea::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, 1, 0, [&](const StateCell& cell) {
        const Gdiplus::Color fill = ColorFromRef(m_color, kOpaque);
        if (m_bFrame)
        {
            FillBox(cell.graphics, m_frameColor, 0, 0, cell.width, cell.height);
            FillBox(cell.graphics, fill, 1, 1, cell.width - 2, cell.height - 2);
        }
        else
        {
            FillBox(cell.graphics, fill, 0, 0, cell.width, cell.height);
        }
        if (m_title.IsEmpty())
            return;
        ::SetBkMode(cell.dc, TRANSPARENT);
        const ControlFont font(*this, m_fontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        cell.graphics.SetTextRenderingHint(m_textHint);
        DrawText(cell.graphics, m_title, font.Get(),
                 cell.Box(0, 0, static_cast<float>(cell.width), static_cast<float>(cell.height)), *format,
                 m_textColor);
    });
}

} // namespace VREL
