#pragma once

// The soft drop shadow of a top-level window: a layered, click-through popup
// ("ShadowWnd") owned by the window and kept under it. Its picture is either
// computed from the window's region (grown by the size, blurred over the
// sharpness, the window itself cut out so the shadow may lie above it) or a
// skin image stretched around the window as a nine-grid. The shadow follows
// its window by subclassing the window's procedure.
//
// A window gets at most one shadow: a second Create for the same window is
// refused, since chaining two subclass procedures through one map entry would
// make the procedure call itself.

#include <windows.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class PaintManager;

// The horizontal extent of one row of a window's shape: pixels left to
// right - 1 are inside. An empty row is (width, 0).
struct ShadowSpan
{
    int left;
    int right;
};

// What the computed shadow is made of.
struct ShadowParams
{
    int size;       // how far the shadow reaches beyond the window, -35..35
    int sharpness;  // width of the soft edge, 0..35
    int darkness;   // alpha of the solid part, 0..255
    int xOffset;    // displacement of the shadow, -35..35
    int yOffset;
    DWORD color;    // 0xRRGGBB
};

class VREL_API MShadow
{
public:
    // Limits of the setters.
    static constexpr int kMaxExtent = 35;
    static constexpr UINT kMaxDarkness = 255;

    MShadow();
    virtual ~MShadow();

    MShadow(const MShadow&) = delete;
    MShadow& operator=(const MShadow&) = delete;

    // Registers the "ShadowWnd" class for the module; 0 when it is already
    // registered and force is false.
    static int Initialize(HINSTANCE instance, bool force);
    // Attaches the shadow to the manager's window (only while the show flag
    // is set). 1 when attached; 0 when not shown, without a window, or when
    // the window already has a shadow.
    int Create(PaintManager* manager);
    static std::map<HWND, MShadow*>& GetShadowMap();
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void ShowShadow(int show) { m_show = show; }
    int IsShowShadow() const { return m_show; }
    void DisableShadow(int disable);
    int IsDisableShadow() const { return m_disabled; }

    int SetSize(int size);
    int SetSharpness(UINT sharpness);
    int SetDarkness(UINT darkness);
    int SetPosition(int x, int y);
    int SetColor(DWORD color);
    int SetImage(const wchar_t* file);
    int SetImage(UINT id);
    int SetShadowCorner(RECT corner);
    int CopyShadow(MShadow* other);

    HWND GetShadowWnd() const { return m_hWnd; }
    BYTE GetStatus() const { return m_status; }

    // The computed shadow of a window of width x height pixels whose shape
    // is given row by row (rows.size() == height), written into a bottom-up
    // 32-bit premultiplied bitmap of (width + 2 size) x (height + 2 size)
    // that the caller has cleared. Returns 0 and writes nothing when that
    // bitmap would be empty, when rows does not match the height, or when
    // pixelCount is too small for it; 1 otherwise. Nothing is written
    // outside the bitmap, whatever the settings.
    static int ComputeShadow(const ShadowParams& params, int width, int height, const std::vector<ShadowSpan>& rows,
                             uint32_t* pixels, size_t pixelCount);
    // The shape of a region in a width x height box, row by row.
    static std::vector<ShadowSpan> SpansFromRegion(HRGN region, int width, int height);

protected:
    void Update(HWND parent);
    void MakeShadow(UINT* pixels, HWND parent, RECT* parentRect);
    static DWORD PreMultiply(DWORD color, BYTE alpha);

private:
    enum StatusFlag : BYTE
    {
        STATUS_ATTACHED = 1,
        STATUS_SHOWN = 2,
        STATUS_PARENT_SHOWN = 4,
    };

    // Image mode with a picture to draw; otherwise the shadow is computed.
    bool DrawsImage() const { return m_imageMode && m_pImage; }
    void Redraw();
    void Place(HWND parent);
    void ComputeStatus(HWND parent);
    ShadowParams Params() const;
    LRESULT Follow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Detach();

    PaintManager* m_pManager;
    HWND m_hWnd;
    WNDPROC m_parentProc;
    BYTE m_status;
    int m_imageMode;
    int m_show;
    int m_disabled;
    std::unique_ptr<Gdiplus::Image> m_pImage;
    int m_imageWidth;
    int m_imageHeight;
    BYTE m_darkness;
    BYTE m_sharpness;
    signed char m_size;
    signed char m_xOffset;
    signed char m_yOffset;
    DWORD m_lastSize;
    int m_updatePending;
    DWORD m_color;
    CString m_imageFile;
    UINT m_imageResId;
    RECT m_corner;

    static int s_bHasInit;
};

} // namespace VREL
