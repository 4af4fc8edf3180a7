#pragma once

// The fixed key tables of the two key pickers: one table per keyboard
// shape, one row a key cell, in the order the pickers add them (row by row
// from the top, left to right), so a row's place is the cell's index.
// Rectangles are in the picker's content coordinates.

#include <cstddef>

#include "ui/framework/VrelExport.h"

namespace VREL {

struct KeyPickerEntry
{
    const wchar_t* label;
    int code;
    int left;
    int top;
    int width;
    int height;
};

struct KeyPickerTable
{
    const KeyPickerEntry* entries;
    size_t count;
};

// The full keyboard with its keypad to the right (and the "Null" cell).
VREL_API KeyPickerTable FullKeyPickerTable();
// The compact shape: keypad keys in a row below the main block.
VREL_API KeyPickerTable CompactKeyPickerTable();

} // namespace VREL
