#pragma once

// The numbered texts of the main program, read from the language file of the
// current language: "<program folder>language\<LCID>.lan", an INI file read
// with the system's private-profile functions (section "KB.DIALOG" for every
// numbered text, "CAPTION" for the caption title and the copyright line).
// Nothing is cached: every lookup reads the file again, so a language switch
// or an edited file shows at the next lookup.
//
// A file, section or number that is missing, or a value that is empty or
// blank, gives the built-in English text of that number, so a caption is
// never empty because a language file is incomplete or broken.

#include <windows.h>

#include <vector>

#include "app/window/PageTables.h"
#include "ui/framework/CString.h"

namespace tarnwell {

// The longest text a language file gives; longer values are cut.
inline constexpr int kMaxLanguageText = 259;

// The value of a key through the system's private-profile lookup, with an
// empty default; empty when the file, section or key is missing.
CString ReadIniString(const wchar_t* section, const wchar_t* key, const wchar_t* file);

class LanguageTexts
{
public:
    // programFolder ends with a backslash.
    LanguageTexts(CString programFolder, int language);

    int Language() const { return m_language; }
    void SetLanguage(int language) { m_language = language; }
    // "<program folder>language\<LCID>.lan".
    CString FilePath() const;

    // The file's text, or the built-in text when the file has none.
    CString GetLanguageText(int number, const wchar_t* section = kDialogSection) const;
    // The file's text alone (empty when missing).
    CString ReadFileText(int number, const wchar_t* section = kDialogSection) const;
    // A table's text reference resolved: literals as they stand, none and
    // empty as an empty text.
    CString Resolve(const TextRef& ref) const;

    // The built-in (English) text of a number; empty for a number that no
    // part of the program uses.
    static CString BuiltIn(int number, const wchar_t* section = kDialogSection);
    // Every built-in number of a section, ascending.
    static std::vector<int> BuiltInNumbers(const wchar_t* section);

private:
    CString m_folder;
    int m_language;
};

} // namespace tarnwell
