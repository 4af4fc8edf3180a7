#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMImageButton(
    MakeControlClass<MImageButton, ControlForm::VisibleOne>(L"MImageButton"));

constexpr int kPushCells = 4;
constexpr Gdiplus::ARGB kFillArgb = 0xFFCDCDCD;
constexpr Gdiplus::ARGB kFrameArgb = 0xFF3F4440;
constexpr float kFrameRadius = 2.0f;
constexpr float kFrameWidth = 1.0f;
constexpr UINT kSpaceKey = VK_SPACE;

} // namespace

MImageButton::MImageButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, L"", visible, enabled, REPAINT_THEN_NOTIFY, true),
      m_hoverFill(kFillArgb),
      m_hoverFrame(kFrameArgb),
      m_downFill(kFillArgb),
      m_downFrame(kFrameArgb)
{
}

void MImageButton::SetHoverColor(Gdiplus::Color fill, Gdiplus::Color frame)
{
    m_hoverFill = fill;
    m_hoverFrame = frame;
}

void MImageButton::SetDownColor(Gdiplus::Color fill, Gdiplus::Color frame)
{
    m_downFill = fill;
    m_downFrame = frame;
}

void MImageButton::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kPushCells, m_state, [&](const StateCell& cell) {
        if (cell.index == BUTTON_STATE_HOVER || cell.index == BUTTON_STATE_PRESSED)
        {
            const bool hover = cell.index == BUTTON_STATE_HOVER;
            MRender::DrawRoundRectange(cell.graphics, static_cast<float>(cell.left + 1), 1.0f,
                                       static_cast<float>(cell.width - 2), static_cast<float>(cell.height - 2),
                                       kFrameRadius, hover ? m_hoverFrame : m_downFrame, kFrameWidth,
                                       hover ? m_hoverFill : m_downFill);
        }
        if (!m_pImage)
            return;
        const int left = (cell.width - m_frameWidth) / 2;
        const int top = (cell.height - m_frameHeight) / 2;
        m_imageRect = CRect(left, top, left + m_frameWidth, top + m_frameHeight);
        MRender::DrawImagePart(cell.graphics, m_pImage,
                               Gdiplus::Rect(cell.left + left, top, m_frameWidth, m_frameHeight), 0, 0, m_frameWidth,
                               m_frameHeight);
    }, [&](int index) {
        // The normal and the disabled cell show the bare image.
        return CellLook(0, 0, index == BUTTON_STATE_DISABLED ? BUTTON_STATE_NORMAL : index);
    });
}

int MImageButton::OnControlKeyDown(UINT key, UINT, UINT modifiers)
{
    if (!IsFocused() || key != kSpaceKey || modifiers != 0)
        return 0;
    SendMessageW(NC_PRESSED, 0, 0);
    SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

} // namespace VREL
