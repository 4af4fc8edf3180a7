// The key grid laid over the spectrum image.

#include <gtest/gtest.h>

#include <vector>

#include "app/window/MusicGrid.h"

namespace {

using namespace tarnwell;

TEST(MusicGrid, RowsAndColumnsSampleTheirImagePlaces)
{
    const struct
    {
        int rows, columns;
        std::vector<int> imageRows;     // of grid rows 0, 1, ...
        std::vector<int> imageColumns;  // of grid columns 0, 1, 2 and the last
    } cases[] = {
        {6, 22, {7, 17, 27, 37, 47, 57}, {0, 11, 22, 231}},
        {1, 1, {33}, {0, 0, 0, 0}},
        {8, 32, {5, 12, 19, 26, 33, 40, 47, 54}, {0, 7, 14, 217}},
        // More than the grid holds: held to 8 rows and 32 columns.
        {12, 40, {5, 12, 19, 26, 33, 40, 47, 54}, {0, 7, 14, 217}},
    };
    const uint8_t cells[MusicGrid::MAX_ROWS][MusicGrid::MAX_COLUMNS] = {};
    for (const auto& c : cases) {
        MusicGrid grid;
        grid.SetCells(c.rows, c.columns, cells);
        grid.Build();
        for (size_t r = 0; r < c.imageRows.size(); ++r)
            EXPECT_EQ(grid.ImageRow(static_cast<int>(r)), c.imageRows[r]) << c.rows << " rows, row " << r;
        EXPECT_EQ(grid.ImageColumn(0), c.imageColumns[0]);
        EXPECT_EQ(grid.ImageColumn(1), c.imageColumns[1]) << c.columns << " columns";
        EXPECT_EQ(grid.ImageColumn(2), c.imageColumns[2]) << c.columns << " columns";
        EXPECT_EQ(grid.ImageColumn(grid.Columns() - 1), c.imageColumns[3]) << c.columns << " columns";
        // Outside the grid there is nothing to read.
        EXPECT_EQ(grid.ImageRow(-1), 0);
        EXPECT_EQ(grid.ImageRow(MusicGrid::MAX_ROWS), 0);
        EXPECT_EQ(grid.ImageColumn(MusicGrid::MAX_COLUMNS), 0);
    }
}

TEST(MusicGrid, OnlyCellsNamingAKeyTakeAColour)
{
    std::vector<Pixel> image(SPECTRUM_PIXELS);
    for (int y = 0; y < SPECTRUM_HEIGHT; ++y)
        for (int x = 0; x < SPECTRUM_WIDTH; ++x)
            image[static_cast<size_t>(y * SPECTRUM_WIDTH + x)] = MakePixel(x, y, 7);

    uint8_t cells[MusicGrid::MAX_ROWS][MusicGrid::MAX_COLUMNS] = {};
    cells[0][0] = 0x29;                       // a key
    cells[0][1] = MusicGrid::SKIPPED_CELL;    // marked not to be lit
    cells[1][2] = 0x04;                       // a key; [1][0], [1][1] name none
    cells[2][0] = 0x2C;                       // beyond the grid's two rows
    cells[0][3] = 0x2D;                       // beyond its three columns
    MusicGrid grid;
    grid.SetCells(2, 3, cells);
    grid.Build();

    std::vector<KeyColorEntry> colours;
    grid.Sample(image.data(), colours);
    ASSERT_EQ(colours.size(), 2u);
    // 62 div 2 = 31: rows 17 and 48; 255 div 3 = 85: columns 0, 85, 170.
    EXPECT_EQ(colours[0].keyCode, 0x29);
    EXPECT_EQ(colours[0].color, MakePixel(0, 17, 7));
    EXPECT_EQ(colours[1].keyCode, 0x04);
    EXPECT_EQ(colours[1].color, MakePixel(170, 48, 7));

    // No rows or no columns: nothing sampled, nothing built.
    for (const auto& size : {std::pair<int, int>{0, 3}, {2, 0}, {-1, -5}}) {
        MusicGrid none;
        none.SetCells(size.first, size.second, cells);
        none.Build();
        std::vector<KeyColorEntry> nothing;
        none.Sample(image.data(), nothing);
        EXPECT_TRUE(nothing.empty()) << size.first << " x " << size.second;
    }
}

} // namespace
