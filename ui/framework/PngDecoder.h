#pragma once

// Decodes the plain PNG files the skins are made of straight into a GDI+
// bitmap, which is several times quicker than handing them to GDI+'s codecs.
// Only files whose pixels every decoder reads alike are taken: 8-bit RGBA or
// RGB without any chunk besides the image data, so no colour space, gamma,
// resolution or transparency key that a codec might apply in its own way.
// The bitmap has the pixel format GDI+'s own decoder gives such a file
// (32bppARGB for RGBA, 24bppRGB for RGB). Anything else, damaged files
// included, gets nullptr, and the caller lets GDI+ decode it as before.

#include <windows.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>

#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API PngDecoder
{
public:
    PngDecoder() = delete;

    // True when the bytes start with the PNG signature.
    static bool IsPng(const uint8_t* bytes, size_t size);
    // The caller owns the bitmap; nullptr when the bytes are not a plain
    // 8-bit RGBA or RGB PNG or do not decode in full.
    static Gdiplus::Bitmap* Decode(const uint8_t* bytes, size_t size);
};

} // namespace VREL
