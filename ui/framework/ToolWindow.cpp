#include "ui/framework/ToolWindow.h"

#include <windowsx.h>

#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

// Caption and sizing frame off; clip siblings and children, and bit 0x8.
constexpr DWORD kToolStyleMask = 0xFF3BFFFF;
constexpr DWORD kToolStyleAdded = 0x06000008;
constexpr int kRoundCorner = 3;
constexpr UINT kFontResourceId = 106;
const wchar_t kFontResourceType[] = L"ttf";

} // namespace

// ---- ToolImage ------------------------------------------------------------------------------

int ToolImage::LoadFile(const CString& file)
{
    Reset();
    image.reset(MRender::LoadImageFromFile(GetSkinFolder() + file));
    if (image && image->GetLastStatus() != Gdiplus::Ok)
        image.reset();
    if (!image)
        return 0;
    width = static_cast<int>(image->GetWidth());
    height = static_cast<int>(image->GetHeight());
    return 1;
}

int ToolImage::LoadResource(UINT id, const CString& type)
{
    Reset();
    image.reset(MRender::LoadImageFromIDResource(id, type, Manager::GetInstance()));
    if (image && image->GetLastStatus() != Gdiplus::Ok)
        image.reset();
    if (!image)
        return 0;
    width = static_cast<int>(image->GetWidth());
    height = static_cast<int>(image->GetHeight());
    return 1;
}

void ToolImage::Reset()
{
    image.reset();
    width = 0;
    height = 0;
}

// ---- MToolWindow -----------------------------------------------------------------------------

MToolWindow::MToolWindow() = default;

MToolWindow::~MToolWindow()
{
    // The window may outlive the object; from here on it must not reach it.
    Detach();
    m_pFontFamily.reset();
    m_pFontCollection.reset();
}

LRESULT MToolWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Handlers may destroy the window; the default procedure gets it as it was.
    HWND hwnd = m_hWnd;
    WNDPROC saved = m_oldWndProc;
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const UINT keys = static_cast<UINT>(wParam);
    switch (msg)
    {
    case WM_CREATE:
        OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), pt.x, pt.y);
        break;
    case WM_SETFOCUS:
        OnSetFocus(nullptr);
        break;
    case WM_KILLFOCUS:
        OnKillFocus(nullptr);
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_NCACTIVATE:
        OnNcActivate(static_cast<BOOL>(wParam));
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(keys, pt);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(keys, pt);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(keys, pt);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(keys, pt);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(keys, pt);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(keys, pt);
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(keys, pt);
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(keys, lParam);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(keys, lParam);
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

int MToolWindow::PreTranslateMessage(MSG*) { return 0; }

int MToolWindow::OnInitDialog() { return 1; }

void MToolWindow::OnDestroyMessage(HWND) { PostNcDestroy(); }

LRESULT MToolWindow::OnUserCloseWindow(WPARAM wParam, LPARAM lParam)
{
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

void MToolWindow::CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

void MToolWindow::RestyleAsToolWindow(HWND window)
{
    if (!window)
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    ::SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & kToolStyleMask) | kToolStyleAdded));
    ::SetWindowLongW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

int MToolWindow::OnCreate(CREATESTRUCTW*)
{
    RestyleAsToolWindow(m_hWnd);
    return 1;
}

int MToolWindow::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        SetupRegion(type == SIZE_MAXIMIZED ? 0 : kRoundCorner);
    RECT client = {};
    GetClientRect(&client);
    InvalidateRect(CRect(client), FALSE);
    return 1;
}

LRESULT MToolWindow::OnMouseMove(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnMouseLeave(UINT, LPARAM) { return 0; }
LRESULT MToolWindow::OnMouseHover(UINT, LPARAM) { return 0; }
LRESULT MToolWindow::OnMouseWheel(UINT, short, CPoint) { return 0; }
LRESULT MToolWindow::OnLButtonDown(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnLButtonUp(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnLButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnRButtonDown(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnRButtonUp(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnRButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MToolWindow::OnKeyDown(UINT, UINT, UINT) { return 0; }
LRESULT MToolWindow::OnNcHitTest(CPoint) { return 0; }
LRESULT MToolWindow::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
LRESULT MToolWindow::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { return 0; }
LRESULT MToolWindow::OnNcActivate(BOOL) { return 1; }
LRESULT MToolWindow::OnSetFocus(HWND) { return 1; }
LRESULT MToolWindow::OnKillFocus(HWND) { return 1; }
LRESULT MToolWindow::OnWindowPosChanging(WINDOWPOS*) { return 0; }
LRESULT MToolWindow::OnWindowPosChanged(WINDOWPOS*) { return 1; }
LRESULT MToolWindow::OnPaint() { return 1; }

void MToolWindow::OnTimer(UINT id)
{
    if (id != TIMER_BALLOON_HIDE)
        return;
    KillTimer(TIMER_BALLOON_HIDE);
    if (IsWindowVisible())
        ShowWindow(SW_HIDE);
}

LRESULT MToolWindow::OnNcPaint() { return 0; }
LRESULT MToolWindow::OnClose() { return 1; }
LRESULT MToolWindow::PostNcDestroy() { return 0; }
LRESULT MToolWindow::OnDestroy() { return 0; }

void MToolWindow::ApplyRoundRegion(HWND window, int corner)
{
    if (!window || !::IsWindow(window))
        return;
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    HRGN region = ::CreateRoundRectRgn(0, 0, rect.right - rect.left, rect.bottom - rect.top, corner, corner);
    // The window owns the region once it accepts it; only a refused one is freed here.
    if (region && !::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
}

void MToolWindow::SetupRegion(int corner) { ApplyRoundRegion(m_hWnd, corner); }

Gdiplus::FontFamily* MToolWindow::LoadTempFont()
{
    if (m_pFontFamily)
        return m_pFontFamily.get();
    HMODULE module = GetLibraryModule();
    HRSRC info = module ? ::FindResourceW(module, MAKEINTRESOURCEW(kFontResourceId), kFontResourceType) : nullptr;
    HGLOBAL handle = info ? ::LoadResource(module, info) : nullptr;
    const void* data = handle ? ::LockResource(handle) : nullptr;
    const DWORD size = info ? ::SizeofResource(module, info) : 0;
    if (!data || size == 0)
        return nullptr;
    auto collection = std::make_unique<Gdiplus::PrivateFontCollection>();
    if (collection->AddMemoryFont(data, static_cast<INT>(size)) != Gdiplus::Ok || collection->GetFamilyCount() < 1)
        return nullptr;
    auto family = std::make_unique<Gdiplus::FontFamily>();
    INT found = 0;
    if (collection->GetFamilies(1, family.get(), &found) != Gdiplus::Ok || found < 1)
        return nullptr;
    m_pFontCollection = std::move(collection);
    m_pFontFamily = std::move(family);
    return m_pFontFamily.get();
}

} // namespace VREL
