// Encoding names, the converter, the UTF-8 test and declared encodings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/store/TextConverter.h"
#include "app/store/XmlDoc.h"
#include "tests/store/XmlTestSupport.h"

namespace {

TEST(XmlEncoding, NameTable)
{
    const std::wstring hundred(100, L'a');
    const struct {
        const wchar_t* name;
        int codePage;
    } cases[] = {
        {L"", 0},
        {nullptr, 0},
        {L"UTF-8", 65001},
        {L"utf8", 65001},
        {L"ISO-8859-1", 28591},
        {L"iso_8859-1:1987", 28591},
        {L"WINDOWS-1252", 1252},
        {L"Shift_JIS", 932},
        {L"shifft_jis", 932},  // the table's own spelling
        {L"cp1256", 1256},
        {L"cp1256 ", 1256},  // a key that ends in a space
        {L"CP1256  ", -1},
        {L"x-mac-ce", 10029},
        {L"_iso-2022-jp$sio", 50222},
        {L"ks_c_5601-1987", 949},
        {L"GB18030", 54936},
        {L"us-ascii", 20127},
        {L"macintosh", 10000},
        {L"csIBM500", 500},
        {L"UTF-16", 1200},
        {L"UTF-16BE", 1201},
        {L"UTF-32", 12000},
        {L"utf-32be", 12001},
        {L"utf-8 ", -1},
        {L"x-none", -1},
        {L"\x00C9UC-JP", -1},  // only A-Z fold
        {hundred.c_str(), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodingToCodePage(c.name), c.codePage) << (c.name ? c.name : L"(null)");
}

// Code pages that Wine has as well as Windows.
TEST(XmlEncoding, ConversionsRoundTrip)
{
    const struct {
        const wchar_t* encoding;
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"windows-1252", L"caf\x00E9 \x20AC", "caf\xE9 \x80"},
        {L"latin1", L"\x0080\x00FF", "\x80\xFF"},
        {L"sjis", L"\x3042\x30A2", "\x82\xA0\x83\x41"},
        {L"gbk", L"\x4E2D\x6587", "\xD6\xD0\xCE\xC4"},
        {L"ascii", L"plain", "plain"},
        {L"mac", L"\x00C4", "\x80"},
        {L"utf-8", L"\x00E9\xD83D\xDE00", "\xC3\xA9\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        TextConverter out(c.encoding, L"UTF-16", c.text.data(), c.text.size());
        const size_t needed = out.Convert(nullptr, 0);
        std::string bytes(needed, '\0');
        ASSERT_EQ(out.Convert(&bytes[0], needed), c.bytes.size()) << c.encoding;
        EXPECT_EQ(bytes, c.bytes) << c.encoding;
        EXPECT_FALSE(out.HadLoss()) << c.encoding;

        TextConverter in(L"UTF-16", c.encoding, c.bytes.data(), c.bytes.size());
        std::wstring text(in.Convert(nullptr, 0), L'\0');
        ASSERT_EQ(in.Convert(&text[0], text.size()), c.text.size()) << c.encoding;
        EXPECT_EQ(text, c.text) << c.encoding;
    }

    // A character the target lacks becomes the default character, and says so.
    const std::wstring kana = L"a\x3042";
    TextConverter lossy(L"windows-1252", L"UTF-16", kana.data(), kana.size());
    char bytes[8] = {};
    ASSERT_EQ(lossy.Convert(bytes, sizeof(bytes)), 2u);
    EXPECT_EQ(std::string(bytes, 2), "a?");
    EXPECT_TRUE(lossy.HadLoss());

    // UTF-16 is no code page of the system: the conversion fails visibly.
    TextConverter none(L"UTF-16", L"UTF-16", kana.data(), kana.size());
    EXPECT_EQ(none.Convert(nullptr, 0), 0u);
    EXPECT_NE(none.LastError(), 0u);
}

TEST(XmlEncoding, Utf32)
{
    const unsigned char bytes[] = {
        0x41, 0, 0, 0,           // A
        0x00, 0xF6, 0x01, 0,     // U+1F600
        0x00, 0x00, 0x11, 0x00,  // beyond U+10FFFF
        0x00, 0xD8, 0, 0,        // a surrogate is no code point
        0xFF, 0xFF, 0xFF, 0xFF,  //
        0x42, 0, 0,              // an incomplete unit is dropped
    };
    TextConverter in(L"UTF-16", L"UTF-32", bytes, sizeof(bytes));
    std::wstring text(in.Convert(nullptr, 0), L'\0');
    in.Convert(&text[0], text.size());
    EXPECT_EQ(text, L"A\xD83D\xDE00???");

    // Only a high surrogate followed by a low one is a pair; nothing is swallowed.
    const std::wstring units = L"A\xD83D\xDE00\xD800" L"B\xDC00\xD800";
    TextConverter out(L"UTF-32LE", L"UTF-16", units.data(), units.size());
    std::string written(out.Convert(nullptr, 0), '\0');
    out.Convert(&written[0], written.size());
    EXPECT_EQ(written, std::string("A\0\0\0\x00\xF6\x01\0?\0\0\0B\0\0\0?\0\0\0?\0\0\0", 24));
}

TEST(XmlEncoding, Utf8Test)
{
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain <a/>", true},
        {"\xC3\xA9", true},
        {"\xE2\x82\xAC", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\x80", true},          // overlong forms pass
        {"\xED\xA0\x80", true},      // so do surrogates
        {std::string("a\0\xFF", 3), true},  // the test stops at a NUL
        {"\xC3", false},
        {"caf\xE9 ", false},
        {"\x80\x80", false},     // a continuation byte cannot lead
        {"\xC3\xC3\xA9", false}, // nor can a lead byte continue
        {"\xE9\xE9\xE9", false},
        {"\xF8\x88\x80\x80\x80", false},
        {"\xFF", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()), c.valid)
            << ::testing::PrintToString(c.bytes);
    }

    const unsigned char emoji[] = {0xF0, 0x9F, 0x98, 0x80, 'x'};
    const unsigned char* cursor = emoji;
    EXPECT_EQ(DecodeUtf8Char(cursor, emoji + sizeof(emoji)), 0x1F600);
    EXPECT_EQ(cursor, emoji + 4);
    EXPECT_EQ(DecodeUtf8Char(cursor, emoji + sizeof(emoji)), 'x');
    EXPECT_EQ(DecodeUtf8Char(cursor, emoji + sizeof(emoji)), -1);
    cursor = emoji;
    EXPECT_EQ(DecodeUtf8Char(cursor, emoji + 2), -1);  // cut short
}

TEST(XmlEncoding, DeclaredEncoding)
{
    const struct {
        const wchar_t* text;
        const wchar_t* encoding;
    } cases[] = {
        {L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", L"ISO-8859-1"},
        {L"<?XML VERSION='1.0' ENCODING='koi8-r'?>", L"koi8-r"},
        {L"<?xml encoding='a&amp;b'?>", L"a&amp;b"},  // raw, not decoded
        {L"<?xml version=\"1.0\"?><a encoding='x'/>", L""},
        {L" <?xml encoding='x'?>", L""},  // only at the very start
        {L"<?other encoding='x'?><a/>", L""},
        {L"<a encoding='x'/>", L""},
        {L"<!-- c --><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head>",
         L"big5"},
        {L"<HTML><HEAD><META HTTP-EQUIV='CONTENT-TYPE' CONTENT='text/html; CHARSET = euc-kr'>", L"euc-kr"},
        {L"<html><meta http-equiv=\"refresh\" content=\"text/html; charset=big5\">"
         L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">",
         L"gbk"},
        {L"<html><head></head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", L""},
        {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html\">", L""},
        {L"<html><1><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", L""},
        {L"<body><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(W(XmlDoc::GetDeclaredEncoding(c.text)), c.encoding) << c.text;
}

}  // namespace
