#include "app/window/KeyboardLayout.h"

#include <algorithm>

#include "app/store/XmlDoc.h"
#include "app/window/DeviceCatalogue.h"

namespace tarnwell {

namespace {

std::wstring Attribute(const XmlDoc& doc, const wchar_t* name) { return doc.GetAttribute(name).GetString(); }
int Decimal(const XmlDoc& doc, const wchar_t* name) { return ParseDecimalValue(Attribute(doc, name)); }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool Digits(const std::wstring& text, int& value)
{
    if (text.empty())
        return false;
    value = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - L'0');
    }
    return true;
}

} // namespace

bool ParseRowCol(const std::wstring& text, int& row, int& column)
{
    if (text.empty() || !IsDigit(text[0]))
        return false;
    row = text[0] - L'0';
    const std::wstring tail = text.size() == 3 || text.size() < 2 ? text.substr(text.size() - 1)
                                                                  : text.substr(text.size() - 2);
    return Digits(tail, column);
}

std::wstring MakeKeyboardImagePath(const std::wstring& image) { return L"keyboard\\" + image; }

void KeyboardLayout::Reset() { *this = KeyboardLayout(); }

bool KeyboardLayout::Read(const wchar_t* path)
{
    Reset();
    XmlDoc doc;
    return path != nullptr && doc.Load(path) && ReadDocument(doc);
}

bool KeyboardLayout::ReadText(const wchar_t* text)
{
    Reset();
    XmlDoc doc;
    return text != nullptr && doc.SetText(text) && ReadDocument(doc);
}

bool KeyboardLayout::ReadDocument(XmlDoc& doc)
{
    if (!doc.FindElement(L"device.info") || !doc.Descend())
        return false;
    if (doc.FindElement(L"light")) {
        m_hasLight = true;
        m_rgbKeyboard = Decimal(doc, L"rgb_keyboard") == 1 ? 1 : 0;
        m_brightnessMax = Decimal(doc, L"brightness_max");
        m_speedMax = Decimal(doc, L"speed_max");
        m_defaultMode = Decimal(doc, L"default_mode");
        m_defaultBrightness = Decimal(doc, L"default_brightness");
        m_defaultSpeed = Decimal(doc, L"default_speed");
    }
    if (!doc.FindElement(L"Keyboard"))
        return true;
    m_width = Decimal(doc, L"width");
    m_height = Decimal(doc, L"height");
    if (m_width <= 0 || m_height <= 0 || m_width > kMaxPictureSize || m_height > kMaxPictureSize) {
        m_width = m_height = 0;
        return true;
    }
    m_hasKeyboard = true;
    m_background = static_cast<COLORREF>(ParseHexValue(Attribute(doc, L"bk_color")));
    m_xpos = Decimal(doc, L"xpos");
    m_ypos = Decimal(doc, L"ypos");
    m_image = Attribute(doc, L"image");
    // The used size of the grid never exceeds the grid.
    m_rowCount = std::min(std::max(Decimal(doc, L"row_count"), 0), static_cast<int>(kGridRows));
    m_columnCount = std::min(std::max(Decimal(doc, L"col_count"), 0), static_cast<int>(kGridColumns));
    if (!doc.Descend())
        return true;
    if (doc.FindElement(L"KeyItems") && doc.Descend()) {
        while (doc.FindElement(L"key"))
            ReadKey(doc);
        doc.Ascend();
    }
    doc.Ascend();
    return true;
}

void KeyboardLayout::ReadKey(const XmlDoc& doc)
{
    LayoutKey key;
    key.code = ParseHexValue(Attribute(doc, L"code"));
    key.position = Decimal(doc, L"key_index");
    const int left = Decimal(doc, L"rect_left");
    const int top = Decimal(doc, L"rect_top");
    const int width = Decimal(doc, L"rect_width");
    const int height = Decimal(doc, L"rect_height");
    const bool cell = ParseRowCol(Attribute(doc, L"row_col"), key.row, key.column);

    // Positions and cells index the device's key map and the grid; a
    // rectangle outside the picture could never be drawn or clicked.
    const bool valid = key.code > 0 && key.code <= kMaxKeyCode && key.position >= 0 && key.position < kPositions &&
                       cell && key.row < kGridRows && key.column < kGridColumns && width > 0 && height > 0 &&
                       left >= 0 && top >= 0 && width <= m_width - left && height <= m_height - top;
    bool taken = false;
    for (const LayoutKey& other : m_keys)
        taken = taken || other.position == key.position;
    if (!valid || taken) {
        ++m_skipped;
        return;
    }
    key.rect = RECT{left, top, left + width, top + height};
    m_positions[key.code] = key.position;
    m_grid[static_cast<size_t>(key.row)][static_cast<size_t>(key.column)] = static_cast<uint8_t>(key.code & 0xFF);
    m_keys.push_back(key);
}

} // namespace tarnwell
