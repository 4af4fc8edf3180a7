#pragma once

// Text encodings of XML files: the encoding-name table, the converter between
// UTF-16 and the other encodings, and the UTF-8 test.

#include <cstddef>
#include <cstdint>

// The Windows code page of an encoding name: 0 (the system's ANSI code page)
// for an empty name, -1 for a name that the table lacks. Names compare
// without regard to the case of A-Z.
int EncodingToCodePage(const wchar_t* name);

// Code pages whose conversion from UTF-16 cannot report a default character.
bool IsNoDefaultCharCodePage(int codePage);

// One lead byte and its continuation bytes: the code point, or -1 for a bad
// sequence. The cursor moves past what was read. Overlong forms and
// surrogates are not rejected.
int DecodeUtf8Char(const unsigned char*& cursor, const unsigned char* end);
// True when the bytes up to the first NUL (or `length`) are UTF-8 sequences.
bool IsValidUtf8(const unsigned char* bytes, size_t length);

// Converts one block of text between UTF-16 and another encoding; exactly one
// of the two names must be UTF-16 (code page 1200). Names
// beginning with "UTF-32" (upper case) use the built-in little-endian UTF-32
// conversion; other names go through the system's code-page conversion, a
// name that the table lacks meaning the ANSI code page. Units are bytes for
// every encoding but UTF-16, whose units are 16-bit.
class TextConverter {
public:
    TextConverter(const wchar_t* target, const wchar_t* source, const void* data, size_t sourceUnits);

    // Converts into `dest` (at most `capacity` units); with no destination it
    // only counts. Returns the number of units produced; 0 for a non-empty
    // source means the conversion failed (see LastError()).
    size_t Convert(void* dest, size_t capacity);

    // A character had no equivalent and the system used its default one.
    bool HadLoss() const { return m_loss; }
    // The system error of a failed conversion.
    uint32_t LastError() const { return m_error; }

private:
    size_t FromUtf32(wchar_t* dest, size_t capacity);
    size_t ToUtf32(unsigned char* dest, size_t capacity);

    const wchar_t* m_target;
    const wchar_t* m_source;
    const void* m_data;
    size_t m_units;
    bool m_loss = false;
    uint32_t m_error = 0;
};
