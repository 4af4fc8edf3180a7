#include <iterator>

#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCColorSelect(MakeControlClass<CColorSelect, ControlForm::Visible>(L"CColorSelect"));

// Red, green, blue, yellow, magenta, cyan and white.
constexpr COLORREF kColours[CColorSelect::kSwatchCount] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                                           0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr int kWhite = 6;
const wchar_t kGroup[] = L"clr_palette_group";
constexpr int kTop = 5;
constexpr int kPitch = 25;
constexpr int kSize = 20;

CRect SwatchRect(const CRect& r, int k)
{
    return CRect(r.left, r.top + kTop + kPitch * k, r.left + kSize, r.top + kTop + kPitch * k + kSize);
}

} // namespace

CColorSelect::CColorSelect(MObject* owner, UINT id, CRect rect, int visible)
    : CColorPanelBase(owner, id, rect, visible), m_pSwatches{}
{
}

CColorSelect::~CColorSelect() = default;

void CColorSelect::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    for (int k = 0; k < kSwatchCount; ++k)
    {
        MControl* made = CreateControl(L"CColorButton", kFirstSwatch + k, SwatchRect(m_rect, k), nullptr, 1, 1);
        CColorButton* swatch = dynamic_cast<CColorButton*>(made);
        m_pSwatches[k] = swatch;
        if (!swatch)
            continue;
        swatch->SetColor(kColours[k]);
        swatch->SetGroupName(kGroup);
        if (k == kWhite)
            swatch->SetVisibleBorder(true);
    }
}

void CColorSelect::PlaceChildren(const CRect& rect)
{
    for (int k = 0; k < kSwatchCount; ++k)
        if (m_pSwatches[k])
            m_pSwatches[k]->SetRect(SwatchRect(rect, k));
}

std::vector<MControl*> CColorSelect::EnabledChildren() const
{
    return std::vector<MControl*>(std::begin(m_pSwatches), std::end(m_pSwatches));
}

LRESULT CColorSelect::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (id >= kFirstSwatch && id < kFirstSwatch + kSwatchCount && code == NC_PRESSED)
    {
        for (int k = 0; k < kSwatchCount; ++k)
        {
            CColorButton* swatch = m_pSwatches[k];
            if (!swatch || !swatch->GetCheck())
                continue;
            const COLORREF colour = swatch->GetColor();
            if (colour != 0 && m_pOwner)
                m_pOwner->OnBaseMessage(m_id, NC_COLOR, static_cast<WPARAM>(k), static_cast<LPARAM>(colour));
            break;
        }
    }
    return MPanel::OnMessage(id, code, wParam, lParam);
}

void CColorSelect::SetColorIndex(int index)
{
    if (index >= 0 && index < kSwatchCount)
    {
        if (m_pSwatches[index])
            m_pSwatches[index]->SetCheck(1);
    }
    else if (index == -1)
    {
        for (CColorButton* swatch : m_pSwatches)
            if (swatch)
                swatch->SetCheck(0);
    }
}

CColorButton* CColorSelect::GetSwatch(int index) const
{
    return index >= 0 && index < kSwatchCount ? m_pSwatches[index] : nullptr;
}

} // namespace VREL
