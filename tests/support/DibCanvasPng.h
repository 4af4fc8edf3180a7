#pragma once

// Writes a painting test's canvas as an opaque PNG, for the pictures people
// look at. Tests that include it link lodepng.

#include <lodepng.h>

#include <string>
#include <vector>

#include "tests/support/DibCanvas.h"

// lodepng's error code: 0 when the file was written.
inline unsigned WriteCanvasPng(DibCanvas& canvas, const std::string& path)
{
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<size_t>(canvas.Width()) * static_cast<size_t>(canvas.Height()) * 4);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
        {
            const uint32_t p = canvas.Pixel(x, y);
            rgba.push_back(static_cast<unsigned char>(p >> 16));
            rgba.push_back(static_cast<unsigned char>(p >> 8));
            rgba.push_back(static_cast<unsigned char>(p));
            rgba.push_back(0xFF);
        }
    return lodepng::encode(path, rgba, static_cast<unsigned>(canvas.Width()), static_cast<unsigned>(canvas.Height()));
}
