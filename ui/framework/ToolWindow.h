#pragma once

// The small tool windows of the library that host no controls: the balloon,
// the key tooltip and the loading window. A borderless tool window without
// caption; its messages are split into virtual handlers (MHandlerWindow,
// with the focus messages added) and then always go on to the default
// procedure; it closes through a posted WM_CLOSE.
//
// Also the pieces these windows share: a skin image with its size, the
// library's private font, a rounded window region and the painting of a
// layered window.

#include <windows.h>
#include <gdiplus.h>

#include <functional>
#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/HandlerWindow.h"
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

private:
    // Keeps a freshly loaded image, or nothing when it is missing or broken.
    int Take(Gdiplus::Image* loaded);
};

class VREL_API MToolWindow : public MHandlerWindow
{
public:
    MToolWindow();
    ~MToolWindow() override;

    // ---- overrides of MWindow ---------------------------------------------------------
    // The handler split, with WM_SETFOCUS and WM_KILLFOCUS added.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* msg) override;
    int OnInitDialog() override;
    // The final notice of the window reaches PostNcDestroy.
    void OnDestroyMessage(HWND window) override;

    // ---- virtual operations of the tool windows ------------------------------------
    virtual void CloseWindow();
    // Caption and sizing frame removed, clipping added, tool window.
    int OnCreate(CREATESTRUCTW* create) override;
    // Rounded corners unless minimised; invalidates the client area; returns 1.
    int OnSize(UINT type, int cx, int cy) override;
    // Losing activation does not close a tool window; returns 1.
    LRESULT OnNcActivate(BOOL active) override;
    virtual LRESULT OnSetFocus(HWND previous);
    virtual LRESULT OnKillFocus(HWND next);
    // Returns 1.
    LRESULT OnPaint() override;
    // TIMER_BALLOON_HIDE stops itself and hides the window.
    void OnTimer(UINT id) override;

    // The restyling of OnCreate, shared with the popups: RemoveFrame, and
    // the extended style WS_EX_TOOLWINDOW alone.
    static void RestyleAsToolWindow(HWND window);
    // Gives the window a rounded region of its own size.
    static void ApplyRoundRegion(HWND window, int corner);

protected:
    // A rounded region of the window's own size.
    void SetupRegion(int corner);
    // The first family of the library's private font ("ttf" 106), kept for
    // the window's lifetime; null when the resource cannot be used. Every
    // tool window shares the one copy SharedLibraryFont holds.
    Gdiplus::FontFamily* LoadTempFont();
    Gdiplus::FontFamily* GetTempFont() const { return m_pFontFamily.get(); }

public:
    // The library's font, loaded once for the process on first use and kept
    // until ReleaseSharedLibraryFont (which the library's GDI+ shutdown
    // calls); null when the resource cannot be used.
    static std::shared_ptr<Gdiplus::FontFamily> SharedLibraryFont();
    static void ReleaseSharedLibraryFont();
    // Draws a picture of the client area's size with draw (on a cleared
    // 32-bit surface of width x height) and hands it to the window as its
    // layered picture. Nothing happens without a client area.
    using LayeredDraw = std::function<void(Gdiplus::Graphics& graphics, int width, int height)>;
    void PresentLayered(const LayeredDraw& draw);
    // The WM_PAINT answer of a layered tool window: validates the window and,
    // unless it is minimised, presents the picture of draw.
    LRESULT PaintLayered(const LayeredDraw& draw);

private:
    std::shared_ptr<Gdiplus::FontFamily> m_pFontFamily;
};

} // namespace VREL
