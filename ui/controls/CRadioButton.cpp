#include "ui/controls/CheckButtons.h"

#include "ui/controls/GroupSiblings.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCRadioButton(
    MakeControlClass<CRadioButton, ControlForm::TitleVisibleEnabled>(L"CRadioButton"));
const ControlRegistrar kRegisterCRadioButton2(
    MakeControlClass<CRadioButton2, ControlForm::TitleVisibleEnabled>(L"CRadioButton2"));
const ControlRegistrar kRegisterKeyLayerButton(
    MakeControlClass<KeyLayerButton, ControlForm::TitleVisibleOne>(L"KeyLayerButton"));
const ControlRegistrar kRegisterCSelectButton(
    MakeControlClass<CSelectButton, ControlForm::TitleVisibleEnabled>(L"CSelectButton"));

constexpr int kCheckCells = 8;
constexpr int kSelectCells = 4;
constexpr Gdiplus::ARGB kWhiteArgb = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kDimWhiteArgb = 0xC8FFFFFF;
constexpr Gdiplus::ARGB kSelectTextArgb = 0xFEFFFFFF;
constexpr wchar_t kKeyLayerGroup[] = L"KeyLayerButton";

} // namespace

CRadioButton::CRadioButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : CCheckButton(owner, id, rect, title, visible, enabled)
{
}

const wchar_t* CRadioButton::GetClassNameW() const { return L"RadioButton"; }

CRadioButton::GroupRule CRadioButton::GetGroupRule() const { return GroupRule{true, false}; }

void CRadioButton::SetControlCheck(int check)
{
    m_check = check;
    m_state = Look(LOOK_IDLE);
    UpdateControl(0, 0);
}

void CRadioButton::SetGroupName(const wchar_t* name) { m_groupName = name; }

int CRadioButton::ResetGroupCheck()
{
    if (!m_pOwner)
        return 0;
    const GroupRule rule = GetGroupRule();
    const wchar_t* className = GetClassNameW();
    for (MControl* sibling : GroupSiblings::Of(*this, rule.lookInDialog))
    {
        if (sibling == this || !sibling->IsClass(className))
            continue;
        if (rule.liveMembersOnly && !(sibling->IsVisible() && sibling->IsEnabled()))
            continue;
        auto* member = dynamic_cast<CRadioButton*>(sibling);
        if (!member || member->m_groupName != m_groupName)
            continue;
        member->SetControlCheck(0);
    }
    return 1;
}

int CRadioButton::ToggledCheck() const { return 1; }

void CRadioButton::AfterCheckSet() { ResetGroupCheck(); }

void CRadioButton::DrawControl(HDC& dc, CRect)
{
    DrawStripWithTitle(dc, &CRadioButton::DrawAlignedTitleBesideStrip, Gdiplus::Color(kDisabledTextArgb));
}

// ---- CRadioButton2 ------------------------------------------------------------------------

CRadioButton2::CRadioButton2(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : CRadioButton(owner, id, rect, title, visible, enabled)
{
}

const wchar_t* CRadioButton2::GetClassNameW() const { return L"RadioButton2"; }

void CRadioButton2::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    const Gdiplus::Color white(kWhiteArgb), grey(kDisabledTextArgb);
    const Gdiplus::Color colours[kCheckCells] = {m_textColor, white, white, grey,
                                                 white,       m_textColor, m_textColor, grey};
    DrawStateCells(
        *this, dc, m_hMemDC, kCheckCells, m_state,
        [&](const StateCell& cell) {
            DrawStripFrame(cell.graphics, m_pImage,
                           Gdiplus::Rect(cell.left, (cell.height - m_frameHeight) / 2, cell.width, m_frameHeight),
                           m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight);
            if (m_title.IsEmpty())
                return;
            DrawCentredTitle(cell, font.Get(cell), colours[cell.index]);
        },
        [&](int index) {
            return CellLook(m_title.IsEmpty() ? 0 : colours[index].GetValue(), 0, m_pImage ? index : -1);
        });
}

// ---- KeyLayerButton -----------------------------------------------------------------------

KeyLayerButton::KeyLayerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : CRadioButton(owner, id, rect, title, visible, enabled)
{
    m_groupName = kKeyLayerGroup;
}

const wchar_t* KeyLayerButton::GetClassNameW() const { return L"KeyLayerButton"; }

void KeyLayerButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    const Gdiplus::Color dim(kDimWhiteArgb), select = Manager::GetSelectColor();
    const Gdiplus::Color colours[kCheckCells] = {Gdiplus::Color(kWhiteArgb), dim, dim, dim, select, select, dim, dim};
    DrawStateCells(
        *this, dc, m_hMemDC, kCheckCells, m_state,
        [&](const StateCell& cell) {
            // The layer tabs show their text alone, whatever strip they were given.
            if (m_title.IsEmpty())
                return;
            DrawCentredTitle(cell, font.Get(cell), colours[cell.index]);
        },
        [&](int index) { return CellLook(m_title.IsEmpty() ? 0 : colours[index].GetValue()); });
}

// ---- CSelectButton ------------------------------------------------------------------------

CSelectButton::CSelectButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : CRadioButton(owner, id, rect, title, visible, enabled)
{
    m_frameCount = kSelectCells;
    SetTextColor(Gdiplus::Color(kSelectTextArgb));
}

const wchar_t* CSelectButton::GetClassNameW() const { return L"CSelectButton"; }

BUTTON_STATE CSelectButton::Look(PointerLook look) const
{
    if (look == LOOK_DISABLED)
        return BUTTON_STATE_DISABLED;
    // The pressed cell is the checked look, whatever the pointer does.
    if (m_check)
        return BUTTON_STATE_PRESSED;
    return look;
}

int CSelectButton::CellCount() const { return kSelectCells; }

CRadioButton::GroupRule CSelectButton::GetGroupRule() const { return GroupRule{false, true}; }

// The radio button's drawing over the selector's four cells.
void CSelectButton::DrawControl(HDC& dc, CRect paint) { CRadioButton::DrawControl(dc, paint); }

} // namespace VREL
