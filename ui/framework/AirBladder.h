#pragma once

// The balloon: a small layered tool window that shows a message in white on
// a skin background beside a screen point, sizes itself to the text and
// hides itself after five seconds (unless it is of the staying kind) or when
// it loses the focus. Each paint manager creates one on first use.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/AirBladderTypes.h"
#include "ui/framework/CString.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/ToolWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MAirBladder : public MToolWindow
{
public:
    static constexpr UINT kHideDelayMs = 5000;
    // Pixel size of the balloon's text.
    static constexpr int kFontPixels = 14;

    MAirBladder();
    ~MAirBladder() override;

    // ---- overrides ------------------------------------------------------------------------
    // Loads the private font.
    int OnInitDialog() override;
    // Hides the balloon (unless its mode is 5) and stops the hide timer.
    LRESULT OnKillFocus(HWND next) override;
    LRESULT OnPaint() override;

    // ---- images (1 when loaded) -------------------------------------------------------------
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    int LoadArrowLImage(CString file);
    int LoadArrowLImage(UINT id, CString type);
    int LoadArrowRImage(CString file);
    int LoadArrowRImage(UINT id, CString type);
    int LoadArrowTImage(CString file);
    int LoadArrowTImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);

    // Shows text (lines separated by "\n") against pt. Returns 1; 0 for a
    // null text, which changes nothing. Repeating the current message,
    // point, kind and placement changes nothing either, not even the hide
    // timer.
    int SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);

    CString GetText() const { return m_text; }
    int GetLineCount() const { return m_lineCount; }

protected:
    void AutoFit();
    // Draws the balloon's picture (background, then text) on a w x h surface.
    void DrawBalloon(Gdiplus::Graphics& graphics, int width, int height);
    // Renders the picture and hands it to the layered window.
    void Paint();

private:
    LayeredDraw BalloonPicture();
    // The private font, or the library font when the resource is unusable.
    Gdiplus::FontFamily* TextFamily();
    void ResetFormat(Gdiplus::StringAlignment alignment);

    CString m_text;
    POINT m_point;
    AIRBLADDER_TYPE m_type;
    AIRBLADDER_MODE m_mode;
    std::unique_ptr<Gdiplus::StringFormat> m_pFormat;
    ToolImage m_background;
    ToolImage m_arrowTop;
    ToolImage m_arrowLeft;
    ToolImage m_arrowRight;
    enumBackMode m_backMode;
    int m_backParameter;
    int m_lineCount;
    std::unique_ptr<Gdiplus::FontFamily> m_pFallbackFamily;
};

} // namespace VREL
