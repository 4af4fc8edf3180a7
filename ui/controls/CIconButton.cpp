#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCIconButton(
    MakeControlClass<CIconButton, ControlForm::TitleVisibleEnabled>(L"CIconButton"));

constexpr int kPushCells = 4;
constexpr Gdiplus::ARGB kWhiteArgb = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kDisabledArgb = 0xFF323232;

} // namespace

CIconButton::CIconButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(owner, id, rect, title, visible, enabled),
      m_lookColours{Gdiplus::Color(kWhiteArgb), Gdiplus::Color(kWhiteArgb), Gdiplus::Color(kDisabledArgb)}
{
    SetTextColor(Gdiplus::Color(kWhiteArgb));
    m_cursorOnDown = false;
}

void CIconButton::SetTextRect(CRect text, CRect icon)
{
    m_textRect = text;
    m_iconRect = icon;
}

void CIconButton::SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                                     Gdiplus::Color disabled)
{
    SetTextColor(normal);
    m_lookColours = {hover, down, disabled};
}

void CIconButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    const bool framePerCell = m_pImage || (m_pIcon && m_iconFrameCount != 1);
    DrawStateCells(
        *this, dc, m_hMemDC, kPushCells, m_state,
        [&](const StateCell& cell) {
            DrawSkinCell(cell, cell.index);
            // An untitled icon button shows its skin alone.
            if (m_title.IsEmpty())
                return;
            if (m_pIcon)
            {
                const int iconFrame = m_iconFrameCount == 1 ? 0 : cell.index;
                MRender::DrawImagePart(cell.graphics, m_pIcon.get(),
                                       Gdiplus::Rect(cell.left + m_iconRect.left, (cell.height - m_iconHeight) / 2,
                                                     m_iconFrameWidth, m_iconHeight),
                                       m_iconFrameWidth * iconFrame, 0, m_iconFrameWidth, m_iconHeight);
            }
            const auto format =
                MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
            cell.graphics.SetTextRenderingHint(m_textHint);
            DrawText(cell.graphics, m_title, font.Get(cell),
                     cell.Box(static_cast<float>(m_textRect.left + 1), static_cast<float>(m_textRect.top + 1),
                              static_cast<float>(m_textRect.Width()), static_cast<float>(m_textRect.Height())),
                     *format, m_lookColours.Of(cell.index, m_textColor));
        },
        [&](int index) {
            return CellLook(m_title.IsEmpty() ? 0 : m_lookColours.Of(index, m_textColor).GetValue(), 0, framePerCell ? index : -1);
        });
}

} // namespace VREL
