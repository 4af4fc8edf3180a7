#include "ui/framework/KeyboardTips.h"

#include <windowsx.h>

#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr INT kFormatFlags = 0x1800;
constexpr enumBackMode kDefaultBackMode = BACK_MODE_NINE_GRID;
constexpr int kDefaultBackParameter = 18;
constexpr int kInitialType = 1;
constexpr int kInitialMode = 3;
// Set by every message; a mode of 5 would keep the box on losing focus.
constexpr int kShownType = 5;
constexpr int kShownMode = 4;
constexpr int kKeepOnKillFocusMode = 5;
// The box hangs centred above its point.
constexpr int kHalfWidth = CKeyboardTips::kWidth / 2;

constexpr COLORREF kRimColor = 0x505050;
constexpr COLORREF kPanelColor = 0x141414;
constexpr COLORREF kTitleColor = 0xE6E6E6;
constexpr COLORREF kLineColor = 0xFFFFFF;
constexpr UINT kLineFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
constexpr int kSmallFontHeight = -14;
constexpr int kLargeFontHeight = -18;
// Lines: x from 10 to width - 20; rows top/bottom.
constexpr int kLineLeft = 10;
constexpr int kLineRightInset = 20;
constexpr int kTitleTop = 10, kTitleBottom = 23;
constexpr int kTextTop = 39, kTextBottom = 59;
constexpr int kExtraTop = 67, kExtraBottom = 87;

std::unique_ptr<Gdiplus::StringFormat> CentredFormat()
{
    auto format = std::make_unique<Gdiplus::StringFormat>();
    format->SetAlignment(Gdiplus::StringAlignmentCenter);
    format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format->SetFormatFlags(kFormatFlags);
    return format;
}

bool SameText(const CString& current, const wchar_t* text) { return current == text; }

// The argument checks both tooltips share: a null where the caller could
// not mean "empty" is refused.
bool ArgumentsUsable(const CString& title, const CString& text, const wchar_t* newTitle, const wchar_t* newText,
                     const wchar_t* newExtra)
{
    if (!newTitle)
        return false;
    if (SameText(title, newTitle))
    {
        if (!newText)
            return false;
        if (SameText(text, newText) && !newExtra)
            return false;
    }
    return true;
}

} // namespace

// ---- CKeyboardTips ----------------------------------------------------------------------------

CKeyboardTips::CKeyboardTips()
    : m_point{0, 0}, m_type(kInitialType), m_mode(kInitialMode), m_pFormat(CentredFormat()),
      m_backMode(kDefaultBackMode), m_backParameter(kDefaultBackParameter), m_hFont1(nullptr), m_hFont2(nullptr)
{
}

CKeyboardTips::~CKeyboardTips()
{
    if (m_hFont1)
        ::DeleteObject(m_hFont1);
    if (m_hFont2)
        ::DeleteObject(m_hFont2);
}

int CKeyboardTips::OnInitDialog()
{
    LoadTempFont();
    return 1;
}

LRESULT CKeyboardTips::OnKillFocus(HWND)
{
    if (m_mode != kKeepOnKillFocusMode)
        ShowWindow(SW_HIDE);
    KillTimer(TIMER_BALLOON_HIDE);
    return 1;
}

int CKeyboardTips::LoadBKImage(CString file) { return m_background.LoadFile(file); }
int CKeyboardTips::LoadBKImage(UINT id, CString type) { return m_background.LoadResource(id, type); }

void CKeyboardTips::SetBackMode(enumBackMode mode, int parameter)
{
    m_backMode = mode;
    m_backParameter = parameter;
}

int CKeyboardTips::SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* extra, POINT pt)
{
    if (!ArgumentsUsable(m_title, m_text, title, text, extra))
        return 0;
    if (SameText(m_title, title) && SameText(m_text, text) && SameText(m_extra, extra) && m_point.x == pt.x &&
        m_point.y == pt.y)
        return 1;
    m_title = title;
    m_text = text ? text : L"";
    m_extra = extra ? extra : L"";
    m_point = pt;
    m_type = kShownType;
    m_mode = kShownMode;
    AutoFit();
    return 1;
}

void CKeyboardTips::AutoFit()
{
    if (m_title.IsEmpty())
        return;
    MoveWindow(m_point.x - kHalfWidth, m_point.y - kHeight, kWidth, kHeight, TRUE);
    if (WindowExists())
        ::UpdateWindow(m_hWnd);
}

HFONT CKeyboardTips::MakeFont(int height)
{
    LOGFONTW logFont = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfHeight = height;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const CString face = Manager::GetFontName();
    lstrcpynW(logFont.lfFaceName, face.GetString(), LF_FACESIZE);
    return ::CreateFontIndirectW(&logFont);
}

HFONT CKeyboardTips::GetGDIFont11()
{
    if (!m_hFont1)
        m_hFont1 = MakeFont(kSmallFontHeight);
    return m_hFont1;
}

HFONT CKeyboardTips::GetGDIFont2()
{
    if (!m_hFont2)
        m_hFont2 = MakeFont(kLargeFontHeight);
    return m_hFont2;
}

LRESULT CKeyboardTips::OnPaint()
{
    if (!WindowExists() || IsIconic())
        return 1;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client = {};
    GetClientRect(&client);
    LayeredCanvas canvas(client.right - client.left, client.bottom - client.top);
    if (dc && canvas.IsValid())
    {
        DrawTips(canvas.Dc(), canvas.Width(), canvas.Height());
        ::GdiFlush();
        ::BitBlt(dc, 0, 0, canvas.Width(), canvas.Height(), canvas.Dc(), 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &ps);
    return 1;
}

void CKeyboardTips::DrawTips(HDC dc, int width, int height)
{
    if (!dc || width < 1 || height < 1)
        return;
    // Opaque rim: one pixel on the left and top, two on the right and bottom.
    const RECT whole = {0, 0, width, height};
    MRender::FillSolidRect(dc, &whole, kRimColor);
    const RECT panel = {1, 1, width - 2, height - 2};
    MRender::FillSolidRect(dc, &panel, kPanelColor);
    if (m_title.IsEmpty())
        return;
    CRect title(kLineLeft, kTitleTop, width - kLineRightInset, kTitleBottom);
    MRender::DrawTextW(dc, title, m_title, kTitleColor, GetGDIFont11(), kLineFormat);
    CRect text(kLineLeft, kTextTop, width - kLineRightInset, kTextBottom);
    MRender::DrawTextW(dc, text, m_text, kLineColor, GetGDIFont11(), kLineFormat);
    CRect extra(kLineLeft, kExtraTop, width - kLineRightInset, kExtraBottom);
    MRender::DrawTextW(dc, extra, m_extra, kLineColor, GetGDIFont2(), kLineFormat);
}

// ---- KBToolTips -----------------------------------------------------------------------------------

KBToolTips::KBToolTips()
    : m_point{0, 0}, m_type(kInitialType), m_mode(kInitialMode), m_pFormat(CentredFormat()),
      m_backMode(kDefaultBackMode), m_backParameter(kDefaultBackParameter)
{
}

KBToolTips::~KBToolTips() { Detach(); }

LRESULT KBToolTips::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = m_hWnd;
    WNDPROC saved = m_oldWndProc;
    switch (msg)
    {
    case WM_CREATE:
        OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_USER_CLOSE_WINDOW:
        return OnUserCloseWindow(wParam, lParam);
    default:
        break;
    }
    return ::CallWindowProcW(saved, hwnd, msg, wParam, lParam);
}

int KBToolTips::OnInitDialog() { return 1; }

LRESULT KBToolTips::OnUserCloseWindow(WPARAM wParam, LPARAM lParam)
{
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

void KBToolTips::CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

int KBToolTips::OnCreate(CREATESTRUCTW*)
{
    MToolWindow::RestyleAsToolWindow(m_hWnd);
    return 1;
}

int KBToolTips::OnSize(UINT, int, int)
{
    RECT client = {};
    GetClientRect(&client);
    InvalidateRect(CRect(client), FALSE);
    return 1;
}

LRESULT KBToolTips::OnPaint() { return 1; }

int KBToolTips::LoadBKImage(CString file) { return m_background.LoadFile(file); }

int KBToolTips::SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* extra, POINT)
{
    return ArgumentsUsable(m_title, m_text, title, text, extra) ? 1 : 0;
}

} // namespace VREL
