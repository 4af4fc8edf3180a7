#pragma once

// Stateless drawing toolbox of the library: image loading, nine-grids, fades
// between device contexts, gradients, rounded rectangles, text measuring and
// placing, 32-bit bitmaps and BMP saving. ARGB values are 0xAARRGGBB (GDI+
// colours), COLORREF values 0x00BBGGRR.

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MRender
{
public:
    MRender() = delete;

    using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    // ---- image loading: the caller owns every image or icon returned ----
    static Gdiplus::Image* LoadImageFromFile(CString path);
    // Starts decoding the files (full paths) in order on a thread of its
    // own, for the images a window's first paint needs while the window is
    // made: LoadImageFromFile takes a listed file's image from there (see
    // ImagePrefetch). A second call drops what the first left.
    static void PrefetchImages(const std::vector<CString>& paths);
    // Deletes every prefetched image nobody loaded.
    static void DropPrefetchedImages();
    // Decodes the file on the calling thread, never taking a prefetched
    // image: for a load that itself runs ahead of the window.
    static Gdiplus::Image* DecodeImageFile(const CString& path);
    // A cx x cy copy of the file's image; 0 x 0 means the image's own size.
    static Gdiplus::Image* LoadImageFromFileEx(CString path, int cx, int cy);
    static Gdiplus::Image* LoadImageFromIDResource(UINT id, CString type, HINSTANCE module);
    static HICON LoadIconFromFile(CString path);

    // ---- device contexts and bitmaps ----
    static HDC CreateCompatibleDC(HDC dc);
    static HBITMAP CreateCompatibleBitmap(HDC dc, int cx, int cy);
    // Bottom-up 32-bit DIB section; the pixels are returned through bits.
    static HBITMAP CreateARGB32Bitmap(HDC dc, int cx, int cy, BYTE** bits);
    static BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy);
    static BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop);
    // Both leave the DC's background colour changed.
    static void FillSolidRect(HDC& dc, const RECT* rect, COLORREF color);
    static void FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF color);
    // Nothing for a colour with alpha 0.
    static void DrawColor(HDC dc, const RECT& rect, DWORD argb);
    static void DrawRectangle(HDC& dc, const CRect& rect, int, int, int);
    static void DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF color, HFONT font, UINT format);
    // Pure black becomes 0x..000001 so it never matches a black colour key.
    static void CheckAlphaColor(DWORD& color);

    // ---- image drawing with GDI+ ----
    // DrawImage of a part of an image (a frame of a strip, a piece of a
    // nine-grid) at the part's own size.
    static void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& dst, int sx,
                              int sy, int sw, int sh);
    static void DrawImageFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dst,
                               int sx, int sy, int sw, int sh, int corner);
    static void DrawImageFrameMID(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dst,
                                  int sx, int sy, int sw, int sh, int left, int top, int right, int bottom);
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                  Gdiplus::Color pen, float penWidth, Gdiplus::Color fill);
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                  Gdiplus::Color fill);
    // Radii from the size: (w / k) / 2 across, (h / k) / 2 down.
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float k,
                                  Gdiplus::Color pen, float penWidth, bool fill, Gdiplus::Color fillColor);
    static void DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h,
                             Gdiplus::Color frame, Gdiplus::Color fill);

    // ---- fades between two device contexts (constant alpha per row, column or pixel) ----
    // a and b are the transparencies in percent at the first and the last row.
    static int DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int a, int b);
    static int DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int a, int b);
    static void DrawRightBottomTransition(HDC& dst, HDC& src, CRect rect, int n, DWORD);

    // ---- gradient ----
    static void DrawGradient(HDC dc, const RECT& rect, DWORD argb1, DWORD argb2, bool vertical, int steps);
    // Software stand-in for AlphaBlend when the system does not offer it.
    static BOOL WINAPI AlphaBlendFallback(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw,
                                          int sh, BLENDFUNCTION blend);
    // The functions DrawGradient uses, as found in msimg32 on first use.
    // Setting them replaces the look-up; a null pointer selects the built-in
    // fallback (the software blend, or solid bands instead of GradientFill).
    static void SetBlendFunctions(AlphaBlendFn alphaBlend, GradientFillFn gradientFill);
    static void GetBlendFunctions(AlphaBlendFn& alphaBlend, GradientFillFn& gradientFill);

    // ---- text measuring and placing ----
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format,
                                       const CString& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format, int width,
                                       const CString& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const CString& text);
    // halign 1 centre, 2 right; valign 4 centre, 8 bottom; else top-left.
    static CPoint GetOriginPoint(int w, int h, int cw, int ch, UINT halign, UINT valign);
    static CPoint GetOriginPoint(CRect rect, int cw, int ch, UINT halign, UINT valign);

    // A new font family of that name; when the system lacks it, the family
    // of the default GUI font, else the generic sans-serif family. Never null.
    static Gdiplus::FontFamily* CreateFontFamily(const wchar_t* name);

    // FALSE when the bitmap cannot be read or the file cannot be written.
    static BOOL SaveBitmapToFile(HBITMAP bitmap, CString path);
};

} // namespace VREL
