#include "ui/framework/PngDecoder.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include <lodepng.h>

namespace VREL {

namespace {

constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kSignatureSize = sizeof(kSignature);
// Length, type and CRC around every chunk's data.
constexpr size_t kLengthSize = 4;
constexpr size_t kTypeSize = 4;
constexpr size_t kCrcSize = 4;
constexpr size_t kChunkFrameSize = kLengthSize + kTypeSize + kCrcSize;
constexpr uint32_t kHeaderDataSize = 13;
constexpr uint8_t kBitDepth8 = 8;
constexpr uint8_t kColorTypeRgb = 2;
constexpr uint8_t kColorTypeRgba = 6;
constexpr uint8_t kInterlaceAdam7 = 1;
// Beyond this the decoded copy next to the bitmap costs more memory than
// the time saved is worth; GDI+ takes such files.
constexpr uint64_t kMaxPixels = 1u << 26;

uint32_t ReadBigEndian(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

bool IsType(const uint8_t* chunk, const char (&type)[5])
{
    return std::memcmp(chunk + kLengthSize, type, kTypeSize) == 0;
}

struct PlainHeader
{
    uint8_t colorType = 0;  // 0: not a plain PNG
    uint32_t width = 0;
    uint32_t height = 0;
};

// The header of a plain PNG: it must ask for 8-bit RGBA or RGB, and only
// image data may follow it up to the end chunk. The chunks' checksums and
// the data itself are checked by decoding.
PlainHeader ReadPlainHeader(const uint8_t* bytes, size_t size)
{
    const PlainHeader none;
    if (!PngDecoder::IsPng(bytes, size))
        return none;
    size_t offset = kSignatureSize;
    PlainHeader header;
    bool first = true;
    while (size - offset >= kChunkFrameSize)
    {
        const uint8_t* chunk = bytes + offset;
        const uint32_t length = ReadBigEndian(chunk);
        if (length > size - offset - kChunkFrameSize)
            return none;
        const uint8_t* data = chunk + kLengthSize + kTypeSize;
        if (first)
        {
            if (!IsType(chunk, "IHDR") || length != kHeaderDataSize)
                return none;
            header.width = ReadBigEndian(data);
            header.height = ReadBigEndian(data + 4);
            const uint8_t depth = data[8];
            header.colorType = data[9];
            const uint8_t compression = data[10];
            const uint8_t filter = data[11];
            const uint8_t interlace = data[12];
            if (depth != kBitDepth8 || (header.colorType != kColorTypeRgb && header.colorType != kColorTypeRgba) ||
                compression != 0 || filter != 0 || interlace > kInterlaceAdam7 || header.width == 0 ||
                header.height == 0 || static_cast<uint64_t>(header.width) * header.height > kMaxPixels)
                return none;
            first = false;
        }
        else if (IsType(chunk, "IEND"))
        {
            return header;
        }
        else if (!IsType(chunk, "IDAT"))
        {
            return none;
        }
        offset += kChunkFrameSize + length;
    }
    return none;
}

// The decoder allocates with the C library.
struct FreeDeleter
{
    void operator()(unsigned char* p) const { std::free(p); }
};

// Rows of packed RGBA or RGB into the bitmap's BGRA or BGR rows.
void CopySwappingRedAndBlue(const unsigned char* source, const Gdiplus::BitmapData& target, unsigned channels)
{
    const size_t rowBytes = static_cast<size_t>(target.Width) * channels;
    for (UINT y = 0; y < target.Height; ++y)
    {
        const unsigned char* from = source + y * rowBytes;
        auto* to = static_cast<unsigned char*>(target.Scan0) + static_cast<ptrdiff_t>(y) * target.Stride;
        for (size_t x = 0; x < rowBytes; x += channels)
        {
            to[x] = from[x + 2];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x];
            if (channels == 4)
                to[x + 3] = from[x + 3];
        }
    }
}

} // namespace

bool PngDecoder::IsPng(const uint8_t* bytes, size_t size)
{
    return bytes && size >= kSignatureSize && std::memcmp(bytes, kSignature, kSignatureSize) == 0;
}

Gdiplus::Bitmap* PngDecoder::Decode(const uint8_t* bytes, size_t size)
{
    const PlainHeader header = ReadPlainHeader(bytes, size);
    if (header.colorType == 0)
        return nullptr;
    const bool rgba = header.colorType == kColorTypeRgba;
    unsigned char* decoded = nullptr;
    unsigned width = 0;
    unsigned height = 0;
    const unsigned error =
        lodepng_decode_memory(&decoded, &width, &height, bytes, size, rgba ? LCT_RGBA : LCT_RGB, kBitDepth8);
    std::unique_ptr<unsigned char, FreeDeleter> pixels(decoded);
    if (error != 0 || !pixels || width != header.width || height != header.height)
        return nullptr;

    const Gdiplus::PixelFormat format = rgba ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(
        new Gdiplus::Bitmap(static_cast<INT>(width), static_cast<INT>(height), format));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data = {};
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, format, &data) != Gdiplus::Ok)
        return nullptr;
    CopySwappingRedAndBlue(pixels.get(), data, rgba ? 4 : 3);
    if (bitmap->UnlockBits(&data) != Gdiplus::Ok)
        return nullptr;
    return bitmap.release();
}

} // namespace VREL
