#include "app/store/TextConverter.h"

#include <windows.h>

#include <climits>
#include <cwchar>

namespace {

constexpr int kUtf16CodePage = 1200;
constexpr uint32_t kMaxCodePoint = 0x10FFFF;
constexpr wchar_t kReplacement = L'?';

bool IsUtf32Name(const wchar_t* name)
{
    // Upper case only: "utf-32" goes through the table like any other name.
    return name && std::wcsncmp(name, L"UTF-32", 6) == 0;
}

int CodePageOf(const wchar_t* name)
{
    const int codePage = EncodingToCodePage(name);
    return codePage < 0 ? 0 : codePage;
}

bool IsHighSurrogate(uint32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

bool IsNoDefaultCharCodePage(int codePage)
{
    switch (codePage) {
    case 50220: case 50221: case 50222: case 50225: case 50227: case 50229:
    case 52936: case 54936: case 65000: case 65001:
        return true;
    default:
        return codePage >= 57002 && codePage <= 57011;
    }
}

int DecodeUtf8Char(const unsigned char*& cursor, const unsigned char* end)
{
    if (cursor >= end)
        return -1;
    const unsigned lead = *cursor++;
    if (lead < 0x80)
        return static_cast<int>(lead);
    // A continuation byte cannot start a sequence, nor can a lead byte stand
    // in for a continuation: text in a single-byte code page would otherwise
    // pass for UTF-8 and lose its accented letters.
    if (!(lead & 0x40))
        return -1;
    int extra;
    unsigned codePoint;
    if (!(lead & 0x20)) {
        extra = 1;
        codePoint = lead & 0x1F;
    } else if (!(lead & 0x10)) {
        extra = 2;
        codePoint = lead & 0x0F;
    } else if (!(lead & 0x08)) {
        extra = 3;
        codePoint = lead & 0x07;
    } else {
        return -1;
    }
    while (extra-- > 0) {
        if (cursor >= end || (*cursor & 0xC0) != 0x80)
            return -1;
        codePoint = (codePoint << 6) | (*cursor++ & 0x3F);
    }
    return static_cast<int>(codePoint);
}

bool IsValidUtf8(const unsigned char* bytes, size_t length)
{
    if (!bytes)
        return length == 0;
    const unsigned char* cursor = bytes;
    const unsigned char* end = bytes + length;
    while (cursor < end && *cursor) {
        if (DecodeUtf8Char(cursor, end) < 0)
            return false;
    }
    return true;
}

TextConverter::TextConverter(const wchar_t* target, const wchar_t* source, const void* data, size_t sourceUnits)
    : m_target(target), m_source(source), m_data(data), m_units(data ? sourceUnits : 0)
{
}

size_t TextConverter::Convert(void* dest, size_t capacity)
{
    m_loss = false;
    m_error = 0;
    if (m_units == 0 || (dest && capacity == 0))
        return 0;
    if (IsUtf32Name(m_source))
        return FromUtf32(static_cast<wchar_t*>(dest), capacity);
    if (IsUtf32Name(m_target))
        return ToUtf32(static_cast<unsigned char*>(dest), capacity);
    if (m_units > INT_MAX || capacity > INT_MAX) {
        m_error = ERROR_NOT_ENOUGH_MEMORY;
        return 0;
    }

    // Exactly one side must be UTF-16: the data's unit size follows from it,
    // and reading bytes as 16-bit units would run past the data.
    const bool fromUtf16 = CodePageOf(m_source) == kUtf16CodePage;
    const bool toUtf16 = CodePageOf(m_target) == kUtf16CodePage;
    if (fromUtf16 == toUtf16) {
        m_error = ERROR_INVALID_PARAMETER;
        return 0;
    }
    const int units = static_cast<int>(m_units);
    const int room = dest ? static_cast<int>(capacity) : 0;
    int produced;
    if (fromUtf16) {
        const int codePage = CodePageOf(m_target);
        BOOL usedDefault = FALSE;
        produced = WideCharToMultiByte(static_cast<UINT>(codePage), 0, static_cast<const wchar_t*>(m_data), units,
                                       static_cast<char*>(dest), room, nullptr,
                                       IsNoDefaultCharCodePage(codePage) ? nullptr : &usedDefault);
        m_loss = usedDefault != FALSE;
    } else {
        produced = MultiByteToWideChar(static_cast<UINT>(CodePageOf(m_source)), 0, static_cast<const char*>(m_data),
                                       units, static_cast<wchar_t*>(dest), room);
    }
    if (produced <= 0) {
        m_error = GetLastError();
        return 0;
    }
    return static_cast<size_t>(produced);
}

// Little-endian code points to UTF-16. A value with no UTF-16 form (above
// U+10FFFF, or a surrogate) becomes '?' rather than a broken pair.
size_t TextConverter::FromUtf32(wchar_t* dest, size_t capacity)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(m_data);
    const size_t count = m_units / 4;
    size_t produced = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* b = bytes + 4 * i;
        const uint32_t value = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
        wchar_t units[2];
        size_t n = 1;
        if (value > kMaxCodePoint || IsHighSurrogate(value) || IsLowSurrogate(value)) {
            units[0] = kReplacement;
        } else if (value > 0xFFFF) {
            const uint32_t v = value - 0x10000;
            units[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
            units[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
            n = 2;
        } else {
            units[0] = static_cast<wchar_t>(value);
        }
        if (dest) {
            if (produced + n > capacity)
                break;
            for (size_t k = 0; k < n; ++k)
                dest[produced + k] = units[k];
        }
        produced += n;
    }
    return produced;
}

// UTF-16 to little-endian code points. Only a high surrogate followed by a
// low one forms a pair; any other surrogate becomes '?' and the unit after
// it is read on its own.
size_t TextConverter::ToUtf32(unsigned char* dest, size_t capacity)
{
    const wchar_t* units = static_cast<const wchar_t*>(m_data);
    size_t produced = 0;
    for (size_t i = 0; i < m_units; ++i) {
        uint32_t value = units[i];
        if (IsHighSurrogate(value) && i + 1 < m_units && IsLowSurrogate(units[i + 1])) {
            value = 0x10000 + ((value - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(value) || IsLowSurrogate(value)) {
            value = kReplacement;
        }
        if (dest) {
            if (produced + 4 > capacity)
                break;
            for (int k = 0; k < 4; ++k)
                dest[produced + k] = static_cast<unsigned char>(value >> (8 * k));
        }
        produced += 4;
    }
    return produced;
}
