#pragma once

// Pictures out of dropped data. The data may come from another process, so
// every size it states is checked against the memory it arrived in, and the
// pictures made from it are kept to a sane size. Each function returns a new
// bitmap that the caller owns, or null when the data holds no usable picture.

#include <windows.h>
#include <ole2.h>

namespace VREL {
namespace DropImage {

// The largest width or height of a picture made from dropped data.
constexpr int kMaxSide = 4096;

// A packed device-independent bitmap: header, colour table, bits.
HBITMAP FromPackedDib(const void* data, SIZE_T size);
// An enhanced metafile played into its frame, measured on window's device.
HBITMAP FromEnhMetaFile(HENHMETAFILE metafile, HWND window);
// The first file of a file list, when it is a bitmap file whose name is
// shorter than 520 characters.
HBITMAP FromFileDrop(HGLOBAL files);
// The picture in a medium of the four formats a library window accepts
// (CF_BITMAP, CF_DIB, CF_HDROP, CF_ENHMETAFILE); the medium stays untouched.
HBITMAP FromMedium(const FORMATETC& format, const STGMEDIUM& medium, HWND window);

} // namespace DropImage
} // namespace VREL
