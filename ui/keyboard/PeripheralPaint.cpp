#include "ui/keyboard/PeripheralPaint.h"

#include "ui/framework/Render.h"

namespace VREL {

namespace {

PeripheralImage Take(Gdiplus::Image* loaded)
{
    PeripheralImage result;
    result.image.reset(loaded);
    if (loaded)
    {
        result.width = static_cast<int>(loaded->GetWidth());
        result.height = static_cast<int>(loaded->GetHeight());
    }
    return result;
}

bool FileExists(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

PeripheralImage LoadOwnedImage(const CString& path) { return Take(MRender::LoadImageFromFile(path)); }

PeripheralImage LoadExistingImage(const CString& path)
{
    if (!FileExists(path))
        return PeripheralImage();
    return LoadOwnedImage(path);
}

PeripheralImage LoadImageCopy(const CString& path) { return Take(MRender::LoadImageFromFileEx(path, 0, 0)); }

void PrepareGraphics(Gdiplus::Graphics& graphics, Gdiplus::TextRenderingHint hint)
{
    graphics.SetTextRenderingHint(hint);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
}

} // namespace VREL
