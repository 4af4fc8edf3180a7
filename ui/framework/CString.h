#pragma once

// CString: the wide-string value type used across Tarnwell and vrel.
// Header-only so that both modules (and the tests) share one definition
// without an export; both link the same C++ runtime, so the std::wstring
// inside may cross the module boundary.

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <string>
#include <utility>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}  // NOLINT: implicit by design
    CString(const wchar_t* text, int length)
    {
        if (text && length > 0)
            m_str.assign(text, static_cast<size_t>(length));
    }
    explicit CString(wchar_t ch, int repeat = 1)
    {
        if (repeat > 0)
            m_str.assign(static_cast<size_t>(repeat), ch);
    }
    explicit CString(const std::wstring& text) : m_str(text) {}
    explicit CString(std::wstring&& text) : m_str(std::move(text)) {}

    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* text)
    {
        // Self-assignment from our own buffer is safe: assign() copes with aliasing.
        m_str.assign(text ? text : L"");
        return *this;
    }
    CString& operator=(wchar_t ch)
    {
        m_str.assign(1, ch);
        return *this;
    }

    // ---- access -------------------------------------------------------
    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    const std::wstring& GetStdString() const { return m_str; }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    wchar_t GetAt(int index) const
    {
        return InRange(index) ? m_str[static_cast<size_t>(index)] : L'\0';
    }
    wchar_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, wchar_t ch)
    {
        if (InRange(index))
            m_str[static_cast<size_t>(index)] = ch;
    }

    // ---- concatenation -------------------------------------------------
    CString& operator+=(const CString& other)
    {
        m_str += other.m_str;
        return *this;
    }
    CString& operator+=(const wchar_t* text)
    {
        if (text)
            m_str += text;
        return *this;
    }
    CString& operator+=(wchar_t ch)
    {
        m_str += ch;
        return *this;
    }
    void Append(const wchar_t* text) { *this += text; }
    void AppendChar(wchar_t ch) { m_str += ch; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const wchar_t* b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const wchar_t* a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, wchar_t b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(wchar_t a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }

    // ---- comparison (ordinal; CompareNoCase folds case) -----------------
    int Compare(const wchar_t* text) const { return std::wcscmp(m_str.c_str(), text ? text : L""); }
    // Ordinal, with the system's case folding (as file names compare), so that
    // letters outside ASCII fold too; <0, 0 or >0 like Compare.
    int CompareNoCase(const wchar_t* text) const
    {
        return CompareStringOrdinal(m_str.c_str(), -1, text ? text : L"", -1, TRUE) - CSTR_EQUAL;
    }

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }
    friend bool operator<(const CString& a, const wchar_t* b) { return a.Compare(b) < 0; }
    friend bool operator<(const wchar_t* a, const CString& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CString& a, const CString& b) { return b < a; }

    // ---- formatting ------------------------------------------------------
    // The format follows the C runtime's wide printf. Pass wide string
    // arguments with %ls: depending on how mingw's stdio is configured, %s in
    // a wide format may read a narrow string.
    void Format(const wchar_t* format, ...)
    {
        va_list args;
        va_start(args, format);
        FormatV(format, args);
        va_end(args);
    }
    void AppendFormat(const wchar_t* format, ...)
    {
        va_list args;
        va_start(args, format);
        AppendFormatV(format, args);
        va_end(args);
    }
    void FormatV(const wchar_t* format, va_list args)
    {
        m_str.clear();
        AppendFormatV(format, args);
    }
    void AppendFormatV(const wchar_t* format, va_list args)
    {
        if (!format)
            return;
        // vswprintf reports truncation only as a negative result, so grow the
        // buffer until the text fits, up to a sane limit.
        constexpr size_t kFirstSize = 256;
        constexpr size_t kMaxSize = size_t(16) * 1024 * 1024;
        std::wstring buffer;
        for (size_t size = kFirstSize; size <= kMaxSize; size *= 2) {
            buffer.assign(size, L'\0');
            va_list copy;
            va_copy(copy, args);
            int written = std::vswprintf(&buffer[0], size, format, copy);
            va_end(copy);
            if (written >= 0 && static_cast<size_t>(written) < size - 1) {
                m_str.append(buffer.c_str(), static_cast<size_t>(written));
                return;
            }
        }
    }

    // ---- extraction -------------------------------------------------------
    CString Mid(int first) const { return Mid(first, GetLength()); }
    CString Mid(int first, int count) const
    {
        if (first < 0)
            first = 0;
        if (count < 0)
            count = 0;
        if (first >= GetLength())
            return CString();
        return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
    }
    CString Left(int count) const { return Mid(0, count); }
    CString Right(int count) const
    {
        if (count <= 0)
            return CString();
        if (count >= GetLength())
            return *this;
        return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
    }

    // ---- searching: each returns a zero-based index or -1 -----------------
    int Find(wchar_t ch, int start = 0) const
    {
        if (start < 0 || start >= GetLength())
            return -1;
        return ToIndex(m_str.find(ch, static_cast<size_t>(start)));
    }
    int Find(const wchar_t* sub, int start = 0) const
    {
        if (!sub || start < 0 || start > GetLength())
            return -1;
        return ToIndex(m_str.find(sub, static_cast<size_t>(start)));
    }
    int ReverseFind(wchar_t ch) const { return ToIndex(m_str.rfind(ch)); }
    int FindOneOf(const wchar_t* chars) const
    {
        if (!chars || !*chars)
            return -1;
        return ToIndex(m_str.find_first_of(chars));
    }

    // ---- editing ------------------------------------------------------------
    // Both Replace forms return the number of replacements.
    int Replace(wchar_t oldChar, wchar_t newChar)
    {
        int count = 0;
        for (wchar_t& c : m_str) {
            if (c == oldChar) {
                c = newChar;
                ++count;
            }
        }
        return count;
    }
    int Replace(const wchar_t* oldText, const wchar_t* newText)
    {
        if (!oldText || !*oldText)
            return 0;
        const std::wstring from(oldText);
        const std::wstring to(newText ? newText : L"");
        int count = 0;
        size_t pos = 0;
        while ((pos = m_str.find(from, pos)) != std::wstring::npos) {
            m_str.replace(pos, from.size(), to);
            pos += to.size();
            ++count;
        }
        return count;
    }
    int Remove(wchar_t ch)
    {
        const size_t before = m_str.size();
        std::wstring kept;
        kept.reserve(before);
        for (wchar_t c : m_str)
            if (c != ch)
                kept += c;
        m_str.swap(kept);
        return static_cast<int>(before - m_str.size());
    }
    // Insert and Delete return the new length.
    int Insert(int index, const wchar_t* text)
    {
        if (text) {
            size_t at = static_cast<size_t>(index < 0 ? 0 : (index > GetLength() ? GetLength() : index));
            m_str.insert(at, text);
        }
        return GetLength();
    }
    int Insert(int index, wchar_t ch)
    {
        const wchar_t text[2] = {ch, L'\0'};
        if (ch == L'\0')
            return GetLength();
        return Insert(index, text);
    }
    int Delete(int index, int count = 1)
    {
        if (index >= 0 && count > 0 && index < GetLength())
            m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
        return GetLength();
    }

    // Case mapping uses the system's tables so that letters outside ASCII
    // change too (the C runtime's "C" locale maps only a-z).
    CString& MakeUpper()
    {
        if (!m_str.empty())
            CharUpperBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
        return *this;
    }
    CString& MakeLower()
    {
        if (!m_str.empty())
            CharLowerBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
        return *this;
    }

    // Without an argument, the trims remove white space.
    CString& TrimLeft()
    {
        size_t i = 0;
        while (i < m_str.size() && std::iswspace(m_str[i]))
            ++i;
        m_str.erase(0, i);
        return *this;
    }
    CString& TrimRight()
    {
        size_t n = m_str.size();
        while (n > 0 && std::iswspace(m_str[n - 1]))
            --n;
        m_str.resize(n);
        return *this;
    }
    CString& Trim() { return TrimRight().TrimLeft(); }
    CString& TrimLeft(wchar_t ch)
    {
        const wchar_t set[2] = {ch, L'\0'};
        return TrimLeft(set);
    }
    CString& TrimRight(wchar_t ch)
    {
        const wchar_t set[2] = {ch, L'\0'};
        return TrimRight(set);
    }
    CString& Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
    CString& TrimLeft(const wchar_t* chars)
    {
        if (chars && *chars)
            m_str.erase(0, std::min(m_str.find_first_not_of(chars), m_str.size()));
        return *this;
    }
    CString& TrimRight(const wchar_t* chars)
    {
        if (chars && *chars) {
            const size_t last = m_str.find_last_not_of(chars);
            m_str.resize(last == std::wstring::npos ? 0 : last + 1);
        }
        return *this;
    }
    CString& Trim(const wchar_t* chars) { return TrimRight(chars).TrimLeft(chars); }

    // Splits on any character of `delimiters`, skipping empty tokens. `start`
    // moves past the returned token; it becomes -1 (and the result empty) when
    // no token is left.
    CString Tokenize(const wchar_t* delimiters, int& start) const
    {
        if (start < 0 || start >= GetLength()) {
            start = -1;
            return CString();
        }
        const wchar_t* delims = delimiters ? delimiters : L"";
        const size_t first = m_str.find_first_not_of(delims, static_cast<size_t>(start));
        if (first == std::wstring::npos) {
            start = -1;
            return CString();
        }
        size_t end = m_str.find_first_of(delims, first);
        if (end == std::wstring::npos)
            end = m_str.size();
        start = static_cast<int>(end + (end < m_str.size() ? 1 : 0));
        return CString(m_str.substr(first, end - first));
    }

    // ---- raw buffer ------------------------------------------------------------
    // GetBuffer hands out a writable buffer of at least minLength characters
    // (plus the terminator). ReleaseBuffer(-1) takes the text up to the first
    // zero; a length keeps exactly that many characters.
    wchar_t* GetBuffer(int minLength = 0)
    {
        if (minLength > GetLength())
            m_str.resize(static_cast<size_t>(minLength), L'\0');
        return &m_str[0];
    }
    wchar_t* GetBufferSetLength(int length)
    {
        m_str.resize(static_cast<size_t>(length < 0 ? 0 : length), L'\0');
        return &m_str[0];
    }
    void ReleaseBuffer(int newLength = -1)
    {
        if (newLength < 0)
            newLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
        if (static_cast<size_t>(newLength) < m_str.size())
            m_str.resize(static_cast<size_t>(newLength));
    }

private:
    bool InRange(int index) const { return index >= 0 && index < GetLength(); }
    static int ToIndex(size_t pos) { return pos == std::wstring::npos ? -1 : static_cast<int>(pos); }

    std::wstring m_str;
};
