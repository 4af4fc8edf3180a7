#include "ui/framework/DropImage.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>

namespace VREL {
namespace DropImage {

namespace {

// Longest path taken from a dropped file list.
constexpr UINT kMaxDropPath = 520;
// Metafile frames are in 0.01 mm; device sizes in mm.
constexpr double kFrameUnitsPerMm = 100.0;
// Frame coordinates beyond this many pixels are cut back.
constexpr double kMaxFrameCoordinate = 1 << 20;

// A global block locked for reading, with its size.
class LockedGlobal
{
public:
    explicit LockedGlobal(HGLOBAL block)
        : m_block(block), m_data(block ? ::GlobalLock(block) : nullptr), m_size(m_data ? ::GlobalSize(block) : 0)
    {
    }
    ~LockedGlobal()
    {
        if (m_data)
            ::GlobalUnlock(m_block);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    const BYTE* Data() const { return static_cast<const BYTE*>(m_data); }
    SIZE_T Size() const { return m_size; }

private:
    HGLOBAL m_block;
    void* m_data;
    SIZE_T m_size;
};

bool ValidSide(int64_t side) { return side > 0 && side <= kMaxSide; }

// Where the bits of a packed DIB start and how many bytes they need; false
// when the header is not one GDI can read.
bool MeasureDib(const BYTE* data, SIZE_T size, SIZE_T& bitsOffset, uint64_t& bitsSize)
{
    DWORD headerSize = 0;
    if (size < sizeof(headerSize))
        return false;
    std::memcpy(&headerSize, data, sizeof(headerSize));

    int64_t width = 0;
    int64_t height = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD imageSize = 0;
    uint64_t colours = 0;
    uint64_t entrySize = sizeof(RGBQUAD);
    uint64_t masks = 0;
    if (headerSize == sizeof(BITMAPCOREHEADER))
    {
        if (size < sizeof(BITMAPCOREHEADER))
            return false;
        BITMAPCOREHEADER core;
        std::memcpy(&core, data, sizeof(core));
        width = core.bcWidth;
        height = core.bcHeight;
        planes = core.bcPlanes;
        bitCount = core.bcBitCount;
        entrySize = sizeof(RGBTRIPLE);
        if (bitCount <= 8)
            colours = uint64_t(1) << bitCount;
    }
    else
    {
        if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > size)
            return false;
        BITMAPINFOHEADER info;
        std::memcpy(&info, data, sizeof(info));
        width = info.biWidth;
        height = info.biHeight;
        planes = info.biPlanes;
        bitCount = info.biBitCount;
        compression = info.biCompression;
        imageSize = info.biSizeImage;
        if (bitCount <= 8)
        {
            const uint64_t most = uint64_t(1) << bitCount;
            if (info.biClrUsed > most)
                return false;
            colours = info.biClrUsed ? info.biClrUsed : most;
        }
        else
        {
            colours = info.biClrUsed;
        }
        if (compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER))
            masks = 3 * sizeof(DWORD);
    }

    const int64_t rows = height < 0 ? -height : height;
    if (!ValidSide(width) || !ValidSide(rows) || planes != 1 || colours > 256)
        return false;
    switch (bitCount)
    {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }

    if (compression == BI_RGB || compression == BI_BITFIELDS)
    {
        if (compression == BI_BITFIELDS && bitCount != 16 && bitCount != 32)
            return false;
        const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
        bitsSize = stride * static_cast<uint64_t>(rows);
    }
    else if ((compression == BI_RLE8 && bitCount == 8) || (compression == BI_RLE4 && bitCount == 4))
    {
        // Run-length data says how long it is only through the header.
        if (imageSize == 0 || height < 0)
            return false;
        bitsSize = imageSize;
    }
    else
    {
        return false;
    }

    const uint64_t offset = headerSize + colours * entrySize + masks;
    if (offset > size || bitsSize > size - offset)
        return false;
    bitsOffset = static_cast<SIZE_T>(offset);
    return true;
}

int ClampFrame(double value)
{
    if (value > kMaxFrameCoordinate)
        return static_cast<int>(kMaxFrameCoordinate);
    if (value < -kMaxFrameCoordinate)
        return -static_cast<int>(kMaxFrameCoordinate);
    return static_cast<int>(value);
}

// The file list must end inside its block with an empty name.
bool FileListTerminated(const BYTE* data, SIZE_T size)
{
    DROPFILES header;
    if (size < sizeof(header))
        return false;
    std::memcpy(&header, data, sizeof(header));
    if (header.pFiles < sizeof(header) || header.pFiles >= size)
        return false;
    const SIZE_T unit = header.fWide ? sizeof(wchar_t) : sizeof(char);
    bool previousZero = false;
    bool first = true;
    for (SIZE_T at = header.pFiles; at + unit <= size; at += unit)
    {
        bool zero = true;
        for (SIZE_T b = 0; b < unit; ++b)
            zero = zero && data[at + b] == 0;
        // Two terminators in a row, or an empty first name, end the list.
        if (zero && (previousZero || first))
            return true;
        previousZero = zero;
        first = false;
    }
    return false;
}

} // namespace

HBITMAP FromPackedDib(const void* data, SIZE_T size)
{
    if (!data)
        return nullptr;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    SIZE_T bitsOffset = 0;
    uint64_t bitsSize = 0;
    if (!MeasureDib(bytes, size, bitsOffset, bitsSize))
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(bytes), CBM_INIT,
                                      bytes + bitsOffset, reinterpret_cast<const BITMAPINFO*>(bytes),
                                      DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

HBITMAP FromEnhMetaFile(HENHMETAFILE metafile, HWND window)
{
    if (!metafile)
        return nullptr;
    ENHMETAHEADER header = {};
    if (!::GetEnhMetaFileHeader(metafile, sizeof(header), &header))
        return nullptr;
    const int64_t width = header.rclBounds.right;
    const int64_t height = header.rclBounds.bottom;
    if (width <= 0 || height <= 0)
        return nullptr;

    HWND device = (window && ::IsWindow(window)) ? window : nullptr;
    HDC dc = ::GetDC(device);
    const int horzRes = ::GetDeviceCaps(dc, HORZRES);
    const int vertRes = ::GetDeviceCaps(dc, VERTRES);
    const int horzSize = ::GetDeviceCaps(dc, HORZSIZE);
    const int vertSize = ::GetDeviceCaps(dc, VERTSIZE);
    HBITMAP bitmap = nullptr;
    // A device that reports no physical size gives no scale for the frame.
    if (horzRes > 0 && vertRes > 0 && horzSize > 0 && vertSize > 0)
    {
        const double scaleX = horzRes / (horzSize * kFrameUnitsPerMm);
        const double scaleY = vertRes / (vertSize * kFrameUnitsPerMm);
        const RECT frame = {ClampFrame(header.rclFrame.left * scaleX), ClampFrame(header.rclFrame.top * scaleY),
                            ClampFrame(header.rclFrame.right * scaleX), ClampFrame(header.rclFrame.bottom * scaleY)};
        const int cx = static_cast<int>(width < kMaxSide ? width : kMaxSide);
        const int cy = static_cast<int>(height < kMaxSide ? height : kMaxSide);
        HDC memory = ::CreateCompatibleDC(dc);
        bitmap = ::CreateCompatibleBitmap(dc, cx, cy);
        if (memory && bitmap)
        {
            HGDIOBJ previous = ::SelectObject(memory, bitmap);
            ::PlayEnhMetaFile(memory, metafile, &frame);
            ::SelectObject(memory, previous);
        }
        if (memory)
            ::DeleteDC(memory);
    }
    ::ReleaseDC(device, dc);
    return bitmap;
}

HBITMAP FromFileDrop(HGLOBAL files)
{
    wchar_t path[kMaxDropPath] = {};
    {
        LockedGlobal block(files);
        if (!block.Data() || !FileListTerminated(block.Data(), block.Size()))
            return nullptr;
    }
    HDROP drop = static_cast<HDROP>(files);
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0)
        return nullptr;
    // A longer name would come back cut short, and the shorter name may be
    // another file.
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0 || length >= kMaxDropPath)
        return nullptr;
    if (::DragQueryFileW(drop, 0, path, kMaxDropPath) == 0)
        return nullptr;
    return static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

HBITMAP FromMedium(const FORMATETC& format, const STGMEDIUM& medium, HWND window)
{
    if (format.cfFormat == CF_DIB && medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
    {
        LockedGlobal block(medium.hGlobal);
        return FromPackedDib(block.Data(), block.Size());
    }
    if (format.cfFormat == CF_BITMAP && medium.tymed == TYMED_GDI && medium.hBitmap)
        return static_cast<HBITMAP>(::OleDuplicateData(medium.hBitmap, CF_BITMAP, 0));
    if (format.cfFormat == CF_ENHMETAFILE && medium.tymed == TYMED_ENHMF)
        return FromEnhMetaFile(medium.hEnhMetaFile, window);
    if (format.cfFormat == CF_HDROP && medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        return FromFileDrop(medium.hGlobal);
    return nullptr;
}

} // namespace DropImage
} // namespace VREL
