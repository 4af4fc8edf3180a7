#include "ui/lists/MEdit.h"

#include <algorithm>
#include <utility>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/CEditWnd.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMEdit(MakeControlClass<MEdit, ControlForm::TitleVisibleEnabled>(L"MEdit"));

constexpr Gdiplus::ARGB kFieldTextColour = 0xFE050505;
constexpr COLORREF kDefaultEditBack = 0x222527;
constexpr COLORREF kGreyText = 0x808080;
constexpr int kDefaultFrameCorner = 4;
constexpr int kDefaultIconFrames = 4;

// The cached look: one slot per visual state, side by side.
enum VisualState
{
    kStateNormal,
    kStateHover,
    kStateEditing,
    kStateDisabled,
    kSlotCount,
};

// The icon strip's frames.
enum IconFrame
{
    kIconNormal,
    kIconHover,
    kIconPressed,
};

// Text area: inside the control by 6 pixels left and right; multi-line by 5
// at top and bottom; an icon keeps 6 pixels of its own on its left.
constexpr int kTextSideInset = 6;
constexpr int kTextMultiLineInset = 5;
constexpr int kIconRightInset = 9;
// Font sizes whose single-line band is wider than the size itself.
constexpr int kSmallFont = 10, kSmallFontBand = 14;
constexpr int kLargeFont = 16, kLargeFontBand = 22;
// The native edit's fallback band sits one pixel lower than centred.
constexpr int kEditBandShift = 1;

constexpr UINT kAlignCentre = 1;

} // namespace

MEdit::MEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_tip(tip),
      m_bPassword(0),
      m_bMultiLine(0),
      m_bReadOnly(0),
      m_bNumberOnly(0),
      m_bCharsPassed(1),
      m_limit(NativeEdit::kDefaultLimit),
      m_passwordChar(NativeEdit::kDefaultPasswordChar),
      m_editBack(kDefaultEditBack),
      m_hEditFont(nullptr),
      m_visualState(enabled ? kStateNormal : kStateDisabled),
      m_frameCorner(kDefaultFrameCorner),
      m_iconFrameWidth(0),
      m_iconHeight(0),
      m_iconFrames(kDefaultIconFrames),
      m_bTextRectSet(0),
      m_iconState(kIconNormal),
      m_pEditWnd(nullptr)
{
    MControlFont::SetTextColor(Gdiplus::Color(kFieldTextColour));
    m_bTabStop = 1;
}

MEdit::~MEdit()
{
    // The native window's destroy handler repaints and clears its field;
    // the field is half gone by now, so the window is told first that it
    // has no field any more.
    if (CEditWnd* window = std::exchange(m_pEditWnd, nullptr))
        window->Discard();
    if (m_hEditFont)
        ::DeleteObject(m_hEditFont);
}

// ---- text ---------------------------------------------------------------------------------------

void MEdit::SetEditText(const wchar_t* text)
{
    if (!text || m_title == text)
        return;
    m_title = text;
}

CString MEdit::GetEditText() { return GetEditHwnd() ? NativeEdit::WindowText(*m_pEditWnd) : m_title; }

void MEdit::SetControlTitle(const wchar_t* title)
{
    if (!title || m_title == title)
        return;
    m_title = title;
    // The native edit's change handler then finds no difference and stays quiet.
    if (m_pEditWnd && m_pEditWnd->GetSafeHwnd())
        m_pEditWnd->SetWindowTextW(m_title);
    Repaint(1);
}

CString MEdit::GetControlTitle()
{
    HideEdit();
    return m_title;
}

// ---- geometry and icon ----------------------------------------------------------------------

void MEdit::SetTextRect(CRect rect)
{
    m_textRect = rect;
    m_bTextRectSet = 1;
}

CRect MEdit::GetTextRect() { return m_bTextRectSet ? m_textRect : CalcTextRect(1); }

CRect MEdit::CalcTextRect(int force)
{
    if (m_bTextRectSet || (!force && !m_textRect.IsRectNull()))
        return m_textRect;
    CRect rect(m_rect.left + kTextSideInset, m_rect.top, m_rect.right - kTextSideInset, m_rect.bottom);
    if (m_bMultiLine)
    {
        rect.top += kTextMultiLineInset;
        rect.bottom -= kTextMultiLineInset;
    }
    else
    {
        const int band = m_fontSize == kSmallFont ? kSmallFontBand : m_fontSize == kLargeFont ? kLargeFontBand
                                                                                                : m_fontSize;
        rect.top = m_rect.top + (m_rect.Height() - band) / 2;
        rect.bottom = rect.top + band;
    }
    if (m_pIcon)
        rect.right = m_rect.right - kTextSideInset - m_iconFrameWidth - kTextSideInset;
    m_textRect = rect;
    return m_textRect;
}

void MEdit::SetControlRect(CRect rect)
{
    m_rect = rect;
    // A text area worked out for the old rectangle no longer fits.
    if (!m_bTextRectSet)
        m_textRect.SetRectEmpty();
    if (m_pIcon)
        LayoutIcon();
}

int MEdit::SetIconImage(const wchar_t* file, int frames)
{
    Gdiplus::Image* image = MRender::LoadImageFromFile(GetSkinFolder() + (file ? file : L""));
    if (!image)
        return 0;
    m_pIcon.reset(image);
    m_iconFrames = std::max(frames, 1);
    m_iconFrameWidth = static_cast<int>(image->GetWidth()) / m_iconFrames;
    m_iconHeight = static_cast<int>(image->GetHeight());
    if (!m_rect.IsRectEmpty())
        LayoutIcon();
    return 1;
}

void MEdit::LayoutIcon()
{
    m_iconRect.right = m_rect.right - kIconRightInset;
    m_iconRect.left = m_iconRect.right - m_iconFrameWidth;
    m_iconRect.top = m_rect.top + (m_rect.Height() - m_iconHeight) / 2;
    m_iconRect.bottom = m_iconRect.top + m_iconHeight;
}

// ---- font and colours -----------------------------------------------------------------------

void MEdit::SetEditFont(const wchar_t* name, int size, bool bold, bool underline, bool italic)
{
    if (m_hEditFont)
        ::DeleteObject(m_hEditFont);
    const int style = (bold ? Gdiplus::FontStyleBold : 0) | (italic ? Gdiplus::FontStyleItalic : 0) |
                      (underline ? Gdiplus::FontStyleUnderline : 0);
    m_hEditFont = NativeEdit::MakeFont(name, size, style);
}

void MEdit::SetEditFont()
{
    const int style = static_cast<int>(m_fontStyle);
    SetEditFont(m_fontName, m_fontSize, (style & Gdiplus::FontStyleBold) != 0,
                (style & Gdiplus::FontStyleUnderline) != 0, (style & Gdiplus::FontStyleItalic) != 0);
}

HFONT MEdit::GetDefaultFont() { return NativeEdit::FontFor(m_hEditFont, *this); }

COLORREF MEdit::GetEditTextColor() const { return m_textColor.ToCOLORREF(); }

HWND MEdit::GetEditHwnd() { return InPlaceEdit::ShownHandle(m_pEditWnd); }

int MEdit::IsEditFocused()
{
    const HWND handle = GetEditHwnd();
    return handle && ::GetFocus() == handle ? 1 : 0;
}

// ---- editing --------------------------------------------------------------------------------------

CRect MEdit::EditWindowRect()
{
    CRect client = m_bTextRectSet ? m_textRect : CalcTextRect(1);
    if (client.IsRectEmpty())
        client = NativeEdit::FallbackRect(m_rect, m_fontSize, m_bMultiLine != 0, kEditBandShift);
    return client;
}

void MEdit::CreateEditWindow()
{
    if (!m_pEditWnd)
        m_pEditWnd = new CEditWnd(this);
    const DWORD style = NativeEdit::WindowStyle(NativeEdit::IsLayered(m_pManager), m_bMultiLine != 0, m_hAlign,
                                                m_bPassword != 0);
    if (!NativeEdit::Create(*m_pEditWnd, m_pManager, EditWindowRect(), style))
        return;
    NativeEdit::Setup setup;
    setup.font = GetDefaultFont();
    setup.limit = m_limit;
    setup.password = m_bPassword != 0;
    setup.passwordChar = m_passwordChar;
    setup.text = m_title;
    setup.enabled = m_bEnabled != 0;
    setup.readOnly = m_bReadOnly != 0;
    setup.numberOnly = m_bNumberOnly != 0;
    NativeEdit::Initialise(*m_pEditWnd, setup);
    m_pEditWnd->SetInitialised(1);
}

void MEdit::ShowEdit()
{
    if (m_bReadOnly || !m_bEnabled)
        return;
    if (m_pEditWnd && m_pEditWnd->GetSafeHwnd())
    {
        const CRect placed = NativeEdit::PlacementRect(m_pManager, EditWindowRect());
        m_pEditWnd->MoveWindow(&placed, TRUE);
    }
    else
    {
        CreateEditWindow();
    }
    if (!m_pEditWnd || !m_pEditWnd->GetSafeHwnd())
        return;
    m_pEditWnd->Present(m_title);
    m_bKeyFocus = 1;
    SendMessageW(NC_EDIT_BEGIN, 0, 0);
}

void MEdit::HideEdit()
{
    m_bKeyFocus = 0;
    InPlaceEdit::Conclude(m_pEditWnd, *this, m_title, [this] { Repaint(1); });
}

void MEdit::Repaint(int redraw)
{
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, redraw, this);
}

// ---- state changes ---------------------------------------------------------------------------------

int MEdit::SetControlFocus(int focus)
{
    if (!m_bEnabled)
        return 0;
    const int before = m_visualState;
    if (focus)
    {
        m_visualState = kStateEditing;
        ShowEdit();
    }
    else
    {
        m_visualState = kStateNormal;
        HideEdit();
    }
    if (m_visualState == before)
        return 0;
    Repaint(1);
    return 1;
}

void MEdit::SetControlEnabled(int enabled)
{
    enabled = enabled ? 1 : 0;
    if (enabled == m_bEnabled)
        return;
    // A disabled field takes no more typing.
    if (!enabled)
        HideEdit();
    m_bEnabled = enabled;
    m_visualState = enabled ? kStateNormal : kStateDisabled;
    Repaint(0);
}

int MEdit::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_visualState == kStateEditing)
        return 0;
    int visual = kStateNormal;
    int icon = kIconNormal;
    if (m_rect.PtInRect(pt))
    {
        visual = kStateHover;
        icon = (m_pIcon && m_iconRect.PtInRect(pt)) ? kIconHover : kIconNormal;
    }
    if (visual == m_visualState && icon == m_iconState)
        return 0;
    m_visualState = visual;
    m_iconState = icon;
    Repaint(0);
    return 1;
}

int MEdit::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int visual = m_visualState;
    const int icon = m_iconState;
    if (m_pIcon && m_iconRect.PtInRect(pt))
    {
        m_iconState = kIconPressed;
        HideEdit();
        SendMessageW(NC_ICON_OR_TAB, 0, 0);
    }
    else
    {
        m_visualState = kStateEditing;
        ShowEdit();
        SendMessageW(NC_PRESSED, 0, 0);
    }
    if (visual == m_visualState && icon == m_iconState)
        return 0;
    Repaint(0);
    return 1;
}

int MEdit::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const int visual = m_visualState;
    const int icon = m_iconState;
    const bool inside = m_rect.PtInRect(pt);
    if (inside)
    {
        if (m_pIcon && m_iconRect.PtInRect(pt))
        {
            m_iconState = kIconHover;
            HideEdit();
            SendMessageW(NC_ICON_CLICK, 0, 0);
        }
        else
        {
            m_iconState = kIconNormal;
        }
        m_visualState = kStateHover;
    }
    else
    {
        m_visualState = kStateNormal;
        m_iconState = kIconNormal;
    }
    const bool changed = visual != m_visualState || icon != m_iconState;
    if (changed)
        Repaint(0);
    if (inside && visual == kStateEditing)
        SendMessageW(NC_CLICKED, 0, 0);
    return changed ? 1 : 0;
}

int MEdit::OnControlKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    if (m_bEnabled && m_bKeyFocus && key == VK_SPACE && modifiers == 0)
    {
        SendMessageW(NC_PRESSED, 0, 0);
        SendMessageW(NC_CLICKED, 0, 0);
        return 1;
    }
    return MControlFont::OnControlKeyDown(key, repeat, modifiers);
}

// ---- drawing --------------------------------------------------------------------------------------

void MEdit::DrawControl(HDC& dc, CRect)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0)
        return;
    if (!m_bUpdate)
    {
        if (!PrepareStateCells(*this, dc, m_hMemDC, kSlotCount))
            return;
        if (m_pImage && m_frameWidth > 0)
        {
            Gdiplus::Graphics graphics(m_hMemDC);
            const int frames = std::max(m_frameCount, 1);
            for (int slot = 0; slot < kSlotCount; ++slot)
            {
                const int frame = std::min(slot, frames - 1);
                MRender::DrawImageFrame(graphics, m_pImage, CRect(slot * width, 0, (slot + 1) * width, height),
                                        frame * m_frameWidth, 0, m_frameWidth, m_frameHeight, m_frameCorner);
            }
        }
        DrawTextSlots(m_hMemDC, width, height);
    }
    ShowStateCell(*this, dc, m_hMemDC, kSlotCount, m_visualState);

    if (m_pIcon && m_iconFrameWidth > 0)
    {
        Gdiplus::Graphics graphics(dc);
        const int frame = std::min(m_iconState, m_iconFrames - 1);
        graphics.DrawImage(m_pIcon.get(),
                           Gdiplus::Rect(m_iconRect.left, m_iconRect.top, m_iconRect.Width(), m_iconRect.Height()),
                           frame * m_iconFrameWidth, 0, m_iconFrameWidth, m_iconHeight, Gdiplus::UnitPixel);
    }
}

void MEdit::DrawTextSlots(HDC dc, int width, int)
{
    if (m_title.IsEmpty() && m_tip.IsEmpty())
        return;
    CString text;
    COLORREF colour = GetEditTextColor();
    if (m_title.IsEmpty())
    {
        text = m_tip;
        colour = kGreyText;
    }
    else if (m_bPassword)
    {
        text = CString(NativeEdit::MaskCharacter(m_passwordChar), m_title.GetLength());
    }
    else
    {
        text = m_title;
    }

    UINT format = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
    if (m_hAlign == kAlignCentre)
        format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
    else if (m_bMultiLine)
        format = DT_WORDBREAK | DT_VCENTER | DT_EDITCONTROL;

    CRect area = CalcTextRect(0);
    area.OffsetRect(-m_rect.left, -m_rect.top);
    HFONT font = GetDefaultFont();
    for (int slot = 0; slot < kSlotCount; ++slot)
    {
        CRect box = area;
        box.OffsetRect(slot * width, 0);
        MRender::DrawTextW(dc, box, text, slot == kStateDisabled ? kGreyText : colour, font, format);
    }
}

} // namespace VREL
