#pragma once

// What each key of the lit keyboard picture covers - its body, its rim and
// its name - measured once per layout as coverage tiles, so that a picture
// whose colours change many times a second is blended from the tiles
// instead of rasterised again. Rounded shapes and anti-aliased names cost a
// path and a glyph rasteriser per key; a blend costs a few multiplications
// a pixel.
//
// A tile is measured by drawing its part in white on opaque black with the
// picture's own GDI+ settings: each channel then holds the coverage the
// rasteriser gave that part, and blending a colour through it is what the
// rasteriser does when it draws the part in that colour. Names keep a
// coverage per channel, so sub-pixel text blends as it was measured.
// Internal to vrel.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/framework/Geometry.h"

namespace VREL {

class LitKeyTiles
{
public:
    // The parts of a key, in the order they are drawn.
    enum Part
    {
        PART_BODY,
        PART_RIM,
        PART_NAME,
    };
    static constexpr int kPartCount = 3;

    // Draws one part of one key in white, in surface coordinates.
    using PartPainter = std::function<void(Gdiplus::Graphics& graphics, size_t key, Part part)>;

    // The colours of one key in one frame; the name is always white.
    struct Look
    {
        Gdiplus::ARGB body;
        Gdiplus::ARGB rim;
    };

    // Measures the parts of each key within its area (surface coordinates;
    // what lies outside the surface is left out). false, with no tiles,
    // when no scratch surface could be made.
    bool Build(const std::vector<CRect>& areas, CSize surface, Gdiplus::TextRenderingHint hint,
               const PartPainter& paint);
    void Clear() { m_tiles.clear(); }
    size_t Count() const { return m_tiles.size(); }

    // Blends every key in its look onto 32-bit pixels with bottom-up rows
    // (memory row 0 is the bottom line), keys in order and parts in order;
    // looks past the last key are ignored, keys past the last look are not
    // drawn.
    void Compose(uint32_t* pixels, int width, int height, const std::vector<Look>& looks) const;

private:
    struct Tile
    {
        CRect area;
        // Coverage, row by row from the top: one byte a pixel for the body
        // and the rim, three (blue, green, red) for the name; empty when the
        // part covers nothing.
        std::vector<uint8_t> body;
        std::vector<uint8_t> rim;
        std::vector<uint8_t> name;
    };

    std::vector<Tile> m_tiles;
};

} // namespace VREL
