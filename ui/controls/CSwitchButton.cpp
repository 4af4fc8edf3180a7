#include "ui/controls/CheckButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCSwitchButton(
    MakeControlClass<CSwitchButton, ControlForm::VisibleEnabled>(L"CSwitchButton"));

constexpr int kSwitchCells = 4;
constexpr UINT kAlignMiddle = 4;

} // namespace

CSwitchButton::CSwitchButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_state(BUTTON_STATE_NORMAL),
      m_checkedFrameWidth(0),
      m_checkedFrameHeight(0),
      m_uncheckedFrameWidth(0),
      m_uncheckedFrameHeight(0),
      m_check(0),
      m_bHeld(0)
{
    SetTabStop(1);
    m_vAlign = kAlignMiddle;
}

CSwitchButton::~CSwitchButton() = default;

int CSwitchButton::SetImage(const wchar_t* checkedFile, const wchar_t* uncheckedFile, int count)
{
    count = ValidFrameCount(count);
    const CString folder = GetSkinFolder();
    auto load = [&](const wchar_t* file, std::unique_ptr<Gdiplus::Image>& image, int& width, int& height) {
        image.reset(MRender::LoadImageFromFile(folder + file));
        width = image ? static_cast<int>(image->GetWidth() / static_cast<UINT>(count)) : 0;
        height = image ? static_cast<int>(image->GetHeight()) : 0;
    };
    load(checkedFile, m_pCheckedImage, m_checkedFrameWidth, m_checkedFrameHeight);
    load(uncheckedFile, m_pUncheckedImage, m_uncheckedFrameWidth, m_uncheckedFrameHeight);
    m_frameCount = count;
    return 1;
}

int CSwitchButton::SetCheck(int check)
{
    const bool changed = check != m_check;
    m_check = check;
    m_state = BUTTON_STATE_NORMAL;
    if (changed)
        UpdateControl(1, 0);
    return check;
}

void CSwitchButton::DrawControl(HDC& dc, CRect)
{
    Gdiplus::Image* image = m_check ? m_pCheckedImage.get() : m_pUncheckedImage.get();
    const int frameWidth = m_check ? m_checkedFrameWidth : m_uncheckedFrameWidth;
    const int frameHeight = m_check ? m_checkedFrameHeight : m_uncheckedFrameHeight;
    DrawStateCells(*this, dc, m_hMemDC, kSwitchCells, m_state, [&](const StateCell& cell) {
        if (!image)
            return;
        MRender::DrawImagePart(cell.graphics, image,
                               Gdiplus::Rect(cell.left, (cell.height - frameHeight) / 2, frameWidth, frameHeight),
                               frameWidth * cell.index, 0, frameWidth, frameHeight);
    });
}

// Unlike the push buttons, the switch takes the flag again when it is
// unchanged: enabling an enabled switch brings back its normal look.
void CSwitchButton::SetControlEnabled(int enabled)
{
    MControl::SetControlEnabled(enabled);
    m_state = enabled ? BUTTON_STATE_NORMAL : BUTTON_STATE_DISABLED;
    UpdateControl(0, 0);
}

int CSwitchButton::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_bHeld)
        return 0;
    const BUTTON_STATE next = m_rect.PtInRect(pt) ? BUTTON_STATE_HOVER : BUTTON_STATE_NORMAL;
    if (next == m_state)
        return 0;
    m_state = next;
    UpdateControl(0, 0);
    return 1;
}

int CSwitchButton::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    m_bHeld = 1;
    if (m_state == BUTTON_STATE_HOVER)
        return 0;
    m_state = BUTTON_STATE_HOVER;
    UpdateControl(1, 0);
    return 1;
}

int CSwitchButton::OnControlLButtonUp(UINT, CPoint pt)
{
    const int held = m_bHeld;
    m_bHeld = 0;
    if (!m_bEnabled)
        return 0;
    if (!m_rect.PtInRect(pt))
    {
        if (m_state == BUTTON_STATE_NORMAL)
            return 0;
        m_state = BUTTON_STATE_NORMAL;
        UpdateControl(0, 0);
        return 1;
    }
    if (!held)
        return 0;
    m_check = m_check ? 0 : 1;
    SendMessageW(NC_CLICKED, 0, m_check);
    UpdateControl(1, 0);
    return 1;
}

} // namespace VREL
