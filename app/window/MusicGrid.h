#pragma once

// The keyboard's key grid laid over the 256 x 64 spectrum image: which image
// row and column each grid cell samples, and the key colours of one frame.
// The grid comes from the layout file; cells that would reach outside the
// grid or name no key are skipped.

#include <cstdint>
#include <vector>

#include "app/device/DeviceLinkHost.h"
#include "app/window/VisualizerCore.h"

namespace tarnwell {

class MusicGrid
{
public:
    static constexpr int MAX_ROWS = 8;
    static constexpr int MAX_COLUMNS = 32;
    // A cell that names no key.
    static constexpr uint8_t EMPTY_CELL = 0x00;
    // A cell the layout marks as not to be lit.
    static constexpr uint8_t SKIPPED_CELL = 0xFF;

    // Rows and columns as the layout gives them, and the low byte of the key
    // code of each cell (row-major, MAX_COLUMNS per row). Counts beyond the
    // grid's size are held to it.
    void SetCells(int rows, int columns, const uint8_t cells[MAX_ROWS][MAX_COLUMNS]);
    void SetCell(int row, int column, uint8_t code);

    // Works out the image row and column of every grid row and column; does
    // nothing without rows or columns.
    void Build();

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    bool IsEmpty() const { return m_rows <= 0 || m_columns <= 0; }
    int ImageRow(int row) const;
    int ImageColumn(int column) const;

    // One frame: for every cell naming a key, its key code and the image's
    // pixel at the cell's place.
    void Sample(const Pixel* image, std::vector<KeyColorEntry>& colours) const;

private:
    int m_rows = 0;
    int m_columns = 0;
    uint8_t m_cells[MAX_ROWS][MAX_COLUMNS] = {};
    int m_imageRows[MAX_ROWS] = {};
    int m_imageColumns[MAX_COLUMNS] = {};
};

} // namespace tarnwell
