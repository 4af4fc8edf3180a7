#pragma once

// The windowless control: it lives in a list of its window's paint manager or
// of a parent control, owns a rectangle in the window's client area, draws
// itself into the window's back buffer and receives the input the paint
// manager routes to it. Events travel down the control tree through the
// non-virtual entry points (OnMouseMove, OnLButtonDown ...) into the virtual
// OnControl... hooks; reports travel up through the owner's OnBaseMessage and
// OnControlUpdate.
//
// Ownership: a control owns its areas and sub-controls. It does not own its
// owner, its manager or its target child. Whoever lets a control go calls
// Dispose (RemoveControl, RemoveAllControl and the manager's lists do): it
// withdraws the control, which drops every reference the manager holds to the
// control and its descendants (hover, focus, fast tick, window timers) and
// waits for a tick running inside them, and frees it with DeleteLater
// (DeferredDelete.h). So an owner may remove or destroy a control, or destroy
// its window, from inside any notification of that control: the control is
// freed only once the window message (or tick) that notified is over. A
// withdrawn control is never taken back: the manager refuses it as hover,
// focus, fast-tick or window-timer control. It may be freed after its
// manager and its owner are gone (a modal dialog closed inside another
// window's message): a destructor touches neither once IsWithdrawn() is 1.
//
// Notifying: a control reports to its owner with SendMessageW (or
// m_pOwner->OnBaseMessage). Once it returns, the control may have been
// withdrawn; code after a notification that starts timers or hands the
// control to someone else checks IsWithdrawn() first. Walks over the children
// that call into them work on a copy of the list, taken under its lock and
// walked without it (one lock at a time: a handler that removes a control
// waits for a running tick, which itself takes list locks).

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MObject.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class PaintManager;

// Layout anchor: mode 0 is an offset from an edge, 1 an offset from the
// centre, 2 a percentage.
struct VR_POSITION_ITEM
{
    int mode;
    int fromEnd;
    float value;
};

class VREL_API MControl : public MObject
{
public:
    MControl(MObject* owner, UINT id, CRect rect, int visible, int enabled, int response);
    ~MControl() override;

    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    // ---- MObject --------------------------------------------------------
    const wchar_t* GetClassNameW() const override;

    // ---- virtual hooks, in slot order ------------------------------------
    // Called by SetManager once the manager is stored.
    virtual void InitControl(PaintManager* manager);
    virtual int IsDragDrop();
    // 1 when visible and the point lies in the rectangle (right and bottom
    // edges excluded).
    virtual int PtInRect(CPoint pt);
    // Every concrete control draws itself here.
    virtual void DrawControl(HDC& dc, CRect paint) = 0;
    virtual int DrawSubControls(HDC& dc, CRect paint);
    virtual int IsDraw(CPoint pt);
    // Sets the cache-valid flag and passes it on to every area and
    // sub-control that overlaps this control.
    virtual void SetUpdate(int valid, DWORD colour);
    virtual int SetControlFocus(int focus);
    virtual void InitUI(CRect rect);
    // A scrolling container maps a window point into its content here.
    virtual int OnMousePointChange(CPoint& pt);
    virtual int OnCheckMouseResponse(UINT flags, CPoint pt);
    // The paint manager offers every window message here first.
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Notifications addressed to the control itself.
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
    virtual void SetControlRect(CRect rect);
    virtual void SetControlVisible(int visible);
    virtual void SetControlWndVisible(int visible);
    virtual void SetControlEnabled(int enabled);
    // The OnControl... hooks return nonzero when the control took the event.
    virtual int OnControlTimer();
    virtual HBITMAP GetControlDropBitmap();
    virtual int OnControlMouseMove(UINT flags, CPoint pt);
    virtual int OnControlSetCursor(UINT flags, CPoint pt);
    virtual int OnControlLButtonDown(UINT flags, CPoint pt);
    virtual int OnControlLButtonUp(UINT flags, CPoint pt);
    virtual int OnControlLButtonDblClk(UINT flags, CPoint pt);
    // direction 0: the wheel turned away from the user, 1: toward the user.
    virtual int OnControlScroll(int amount, UINT direction, CPoint pt);
    virtual int OnControlRButtonDown(UINT flags, CPoint pt);
    virtual int OnControlRButtonUp(UINT flags, CPoint pt);
    virtual int OnControlRButtonDblClk(UINT flags, CPoint pt);
    // modifiers: the paint manager's modifier code (KeyModifierCode).
    virtual int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers);
    virtual void OnPositionChange();
    // Invalidates the control's rectangle in its window (the whole window
    // when the window is layered); rect is not used.
    virtual void InvalidateRect(const RECT* rect, BOOL erase);

    // ---- binding and tree ------------------------------------------------
    void SetManager(PaintManager* manager);
    PaintManager* GetManager() const { return m_pManager; }
    void SetParent(MObject* owner) { m_pOwner = owner; }
    MObject* GetParantObject() const { return m_pOwner; }
    std::vector<MControl*>* GetControls() { return &m_controls; }
    // A copy of the sub-control list taken under its lock, for walking the
    // children without holding the lock. On the window's thread inside a
    // message the copied controls stay allocated until the message is over;
    // another thread holds a ControlPin while it uses the copy.
    std::vector<MControl*> CopyControls();
    // Depth first over the sub-controls, then the areas; never this control.
    // Each list is read under its lock. Another thread holds a ControlPin
    // while it uses the answer.
    MControl* GetControl(UINT id);
    // Deletes the child when it is one of the sub-controls; returns 0.
    int RemoveControl(MControl* child);
    // Drops the manager's references to this control and its descendants
    // and marks them withdrawn; call it outside every list lock.
    void Withdraw();
    int IsWithdrawn() const { return m_bWithdrawn; }
    // Withdraws the control and frees it once no message or pin may still
    // be using it.
    static void Dispose(MControl* control);
    void RemoveAllControl();
    // 1 when every owner up to the window is visible.
    int IsParentVisible();

    // ---- geometry and flags -----------------------------------------------
    UINT GetControlID() const { return m_id; }
    CRect GetRect() const { return m_rect; }
    void SetRect(CRect rect);
    void SetRect(int x, int y, int cx, int cy);
    int IsVisible() const { return m_bVisible; }
    void SetVisible(int visible);
    void SetVisible(int visible, int notify);
    int IsEnabled() const { return m_bEnabled; }
    void SetEnabled(int enabled);
    void SetDragDrop(int dragDrop) { m_bDragDrop = dragDrop; }
    void SetRresponse(int response) { m_bResponse = response; }
    int GetRresponse() const { return m_bResponse; }
    void SetTabStop(int tabStop) { m_bTabStop = tabStop; }
    int IsTabStop() const { return m_bTabStop; }
    int GetDblClk() const { return m_bDblClk; }
    int IsFocused() const { return m_bKeyFocus; }
    int GetUpdate() const { return m_bUpdate; }
    // Cells of the memory bitmap (bit i for cell i) that hold what lies
    // under the control but not yet their look: StateCells.h renders a cell
    // when it is first shown. A new memory bitmap has none.
    std::uint32_t GetUnrenderedCells() const { return m_unrenderedCells; }
    void SetUnrenderedCells(std::uint32_t cells) { m_unrenderedCells = cells; }
    void SetRunTimer(int run) { m_bRunTimer = run; }
    int IsRunTimer() const { return m_bRunTimer; }

    // ---- repaint requests and notifications ----------------------------------
    void UpdateControl(int redraw, int force);
    void UpdateControl(CRect rect, int force, int redraw);
    void UpdateAControl(int a, int force);
    // The owner's OnBaseMessage with this control's id.
    LRESULT SendMessageW(UINT code, WPARAM wParam, LPARAM lParam);

    // ---- timers, focus, tooltip, cursor --------------------------------------
    // Registers this control for the manager's multimedia tick.
    void AddMTimer();
    int OnFocus(int focus);
    int IsFocusControl();
    void SetTooltip(const wchar_t* text);
    void SetTooltip(CString text, CRect rect);
    void ClearTooltip();
    const wchar_t* GetTooltip() const { return m_tooltip; }
    void SetTooltipCtrlID(int id);
    int GetTooltipCtrlID();
    // "arrow", "wait", "cross", "sizewe", "sizens", "hand" or "help" (exact).
    int SetCursorEx(const wchar_t* name);
    HBITMAP GetDropBitmap();
    // The focus walk lives in the paint manager; these answer null.
    MControl* GetFocusControl(MControl* control);
    MControl* GetNextFocusableControl(MControl* control);
    MControl* GetPrevFocusableControl(MControl* control);

    // ---- input entry points (0 or 1) ----------------------------------------
    int OnMouseMove(UINT flags, CPoint pt);
    int OnLButtonDown(UINT flags, CPoint pt);
    int OnLButtonUp(UINT flags, CPoint pt);
    int OnLButtonDblClk(UINT flags, CPoint pt);
    int OnRButtonDown(UINT flags, CPoint pt);
    int OnRButtonUp(UINT flags, CPoint pt);
    int OnRButtonDblClk(UINT flags, CPoint pt);
    int OnScroll(int amount, UINT direction, CPoint pt);
    int OnKeyDown(UINT key, UINT repeat, UINT modifiers);
    int OnKeyUp(UINT key, UINT repeat, UINT modifiers);
    int OnTimer();

    // ---- drawing -----------------------------------------------------------
    // Areas that meet the control, then DrawControl, then the sub-controls.
    void Draw(HDC& dc, CRect paint);
    // Marks the cache valid and (re)makes the memory bitmap when the size
    // changed.
    void UpdateMemDC(HDC& dc, int cx, int cy);
    // Makes a bitmap of cx x cy, rendered elsewhere, the memory bitmap and
    // marks the cache valid; the control owns the bitmap from then on.
    void AdoptMemBitmap(HDC& dc, HBITMAP bitmap, int cx, int cy);
    void UpdateAnimateDC(HDC& dc, int cx, int cy);

protected:
    int IsKeyDown() const { return m_bKeyDown; }
    int PositionItem2Value(const VR_POSITION_ITEM& item, int a, int b);

    // Appends a child to the area list (kind 0) or the sub-control list
    // (kind 1) under that list's lock; the control owns it from then on.
    // Containers and their factories use this.
    void AddSubControl(UINT kind, MControl* child);

    MObject* m_pOwner;
    PaintManager* m_pManager;
    UINT m_id;
    CRect m_rect;
    int m_bVisible;
    int m_bEnabled;
    int m_bDragDrop;
    int m_bResponse;
    int m_bTabStop;
    int m_bDblClk;
    // Set on each press inside the control; while set, moves keep going to
    // the target child.
    int m_bPressed;
    int m_bKeyDown;
    // Key input is passed down to this child.
    int m_bKeyFocus;
    // 1 while the memory bitmap shows the current look.
    int m_bUpdate;
    std::uint32_t m_unrenderedCells;
    int m_bAnimateUpdate;
    int m_bRunTimer;
    // Not read by the base: animated controls keep their running state here.
    int m_bRunning;
    // Set by Withdraw: the control has been let go and waits to be freed.
    int m_bWithdrawn;
    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    CriticalSection m_areaLock;
    CriticalSection m_controlLock;
    // The child that last took the mouse; not owned.
    MControl* m_pTarget;
    CSize m_memSize;
    HBITMAP m_hMemBitmap;
    HDC m_hMemDC;
    HBITMAP m_hMemOldBitmap;
    CSize m_animateSize;
    HBITMAP m_hAnimateBitmap;
    HDC m_hAnimateDC;
    HBITMAP m_hAnimateOldBitmap;
    CString m_tooltip;
    HCURSOR m_hCursor;

private:
    enum ButtonSide { LEFT_BUTTON, RIGHT_BUTTON };
    struct ButtonCalls;
    static const ButtonCalls& CallsOf(ButtonSide side);
    // The start of every mouse entry point: false for a hidden or
    // unresponsive control; otherwise raw keeps the point as given and pt
    // becomes the control's own (OnMousePointChange).
    bool TakeMousePoint(CPoint& pt, CPoint& raw);
    int ButtonDown(ButtonSide side, UINT flags, CPoint pt);
    int ButtonUp(ButtonSide side, UINT flags, CPoint pt);
    int ButtonDblClk(ButtonSide side, UINT flags, CPoint pt);

    // The point a child gets: the raw point for a container's own scroll
    // bars (ids 1 and 2), the mapped point for every other child.
    static CPoint ChildPoint(const MControl* child, const CPoint& raw, const CPoint& mapped);
    static void FreeCache(HDC& dc, HBITMAP& bitmap, HBITMAP& previous, CSize& size);
    // The live (not withdrawn) children, copied under the list's lock.
    std::vector<MControl*> LiveChildren();
};

} // namespace VREL
