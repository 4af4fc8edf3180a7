#include <algorithm>
#include <cstring>
#include <utility>

#include "ui/controls/ColorControls.h"
#include "ui/controls/HslColor.h"
#include "ui/controls/RingThumb.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMPalette(MakeControlClass<MPalette, ControlForm::Visible>(L"MPalette"));

// The colour the field starts with: RGB(51, 255, 254).
constexpr int kStartHue = 180;
constexpr int kStartSaturation = 200;
constexpr int kStartLightness = 120;
constexpr int kDefaultPalletHeight = 150;
constexpr int kBarWidth = 16;
// Field right edge: the bar and a gap of 22 pixels; bar rectangle: the bar
// and the thumb's column of 16 pixels.
constexpr int kFieldGap = 22;
constexpr int kThumbColumn = 16;
// Lightness shown by the field: 20 (top) to 199 (bottom).
constexpr int kLightTop = 20;
constexpr int kLightSpan = 180;
constexpr int kThumbFrames = 4;

// The model's pixels: the field in columns 0-359, rows 0-199, the bar from
// column 370.
constexpr int kDataWidth = 400;
constexpr int kDataHeight = 360;
constexpr int kFieldColumns = kHueScale;
constexpr int kModelRows = kLightnessScale;
constexpr int kBarColumn = 370;

constexpr Gdiplus::ARGB kDisabledVeil = 0x0A808080;

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

} // namespace

MPalette::MPalette(MObject* owner, UINT id, CRect rect, int visible)
    : MControlFont(owner, id, rect, L"", visible, 1, 1),
      m_hue(kStartHue),
      m_saturation(kStartSaturation),
      m_lightness(kStartLightness),
      m_lastColour(HslToRgbScaled(kStartHue, kStartSaturation, kStartLightness)),
      m_palletHeight(kDefaultPalletHeight),
      m_barWidth(kBarWidth),
      m_thumbWidth(0),
      m_thumbHeight(0),
      m_bFieldDrag(false),
      m_bBarDrag(false),
      m_hDataDC(nullptr),
      m_hDataBitmap(nullptr),
      m_hDataOld(nullptr),
      m_pData(nullptr),
      m_hFieldDC(nullptr),
      m_hFieldBitmap(nullptr),
      m_hFieldOld(nullptr)
{
    Layout();
}

MPalette::~MPalette()
{
    FreeFieldPicture();
    FreeData();
}

void MPalette::FreeFieldPicture()
{
    if (m_hFieldDC && m_hFieldOld)
        ::SelectObject(m_hFieldDC, m_hFieldOld);
    if (m_hFieldBitmap)
        ::DeleteObject(m_hFieldBitmap);
    if (m_hFieldDC)
        ::DeleteDC(m_hFieldDC);
    m_hFieldDC = nullptr;
    m_hFieldBitmap = nullptr;
    m_hFieldOld = nullptr;
    m_fieldSize = CSize();
}

HDC MPalette::FieldPicture(HDC reference)
{
    const CSize size(m_fieldRect.Width(), m_fieldRect.Height());
    if (m_hFieldDC && m_fieldSize == size)
        return m_hFieldDC;
    FreeFieldPicture();
    if (!m_hDataDC || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    m_hFieldDC = ::CreateCompatibleDC(reference);
    m_hFieldBitmap = m_hFieldDC ? ::CreateCompatibleBitmap(reference, size.cx, size.cy) : nullptr;
    if (!m_hFieldBitmap)
    {
        FreeFieldPicture();
        return nullptr;
    }
    m_hFieldOld = ::SelectObject(m_hFieldDC, m_hFieldBitmap);
    m_fieldSize = size;
    ::SetStretchBltMode(m_hFieldDC, HALFTONE);
    ::SetBrushOrgEx(m_hFieldDC, 0, 0, nullptr);
    ::StretchBlt(m_hFieldDC, 0, 0, size.cx, size.cy, m_hDataDC, 0, kLightTop, kFieldColumns, kLightSpan, SRCCOPY);
    return m_hFieldDC;
}

// ---- the model's pixels -----------------------------------------------------------------------------

bool MPalette::CreateData()
{
    if (m_pData)
        return true;
    HDC reference = m_pManager ? m_pManager->GetPaintDC() : nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kDataWidth;
    info.bmiHeader.biHeight = -kDataHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hDataDC = ::CreateCompatibleDC(reference);
    m_hDataBitmap = m_hDataDC ? ::CreateDIBSection(m_hDataDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!m_hDataBitmap || !bits)
    {
        FreeData();
        return false;
    }
    m_hDataOld = ::SelectObject(m_hDataDC, m_hDataBitmap);
    m_pData = static_cast<BYTE*>(bits);
    std::memset(m_pData, 0, static_cast<size_t>(kDataWidth) * kDataHeight * 4u);
    return true;
}

void MPalette::FreeData()
{
    if (m_hDataDC && m_hDataOld)
        ::SelectObject(m_hDataDC, m_hDataOld);
    if (m_hDataBitmap)
        ::DeleteObject(m_hDataBitmap);
    if (m_hDataDC)
        ::DeleteDC(m_hDataDC);
    m_hDataDC = nullptr;
    m_hDataBitmap = nullptr;
    m_hDataOld = nullptr;
    m_pData = nullptr;
}

void MPalette::PutPixel(int x, int y, COLORREF colour)
{
    BYTE* pixel = m_pData + (static_cast<size_t>(y) * kDataWidth + static_cast<size_t>(x)) * 4u;
    pixel[0] = GetBValue(colour);
    pixel[1] = GetGValue(colour);
    // Pure black is kept off the colour key.
    pixel[2] = colour == 0 ? 1 : GetRValue(colour);
    pixel[3] = 0;
}

void MPalette::UpdatePaletteData()
{
    if (!m_pData)
        return;
    FreeFieldPicture();
    ::GdiFlush();
    for (int row = 0; row < kModelRows; ++row)
        for (int column = 0; column < kFieldColumns; ++column)
            PutPixel(column, row, HslToRgbScaled(column, kSaturationScale, row));
}

void MPalette::UpdateBarData()
{
    if (!m_pData)
        return;
    ::GdiFlush();
    for (int row = 0; row < kModelRows; ++row)
    {
        const COLORREF colour = HslToRgbScaled(m_hue, row, m_lightness);
        for (int column = 0; column < m_barWidth; ++column)
            PutPixel(kBarColumn + column, row, colour);
    }
}

// ---- layout ----------------------------------------------------------------------------------------

void MPalette::Layout()
{
    m_fieldRect = CRect(m_rect.left, m_rect.top, m_rect.right - m_barWidth - kFieldGap, m_rect.top + m_palletHeight);
    m_barRect = CRect(m_rect.right - m_barWidth - kThumbColumn, m_rect.top, m_rect.right, m_rect.top + m_palletHeight);
}

void MPalette::PlaceThumb()
{
    m_thumb.x = m_fieldRect.left + m_fieldRect.Width() * m_hue / kHueScale;
    m_thumb.y = m_fieldRect.top + (m_lightness - kLightTop) * m_palletHeight / kLightSpan;
}

void MPalette::InitControl(PaintManager* manager)
{
    MControlFont::InitControl(manager);
    Layout();
    if (CreateData())
    {
        UpdatePaletteData();
        UpdateBarData();
    }
    PlaceThumb();
}

void MPalette::SetControlRect(CRect rect)
{
    m_rect = rect;
    Layout();
    UpdatePaletteData();
    UpdateBarData();
    PlaceThumb();
    Repaint();
}

void MPalette::SetPalletHeight(int height)
{
    m_palletHeight = height;
    Repaint();
}

int MPalette::SetThumbImage(const wchar_t* file)
{
    m_pThumbImage.reset(MRender::LoadImageFromFile(GetSkinFolder() + (file ? file : L"")));
    m_thumbWidth = m_pThumbImage ? static_cast<int>(m_pThumbImage->GetWidth()) / kThumbFrames : 0;
    m_thumbHeight = m_pThumbImage ? static_cast<int>(m_pThumbImage->GetHeight()) : 0;
    return 0;
}

// ---- colour ------------------------------------------------------------------------------------------

COLORREF MPalette::GetSelectColor() const { return HslToRgbScaled(m_hue, m_saturation, m_lightness); }

void MPalette::SetSelectColor(COLORREF colour)
{
    m_lastColour = colour;
    const HslValue hsl = RgbToHsl(colour);
    m_hue = ScaleFraction(hsl.h, kHueScale);
    m_saturation = ScaleFraction(hsl.s, kSaturationScale);
    m_lightness = ScaleFraction(hsl.l, kLightnessScale);
    PlaceThumb();
    m_thumb.y = std::max(static_cast<int>(m_thumb.y), static_cast<int>(m_fieldRect.top));
    UpdateBarData();
    Repaint();
}

void MPalette::SetControlEnabled(int enabled)
{
    m_bEnabled = enabled;
    Repaint();
}

LRESULT MPalette::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

void MPalette::Repaint() { UpdateControl(1, 0); }

// ---- pointer -----------------------------------------------------------------------------------------

void MPalette::TakeFieldPoint(CPoint pt)
{
    m_thumb = pt;
    const int width = std::max(static_cast<int>(m_fieldRect.Width()), 1);
    const int height = std::max(m_palletHeight, 1);
    m_hue = Clamp((pt.x - m_fieldRect.left) * kHueScale / width, 0, kHueScale);
    m_lightness = Clamp((pt.y - m_fieldRect.top) * kLightSpan / height + kLightTop, kLightTop, kLightnessScale);
    UpdateBarData();
}

void MPalette::TakeBarPoint(CPoint pt)
{
    const int height = std::max(m_palletHeight, 1);
    m_saturation = Clamp((pt.y - m_barRect.top) * kSaturationScale / height, 0, kSaturationScale);
}

int MPalette::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    m_bFieldDrag = false;
    m_bBarDrag = false;
    if (m_fieldRect.PtInRect(pt))
    {
        TakeFieldPoint(pt);
        m_bFieldDrag = true;
    }
    else if (m_barRect.PtInRect(pt))
    {
        TakeBarPoint(pt);
        Repaint();
        m_bBarDrag = true;
    }
    const COLORREF colour = GetSelectColor();
    if (colour != m_lastColour)
    {
        m_lastColour = colour;
        SendMessageW(NC_COLOR, colour, 0);
    }
    Repaint();
    return 1;
}

int MPalette::OnControlMouseMove(UINT flags, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_bFieldDrag && (flags & MK_LBUTTON))
    {
        if (m_fieldRect.PtInRect(pt))
        {
            TakeFieldPoint(pt);
            SendMessageW(NC_COLOR, 0, 0);
            Repaint();
        }
    }
    else if (m_bBarDrag)
    {
        TakeBarPoint(pt);
        SendMessageW(NC_COLOR, 0, 0);
        Repaint();
    }
    return 1;
}

int MPalette::OnControlLButtonUp(UINT, CPoint)
{
    if (!m_bEnabled)
        return 0;
    m_bFieldDrag = false;
    m_bBarDrag = false;
    Repaint();
    return 1;
}

int MPalette::OnControlScroll(int, UINT, CPoint) { return 1; }

// ---- drawing -------------------------------------------------------------------------------------------

void MPalette::DrawControl(HDC& dc, CRect)
{
    // The field's pixels never change; the bar's follow the hue and the
    // lightness.
    LookInputs inputs;
    inputs.Add(m_hDataDC != nullptr).Add(m_hue).Add(m_lightness).Add(m_barWidth);
    for (const CRect& part : {m_fieldRect, m_barRect})
        inputs.Add(part.left - m_rect.left).Add(part.top - m_rect.top).Add(part.Width()).Add(part.Height());
    inputs.Add(m_thumb.x - m_rect.left).Add(m_thumb.y - m_rect.top).Add(m_bEnabled);
    DrawKeptLook(*this, dc, m_hMemDC, m_kept, std::move(inputs), [&](const StateCell& cell) {
        if (m_hDataDC)
        {
            if (HDC field = FieldPicture(cell.dc))
                ::BitBlt(cell.dc, m_fieldRect.left - m_rect.left, m_fieldRect.top - m_rect.top, m_fieldRect.Width(),
                         m_fieldRect.Height(), field, 0, 0, SRCCOPY);
            ::SetStretchBltMode(cell.dc, HALFTONE);
            ::SetBrushOrgEx(cell.dc, 0, 0, nullptr);
            ::StretchBlt(cell.dc, m_barRect.left - m_rect.left, m_barRect.top - m_rect.top, m_barWidth,
                         m_barRect.Height(), m_hDataDC, kBarColumn, 0, m_barWidth, kModelRows, SRCCOPY);
        }
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int half = kRingThumbSize / 2;
        DrawRingThumb(graphics, m_thumb.x - half - m_rect.left, m_thumb.y - half - m_rect.top);
        if (!m_bEnabled)
        {
            Gdiplus::SolidBrush veil{Gdiplus::Color(kDisabledVeil)};
            graphics.FillRectangle(&veil, 0, 0, cell.width, cell.height);
        }
    });

    if (m_pThumbImage && m_thumbWidth > 0 && !m_rect.IsRectEmpty())
    {
        Gdiplus::Graphics graphics(dc);
        const int top = m_rect.top + m_palletHeight * m_saturation / kSaturationScale - m_thumbHeight / 2;
        MRender::DrawImagePart(graphics, m_pThumbImage.get(),
                               Gdiplus::Rect(m_barRect.left + m_barWidth, top, m_thumbWidth, m_thumbHeight), 0, 0,
                               m_thumbWidth, m_thumbHeight);
    }
}

} // namespace VREL
