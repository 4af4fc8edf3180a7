#pragma once

// A keyboard model's layout file (layouts\<device_info>.xml): the lighting
// facts, the picture's place and image, and every key with its code, its
// position in the device's key map, its rectangle in the picture and its
// cell in the music lighting's key grid.
//
// The positions and cells index fixed-size tables of the device link and
// the music lighting, so a key whose position, cell, code or rectangle is out
// of range is left out (and counted); the other keys still load.

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class XmlDoc;

namespace tarnwell {

struct LayoutKey
{
    int code = 0;
    int position = 0;  // key_index
    RECT rect = {};    // layout coordinates, right and bottom exclusive
    int row = 0;
    int column = 0;
};

class KeyboardLayout
{
public:
    static constexpr int kGridRows = 8;
    static constexpr int kGridColumns = 32;
    static constexpr int kPositions = 128;
    static constexpr int kMaxKeyCode = 0xFFFF;
    // Picture sizes beyond this are not a keyboard's.
    static constexpr int kMaxPictureSize = 16384;

    using KeyGrid = std::array<std::array<uint8_t, kGridColumns>, kGridRows>;

    // False (and nothing kept) when the file cannot be read or parsed or its
    // root is not "device.info".
    bool Read(const wchar_t* path);
    bool ReadText(const wchar_t* text);

    // ---- light ------------------------------------------------------------------
    bool HasLight() const { return m_hasLight; }
    int RgbKeyboard() const { return m_rgbKeyboard; }
    int BrightnessMax() const { return m_brightnessMax; }
    int SpeedMax() const { return m_speedMax; }
    int DefaultMode() const { return m_defaultMode; }
    int DefaultBrightness() const { return m_defaultBrightness; }
    int DefaultSpeed() const { return m_defaultSpeed; }

    // ---- picture ----------------------------------------------------------------
    // False when "Keyboard" is missing (after "light" in document order) or
    // its size is unusable: the pictures then stay empty.
    bool HasKeyboard() const { return m_hasKeyboard; }
    COLORREF Background() const { return m_background; }
    int XPos() const { return m_xpos; }
    int YPos() const { return m_ypos; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::wstring& Image() const { return m_image; }
    int RowCount() const { return m_rowCount; }
    int ColumnCount() const { return m_columnCount; }

    // ---- keys --------------------------------------------------------------------
    // The keys that passed, in file order.
    const std::vector<LayoutKey>& Keys() const { return m_keys; }
    // Key code to key_index; a code listed twice keeps the later position.
    const std::map<int, int>& Positions() const { return m_positions; }
    // Cell [row][column] holds the low 8 bits of its key's code, 0 when empty.
    const KeyGrid& Grid() const { return m_grid; }
    // Keys left out for a value out of range or a position already taken.
    int SkippedKeys() const { return m_skipped; }

private:
    void Reset();
    bool ReadDocument(XmlDoc& doc);
    void ReadKey(const XmlDoc& doc);

    bool m_hasLight = false;
    int m_rgbKeyboard = 1;
    int m_brightnessMax = 0;
    int m_speedMax = 0;
    int m_defaultMode = 0;
    int m_defaultBrightness = 0;
    int m_defaultSpeed = 0;

    bool m_hasKeyboard = false;
    COLORREF m_background = 0;
    int m_xpos = 0;
    int m_ypos = 0;
    int m_width = 0;
    int m_height = 0;
    std::wstring m_image;
    int m_rowCount = 0;
    int m_columnCount = 0;

    std::vector<LayoutKey> m_keys;
    std::map<int, int> m_positions;
    KeyGrid m_grid = {};
    int m_skipped = 0;
};

// The cell of a row_col text: the row is its first character; the column its
// last character when the text is exactly 3 characters long, else its last
// two. False when those characters are not decimal digits.
bool ParseRowCol(const std::wstring& text, int& row, int& column);

// "keyboard\" followed by the image's file name.
std::wstring MakeKeyboardImagePath(const std::wstring& image);

} // namespace tarnwell
