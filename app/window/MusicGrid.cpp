#include "app/window/MusicGrid.h"

#include <algorithm>
#include <cstring>

namespace tarnwell {

namespace {

// Image rows below the meter row that the key rows share out.
constexpr int IMAGE_ROWS_SHARED = 62;
constexpr int FIRST_KEY_ROW = 2;
constexpr int IMAGE_COLUMNS_SHARED = 255;

} // namespace

void MusicGrid::SetCells(int rows, int columns, const uint8_t cells[MAX_ROWS][MAX_COLUMNS])
{
    m_rows = std::clamp(rows, 0, MAX_ROWS);
    m_columns = std::clamp(columns, 0, MAX_COLUMNS);
    std::memcpy(m_cells, cells, sizeof m_cells);
}

void MusicGrid::SetCell(int row, int column, uint8_t code)
{
    if (row >= 0 && row < MAX_ROWS && column >= 0 && column < MAX_COLUMNS)
        m_cells[row][column] = code;
}

void MusicGrid::Build()
{
    if (IsEmpty())
        return;
    std::fill(std::begin(m_imageRows), std::end(m_imageRows), 0);
    std::fill(std::begin(m_imageColumns), std::end(m_imageColumns), 0);
    const int rowStep = IMAGE_ROWS_SHARED / m_rows;
    for (int r = 0; r < m_rows; ++r)
        m_imageRows[r] = static_cast<int>(rowStep * r + FIRST_KEY_ROW + rowStep * 0.5);
    const int columnStep = IMAGE_COLUMNS_SHARED / m_columns;
    for (int c = 0; c < m_columns; ++c)
        m_imageColumns[c] = columnStep * c;
}

int MusicGrid::ImageRow(int row) const { return row >= 0 && row < MAX_ROWS ? m_imageRows[row] : 0; }

int MusicGrid::ImageColumn(int column) const
{
    return column >= 0 && column < MAX_COLUMNS ? m_imageColumns[column] : 0;
}

void MusicGrid::Sample(const Pixel* image, std::vector<KeyColorEntry>& colours) const
{
    if (IsEmpty() || image == nullptr)
        return;
    for (int r = 0; r < m_rows; ++r) {
        const int y = std::clamp(m_imageRows[r], 0, SPECTRUM_HEIGHT - 1);
        for (int c = 0; c < m_columns; ++c) {
            const uint8_t code = m_cells[r][c];
            if (code == EMPTY_CELL || code == SKIPPED_CELL)
                continue;
            const int x = std::clamp(m_imageColumns[c], 0, SPECTRUM_WIDTH - 1);
            colours.push_back({code, image[y * SPECTRUM_WIDTH + x]});
        }
    }
}

} // namespace tarnwell
