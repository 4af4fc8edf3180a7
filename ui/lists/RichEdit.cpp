#include "ui/lists/RichEdit.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/controls/ControlFontFamily.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/CaretOwner.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/NativeEdit.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMRichEdit(
    MakeControlClass<MRichEdit, ControlForm::TitleVisibleEnabled>(L"MRichEdit"));

// The paint manager's drawn caret belongs to a rich edit: it reads the
// owner's focus and text colour through these.
MControl* CaretControl(MRichEdit* owner) { return owner; }
COLORREF CaretColour(MRichEdit* owner) { return owner->GetTextColor(); }
const CaretOwnerAccess kPreviousCaretAccess = SetCaretOwnerAccess({&CaretControl, &CaretColour});

constexpr int kStateNormal = 0;
constexpr int kStateHover = 1;
constexpr int kStateEditing = 2;
constexpr int kStateDisabled = 3;
constexpr int kSlotCount = 4;
constexpr int kFrameCorner = 4;

constexpr COLORREF kDefaultTextColour = 0x141414;
constexpr int kDefaultLimit = 256;
constexpr DWORD kDefaultStyle = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
constexpr int kDefaultPadding = 5;
constexpr DWORD kMaxLength = 0x7FFF;
constexpr COLORREF kNotQuiteBlack = RGB(1, 0, 0);
constexpr Gdiplus::ARGB kTipColour = 0xFF808080;
// A tip centred in a single-line band sits this much lower.
constexpr int kTipShift = 2;
// With a vertical bar the multi-line text keeps this much more room free.
constexpr int kVerticalBarGap = 10;
constexpr LONG kDefaultTab = 720;
constexpr DWORD kCharFormatMask = 0xF8000007;
constexpr DWORD kParaFormatMask = 0x8001003F;
constexpr UINT kCodePageUtf16 = 1200;
constexpr DWORD kEventMask = ENM_CHANGE | ENM_DROPFILES | ENM_LINK;
constexpr int kMaxZoom = 64;

// Context menu items.
constexpr UINT kMenuUndo = 101, kMenuCut = 102, kMenuCopy = 103, kMenuPaste = 104, kMenuClear = 105,
               kMenuSelectAll = 106, kMenuRedo = 107;

int VerticalDpi(HDC dc)
{
    HDC screen = dc ? dc : ::GetDC(nullptr);
    const int dpi = std::max(::GetDeviceCaps(screen, LOGPIXELSY), 1);
    if (!dc)
        ::ReleaseDC(nullptr, screen);
    return dpi;
}

DWORD CALLBACK ReadFileStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    *done = static_cast<LONG>(std::fread(buffer, 1, static_cast<size_t>(size), reinterpret_cast<FILE*>(cookie)));
    return 0;
}

DWORD CALLBACK WriteFileStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    *done = static_cast<LONG>(std::fwrite(buffer, 1, static_cast<size_t>(size), reinterpret_cast<FILE*>(cookie)));
    return 0;
}

} // namespace

MRichEdit::MRichEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled)
    : MPanel(owner, id, rect, visible, enabled),
      m_visualState(enabled ? kStateNormal : kStateDisabled),
      m_pHost(nullptr),
      m_bWantTab(1),
      m_bWantReturn(1),
      m_bWantCtrlReturn(1),
      m_bRich(1),
      m_bReadOnly(0),
      m_bPassword(0),
      m_bWordWrap(0),
      m_textColour(kDefaultTextColour),
      m_limit(kDefaultLimit),
      m_style(kDefaultStyle),
      m_bRichInitialised(0),
      m_bAccumulateDBC(0),
      m_tip(tip),
      m_padding(kDefaultPadding, kDefaultPadding, kDefaultPadding, kDefaultPadding),
      m_passwordChar(NativeEdit::kDefaultPasswordChar),
      m_pIcon(nullptr),
      m_iconFrameWidth(0),
      m_iconHeight(0),
      m_iconFrames(1),
      m_bButtonDown(0)
{
    (void)kPreviousCaretAccess;
    m_title.Empty();
    m_hAlign = 1;
    m_bTabStop = 1;
}

MRichEdit::~MRichEdit()
{
    if (CTxtWinHost* host = m_pHost)
    {
        m_pHost = nullptr;
        host->DetachOwner();
        host->Close();
        host->Release();
    }
}

// ---- host ---------------------------------------------------------------------------------------

void MRichEdit::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    if (!m_bRichInitialised)
    {
        m_bRichInitialised = 1;
        CreateTextHost();
    }
}

void MRichEdit::CreateTextHost()
{
    auto* host = new CTxtWinHost(this);
    FillDefaultCharFormat(host->CharFormat());
    FillDefaultParaFormat(host->ParaFormat());
    host->SetWindowStyle(ES_MULTILINE);
    host->SetRichTextFlag(m_bRich != 0);
    host->SetMaxLength(static_cast<DWORD>(m_limit));
    host->SetWindowStyle(m_style);
    if (!(m_style & (ES_AUTOHSCROLL | WS_HSCROLL)))
        host->SetWordWrap(true);
    if (m_style & ES_CENTER)
        host->ParaFormat().wAlignment = PFA_CENTER;
    else if (m_style & ES_RIGHT)
        host->ParaFormat().wAlignment = PFA_RIGHT;
    host->SetInPlaceActive(true);
    // Some text services ask for the back style only while they are made and
    // never again: answered opaque then, they fill the text area with the
    // system's window colour whatever is said later.
    host->SetTransparent(true);
    if (!host->Init(m_title))
    {
        host->Close();
        host->DetachOwner();
        host->Release();
        return;
    }
    m_pHost = host;
    host->SetTransparent(true);
    TxSendMessage(EM_SETLANGOPTIONS, 0, 0);
    TxSendMessage(EM_SETEVENTMASK, 0, kEventMask);
    const CRect client = m_textArea.IsRectEmpty() ? m_rect : m_textArea;
    if (FAILED(host->GetTextServices()->OnTxInPlaceActivate(&client)))
        host->SetInPlaceActive(false);
    SetControlRect(m_rect);
}

void MRichEdit::FillDefaultCharFormat(CHARFORMAT2W& format)
{
    format = CHARFORMAT2W{};
    format.cbSize = sizeof(format);
    format.dwMask = kCharFormatMask;
    HDC dc = m_pManager ? m_pManager->GetPaintDC() : nullptr;
    format.yHeight = m_fontSize * 1440 / VerticalDpi(dc);
    format.yOffset = 0;
    COLORREF colour = m_textColour;
    if (colour == 0 && m_pManager && m_pManager->IsLayered())
        colour = kNotQuiteBlack;
    format.crTextColor = colour;
    const int style = static_cast<int>(m_fontStyle);
    if (style & Gdiplus::FontStyleBold)
        format.dwEffects |= CFE_BOLD;
    if (style & Gdiplus::FontStyleItalic)
        format.dwEffects |= CFE_ITALIC;
    if (style & Gdiplus::FontStyleUnderline)
        format.dwEffects |= CFE_UNDERLINE;
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    ::lstrcpynW(format.szFaceName, m_fontName, LF_FACESIZE);
}

void MRichEdit::FillDefaultParaFormat(PARAFORMAT2& format)
{
    format = PARAFORMAT2{};
    format.cbSize = sizeof(format);
    format.dwMask = kParaFormatMask;
    format.wAlignment = PFA_LEFT;
    format.cTabCount = 1;
    format.rgxTabs[0] = kDefaultTab;
    if (m_style & ES_CENTER)
        format.wAlignment = PFA_CENTER;
    else if (m_style & ES_RIGHT)
        format.wAlignment = PFA_RIGHT;
}

LRESULT MRichEdit::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT answer = 0;
    if (!m_pHost || !m_pHost->GetTextServices())
    {
        if (result)
            *result = 1;
        return 1;
    }
    m_pHost->GetTextServices()->TxSendMessage(msg, wParam, lParam, &answer);
    if (result)
        *result = answer;
    return answer;
}

int MRichEdit::OnTxViewChanged() { return 1; }

void MRichEdit::OnTxNotify(DWORD code, void*)
{
    if (code != EN_CHANGE)
        return;
    const bool wasEmpty = m_title.IsEmpty();
    m_title = GetControlTitle();
    if (!m_tip.IsEmpty() && wasEmpty != m_title.IsEmpty())
        Repaint(1);
}

// ---- layout and drawing --------------------------------------------------------------------

void MRichEdit::LayOutTextArea(const CRect& padding, int verticalBarExtra)
{
    CRect area(m_rect.left + padding.left, m_rect.top + padding.top, m_rect.right - padding.right,
               m_rect.bottom - padding.bottom);
    if ((m_style & ES_MULTILINE) && m_pScrollVertical && m_pScrollVertical->IsVisible())
    {
        m_pScrollVertical->SetRect(CRect(area.right - m_barThickness, area.top, area.right, area.bottom));
        area.right -= m_barThickness + verticalBarExtra;
    }
    if ((m_style & (ES_AUTOHSCROLL | WS_HSCROLL)) && m_pScrollHorizontal)
        m_pScrollHorizontal->SetRect(CRect(area.left, area.bottom - m_barThickness, area.right, area.bottom));
    m_textArea = area;
    if (m_pHost)
        m_pHost->SetClientRect(area);
}

void MRichEdit::SetControlRect(CRect rect)
{
    m_rect = rect;
    LayOutTextArea(m_padding, kVerticalBarGap);
}

void MRichEdit::Repaint(int redraw) { UpdateControl(redraw, 0); }

void MRichEdit::SetVisualState(int state)
{
    if (state == m_visualState)
        return;
    m_visualState = state;
    Repaint(0);
}

void MRichEdit::DrawFrameSlots(HDC dc, int width, int height)
{
    if (!m_pImage || m_frameWidth <= 0)
        return;
    Gdiplus::Graphics graphics(dc);
    const int frames = std::max(m_frameCount, 1);
    for (int slot = 0; slot < kSlotCount; ++slot)
        MRender::DrawImageFrame(graphics, m_pImage, CRect(slot * m_rect.Width(), 0, slot * m_rect.Width() + width, height),
                                std::min(slot, frames - 1) * m_frameWidth, 0, m_frameWidth, m_frameHeight,
                                kFrameCorner);
}

void MRichEdit::DrawTip(HDC dc, const CRect& box, float size, Gdiplus::ARGB colour, bool centreVertically)
{
    if (m_tip.IsEmpty())
        return;
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(m_textHint);
    ControlFontFamily family(*this, m_fontName);
    Gdiplus::Font font(family.Get(), size, m_fontStyle, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(centreVertically ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    const Gdiplus::RectF rect(static_cast<float>(box.left), static_cast<float>(box.top),
                              static_cast<float>(box.Width()), static_cast<float>(box.Height()));
    graphics.DrawString(m_tip, m_tip.GetLength(), &font, rect, &format, &brush);
}

void MRichEdit::DrawText(HDC& dc, const CRect& paint)
{
    if (!m_pHost || !m_pHost->GetTextServices())
        return;
    RECTL bounds = {m_textArea.left, m_textArea.top, m_textArea.right, m_textArea.bottom};
    RECT update = paint;
    m_pHost->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr,
                                       &update, nullptr, 0, TXTVIEW_ACTIVE);
}

void MRichEdit::DrawFramedLook(HDC& dc, const CRect& paint, int frameWidth, TipLook tip)
{
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (width <= 0 || height <= 0 || frameWidth <= 0)
        return;
    if (m_pImage && m_frameWidth > 0)
    {
        if (!m_bUpdate)
        {
            if (!PrepareStateCells(*this, dc, m_hMemDC, kSlotCount))
                return;
            DrawFrameSlots(m_hMemDC, frameWidth, height);
            if (tip != TipLook::None && m_title.IsEmpty())
            {
                const bool centred = tip == TipLook::Centred;
                const int shift = centred ? kTipShift : 0;
                const CRect area(m_padding.left, m_padding.top + shift, width - m_padding.right,
                                 height - m_padding.bottom + shift);
                for (int slot = 0; slot < kSlotCount; ++slot)
                {
                    CRect box = area;
                    box.OffsetRect(slot * width, 0);
                    DrawTip(m_hMemDC, box, static_cast<float>(m_fontSize), kTipColour, centred);
                }
            }
        }
        ShowStateCell(*this, dc, m_hMemDC, kSlotCount, m_visualState);
    }
    DrawText(dc, paint);
}

void MRichEdit::DrawControl(HDC& dc, CRect paint) { DrawFramedLook(dc, paint, m_rect.Width(), TipLook::Padded); }

// ---- state -----------------------------------------------------------------------------------------

int MRichEdit::SetControlFocus(int focus)
{
    const int before = m_visualState;
    CRect client = m_textArea;
    if (focus)
    {
        m_visualState = kStateEditing;
        if (m_pHost && m_pHost->GetTextServices())
        {
            m_pHost->GetTextServices()->OnTxInPlaceActivate(&client);
            TxSendMessage(WM_SETFOCUS, 0, 0);
        }
        m_bKeyFocus = 1;
    }
    else
    {
        m_visualState = kStateNormal;
        if (m_pHost && m_pHost->GetTextServices())
        {
            m_pHost->GetTextServices()->OnTxInPlaceActivate(&client);
            TxSendMessage(WM_KILLFOCUS, 0, 0);
        }
        m_bKeyFocus = 0;
    }
    if (before == m_visualState)
        return 0;
    Repaint(0);
    return 1;
}

void MRichEdit::SetControlEnabled(int enabled)
{
    MPanel::SetControlEnabled(enabled ? 1 : 0);
    m_bEnabled = enabled ? 1 : 0;
    m_visualState = m_bEnabled ? kStateNormal : kStateDisabled;
    if (m_pHost)
    {
        COLORREF colour = m_textColour;
        if (!m_bEnabled && m_pManager)
            colour = static_cast<COLORREF>(m_pManager->GetDefaultEnabledColor());
        m_pHost->SetColor(colour == 0 ? kNotQuiteBlack : colour);
        ApplyHostCharFormat();
    }
    Repaint(1);
}

void MRichEdit::ApplyHostCharFormat()
{
    if (!m_pHost)
        return;
    // The services take the host's format for new text; the text they hold
    // already gets it too.
    CHARFORMAT2W format = m_pHost->CharFormat();
    format.cbSize = sizeof(format);
    TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

int MRichEdit::OnControlMouseMove(UINT, CPoint pt)
{
    if (m_bReadOnly || !m_bEnabled || m_visualState == kStateEditing)
        return 0;
    const int state = m_rect.PtInRect(pt) ? kStateHover : kStateNormal;
    if (state == m_visualState)
        return 0;
    SetVisualState(state);
    return 1;
}

int MRichEdit::OnControlLButtonDown(UINT, CPoint pt)
{
    if (m_bReadOnly || !m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    m_bButtonDown = 1;
    SetVisualState(kStateEditing);
    SendMessageW(NC_PRESSED, 0, 0);
    if (m_pHost && m_pHost->GetTextServices())
    {
        CRect client = m_textArea;
        m_pHost->GetTextServices()->OnTxInPlaceActivate(&client);
        TxSendMessage(WM_SETFOCUS, 0, 0);
    }
    m_bKeyFocus = 1;
    return 1;
}

int MRichEdit::OnControlLButtonUp(UINT, CPoint pt)
{
    if (m_bReadOnly || !m_bEnabled)
        return 0;
    const bool wasEditing = m_visualState == kStateEditing;
    const bool pressed = m_bButtonDown != 0;
    m_bButtonDown = 0;
    if (!m_rect.PtInRect(pt))
    {
        SetVisualState(kStateNormal);
        return 0;
    }
    SetVisualState(kStateHover);
    if (wasEditing && pressed)
        SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

int MRichEdit::OnControlScroll(int, UINT direction, CPoint)
{
    if (m_pScrollVertical && m_pScrollVertical->IsVisible())
    {
        TxSendMessage(WM_VSCROLL, direction ? SB_LINEDOWN : SB_LINEUP, 0);
        return 1;
    }
    return m_pScrollHorizontal && m_pScrollHorizontal->IsVisible() ? 1 : 0;
}

int MRichEdit::OnControlKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    return MControl::OnControlKeyDown(key, repeat, modifiers);
}

LRESULT MRichEdit::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (m_pScrollVertical && id == m_pScrollVertical->GetControlID() && code == NC_SCROLL)
        TxSendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_pScrollVertical->GetScrollCurrentPos()), 0);
    return MPanel::OnMessage(id, code, wParam, lParam);
}

// ---- window messages -----------------------------------------------------------------------

LRESULT MRichEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_bVisible || !m_bEnabled || !m_pHost || !m_pManager)
        return 0;
    const HWND window = m_pManager->GetPaintWnd();

    if (msg == WM_IME_COMPOSITION)
    {
        if (HIMC context = ::ImmGetContext(window))
        {
            POINT caret = {};
            ::GetCaretPos(&caret);
            COMPOSITIONFORM form = {};
            form.dwStyle = CFS_POINT;
            form.ptCurrentPos = caret;
            ::ImmSetCompositionWindow(context, &form);
            ::ImmReleaseContext(window, context);
        }
        return 0;
    }
    if (msg == WM_CONTEXTMENU)
    {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        POINT client = pt;
        ::ScreenToClient(window, &client);
        if (!m_rect.PtInRect(client))
            return 0;
        HMENU menu = ::CreatePopupMenu();
        CHARRANGE selection = {};
        GetSel(selection);
        const bool selected = selection.cpMax > selection.cpMin;
        const auto enable = [](bool on) { return static_cast<UINT>(MF_STRING | (on ? MF_ENABLED : MF_GRAYED)); };
        ::AppendMenuW(menu, enable(CanUndo() != 0), kMenuUndo, L"Undo(&U)");
        ::AppendMenuW(menu, enable(CanRedo() != 0), kMenuRedo, L"Redo(&R)");
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, enable(selected && !m_bReadOnly), kMenuCut, L"Cut(&X)");
        ::AppendMenuW(menu, enable(selected), kMenuCopy, L"Copy(&C)");
        ::AppendMenuW(menu, enable(!m_bReadOnly), kMenuPaste, L"Paste(&V)");
        ::AppendMenuW(menu, enable(selected && !m_bReadOnly), kMenuClear, L"Clear(&L)");
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, MF_STRING, kMenuSelectAll, L"SelectAll(&A)");
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, pt.x, pt.y, 0, window, nullptr);
        ::DestroyMenu(menu);
        return TxSendMessage(msg, wParam, lParam);
    }
    if (msg == WM_COMMAND)
    {
        if (!m_bKeyFocus)
            return 0;
        switch (LOWORD(wParam))
        {
        case kMenuUndo: Undo(); break;
        case kMenuCut: Cut(); break;
        case kMenuCopy: Copy(); break;
        case kMenuPaste: Paste(); break;
        case kMenuClear: Clear(); break;
        case kMenuSelectAll: SetSelAll(); break;
        case kMenuRedo: Redo(); break;
        default: break;
        }
        return TxSendMessage(msg, wParam, lParam);
    }
    if (msg >= WM_KEYDOWN && msg <= WM_SYSDEADCHAR)
        return m_bKeyFocus ? TxSendMessage(msg, wParam, lParam) : 0;
    if (msg == WM_HELP)
        return TxSendMessage(msg, wParam, lParam);
    if (msg == WM_TIMER)
    {
        // A window timer the services started through the host: they get
        // it under their own id. The manager still sees it.
        const std::vector<UINT> keys = m_pHost->TimerIds();
        for (UINT key : keys)
        {
            const UINT id = m_pManager->GetControlTimerId(this, key);
            if (id != 0 && id == static_cast<UINT>(wParam))
                TxSendMessage(WM_TIMER, key, lParam);
        }
        return 0;
    }
    const bool mouse = (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_SETCURSOR;
    if (!mouse || !m_bResponse)
        return 0;
    if (msg == WM_MOUSEWHEEL && !(GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL))
        return 0;
    CPoint pt;
    if (msg == WM_SETCURSOR)
    {
        ::GetCursorPos(&pt);
        ::ScreenToClient(window, &pt);
    }
    else
    {
        pt = CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (msg == WM_MOUSEWHEEL)
            ::ScreenToClient(window, &pt);
    }
    const bool captured = m_pHost->IsCaptured();
    const bool button = msg != WM_MOUSEMOVE && msg != WM_MOUSEWHEEL && msg != WM_SETCURSOR;
    if (!captured)
    {
        if (button && !m_rect.PtInRect(pt))
            return msg == WM_RBUTTONUP ? 1 : 0;
        if (!m_textArea.PtInRect(pt) || m_pManager->IsCaptured())
            return 0;
    }
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN)
        SetControlFocus(1);
    return TxSendMessage(msg, wParam, lParam);
}

// ---- title ---------------------------------------------------------------------------------------

void MRichEdit::SetControlTitle(const wchar_t* title)
{
    const CString text(title);
    if (!m_tip.IsEmpty() && m_title.IsEmpty() != text.IsEmpty())
        Repaint(1);
    m_title = text;
    if (m_pHost)
    {
        SetSelAll();
        ReplaceSel(text, 0);
    }
}

CString MRichEdit::GetControlTitle()
{
    if (!m_pHost)
        return m_title;
    GETTEXTLENGTHEX lengthQuery = {GTL_DEFAULT, kCodePageUtf16};
    const LRESULT length = TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
    if (length <= 0)
        return CString();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    query.flags = GT_DEFAULT;
    query.codepage = kCodePageUtf16;
    TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(buffer.data()));
    return CString(buffer.data());
}

// ---- operations ----------------------------------------------------------------------------------

long MRichEdit::GetTextLength(DWORD flags)
{
    GETTEXTLENGTHEX query = {flags, kCodePageUtf16};
    return static_cast<long>(TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

int MRichEdit::GetModify() { return m_pHost && TxSendMessage(EM_GETMODIFY, 0, 0) ? 1 : 0; }

void MRichEdit::SetModify(int modified) { TxSendMessage(EM_SETMODIFY, modified, 0); }

void MRichEdit::GetSel(CHARRANGE& range)
{
    range = CHARRANGE{0, 0};
    TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void MRichEdit::GetSel(long& start, long& end)
{
    CHARRANGE range;
    GetSel(range);
    start = range.cpMin;
    end = range.cpMax;
}

int MRichEdit::SetSel(CHARRANGE& range)
{
    return static_cast<int>(TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)));
}

int MRichEdit::SetSel(long start, long end)
{
    CHARRANGE range = {start, end};
    return SetSel(range);
}

void MRichEdit::SetSelAll() { SetSel(0, -1); }

void MRichEdit::SetSelNone() { SetSel(-1, 0); }

void MRichEdit::ReplaceSel(const wchar_t* text, int canUndo)
{
    TxSendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text ? text : L""));
}

void MRichEdit::ReplaceSelW(const wchar_t* text, int canUndo) { ReplaceSel(text, canUndo); }

CString MRichEdit::GetSelText()
{
    if (!m_pHost)
        return CString();
    CHARRANGE range;
    GetSel(range);
    if (range.cpMax < 0)
        range.cpMax = GetTextLength();
    if (range.cpMax <= range.cpMin)
        return CString();
    std::vector<wchar_t> buffer(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return CString(buffer.data());
}

CString MRichEdit::GetTextRange(long start, long end)
{
    if (!m_pHost || start < 0)
        return CString();
    // -1 runs to the end: the buffer is sized from the real end.
    if (end == -1)
        end = GetTextLength();
    if (end <= start)
        return CString();
    std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range = {{start, end}, buffer.data()};
    TxSendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return CString(buffer.data());
}

int MRichEdit::InsertText(long position, const wchar_t* text, int canUndo)
{
    const int result = SetSel(position, position);
    ReplaceSel(text, canUndo);
    return result;
}

int MRichEdit::AppendText(const wchar_t* text, int canUndo)
{
    const int result = SetSel(-1, -1);
    ReplaceSel(text, canUndo);
    return result;
}

void MRichEdit::Clear()
{
    SetSel(0, -1);
    TxSendMessage(WM_CLEAR, 0, 0);
}

void MRichEdit::Copy() { TxSendMessage(WM_COPY, 0, 0); }

void MRichEdit::Cut() { TxSendMessage(WM_CUT, 0, 0); }

void MRichEdit::Paste() { TxSendMessage(WM_PASTE, 0, 0); }

int MRichEdit::CanUndo() { return m_pHost && TxSendMessage(EM_CANUNDO, 0, 0) == 1 ? 1 : 0; }

int MRichEdit::CanRedo() { return m_pHost && TxSendMessage(EM_CANREDO, 0, 0) == 1 ? 1 : 0; }

int MRichEdit::CanPaste(UINT format) { return m_pHost && TxSendMessage(EM_CANPASTE, format, 0) == 1 ? 1 : 0; }

int MRichEdit::Undo() { return m_pHost && TxSendMessage(EM_UNDO, 0, 0) == 1 ? 1 : 0; }

int MRichEdit::Redo() { return m_pHost && TxSendMessage(EM_REDO, 0, 0) == 1 ? 1 : 0; }

void MRichEdit::EmptyUndoBuffer() { TxSendMessage(EM_EMPTYUNDOBUFFER, 0, 0); }

int MRichEdit::SetUndoLimit(int limit) { return static_cast<int>(TxSendMessage(EM_SETUNDOLIMIT, limit, 0)); }

int MRichEdit::GetZoom(int& numerator, int& denominator)
{
    return static_cast<int>(TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                                          reinterpret_cast<LPARAM>(&denominator)));
}

int MRichEdit::SetZoom(int numerator, int denominator)
{
    if (numerator < 0 || numerator > kMaxZoom || denominator < 0 || denominator > kMaxZoom)
        return 0;
    return static_cast<int>(TxSendMessage(EM_SETZOOM, numerator, denominator));
}

int MRichEdit::SetZoomOff() { return static_cast<int>(TxSendMessage(EM_SETZOOM, 0, 0)); }

WORD MRichEdit::GetSelectionType() { return static_cast<WORD>(TxSendMessage(EM_SELECTIONTYPE, 0, 0)); }

int MRichEdit::GetAutoURLDetect() { return static_cast<int>(TxSendMessage(EM_GETAUTOURLDETECT, 0, 0)); }

int MRichEdit::SetAutoURLDetect(int on) { return TxSendMessage(EM_AUTOURLDETECT, on, 0) == 0 ? 1 : 0; }

DWORD MRichEdit::GetEventMask() { return static_cast<DWORD>(TxSendMessage(EM_GETEVENTMASK, 0, 0)); }

DWORD MRichEdit::SetEventMask(DWORD mask) { return static_cast<DWORD>(TxSendMessage(EM_SETEVENTMASK, 0, mask)); }

void MRichEdit::HideSelection(int hide, int changeStyle) { TxSendMessage(EM_HIDESELECTION, hide, changeStyle); }

void MRichEdit::ScrollCaret() { TxSendMessage(EM_SCROLLCARET, 0, 0); }

DWORD MRichEdit::GetDefaultCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(TxSendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)));
}

DWORD MRichEdit::GetSelectionCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

int MRichEdit::SetDefaultCharFormat(CHARFORMAT2W& format)
{
    if (!m_pHost)
        return 0;
    format.cbSize = sizeof(format);
    if (!TxSendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)))
        return 0;
    CHARFORMAT2W kept = {};
    GetSelectionCharFormat(kept);
    m_pHost->CharFormat() = kept;
    return 1;
}

int MRichEdit::SetSelectionCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(format);
    return static_cast<int>(TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

int MRichEdit::SetWordCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(format);
    return static_cast<int>(
        TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format)));
}

DWORD MRichEdit::GetParaFormat(PARAFORMAT2& format)
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(TxSendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}

int MRichEdit::SetParaFormat(PARAFORMAT2& format)
{
    if (!m_pHost)
        return 0;
    format.cbSize = sizeof(format);
    if (!TxSendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)))
        return 0;
    m_pHost->ParaFormat() = format;
    return 1;
}

int MRichEdit::GetLineCount() { return static_cast<int>(TxSendMessage(EM_GETLINECOUNT, 0, 0)); }

CString MRichEdit::GetLine(int line, int maxChars)
{
    if (!m_pHost || maxChars <= 0)
        return CString();
    // The first word of the buffer tells the services its size.
    std::vector<wchar_t> buffer(static_cast<size_t>(std::max(maxChars, 1)) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(maxChars);
    const LRESULT copied = TxSendMessage(EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data()));
    const int count = static_cast<int>(std::min<LRESULT>(std::max<LRESULT>(copied, 0), maxChars));
    return CString(buffer.data(), count);
}

int MRichEdit::LineIndex(int line) { return static_cast<int>(TxSendMessage(EM_LINEINDEX, line, 0)); }

int MRichEdit::LineLength(int line) { return static_cast<int>(TxSendMessage(EM_LINELENGTH, line, 0)); }

long MRichEdit::LineFromChar(long index) { return static_cast<long>(TxSendMessage(EM_EXLINEFROMCHAR, 0, index)); }

int MRichEdit::LineScroll(int lines, int chars) { return static_cast<int>(TxSendMessage(EM_LINESCROLL, chars, lines)); }

CPoint MRichEdit::PosFromChar(UINT index)
{
    POINTL point = {0, 0};
    TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), index);
    return CPoint(point.x, point.y);
}

int MRichEdit::CharFromPos(CPoint pt)
{
    POINTL point = {pt.x, pt.y};
    return static_cast<int>(TxSendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
}

void MRichEdit::LineUp() { TxSendMessage(WM_VSCROLL, SB_LINEUP, 0); }
void MRichEdit::LineDown() { TxSendMessage(WM_VSCROLL, SB_LINEDOWN, 0); }
void MRichEdit::PageUp() { TxSendMessage(WM_VSCROLL, SB_PAGEUP, 0); }
void MRichEdit::PageDown() { TxSendMessage(WM_VSCROLL, SB_PAGEDOWN, 0); }
void MRichEdit::HomeUp() { TxSendMessage(WM_VSCROLL, SB_TOP, 0); }
void MRichEdit::EndDown() { TxSendMessage(WM_VSCROLL, SB_BOTTOM, 0); }
void MRichEdit::LineLeft() { TxSendMessage(WM_HSCROLL, SB_LINEUP, 0); }
void MRichEdit::LineRight() { TxSendMessage(WM_HSCROLL, SB_LINEDOWN, 0); }
void MRichEdit::PageLeft() { TxSendMessage(WM_HSCROLL, SB_PAGEUP, 0); }
void MRichEdit::PageRight() { TxSendMessage(WM_HSCROLL, SB_PAGEDOWN, 0); }
void MRichEdit::HomeLeft() { TxSendMessage(WM_HSCROLL, SB_TOP, 0); }
void MRichEdit::EndRight() { TxSendMessage(WM_HSCROLL, SB_BOTTOM, 0); }

DWORD MRichEdit::StreamIn(int format, EDITSTREAM& stream)
{
    if (!m_pHost)
        return 0;
    return static_cast<DWORD>(TxSendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream)));
}

DWORD MRichEdit::StreamOut(int format, EDITSTREAM& stream)
{
    if (!m_pHost)
        return 0;
    return static_cast<DWORD>(TxSendMessage(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream)));
}

DWORD MRichEdit::LoadRtf(const wchar_t* path)
{
    FILE* file = path ? _wfopen(path, L"rb") : nullptr;
    if (!file)
        return 0;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(file), 0, &ReadFileStream};
    const DWORD result = StreamIn(SF_RTF, stream);
    std::fclose(file);
    return result;
}

DWORD MRichEdit::SaveRtf(const wchar_t* path)
{
    FILE* file = path ? _wfopen(path, L"wb") : nullptr;
    if (!file)
        return 0;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(file), 0, &WriteFileStream};
    const DWORD result = StreamOut(SF_RTF, stream);
    std::fclose(file);
    return result;
}

int MRichEdit::SetDropAcceptFile(int accept)
{
    const DWORD old = GetEventMask();
    const DWORD mask = accept ? (old | ENM_DROPFILES) : (old & ~static_cast<DWORD>(ENM_DROPFILES));
    SetEventMask(mask);
    return old == 0 ? 1 : 0;
}

IDropTarget* MRichEdit::GetTxDropTarget()
{
    IDropTarget* target = nullptr;
    if (!m_pHost || !m_pHost->GetTextServices() || FAILED(m_pHost->GetTextServices()->TxGetDropTarget(&target)))
        return nullptr;
    return target;
}

// ---- properties ---------------------------------------------------------------------------------

void MRichEdit::SetRich(int rich)
{
    m_bRich = rich;
    if (m_pHost)
        m_pHost->SetRichTextFlag(rich != 0);
}

void MRichEdit::SetReadOnly(int readOnly)
{
    m_bReadOnly = readOnly;
    if (m_pHost)
        m_pHost->SetReadOnly(readOnly != 0);
}

void MRichEdit::SetPassword(int password)
{
    m_bPassword = password;
    m_style = password ? (m_style | ES_PASSWORD) : (m_style & ~static_cast<DWORD>(ES_PASSWORD));
    if (m_pHost)
        m_pHost->SetPassword(password != 0);
}

void MRichEdit::SetWordWrap(int wrap)
{
    m_bWordWrap = wrap;
    if (m_pHost)
        m_pHost->SetWordWrap(wrap != 0);
}

void MRichEdit::SetLimitText(int limit)
{
    m_limit = limit;
    if (m_pHost)
        m_pHost->SetMaxLength(limit <= 0 ? kMaxLength : static_cast<DWORD>(limit));
}

void MRichEdit::SetMultiLine(int multiLine)
{
    m_style = multiLine ? (m_style | ES_MULTILINE) : (m_style & ~static_cast<DWORD>(ES_MULTILINE));
}

void MRichEdit::SetTextPadding(CRect padding)
{
    m_padding = padding;
    SetControlRect(m_rect);
    Repaint(1);
}

void MRichEdit::SetTextColor(Gdiplus::Color colour)
{
    MControlFont::SetTextColor(colour);
    m_textColour = RGB(colour.GetR(), colour.GetG(), colour.GetB());
    if (m_pHost)
    {
        m_pHost->SetColor(m_textColour == 0 ? kNotQuiteBlack : m_textColour);
        ApplyHostCharFormat();
    }
}

void MRichEdit::SetTextFont(CString name)
{
    MControlFont::SetTextFont(name);
    SetFont();
}

HFONT MRichEdit::GetDefaultFont()
{
    return NativeEdit::MakeFont(m_fontName, m_fontSize, static_cast<int>(m_fontStyle));
}

void MRichEdit::SetFont()
{
    if (!m_pHost)
        return;
    HFONT font = GetDefaultFont();
    m_pHost->SetFont(font);
    ::DeleteObject(font);
    ApplyHostCharFormat();
}

void MRichEdit::SetFont(const wchar_t* name, int size, bool bold, bool underline, bool italic)
{
    if (!m_pHost)
        return;
    const int style = (bold ? Gdiplus::FontStyleBold : 0) | (italic ? Gdiplus::FontStyleItalic : 0) |
                      (underline ? Gdiplus::FontStyleUnderline : 0);
    HFONT font = NativeEdit::MakeFont(name, size, style);
    m_pHost->SetFont(font);
    ::DeleteObject(font);
    ApplyHostCharFormat();
}

int MRichEdit::SetIconImage(const wchar_t* file, int frames)
{
    if (!m_pManager || !file)
        return 0;
    ImgResInfo* info = m_pManager->AddImgResInfo(file, std::max(frames, 1));
    if (!info || !info->image)
        return 0;
    m_pIcon = info->image;
    m_iconFrames = std::max(frames, 1);
    m_iconFrameWidth = static_cast<int>(m_pIcon->GetWidth()) / m_iconFrames;
    m_iconHeight = static_cast<int>(m_pIcon->GetHeight());
    return 1;
}

} // namespace VREL
