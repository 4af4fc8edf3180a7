#include "app/window/LanguageTexts.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace tarnwell {

namespace {

struct BuiltInText
{
    const wchar_t* section;
    int number;
    const wchar_t* text;
};

constexpr BuiltInText kBuiltIn[] = {
#include "app/window/BuiltinTexts.inc"
};

bool IsBlank(const CString& text)
{
    const wchar_t* p = text.GetString();
    for (; *p; ++p)
    {
        if (!std::iswspace(*p))
            return false;
    }
    return true;
}

} // namespace

CString ReadIniString(const wchar_t* section, const wchar_t* key, const wchar_t* file)
{
    wchar_t buffer[kMaxLanguageText + 1] = {};
    ::GetPrivateProfileStringW(section, key, L"", buffer, kMaxLanguageText + 1, file);
    buffer[kMaxLanguageText] = L'\0';
    return CString(buffer);
}

LanguageTexts::LanguageTexts(CString programFolder, int language)
    : m_folder(std::move(programFolder)), m_language(language)
{
}

CString LanguageTexts::FilePath() const
{
    CString path;
    // %ls, not %s: this compiler's wide printf family reads %s as a narrow
    // string, which would cut the folder after its first character.
    path.Format(L"%lslanguage\\%d.lan", m_folder.GetString(), m_language);
    return path;
}

CString LanguageTexts::ReadFileText(int number, const wchar_t* section) const
{
    wchar_t key[16];
    std::swprintf(key, 16, L"%d", number);
    return ReadIniString(section, key, FilePath().GetString());
}

CString LanguageTexts::GetLanguageText(int number, const wchar_t* section) const
{
    CString text = ReadFileText(number, section);
    if (IsBlank(text))
        return BuiltIn(number, section);
    return text;
}

CString LanguageTexts::Resolve(const TextRef& ref) const
{
    switch (ref.source)
    {
    case TextSource::Dialog:
        return GetLanguageText(ref.number, kDialogSection);
    case TextSource::Caption:
        return GetLanguageText(ref.number, kCaptionSection);
    case TextSource::Literal:
        return CString(ref.literal ? ref.literal : L"");
    case TextSource::None:
    case TextSource::Empty:
    default:
        return CString();
    }
}

CString LanguageTexts::BuiltIn(int number, const wchar_t* section)
{
    for (const BuiltInText& entry : kBuiltIn)
    {
        if (entry.number == number && section && _wcsicmp(entry.section, section) == 0)
            return CString(entry.text);
    }
    return CString();
}

std::vector<int> LanguageTexts::BuiltInNumbers(const wchar_t* section)
{
    std::vector<int> numbers;
    for (const BuiltInText& entry : kBuiltIn)
    {
        if (section && _wcsicmp(entry.section, section) == 0)
            numbers.push_back(entry.number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace tarnwell
