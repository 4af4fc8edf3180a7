#include "ui/controls/CheckButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCCheckButton(
    MakeControlClass<CCheckButton, ControlForm::TitleVisibleEnabled>(L"CCheckButton"));
const ControlRegistrar kRegisterTextCheckButton(
    MakeControlClass<TextCheckButton, ControlForm::TitleVisibleOne>(L"TextCheckButton"));

constexpr int kCheckCells = 8;
constexpr UINT kAlignMiddle = 4;
constexpr UINT kSpaceKey = VK_SPACE;
// The title starts this far right of the strip frame.
constexpr int kTitleGap = 8;
constexpr Gdiplus::ARGB kGreyTextArgb = 0xFE808080;
constexpr Gdiplus::ARGB kTextCheckNormalArgb = 0xFEFFFFFF;
constexpr Gdiplus::ARGB kTextCheckHoverArgb = 0xFEC95100;

} // namespace

CCheckButton::CCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_state(BUTTON_STATE_NORMAL),
      m_check(0),
      m_bHeld(0),
      m_bFocus(0)
{
    SetTabStop(1);
    m_vAlign = kAlignMiddle;
    m_frameCount = kCheckCells;
}

BUTTON_STATE CCheckButton::Look(PointerLook look) const
{
    return (m_check ? BUTTON_STATE_CHECKED : BUTTON_STATE_NORMAL) + look;
}

int CCheckButton::CellCount() const { return kCheckCells; }

int CCheckButton::ChangeState(BUTTON_STATE state)
{
    if (state == m_state)
        return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

int CCheckButton::SetCheck(int check)
{
    if (!m_bEnabled)
        return m_check;
    const bool changed = check != m_check;
    m_check = check;
    m_state = Look(LOOK_IDLE);
    if (changed)
    {
        AfterCheckSet();
        UpdateControl(0, 0);
    }
    return m_check;
}

int CCheckButton::SetControlFocus(int focus)
{
    MControl::SetControlFocus(focus);
    if (!m_bVisible || !m_bEnabled)
        return 0;
    m_bFocus = focus;
    UpdateControl(1, 0);
    return 1;
}

void CCheckButton::SetControlEnabled(int enabled)
{
    if (enabled == m_bEnabled)
        return;
    MControl::SetControlEnabled(enabled);
    m_state = Look(enabled ? LOOK_IDLE : LOOK_DISABLED);
    UpdateControl(0, 0);
}

int CCheckButton::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_bHeld)
        return 0;
    return ChangeState(Look(m_rect.PtInRect(pt) ? LOOK_HOVER : LOOK_IDLE));
}

int CCheckButton::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    m_bHeld = 1;
    // A button the user pressed takes Space from then on.
    m_bFocus = 1;
    return ChangeState(Look(LOOK_HELD));
}

int CCheckButton::OnControlLButtonUp(UINT, CPoint pt)
{
    const int held = m_bHeld;
    m_bHeld = 0;
    if (!m_bEnabled)
        return 0;
    const bool inside = m_rect.PtInRect(pt) != 0;
    if (inside && held)
    {
        OnClick();
        // The owner may have disabled the button while it handled the click;
        // that look stands.
        if (!m_bEnabled)
            return 1;
    }
    return ChangeState(Look(inside ? LOOK_HOVER : LOOK_IDLE));
}

int CCheckButton::ToggledCheck() const { return m_check ? 0 : 1; }

void CCheckButton::OnClick()
{
    m_check = ToggledCheck();
    AfterCheckSet();
    SendMessageW(NC_CLICKED, 0, 0);
}

int CCheckButton::OnControlKeyDown(UINT key, UINT, UINT modifiers)
{
    if (!m_bFocus || key != kSpaceKey || modifiers != 0)
        return 0;
    OnSpaceKey();
    return 1;
}

void CCheckButton::OnSpaceKey()
{
    SetCheck(ToggledCheck());
    SendMessageW(NC_CHECK_CHANGED, 0, m_check);
}

int CCheckButton::TakeCachedStrip(const ImgResInfo* info, int count)
{
    if (!info)
        return 0;
    m_frameCount = count;
    m_pImage = info->image;
    m_frameWidth = info->frameWidth;
    m_frameHeight = info->frameHeight;
    return 1;
}

int CCheckButton::SetImage(UINT id, CString type, int count)
{
    count = ValidFrameCount(count);
    if (!m_pManager)
        return 0;
    return TakeCachedStrip(m_pManager->AddImgResInfo(id, type, count, 1), count);
}

int CCheckButton::SetImage(const wchar_t* file, int count)
{
    count = ValidFrameCount(count);
    if (!m_pManager)
        return 0;
    return TakeCachedStrip(m_pManager->AddImgResInfo(file, count), count);
}

void CCheckButton::DrawStripCell(const StateCell& cell) const
{
    if (!m_pImage)
        return;
    MRender::DrawImagePart(cell.graphics, m_pImage,
                           Gdiplus::Rect(cell.left, (cell.height - m_frameHeight) / 2, m_frameWidth, m_frameHeight),
                           m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight);
}

void CCheckButton::DrawTitleBesideStrip(const StateCell& cell, const Gdiplus::Font& font,
                                        Gdiplus::Color colour) const
{
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    cell.graphics.SetTextRenderingHint(m_textHint);
    DrawText(cell.graphics, m_title, font,
             cell.Box(static_cast<float>(m_frameWidth + kTitleGap), (cell.height - m_frameHeight) * 0.5f,
                      static_cast<float>(cell.width - m_frameWidth - kTitleGap), static_cast<float>(m_frameHeight)),
             *format, colour);
}

void CCheckButton::DrawAlignedTitleBesideStrip(const StateCell& cell, const Gdiplus::Font& font,
                                               Gdiplus::Color colour) const
{
    // Right of the room the measured text keeps from the control's edge.
    constexpr int kRightRoom = 3;
    constexpr int kTextDrop = 2;
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, kSingleLineFlags);
    const Gdiplus::Size measured = MRender::GetTextBounds(font, *format, m_title);
    const CPoint origin =
        MRender::GetOriginPoint(cell.width, cell.height, measured.Width, measured.Height, m_hAlign, m_vAlign);
    cell.graphics.SetTextRenderingHint(m_textHint);
    DrawText(cell.graphics, m_title, font,
             cell.Box(static_cast<float>(m_frameWidth + kTitleGap + origin.x), static_cast<float>(origin.y + kTextDrop),
                      static_cast<float>(cell.width - m_frameWidth - origin.x - kRightRoom),
                      static_cast<float>(measured.Height)),
             *format, colour);
}

void CCheckButton::DrawCentredTitle(const StateCell& cell, const Gdiplus::Font& font, Gdiplus::Color colour,
                                    float shift) const
{
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    cell.graphics.SetTextRenderingHint(m_textHint);
    DrawText(cell.graphics, m_title, font,
             cell.Box(shift, shift, static_cast<float>(cell.width), static_cast<float>(cell.height)), *format, colour);
}

void CCheckButton::DrawStripWithTitle(HDC& dc, TitleBesideStrip place, Gdiplus::Color grey)
{
    CellFont font(*this);
    auto colourOf = [&](int index) {
        const bool disabled = index == BUTTON_STATE_DISABLED || index == BUTTON_STATE_CHECKED_DISABLED;
        return disabled ? grey : m_textColor;
    };
    DrawStateCells(
        *this, dc, m_hMemDC, CellCount(), m_state,
        [&](const StateCell& cell) {
            DrawStripCell(cell);
            if (m_title.IsEmpty())
                return;
            (this->*place)(cell, font.Get(cell), colourOf(cell.index));
        },
        [&](int index) {
            return CellLook(m_title.IsEmpty() ? 0 : colourOf(index).GetValue(), 0, m_pImage ? index : -1);
        });
}

void CCheckButton::DrawControl(HDC& dc, CRect)
{
    DrawStripWithTitle(dc, &CCheckButton::DrawTitleBesideStrip, Gdiplus::Color(kGreyTextArgb));
}

// ---- TextCheckButton ----------------------------------------------------------------------

TextCheckButton::TextCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled)
    : CCheckButton(owner, id, rect, title, visible, enabled),
      m_lookColours{Gdiplus::Color(kTextCheckHoverArgb), Gdiplus::Color(kTextCheckHoverArgb),
                    Gdiplus::Color(kGreyTextArgb)}
{
    SetTextColor(Gdiplus::Color(kTextCheckNormalArgb));
}

void TextCheckButton::SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                                         Gdiplus::Color disabled)
{
    SetTextColor(normal);
    m_lookColours = {hover, down, disabled};
}

int TextCheckButton::SetImage(UINT id, CString type, int count)
{
    return MControlFont::SetImage(id, type, ValidFrameCount(count));
}

int TextCheckButton::SetImage(const wchar_t* file, int count)
{
    return MControlFont::SetImage(file, ValidFrameCount(count));
}

void TextCheckButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    const LookTextColours& c = m_lookColours;
    const Gdiplus::Color colours[kCheckCells] = {m_textColor, c.hover, c.down, c.disabled,
                                                 c.down,      c.hover, m_textColor, c.disabled};
    DrawStateCells(
        *this, dc, m_hMemDC, kCheckCells, m_state,
        [&](const StateCell& cell) {
            DrawStripCell(cell);
            if (m_title.IsEmpty())
                return;
            const float shift = cell.index == BUTTON_STATE_PRESSED ? 1.0f : 0.0f;
            DrawCentredTitle(cell, font.Get(cell), colours[cell.index], shift);
        },
        [&](int index) {
            return CellLook(m_title.IsEmpty() ? 0 : colours[index].GetValue(), index == BUTTON_STATE_PRESSED,
                            m_pImage ? index : -1);
        });
}

} // namespace VREL
