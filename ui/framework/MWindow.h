#pragma once

// The library's wrapper of one Win32 window: it registers a window class of
// its own (or a superclass of a system class), binds the object to the
// window handle, sends every message of the window to one virtual handler,
// wraps the common window calls and runs the modal message loop.
//
// The object does not own the window: destroying the object leaves the
// window alone, and destroying the window only clears the handle.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// Posted with the dialog result in wParam (IDOK, IDCANCEL, IDYES, IDNO); the
// window answers with a posted WM_CLOSE carrying the same result.
constexpr UINT WM_USER_CLOSE_WINDOW = WM_USER + 66;

class VREL_API MWindow
{
public:
    MWindow();

    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // ---- virtual operations, in slot order ----
    virtual ~MWindow();
    virtual const wchar_t* GetWindowClassName() const;
    // Null: no system class to copy.
    virtual const wchar_t* GetSuperClassName() const;
    virtual int ShowWindow(int cmd);
    // Every message of the window except WM_NCDESTROY.
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual int PreTranslateMessage(MSG* msg);
    // Runs once Create has tried to make the window (also when it failed).
    virtual int OnInitDialog();
    // Runs after the window is gone (WM_NCDESTROY).
    virtual void OnDestroyMessage(HWND window);

    // ---- creation -----------------------------------------------------------------
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect, HMENU menu);
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect);
    HWND Create(HWND parent, CRect rect);
    HWND Create(HWND parent);
    int RegisterWindowClass();
    int RegisterSuperClass();
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // As WndProc, keeping the object in the window property "Control".
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- modal loop and placement ------------------------------------------------
    // Runs the window modally: returns the result carried by the WM_CLOSE
    // that went through the queue, 0 when the window closed otherwise, and
    // 0xFFFFFFFF without a window. The owner is disabled meanwhile.
    UINT ShowModal(int cmdShow);
    // The same loop without disabling the owner.
    UINT ShowModal2(int cmdShow);
    void CenterWindow(MWindow* alternate);
    void BringToTop();
    void SetIcon(UINT iconId);

    // ---- wrappers (0, null or -1 without a window) -------------------------------
    int ModifyStyle(DWORD remove, DWORD add, UINT swpFlags);
    int ModifyExStyle(DWORD remove, DWORD add, UINT swpFlags);
    DWORD GetStyle();
    DWORD GetExStyle();
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    int DestroyWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetParentHwnd() const { return m_hParent; }
    int GetClientRect(RECT* rect);
    int GetWindowRect(RECT* rect);
    int SetWindowTextW(const wchar_t* text);
    int GetWindowTextW(CString& text);
    int GetWindowTextLengthW();
    int EnableWindow(int enable);
    int IsWindowEnabled();
    int IsWindowVisible();
    int IsIconic();
    int InvalidateRect(CRect rect, int erase);
    HWND SetCapture();
    int ReleaseCapture();
    HWND SetFocus();
    UINT_PTR SetTimer(UINT id, UINT ms, TIMERPROC proc);
    int KillTimer(UINT id);
    int ClientToScreen(POINT* point);
    int ClientToScreen(RECT* rect);
    int ScreenToClient(POINT* point);
    int ScreenToClient(RECT* rect);
    int SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    int MoveWindow(int x, int y, int cx, int cy, BOOL repaint);
    int MoveWindow(const RECT* rect, BOOL repaint);

protected:
    // Handle set and not -1 (the looser test some wrappers use).
    bool HandleSet() const;
    // Handle set and accepted by IsWindow.
    bool WindowExists() const;
    UINT RunModal(int cmdShow, bool disableOwner);
    static LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool useProperty);
    // Unbinds the object from a window that outlives it, so that later
    // messages of that window no longer reach the object.
    void Detach();

    HWND m_hParent;
    HWND m_hWnd;
    WNDPROC m_oldWndProc;

private:
    // The window keeps the object in the property "Control" (superclass of a
    // system class) rather than in GWLP_USERDATA.
    bool m_bSuperclassed;
    // Modal loops of this object now running: a window destroyed under one
    // wakes it, or it would wait for a message that never comes.
    int m_modalRuns;
};

} // namespace VREL
