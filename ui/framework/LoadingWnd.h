#pragma once

// The busy indicator: a layered popup over another window with a skin
// background, a logo, an animated GIF of 232 x 58 pixels that advances every
// 36 ms, and a close button whose click is posted to the window below as
// WM_LOADING_CLOSE. It ignores the library's close protocol: only its owner
// ends it.

#include <windows.h>
#include <gdiplus.h>

#include <array>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/ToolWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// Posted to the parent window (wParam 0, lParam 0) when the close button is clicked.
constexpr UINT WM_LOADING_CLOSE = 1524;
constexpr UINT TIMER_LOADING_FRAME = 100;

class VREL_API LoadingWnd : public MToolWindow
{
public:
    static constexpr int kFrameSlots = 19;
    static constexpr int kGifWidth = 232;
    static constexpr int kGifHeight = 58;
    static constexpr UINT kTimerPeriodMs = 18;
    static constexpr int kTicksPerFrame = 2;

    LoadingWnd();
    ~LoadingWnd() override;

    // ---- overrides ----------------------------------------------------------------------------
    int OnInitDialog() override;
    LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam) override;
    void CloseWindow() override;
    LRESULT OnMouseMove(UINT keys, CPoint pt) override;
    LRESULT OnMouseLeave(UINT keys, LPARAM lParam) override;
    LRESULT OnLButtonDown(UINT keys, CPoint pt) override;
    LRESULT OnLButtonUp(UINT keys, CPoint pt) override;
    LRESULT OnKillFocus(HWND next) override;
    LRESULT OnPaint() override;
    void OnTimer(UINT id) override;
    LRESULT OnClose() override;
    LRESULT PostNcDestroy() override;
    LRESULT OnDestroy() override;

    // Loads the GIF and the logo, then creates the visible window over rect
    // (screen coordinates) owned by parent.
    HWND CreateDlg(HWND parent, CRect rect);
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);
    // Returns 0 in every case; a file without frames leaves no animation.
    int LoadGifImage(CString file);
    // 1 when the image loaded into the slot (0..18); a slot outside that
    // range is refused.
    int LoadAnimateImage(CString file, int slot);

    int GetCurrentFrame() const { return m_currentFrame; }
    int GetGifFrameCount() const { return m_gifFrameCount; }
    int GetCloseState() const { return m_closeState; }
    CRect GetCloseRect() const { return CRect(m_closeRect); }
    int IsRunning() const { return m_running; }

protected:
    // Draws the window's picture on a w x h surface.
    void DrawFrame(Gdiplus::Graphics& graphics, int width, int height);
    // Renders the picture and hands it to the layered window.
    void DrawWindow();

private:
    LayeredDraw WindowPicture();

    ToolImage m_background;
    ToolImage m_logo;
    enumBackMode m_backMode;
    int m_backParameter;
    std::unique_ptr<Gdiplus::Image> m_pGif;
    int m_gifFrameCount;
    GUID m_frameDimension;
    int m_running;
    std::array<ToolImage, kFrameSlots> m_frames;
    int m_trackingArmed;
    RECT m_closeRect;
    int m_closeState;
    ToolImage m_close;
    int m_closeFrameWidth;
    int m_currentFrame;
    int m_wrapCount;
    int m_tick;
    int m_ticksPerFrame;
};

} // namespace VREL
