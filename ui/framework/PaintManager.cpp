#include "ui/framework/PaintManager.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/BackBuffer.h"
#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr COLORREF kDefaultBackColor = 0x1A1A1A;
constexpr COLORREF kDefaultBorderColor = 0x120F0A;
constexpr int kDefaultMinSize = 10;
constexpr UINT kFirstWindowTimerCounter = 4096;
constexpr DWORD kDefaultEnabledColor = 0x808080;
constexpr int kDefaultBackParameter = 4;
// Scroll-bar skins of the library's own resources.
constexpr UINT kVerticalScrollResId = 102;
constexpr UINT kHorizontalScrollResId = 101;
constexpr DWORD kHoverTimeMs = 400;
// Posted by a window's first paint to itself: see DeferDropRegistration.
constexpr UINT WM_REGISTER_DROP_TARGET = WM_USER + 67;
// A drag starts on an armed move that stays this close to the previous one.
constexpr int kDragThreshold = 2;
constexpr int kWheelNotch = WHEEL_DELTA;
// Native child windows get their own notifications back under this offset.
constexpr UINT kReflectOffset = 0x2000;
constexpr UINT kFramePosFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOSENDCHANGING;
constexpr BYTE kOpaque = 0xFF;
const CPoint kOutside(-1, -1);

bool Meets(const RECT& a, const RECT& b)
{
    CRect common;
    return common.IntersectRect(a, b);
}

Gdiplus::Color OpaqueColor(COLORREF colour)
{
    return Gdiplus::Color(kOpaque, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// A window of at least this many pixels has its back buffer made, and its
// memory written, on a thread of its own as soon as it is attached.
constexpr size_t kPrepareAheadPixels = 512 * 1024;

// A solid fill written straight into the back buffer's bottom-up rows: the
// same opaque pixels GDI+ writes, without its rasteriser, which takes tens
// of milliseconds for a window-sized rectangle - on every repaint of a
// picture that changes many times a second.
void FillOpaque(BYTE* bits, int width, int height, const CRect& rect, Gdiplus::ARGB argb)
{
    ::GdiFlush();
    CRect area;
    if (!area.IntersectRect(rect, CRect(0, 0, width, height)))
        return;
    for (int y = area.top; y < area.bottom; ++y)
    {
        uint32_t* row = reinterpret_cast<uint32_t*>(bits) + static_cast<size_t>(height - 1 - y) * width;
        std::fill(row + area.left, row + area.right, static_cast<uint32_t>(argb));
    }
}

// The controls of a list that are not withdrawn, copied under its lock:
// handlers run without the lock and may remove controls meanwhile, which
// stay allocated until the message is over.
std::vector<MControl*> LiveCopy(const std::vector<MControl*>& list, CriticalSection& lock)
{
    std::vector<MControl*> live;
    ScopedLock guard(lock);
    live.reserve(list.size());
    for (MControl* control : list)
    {
        if (!control->IsWithdrawn())
            live.push_back(control);
    }
    return live;
}

} // namespace

PaintManager::PaintManager()
    : m_pOwnerWnd(nullptr),
      m_bAttached(0),
      m_hWnd(nullptr),
      m_hDcPaint(nullptr),
      m_backColor(kDefaultBackColor),
      m_borderColor(kDefaultBorderColor),
      m_maxWidth(0),
      m_maxHeight(0),
      m_minWidth(kDefaultMinSize),
      m_minHeight(kDefaultMinSize),
      m_bDragArmed(0),
      m_hDragBitmap(nullptr),
      m_bLayered(0),
      m_pBkImage(nullptr),
      m_bkWidth(0),
      m_bkHeight(0),
      m_fontName(L"Segoe UI"),
      m_tickTimerId(0),
      m_windowTimerCounter(kFirstWindowTimerCounter),
      m_bTracking(0),
      m_bPressed(0),
      m_bCaptured(0),
      m_bWndDrag(1),
      m_scrollVId(0),
      m_scrollHId(0),
      m_defaultEnabledColor(kDefaultEnabledColor),
      m_pHover(nullptr),
      m_pFocus(nullptr),
      m_tooltipOwnerId(0),
      m_hTooltipWnd(nullptr),
      m_bkMode(BACK_MODE_IMAGE),
      m_bkParameter(kDefaultBackParameter),
      m_backBuffer(std::make_unique<BackBuffer>())
{
}

PaintManager::~PaintManager()
{
    // Stop the fast tick before anything goes: a tick reaching a half
    // destroyed manager would use freed lists.
    KillTimer();
    if (m_hTooltipWnd && ::IsWindow(m_hTooltipWnd))
        ::DestroyWindow(m_hTooltipWnd);
    m_hTooltipWnd = nullptr;
    m_pAirBladder.reset();
    if (m_hDragBitmap)
        ::DeleteObject(m_hDragBitmap);
    m_hDragBitmap = nullptr;
    DestroyData();
    // A manager that was never attached still owns what was added to it.
    ClearAllControls();
    delete m_pBkImage;
    m_pBkImage = nullptr;
    m_bkCache.reset();
}

// ---- multimedia tick -------------------------------------------------------------------

void PaintManager::OnMTimer(UINT id)
{
    if (id != m_tickTimerId.load())
        return;
    // The run lock is held while ticking: a control leaving the list waits
    // for it, so no tick reaches a freed control. The list lock is held only
    // to copy the list, so a ticking control's repaint request (which takes
    // the control lists' locks) never holds up a thread that is removing a
    // control.
    ScopedLock run(m_tickRunLock);
    std::vector<MControl*> ticks;
    {
        ScopedLock lock(m_tickLock);
        ticks = m_ticks;
    }
    for (MControl* control : ticks)
    {
        if (!control->IsWithdrawn() && control->IsRunTimer() && control->IsVisible() && control->IsParentVisible())
            control->OnTimer();
    }
}

void PaintManager::SetMTimer(UINT period) { m_tickTimerId = SetTimer(period, CString(), 0); }

void PaintManager::KillMTimer(UINT id) { KillTimer(id); }

void PaintManager::KillMTimer() { KillTimer(); }

int PaintManager::AddMTimer(MControl* control)
{
    if (!control || control->IsWithdrawn())
        return 0;
    ScopedLock lock(m_tickLock);
    m_ticks.push_back(control);
    return 1;
}

int PaintManager::DeleteMTimer(MControl* control)
{
    ScopedLock lock(m_tickLock);
    auto it = std::find(m_ticks.begin(), m_ticks.end(), control);
    if (it == m_ticks.end())
        return 0;
    m_ticks.erase(it);
    return 1;
}

// ---- attachment and lifetime ---------------------------------------------------------------

bool PaintManager::HasWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

void PaintManager::Init(HWND window, MWindow* owner)
{
    if (!window || !::IsWindow(window))
        return;
    if (window != m_hWnd)
    {
        if (m_hDcPaint && m_hWnd && ::IsWindow(m_hWnd))
            ::ReleaseDC(m_hWnd, m_hDcPaint);
        m_hWnd = window;
        m_hDcPaint = ::GetDC(window);
    }
    m_pOwnerWnd = owner;
    if (m_bDropAfterPaint)
        m_bDropPending = 1;
    else
        InitDragDrop();
    m_bAttached = 1;
    CRect client;
    ::GetClientRect(window, &client);
    if (static_cast<size_t>(client.Width()) * static_cast<size_t>(client.Height()) >= kPrepareAheadPixels && !m_bLayered)
        m_backBuffer->PrepareAhead(client.Width(), client.Height(), OpaqueColor(m_backColor).GetValue());
    m_scrollVId = kVerticalScrollResId;
    m_scrollHId = kHorizontalScrollResId;
}

void PaintManager::OnDestroyMessage(HWND window)
{
    if (window == m_hWnd)
        DestroyData();
}

void PaintManager::DestroyData()
{
    if (!m_bAttached)
        return;
    // The window still exists here (WM_NCDESTROY at the latest).
    RevokeDropTarget();
    delete m_pBkImage;
    m_pBkImage = nullptr;
    m_bkCache.reset();
    m_backBuffer->Release();
    if (m_hDcPaint)
        ::ReleaseDC(m_hWnd, m_hDcPaint);
    m_hDcPaint = nullptr;
    KillTimer();
    ClearTimers();
    ClearAreaControls();
    ClearControls();
    ClearImgResInfo();
    ClearTempFont();
    // The locks stay until the destructor: other threads may still send
    // repaint requests to a manager whose window is gone.
    m_bAttached = 0;
}

void PaintManager::ForgetControl(MControl* control)
{
    {
        ScopedLock lock(m_tickLock);
        m_ticks.erase(std::remove(m_ticks.begin(), m_ticks.end(), control), m_ticks.end());
    }
    {
        // Waits for a tick that may be inside the control (on the tick's own
        // thread the lock is re-entrant: a control removed from its own tick).
        ScopedLock run(m_tickRunLock);
    }
    if (m_pHover == control)
        m_pHover = nullptr;
    if (m_pFocus == control)
        m_pFocus = nullptr;
    KillTimer(control);
    ForgetCaretOwner(control);
}

// ---- controls ----------------------------------------------------------------------------------

MControl* PaintManager::CreateArea(MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                   const wchar_t* title, int visible, int enabled)
{
    return CreateControl(CONTROL_KIND_AREA, owner, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateControl(MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled)
{
    return CreateControl(CONTROL_KIND_CONTROL, owner, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::AddControl(UINT kind, MControl* control)
{
    if (!control)
        return nullptr;
    control->SetManager(this);
    if (kind == CONTROL_KIND_AREA)
    {
        ScopedLock lock(m_areaLock);
        m_areas.push_back(control);
    }
    else if (kind == CONTROL_KIND_CONTROL)
    {
        ScopedLock lock(m_controlLock);
        m_controls.push_back(control);
    }
    return control;
}

std::vector<MControl*> PaintManager::CopyControls()
{
    // Withdrawn controls are not in the list: RemoveControl and ClearList
    // take them out under the lock before they withdraw them.
    ScopedLock lock(m_controlLock);
    return m_controls;
}

MControl* PaintManager::GetControl(UINT id)
{
    ControlPin pin;
    const std::vector<MControl*> controls = LiveCopy(m_controls, m_controlLock);
    const std::vector<MControl*> areas = LiveCopy(m_areas, m_areaLock);
    for (const std::vector<MControl*>* list : {&controls, &areas})
    {
        for (MControl* control : *list)
        {
            if (control->IsWithdrawn())
                continue;
            if (control->GetControlID() == id)
                return control;
            if (MControl* found = control->GetControl(id))
                return found;
        }
    }
    return nullptr;
}

void PaintManager::RemoveControl(MControl* control)
{
    bool found = false;
    {
        ScopedLock lock(m_controlLock);
        auto it = std::find(m_controls.begin(), m_controls.end(), control);
        if (it != m_controls.end())
        {
            m_controls.erase(it);
            found = true;
        }
    }
    // Outside the lock: withdrawing waits for a running tick, which needs
    // this lock for its repaint request.
    if (found)
        MControl::Dispose(control);
}

void PaintManager::ClearList(std::vector<MControl*>& list, CriticalSection& lock)
{
    std::vector<MControl*> doomed;
    {
        ScopedLock guard(lock);
        doomed.swap(list);
    }
    for (MControl* control : doomed)
        MControl::Dispose(control);
}

void PaintManager::ClearAreaControls() { ClearList(m_areas, m_areaLock); }

void PaintManager::ClearControls() { ClearList(m_controls, m_controlLock); }

void PaintManager::ClearAllControls()
{
    ClearAreaControls();
    ClearControls();
}

// ---- focus -----------------------------------------------------------------------------------------

void PaintManager::SetFocusControl(MControl* control)
{
    if (control && control->IsWithdrawn())
        control = nullptr;
    if (control == m_pFocus)
        return;
    if (m_pFocus)
        m_pFocus->SetControlFocus(0);
    if (control)
        control->SetControlFocus(1);
    m_pFocus = control;
}

MControl* PaintManager::FindFocusable(bool forward)
{
    ScopedLock lock(m_controlLock);
    const size_t count = m_controls.size();
    auto at = [&](size_t step) { return m_controls[forward ? step : count - 1 - step]; };
    auto focusable = [](MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };

    bool passed = false;
    for (size_t step = 0; step < count; ++step)
    {
        MControl* control = at(step);
        if (passed && focusable(control))
            return control;
        if (control == m_pFocus)
            passed = true;
    }
    // Wrap around; with no focus control the walk counts as passed.
    passed = passed || m_pFocus == nullptr;
    for (size_t step = 0; step < count; ++step)
    {
        MControl* control = at(step);
        if (!m_pHover)
            m_pHover = control;
        if (passed && focusable(control))
            return control;
    }
    return nullptr;
}

MControl* PaintManager::GetNextFocusableControl() { return FindFocusable(true); }

MControl* PaintManager::GetPrevFocusableControl() { return FindFocusable(false); }

// ---- window --------------------------------------------------------------------------------------------

void PaintManager::GetClientRect(CRect& rect)
{
    if (HasWindow())
        ::GetClientRect(m_hWnd, &rect);
}

void PaintManager::GetWindowRect(CRect& rect)
{
    if (HasWindow())
        ::GetWindowRect(m_hWnd, &rect);
}

void PaintManager::GetClientSize(int& width, int& height)
{
    CRect client;
    GetClientRect(client);
    width = client.Width();
    height = client.Height();
}

void PaintManager::SetWindowMaxSize(int width, int height)
{
    m_maxWidth = width;
    m_maxHeight = height;
}

void PaintManager::SetWindowMixSize(int width, int height)
{
    m_minWidth = width;
    m_minHeight = height;
}

void PaintManager::GetWindowMinSize(int& width, int& height) const
{
    width = m_minWidth;
    height = m_minHeight;
}

void PaintManager::GetWindowManSize(int& width, int& height) const { GetWindowMinSize(width, height); }

HWND PaintManager::SetCapture() { return HasWindow() ? ::SetCapture(m_hWnd) : nullptr; }

int PaintManager::ReleaseCapture() { return HasWindow() ? ::ReleaseCapture() : 0; }

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return HasWindow() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

LRESULT PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return HasWindow() ? ::PostMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

void PaintManager::SetScrollResID(UINT vertical, UINT horizontal)
{
    m_scrollVId = vertical;
    m_scrollHId = horizontal;
}

void PaintManager::SetBackMode(enumBackMode mode, int parameter)
{
    m_bkCache.reset();
    m_bkMode = mode;
    m_bkParameter = parameter;
}

void PaintManager::SetBackColor(COLORREF back, COLORREF border)
{
    m_backColor = back;
    m_borderColor = border;
}

// ---- dispatch -------------------------------------------------------------------------------------------

UINT PaintManager::GetModifierCode()
{
    UINT code = 0;
    if (KeyHeld(VK_MENU))
        code |= MODIFIER_ALT;
    if (KeyHeld(VK_CONTROL))
        code |= MODIFIER_CTRL;
    if (KeyHeld(VK_SHIFT))
        code |= MODIFIER_SHIFT;
    return code;
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Controls let go while the message runs are freed when it is over.
    MessageScope scope;
    // A control that answers the message hook takes the message away from
    // the manager; the host then runs its own procedure.
    for (MControl* control : LiveCopy(m_controls, m_controlLock))
    {
        if (!control->IsWithdrawn() && control->OnWindowMessage(msg, wParam, lParam))
            return 0;
    }

    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const UINT keys = static_cast<UINT>(wParam);
    switch (msg)
    {
    case WM_PAINT:
        return OnPaint() ? 1 : 0;
    case WM_REGISTER_DROP_TARGET:
        if (!m_bDropRegistered)
            InitDragDrop();
        return 1;
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER:
        return 1;
    case WM_NCDESTROY:
        DestroyData();
        return 1;
    case WM_NCACTIVATE:
        return OnNcActivate(static_cast<BOOL>(wParam));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return OnKeyDown(static_cast<UINT>(wParam));
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (!lParam)
            return 0;
        return ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + kReflectOffset, wParam, lParam);
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        return OnMouseMove(keys, x, y);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(keys, x, y);
    case WM_LBUTTONUP:
        return OnLButtonUp(keys, x, y);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(keys, x, y);
    case WM_RBUTTONDOWN:
        return OnRButtonDown(keys, x, y);
    case WM_RBUTTONUP:
        return OnRButtonUp(keys, x, y);
    case WM_RBUTTONDBLCLK:
        return OnRButtonDblClk(keys, x, y);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), x, y);
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    default:
        return 0;
    }
}

int PaintManager::PreTranslateMessage(MSG* msg)
{
    if (!msg)
        return 0;
    switch (msg->message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    {
        if (msg->wParam != VK_TAB)
            return 0;
        const UINT code = GetModifierCode();
        MControl* candidate;
        if (code == 0)
            candidate = GetNextFocusableControl();
        else if (code == MODIFIER_SHIFT)
            candidate = GetPrevFocusableControl();
        else
            return 0;
        if (candidate == m_pFocus)
            return 0;
        SetFocusControl(candidate);
        return 1;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
        if (m_hTooltipWnd && ::IsWindow(m_hTooltipWnd))
            ::SendMessageW(m_hTooltipWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        return 0;
    default:
        return 0;
    }
}

// ---- mouse -----------------------------------------------------------------------------------------------

int PaintManager::OnMouseMove(UINT keys, int x, int y)
{
    if (!m_bTracking)
    {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = kHoverTimeMs;
        // The system's own tracking, not the common controls' wrapper of it:
        // that library is loaded only once a tooltip is first shown.
        m_bTracking = ::TrackMouseEvent(&track) ? 1 : 0;
    }

    if (m_bDragArmed && (keys & MK_LBUTTON))
    {
        const int dx = m_dragRef.x - x;
        const int dy = m_dragRef.y - y;
        m_dragRef = CPoint(x, y);
        if (std::abs(dx) <= kDragThreshold || std::abs(dy) <= kDragThreshold)
            return StartDrag();
    }

    const CPoint pt(x, y);
    if (MControl* hover = m_pHover)
    {
        if (((hover->PtInRect(pt) && hover->OnCheckMouseResponse(keys, pt)) || m_bPressed) && m_bTracking)
        {
            hover->OnMouseMove(keys, pt);
            return 1;
        }
        ClearTooltip();
    }
    // While a button is held the pressed control stays the hover control.
    if (m_bPressed)
        return 1;
    if (!m_bTracking)
    {
        m_pHover = nullptr;
        return 1;
    }

    MControl* hover = nullptr;
    for (MControl* control : LiveCopy(m_controls, m_controlLock))
    {
        if (control->IsWithdrawn())
            continue;
        control->OnMouseMove(keys, pt);
        if (!control->IsWithdrawn() && control->PtInRect(pt) && control->GetRresponse())
            hover = control;
    }
    // A handler may have withdrawn the control found earlier in the walk.
    m_pHover = (hover && !hover->IsWithdrawn()) ? hover : nullptr;
    return 1;
}

int PaintManager::OnMouseLeave()
{
    ClearTooltip();
    m_bTracking = 0;
    if (m_bPressed)
        return 1;
    if (MControl* hover = m_pHover)
        hover->OnMouseMove(0, kOutside);
    m_pHover = nullptr;
    return 1;
}

int PaintManager::ButtonDown(ButtonSide side, UINT keys, CPoint pt)
{
    if (m_pFocus && m_pFocus != m_pHover)
    {
        m_pFocus->SetControlFocus(0);
        m_pFocus = nullptr;
    }

    MControl* hover = m_pHover;
    if (hover && hover->IsVisible() && hover->GetRresponse() && hover->PtInRect(pt) &&
        hover->OnCheckMouseResponse(keys, pt))
    {
        if (side == LEFT_BUTTON)
        {
            if (hover->IsDragDrop() && hover->IsEnabled())
            {
                m_bDragArmed = 1;
                if (m_hDragBitmap)
                    ::DeleteObject(m_hDragBitmap);
                m_hDragBitmap = hover->GetDropBitmap();
                if (!m_hDragBitmap)
                    m_bDragArmed = 0;
            }
            m_bPressed = 1;
        }
        // The control's own press handling shows its focus look.
        m_pFocus = hover;
        const int taken = side == LEFT_BUTTON ? hover->OnLButtonDown(keys, pt) : hover->OnRButtonDown(keys, pt);
        // The handler may have removed the control; m_pHover is then null.
        if (!m_bCaptured && (!m_pHover || m_pHover->OnCheckMouseResponse(keys, pt)))
        {
            SetCapture();
            m_bCaptured = 1;
            return 1;
        }
        if (taken || side == RIGHT_BUTTON)
            return 1;
    }

    if (side == LEFT_BUTTON && m_bWndDrag)
    {
        // Nothing took the press: let the system move the window.
        ReleaseCapture();
        SendMessageW(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    }
    return 1;
}

int PaintManager::ButtonUp(ButtonSide side, UINT keys, CPoint pt)
{
    if (m_bCaptured)
    {
        ReleaseCapture();
        m_bCaptured = 0;
    }
    if (side == LEFT_BUTTON)
        m_bPressed = 0;
    if (MControl* hover = m_pHover)
    {
        if (hover->IsVisible() && hover->GetRresponse())
        {
            const CRect rect = hover->GetRect();
            if (side == LEFT_BUTTON)
                hover->OnLButtonUp(keys, pt);
            else
                hover->OnRButtonUp(keys, pt);
            if (!rect.PtInRect(pt))
                m_pHover = nullptr;
        }
        else
        {
            m_pHover = nullptr;
        }
    }
    if (side == LEFT_BUTTON)
        m_bDragArmed = 0;
    return 1;
}

int PaintManager::ButtonDblClk(ButtonSide side, UINT keys, CPoint pt)
{
    MControl* hover = m_pHover;
    if (hover && hover->IsVisible() && hover->GetRresponse())
    {
        const CRect rect = hover->GetRect();
        if (side == LEFT_BUTTON)
            hover->OnLButtonDblClk(keys, pt);
        else
            hover->OnRButtonDblClk(keys, pt);
        if (rect.PtInRect(pt))
            return 1;
    }
    m_pHover = nullptr;
    return 1;
}

int PaintManager::OnLButtonDown(UINT keys, int x, int y) { return ButtonDown(LEFT_BUTTON, keys, CPoint(x, y)); }

int PaintManager::OnLButtonUp(UINT keys, int x, int y) { return ButtonUp(LEFT_BUTTON, keys, CPoint(x, y)); }

int PaintManager::OnLButtonDblClk(UINT keys, int x, int y) { return ButtonDblClk(LEFT_BUTTON, keys, CPoint(x, y)); }

int PaintManager::OnRButtonDown(UINT keys, int x, int y) { return ButtonDown(RIGHT_BUTTON, keys, CPoint(x, y)); }

int PaintManager::OnRButtonUp(UINT keys, int x, int y) { return ButtonUp(RIGHT_BUTTON, keys, CPoint(x, y)); }

int PaintManager::OnRButtonDblClk(UINT keys, int x, int y)
{
    return ButtonDblClk(RIGHT_BUTTON, keys, CPoint(x, y));
}

int PaintManager::OnMouseWheel(UINT, int delta, int x, int y)
{
    POINT screen = {x, y};
    if (HasWindow())
        ::ScreenToClient(m_hWnd, &screen);
    const CPoint pt(screen);

    const int notches = delta / kWheelNotch;
    if (notches == 0)
        return 0;
    // A turn toward the user gives direction 1.
    const UINT direction = notches <= 0 ? 1 : 0;
    int taken = 0;
    for (int i = 0; i < std::abs(notches); ++i)
    {
        if (m_pHover && m_pHover->OnScroll(1, direction, pt))
        {
            taken = 1;
            continue;
        }
        for (MControl* control : LiveCopy(m_controls, m_controlLock))
        {
            if (!control->IsWithdrawn() && control->OnScroll(1, direction, pt))
            {
                taken = 1;
                break;
            }
        }
    }
    return taken;
}

// ---- keys and activation -------------------------------------------------------------------------------

int PaintManager::OnKeyDown(UINT key)
{
    const UINT code = GetModifierCode();
    // Keys go to the control under the mouse first, not to the focus control.
    if (m_pHover && m_pHover->OnKeyDown(key, 1, code))
        return 1;
    for (MControl* control : LiveCopy(m_controls, m_controlLock))
    {
        if (!control->IsWithdrawn() && control->OnKeyDown(key, 1, code))
            break;
    }
    return 1;
}

int PaintManager::OnKeyUp(UINT) { return 0; }

int PaintManager::OnNcActivate(BOOL active)
{
    if (!active)
    {
        m_bTracking = 0;
        m_bCaptured = 0;
        if (m_bPressed)
        {
            // No control may stay pressed once the window loses activation.
            m_bPressed = 0;
            if (m_pHover)
                m_pHover->OnLButtonUp(0, kOutside);
        }
        else if (m_pHover)
        {
            m_pHover->OnMouseMove(0, kOutside);
        }
        m_pHover = nullptr;
    }
    if (HasWindow())
    {
        if (m_bLayered)
        {
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        else
        {
            CRect client;
            ::GetClientRect(m_hWnd, &client);
            ::InvalidateRect(m_hWnd, &client, FALSE);
        }
    }
    return 1;
}

int PaintManager::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (!info)
        return 1;
    if (m_minWidth > 0)
        info->ptMinTrackSize.x = m_minWidth;
    if (m_minHeight > 0)
        info->ptMinTrackSize.y = m_minHeight;
    if (m_maxWidth > 0)
    {
        info->ptMaxTrackSize.x = m_maxWidth;
        info->ptMaxSize.x = m_maxWidth;
    }
    if (m_maxHeight > 0)
    {
        info->ptMaxTrackSize.y = m_maxHeight;
        info->ptMaxSize.y = m_maxHeight;
    }
    return 1;
}

int PaintManager::OnWindowPosChanged(WINDOWPOS* pos)
{
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kFramePosFlags);
    if (!pos)
        return 1;
    if (HasWindow())
        ::SendMessageW(m_hWnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
    if (HasWindow())
        ::SendMessageW(m_hWnd, WM_SIZE, 0, MAKELPARAM(pos->cx, pos->cy));
    return 1;
}

int PaintManager::OnCreate() { return 1; }

int PaintManager::OnSize() { return 1; }

int PaintManager::OnNcHitTest() { return 1; }

int PaintManager::OnNcCalcSize() { return 1; }

int PaintManager::OnWindowPosChanging() { return 1; }

int PaintManager::OnMouseHover() { return 1; }

int PaintManager::OnNcPaint() { return 1; }

int PaintManager::OnDestroy() { return 1; }

int PaintManager::PostNcDestroy()
{
    DestroyData();
    return 1;
}

// ---- repaint -------------------------------------------------------------------------------------------------

void PaintManager::Invalidate()
{
    if (HasWindow())
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void PaintManager::InvalidateRect(CRect rect, int erase)
{
    if (!HasWindow())
        return;
    if (m_bLayered)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    else
        ::InvalidateRect(m_hWnd, &rect, erase);
}

void PaintManager::MarkLaterOverlapping(std::vector<MControl*>& list, CriticalSection& lock, const CRect& rect,
                                        MControl* sender, bool& senderMet, CRect& unionRect)
{
    ScopedLock guard(lock);
    for (size_t i = 0; i < list.size(); ++i)
    {
        MControl* control = list[i];
        if (!senderMet)
        {
            senderMet = control == sender;
            continue;
        }
        // Only controls painted over the sender must be drawn again; those
        // beneath it keep their cached pictures.
        if (control->IsVisible() && Meets(control->GetRect(), rect))
        {
            unionRect |= control->GetRect();
            control->SetUpdate(0, m_backColor);
        }
    }
}

LRESULT PaintManager::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    if (!sender)
        return 0;
    if (redraw)
        sender->SetUpdate(0, m_backColor);
    CRect unionRect = rect;
    if (m_bAttached)
    {
        bool senderMet = false;
        MarkLaterOverlapping(m_areas, m_areaLock, rect, sender, senderMet, unionRect);
        MarkLaterOverlapping(m_controls, m_controlLock, rect, sender, senderMet, unionRect);
    }
    if (HasWindow())
    {
        if (m_bLayered)
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        else
            ::InvalidateRect(m_hWnd, &unionRect, FALSE);
    }
    return 0;
}

// ---- painting --------------------------------------------------------------------------------------------------

void PaintManager::DrawControl(HDC& dc, CRect clip)
{
    {
        ScopedLock lock(m_areaLock);
        for (size_t i = 0; i < m_areas.size(); ++i)
            m_areas[i]->Draw(dc, clip);
    }
    ScopedLock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i)
        m_controls[i]->Draw(dc, clip);
}

void PaintManager::ClearLayeredPixels(BYTE* bits, int width, int height, const CRect& rect, bool fixAlpha)
{
    // Rows are bottom-up: client line y is memory row height - 1 - y.
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        BYTE* row = bits + static_cast<size_t>(height - 1 - y) * width * 4;
        for (int x = rect.left; x < rect.right; ++x)
        {
            BYTE* pixel = row + static_cast<size_t>(x) * 4;
            if (!fixAlpha)
            {
                std::memset(pixel, 0, 4);
            }
            else if (pixel[3] == 0 && (pixel[0] || pixel[1] || pixel[2]))
            {
                // GDI drawing leaves alpha 0 on what it paints: make it opaque.
                pixel[3] = kOpaque;
            }
        }
    }
}

void WindowBase::FillRow(int y, int left, int count, std::uint32_t* row) const
{
    const CRect inner = Inner(client.cx, client.cy);
    for (int x = left; x < left + count; ++x)
        *row++ = inner.PtInRect(CPoint(x, y)) ? back : border;
}

WindowBase WindowBase::Of(CSize client, COLORREF back, COLORREF border)
{
    WindowBase base;
    base.client = client;
    base.border = OpaqueColor(border).GetValue();
    base.back = OpaqueColor(back).GetValue();
    return base;
}

bool PaintManager::ExpectedBase(WindowBase& base) const
{
    if (!HasWindow() || m_pBkImage || m_bLayered)
        return false;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    base = WindowBase::Of(CSize(client.Width(), client.Height()), m_backColor, m_borderColor);
    return true;
}

void PaintManager::PaintBackBuffer(HDC memDc, BYTE* bits, int width, int height, const CRect& update)
{
    const CRect client(0, 0, width, height);
    if (m_bLayered)
        ClearLayeredPixels(bits, width, height, update, false);
    // Only the update area reaches the screen, so only it is drawn: a live
    // picture that repaints a small rectangle many times a second must not
    // cost a whole window each time. A layered window shows the whole
    // buffer and draws all of it.
    const CRect clip = m_bLayered ? client : update;
    ::IntersectClipRect(memDc, clip.left, clip.top, clip.right, clip.bottom);
    if (m_pBkImage)
    {
        if (!CopyBackImage(memDc, client, clip))
        {
            Gdiplus::Graphics graphics(memDc);
            graphics.SetClip(Gdiplus::Rect(clip.left, clip.top, clip.Width(), clip.Height()));
            DrawBackImage(graphics, client);
        }
    }
    else
    {
        const CRect inner = WindowBase::Inner(width, height);
        CRect fill;
        // The one-pixel border shows only where the clip meets the edge.
        if ((inner & clip) != clip && fill.IntersectRect(client, clip))
            FillOpaque(bits, width, height, fill, OpaqueColor(m_borderColor).GetValue());
        if (fill.IntersectRect(inner, clip))
            FillOpaque(bits, width, height, fill, OpaqueColor(m_backColor).GetValue());
    }
    HDC dc = memDc;
    DrawControl(dc, clip);
    DrawCaret(dc, clip);
    if (m_bLayered)
        ClearLayeredPixels(bits, width, height, update, true);
    Gdiplus::Graphics overlay(memDc);
    DrawOverlay(overlay);
}

int PaintManager::OnPaint()
{
    if (!HasWindow() || ::IsIconic(m_hWnd))
        return 1;
    RECT updateRect;
    if (!::GetUpdateRect(m_hWnd, &updateRect, FALSE))
        return 0;

    CRect client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.Width();
    const int height = client.Height();

    PAINTSTRUCT ps;
    HDC paintDc = ::BeginPaint(m_hWnd, &ps);
    // An empty client area has nothing to draw, but the paint still ends.
    LayeredCanvas* buffer = paintDc && width > 0 && height > 0 ? m_backBuffer->For(width, height) : nullptr;
    if (buffer)
    {
        HDC memDc = buffer->Dc();
        const int saved = ::SaveDC(memDc);
        CRect update;
        update.IntersectRect(updateRect, client);
        PaintBackBuffer(memDc, reinterpret_cast<BYTE*>(buffer->Pixels()), width, height, update);
        ::RestoreDC(memDc, saved);
        if (m_bLayered)
        {
            ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
            SIZE size = {width, height};
            POINT source = {0, 0};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, kOpaque, AC_SRC_ALPHA};
            HDC windowDc = ::GetDC(m_hWnd);
            ::UpdateLayeredWindow(m_hWnd, windowDc, nullptr, &size, memDc, &source, 0, &blend, ULW_ALPHA);
            ::ReleaseDC(m_hWnd, windowDc);
        }
        else
        {
            ::BitBlt(paintDc, update.left, update.top, update.Width(), update.Height(), memDc, update.left, update.top,
                     SRCCOPY);
        }
    }
    ::EndPaint(m_hWnd, &ps);
    if (m_bDropPending)
    {
        m_bDropPending = 0;
        ::PostMessageW(m_hWnd, WM_REGISTER_DROP_TARGET, 0, 0);
    }
    return 1;
}

} // namespace VREL
