#pragma once

// One image of a paint manager's image cache: a skin file or a resource,
// holding frame count frames of equal width side by side. The cache owns the
// image; controls keep the pointer until the cache is cleared.

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/CString.h"

namespace VREL {

struct ImgResInfo
{
    Gdiplus::Image* image = nullptr;
    int frameWidth = 0;
    int frameHeight = 0;
    int frameCount = 1;
    // File name relative to the skin folder; empty for resource images.
    CString name;
    // Resource id; 0 for file images.
    UINT resourceId = 0;
};

} // namespace VREL
