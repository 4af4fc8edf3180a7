#pragma once

// What the peripheral widgets share inside the library: images they own
// (loaded from a full path, with their natural size) and the GDI+ set-up of
// a memory surface. Not exported.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"

namespace VREL {

struct PeripheralImage
{
    std::unique_ptr<Gdiplus::Image> image;
    int width = 0;
    int height = 0;
};

// The image at path, or none (size 0) when it does not load.
PeripheralImage LoadOwnedImage(const CString& path);
// The same, tried only when the file exists.
PeripheralImage LoadExistingImage(const CString& path);
// A copy at its natural size (a thumbnail of the same size), or none.
PeripheralImage LoadImageCopy(const CString& path);

// Text rendering hint and high-quality smoothing of a control's drawing.
void PrepareGraphics(Gdiplus::Graphics& graphics, Gdiplus::TextRenderingHint hint);

} // namespace VREL
