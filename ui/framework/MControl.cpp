#include "ui/framework/MControl.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

// Ids of a scrolling container's own two scroll bars among its children.
constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;

bool Meets(const RECT& a, const RECT& b)
{
    CRect common;
    return common.IntersectRect(a, b);
}

struct CursorName
{
    const wchar_t* name;
    LPCWSTR id;
};

const CursorName kCursors[] = {
    {L"arrow", IDC_ARROW},   {L"wait", IDC_WAIT}, {L"cross", IDC_CROSS}, {L"sizewe", IDC_SIZEWE},
    {L"sizens", IDC_SIZENS}, {L"hand", IDC_HAND}, {L"help", IDC_HELP},
};

} // namespace

MControl::MControl(MObject* owner, UINT id, CRect rect, int visible, int enabled, int response)
    : m_pOwner(owner),
      m_pManager(nullptr),
      m_id(id),
      m_rect(rect),
      m_bVisible(visible),
      m_bEnabled(enabled),
      m_bDragDrop(0),
      m_bResponse(response),
      m_bTabStop(0),
      m_bDblClk(0),
      m_bPressed(0),
      m_bKeyDown(0),
      m_bKeyFocus(0),
      m_bUpdate(0),
      m_unrenderedCells(0),
      m_bAnimateUpdate(0),
      m_bRunTimer(0),
      m_bRunning(0),
      m_bWithdrawn(0),
      m_pTarget(nullptr),
      m_hMemBitmap(nullptr),
      m_hMemDC(nullptr),
      m_hMemOldBitmap(nullptr),
      m_hAnimateBitmap(nullptr),
      m_hAnimateDC(nullptr),
      m_hAnimateOldBitmap(nullptr),
      m_hCursor(nullptr)
{
}

MControl::~MControl()
{
    // Owners withdraw a control before freeing it (and the manager may be
    // gone by the time a withdrawn control is freed); a control deleted
    // directly still leaves no reference behind in the manager.
    if (m_pManager && !m_bWithdrawn)
        m_pManager->ForgetControl(this);
    RemoveAllControl();
    FreeCache(m_hMemDC, m_hMemBitmap, m_hMemOldBitmap, m_memSize);
    FreeCache(m_hAnimateDC, m_hAnimateBitmap, m_hAnimateOldBitmap, m_animateSize);
}

const wchar_t* MControl::GetClassNameW() const { return L"MControl"; }

// ---- virtual hooks ----------------------------------------------------------------

void MControl::InitControl(PaintManager*) {}

int MControl::IsDragDrop() { return m_bDragDrop; }

int MControl::PtInRect(CPoint pt) { return (m_bVisible && m_rect.PtInRect(pt)) ? 1 : 0; }

int MControl::DrawSubControls(HDC& dc, CRect paint)
{
    ScopedLock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        MControl* child = m_controls[i];
        if (child->m_bVisible)
            child->Draw(dc, paint);
    }
    return 1;
}

int MControl::IsDraw(CPoint) { return 0; }

void MControl::SetUpdate(int valid, DWORD colour)
{
    m_bUpdate = valid;
    // Areas too: a see-through one keeps a copy of what lay beneath it, and
    // a control drawn again may have something else beneath it now.
    for (const std::vector<MControl*>* list : {&m_areas, &m_controls})
    {
        for (size_t i = 0; i < list->size(); ++i)
        {
            MControl* child = (*list)[i];
            if (Meets(child->m_rect, m_rect))
                child->SetUpdate(valid, colour);
        }
    }
}

int MControl::SetControlFocus(int focus)
{
    if (!focus)
    {
        for (MControl* child : LiveChildren())
            child->SetControlFocus(0);
    }
    return 0;
}

void MControl::InitUI(CRect) {}

int MControl::OnMousePointChange(CPoint&) { return 0; }

int MControl::OnCheckMouseResponse(UINT, CPoint) { return 1; }

LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT MControl::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

void MControl::SetControlRect(CRect rect) { m_rect = rect; }

void MControl::SetControlVisible(int visible) { m_bVisible = visible; }

void MControl::SetControlWndVisible(int) {}

void MControl::SetControlEnabled(int enabled) { m_bEnabled = enabled; }

int MControl::OnControlTimer() { return 0; }

HBITMAP MControl::GetControlDropBitmap() { return nullptr; }

int MControl::OnControlMouseMove(UINT, CPoint) { return 0; }

int MControl::OnControlSetCursor(UINT, CPoint pt)
{
    if (m_hCursor && m_rect.PtInRect(pt))
    {
        ::SetCursor(m_hCursor);
        return 1;
    }
    return 0;
}

int MControl::OnControlLButtonDown(UINT, CPoint) { return 0; }

int MControl::OnControlLButtonUp(UINT, CPoint) { return 0; }

int MControl::OnControlLButtonDblClk(UINT, CPoint) { return 0; }

int MControl::OnControlScroll(int, UINT, CPoint) { return 0; }

int MControl::OnControlRButtonDown(UINT, CPoint) { return 0; }

int MControl::OnControlRButtonUp(UINT, CPoint) { return 0; }

int MControl::OnControlRButtonDblClk(UINT, CPoint) { return 0; }

int MControl::OnControlKeyDown(UINT, UINT, UINT) { return 0; }

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT*, BOOL erase)
{
    if (!m_pManager)
        return;
    HWND window = m_pManager->GetPaintWnd();
    if (!window || !::IsWindow(window))
        return;
    if (m_pManager->IsLayered())
        ::InvalidateRect(window, nullptr, TRUE);
    else
        ::InvalidateRect(window, &m_rect, erase);
}

// ---- binding and tree ------------------------------------------------------------------

void MControl::SetManager(PaintManager* manager)
{
    m_pManager = manager;
    InitControl(manager);
}

std::vector<MControl*> MControl::CopyControls()
{
    ScopedLock lock(m_controlLock);
    return m_controls;
}

std::vector<MControl*> MControl::LiveChildren()
{
    std::vector<MControl*> live;
    ScopedLock lock(m_controlLock);
    live.reserve(m_controls.size());
    for (MControl* child : m_controls)
    {
        if (!child->m_bWithdrawn)
            live.push_back(child);
    }
    return live;
}

MControl* MControl::GetControl(UINT id)
{
    // One list lock at a time; a pin keeps what the copies name allocated
    // while another thread removes it.
    ControlPin pin;
    std::vector<MControl*> controls;
    std::vector<MControl*> areas;
    {
        ScopedLock lock(m_controlLock);
        controls = m_controls;
    }
    {
        ScopedLock lock(m_areaLock);
        areas = m_areas;
    }
    for (const std::vector<MControl*>* list : {&controls, &areas})
    {
        for (MControl* child : *list)
        {
            if (child->m_bWithdrawn)
                continue;
            if (child->m_id == id)
                return child;
            if (MControl* found = child->GetControl(id))
                return found;
        }
    }
    return nullptr;
}

int MControl::RemoveControl(MControl* child)
{
    if (m_pManager && child && m_pManager->GetFocusControl() == child)
        m_pManager->SetFocusControl(nullptr);

    bool found = false;
    {
        ScopedLock lock(m_controlLock);
        for (auto it = m_controls.begin(); it != m_controls.end(); ++it)
        {
            if (*it == child)
            {
                m_controls.erase(it);
                found = true;
                break;
            }
        }
        if (found && m_pTarget == child)
            m_pTarget = nullptr;
    }
    // Withdrawn and freed outside the lock: withdrawing waits for a running
    // multimedia tick, and that tick may need this lock.
    if (found)
        Dispose(child);
    return 0;
}

void MControl::Dispose(MControl* control)
{
    if (!control)
        return;
    control->Withdraw();
    DeleteLater(control);
}

void MControl::Withdraw()
{
    // Once only: a withdrawn control may be freed after its manager, so
    // freeing it must not reach the manager again. Marked first: a tick or a
    // walk that already holds a copy skips it.
    if (m_bWithdrawn)
        return;
    m_bWithdrawn = 1;
    // The children are copied out so that no lock is held while waiting for
    // a tick, which takes these locks itself.
    std::vector<MControl*> children;
    {
        ScopedLock lock(m_areaLock);
        children = m_areas;
    }
    {
        ScopedLock lock(m_controlLock);
        children.insert(children.end(), m_controls.begin(), m_controls.end());
    }
    for (MControl* child : children)
        child->Withdraw();
    if (m_pManager)
        m_pManager->ForgetControl(this);
}

void MControl::RemoveAllControl()
{
    std::vector<MControl*> areas;
    std::vector<MControl*> controls;
    {
        ScopedLock lock(m_areaLock);
        areas.swap(m_areas);
    }
    {
        ScopedLock lock(m_controlLock);
        controls.swap(m_controls);
        m_pTarget = nullptr;
    }
    for (std::vector<MControl*>* list : {&areas, &controls})
    {
        for (MControl* child : *list)
            Dispose(child);
    }
}

void MControl::AddSubControl(UINT kind, MControl* child)
{
    if (!child)
        return;
    if (kind == CONTROL_KIND_AREA)
    {
        ScopedLock lock(m_areaLock);
        m_areas.push_back(child);
    }
    else if (kind == CONTROL_KIND_CONTROL)
    {
        ScopedLock lock(m_controlLock);
        m_controls.push_back(child);
    }
}

int MControl::IsParentVisible()
{
    if (!m_pOwner)
        return 0;
    const wchar_t* ownerName = m_pOwner->GetClassNameW();
    if (ownerName && std::wcscmp(ownerName, L"MDialog") == 0)
        return 1;
    // Any other window object (a popup, a menu) also ends the chain: only a
    // control owner has a visible flag to look at.
    MControl* parent = dynamic_cast<MControl*>(m_pOwner);
    if (!parent)
        return 1;
    return (parent->m_bVisible && parent->IsParentVisible()) ? 1 : 0;
}

// ---- geometry and flags ------------------------------------------------------------------

void MControl::SetRect(CRect rect)
{
    const CRect old = m_rect;
    SetControlRect(rect);
    if (m_bVisible && m_pOwner)
    {
        CRect dirty;
        dirty.UnionRect(old, rect);
        m_pOwner->OnControlUpdate(dirty, 1, this);
    }
}

void MControl::SetRect(int x, int y, int cx, int cy) { SetRect(CRect(x, y, x + cx, y + cy)); }

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int notify)
{
    if (visible == m_bVisible)
        return;
    SetControlVisible(visible);
    if (notify && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

void MControl::SetEnabled(int enabled)
{
    if (enabled == m_bEnabled)
        return;
    SetControlEnabled(enabled);
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

// ---- repaint requests and notifications -------------------------------------------------

void MControl::UpdateControl(int redraw, int force)
{
    if ((m_bVisible || force) && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, redraw, this);
}

void MControl::UpdateControl(CRect rect, int force, int redraw)
{
    if ((m_bVisible || force) && m_pOwner)
        m_pOwner->OnControlUpdate(rect, redraw, this);
}

void MControl::UpdateAControl(int a, int force)
{
    if (!(m_bVisible || force))
        return;
    m_bAnimateUpdate = (a == 0) ? 1 : 0;
    if (m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 0, this);
}

LRESULT MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam)
{
    return m_pOwner ? m_pOwner->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

// ---- timers, focus, tooltip, cursor ------------------------------------------------------

void MControl::AddMTimer()
{
    if (m_pManager)
        m_pManager->AddMTimer(this);
}

int MControl::OnFocus(int focus) { return SetControlFocus(focus); }

int MControl::IsFocusControl() { return (m_pManager && m_pManager->GetFocusControl() == this) ? 1 : 0; }

void MControl::SetTooltip(const wchar_t* text) { m_tooltip = text ? text : L""; }

void MControl::SetTooltip(CString text, CRect rect)
{
    if (!m_pManager)
        return;
    m_pManager->SetTooltip(text, rect);
    m_pManager->SetTooltipCtrlID(static_cast<int>(m_id));
}

void MControl::ClearTooltip()
{
    if (!m_pManager)
        return;
    m_pManager->ClearTooltip();
    m_pManager->SetTooltipCtrlID(0);
}

void MControl::SetTooltipCtrlID(int) {}

int MControl::GetTooltipCtrlID() { return 0; }

int MControl::SetCursorEx(const wchar_t* name)
{
    if (!name)
        return 0;
    for (const CursorName& cursor : kCursors)
    {
        if (std::wcscmp(name, cursor.name) == 0)
        {
            m_hCursor = ::LoadCursorW(nullptr, cursor.id);
            break;
        }
    }
    return 0;
}

HBITMAP MControl::GetDropBitmap()
{
    return m_pTarget ? m_pTarget->GetControlDropBitmap() : GetControlDropBitmap();
}

MControl* MControl::GetFocusControl(MControl*) { return nullptr; }

MControl* MControl::GetNextFocusableControl(MControl*) { return nullptr; }

MControl* MControl::GetPrevFocusableControl(MControl*) { return nullptr; }

// ---- input entry points ---------------------------------------------------------------------

CPoint MControl::ChildPoint(const MControl* child, const CPoint& raw, const CPoint& mapped)
{
    return (child->m_id == kVerticalBarId || child->m_id == kHorizontalBarId) ? raw : mapped;
}

bool MControl::TakeMousePoint(CPoint& pt, CPoint& raw)
{
    if (!m_bVisible || !m_bResponse)
        return false;
    raw = pt;
    OnMousePointChange(pt);
    return true;
}

// The entry points and the handlers of one mouse button.
struct MControl::ButtonCalls
{
    int (MControl::*down)(UINT, CPoint);
    int (MControl::*up)(UINT, CPoint);
    int (MControl::*dblClk)(UINT, CPoint);
    int (MControl::*controlDown)(UINT, CPoint);
    int (MControl::*controlUp)(UINT, CPoint);
    int (MControl::*controlDblClk)(UINT, CPoint);
};

const MControl::ButtonCalls& MControl::CallsOf(ButtonSide side)
{
    static const ButtonCalls left = {&MControl::OnLButtonDown,        &MControl::OnLButtonUp,
                                     &MControl::OnLButtonDblClk,      &MControl::OnControlLButtonDown,
                                     &MControl::OnControlLButtonUp,   &MControl::OnControlLButtonDblClk};
    static const ButtonCalls right = {&MControl::OnRButtonDown,       &MControl::OnRButtonUp,
                                      &MControl::OnRButtonDblClk,     &MControl::OnControlRButtonDown,
                                      &MControl::OnControlRButtonUp,  &MControl::OnControlRButtonDblClk};
    return side == LEFT_BUTTON ? left : right;
}

int MControl::OnMouseMove(UINT flags, CPoint pt)
{
    CPoint raw;
    if (!TakeMousePoint(pt, raw))
        return 0;

    if (MControl* target = m_pTarget)
    {
        const CPoint p = ChildPoint(target, raw, pt);
        if ((target->PtInRect(p) && target->OnCheckMouseResponse(flags, p)) || m_bPressed)
            return target->OnMouseMove(flags, p) ? 1 : 0;
    }
    MControl* previous = m_pTarget;
    m_pTarget = nullptr;

    if (!m_tooltip.IsEmpty() && PtInRect(pt) && OnCheckMouseResponse(flags, pt) && m_pManager &&
        m_pManager->GetTooltipCtrlID() != static_cast<int>(m_id))
    {
        m_pManager->SetTooltip(m_tooltip, m_rect);
        m_pManager->SetTooltipCtrlID(static_cast<int>(m_id));
    }

    OnControlSetCursor(flags, pt);
    int result = OnControlMouseMove(flags, pt);
    if (m_bPressed)
        return result;

    // Every child sees every move, so each can notice that the mouse left it.
    for (MControl* child : LiveChildren())
    {
        const CPoint p = ChildPoint(child, raw, pt);
        if (child->OnMouseMove(flags, p))
        {
            result = 1;
            if (child->PtInRect(p) && !child->m_bWithdrawn && !m_bWithdrawn)
                m_pTarget = child;
        }
    }
    return (m_pTarget || previous) ? 1 : result;
}

int MControl::ButtonDown(ButtonSide side, UINT flags, CPoint pt)
{
    CPoint raw;
    if (!TakeMousePoint(pt, raw))
        return 0;
    const ButtonCalls& calls = CallsOf(side);
    m_bPressed = m_rect.PtInRect(pt) ? 1 : 0;

    {
        // The target is not cleared first: with no qualifying child, the child
        // that took the last move stays the target.
        ScopedLock lock(m_controlLock);
        for (size_t i = 0; i < m_controls.size(); ++i)
        {
            MControl* child = m_controls[i];
            if (child->PtInRect(ChildPoint(child, raw, pt)) && child->m_bVisible && child->m_bEnabled &&
                child->m_bResponse)
                m_pTarget = child;
        }
    }

    if (MControl* target = m_pTarget)
        return (target->*calls.down)(flags, ChildPoint(target, raw, pt)) ? 1 : 0;

    if (m_pManager && m_pManager->GetFocusControl() != this)
        m_pManager->SetFocusControl(this);
    return (this->*calls.controlDown)(flags, pt);
}

int MControl::ButtonUp(ButtonSide side, UINT flags, CPoint pt)
{
    CPoint raw;
    if (!TakeMousePoint(pt, raw))
        return 0;
    const ButtonCalls& calls = CallsOf(side);
    m_bPressed = 0;
    if (MControl* target = m_pTarget)
        return (target->*calls.up)(flags, ChildPoint(target, raw, pt)) ? 1 : 0;
    return (this->*calls.controlUp)(flags, pt);
}

int MControl::ButtonDblClk(ButtonSide side, UINT flags, CPoint pt)
{
    CPoint raw;
    if (!TakeMousePoint(pt, raw))
        return 0;
    const ButtonCalls& calls = CallsOf(side);
    m_bPressed = 0;
    if (MControl* target = m_pTarget)
    {
        const CPoint p = ChildPoint(target, raw, pt);
        if ((target->*calls.dblClk)(flags, p))
            return 1;
        // A child that takes no double clicks sees the second click as a press.
        if (!target->m_bDblClk)
            return (target->*calls.down)(flags, p) ? 1 : 0;
        return 0;
    }
    if (m_bDblClk)
        return (this->*calls.controlDblClk)(flags, pt);
    return (this->*calls.controlDown)(flags, pt);
}

int MControl::OnLButtonDown(UINT flags, CPoint pt) { return ButtonDown(LEFT_BUTTON, flags, pt); }

int MControl::OnLButtonUp(UINT flags, CPoint pt) { return ButtonUp(LEFT_BUTTON, flags, pt); }

int MControl::OnLButtonDblClk(UINT flags, CPoint pt) { return ButtonDblClk(LEFT_BUTTON, flags, pt); }

int MControl::OnRButtonDown(UINT flags, CPoint pt) { return ButtonDown(RIGHT_BUTTON, flags, pt); }

int MControl::OnRButtonUp(UINT flags, CPoint pt) { return ButtonUp(RIGHT_BUTTON, flags, pt); }

int MControl::OnRButtonDblClk(UINT flags, CPoint pt) { return ButtonDblClk(RIGHT_BUTTON, flags, pt); }

int MControl::OnScroll(int amount, UINT direction, CPoint pt)
{
    if (!m_bVisible || !m_bResponse || !m_bEnabled)
        return 0;
    if (MControl* target = m_pTarget)
    {
        if (target->PtInRect(pt) && target->OnCheckMouseResponse(direction, pt))
            return target->OnScroll(amount, direction, pt) ? 1 : 0;
    }
    if (!PtInRect(pt))
        return 0;
    if (OnControlScroll(amount, direction, pt))
        return 1;
    for (MControl* child : LiveChildren())
    {
        if (child->PtInRect(pt) && child->OnScroll(amount, direction, pt))
            return 1;
    }
    return 0;
}

int MControl::OnKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    if (!m_bVisible || !m_bResponse)
        return 0;

    // The key goes down the chain of key-focused children; the deepest one
    // alone handles it.
    MControl* focused = nullptr;
    {
        ScopedLock lock(m_controlLock);
        for (size_t i = 0; i < m_controls.size(); ++i)
        {
            if (m_controls[i]->m_bKeyFocus)
            {
                focused = m_controls[i];
                break;
            }
        }
    }
    if (focused)
        return focused->m_bVisible ? focused->OnKeyDown(key, repeat, modifiers) : 0;

    if (m_pTarget && m_pTarget->OnKeyDown(key, repeat, modifiers))
        return 1;
    if (OnControlKeyDown(key, repeat, modifiers))
        return 1;
    for (MControl* child : LiveChildren())
    {
        if (child->OnKeyDown(key, repeat, modifiers))
            return 1;
    }
    return 0;
}

int MControl::OnKeyUp(UINT, UINT, UINT) { return 0; }

int MControl::OnTimer()
{
    int result = OnControlTimer();
    if (m_bWithdrawn)
        return result;
    for (MControl* child : LiveChildren())
    {
        if (child->m_bRunTimer && child->m_bVisible && !child->m_bWithdrawn && child->OnTimer())
            result = 1;
    }
    return result;
}

// ---- drawing ------------------------------------------------------------------------------------

void MControl::Draw(HDC& dc, CRect paint)
{
    if (!m_bVisible || !Meets(m_rect, paint))
        return;
    {
        ScopedLock lock(m_areaLock);
        for (size_t i = 0; i < m_areas.size(); ++i)
        {
            MControl* area = m_areas[i];
            if (Meets(area->m_rect, m_rect))
                area->Draw(dc, paint);
        }
    }
    DrawControl(dc, paint);
    DrawSubControls(dc, paint);
}

void MControl::FreeCache(HDC& dc, HBITMAP& bitmap, HBITMAP& previous, CSize& size)
{
    if (dc && previous)
        ::SelectObject(dc, previous);
    if (bitmap)
        ::DeleteObject(bitmap);
    if (dc)
        ::DeleteDC(dc);
    dc = nullptr;
    bitmap = nullptr;
    previous = nullptr;
    size = CSize();
}

void MControl::UpdateMemDC(HDC& dc, int cx, int cy)
{
    m_bUpdate = 1;
    m_unrenderedCells = 0;
    if (cx == m_memSize.cx && cy == m_memSize.cy)
        return;
    AdoptMemBitmap(dc, ::CreateCompatibleBitmap(dc, cx, cy), cx, cy);
}

void MControl::AdoptMemBitmap(HDC& dc, HBITMAP bitmap, int cx, int cy)
{
    FreeCache(m_hMemDC, m_hMemBitmap, m_hMemOldBitmap, m_memSize);
    m_bUpdate = 1;
    m_unrenderedCells = 0;
    m_memSize = CSize(cx, cy);
    m_hMemDC = ::CreateCompatibleDC(dc);
    m_hMemBitmap = bitmap;
    if (m_hMemDC && m_hMemBitmap)
        m_hMemOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hMemDC, m_hMemBitmap));
}

void MControl::UpdateAnimateDC(HDC& dc, int cx, int cy)
{
    m_bAnimateUpdate = 1;
    FreeCache(m_hAnimateDC, m_hAnimateBitmap, m_hAnimateOldBitmap, m_animateSize);
    m_animateSize = CSize(cx, cy);
    m_hAnimateDC = ::CreateCompatibleDC(dc);
    m_hAnimateBitmap = ::CreateCompatibleBitmap(dc, cx, cy);
    if (m_hAnimateDC && m_hAnimateBitmap)
        m_hAnimateOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hAnimateDC, m_hAnimateBitmap));
}

int MControl::PositionItem2Value(const VR_POSITION_ITEM& item, int a, int b)
{
    const int v = static_cast<int>(item.value);
    switch (item.mode)
    {
    case 0:
        return item.fromEnd ? b - v : a + v;
    case 1:
        return item.fromEnd ? a + (b - a) / 2 - v : a + (b - a) / 2 + v;
    case 2:
        return std::min(b, a + static_cast<int>((b - a) * item.value / 100));
    default:
        return 0;
    }
}

} // namespace VREL
