#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/controls/ColorControls.h"
#include "ui/controls/RingThumb.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCirclePalette(
    MakeControlClass<CirclePalette, ControlForm::VisibleOne>(L"CirclePalette"));

constexpr COLORREF kStartColour = 0x0000FF;
// Points farther than this from the centre are off the wheel.
constexpr int kWheelRadius = 80;
constexpr int kThumbHalf = 5;
// Where the thumb goes whenever the control is moved.
constexpr int kThumbHomeX = 100;
constexpr int kThumbHomeY = 30;
constexpr int kThumbSize = 10;
// A drag moves the thumb once the pointer is this far from the last point.
constexpr int kDragStep = 5;

constexpr int kStateIdle = 0;
constexpr int kStateOnThumb = 1;
constexpr int kStateDragging = 2;


} // namespace

CirclePalette::CirclePalette(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_colour(kStartColour),
      m_state(kStateIdle),
      m_wheelWidth(0),
      m_wheelHeight(0)
{
}

CirclePalette::~CirclePalette() = default;

int CirclePalette::SetImage(UINT id, CString type, int count)
{
    if (!m_pManager)
        return 0;
    return TakeWheel(m_pManager->AddImgResInfo(id, type, count, 1), count);
}

int CirclePalette::SetImage(const wchar_t* file, int count)
{
    if (!m_pManager)
        return 0;
    return TakeWheel(m_pManager->AddImgResInfo(file, count), count);
}

int CirclePalette::TakeWheel(const ImgResInfo* info, int count)
{
    if (!info || !info->image)
        return 0;
    m_frameCount = count;
    m_pImage = info->image;
    m_frameWidth = static_cast<int>(info->image->GetWidth());
    m_frameHeight = static_cast<int>(info->image->GetHeight());

    // The picked colour is read from the wheel itself, not from the screen,
    // where the ring, the thumb or another window may lie over it.
    m_wheel.clear();
    m_wheelWidth = 0;
    m_wheelHeight = 0;
    if (m_frameWidth > 0 && m_frameHeight > 0)
    {
        Gdiplus::Bitmap copy(m_frameWidth, m_frameHeight, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics graphics(&copy);
            graphics.DrawImage(m_pImage, Gdiplus::Rect(0, 0, m_frameWidth, m_frameHeight), 0, 0, m_frameWidth,
                               m_frameHeight, Gdiplus::UnitPixel);
        }
        Gdiplus::BitmapData data = {};
        const Gdiplus::Rect all(0, 0, m_frameWidth, m_frameHeight);
        if (copy.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) == Gdiplus::Ok)
        {
            m_wheel.resize(static_cast<size_t>(m_frameWidth) * static_cast<size_t>(m_frameHeight));
            for (int y = 0; y < m_frameHeight; ++y)
            {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                                        static_cast<ptrdiff_t>(y) * data.Stride);
                std::copy(row, row + m_frameWidth, m_wheel.begin() + static_cast<ptrdiff_t>(y) * m_frameWidth);
            }
            copy.UnlockBits(&data);
            m_wheelWidth = m_frameWidth;
            m_wheelHeight = m_frameHeight;
        }
    }
    UpdateControl(1, 0);
    return 1;
}

bool CirclePalette::SampleWheel(CPoint pt, COLORREF& colour) const
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (m_wheel.empty() || width <= 0 || height <= 0)
        return false;
    // The wheel is drawn stretched over the whole control.
    const int x = static_cast<int>(static_cast<long long>(pt.x - m_rect.left) * m_wheelWidth / width);
    const int y = static_cast<int>(static_cast<long long>(pt.y - m_rect.top) * m_wheelHeight / height);
    if (x < 0 || y < 0 || x >= m_wheelWidth || y >= m_wheelHeight)
        return false;
    const uint32_t argb = m_wheel[static_cast<size_t>(y) * static_cast<size_t>(m_wheelWidth) + static_cast<size_t>(x)];
    colour = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    return true;
}

bool CirclePalette::NearestWheelPoint(COLORREF colour, CPoint& point) const
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (m_wheel.empty() || width <= 0 || height <= 0)
        return false;
    // The wheel holds every hue and saturation at full brightness: a dark
    // colour is looked for as its brightest version, black as white.
    const int red = GetRValue(colour);
    const int green = GetGValue(colour);
    const int blue = GetBValue(colour);
    const int brightest = std::max(red, std::max(green, blue));
    const int target[3] = {brightest > 0 ? red * 255 / brightest : 255, brightest > 0 ? green * 255 / brightest : 255,
                           brightest > 0 ? blue * 255 / brightest : 255};
    long long best = -1;
    for (int y = 0; y < m_wheelHeight; ++y)
    {
        for (int x = 0; x < m_wheelWidth; ++x)
        {
            const uint32_t argb = m_wheel[static_cast<size_t>(y) * static_cast<size_t>(m_wheelWidth) +
                                          static_cast<size_t>(x)];
            // The anti-aliased rim and the transparent corners are no colour of the wheel.
            if ((argb >> 24) != 0xFF)
                continue;
            const CPoint at(m_rect.left + static_cast<int>((2LL * x + 1) * width / (2LL * m_wheelWidth)),
                            m_rect.top + static_cast<int>((2LL * y + 1) * height / (2LL * m_wheelHeight)));
            if (GetDistanse(at) > kWheelRadius)
                continue;
            const long long dr = static_cast<long long>((argb >> 16) & 0xFF) - target[0];
            const long long dg = static_cast<long long>((argb >> 8) & 0xFF) - target[1];
            const long long db = static_cast<long long>(argb & 0xFF) - target[2];
            const long long distance = dr * dr + dg * dg + db * db;
            if (best < 0 || distance < best)
            {
                best = distance;
                point = at;
            }
        }
    }
    return best >= 0;
}

void CirclePalette::SetSelectColor(COLORREF colour)
{
    m_colour = colour;
    CPoint at;
    if (NearestWheelPoint(colour, at))
    {
        m_lastPoint = at;
        m_thumb = CRect(at.x - kThumbHalf, at.y - kThumbHalf, at.x + kThumbHalf, at.y + kThumbHalf);
    }
    UpdateControl(1, 0);
}

int CirclePalette::GetDistanse(CPoint pt) const
{
    const long long cx = m_rect.left + m_rect.Width() / 2;
    const long long cy = m_rect.top + m_rect.Height() / 2;
    const long long dx = pt.x - cx;
    const long long dy = pt.y - cy;
    return static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
}

int CirclePalette::MoveThumbPos(CPoint pt)
{
    if (GetDistanse(pt) > kWheelRadius)
        return 0;
    m_lastPoint = pt;
    const CRect thumb(pt.x - kThumbHalf, pt.y - kThumbHalf, pt.x + kThumbHalf, pt.y + kThumbHalf);
    if (thumb == m_thumb)
        return 0;
    m_thumb = thumb;
    COLORREF colour = m_colour;
    if (SampleWheel(pt, colour))
        m_colour = colour;
    UpdateControl(1, 0);
    SendMessageW(NC_COLOR, 0, m_colour);
    return 0;
}

void CirclePalette::SetControlRect(CRect rect)
{
    if (rect == m_rect)
        return;
    m_rect = rect;
    m_thumb = CRect(rect.left + kThumbHomeX, rect.top + kThumbHomeY, rect.left + kThumbHomeX + kThumbSize,
                    rect.top + kThumbHomeY + kThumbSize);
    UpdateControl(1, 0);
}

int CirclePalette::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    m_state = kStateDragging;
    MoveThumbPos(pt);
    return 0;
}

int CirclePalette::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_state == kStateDragging)
    {
        if (std::abs(pt.x - m_lastPoint.x) > kDragStep || std::abs(pt.y - m_lastPoint.y) > kDragStep)
            MoveThumbPos(pt);
        return 1;
    }
    m_state = (m_rect.PtInRect(pt) && m_thumb.PtInRect(pt)) ? kStateOnThumb : kStateIdle;
    return 0;
}

int CirclePalette::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    m_state = m_thumb.PtInRect(pt) ? kStateOnThumb : kStateIdle;
    SendMessageW(NC_CLICKED, 0, m_colour);
    return 0;
}

void CirclePalette::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (m_pImage)
            graphics.DrawImage(m_pImage, Gdiplus::Rect(0, 0, cell.width, cell.height), 0, 0, m_frameWidth,
                               m_frameHeight, Gdiplus::UnitPixel);
        if (!m_thumb.IsRectNull())
            DrawRingThumb(graphics, m_thumb.left - m_rect.left, m_thumb.top - m_rect.top);
    });
}

} // namespace VREL
