#include "ui/controls/CheckButtons.h"

#include <utility>

#include "ui/controls/GroupSiblings.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCColorButton(
    MakeControlClass<CColorButton, ControlForm::VisibleEnabled>(L"CColorButton"));

constexpr int kSwatchCells = 4;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr wchar_t kClassName[] = L"ColorButton";
// The bordered swatch: a light rim, a dark ring, then the colour.
constexpr COLORREF kRimColour = 0xEBEBEB;
constexpr COLORREF kRingColour = 0x050505;
constexpr int kRingInset = 1;
constexpr int kSwatchInset = 3;
// The rounded swatch: an outline of 2 pixels, grey at rest and in the
// hover colour otherwise.
constexpr float kRoundRadius = 4.0f;
constexpr float kOutlineWidth = 2.0f;
constexpr Gdiplus::ARGB kRestOutlineArgb = 0xFFB4B4B4;
constexpr Gdiplus::ARGB kActiveOutlineArgb = 0xFFFDB637;
constexpr BYTE kOpaque = 0xFF;

} // namespace

CColorButton::CColorButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, L"", visible, enabled, REPAINT_THEN_NOTIFY, true),
      m_color(kWhite),
      m_check(0),
      m_bBorder(false)
{
    m_pointerRepaints = false;
}

const wchar_t* CColorButton::GetClassNameW() const { return kClassName; }

int CColorButton::SetCheck(int check)
{
    if (!m_bEnabled)
        return m_check;
    const bool changed = check != m_check;
    m_check = check;
    m_state = check ? BUTTON_STATE_PRESSED : BUTTON_STATE_NORMAL;
    if (changed)
    {
        ResetGroupCheck();
        UpdateControl(0, 0);
    }
    return m_check;
}

void CColorButton::SetControlCheck(int check)
{
    m_check = check;
    m_state = check ? BUTTON_STATE_PRESSED : BUTTON_STATE_NORMAL;
    UpdateControl(0, 0);
}

void CColorButton::SetGroupName(const wchar_t* name) { m_groupName = name; }

int CColorButton::ResetGroupCheck()
{
    if (!m_pOwner)
        return 0;
    for (MControl* sibling : GroupSiblings::Of(*this, false))
    {
        if (sibling == this || !sibling->IsClass(kClassName) || !sibling->IsVisible() || !sibling->IsEnabled())
            continue;
        auto* member = dynamic_cast<CColorButton*>(sibling);
        if (!member || member->m_groupName != m_groupName)
            continue;
        member->SetControlCheck(0);
    }
    return 1;
}

void CColorButton::SetColor(COLORREF colour)
{
    if (colour == m_color)
        return;
    m_color = colour;
    UpdateControl(1, 0);
}

void CColorButton::DrawControl(HDC& dc, CRect)
{
    const int shown = m_check ? BUTTON_STATE_PRESSED : m_state;
    LookInputs inputs;
    inputs.Add(m_color).Add(m_bBorder);
    DrawKeptStateCells(*this, dc, m_hMemDC, m_kept, std::move(inputs), kSwatchCells, shown, [&](const StateCell& cell) {
        cell.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (m_bBorder)
        {
            const COLORREF layers[] = {kRimColour, kRingColour, m_color};
            const int insets[] = {0, kRingInset, kSwatchInset};
            for (int k = 0; k < 3; ++k)
            {
                Gdiplus::SolidBrush brush(ColorFromRef(layers[k], kOpaque));
                cell.graphics.FillRectangle(&brush, cell.left + insets[k], insets[k], cell.width - 2 * insets[k],
                                            cell.height - 2 * insets[k]);
            }
            return;
        }
        const Gdiplus::Color outline(cell.index == 0 ? kRestOutlineArgb : kActiveOutlineArgb);
        MRender::DrawRoundRectange(cell.graphics, static_cast<float>(cell.left + 1), 1.0f,
                                   static_cast<float>(cell.width - 3), static_cast<float>(cell.height - 3),
                                   kRoundRadius, outline, kOutlineWidth, ColorFromRef(m_color, kOpaque));
    }, [&](int index) {
        // Bordered, every cell is the same; rounded, the resting cell alone
        // has its own outline.
        return CellLook(m_bBorder || index == 0 ? 0 : 1);
    });
}

// Unlike the push buttons, the swatch takes the flag again when it is
// unchanged: enabling an enabled swatch brings back its normal look.
void CColorButton::SetControlEnabled(int enabled)
{
    MControl::SetControlEnabled(enabled);
    m_state = enabled ? BUTTON_STATE_NORMAL : BUTTON_STATE_DISABLED;
    UpdateControl(0, 0);
}

void CColorButton::BeforePress()
{
    m_check = 1;
    ResetGroupCheck();
}

} // namespace VREL
