#include "ui/controls/PushButtons.h"

#include <utility>

#include "ui/controls/ButtonBalloon.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCImageButton(
    MakeControlClass<CImageButton, ControlForm::TitleVisibleEnabled>(L"CImageButton"));

constexpr int kPushCells = 4;
// The rounded frame of a one-image button on hover and press.
constexpr int kFrameInset = 3;
constexpr float kFrameRounding = 6.0f;
constexpr float kFrameWidth = 1.0f;

} // namespace

CImageButton::CImageButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(owner, id, rect, title, visible, enabled), m_balloonMode(AIRBLADDER_MODE_NONE)
{
}

void CImageButton::DrawControl(HDC& dc, CRect)
{
    LookInputs inputs;
    inputs.Add(m_pImage).Add(m_frameCount).Add(m_frameWidth).Add(m_frameHeight);
    if (m_frameCount <= 1)
        inputs.Add(Manager::GetDownColor()).Add(Manager::GetNormalColor());
    DrawKeptStateCells(*this, dc, m_hMemDC, m_kept, std::move(inputs), kPushCells, m_state, [&](const StateCell& cell) {
        if (!m_pImage)
            return;
        if (m_frameCount > 1)
        {
            MRender::DrawImagePart(cell.graphics, m_pImage,
                                   Gdiplus::Rect(cell.left, 0, m_frameWidth, m_frameHeight),
                                   m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight);
            return;
        }
        if (cell.index == BUTTON_STATE_HOVER || cell.index == BUTTON_STATE_PRESSED)
        {
            MRender::DrawRoundRectange(cell.graphics, static_cast<float>(cell.left + kFrameInset),
                                       static_cast<float>(kFrameInset),
                                       static_cast<float>(cell.width - 2 * kFrameInset),
                                       static_cast<float>(cell.height - 2 * kFrameInset), kFrameRounding,
                                       Manager::GetDownColor(), kFrameWidth, true, Manager::GetNormalColor());
        }
        const int left = (cell.width - m_frameWidth) / 2;
        const int top = (cell.height - m_frameHeight) / 2;
        MRender::DrawImagePart(cell.graphics, m_pImage,
                               Gdiplus::Rect(cell.left + left, top, m_frameWidth, m_frameHeight), 0, 0, m_frameWidth,
                               m_frameHeight);
    }, [&](int index) {
        // One frame: the hover and the pressed cell share the framed look,
        // the others the bare image.
        if (m_frameCount > 1)
            return CellLook(0, 0, index);
        return CellLook(0, index == BUTTON_STATE_HOVER || index == BUTTON_STATE_PRESSED);
    });
}

int CImageButton::OnControlMouseMove(UINT flags, CPoint pt)
{
    const int changed = MButton::OnControlMouseMove(flags, pt);
    if (!changed || m_balloonMode == AIRBLADDER_MODE_NONE || m_title.IsEmpty())
        return changed;
    if (m_state == BUTTON_STATE_HOVER)
    {
        CPoint anchor(0, m_rect.top + m_rect.Height() / 2);
        if (m_balloonMode == AIRBLADDER_MODE_RIGHT_BELOW)
            anchor.x = m_rect.right;
        else if (m_balloonMode == AIRBLADDER_MODE_LEFT)
            anchor.x = m_rect.left;
        ButtonBalloon::Show(m_pManager, m_title, anchor, m_balloonMode, 0);
    }
    else
    {
        ButtonBalloon::Hide(m_pManager, 0);
    }
    return changed;
}

} // namespace VREL
