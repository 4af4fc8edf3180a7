#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterUpgradeButton(
    MakeControlClass<UpgradeButton, ControlForm::TitleVisibleOne>(L"UpgradeButton"));

constexpr int kPushCells = 4;
constexpr int kCorner = 8;
constexpr UINT kAlignCentre = 1;
// The badge: a red disc of 16 pixels in the top-right corner with "1".
constexpr int kBadgeSize = 16;
constexpr int kBadgeFontSize = 8;
constexpr Gdiplus::ARGB kBadgeArgb = 0xFFFF0000;
constexpr wchar_t kBadgeText[] = L"1";

} // namespace

UpgradeButton::UpgradeButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, title, visible, enabled, REPAINT_THEN_NOTIFY, false),
      m_frameSize(kCorner),
      m_upgradeStatus(0)
{
    m_hAlign = kAlignCentre;
}

void UpgradeButton::SetUpgradeStatus(int status)
{
    if (status == m_upgradeStatus)
        return;
    m_upgradeStatus = status;
    UpdateControl(1, 0);
}

void UpgradeButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    std::unique_ptr<ControlFont> badgeFont;
    DrawStateCells(*this, dc, m_hMemDC, kPushCells, m_state, [&](const StateCell& cell) {
        if (m_pImage)
        {
            if (m_frameWidth == cell.width && m_frameHeight == cell.height)
                MRender::DrawImagePart(cell.graphics, m_pImage,
                                       Gdiplus::Rect(cell.left, 0, m_frameWidth, m_frameHeight),
                                       m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight);
            else
                MRender::DrawImageFrame(cell.graphics, m_pImage,
                                        CRect(cell.left, 0, cell.left + cell.width, cell.height),
                                        m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight, m_frameSize);
        }
        if (!m_title.IsEmpty())
            DrawCellTitle(cell, m_title, font.Get(cell), m_textHint, m_textColor);
        if (m_upgradeStatus == 0)
            return;
        if (!badgeFont)
            badgeFont = std::make_unique<ControlFont>(*this, kBadgeFontSize, m_fontStyle);
        cell.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        Gdiplus::SolidBrush red{Gdiplus::Color(kBadgeArgb)};
        cell.graphics.FillEllipse(&red, cell.left + cell.width - kBadgeSize, 0, kBadgeSize, kBadgeSize);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        DrawText(cell.graphics, kBadgeText, badgeFont->Get(),
                 cell.Box(static_cast<float>(cell.width - kBadgeSize + 1), 1.0f, static_cast<float>(kBadgeSize),
                          static_cast<float>(kBadgeSize)),
                 *format, m_textColor);
    }, [&](int index) { return CellTitleLook(index, !m_title.IsEmpty(), m_textColor, m_pImage != nullptr); });
}

} // namespace VREL
