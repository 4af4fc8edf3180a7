#pragma once

// Character classes shared by the XML scanner, the word reader and the
// encoding detection.

namespace xmlchars {

inline bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

// A-Z folded to a-z, nothing else: names and encodings compare this way.
inline wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

}  // namespace xmlchars
