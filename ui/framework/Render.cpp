#include "ui/framework/Render.h"

#include <objbase.h>
#include <shellapi.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/ImagePrefetch.h"
#include "ui/framework/PngDecoder.h"

namespace VREL {

namespace {

constexpr DWORD kAlphaMask = 0xFF000000;
constexpr DWORD kColorMask = 0x00FFFFFF;
constexpr WORD kBmpFileType = 0x4D42;  // "BM"
constexpr DWORD kBmpHeadersSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
// NoWrap | MeasureTrailingSpaces.
constexpr INT kMeasureFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

// Rounds up a measured length: 10.0 -> 10, 10.2 -> 11.
int CeilToInt(float value)
{
    const int whole = static_cast<int>(value);
    return static_cast<float>(whole) != value ? whole + 1 : whole;
}

// The height rule of the text bounds: a fractional height gets `fractionPad`
// added before truncation, a whole one gets 1.
int PadHeight(float height, float fractionPad)
{
    const bool whole = static_cast<float>(static_cast<int>(height)) == height;
    return static_cast<int>(height + (whole ? 1.0f : fractionPad));
}

struct PathBounds
{
    Gdiplus::RectF bounds;
    float fontHeight = 0.0f;
};

// Lays the text out as a path and returns the path's bounds; measuring this
// way follows the glyph outlines rather than the font's advance widths.
PathBounds MeasureAsPath(const Gdiplus::Font& font, const Gdiplus::StringFormat& format,
                         const Gdiplus::RectF& layout, const CString& text)
{
    PathBounds result;
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    Gdiplus::FontFamily family;
    font.GetFamily(&family);
    path.AddString(text, -1, &family, font.GetStyle(), font.GetSize(), layout, &format);
    path.GetBounds(&result.bounds, nullptr, nullptr);
    result.fontHeight = font.GetHeight(0.0f);
    return result;
}

// Path of four edges and four quarter arcs; rx across and ry down.
void AddRoundRectPath(Gdiplus::GraphicsPath& path, float x, float y, float w, float h, float rx, float ry)
{
    const float dx = 2 * rx;
    const float dy = 2 * ry;
    path.AddLine(x + rx, y, x + w - rx, y);
    path.AddArc(x + w - dx, y, dx, dy, 270.0f, 90.0f);
    path.AddLine(x + w, y + ry, x + w, y + h - ry);
    path.AddArc(x + w - dx, y + h - dy, dx, dy, 0.0f, 90.0f);
    path.AddLine(x + w - rx, y + h, x + rx, y + h);
    path.AddArc(x, y + h - dy, dx, dy, 90.0f, 90.0f);
    path.AddLine(x, y + h - ry, x, y + ry);
    path.AddArc(x, y, dx, dy, 180.0f, 90.0f);
}

// One piece of a nine-grid. A piece drawn at its own size is copied. A
// stretched piece is filled from a texture of the piece alone, mirrored at
// its edges: DrawImage with a source rectangle samples the neighbouring
// pieces at the seams (a band of the wrong colour), and Wine's DrawImage
// also drops a destination line whose source point rounds to just outside
// the piece, which left an empty first column inside every stretched frame.
void DrawPiece(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int w, int h, int sx, int sy,
               int sw, int sh)
{
    const bool stretched = (w != sw || h != sh) && w > 0 && h > 0 && sw > 0 && sh > 0;
    if (stretched)
    {
        Gdiplus::TextureBrush piece(image, Gdiplus::WrapModeTileFlipXY, sx, sy, sw, sh);
        if (piece.GetLastStatus() == Gdiplus::Ok)
        {
            piece.TranslateTransform(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y));
            piece.ScaleTransform(static_cast<Gdiplus::REAL>(w) / sw, static_cast<Gdiplus::REAL>(h) / sh);
            graphics.FillRectangle(&piece, x, y, w, h);
            return;
        }
    }
    MRender::DrawImagePart(graphics, image, Gdiplus::Rect(x, y, w, h), sx, sy, sw, sh);
}

// Screen DC with the default palette realised for GetDIBits; puts
// everything back when it goes out of scope.
class ScreenPaletteDC
{
public:
    ScreenPaletteDC() : m_dc(GetDC(nullptr))
    {
        if (m_dc)
        {
            m_oldPalette = SelectPalette(m_dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
            RealizePalette(m_dc);
        }
    }
    ~ScreenPaletteDC()
    {
        if (!m_dc)
            return;
        if (m_oldPalette)
            SelectPalette(m_dc, m_oldPalette, TRUE);
        ReleaseDC(nullptr, m_dc);
    }
    ScreenPaletteDC(const ScreenPaletteDC&) = delete;
    ScreenPaletteDC& operator=(const ScreenPaletteDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HPALETTE m_oldPalette = nullptr;
};

// Larger image files are left to GDI+ to read.
constexpr LONGLONG kMaxWholeFileRead = 256LL * 1024 * 1024;
constexpr DWORD kPngSignatureSize = 8;

class FileHandle
{
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    bool Write(const void* data, DWORD size) const
    {
        DWORD written = 0;
        return WriteFile(m_handle, data, size, &written, nullptr) && written == size;
    }
    bool Read(void* data, DWORD size) const
    {
        DWORD read = 0;
        return ReadFile(m_handle, data, size, &read, nullptr) && read == size;
    }
    // False for files too large to read whole.
    bool Size(DWORD& size) const
    {
        LARGE_INTEGER large = {};
        if (!GetFileSizeEx(m_handle, &large) || large.QuadPart < 0 || large.QuadPart > kMaxWholeFileRead)
            return false;
        size = static_cast<DWORD>(large.QuadPart);
        return true;
    }
    bool Close()
    {
        const bool closed = CloseHandle(m_handle) != FALSE;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

WORD DisplayBitDepth()
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    int bits = 24;
    if (display)
    {
        bits = GetDeviceCaps(display, PLANES) * GetDeviceCaps(display, BITSPIXEL);
        DeleteDC(display);
    }
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    return 24;
}

// A new family of that name, or null when the system has none.
Gdiplus::FontFamily* AvailableFamily(const wchar_t* name)
{
    if (!name || !*name)
        return nullptr;
    auto* family = new Gdiplus::FontFamily(name);
    if (family->IsAvailable())
        return family;
    delete family;
    return nullptr;
}

// The face GDI really selects for a font description.
std::wstring FaceChosenByGdi(const LOGFONTW& description)
{
    std::wstring face;
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&description);
    if (screen && font)
    {
        HGDIOBJ old = SelectObject(screen, font);
        wchar_t name[LF_FACESIZE] = {};
        if (GetTextFaceW(screen, LF_FACESIZE, name) > 0)
            face = name;
        SelectObject(screen, old);
    }
    if (font)
        DeleteObject(font);
    if (screen)
        ReleaseDC(nullptr, screen);
    return face;
}

// The whole file when it is a PNG; false for any other file or when it
// cannot be read.
bool ReadPngFile(const CString& path, std::vector<uint8_t>& bytes)
{
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    DWORD size = 0;
    if (!file.IsOpen() || !file.Size(size) || size < kPngSignatureSize)
        return false;
    // Only the signature of other files is read: GDI+ reads them again.
    bytes.resize(kPngSignatureSize);
    if (!file.Read(bytes.data(), kPngSignatureSize) || !PngDecoder::IsPng(bytes.data(), kPngSignatureSize))
        return false;
    bytes.resize(size);
    return file.Read(bytes.data() + kPngSignatureSize, size - kPngSignatureSize);
}

Gdiplus::Image* DecodeFile(const CString& path)
{
    // Decoding plain PNGs here spares the codecs' start-up and per-file
    // costs; every other file still goes to GDI+.
    std::vector<uint8_t> bytes;
    if (ReadPngFile(path, bytes))
    {
        if (Gdiplus::Bitmap* decoded = PngDecoder::Decode(bytes.data(), bytes.size()))
            return decoded;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromFile(path);
    if (image && image->GetLastStatus() != Gdiplus::Ok)
    {
        delete image;
        image = nullptr;
    }
    return image;
}

// Never destroyed: at the library's unload the process may already have
// lost the thread, and a join there would wait under the loader's lock. The
// program drops what it prefetched once its window is built.
ImagePrefetch& Prefetch()
{
    static ImagePrefetch* prefetch = new ImagePrefetch(DecodeFile);
    return *prefetch;
}

} // namespace

// ---------------------------------------------------------------- loading

Gdiplus::Image* MRender::LoadImageFromFile(CString path)
{
    if (Gdiplus::Image* prefetched = Prefetch().Take(path))
        return prefetched;
    return DecodeFile(path);
}

Gdiplus::Image* MRender::DecodeImageFile(const CString& path) { return DecodeFile(path); }

void MRender::PrefetchImages(const std::vector<CString>& paths) { Prefetch().Start(paths); }

void MRender::DropPrefetchedImages() { Prefetch().Drop(); }

Gdiplus::Image* MRender::LoadImageFromFileEx(CString path, int cx, int cy)
{
    Gdiplus::Image* image = LoadImageFromFile(path);
    if (!image)
        return nullptr;
    if (cx == 0 && cy == 0)
    {
        cx = static_cast<int>(image->GetWidth());
        cy = static_cast<int>(image->GetHeight());
    }
    Gdiplus::Image* thumbnail = image->GetThumbnailImage(cx, cy, nullptr, nullptr);
    delete image;
    if (thumbnail && thumbnail->GetLastStatus() != Gdiplus::Ok)
    {
        delete thumbnail;
        thumbnail = nullptr;
    }
    return thumbnail;
}

Gdiplus::Image* MRender::LoadImageFromIDResource(UINT id, CString type, HINSTANCE module)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!resource)
        return nullptr;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return nullptr;
    const void* bytes = LockResource(loaded);
    if (!bytes || size == 0)
        return nullptr;
    const auto* first = static_cast<const uint8_t*>(bytes);
    if (PngDecoder::IsPng(first, size))
    {
        if (Gdiplus::Bitmap* decoded = PngDecoder::Decode(first, size))
            return decoded;
    }

    // GDI+ may go on reading the stream for as long as the image lives: the
    // stream owns the copy and frees it when the image lets go of the stream.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* copy = GlobalLock(block);
    if (!copy)
    {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(copy, bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream)
    {
        GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    stream->Release();
    FreeResource(loaded);
    return image;
}

HICON MRender::LoadIconFromFile(CString path)
{
    // The call may write the icon's source path back into the buffer, so it
    // gets at least MAX_PATH characters and more when the path is longer.
    std::vector<wchar_t> buffer(std::max<size_t>(MAX_PATH, static_cast<size_t>(path.GetLength()) + 1), L'\0');
    std::memcpy(buffer.data(), path.GetString(), static_cast<size_t>(path.GetLength()) * sizeof(wchar_t));
    WORD index = 0;
    return ExtractAssociatedIconW(nullptr, buffer.data(), &index);
}

// ------------------------------------------------------ DCs and bitmaps

HDC MRender::CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }

HBITMAP MRender::CreateCompatibleBitmap(HDC dc, int cx, int cy) { return ::CreateCompatibleBitmap(dc, cx, cy); }

HBITMAP MRender::CreateARGB32Bitmap(HDC dc, int cx, int cy, BYTE** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits)
        *bits = bitmap ? static_cast<BYTE*>(pixels) : nullptr;
    return bitmap;
}

BOOL MRender::BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy)
{
    return ::BitBlt(dst, x, y, cx, cy, src, sx, sy, SRCCOPY);
}

BOOL MRender::BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop)
{
    return ::BitBlt(dst, x, y, cx, cy, src, sx, sy, rop);
}

void MRender::FillSolidRect(HDC& dc, const RECT* rect, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void MRender::FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF color)
{
    const RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(dc, &rect, color);
}

void MRender::DrawColor(HDC dc, const RECT& rect, DWORD argb)
{
    if ((argb & kAlphaMask) == 0)
        return;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb)};
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void MRender::DrawRectangle(HDC&, const CRect&, int, int, int) {}

void MRender::DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF color, HFONT font, UINT format)
{
    if (!text)
        return;
    SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, color);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    ::DrawTextW(dc, text, -1, &rect, format);
    SetTextColor(dc, oldColor);
    if (oldFont)
        SelectObject(dc, oldFont);
}

void MRender::CheckAlphaColor(DWORD& color)
{
    if ((color & kColorMask) == 0)
        color += 1;
}

// ---------------------------------------------------------- GDI+ drawing

// An unscaled draw of a 32-bit image with alpha makes a premultiplied copy
// of the whole image first (under Wine, and in the system's library where
// it blends through GDI): a corner of a wide strip cost as much as the
// strip. A copy of the part alone is drawn instead; the same pixels take
// the same way, at the cost of the part.
void MRender::DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& dst, int sx,
                            int sy, int sw, int sh)
{
    if (!image)
        return;
    const int width = static_cast<int>(image->GetWidth());
    const int height = static_cast<int>(image->GetHeight());
    const bool part = dst.Width == sw && dst.Height == sh && sw > 0 && sh > 0 && sx >= 0 && sy >= 0 &&
                      sx + sw <= width && sy + sh <= height && (sw < width || sh < height);
    if (part && image->GetType() == Gdiplus::ImageTypeBitmap && image->GetPixelFormat() == PixelFormat32bppARGB)
    {
        std::unique_ptr<Gdiplus::Bitmap> copy(
            static_cast<Gdiplus::Bitmap*>(image)->Clone(sx, sy, sw, sh, PixelFormat32bppARGB));
        if (copy && copy->GetLastStatus() == Gdiplus::Ok)
        {
            graphics.DrawImage(copy.get(), dst, 0, 0, sw, sh, Gdiplus::UnitPixel);
            return;
        }
    }
    graphics.DrawImage(image, dst, sx, sy, sw, sh, Gdiplus::UnitPixel);
}

void MRender::DrawImageFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dst, int sx, int sy,
                             int sw, int sh, int corner)
{
    DrawImageFrameMID(graphics, image, dst, sx, sy, sw, sh, corner, corner, corner, corner);
}

void MRender::DrawImageFrameMID(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dst, int sx,
                                int sy, int sw, int sh, int l, int t, int r, int b)
{
    if (!image)
        return;
    const int L = dst.left, T = dst.top, R = dst.right, B = dst.bottom;
    const int midW = R - L - l - r, midH = B - T - t - b;
    const int srcMidW = sw - l - r, srcMidH = sh - t - b;
    DrawPiece(graphics, image, L, T, l, t, sx, sy, l, t);                                // top-left
    DrawPiece(graphics, image, L, T + t, l, midH, sx, sy + t, l, srcMidH);               // left edge
    DrawPiece(graphics, image, L, B - b, l, b, sx, sy + sh - b, l, b);                   // bottom-left
    DrawPiece(graphics, image, L + l, T, midW, t, sx + l, sy, srcMidW, t);               // top edge
    DrawPiece(graphics, image, R - r, T, r, t, sx + sw - r, sy, r, t);                   // top-right
    DrawPiece(graphics, image, R - r, T + t, r, midH, sx + sw - r, sy + t, r, srcMidH);  // right edge
    DrawPiece(graphics, image, R - r, B - b, r, b, sx + sw - r, sy + sh - b, r, b);      // bottom-right
    DrawPiece(graphics, image, L + l, B - b, midW, b, sx + l, sy + sh - b, srcMidW, b);  // bottom edge
    DrawPiece(graphics, image, L + l, T + t, midW, midH, sx + l, sy + t, srcMidW, srcMidH);  // centre
}

void MRender::DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                Gdiplus::Color pen, float penWidth, Gdiplus::Color fill)
{
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(path, x, y, w, h, r, r);
    Gdiplus::SolidBrush brush(fill);
    graphics.FillPath(&brush, &path);
    if (penWidth != 0.0f)
    {
        Gdiplus::Pen outline(pen, penWidth);
        graphics.DrawPath(&outline, &path);
    }
}

void MRender::DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                Gdiplus::Color fill)
{
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(path, x, y, w, h, r, r);
    Gdiplus::SolidBrush brush(fill);
    graphics.FillPath(&brush, &path);
}

void MRender::DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float k,
                                Gdiplus::Color pen, float penWidth, bool fill, Gdiplus::Color fillColor)
{
    constexpr float kMostRadiusDifference = 10.0f;
    // A divisor of 0 or less would make the radii infinite: square corners.
    float rx = k > 0.0f ? (w / k) * 0.5f : 0.0f;
    float ry = k > 0.0f ? (h / k) * 0.5f : 0.0f;
    if (std::fabs(rx - ry) > kMostRadiusDifference)
        rx = ry = std::min(rx, ry);
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(path, x, y, w, h, rx, ry);
    if (fill)
    {
        Gdiplus::SolidBrush brush(fillColor);
        graphics.FillPath(&brush, &path);
    }
    Gdiplus::Pen outline(pen, penWidth);
    graphics.DrawPath(&outline, &path);
}

void MRender::DrawRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, Gdiplus::Color frame,
                           Gdiplus::Color fill)
{
    Gdiplus::SolidBrush brush(fill);
    graphics.FillRectangle(&brush, x, y, w, h);
    Gdiplus::Pen pen(frame, 1.0f);
    graphics.DrawRectangle(&pen, x + 1, y + 1, w - 1, h - 1);
}

// ------------------------------------------------------------------ text

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format,
                                     const CString& text)
{
    const PathBounds measured = MeasureAsPath(font, format, Gdiplus::RectF(0, 0, 0, 0), text);
    return Gdiplus::Size(CeilToInt(measured.bounds.Width), PadHeight(measured.fontHeight, 4.0f));
}

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format, int width,
                                     const CString& text)
{
    const PathBounds measured =
        MeasureAsPath(font, format, Gdiplus::RectF(0, 0, static_cast<float>(width), 0), text);
    const int lineHeight = PadHeight(measured.fontHeight, 2.0f);
    const int textHeight = PadHeight(measured.bounds.Height, 2.0f);
    const int height = textHeight > lineHeight ? textHeight + 5 : lineHeight + 1;
    return Gdiplus::Size(CeilToInt(measured.bounds.Width), height);
}

Gdiplus::Size MRender::GetTextBounds(const Gdiplus::Font& font, const CString& text)
{
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetFormatFlags(kMeasureFlags);
    return GetTextBounds(font, format, text);
}

CPoint MRender::GetOriginPoint(int w, int h, int cw, int ch, UINT halign, UINT valign)
{
    constexpr UINT kCentre = 1, kRight = 2, kMiddle = 4, kBottom = 8;
    CPoint origin(0, 0);
    if (halign == kCentre)
        origin.x = (w - cw) / 2;
    else if (halign == kRight)
        origin.x = w - cw;
    if (valign == kMiddle)
        origin.y = (h - ch) / 2;
    else if (valign == kBottom)
        origin.y = h - ch;
    return origin;
}

CPoint MRender::GetOriginPoint(CRect rect, int cw, int ch, UINT halign, UINT valign)
{
    // Two pixels lower than the box form: text sits visually centred then.
    constexpr int kTextDrop = 2;
    const CPoint offset = GetOriginPoint(rect.Width(), rect.Height(), cw, ch, halign, valign);
    return CPoint(rect.left + offset.x, rect.top + offset.y + kTextDrop);
}

Gdiplus::FontFamily* MRender::CreateFontFamily(const wchar_t* name)
{
    if (name && *name)
    {
        if (Gdiplus::FontFamily* family = AvailableFamily(name))
            return family;
        // GDI substitutes a missing face with one it has (font replacements
        // included); GDI+ does not, so ask GDI which face it would use.
        LOGFONTW requested = {};
        requested.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(requested.lfFaceName, name, LF_FACESIZE - 1);
        if (Gdiplus::FontFamily* family = AvailableFamily(FaceChosenByGdi(requested).c_str()))
            return family;
    }
    LOGFONTW guiFont = {};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(guiFont), &guiFont))
    {
        if (Gdiplus::FontFamily* family = AvailableFamily(guiFont.lfFaceName))
            return family;
        if (Gdiplus::FontFamily* family = AvailableFamily(FaceChosenByGdi(guiFont).c_str()))
            return family;
    }
    // Last resort: any installed family. An empty system yields a family
    // that reports itself unavailable.
    Gdiplus::InstalledFontCollection installed;
    if (installed.GetFamilyCount() > 0)
    {
        Gdiplus::FontFamily first;
        int found = 0;
        if (installed.GetFamilies(1, &first, &found) == Gdiplus::Ok && found == 1)
            return first.Clone();
    }
    return new Gdiplus::FontFamily();
}

// ------------------------------------------------------------- BMP files

BOOL MRender::SaveBitmapToFile(HBITMAP bitmap, CString path)
{
    const WORD depth = DisplayBitDepth();
    BITMAP info = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return FALSE;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = depth;
    header.biCompression = BI_RGB;
    const DWORD imageSize = static_cast<DWORD>(info.bmHeight) *
                            ((static_cast<DWORD>(depth) * static_cast<DWORD>(info.bmWidth) + 31) / 32) * 4;
    // At 8 bits or fewer GetDIBits also writes a colour table behind the header.
    const DWORD tableSize = depth <= 8 ? (DWORD(1) << depth) * sizeof(RGBQUAD) : 0;
    const DWORD blockSize = sizeof(BITMAPINFOHEADER) + tableSize + imageSize;

    HGLOBAL block = GlobalAlloc(GHND, blockSize);
    if (!block)
        return FALSE;
    auto* data = static_cast<BYTE*>(GlobalLock(block));
    if (!data)
    {
        GlobalFree(block);
        return FALSE;
    }
    std::memcpy(data, &header, sizeof(header));
    int lines = 0;
    {
        ScreenPaletteDC screen;
        if (screen.Get())
            lines = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
                              data + sizeof(BITMAPINFOHEADER) + tableSize, reinterpret_cast<BITMAPINFO*>(data),
                              DIB_RGB_COLORS);
    }

    bool saved = false;
    if (lines > 0)
    {
        FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (file.IsOpen())
        {
            BITMAPFILEHEADER fileHeader = {};
            fileHeader.bfType = kBmpFileType;
            fileHeader.bfSize = imageSize + kBmpHeadersSize + tableSize;
            fileHeader.bfOffBits = kBmpHeadersSize + tableSize;
            saved = file.Write(&fileHeader, sizeof(fileHeader)) && file.Write(data, blockSize);
            saved = file.Close() && saved;
        }
    }
    GlobalUnlock(block);
    GlobalFree(block);
    return saved ? TRUE : FALSE;
}

} // namespace VREL
