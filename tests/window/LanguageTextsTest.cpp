// Language texts: the file of the current language, and the built-in text
// wherever the file, its section or a number is missing or unusable.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/window/LanguageTexts.h"
#include "tests/support/TempFolder.h"

using namespace tarnwell;

namespace {

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* out = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
}

// UTF-16LE with a byte-order mark.
std::string Utf16File(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text)
    {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

std::wstring W(const CString& text) { return std::wstring(text.GetString()); }

class LanguageFolder : public ::testing::Test
{
protected:
    void SetUp() override { ::CreateDirectoryW((folder.Path() + L"language").c_str(), nullptr); }
    void Write(int language, const std::string& bytes)
    {
        WriteBytes(folder.Path() + L"language\\" + std::to_wstring(language) + L".lan", bytes);
    }
    testsupport::TempFolder folder;
};

} // namespace

TEST_F(LanguageFolder, TheFileGivesTheTextAndAnythingMissingOrUnusableGivesTheBuiltInText)
{
    const std::string longValue(300, 'x');
    Write(1033, "[CAPTION]\r\n1=My Caption\r\n[KB.DIALOG]\r\n51=Remap\r\n52=   \r\n53=\r\n54=" + longValue +
                    "\r\n[OTHER]\r\n60=Elsewhere\r\n");
    // A file that is not text at all.
    Write(1031, std::string("\x00\x01\x02[KB.DIALOG\x00\xff\xfe", 12) + std::string(64, '\x00'));
    Write(1045, Utf16File(L"[KB.DIALOG]\r\n51=Klawisze\r\n"));

    struct Case
    {
        int language;
        const wchar_t* section;
        int number;
        std::wstring expected;
    };
    const Case cases[] = {
        {1033, kDialogSection, 51, L"Remap"},
        {1033, kCaptionSection, 1, L"My Caption"},
        {1033, kCaptionSection, 2, W(LanguageTexts::BuiltIn(2, kCaptionSection))},  // missing number
        {1033, kDialogSection, 52, L"Lighting"},                                     // blank value
        {1033, kDialogSection, 53, L"Macros"},                                       // empty value
        {1033, kDialogSection, 54, std::wstring(kMaxLanguageText, L'x')},             // cut at 259
        {1033, kDialogSection, 60, L"Customize"},       // only in another section
        {1031, kDialogSection, 51, L"Keys"},            // malformed file
        {2052, kDialogSection, 51, L"Keys"},            // no file at all
        {1045, kDialogSection, 51, L"Klawisze"},        // UTF-16 file
        {1045, kDialogSection, 52, L"Lighting"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.language) + " " + std::to_string(c.number));
        const LanguageTexts texts(CString(folder.Path().c_str()), c.language);
        EXPECT_EQ(W(texts.GetLanguageText(c.number, c.section)), c.expected);
    }
}

TEST_F(LanguageFolder, EveryLookupReadsTheFileAgain)
{
    Write(1033, "[KB.DIALOG]\r\n51=First\r\n");
    LanguageTexts texts(CString(folder.Path().c_str()), 1033);
    EXPECT_EQ(W(texts.GetLanguageText(51)), L"First");
    Write(1033, "[KB.DIALOG]\r\n51=Second\r\n");
    EXPECT_EQ(W(texts.GetLanguageText(51)), L"Second");
    // Switching the language reads the other file; without one, the built-in text.
    texts.SetLanguage(1045);
    EXPECT_EQ(W(texts.GetLanguageText(51)), L"Keys");
}

TEST(LanguageTexts, ReferencesResolveToTheirTextsAndFileTextsStayEmptyWhenMissing)
{
    const LanguageTexts texts(L"Z:\\no\\such\\folder\\", 1033);
    EXPECT_EQ(W(texts.FilePath()), L"Z:\\no\\such\\folder\\language\\1033.lan");
    EXPECT_EQ(W(texts.Resolve(Literal(L"English"))), L"English");
    EXPECT_EQ(W(texts.Resolve(EmptyText())), L"");
    EXPECT_EQ(W(texts.Resolve(NoText())), L"");
    EXPECT_EQ(W(texts.Resolve(Text(54))), L"Settings");
    EXPECT_TRUE(texts.ReadFileText(54).IsEmpty());
    EXPECT_TRUE(ReadIniString(kDialogSection, L"54", texts.FilePath().GetString()).IsEmpty());
    // A number that nothing uses has no built-in text either.
    EXPECT_TRUE(texts.GetLanguageText(99999).IsEmpty());
}
