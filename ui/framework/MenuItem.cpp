#include "ui/framework/MenuItem.h"

#include <memory>
#include <utility>

#include "ui/framework/ControlFactory.h"
#include "ui/framework/MenuWnd.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMenuItem(
    MakeControlClass<MenuItem, ControlForm::TitleVisibleOne>(L"MenuItem"));

const wchar_t kClassName[] = L"MenuItem";
const wchar_t kDefaultFont[] = L"Segoe UI";
constexpr int kDefaultFontSize = 9;
constexpr int kDefaultTextInset = 30;
constexpr UINT kAlignVCentre = 4;
constexpr UINT kAlignVBottom = 8;
constexpr int kFrames = 4;
constexpr Gdiplus::ARGB kOutlineColor = 0xFF808788;
constexpr Gdiplus::REAL kOutlineWidth = 2.0f;
// No wrap, trailing spaces measured.
constexpr INT kFormatFlags = 0x1800;

} // namespace

MenuItem::MenuItem(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1), m_state(ROW_NORMAL), m_check(0), m_pressed(0),
      m_separator(0), m_popup(0), m_pPopupMenu(nullptr), m_textInset(kDefaultTextInset), m_frameWidth(0),
      m_groupName(L"Menu Group")
{
    m_fontName = kDefaultFont;
    m_fontSize = kDefaultFontSize;
    SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    m_vAlign = kAlignVCentre;
}

MenuItem::~MenuItem()
{
    if (m_pPopupMenu && m_pPopupMenu->GetSafeHwnd() && ::IsWindow(m_pPopupMenu->GetSafeHwnd()))
        m_pPopupMenu->CloseWindow();
}

const wchar_t* MenuItem::GetClassNameW() const { return kClassName; }

// ---- drawing --------------------------------------------------------------------------------------

void MenuItem::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    if (!GetUpdate() || !m_hMemDC)
    {
        LookInputs inputs;
        inputs.Add(m_title).Add(m_fontName).Add(m_fontSize).Add(m_fontStyle).Add(m_textHint);
        inputs.Add(m_vAlign).Add(m_textColor).Add(m_textInset);
        if (!m_kept.Restore(*this, dc, m_hMemDC, kFrames, std::move(inputs)))
        {
            Render(dc, width, height);
            m_kept.Rendered(m_hMemDC);
        }
    }
    if (!m_hMemDC)
        return;
    const int frame = (m_state >= 0 && m_state < kFrames) ? m_state : ROW_NORMAL;
    ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hMemDC, frame * width, 0, SRCCOPY);
}

// Four looks side by side over what lies under the row: normal, hover
// (outlined), pressed (outlined), disabled (as normal). The pressed and the
// disabled look are copies of the hover and the normal one: text costs far
// more than a copy.
void MenuItem::Render(HDC& dc, int width, int height)
{
    UpdateMemDC(dc, kFrames * width, height);
    if (!m_hMemDC)
        return;
    for (int i = 0; i < kFrames; ++i)
        ::BitBlt(m_hMemDC, i * width, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
    RenderDrawnLooks(width, height);
    ::BitBlt(m_hMemDC, ROW_PRESSED * width, 0, width, height, m_hMemDC, ROW_HOVER * width, 0, SRCCOPY);
    ::BitBlt(m_hMemDC, ROW_DISABLED * width, 0, width, height, m_hMemDC, ROW_NORMAL * width, 0, SRCCOPY);
}

void MenuItem::RenderDrawnLooks(int width, int height)
{
    Gdiplus::Graphics graphics(m_hMemDC);
    const Gdiplus::Pen outline(Gdiplus::Color(kOutlineColor), kOutlineWidth);
    graphics.DrawRectangle(&outline, ROW_HOVER * width + 1, 1, width - 2, height - 2);

    if (m_title.IsEmpty())
        return;
    std::unique_ptr<Gdiplus::FontFamily> ownFamily;
    Gdiplus::FontFamily* family = GetFontFamily(m_fontName);
    if (!family)
    {
        ownFamily.reset(MRender::CreateFontFamily(m_fontName));
        family = ownFamily.get();
    }
    const Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle, Gdiplus::UnitPixel);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(m_textHint);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(m_vAlign == kAlignVCentre   ? Gdiplus::StringAlignmentCenter
                            : m_vAlign == kAlignVBottom ? Gdiplus::StringAlignmentFar
                                                        : Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(kFormatFlags);
    const Gdiplus::SolidBrush brush(m_textColor);
    for (int i : {ROW_NORMAL, ROW_HOVER})
    {
        const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(i * width + m_textInset), 0.0f,
                                 static_cast<Gdiplus::REAL>(width - m_textInset), static_cast<Gdiplus::REAL>(height));
        graphics.DrawString(m_title.GetString(), m_title.GetLength(), &font, box, &format, &brush);
    }
}

// ---- state and input -------------------------------------------------------------------------------

void MenuItem::SetControlEnabled(int enabled)
{
    m_bEnabled = enabled;
    m_state = enabled ? RestingState() : ROW_DISABLED;
    // The row changes its look either way; its cells are rendered afresh.
    if (m_bVisible)
        UpdateControl(1, 0);
}

void MenuItem::SetControlCheck(int check)
{
    m_check = check;
    m_state = RestingState();
    if (m_bVisible)
        UpdateControl(0, 0);
}

int MenuItem::SetCheck(int) { return 0; }

int MenuItem::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_pressed)
        return 0;
    const int state = m_rect.PtInRect(pt) ? ROW_HOVER : ROW_NORMAL;
    if (state == m_state)
        return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

int MenuItem::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    m_pressed = 1;
    m_state = ROW_PRESSED;
    return 1;
}

int MenuItem::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
    {
        m_pressed = 0;
        return 0;
    }
    m_pressed = 0;
    if (!m_rect.PtInRect(pt))
    {
        m_state = RestingState();
        return 0;
    }
    // Only a press in the row changes the state here, so only a press and
    // release inside it counts as a click.
    if (m_state == ROW_HOVER)
        return 0;
    m_state = ROW_HOVER;
    UpdateControl(0, 0);
    if (m_pOwner)
        m_pOwner->OnBaseMessage(m_id, NC_CLICKED, 0, 0);
    return 1;
}

} // namespace VREL
