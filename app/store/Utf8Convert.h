#pragma once

// Conversions between the program's wide strings and the UTF-8 text kept in
// the settings database (and sent to web servers by the updater).

#include <string>

#include "ui/framework/CString.h"

// The UTF-8 form of `text` up to its first zero character, without a terminator.
std::string CStringToUtf8(const CString& text);

// The wide form of zero-terminated UTF-8 text; null or unconvertible text
// gives an empty string.
CString Utf8ToCString(const char* utf8);
