#include "ui/lists/ComboBox.h"

#include <algorithm>
#include <utility>

#include "ui/controls/ControlFontFamily.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/CEditWnd2.h"
#include "ui/lists/ComboDropDown.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMComboBox(MakeControlClass<MComboBox, ControlForm::VisibleEnabled>(L"MComboBox"));
const ControlRegistrar kRegisterMComboBox2(MakeControlClass<MComboBox2, ControlForm::VisibleOne>(L"MComboBox2"));

constexpr int kStateNormal = 0;
constexpr int kStateHover = 1;
constexpr int kStatePressed = 2;
constexpr int kStateDisabled = 3;
constexpr int kSlotCount = 4;

// A click this soon after the drop-down closed was the click that closed it.
constexpr DWORD kReopenGuardMs = 200;
// The drop-down opens this far below the combo.
constexpr int kDropGap = 2;
constexpr int kComboDropPadding = 12;
constexpr int kCombo2DropPadding = 6;
constexpr int kComboTextRightInset = 26;
constexpr int kCombo2TextRightInset = 20;
constexpr int kTextRectInset = 3;

const wchar_t kDropDownName[] = L"ComboWnd";
const wchar_t kDefaultBackImage[] = L"img_combobox_bkg.png";
constexpr DWORD kDropDownStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// MComboBox: the frame's nine-grid edges and the text box.
constexpr int kFrameLeft = 6, kFrameTop = 6, kFrameRight = 40, kFrameBottom = 6;
constexpr int kTextLeft = 10;
constexpr int kTextSides = 20;
// MComboBox2: the arrow sits centred in the rightmost 20 pixels.
constexpr int kArrowColumn = 20;

constexpr Gdiplus::ARGB kPressedText = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kDisabledText = 0xFF808080;

// The in-place editor's band: left + 1 to right - 36, centred in the height.
constexpr int kEditLeftInset = 1;
constexpr int kEditRightInset = 36;
constexpr int kSmallFont = 10, kSmallFontBand = 14;
constexpr int kMediumFont = 12, kMediumFontBand = 18;
constexpr COLORREF kDefaultEditBack = 0xFBFBFB;

// CColorCombo.
constexpr Gdiplus::ARGB kDefaultAreaColour = 0xFEFFFF00;
constexpr Gdiplus::ARGB kSwatchFrame = 0xFE050505;
constexpr Gdiplus::ARGB kSwatchFrameDisabled = 0xFE808080;
constexpr Gdiplus::ARGB kSwatchStrike = 0xFEFF0000;

MComboBoxBase::TickSource g_tickSource = nullptr;

DWORD SystemTicks() { return ::GetTickCount(); }

Gdiplus::StringAlignment AlignmentOf(UINT align, bool farAllowed)
{
    if (align == 1)
        return Gdiplus::StringAlignmentCenter;
    if (align == 2 && farAllowed)
        return Gdiplus::StringAlignmentFar;
    return Gdiplus::StringAlignmentNear;
}

// The look every combo kind switches between its four slots with; a changed
// look is shown at once (no content repaint, unless redraw asks for one).

// A new enabled flag: normal or disabled.
void SwitchEnabled(MControl& control, int& enabledFlag, int& look, int enabled, int redraw)
{
    enabled = enabled ? 1 : 0;
    if (enabled == enabledFlag)
        return;
    enabledFlag = enabled;
    look = enabled ? kStateNormal : kStateDisabled;
    control.UpdateControl(redraw, 0);
}

// The pointer moved: hover inside, normal outside; a held look stays. 1 when
// the look changed.
int FollowPointer(MControl& control, int& look, CPoint pt)
{
    if (!control.IsEnabled() || look == kStatePressed)
        return 0;
    const int state = control.GetRect().PtInRect(pt) ? kStateHover : kStateNormal;
    if (state == look)
        return 0;
    look = state;
    control.UpdateControl(0, 0);
    return 1;
}

bool PressedInside(const MControl& control, CPoint pt) { return control.IsEnabled() && control.GetRect().PtInRect(pt); }

// A press inside: the pressed look; 1 when it changed.
int TakePress(MControl& control, int& look)
{
    if (look == kStatePressed)
        return 0;
    look = kStatePressed;
    control.UpdateControl(0, 0);
    return 1;
}

// The button went up over an enabled control: hover inside, normal outside.
// changed: 1 when the look changed. True for a release inside: a click.
bool ReleasedInside(MControl& control, int& look, CPoint pt, int& changed)
{
    changed = 0;
    if (!control.IsEnabled())
        return false;
    const bool inside = control.GetRect().PtInRect(pt) != 0;
    const int before = look;
    look = inside ? kStateHover : kStateNormal;
    if (look != before)
    {
        changed = 1;
        control.UpdateControl(0, 0);
    }
    return inside;
}

// The title in one line in every slot, in the slot's colour, within the
// slot's part of the text box.
void DrawSlotTitle(const StateCell& cell, MControlFont& control, const CString& title, const CString& fontName,
                   int fontSize, Gdiplus::FontStyle style, Gdiplus::TextRenderingHint hint,
                   Gdiplus::StringAlignment align, int textLeft, int textWidth, Gdiplus::ARGB colour)
{
    if (title.IsEmpty())
        return;
    ControlFontFamily family(control, fontName);
    Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(fontSize), style, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(align);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    cell.graphics.SetTextRenderingHint(hint);
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(cell.left + textLeft), 0.0f,
                             static_cast<Gdiplus::REAL>(textWidth), static_cast<Gdiplus::REAL>(cell.height));
    cell.graphics.DrawString(title, title.GetLength(), &font, box, &format, &brush);
}

} // namespace

// ==== MComboBoxBase ==========================================================================

MComboBoxBase::TickSource MComboBoxBase::SetTickSource(TickSource source)
{
    const TickSource previous = g_tickSource;
    g_tickSource = source;
    return previous;
}

DWORD MComboBoxBase::Now() { return g_tickSource ? g_tickSource() : SystemTicks(); }

MComboBoxBase::MComboBoxBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, int dropPadding,
                             int textRightInset, bool guard)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_pDropDown(nullptr),
      m_visualState(enabled ? kStateNormal : kStateDisabled),
      m_edgeLeft(4),
      m_edgeTop(4),
      m_edgeRight(35),
      m_edgeBottom(4),
      m_backImage(kDefaultBackImage),
      m_backResId(0),
      m_backResType(L"PNG"),
      m_scrollVId(0),
      m_scrollHId(0),
      m_closeTime(0),
      m_dropPadding(dropPadding),
      m_textRightInset(textRightInset),
      m_bGuard(guard)
{
    ResetTextRect();
}

MComboBoxBase::~MComboBoxBase() { DestroyDropDown(true); }

void MComboBoxBase::DestroyDropDown(bool quiet)
{
    CComboBoxWnd* dropDown = m_pDropDown;
    if (!dropDown)
        return;
    m_pDropDown = nullptr;
    // A combo that is going must not hear from its drop-down any more.
    if (quiet)
        dropDown->SetParent(nullptr);
    const HWND window = dropDown->GetSafeHwnd();
    if (window && ::IsWindow(window))
        dropDown->DestroyWindow();
    delete dropDown;
}

void MComboBoxBase::Repaint(int redraw) { UpdateControl(redraw, 0); }

// ---- items --------------------------------------------------------------------------------------

int MComboBoxBase::AddItem(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    return m_items.Add(text, data, icon, colour);
}

int MComboBoxBase::InsertItem(int index, const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    return m_items.Insert(index, text, data, icon, colour);
}

int MComboBoxBase::SetItemData(int index, long data) { return m_items.SetData(index, data); }

long MComboBoxBase::GetItemData(int index) const { return m_items.Data(index); }

int MComboBoxBase::SetItemText(int index, const wchar_t* text)
{
    bool changed = false;
    if (!m_items.SetText(index, text, changed))
        return 0;
    if (changed)
    {
        if (index == m_items.Selection())
            m_title = text;
        Repaint(1);
    }
    return 1;
}

CString MComboBoxBase::GetItemText(int index) const { return m_items.Text(index); }

int MComboBoxBase::SetCurSel(int index)
{
    if (index == -1)
    {
        m_items.SetSelection(-1);
        m_title.Empty();
    }
    else if (m_items.IsValid(index))
    {
        m_items.SetSelection(index);
        m_title = m_items.Text(index);
    }
    else
    {
        return 0;
    }
    Repaint(1);
    return 1;
}

long MComboBoxBase::GetCurData() const
{
    const int selection = m_items.Selection();
    return selection < 0 ? 0 : m_items.Data(selection);
}

int MComboBoxBase::FindData(long data) const { return m_items.Find(data); }

int MComboBoxBase::SelectData(long data)
{
    const int index = m_items.Find(data);
    if (index < 0)
        return 0;
    SetCurSel(index);
    return 1;
}

int MComboBoxBase::DeleteItem(int index)
{
    bool selectionLost = false;
    const int result = m_items.Delete(index, selectionLost);
    if (selectionLost)
    {
        // The shown text belonged to the item that went.
        m_title.Empty();
        Repaint(1);
    }
    return result;
}

int MComboBoxBase::DelAllItems()
{
    m_items.Clear();
    m_title.Empty();
    Repaint(1);
    return 1;
}

// ---- drop-down settings ---------------------------------------------------------------------

int MComboBoxBase::SetBackImage(const wchar_t* file)
{
    m_backImage = file;
    return 1;
}

int MComboBoxBase::SetBackImage(UINT id, const wchar_t* type)
{
    m_backImage.Empty();
    m_backResId = id;
    m_backResType = type;
    return 1;
}

void MComboBoxBase::SetScrollResID(UINT vertical, UINT horizontal)
{
    m_scrollVId = vertical;
    m_scrollHId = horizontal;
}

int MComboBoxBase::SetShowModeMID(int left, int top, int right, int bottom)
{
    m_edgeLeft = left;
    m_edgeTop = top;
    m_edgeRight = right;
    m_edgeBottom = bottom;
    Repaint(1);
    return 1;
}

void MComboBoxBase::ResetTextRect()
{
    if (m_rect.IsRectEmpty())
        return;
    m_textRect = CRect(kTextRectInset, kTextRectInset, m_rect.Width() - m_textRightInset,
                       m_rect.Height() - kTextRectInset);
}

int MComboBoxBase::DropDownHeight(int count) const
{
    return std::min(count, kVisibleRows) * kRowHeight + m_dropPadding;
}

// ---- input ----------------------------------------------------------------------------------------

void MComboBoxBase::SetControlRect(CRect rect)
{
    m_rect = rect;
    ResetTextRect();
}

void MComboBoxBase::SetControlEnabled(int enabled) { SwitchEnabled(*this, m_bEnabled, m_visualState, enabled, 0); }

int MComboBoxBase::OnControlMouseMove(UINT, CPoint pt) { return FollowPointer(*this, m_visualState, pt); }

int MComboBoxBase::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!PressedInside(*this, pt))
        return 0;
    OnPressed();
    return TakePress(*this, m_visualState);
}

int MComboBoxBase::OnControlLButtonUp(UINT, CPoint pt)
{
    int changed = 0;
    if (ReleasedInside(*this, m_visualState, pt, changed))
        OnMessage(kComboOpenId, NC_CLICKED, 0, 0);
    return changed;
}

LRESULT MComboBoxBase::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (code == NC_POPUP_CLOSED)
    {
        if (m_bGuard)
            m_closeTime = Now();
        Repaint(0);
        return 0;
    }
    if (code != NC_CLICKED)
        return 0;
    if (id == kComboOpenId)
    {
        if (m_bGuard && m_closeTime != 0 && Now() - m_closeTime < kReopenGuardMs)
        {
            DestroyDropDown(false);
            return 0;
        }
        OpenDropDown();
        return 0;
    }
    if (lParam != kComboChoiceTag)
        return 0;
    const int index = static_cast<int>(wParam);
    // An index the combo refuses is no choice: the owner hears nothing.
    if (index < 0 || !SetCurSel(index))
        return 0;
    SendMessageW(NC_CLICKED, static_cast<WPARAM>(index), 0);
    Repaint(0);
    return 0;
}

void MComboBoxBase::OpenDropDown()
{
    DestroyDropDown(false);
    HWND parent = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
    if (!parent)
        return;
    POINT origin = {m_rect.left, m_rect.bottom + kDropGap};
    ::ClientToScreen(parent, &origin);
    const std::vector<ComboItem> items = m_items.Snapshot();
    const CRect place(origin.x, origin.y, origin.x + m_rect.Width(),
                      origin.y + DropDownHeight(static_cast<int>(items.size())));

    auto* dropDown = new CComboBoxWnd();
    dropDown->SetScrollResID(m_scrollVId, m_scrollHId);
    dropDown->SetParent(this);
    m_pDropDown = dropDown;
    if (!dropDown->Create(parent, kDropDownName, kDropDownStyle, WS_EX_TOOLWINDOW, place))
    {
        DestroyDropDown(true);
        return;
    }
    if (!m_backImage.IsEmpty())
        dropDown->LoadBKImage(m_backImage);
    else if (m_backResId != 0)
        dropDown->LoadBKImage(m_backResId, m_backResType);

    if (CComboBoxList* list = dropDown->GetList())
    {
        for (const ComboItem& item : items)
            list->AddItem(item.text, item.data, item.icon, item.colour);
        list->UpdateControl(1, 0);
        list->SetTextColor(m_textColor);
    }
    dropDown->SetListFont(m_fontName, m_fontSize, m_fontStyle);
    dropDown->SetListAlignment(m_hAlign);
    dropDown->ShowWindow(SW_SHOW);
    Repaint(0);
}

// ==== MComboBox ===============================================================================

MComboBox::MComboBox(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MComboBoxBase(owner, id, rect, visible, enabled, kComboDropPadding, kComboTextRightInset, true),
      m_bShowEdit(0),
      m_pEditWnd(nullptr),
      m_hEditFont(nullptr),
      m_editBack(kDefaultEditBack)
{
}

MComboBox::~MComboBox()
{
    // The editor's destroy handler would repaint and clear a field of a
    // combo that is half gone: it is told first that it has no combo.
    if (CEditWnd2* editor = std::exchange(m_pEditWnd, nullptr))
        editor->Discard();
    if (m_hEditFont)
        ::DeleteObject(m_hEditFont);
}

COLORREF MComboBox::GetEditTextColor() const { return m_textColor.ToCOLORREF(); }

HFONT MComboBox::GetDefaultFont() { return NativeEdit::FontFor(m_hEditFont, *this); }

void MComboBox::SetEditText(const wchar_t* text)
{
    const CString value(text);
    if (m_title != value)
        m_title = value;
}

HWND MComboBox::GetEditHwnd() const { return InPlaceEdit::ShownHandle(m_pEditWnd); }

CString MComboBox::GetEditText() { return GetEditHwnd() ? NativeEdit::WindowText(*m_pEditWnd) : m_title; }

CRect MComboBox::CalcTextRect(int)
{
    const int band = m_fontSize == kSmallFont ? kSmallFontBand : m_fontSize == kMediumFont ? kMediumFontBand
                                                                                               : m_fontSize;
    CRect rect(m_rect.left + kEditLeftInset, 0, m_rect.right - kEditRightInset, 0);
    rect.top = m_rect.top + (m_rect.Height() - band) / 2;
    rect.bottom = rect.top + band;
    return rect;
}

void MComboBox::OnPressed() { HideEdit(); }

void MComboBox::ShowEdit()
{
    if (!m_bShowEdit || !m_bEnabled)
        return;
    const CRect client = CalcTextRect(1);
    if (!m_pEditWnd)
    {
        m_pEditWnd = new CEditWnd2(this);
        m_pEditWnd->SetOwnerSlot(&m_pEditWnd);
    }
    m_pEditWnd->SetEditColor(m_editBack, GetEditTextColor());
    if (!m_pEditWnd->GetSafeHwnd())
    {
        if (!m_pEditWnd->CreateEdit(client, GetDefaultFont()))
            return;
    }
    else
    {
        const CRect placed = NativeEdit::PlacementRect(m_pManager, client);
        m_pEditWnd->MoveWindow(&placed, TRUE);
    }
    m_pEditWnd->Present(m_title);
    m_bKeyFocus = 1;
    SendMessageW(NC_EDIT_BEGIN, 0, 0);
}

void MComboBox::HideEdit()
{
    if (!m_bShowEdit || !m_bEnabled)
        return;
    m_bKeyFocus = 0;
    InPlaceEdit::Conclude(m_pEditWnd, *this, m_title, [this] { Repaint(1); });
}

int MComboBox::SetControlFocus(int focus)
{
    if (!focus)
        HideEdit();
    return m_bEnabled ? 1 : 0;
}

int MComboBox::OnControlLButtonDblClk(UINT, CPoint pt)
{
    if (!m_bEnabled || !CalcTextRect(1).PtInRect(pt))
        return 0;
    ShowEdit();
    return 1;
}

int MComboBox::OnControlKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    return MControlFont::OnControlKeyDown(key, repeat, modifiers);
}

void MComboBox::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kSlotCount, m_visualState, [&](const StateCell& cell) {
        if (m_pImage && m_frameWidth > 0)
        {
            const int frames = std::max(m_frameCount, 1);
            MRender::DrawImageFrameMID(cell.graphics, m_pImage, CRect(cell.left, 0, cell.left + cell.width, cell.height),
                                       std::min(cell.index, frames - 1) * m_frameWidth, 0, m_frameWidth,
                                       m_frameHeight, kFrameLeft, kFrameTop, kFrameRight, kFrameBottom);
        }
        const Gdiplus::ARGB colour = cell.index == kStateDisabled ? kDisabledText
                                     : cell.index == kStatePressed ? kPressedText
                                                                   : m_textColor.GetValue();
        DrawSlotTitle(cell, *this, m_title, m_fontName, m_fontSize, m_fontStyle, m_textHint,
                      AlignmentOf(m_hAlign, false), kTextLeft, cell.width - kTextSides, colour);
    });
}

// ==== MComboBox2 ===============================================================================

MComboBox2::MComboBox2(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MComboBoxBase(owner, id, rect, visible, enabled, kCombo2DropPadding, kCombo2TextRightInset, false)
{
}

MComboBox2::~MComboBox2() = default;

void MComboBox2::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kSlotCount, m_visualState, [&](const StateCell& cell) {
        if (m_pImage && m_frameWidth > 0)
        {
            // The first frame, unscaled, centred in the rightmost column.
            const int right = cell.width - (kArrowColumn - m_frameWidth) / 2;
            const int top = (cell.height - m_frameHeight) / 2;
            cell.graphics.DrawImage(m_pImage,
                                    Gdiplus::Rect(cell.left + right - m_frameWidth, top, m_frameWidth, m_frameHeight),
                                    0, 0, m_frameWidth, m_frameHeight, Gdiplus::UnitPixel);
        }
        const Gdiplus::ARGB colour = cell.index == kStateDisabled ? kDisabledText : m_textColor.GetValue();
        DrawSlotTitle(cell, *this, m_title, m_fontName, m_fontSize, m_fontStyle, m_textHint,
                      AlignmentOf(m_hAlign, true), m_textRect.left, m_textRect.Width(), colour);
    });
}

// ==== CColorCombo ===============================================================================

CColorCombo::CColorCombo(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_areaColour(kDefaultAreaColour),
      m_visualState(enabled ? kStateNormal : kStateDisabled),
      m_bOpen(false)
{
}

CColorCombo::~CColorCombo() = default;

void CColorCombo::Repaint(int redraw) { UpdateControl(redraw, 0); }

void CColorCombo::SetAreaColor(Gdiplus::ARGB colour)
{
    m_areaColour = colour;
    Repaint(1);
}

int CColorCombo::SetImage(const wchar_t* file, int count) { return MControlFont::SetImage(file, count); }

void CColorCombo::SetControlRect(CRect rect) { m_rect = rect; }

void CColorCombo::SetControlEnabled(int enabled) { SwitchEnabled(*this, m_bEnabled, m_visualState, enabled, 1); }

int CColorCombo::OnControlMouseMove(UINT, CPoint pt) { return FollowPointer(*this, m_visualState, pt); }

int CColorCombo::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!PressedInside(*this, pt))
        return 0;
    const int changed = TakePress(*this, m_visualState);
    SendMessageW(NC_PRESSED, 0, 0);
    return changed;
}

int CColorCombo::OnControlLButtonUp(UINT, CPoint pt)
{
    int changed = 0;
    if (ReleasedInside(*this, m_visualState, pt, changed))
        SendMessageW(NC_CLICKED, 0, 0);
    return changed;
}

void CColorCombo::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kSlotCount, m_visualState, [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int x = cell.left;
        const int width = cell.width;
        const int height = cell.height;
        Gdiplus::SolidBrush fill{Gdiplus::Color(m_areaColour)};
        graphics.FillRectangle(&fill, x, 0, width, height);
        Gdiplus::Pen frame(Gdiplus::Color(cell.index == kStateDisabled ? kSwatchFrameDisabled : kSwatchFrame), 1.0f);
        graphics.DrawRectangle(&frame, x, 0, width - 1, height - 1);
        if (cell.index == kStateDisabled)
        {
            Gdiplus::Pen strike{Gdiplus::Color(kSwatchStrike), 1.0f};
            graphics.DrawLine(&strike, x, height - 1, x + width - 1, 0);
        }
    });
}

} // namespace VREL
