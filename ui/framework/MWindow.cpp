#include "ui/framework/MWindow.h"

#include <vector>

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/Manager.h"

namespace VREL {

namespace {

const wchar_t kObjectProperty[] = L"Control";
const wchar_t kDefaultWindowName[] = L"VrelClient";
// Style bits of the default window.
constexpr DWORD kDefaultStyle = 0x80B;
const CRect kDefaultRect(0, 0, 800, 600);
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
// Windows wider than this get rounded corners.
constexpr int kRoundedMinWidth = 200;
constexpr int kRegionInset = 2;
constexpr int kCornerEllipse = 20;
constexpr UINT kStyleChangeFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
const HWND kInvalidHandle = reinterpret_cast<HWND>(-1);

MWindow* LoadObject(HWND hwnd, bool useProperty)
{
    if (useProperty)
        return static_cast<MWindow*>(::GetPropW(hwnd, kObjectProperty));
    return reinterpret_cast<MWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void StoreObject(HWND hwnd, MWindow* object, bool useProperty)
{
    if (!useProperty)
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    else if (object)
        ::SetPropW(hwnd, kObjectProperty, object);
    else
        ::RemovePropW(hwnd, kObjectProperty);
}

// Rounded corners belong to the library's own top-level windows: a child
// window, a system control copied as a superclass (the in-place edits) and
// a tool-window popup opened under a control (the drop-downs) would lose
// their corners' pixels to the region.
bool TakesRoundedRegion(DWORD style, DWORD exStyle, bool superclass, int width)
{
    if (width <= kRoundedMinWidth)
        return false;
    if (style & WS_CHILD)
        return false;
    if (superclass)
        return false;
    return !(exStyle & WS_EX_TOOLWINDOW);
}

} // namespace

MWindow::MWindow() : m_hParent(nullptr), m_hWnd(nullptr), m_oldWndProc(::DefWindowProcW), m_bSuperclassed(false), m_modalRuns(0) {}

MWindow::~MWindow() { Detach(); }

void MWindow::Detach()
{
    if (m_hWnd && m_hWnd != kInvalidHandle && ::IsWindow(m_hWnd) && LoadObject(m_hWnd, m_bSuperclassed) == this)
        StoreObject(m_hWnd, nullptr, m_bSuperclassed);
}

bool MWindow::HandleSet() const { return m_hWnd && m_hWnd != kInvalidHandle; }

bool MWindow::WindowExists() const { return HandleSet() && ::IsWindow(m_hWnd); }

// ---- virtual operations ------------------------------------------------------------------

const wchar_t* MWindow::GetWindowClassName() const { return L"MWindow"; }

const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

int MWindow::ShowWindow(int cmd) { return HandleSet() ? ::ShowWindow(m_hWnd, cmd) : 0; }

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_oldWndProc, m_hWnd, msg, wParam, lParam);
}

int MWindow::PreTranslateMessage(MSG*) { return 0; }

int MWindow::OnInitDialog() { return 1; }

void MWindow::OnDestroyMessage(HWND) {}

// ---- creation -------------------------------------------------------------------------------

HWND MWindow::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect, HMENU menu)
{
    if (WindowExists())
        return m_hWnd;
    m_hParent = parent;
    const bool superclass = GetSuperClassName() != nullptr;
    if (!(superclass ? RegisterSuperClass() : RegisterWindowClass()))
        return nullptr;
    m_bSuperclassed = superclass;

    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HWND hwnd = ::CreateWindowExW(exStyle, GetWindowClassName(), name, style, rect.left, rect.top, width, height,
                                  parent, menu, Manager::GetInstance(), this);
    if (hwnd && TakesRoundedRegion(style, exStyle, superclass, width))
    {
        HRGN region = ::CreateRoundRectRgn(kRegionInset, kRegionInset, width, height, kCornerEllipse, kCornerEllipse);
        // The window owns the region once SetWindowRgn succeeds.
        if (region && !::SetWindowRgn(hwnd, region, TRUE))
            ::DeleteObject(region);
    }
    if (hwnd && ::IsWindow(hwnd))
        ::MoveWindow(hwnd, rect.left, rect.top, width, height, TRUE);
    OnInitDialog();
    return hwnd;
}

HWND MWindow::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect)
{
    return Create(parent, name, style, exStyle, rect, nullptr);
}

HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, kDefaultWindowName, kDefaultStyle, 0, rect); }

HWND MWindow::Create(HWND parent) { return Create(parent, kDefaultRect); }

int MWindow::RegisterWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = kClassStyle;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = Manager::GetInstance();
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassW(&wc))
        return 1;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS ? 1 : 0;
}

int MWindow::RegisterSuperClass()
{
    const wchar_t* super = GetSuperClassName();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, super, &wc) && !::GetClassInfoExW(Manager::GetInstance(), super, &wc))
        return 0;
    m_oldWndProc = wc.lpfnWndProc;
    wc.cbSize = sizeof(wc);
    wc.hInstance = Manager::GetInstance();
    wc.lpfnWndProc = ControlProc;
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassExW(&wc))
        return 1;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS ? 1 : 0;
}

LRESULT MWindow::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool useProperty)
{
    // What a handler lets go of is freed when the outermost message is over.
    MessageScope scope;
    MWindow* self = nullptr;
    if (msg == WM_NCCREATE)
    {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<MWindow*>(create->lpCreateParams);
        if (self)
        {
            self->m_hWnd = hwnd;
            StoreObject(hwnd, self, useProperty);
        }
    }
    else
    {
        self = LoadObject(hwnd, useProperty);
    }

    if (msg == WM_NCDESTROY)
    {
        if (!self)
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        const LRESULT result = ::CallWindowProcW(self->m_oldWndProc, hwnd, msg, wParam, lParam);
        StoreObject(hwnd, nullptr, useProperty);
        self->m_hWnd = nullptr;
        // A close sent rather than posted (the system close command, another
        // program, another thread) destroys the window while the modal loop
        // waits in GetMessageW, which returns only for a queued message.
        if (self->m_modalRuns > 0)
            ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
        self->OnDestroyMessage(hwnd);
        return result;
    }
    if (self)
        return self->OnWindowMessage(msg, wParam, lParam);
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK MWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(hwnd, msg, wParam, lParam, true);
}

// ---- modal loop and placement -------------------------------------------------------------------

UINT MWindow::RunModal(int cmdShow, bool disableOwner)
{
    if (!WindowExists())
        return 0xFFFFFFFF;
    UINT result = 0;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, cmdShow);
    if (disableOwner && owner)
        ::EnableWindow(owner, FALSE);

    MSG msg = {};
    bool quit = false;
    ++m_modalRuns;
    while (m_hWnd && ::IsWindow(m_hWnd))
    {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            quit = true;
            break;
        }
        if (got == -1)
            break;
        // Only a WM_CLOSE that passes through the queue carries a result.
        if (msg.message == WM_CLOSE && msg.hwnd == m_hWnd)
        {
            result = static_cast<UINT>(msg.wParam);
            if (owner)
            {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    --m_modalRuns;

    if (owner)
    {
        if (disableOwner)
            ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    // An outer loop must end as well.
    if (quit)
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

UINT MWindow::ShowModal(int cmdShow) { return RunModal(cmdShow, true); }

UINT MWindow::ShowModal2(int cmdShow) { return RunModal(cmdShow, false); }

void MWindow::CenterWindow(MWindow* alternate)
{
    if (!WindowExists())
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const bool child = (style & WS_CHILD) != 0;
    HWND centre;
    if (alternate && alternate->WindowExists())
        centre = alternate->m_hWnd;
    else
        centre = child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    RECT area = {};
    RECT target = {};
    if (child)
    {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(centre, &target);
        ::MapWindowPoints(centre, parent, reinterpret_cast<POINT*>(&target), 2);
    }
    else
    {
        if (centre && !(::IsWindowVisible(centre) && !::IsIconic(centre)))
            centre = nullptr;
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(centre ? centre : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        area = monitor.rcWork;
        if (centre)
            ::GetWindowRect(centre, &target);
        else
            target = area;
    }

    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (target.left + target.right) / 2 - width / 2;
    int y = (target.top + target.bottom) / 2 - height / 2;
    if (x + width > area.right)
        x = area.right - width;
    if (x < area.left)
        x = area.left;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (y < area.top)
        y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop()
{
    if (!WindowExists())
        return;
    HWND foreground = ::GetForegroundWindow();
    const DWORD foregroundThread = ::GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ownThread = ::GetWindowThreadProcessId(m_hWnd, nullptr);
    if (foregroundThread == ownThread)
    {
        ::SetForegroundWindow(m_hWnd);
    }
    else
    {
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        ::AllowSetForegroundWindow(ASFW_ANY);
        ::SetForegroundWindow(m_hWnd);
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    }
    const bool minimised = (::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_MINIMIZE) != 0;
    ::ShowWindow(m_hWnd, minimised ? SW_RESTORE : SW_SHOW);
}

void MWindow::SetIcon(UINT iconId)
{
    if (!WindowExists())
        return;
    HINSTANCE module = Manager::GetInstance();
    HANDLE bigIcon = ::LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                              ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    HANDLE smallIcon = ::LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

// ---- wrappers --------------------------------------------------------------------------------------

int MWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    if (!HandleSet())
        return 0;
    const DWORD old = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const DWORD style = (old & ~remove) | add;
    if (style == old)
        return 0;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, swpFlags | kStyleChangeFlags);
    return 1;
}

int MWindow::ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    if (!HandleSet())
        return 0;
    const DWORD old = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    const DWORD style = (old & ~remove) | add;
    if (style == old)
        return 0;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(style));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, swpFlags | kStyleChangeFlags);
    return 1;
}

DWORD MWindow::GetStyle() { return HandleSet() ? static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)) : 0; }

DWORD MWindow::GetExStyle()
{
    return HandleSet() ? static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)) : 0;
}

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return HandleSet() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

LRESULT MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return HandleSet() ? ::PostMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

int MWindow::DestroyWindow() { return WindowExists() ? ::DestroyWindow(m_hWnd) : 0; }

int MWindow::GetClientRect(RECT* rect) { return WindowExists() ? ::GetClientRect(m_hWnd, rect) : 0; }

int MWindow::GetWindowRect(RECT* rect) { return WindowExists() ? ::GetWindowRect(m_hWnd, rect) : 0; }

int MWindow::SetWindowTextW(const wchar_t* text) { return WindowExists() ? ::SetWindowTextW(m_hWnd, text) : 0; }

int MWindow::GetWindowTextW(CString& text)
{
    if (!WindowExists())
        return 0;
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    text = CString(buffer.data(), copied);
    return copied;
}

int MWindow::GetWindowTextLengthW() { return WindowExists() ? ::GetWindowTextLengthW(m_hWnd) : -1; }

int MWindow::EnableWindow(int enable) { return WindowExists() ? ::EnableWindow(m_hWnd, enable) : 0; }

int MWindow::IsWindowEnabled() { return WindowExists() ? ::IsWindowEnabled(m_hWnd) : 0; }

int MWindow::IsWindowVisible() { return WindowExists() ? ::IsWindowVisible(m_hWnd) : 0; }

int MWindow::IsIconic() { return WindowExists() ? ::IsIconic(m_hWnd) : 0; }

int MWindow::InvalidateRect(CRect rect, int erase) { return WindowExists() ? ::InvalidateRect(m_hWnd, &rect, erase) : 0; }

HWND MWindow::SetCapture() { return WindowExists() ? ::SetCapture(m_hWnd) : nullptr; }

int MWindow::ReleaseCapture() { return WindowExists() ? ::ReleaseCapture() : 0; }

HWND MWindow::SetFocus() { return WindowExists() ? ::SetFocus(m_hWnd) : nullptr; }

UINT_PTR MWindow::SetTimer(UINT id, UINT ms, TIMERPROC proc) { return WindowExists() ? ::SetTimer(m_hWnd, id, ms, proc) : 0; }

int MWindow::KillTimer(UINT id) { return WindowExists() ? ::KillTimer(m_hWnd, id) : 0; }

int MWindow::ClientToScreen(POINT* point) { return WindowExists() ? ::ClientToScreen(m_hWnd, point) : 0; }

int MWindow::ClientToScreen(RECT* rect)
{
    if (!WindowExists() || !rect)
        return 0;
    POINT* corners = reinterpret_cast<POINT*>(rect);
    return ::ClientToScreen(m_hWnd, &corners[0]) && ::ClientToScreen(m_hWnd, &corners[1]);
}

int MWindow::ScreenToClient(POINT* point) { return WindowExists() ? ::ScreenToClient(m_hWnd, point) : 0; }

int MWindow::ScreenToClient(RECT* rect)
{
    if (!WindowExists() || !rect)
        return 0;
    POINT* corners = reinterpret_cast<POINT*>(rect);
    return ::ScreenToClient(m_hWnd, &corners[0]) && ::ScreenToClient(m_hWnd, &corners[1]);
}

int MWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return WindowExists() ? ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) : 0;
}

int MWindow::MoveWindow(int x, int y, int cx, int cy, BOOL repaint)
{
    return WindowExists() ? ::MoveWindow(m_hWnd, x, y, cx, cy, repaint) : 0;
}

int MWindow::MoveWindow(const RECT* rect, BOOL repaint)
{
    if (!WindowExists() || !rect)
        return 0;
    return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

} // namespace VREL
