#include "ui/keyboard/LitKeyTiles.h"

#include <algorithm>

#include "ui/framework/LayeredCanvas.h"

namespace VREL {

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// x / 255, rounded, for x up to 255 * 255.
inline uint32_t Div255(uint32_t x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

inline uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// Source-over of an opaque colour with per-channel coverage (blue, green,
// red); the alpha takes the largest coverage.
inline uint32_t BlendRgb(uint32_t dst, uint32_t rgb, uint32_t coverB, uint32_t coverG, uint32_t coverR)
{
    const uint32_t b = Div255(Channel(rgb, 0) * coverB + Channel(dst, 0) * (255 - coverB));
    const uint32_t g = Div255(Channel(rgb, 8) * coverG + Channel(dst, 8) * (255 - coverG));
    const uint32_t r = Div255(Channel(rgb, 16) * coverR + Channel(dst, 16) * (255 - coverR));
    const uint32_t cover = std::max(coverB, std::max(coverG, coverR));
    const uint32_t da = Channel(dst, 24);
    const uint32_t a = da + Div255((255 - da) * cover);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Reads one part's coverage out of the scratch surface; empty when the
// part covered nothing.
std::vector<uint8_t> ReadCoverage(const LayeredCanvas& canvas, const CRect& area, bool perChannel)
{
    const int w = area.Width();
    const int h = area.Height();
    const size_t bytesPerPixel = perChannel ? 3 : 1;
    std::vector<uint8_t> coverage(static_cast<size_t>(w) * h * bytesPerPixel);
    bool covered = false;
    uint8_t* out = coverage.data();
    for (int y = area.top; y < area.bottom; ++y)
    {
        const uint32_t* row = canvas.Pixels() + static_cast<size_t>(canvas.Height() - 1 - y) * canvas.Width();
        for (int x = area.left; x < area.right; ++x)
        {
            const uint32_t pixel = row[x];
            if (perChannel)
            {
                *out++ = static_cast<uint8_t>(Channel(pixel, 0));
                *out++ = static_cast<uint8_t>(Channel(pixel, 8));
                *out++ = static_cast<uint8_t>(Channel(pixel, 16));
            }
            else
            {
                // Shapes in white cover every channel alike; green stands for them.
                *out++ = static_cast<uint8_t>(Channel(pixel, 8));
            }
            covered = covered || (pixel & 0xFFFFFFu) != 0;
        }
    }
    if (!covered)
        coverage.clear();
    return coverage;
}

void FillArea(LayeredCanvas& canvas, const CRect& area, uint32_t value)
{
    for (int y = area.top; y < area.bottom; ++y)
    {
        uint32_t* row = canvas.Pixels() + static_cast<size_t>(canvas.Height() - 1 - y) * canvas.Width();
        std::fill(row + area.left, row + area.right, value);
    }
}

} // namespace

bool LitKeyTiles::Build(const std::vector<CRect>& areas, CSize surface, Gdiplus::TextRenderingHint hint,
                        const PartPainter& paint)
{
    m_tiles.clear();
    // The scratch surface has the picture's size: every part is drawn where
    // the picture draws it, so the rasteriser meets the same pixel grid.
    LayeredCanvas canvas(surface.cx, surface.cy);
    if (!canvas.IsValid())
        return false;
    const CRect bounds(0, 0, surface.cx, surface.cy);
    m_tiles.reserve(areas.size());
    for (size_t key = 0; key < areas.size(); ++key)
    {
        Tile tile;
        tile.area.IntersectRect(areas[key], bounds);
        if (!tile.area.IsRectEmpty())
        {
            for (int part = 0; part < kPartCount; ++part)
            {
                ::GdiFlush();
                FillArea(canvas, tile.area, kOpaqueBlack);
                {
                    Gdiplus::Graphics graphics(canvas.Dc());
                    graphics.SetTextRenderingHint(hint);
                    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
                    // Nothing a key draws past its area may reach a later key's.
                    graphics.SetClip(Gdiplus::Rect(tile.area.left, tile.area.top, tile.area.Width(),
                                                   tile.area.Height()));
                    paint(graphics, key, static_cast<Part>(part));
                }
                ::GdiFlush();
                std::vector<uint8_t> coverage = ReadCoverage(canvas, tile.area, part == PART_NAME);
                switch (part)
                {
                case PART_BODY: tile.body.swap(coverage); break;
                case PART_RIM: tile.rim.swap(coverage); break;
                default: tile.name.swap(coverage); break;
                }
            }
        }
        m_tiles.push_back(std::move(tile));
    }
    return true;
}

void LitKeyTiles::Compose(uint32_t* pixels, int width, int height, const std::vector<Look>& looks) const
{
    const CRect bounds(0, 0, width, height);
    const size_t count = std::min(m_tiles.size(), looks.size());
    for (size_t key = 0; key < count; ++key)
    {
        const Tile& tile = m_tiles[key];
        CRect area;
        if (!area.IntersectRect(tile.area, bounds))
            continue;
        const Gdiplus::ARGB body = looks[key].body;
        const Gdiplus::ARGB rim = looks[key].rim;
        const uint32_t bodyAlpha = Channel(body, 24);
        const uint32_t rimAlpha = Channel(rim, 24);
        const int tileWidth = tile.area.Width();
        for (int y = area.top; y < area.bottom; ++y)
        {
            uint32_t* row = pixels + static_cast<size_t>(height - 1 - y) * width;
            const size_t first = static_cast<size_t>(y - tile.area.top) * tileWidth + (area.left - tile.area.left);
            for (int x = area.left; x < area.right; ++x)
            {
                const size_t i = first + static_cast<size_t>(x - area.left);
                uint32_t pixel = row[x];
                if (!tile.body.empty() && tile.body[i] != 0)
                {
                    const uint32_t cover = Div255(tile.body[i] * bodyAlpha);
                    pixel = BlendRgb(pixel, body, cover, cover, cover);
                }
                if (!tile.rim.empty() && tile.rim[i] != 0)
                {
                    const uint32_t cover = Div255(tile.rim[i] * rimAlpha);
                    pixel = BlendRgb(pixel, rim, cover, cover, cover);
                }
                if (!tile.name.empty())
                {
                    const uint8_t* t = &tile.name[i * 3];
                    if (t[0] | t[1] | t[2])
                        pixel = BlendRgb(pixel, 0xFFFFFFu, t[0], t[1], t[2]);
                }
                row[x] = pixel;
            }
        }
    }
}

} // namespace VREL
