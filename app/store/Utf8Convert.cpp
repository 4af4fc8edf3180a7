#include "app/store/Utf8Convert.h"

#include <windows.h>

#include <cwchar>

std::string CStringToUtf8(const CString& text)
{
    const wchar_t* wide = text.GetString();
    const int length = static_cast<int>(std::wcslen(wide));
    if (length == 0)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

CString Utf8ToCString(const char* utf8)
{
    if (!utf8 || !*utf8)
        return CString();
    // -1: convert through the terminator, so the count includes it.
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (chars <= 1)
        return CString();
    CString wide;
    wchar_t* buffer = wide.GetBuffer(chars);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, chars);
    wide.ReleaseBuffer();
    return wide;
}
