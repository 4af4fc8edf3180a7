#pragma once

// The small tool windows of the library that host no controls: the balloon,
// the key tooltip and the loading window. A borderless tool window without
// caption; its messages are split into virtual handlers and then always go
// on to the default procedure; it closes through a posted WM_CLOSE.
//
// Also the pieces these windows share: a skin image with its size, the
// library's private font, and a rounded window region.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// Timer of the balloon and the key tooltip that hides them.
constexpr UINT TIMER_BALLOON_HIDE = 10;

// An image from the skin folder or a resource of the application module,
// with its size; empty when it could not be loaded.
struct VREL_API ToolImage
{
    std::unique_ptr<Gdiplus::Image> image;
    int width = 0;
    int height = 0;

    // 1 when the image loaded; a failed load leaves the slot empty.
    int LoadFile(const CString& file);
    int LoadResource(UINT id, const CString& type);
    void Reset();
    bool IsLoaded() const { return image != nullptr; }
};

class VREL_API MToolWindow : public MWindow
{
public:
    MToolWindow();
    ~MToolWindow() override;

    // ---- overrides of MWindow ---------------------------------------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* msg) override;
    int OnInitDialog() override;
    // The final notice of the window reaches PostNcDestroy.
    void OnDestroyMessage(HWND window) override;

    // ---- virtual operations, in slot order -------------------------------------------
    // Posts WM_CLOSE with the same wParam and lParam; returns 1.
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual void CloseWindow();
    // Caption and sizing frame removed, clipping added, tool window.
    virtual int OnCreate(CREATESTRUCTW* create);
    // Rounded corners unless minimised; invalidates the client area.
    virtual int OnSize(UINT type, int cx, int cy);
    virtual LRESULT OnMouseMove(UINT keys, CPoint pt);
    virtual LRESULT OnMouseLeave(UINT keys, LPARAM lParam);
    virtual LRESULT OnMouseHover(UINT keys, LPARAM lParam);
    virtual LRESULT OnMouseWheel(UINT keys, short delta, CPoint pt);
    virtual LRESULT OnLButtonDown(UINT keys, CPoint pt);
    virtual LRESULT OnLButtonUp(UINT keys, CPoint pt);
    virtual LRESULT OnLButtonDblClk(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonDown(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonUp(UINT keys, CPoint pt);
    virtual LRESULT OnRButtonDblClk(UINT keys, CPoint pt);
    virtual LRESULT OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual LRESULT OnNcHitTest(CPoint pt);
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
    virtual LRESULT OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    // Losing activation does not close a tool window.
    virtual LRESULT OnNcActivate(BOOL active);
    virtual LRESULT OnSetFocus(HWND previous);
    virtual LRESULT OnKillFocus(HWND next);
    virtual LRESULT OnWindowPosChanging(WINDOWPOS* pos);
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* pos);
    virtual LRESULT OnPaint();
    // TIMER_BALLOON_HIDE stops itself and hides the window.
    virtual void OnTimer(UINT id);
    virtual LRESULT OnNcPaint();
    virtual LRESULT OnClose();
    virtual LRESULT PostNcDestroy();
    virtual LRESULT OnDestroy();

    // The restyling of OnCreate, shared with the popups: caption and sizing
    // frame off, clipping and bit 0x8 on, extended style WS_EX_TOOLWINDOW alone.
    static void RestyleAsToolWindow(HWND window);
    // Gives the window a rounded region of its own size.
    static void ApplyRoundRegion(HWND window, int corner);

protected:
    // A rounded region of the window's own size.
    void SetupRegion(int corner);
    // The first family of the library's private font ("ttf" 106), kept for
    // the window's lifetime; null when the resource cannot be used.
    Gdiplus::FontFamily* LoadTempFont();
    Gdiplus::FontFamily* GetTempFont() const { return m_pFontFamily.get(); }

private:
    std::unique_ptr<Gdiplus::PrivateFontCollection> m_pFontCollection;
    std::unique_ptr<Gdiplus::FontFamily> m_pFontFamily;
};

} // namespace VREL
