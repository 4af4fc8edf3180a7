#include "ui/controls/Progress.h"

#include <cstdint>
#include <utility>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr Gdiplus::ARGB kProgressTextColor = 0xFF808080;
constexpr UINT kAlignCentre = 1;
constexpr int kProgressFrames = 2;
constexpr int kTicksPerStep = 3;
constexpr int kDefaultMaximum = 100;
constexpr int kImageFrames = 1;
constexpr wchar_t kImageResourceType[] = L"PNG";

// The bar's track.
constexpr Gdiplus::ARGB kTrackColor = 0xFF646464;

// The level cells: drawn with 2-pixel gaps, hit-tested with 5-pixel gaps.
constexpr int kDefaultMinimumLevel = 1;
constexpr int kDefaultMaximumLevel = 15;
constexpr int kCellHeight = 16;
constexpr int kDrawnGap = 2;
constexpr int kHitGap = 5;
constexpr Gdiplus::ARGB kCellColor = 0xFFEDEDED;

// Width of each of n cells sharing `width` pixels with `gap` pixels per
// cell; 0 or less when they do not fit.
int CellWidth(int width, int n, int gap)
{
    if (n <= 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(width) - static_cast<int64_t>(gap) * n) / n);
}

} // namespace

// ------------------------------------------------------------------ MProgress

MProgress::MProgress(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_tickCount(0),
      m_ticksPerStep(kTicksPerStep),
      m_showText(0),
      m_progress(0),
      m_maximum(kDefaultMaximum)
{
    SetTextColor(Gdiplus::Color(kProgressTextColor));
    m_hAlign = kAlignCentre;
    m_frameCount = kProgressFrames;
}

// The images belong to the window's image cache.
MProgress::~MProgress() = default;

int MProgress::SetProgress(int value)
{
    if (!m_bEnabled)
        return m_progress;
    if (value > m_maximum)
        value = m_maximum;
    if (value >= 0 && value != m_progress)
    {
        m_progress = value;
        UpdateControl(1, 0);
    }
    return m_progress;
}

bool MProgress::TakeImage(StripImage& target, ImgResInfo* info)
{
    if (!info)
        return false;
    target.image = info->image;
    target.width = info->frameWidth;
    target.height = info->frameHeight;
    UpdateControl(1, 0);
    return true;
}

bool MProgress::SetBackGroundImage(CString file)
{
    return m_pManager && TakeImage(m_background, m_pManager->AddImgResInfo(file, kImageFrames));
}

bool MProgress::SetBackGroundImage(UINT id)
{
    return m_pManager && TakeImage(m_background, m_pManager->AddImgResInfo(id, kImageResourceType, kImageFrames, 1));
}

bool MProgress::SetForeGroundImage(CString file)
{
    return m_pManager && TakeImage(m_foreground, m_pManager->AddImgResInfo(file, kImageFrames));
}

bool MProgress::SetForeGroundImage(UINT id)
{
    return m_pManager && TakeImage(m_foreground, m_pManager->AddImgResInfo(id, kImageResourceType, kImageFrames, 1));
}

int MProgress::SetRun(int run, int progress)
{
    if (!m_bEnabled)
        return m_bRunning;
    bool changed = (run != m_bRunning);
    m_bRunning = run;
    if (progress >= 0 && progress <= m_maximum && progress != m_progress)
    {
        m_progress = progress;
        changed = true;
    }
    if (changed)
        UpdateControl(1, 0);
    return m_bRunning;
}

int MProgress::OnControlTimer()
{
    if (!m_bRunning || !m_bVisible)
        return 0;
    if (++m_tickCount >= m_ticksPerStep)
    {
        m_tickCount = 0;
        // The bar shows full for one step before it starts again from empty.
        m_progress = (m_progress >= m_maximum) ? 0 : m_progress + 1;
        UpdateControl(1, 0);
    }
    return 1;
}

void MProgress::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        cell.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int track = InsetBarLength(cell.width);
        FillInsetBar(cell.graphics, static_cast<float>(track), cell.height, Gdiplus::Color(kTrackColor));
        // A maximum of 0 or less leaves nothing to measure the fill against:
        // the track is shown alone.
        if (m_progress > 0 && m_maximum > 0)
        {
            const int64_t fill = static_cast<int64_t>(track) * m_progress / m_maximum;
            FillInsetBar(cell.graphics, static_cast<float>(fill), cell.height, Manager::m_select_color);
        }
    });
}

// ----------------------------------------------------------------- MLevelCtrl

MLevelCtrl::MLevelCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_level(0),
      m_minimum(kDefaultMinimumLevel),
      m_maximum(kDefaultMaximumLevel),
      m_cellHeight(kCellHeight)
{
}

MLevelCtrl::~MLevelCtrl() = default;

int MLevelCtrl::CellCount() const
{
    const int64_t n = static_cast<int64_t>(m_maximum) - m_minimum + 1;
    return n > 0 ? static_cast<int>(n) : 0;
}

void MLevelCtrl::SetLevelValue(int value)
{
    if (value < m_minimum)
        value = m_minimum;
    else if (value > m_maximum)
        value = m_maximum;
    if (value == m_level)
        return;
    m_level = value;
    UpdateControl(1, 0);
}

void MLevelCtrl::SetRangeValue(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void MLevelCtrl::DrawControl(HDC& dc, CRect)
{
    LookInputs inputs;
    inputs.Add(m_level).Add(m_minimum).Add(m_maximum).Add(m_cellHeight).Add(Manager::m_select_color);
    DrawKeptLook(*this, dc, m_hMemDC, m_kept, std::move(inputs), [&](const StateCell& look) {
        const int n = CellCount();
        const int cell = CellWidth(look.width, n, kDrawnGap);
        if (cell <= 0)
            return;
        Gdiplus::SolidBrush cellBrush((Gdiplus::Color(kCellColor)));
        Gdiplus::SolidBrush litBrush(Manager::m_select_color);
        for (int k = 0; k < n; ++k)
        {
            const int x = k * (cell + kDrawnGap);
            look.graphics.FillRectangle(&cellBrush, x, 0, cell, m_cellHeight);
            if (m_level >= m_minimum + k)
                look.graphics.FillRectangle(&litBrush, x + 1, 1, cell - 2, m_cellHeight - 2);
        }
    });
}

int MLevelCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    int level = m_level;
    const int n = CellCount();
    const int hit = CellWidth(m_rect.Width(), n, kHitGap);
    if (hit > 0 && m_rect.PtInRect(pt))
    {
        for (int k = 0; k < n; ++k)
        {
            const int left = m_rect.left + k * (hit + kHitGap);
            if (CRect(left, m_rect.top, left + hit, m_rect.top + m_cellHeight).PtInRect(pt))
            {
                level = m_minimum + k;
                break;
            }
        }
    }
    if (level == m_level)
        return 1;
    m_level = level;
    SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_level), 0);
    UpdateControl(1, 0);
    return 1;
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterMProgress(MakeControlClass<MProgress, ControlForm::VisibleEnabled>(L"MProgress"));
const ControlRegistrar kRegisterMLevelCtrl(MakeControlClass<MLevelCtrl, ControlForm::VisibleEnabled>(L"MLevelCtrl"));

} // namespace

} // namespace VREL
