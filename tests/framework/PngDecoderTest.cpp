#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <lodepng.h>

#include "tests/framework/TestTheme.h"
#include "tests/support/TempFolder.h"
#include "ui/framework/PngDecoder.h"
#include "ui/framework/Render.h"

namespace {

using VREL::MRender;
using VREL::PngDecoder;
using Bytes = std::vector<uint8_t>;

// Odd sizes, so that 24-bit rows need padding, and every channel different,
// so that swapped channels show.
constexpr unsigned kWidth = 7;
constexpr unsigned kHeight = 5;
constexpr size_t kHeaderEnd = 8 + 12 + 13;  // signature and IHDR chunk
constexpr UINT kLibraryScrollImages[] = {101, 102};

// Alpha runs through 0, 255 and values between; colour under transparent
// pixels is kept too, since the decoders must not drop it.
Bytes SourcePixels()
{
    Bytes rgba;
    for (unsigned y = 0; y < kHeight; ++y)
    {
        for (unsigned x = 0; x < kWidth; ++x)
        {
            const unsigned i = y * kWidth + x;
            rgba.push_back(static_cast<uint8_t>(37 * x + 11 * y));
            rgba.push_back(static_cast<uint8_t>(53 * y + 5));
            rgba.push_back(static_cast<uint8_t>(200 - 17 * x));
            rgba.push_back(i % 5 == 0 ? 0 : i % 5 == 1 ? 255 : static_cast<uint8_t>(i * 29));
        }
    }
    return rgba;
}

// Four colours, so that a palette file can hold them.
Bytes PalettePixels()
{
    constexpr uint8_t kColours[4][4] = {{255, 0, 0, 255}, {0, 128, 255, 255}, {10, 20, 30, 0}, {200, 200, 0, 90}};
    Bytes rgba;
    for (unsigned i = 0; i < kWidth * kHeight; ++i)
        rgba.insert(rgba.end(), kColours[i % 4], kColours[i % 4] + 4);
    return rgba;
}

Bytes Encode(LodePNGColorType type, unsigned depth, bool interlaced = false)
{
    lodepng::State state;
    state.encoder.auto_convert = 0;
    state.info_png.color.colortype = type;
    state.info_png.color.bitdepth = depth;
    state.info_png.interlace_method = interlaced ? 1 : 0;
    Bytes rgba = SourcePixels();
    if (type == LCT_PALETTE)
    {
        rgba = PalettePixels();
        for (unsigned i = 0; i < 4; ++i)
        {
            const uint8_t* c = &rgba[i * 4];
            lodepng_palette_add(&state.info_png.color, c[0], c[1], c[2], c[3]);
        }
    }
    Bytes png;
    const unsigned error = lodepng::encode(png, rgba, kWidth, kHeight, state);
    EXPECT_EQ(error, 0u) << lodepng_error_text(error);
    return png;
}

// The file with one more chunk right after its header.
Bytes WithChunk(Bytes png, const char* type, const Bytes& data)
{
    Bytes chunk(12 + data.size());
    const uint32_t length = static_cast<uint32_t>(data.size());
    chunk[0] = static_cast<uint8_t>(length >> 24);
    chunk[1] = static_cast<uint8_t>(length >> 16);
    chunk[2] = static_cast<uint8_t>(length >> 8);
    chunk[3] = static_cast<uint8_t>(length);
    std::copy(type, type + 4, chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    lodepng_chunk_generate_crc(chunk.data());
    png.insert(png.begin() + kHeaderEnd, chunk.begin(), chunk.end());
    return png;
}

Bytes Truncated(Bytes png, size_t size)
{
    png.resize(size);
    return png;
}

Bytes WithByteFlipped(Bytes png, size_t offset)
{
    png[offset] ^= 0x5A;
    return png;
}

struct Fixture
{
    const char* name;
    Bytes bytes;
    bool decodedHere;  // false: left to GDI+
};

std::vector<Fixture> Fixtures()
{
    const Bytes rgba = Encode(LCT_RGBA, 8);
    const Bytes rgb = Encode(LCT_RGB, 8);
    const Bytes pngSignature(rgba.begin(), rgba.begin() + 8);
    Bytes garbageAfterSignature = pngSignature;
    garbageAfterSignature.insert(garbageAfterSignature.end(), 64, 0xA7);
    const std::string text = "not a picture at all, only some words";
    return {
        {"rgba", rgba, true},
        {"rgb", rgb, true},
        {"rgba interlaced", Encode(LCT_RGBA, 8, true), true},
        {"palette", Encode(LCT_PALETTE, 8), false},
        {"rgba 16-bit", Encode(LCT_RGBA, 16), false},
        {"grey", Encode(LCT_GREY, 8), false},
        {"grey with alpha", Encode(LCT_GREY_ALPHA, 8), false},
        {"gAMA", WithChunk(rgba, "gAMA", {0, 0, 0xB1, 0x8F}), false},
        {"sRGB", WithChunk(rgba, "sRGB", {0}), false},
        {"pHYs", WithChunk(rgb, "pHYs", {0, 0, 0x0E, 0xC4, 0, 0, 0x0E, 0xC4, 1}), false},
        {"colour key on rgb", WithChunk(rgb, "tRNS", {0, 37, 0, 5, 0, 200}), false},
        {"text", WithChunk(rgba, "tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}), false},
        {"truncated in the image data", Truncated(rgba, rgba.size() / 2), false},
        {"without end chunk", Truncated(rgba, rgba.size() - 12), false},
        {"damaged image data", WithByteFlipped(rgba, kHeaderEnd + 8 + 3), false},
        {"damaged header", WithByteFlipped(rgba, 8 + 8 + 1), false},
        {"signature only", pngSignature, false},
        {"garbage after the signature", garbageAfterSignature, false},
        {"garbage", Bytes(text.begin(), text.end()), false},
    };
}

// GDI+'s own decoding of bytes; the stream lives as long as the bitmap.
class GdiplusDecoded
{
public:
    explicit GdiplusDecoded(const Bytes& bytes)
        : m_stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())))
    {
        if (m_stream)
            m_bitmap.reset(Gdiplus::Bitmap::FromStream(m_stream));
        if (m_bitmap && m_bitmap->GetLastStatus() != Gdiplus::Ok)
            m_bitmap.reset();
    }
    ~GdiplusDecoded()
    {
        m_bitmap.reset();
        if (m_stream)
            m_stream->Release();
    }
    GdiplusDecoded(const GdiplusDecoded&) = delete;
    GdiplusDecoded& operator=(const GdiplusDecoded&) = delete;
    Gdiplus::Bitmap* Get() const { return m_bitmap.get(); }

private:
    IStream* m_stream;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
};

Bytes ReadResource(HMODULE module, UINT id)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    return bytes ? Bytes(bytes, bytes + SizeofResource(module, resource)) : Bytes();
}

// Every row compared in the bitmaps' own pixel format, padding left out.
void ExpectSameImage(Gdiplus::Image* actual, Gdiplus::Bitmap* expected)
{
    ASSERT_TRUE(actual);
    ASSERT_TRUE(expected);
    const Gdiplus::PixelFormat format = expected->GetPixelFormat();
    ASSERT_EQ(actual->GetPixelFormat(), format);
    ASSERT_EQ(actual->GetWidth(), expected->GetWidth());
    ASSERT_EQ(actual->GetHeight(), expected->GetHeight());
    EXPECT_FLOAT_EQ(actual->GetHorizontalResolution(), expected->GetHorizontalResolution());
    EXPECT_FLOAT_EQ(actual->GetVerticalResolution(), expected->GetVerticalResolution());
    auto* actualBitmap = static_cast<Gdiplus::Bitmap*>(actual);
    Gdiplus::Rect all(0, 0, static_cast<INT>(expected->GetWidth()), static_cast<INT>(expected->GetHeight()));
    Gdiplus::BitmapData a = {};
    Gdiplus::BitmapData e = {};
    ASSERT_EQ(actualBitmap->LockBits(&all, Gdiplus::ImageLockModeRead, format, &a), Gdiplus::Ok);
    ASSERT_EQ(expected->LockBits(&all, Gdiplus::ImageLockModeRead, format, &e), Gdiplus::Ok);
    const size_t rowBytes = static_cast<size_t>(e.Width) * Gdiplus::GetPixelFormatSize(format) / 8;
    int differingRows = 0;
    for (UINT y = 0; y < e.Height; ++y)
    {
        const auto* rowA = static_cast<const uint8_t*>(a.Scan0) + static_cast<ptrdiff_t>(y) * a.Stride;
        const auto* rowE = static_cast<const uint8_t*>(e.Scan0) + static_cast<ptrdiff_t>(y) * e.Stride;
        if (!std::equal(rowA, rowA + rowBytes, rowE))
            ++differingRows;
    }
    EXPECT_EQ(differingRows, 0);
    actualBitmap->UnlockBits(&a);
    expected->UnlockBits(&e);
}

TEST(PngDecoder, DecodesPlainRgbaAndRgbExactlyAsGdiplusAndLeavesTheRestToIt)
{
    for (const Fixture& f : Fixtures())
    {
        SCOPED_TRACE(f.name);
        std::unique_ptr<Gdiplus::Bitmap> decoded(PngDecoder::Decode(f.bytes.data(), f.bytes.size()));
        ASSERT_EQ(decoded != nullptr, f.decodedHere);
        if (!decoded)
            continue;
        GdiplusDecoded reference(f.bytes);
        ExpectSameImage(decoded.get(), reference.Get());
    }
    EXPECT_EQ(PngDecoder::Decode(nullptr, 0), nullptr);
}

// Through the file loader: the plain files come out as bitmaps made here,
// every other file as GDI+ gives it, or not at all when GDI+ refuses it.
TEST(PngDecoder, FileLoaderTakesPlainPngsAndGivesEveryOtherFileToGdiplus)
{
    testsupport::TempFolder folder(L"png-decoder");
    int index = 0;
    for (const Fixture& f : Fixtures())
    {
        SCOPED_TRACE(f.name);
        const std::wstring path = folder.Path() + L"fixture" + std::to_wstring(++index) + L".png";
        FILE* out = _wfopen(path.c_str(), L"wb");
        ASSERT_TRUE(out);
        fwrite(f.bytes.data(), 1, f.bytes.size(), out);
        fclose(out);

        std::unique_ptr<Gdiplus::Image> loaded(MRender::LoadImageFromFile(path.c_str()));
        std::unique_ptr<Gdiplus::Bitmap> reference(Gdiplus::Bitmap::FromFile(path.c_str()));
        if (reference && reference->GetLastStatus() != Gdiplus::Ok)
            reference.reset();
        ASSERT_EQ(loaded != nullptr, reference != nullptr);
        if (!loaded)
            continue;
        GUID loadedFormat = {};
        GUID referenceFormat = {};
        loaded->GetRawFormat(&loadedFormat);
        reference->GetRawFormat(&referenceFormat);
        EXPECT_EQ(loadedFormat == Gdiplus::ImageFormatMemoryBMP, f.decodedHere);
        if (!f.decodedHere)
        {
            EXPECT_TRUE(loadedFormat == referenceFormat);
        }
        ExpectSameImage(loaded.get(), reference.get());
    }
}

// The files the program really loads: generated skin images and the
// library's own scroll-bar images.
TEST(PngDecoder, SkinFilesAndLibraryImagesLoadAsGdiplusDecodesThem)
{
    for (const wchar_t* name : {TestTheme::kStrip4, TestTheme::kGrid})
    {
        SCOPED_TRACE(testing::Message() << name);
        std::unique_ptr<Gdiplus::Image> loaded(MRender::LoadImageFromFile(TestTheme::Path(name)));
        std::unique_ptr<Gdiplus::Bitmap> reference(Gdiplus::Bitmap::FromFile(TestTheme::Path(name)));
        GUID format = {};
        ASSERT_TRUE(loaded);
        loaded->GetRawFormat(&format);
        EXPECT_TRUE(format == Gdiplus::ImageFormatMemoryBMP);
        ExpectSameImage(loaded.get(), reference.get());
    }
    HMODULE library = GetModuleHandleW(L"vrel.dll");
    ASSERT_NE(library, nullptr);
    for (UINT id : kLibraryScrollImages)
    {
        SCOPED_TRACE(id);
        std::unique_ptr<Gdiplus::Image> loaded(MRender::LoadImageFromIDResource(id, L"PNG", library));
        GdiplusDecoded reference(ReadResource(library, id));
        GUID format = {};
        ASSERT_TRUE(loaded);
        loaded->GetRawFormat(&format);
        EXPECT_TRUE(format == Gdiplus::ImageFormatMemoryBMP);
        ExpectSameImage(loaded.get(), reference.Get());
    }
}

} // namespace
