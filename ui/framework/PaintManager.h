#pragma once

// The engine behind every real window of the library. It holds the window's
// windowless controls in two ordered lists (areas, then controls: paint order
// and hit order, a later entry lies on top), receives the window's messages
// from the host, decides which control is under the mouse, which has the
// keyboard focus and which holds the capture, passes each input event to the
// right control, collects repaint requests and paints the whole window
// double-buffered in WM_PAINT only.
//
// Threads: input, focus and painting run on the window's thread. Repaint
// requests (OnControlUpdate) also arrive from the multimedia tick and from
// worker threads; they take the area lock and then the control lock, one at
// a time, and end in InvalidateRect. Lock order is one lock at a time: input
// walks call the controls from a copy of the list taken under its lock, never
// under it; the fast tick copies the tick list under the tick lock and ticks
// under a run lock of its own, which a control leaving the tick list waits
// for. So a handler may remove controls from any notification, also from a
// tick.
//
// Ownership: the manager owns the controls of its two lists. Removing a
// control (RemoveControl, the Clear... calls, the window's destruction)
// withdraws it and frees it once the current window message or tick is over
// (MControl::Dispose, DeferredDelete.h). Hover and focus pointers are cleared
// when their control goes.
//
// Other threads: GetControl reads each list under its lock, and CopyControls
// copies under the lock, but a control found that way may be removed by the
// window's thread at any moment. A thread other than the window's holds a
// ControlPin (DeferredDelete.h) from before the look-up or copy until it is
// done with the controls: while any pin is held, removed controls stay
// allocated (withdrawn, IsWithdrawn() 1).

#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/framework/AirBladderTypes.h"
#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/DragDrop.h"
#include "ui/framework/FontCache.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/ImageCache.h"
#include "ui/framework/MTimer.h"
#include "ui/framework/Shadow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;
class MObject;
class MWindow;
class MRichEdit;
class MAirBladder;
class BackBuffer;
class LayeredCanvas;

// What every paint of a window without a back image starts from: the border
// colour on the client area's outermost pixels, the back colour inside.
struct VREL_API WindowBase
{
    CSize client;
    std::uint32_t border = 0;  // opaque ARGB
    std::uint32_t back = 0;

    // The base of a client area of that size whose window has those back
    // and border colours (see PaintManager::SetBackColor).
    static WindowBase Of(CSize client, COLORREF back, COLORREF border);

    // Row y of the client area from column left, count pixels.
    void FillRow(int y, int left, int count, std::uint32_t* row) const;
    bool operator==(const WindowBase& other) const
    {
        return client == other.client && border == other.border && back == other.back;
    }
    bool operator!=(const WindowBase& other) const { return !(*this == other); }
    // The rectangle of the back colour in a client area of that size.
    static CRect Inner(int width, int height) { return CRect(1, 1, width - 1, height - 1); }
};
struct ImgResInfo;

// Modifier code passed with key events: the OR of the codes of the held
// keys (so Shift+Ctrl gives 0x11 and Ctrl+Alt 0x13).
enum KeyModifierCode : UINT
{
    MODIFIER_SHIFT = 0x10,
    MODIFIER_CTRL = 0x11,
    MODIFIER_ALT = 0x12,
};

// How the background image is drawn: at its own size from the top-left
// corner, or stretched over the client area as a nine-grid.
enum enumBackMode
{
    BACK_MODE_IMAGE = 0,
    BACK_MODE_NINE_GRID = 1,
};

// Level of an overlay message; stored with the message, drawn alike.
enum MsgLevel
{
    MSG_LEVEL_INFO = 0,
    MSG_LEVEL_WARNING = 1,
    MSG_LEVEL_ERROR = 2,
};

// Window timers of the manager itself. Control timers never get these ids.
enum PaintManagerTimerId : UINT
{
    TIMER_MESSAGE_HOLD = 66,    // a message stays at full strength (2000 ms)
    TIMER_MESSAGE_FADE = 88,    // one fade-out step of the overlay (50 ms)
    TIMER_PROGRESS = 99,        // one step of the progress animation (10 ms)
    TIMER_CARET_BLINK = 6553,   // caret blink (the system's blink time)
};

// One window timer of a control. The record stays after KillTimer (killed
// 1) so that the control's key keeps its window timer id.
struct ControlTimerRecord
{
    HWND window;
    UINT key;
    UINT id;
    int killed;
    MControl* control;
};

// Where CreateControl and AddControl put a new control.
enum ControlListKind : UINT
{
    CONTROL_KIND_AREA = 0,
    CONTROL_KIND_CONTROL = 1,
};

// The manager is also its window's drop target; its window object owns it,
// so its reference count never deletes it.
class VREL_API PaintManager : public MTimer, public CIDropTarget
{
public:
    PaintManager();
    ~PaintManager() override;

    // ---- multimedia tick ------------------------------------------------------
    using MTimer::OnMTimer;
    // Ticks every registered control that runs timers and is visible up to
    // the window; ticks of timers other than the newest SetMTimer are ignored.
    void OnMTimer(UINT id) override;
    void SetMTimer(UINT period);
    void KillMTimer(UINT id);
    void KillMTimer();
    int AddMTimer(MControl* control);
    int DeleteMTimer(MControl* control);
    UINT GetTickTimerId() const { return m_tickTimerId; }

    // ---- attachment and lifetime ------------------------------------------------
    // Binds the manager to an existing window; the host may also do this in
    // its first-message handling.
    void Init(HWND window, MWindow* owner);
    void OnDestroyMessage(HWND window);
    // Releases the controls, images, timers and fonts; the locks stay until
    // the destructor.
    void DestroyData();
    // Drops every reference to the control: hover, focus, fast tick and
    // window timers. Waits for a fast tick that is running.
    void ForgetControl(MControl* control);

    // ---- dispatch ----------------------------------------------------------------
    // Nonzero = handled (the host then does not call its default procedure).
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Tab focus navigation and tooltip relay; 1 = consumed.
    int PreTranslateMessage(MSG* msg);
    // The modifier code of the keys held now.
    static UINT GetModifierCode();

    // ---- repaint -------------------------------------------------------------------
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender);
    void Invalidate();
    void InvalidateRect(CRect rect, int erase);

    // ---- controls ------------------------------------------------------------------
    MControl* CreateArea(MObject* owner, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                         int visible, int enabled);
    MControl* CreateControl(MObject* owner, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                            int visible, int enabled);
    // The factory by class name; kind 0 area list, 1 control list, any other
    // kind: in no list (the caller owns the control).
    MControl* CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                            const wchar_t* title, int visible, int enabled);
    // The factory's second half: binds the control to this manager and
    // appends it to the area list (kind 0) or the control list (kind 1),
    // which own it from then on. Returns the control.
    MControl* AddControl(UINT kind, MControl* control);
    // The control list first, then the area list, depth first; null if none.
    MControl* GetControl(UINT id);
    void RemoveControl(MControl* control);
    void ClearAreaControls();
    void ClearControls();
    void ClearAllControls();
    std::vector<MControl*>* GetControls() { return &m_controls; }
    // A copy of the control list taken under its lock, for walking the
    // controls without holding the lock. Another thread holds a ControlPin
    // while it uses the copy (see the top of this header).
    std::vector<MControl*> CopyControls();

    // ---- focus and hover -------------------------------------------------------------
    void SetFocusControl(MControl* control);
    MControl* GetFocusControl() const { return m_pFocus; }
    MControl* GetHoverControl() const { return m_pHover; }
    MControl* GetNextFocusableControl();
    MControl* GetPrevFocusableControl();

    // ---- window --------------------------------------------------------------------------
    MWindow* GetMDialog() const { return m_pOwnerWnd; }
    HWND GetPaintWnd() const { return m_hWnd; }
    HDC GetPaintDC() const { return m_hDcPaint; }
    HWND GetToolTipWnd() const { return m_hWnd; }
    void GetClientRect(CRect& rect);
    void GetWindowRect(CRect& rect);
    void GetClientSize(int& width, int& height);
    void SetCaptionRect(CRect rect) { m_captionRect = rect; }
    void GetCaptionRect(CRect& rect) const { rect = m_captionRect; }
    void SetWindowMaxSize(int width, int height);
    void SetWindowMixSize(int width, int height);
    void GetWindowMinSize(int& width, int& height) const;
    void GetWindowManSize(int& width, int& height) const;
    HWND SetCapture();
    int ReleaseCapture();
    int IsCaptured() const { return m_bCaptured; }
    void SetLayeredWindow(int layered) { m_bLayered = layered; }
    int IsLayered() const { return m_bLayered; }
    void EnableWndDrag(int enable) { m_bWndDrag = enable; }
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    // Queues the message; 0 without a window.
    LRESULT PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetScrollResID(UINT vertical, UINT horizontal);
    UINT GetScrollVID() const { return m_scrollVId; }
    UINT GetScrollHID() const { return m_scrollHId; }
    DWORD GetDefaultEnabledColor() const { return m_defaultEnabledColor; }
    void SetDefaultEnabledColor(DWORD colour) { m_defaultEnabledColor = colour; }
    COLORREF GetBackColor() const { return m_backColor; }

    // ---- painting ----------------------------------------------------------------------
    // Draws the area list, then the control list, clipped to clip.
    void DrawControl(HDC& dc, CRect clip);
    // What a paint of the window holds before any control draws; false
    // when that is not known before the paint (no window, a back image, a
    // layered window).
    bool ExpectedBase(WindowBase& base) const;

    // ---- message handlers ------------------------------------------------------------
    int OnPaint();
    int OnMouseMove(UINT keys, int x, int y);
    int OnMouseLeave();
    int OnMouseWheel(UINT keys, int delta, int x, int y);
    int OnLButtonDown(UINT keys, int x, int y);
    int OnLButtonUp(UINT keys, int x, int y);
    int OnLButtonDblClk(UINT keys, int x, int y);
    int OnRButtonDown(UINT keys, int x, int y);
    int OnRButtonUp(UINT keys, int x, int y);
    int OnRButtonDblClk(UINT keys, int x, int y);
    int OnKeyDown(UINT key);
    int OnKeyUp(UINT key);
    int OnNcActivate(BOOL active);
    int OnGetMinMaxInfo(MINMAXINFO* info);
    int OnWindowPosChanged(WINDOWPOS* pos);
    int OnCreate();
    int OnSize();
    int OnNcHitTest();
    int OnNcCalcSize();
    int OnWindowPosChanging();
    int OnMouseHover();
    int OnNcPaint();
    int OnDestroy();
    int PostNcDestroy();

    // ---- resources, control timers, caret, tooltip and overlays ------------------------
    // Image cache: the skin folder joined with file, or a resource of the
    // application module (fromApp nonzero) or of the library.
    ImgResInfo* AddImgResInfo(const wchar_t* file, int frames);
    ImgResInfo* AddImgResInfo(UINT id, CString type, int frames, int fromApp);
    void ClearImgResInfo();
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);
    void SetBackColor(COLORREF back, COLORREF border);
    void DrawBackImage(Gdiplus::Graphics& graphics, CRect client);
    // Copies the clip of the background image drawn for the client size
    // (drawn once per size and image); false when no copy could be kept.
    bool CopyBackImage(HDC dc, const CRect& client, const CRect& clip);
    // Private fonts and the family cache.
    void AddGDITempFont(UINT id);
    Gdiplus::FontFamily* AddTempFont(const wchar_t* name, const wchar_t* file);
    Gdiplus::FontFamily* AddTempFont(const wchar_t* name, UINT id);
    Gdiplus::FontFamily* FindTempFont(const wchar_t* name);
    void ClearTempFont();
    // Window timers of controls, keyed by control and the control's number.
    using MTimer::SetTimer;
    using MTimer::KillTimer;
    int SetTimer(MControl* control, UINT key, UINT elapse);
    int KillTimer(MControl* control, UINT key);
    void KillTimer(MControl* control);
    void ClearTimers();
    // The window timer id a control's timer runs under; 0 when it has none.
    UINT GetControlTimerId(MControl* control, UINT key);
    // WM_TIMER of the managed window.
    void OnTimer(UINT id);
    // The caret drawn for the rich-edit control that owns it.
    int CreateCaret(HBITMAP bitmap, int width, int height);
    int SetCaretPos(MRichEdit* object, int x, int y);
    int ShowCaret(int show);
    MRichEdit* GetCurrentCaretObject();
    void DrawCaret(HDC dc, const CRect& clip);
    // One tooltip per window.
    void SetTooltip(const wchar_t* text, CRect rect);
    void ClearTooltip();
    void SetTooltipCtrlID(int id) { m_tooltipOwnerId = id; }
    int GetTooltipCtrlID() const { return m_tooltipOwnerId; }
    // Message and progress overlay drawn over everything.
    void SetMessage(CString text, CRect rect, MsgLevel level);
    void SetProgress(int value, CString text, CRect rect);
    void DrawOverlay(Gdiplus::Graphics& graphics);
    // The overlay's strength (0..255), the progress it shows and the one it
    // runs toward.
    int GetOverlayAlpha() const { return m_overlayAlpha; }
    int GetShownProgress() const { return m_shownProgress; }
    int GetTargetProgress() const { return m_targetProgress; }
    CRect GetOverlayRect() const { return m_overlayRect; }
    CRect GetCaretRect() const { return m_caretRect; }
    // One balloon per window, made on first use. A nonzero kind claims the
    // balloon when showing; hiding with a kind other than the current one
    // is refused (0).
    int SetAirBladderMsg(const wchar_t* text, POINT point, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);
    int ShowAirBladder(int show, int kind);
    MAirBladder* GetAirBladder() const { return m_pAirBladder.get(); }

    // ---- drag and drop ---------------------------------------------------------------------
    // Registers the window as a drop target; Init does, unless
    // DeferDropRegistration came first.
    int InitDragDrop();
    // Has the window take drops from the end of its first paint on rather
    // than from Init: registering starts OLE's marshalling, several
    // milliseconds that a window the user waits for would spend before it
    // shows anything. Not for popups shown after Init: under Wine such a
    // popup registered late showed the corners outside its rounded region
    // for a moment.
    void DeferDropRegistration() { m_bDropAfterPaint = 1; }
    // Picture of a control for dragging; rect is relative to the control.
    HBITMAP GetDropBitmap(MControl* control, const CRect& rect, DWORD colour);
    // Runs a drag of the armed control; returns 1 once the drag has ended.
    int StartDrag();
    // The drop target's hooks: a drop sends the window a left-button release
    // at the cursor, posts WM_KEY_DROP and hands it a dropped picture; a
    // drag over it posts WM_KEY_DRAG_OVER.
    bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) override;
    void OnDragOver(POINTL point) override;
    // Counts references without ever deleting the manager.
    ULONG STDMETHODCALLTYPE Release() override;
    // Withdraws the window's drop target; run while the window still exists.
    void RevokeDropTarget();

    // ---- drop shadow (the embedded MShadow) ---------------------------------------------
    void CreateShadow(int show, bool force);
    void SetShadowShow(int show);
    void DisableShadow(int disable);
    int SetSize(int size);
    int SetSharpness(UINT sharpness);
    int SetDarkness(UINT darkness);
    int SetPosition(int x, int y);
    int SetShadowColor(COLORREF color);
    // Corners with a negative value are not taken.
    void SetShadowImage(const wchar_t* file, CRect corner);
    void SetShadowImage(UINT id, CRect corner);
    MShadow* GetShadow() { return &m_shadow; }

private:
    enum ButtonSide { LEFT_BUTTON, RIGHT_BUTTON };
    int ButtonDown(ButtonSide side, UINT keys, CPoint pt);
    int ButtonUp(ButtonSide side, UINT keys, CPoint pt);
    int ButtonDblClk(ButtonSide side, UINT keys, CPoint pt);
    // Stops one list, then deletes its controls outside the lock.
    void ClearList(std::vector<MControl*>& list, CriticalSection& lock);
    bool HasWindow() const;
    // Marks every entry after the sender that meets rect stale and grows the
    // union; sender-met carries across the two lists.
    void MarkLaterOverlapping(std::vector<MControl*>& list, CriticalSection& lock, const CRect& rect,
                              MControl* sender, bool& senderMet, CRect& unionRect);
    void PaintBackBuffer(HDC memDc, BYTE* bits, int width, int height, const CRect& update);
    void ClearLayeredPixels(BYTE* bits, int width, int height, const CRect& rect, bool fixAlpha);
    MControl* FindFocusable(bool forward);

    MWindow* m_pOwnerWnd;
    int m_bAttached;
    HWND m_hWnd;
    HDC m_hDcPaint;
    COLORREF m_backColor;
    COLORREF m_borderColor;
    CRect m_captionRect;
    int m_maxWidth;
    int m_maxHeight;
    int m_minWidth;
    int m_minHeight;
    CPoint m_dragRef;
    int m_bDragArmed;
    HBITMAP m_hDragBitmap;
    int m_bLayered;
    Gdiplus::Image* m_pBkImage;
    int m_bkWidth;
    int m_bkHeight;
    // The background image as drawn for the client size, kept between
    // paints; dropped when the image or the back mode changes.
    std::unique_ptr<LayeredCanvas> m_bkCache;
    std::unique_ptr<BackBuffer> m_backBuffer;
    MShadow m_shadow;
    CString m_fontName;
    std::atomic<UINT> m_tickTimerId;
    UINT m_windowTimerCounter;
    int m_bTracking;
    int m_bPressed;
    int m_bCaptured;
    int m_bWndDrag;
    UINT m_scrollVId;
    UINT m_scrollHId;
    DWORD m_defaultEnabledColor;
    MControl* m_pHover;
    MControl* m_pFocus;
    int m_tooltipOwnerId;
    HWND m_hTooltipWnd;
    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    std::vector<MControl*> m_ticks;
    CriticalSection m_areaLock;
    CriticalSection m_controlLock;
    CriticalSection m_tickLock;
    // Held while the fast tick runs; see the top of this header.
    CriticalSection m_tickRunLock;
    enumBackMode m_bkMode;
    int m_bkParameter;

    // ---- resources, control timers, caret, tooltip, balloon, overlay, drag and drop ----
    struct AirBladderDeleter
    {
        void operator()(MAirBladder* balloon) const;
    };
    void StartOwnTimer(UINT id, UINT elapse);
    void StopOwnTimer(UINT id);
    // The next free window timer id for a control, 0 when none is left.
    UINT NextControlTimerId();
    void OnCaretBlink();
    void OnMessageHold();
    void OnMessageFade();
    void OnProgressStep();
    void InvalidateCaret();
    // Drops the caret's owner when control is it (the control is going).
    void ForgetCaretOwner(MControl* control);
    void InvalidateOverlay();
    // Draws control into a canvas of canvasSize clipped to clip, and copies
    // size pixels from origin into a new 32-bit bitmap.
    HBITMAP RenderControl(MControl* control, CSize canvasSize, const CRect& clip, CPoint origin, CSize size);
    HBITMAP GenerateBitmap(MControl* control, const CRect& rect, DWORD colour);

    ImageCache m_imageCache;
    FontCache m_fontCache;
    std::vector<std::unique_ptr<ControlTimerRecord>> m_timerRecords;
    CriticalSection m_timerLock;
    CString m_overlayText;
    MsgLevel m_overlayLevel = MSG_LEVEL_INFO;
    int m_overlayAlpha = 0;
    int m_shownProgress = 0;
    int m_targetProgress = 0;
    CRect m_overlayRect;
    CRect m_caretRect;
    int m_caretPhase = 0;
    int m_caretShown = 0;
    MRichEdit* m_pCaretObject = nullptr;
    std::unique_ptr<MAirBladder, AirBladderDeleter> m_pAirBladder;
    int m_airBladderKind = 0;
    int m_bDropRegistered = 0;
    int m_bDropAfterPaint = 0;
    // Set by Init until the first paint asks for the registration.
    int m_bDropPending = 0;
};

} // namespace VREL
