#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/framework/CString.h"

namespace {

TEST(CStringTest, FormatGrowsPastItsFirstBufferAndTakesWideArgumentsAsLs)
{
    const CString long_text(L'x', 5000);
    CString text;
    text.Format(L"%d-%ls-%04X", 42, L"w\u00e9", 0xAB);
    EXPECT_EQ(CString(L"42-w\u00e9-00AB"), text);
    text.AppendFormat(L"[%ls]", long_text.GetString());
    EXPECT_EQ(10 + 1 + 5000 + 1, text.GetLength());
    EXPECT_EQ(L']', text[text.GetLength() - 1]);
    text.Format(L"%ls", L"");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringTest, ExtractionClampsToTheText)
{
    const CString text = L"abcdef";
    const struct {
        CString got;
        const wchar_t* want;
    } cases[] = {
        {text.Mid(2), L"cdef"},   {text.Mid(2, 2), L"cd"}, {text.Mid(4, 10), L"ef"},
        {text.Mid(-3, 2), L"ab"}, {text.Mid(9), L""},      {text.Left(0), L""},
        {text.Left(10), L"abcdef"}, {text.Right(2), L"ef"}, {text.Right(-1), L""},
        {text.Right(99), L"abcdef"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.want), c.got);
}

TEST(CStringTest, SearchingAnswersIndexesOrMinusOne)
{
    const CString text = L"a.b.c";
    const struct {
        int got;
        int want;
    } cases[] = {
        {text.Find(L'.'), 1},          {text.Find(L'.', 2), 3},      {text.Find(L'.', 4), -1},
        {text.Find(L'.', 99), -1},     {text.Find(L"b.c"), 2},       {text.Find(L"b.c", 3), -1},
        {text.Find(L"", 5), 5},        {text.ReverseFind(L'.'), 3},  {text.ReverseFind(L'z'), -1},
        {text.FindOneOf(L"cb"), 2},    {CString().Find(L'a'), -1},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(cases[i].want, cases[i].got) << "case " << i;
}

TEST(CStringTest, EditingCountsAndTerminates)
{
    CString text = L"aaa";
    EXPECT_EQ(1, text.Replace(L"aa", L"b"));
    EXPECT_EQ(CString(L"ba"), text);
    text = L"a-a";
    EXPECT_EQ(2, text.Replace(L"a", L"aa"));  // the replacement holds the pattern: no endless loop
    EXPECT_EQ(CString(L"aa-aa"), text);
    EXPECT_EQ(2, text.Replace(L'-', L'+') + text.Remove(L'a') - 3);
    EXPECT_EQ(CString(L"+"), text);
    EXPECT_EQ(3, text.Insert(0, L"<>") );
    EXPECT_EQ(CString(L"<>+"), text);
    EXPECT_EQ(2, text.Delete(1));
    EXPECT_EQ(CString(L"<+"), text);

    const struct {
        CString text;
        const wchar_t* trimmed;
        const wchar_t* left;
        const wchar_t* right;
    } trims[] = {
        {L"  a b \t\r\n", L"a b", L"a b \t\r\n", L"  a b"},
        {L" \t ", L"", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const auto& t : trims) {
        CString a = t.text, b = t.text, c = t.text;
        EXPECT_EQ(CString(t.trimmed), a.Trim());
        EXPECT_EQ(CString(t.left), b.TrimLeft());
        EXPECT_EQ(CString(t.right), c.TrimRight());
    }
    CString quoted = L"\"x\"\"";
    EXPECT_EQ(CString(L"x"), quoted.Trim(L'"'));
}

TEST(CStringTest, TokenizeSkipsEmptyTokensAndEndsWithMinusOne)
{
    const CString text = L",,red, green;;blue,";
    int position = 0;
    std::wstring seen;
    for (CString token = text.Tokenize(L",; ", position); position != -1;
         token = text.Tokenize(L",; ", position))
        seen += std::wstring(token) + L"|";
    EXPECT_EQ(L"red|green|blue|", seen);
}

TEST(CStringTest, BufferAndComparisons)
{
    CString path;
    const DWORD length = GetTempPathW(MAX_PATH, path.GetBuffer(MAX_PATH));
    path.ReleaseBuffer();
    EXPECT_EQ(static_cast<int>(length), path.GetLength());
    EXPECT_EQ(L'\\', path[path.GetLength() - 1]);
    wchar_t* raw = path.GetBuffer(0);
    raw[1] = L'\0';
    path.ReleaseBuffer(3);
    EXPECT_EQ(3, path.GetLength());  // an explicit length keeps the characters after a zero

    const CString nullText(static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(nullText.IsEmpty());
    EXPECT_EQ(0, CString(L"Stra\u00dfe \u00c9T\u00c9").CompareNoCase(L"stra\u00dfe \u00e9t\u00e9"));
    EXPECT_LT(CString(L"a").CompareNoCase(L"B"), 0);
    EXPECT_GT(CString(L"b").CompareNoCase(nullptr), 0);
    EXPECT_EQ(CString(L"\u00c9T\u00c9 ABC"), CString(L"\u00e9t\u00e9 abc").MakeUpper());
    EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
    EXPECT_TRUE(CString(L"a") == L"a");
    EXPECT_TRUE(L"b" != CString(L"a"));
    EXPECT_EQ(CString(L"x-y!"), CString(L"x") + L'-' + L"y" + CString(L"!"));

    std::map<CString, int> byName{{L"b", 2}, {L"a", 1}};
    EXPECT_EQ(1, byName.begin()->second);
}

}  // namespace
