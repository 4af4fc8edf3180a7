// Parsing, navigation, attribute reading and character references.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "app/store/XmlDoc.h"
#include "tests/store/XmlTestSupport.h"

namespace {

struct ErrorCase {
    const wchar_t* text;
    const wchar_t* result;
};

// One fixture per entry a parse can report; the whole result text is compared
// so that offsets, attribute order and the entry format are all checked.
const ErrorCase kErrorCases[] = {
    {L"<a><1/></a>", L"<first_tag_syntax offset=\"3\"/>"},
    {L"<!doctype a><a/>", L"<exclamation_tag_syntax offset=\"0\"/>"},
    {L"<a><!-x--></a>", L"<comment_tag_syntax offset=\"3\"/>"},
    {L"<a><![X[y]]></a>", L"<cdata_section_syntax offset=\"3\"/>"},
    {L"<!DOCTYPE a [<!Q x>]><a/>", L"<doctype_tag_syntax offset=\"0\"/>"},
    {L"<a/><b x='>", L"<unterminated_tag_syntax type=\"start_tag\" offset=\"4\"/>"},
    {L"<a/></a", L"<unterminated_tag_syntax type=\"end_tag\" offset=\"4\"/>"},
    {L"<a/><![CDATA[x", L"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"},
    {L"<a/><?pi x", L"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
    {L"<a/><!-- x", L"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    {L"<a/><!DOCTYPE a [<!ENTITY e 'x>]>", L"<unterminated_tag_syntax type=\"document_type\" offset=\"4\"/>"},
    {L"<a/><", L"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    {L"<a/><1", L"<first_tag_syntax offset=\"4\"/><unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    // An error node ends at its first '>': a quote right after a closing quote opens no value.
    {L"<r><1 a=\"x\"'><b/></r>", L"<first_tag_syntax offset=\"3\"/>"},
    {L"</x><a/>", L"<lone_end_tag tagname=\"x\" offset=\"0\"/>"},
    {L"<a><b></a>", L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>"},
    {L"<a><b>", L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
                L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/><root_has_sibling/>"},
    {L" \r\n\t", L"<no_root_element/>"},
    {L"<a/><b/>", L"<root_has_sibling/>"},
};

TEST(XmlParse, EachErrorGivesItsEntryAndFalse)
{
    for (const ErrorCase& c : kErrorCases) {
        XmlDoc doc;
        EXPECT_FALSE(doc.SetText(c.text)) << c.text;
        EXPECT_EQ(W(doc.GetResult()), c.result) << c.text;
        EXPECT_TRUE(IndexIsConsistent(doc)) << c.text;
    }
}

TEST(XmlParse, EmptyTextIsFalseWithoutEntry)
{
    XmlDoc doc;
    EXPECT_FALSE(doc.SetText(L""));
    EXPECT_EQ(W(doc.GetResult()), L"");
    EXPECT_FALSE(doc.FindElement(nullptr));
}

TEST(XmlParse, AcceptsPrologsAndTagsThatLookOdd)
{
    const wchar_t* good[] = {
        L"<?xml version=\"1.0\"?>\r\n<!-- c --><!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA '>'><!-- > -->]>"
        L"text<r/>tail<!-- after -->",
        L"<r a='>' b=\"/>\" c = '<x>'/>",
        L"<r><![CDATA[<b></r>]]></r>",
        L"<r><?pi <b> ?></r>",
        L"<r>\r\n <a/><a /><a b='1'/></r>",
        L"<r x=1></r>",
    };
    for (const wchar_t* text : good) {
        XmlDoc doc;
        EXPECT_TRUE(doc.SetText(text)) << text << W(doc.GetResult());
        EXPECT_EQ(W(doc.GetResult()), L"") << text;
        EXPECT_TRUE(IndexIsConsistent(doc)) << text;
    }
    // Quoted '>' and "/>" are values, and CDATA and instructions make no elements.
    XmlDoc doc(L"<r><![CDATA[<b></b>]]><?pi <c/>?><d/></r>");
    EXPECT_EQ(doc.GetRecordCount(), 3);
}

TEST(XmlParse, EmptyElementTagForms)
{
    // In <a b=1/> the '/' belongs to the value, so the element is left open.
    const struct {
        const wchar_t* text;
        bool empty;
    } cases[] = {{L"<a/>", true}, {L"<a />", true}, {L"<a b='1'/>", true}, {L"<a b=\"1\"/>", true}, {L"<a b=1/>", false}};
    for (const auto& c : cases) {
        XmlDoc doc;
        EXPECT_EQ(doc.SetText(c.text), c.empty) << c.text;
        XmlElementRecord r;
        ASSERT_TRUE(doc.GetRecord(1, r));
        EXPECT_EQ((r.flags & XmlElementRecord::kUnended) != 0, !c.empty) << c.text;
        EXPECT_EQ(r.length, static_cast<int>(wcslen(c.text))) << c.text;
    }
}

TEST(XmlParse, UnendedElementHandsItsChildrenToItsParent)
{
    XmlDoc doc;
    EXPECT_FALSE(doc.SetText(L"<r><u><b/><c></c></r>"));
    EXPECT_EQ(W(doc.GetResult()), L"<unended_start_tag tagname=\"u\" offset=\"3\" offset2=\"18\"/>");
    ASSERT_TRUE(IndexIsConsistent(doc));
    // The document can still be read: u, b and c are now children of r in order.
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    std::vector<std::wstring> names;
    while (doc.FindElement(nullptr))
        names.push_back(W(doc.GetElementName(doc.GetCurrentPos())));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"u", L"b", L"c"}));
    XmlElementRecord u;
    doc.GetRecord(2, u);
    EXPECT_EQ(u.length, 3);
    EXPECT_TRUE(u.flags & XmlElementRecord::kUnended);
}

TEST(XmlParse, EndTagMatchesAStackedNameUpToASeparator)
{
    // "<a=1>" has the name "a=1"; "</a>" closes it, "</a=>" does not.
    XmlDoc doc;
    EXPECT_TRUE(doc.SetText(L"<a=1><b/></a>"));
    EXPECT_FALSE(doc.SetText(L"<ab><b/></a>"));
    EXPECT_EQ(W(doc.GetResult()).find(L"<lone_end_tag tagname=\"a\" offset=\"8\"/>"), 0u);
}

TEST(XmlParse, BothTopLevelElementsAreFound)
{
    XmlDoc doc(L"<a/><b/>");
    EXPECT_TRUE(doc.FindElement(L"a"));
    EXPECT_TRUE(doc.FindElement(L"b"));
}

// ---- navigation ---------------------------------------------------------------------

TEST(XmlNavigate, FindElementContinuesAfterTheLastMatch)
{
    XmlDoc doc(L"<r><x n='1'/><y/><x n='2'/><x n='3'/></r>");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindElement(L"x"));
    EXPECT_EQ(W(doc.GetAttribute(L"n")), L"1");
    ASSERT_TRUE(doc.FindElement(L"y"));
    ASSERT_TRUE(doc.FindElement(L"x"));
    EXPECT_EQ(W(doc.GetAttribute(L"n")), L"2");
    // An element that stands before the current one is not found, and a
    // failed search leaves the position where it was.
    const int current = doc.GetCurrentPos();
    EXPECT_FALSE(doc.FindElement(L"y"));
    EXPECT_EQ(doc.GetCurrentPos(), current);
    ASSERT_TRUE(doc.FindElement(L"x"));
    EXPECT_EQ(W(doc.GetAttribute(L"n")), L"3");
    EXPECT_FALSE(doc.FindElement(nullptr));
}

TEST(XmlNavigate, NamesMatchWholeAndPathsAreChecked)
{
    const struct {
        const wchar_t* path;
        const wchar_t* found;  // value of attribute n, or null for no match
    } cases[] = {
        {L"lan", L"2"},          {L"language.info", L"1"}, {L"", L"1"},          {nullptr, L"1"},
        {L"Lan", nullptr},       {L"la", nullptr},         {L"/r", nullptr},     {L"//lan", nullptr},
        {L"lan/", nullptr},      {L"lan x", nullptr},      {L"lan[2]", L"2"},    {L"lan[]", nullptr},
        {L"lan[@n='2']", L"2"},  {L"lan[@n=2]", L"2"},     {L"lan[@n]", L"2"},   {L"lan[x]/y/@z", L"2"},
        {L"lan[@n='2]", nullptr}, {L"@n", nullptr},        {L"lan/@n/x", nullptr}, {L"lan]", nullptr},
    };
    for (const auto& c : cases) {
        XmlDoc doc(L"<r><language.info n='1'/><lan n='2'/></r>");
        ASSERT_TRUE(doc.FindElement(L"r"));
        ASSERT_TRUE(doc.Descend());
        const bool found = doc.FindElement(c.path);
        EXPECT_EQ(found, c.found != nullptr) << (c.path ? c.path : L"(null)");
        if (found && c.found) {
            EXPECT_EQ(W(doc.GetAttribute(L"n")), c.found) << c.path;
        }
    }
}

TEST(XmlNavigate, AscendThenDescendReturnsToTheSameElement)
{
    XmlDoc doc(L"<r><a><b n='1'/><b n='2'/><b n='3'/></a><c/></r>");
    EXPECT_FALSE(doc.Descend());  // nothing current yet
    EXPECT_FALSE(doc.Ascend());   // already at the top
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindElement(L"a"));
    ASSERT_TRUE(doc.Descend());
    EXPECT_EQ(doc.GetCurrentPos(), 0);
    EXPECT_EQ(W(doc.GetAttribute(L"n")), L"");  // no current element
    ASSERT_TRUE(doc.FindElement(L"b"));
    ASSERT_TRUE(doc.FindElement(L"b"));
    const int second = doc.GetCurrentPos();

    ASSERT_TRUE(doc.Ascend());
    EXPECT_EQ(W(doc.GetElementName(doc.GetCurrentPos())), L"a");
    EXPECT_EQ(W(doc.GetElementName(doc.GetParentPos())), L"r");
    ASSERT_TRUE(doc.Descend());
    EXPECT_EQ(doc.GetCurrentPos(), second);
    ASSERT_TRUE(doc.FindElement(L"b"));
    EXPECT_EQ(W(doc.GetAttribute(L"n")), L"3");

    // Back out and on to the next child of r.
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.FindElement(L"c"));
}

// ---- attributes -----------------------------------------------------------------------

TEST(XmlAttributes, FormsOfValues)
{
    XmlDoc doc(L"<a x='1' y=\"2\" z=3 w v = \"5\" xy='6' s='it&apos;s &lt;ok&gt;' e= f q&amp; t=></a>");
    ASSERT_TRUE(doc.FindElement(L"a"));
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {
        {L"x", L"1"}, {L"y", L"2"}, {L"z", L"3"}, {L"w", L"w"}, {L"v", L"5"}, {L"xy", L"6"},
        {L"s", L"it's <ok>"}, {L"e", L"f"}, {L"q&amp;", L"q&"},  // a bare name is its own value, decoded {L"t", L""}, {L"f", L""}, {L"X", L""}, {L"a", L""}, {L"missing", L""},
        {L"1", L""},  // a value is never taken for a name
    };
    for (const auto& c : cases)
        EXPECT_EQ(W(doc.GetAttribute(c.name)), c.value) << c.name;
}

TEST(XmlAttributes, PositionsOutsideTheIndexGiveNothing)
{
    XmlDoc doc(L"<a x='1'><b y='2'/></a>");
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(W(doc.GetAttributeAt(2, L"y")), L"2");
    for (int pos : {0, -1, 3, 1000, 65536, 0x7FFFFFFF}) {
        EXPECT_EQ(W(doc.GetAttributeAt(pos, L"y")), L"") << pos;
        EXPECT_FALSE(doc.SetAttribute(pos, L"y", L"3")) << pos;
        EXPECT_EQ(W(doc.GetElementName(pos)), L"") << pos;
        XmlElementRecord r;
        EXPECT_EQ(doc.GetRecord(pos, r), pos == 0) << pos;
    }
    EXPECT_EQ(W(doc.GetText()), L"<a x='1'><b y='2'/></a>");
}

// ---- character references -----------------------------------------------------------

TEST(XmlReferences, Unescape)
{
    const struct {
        const wchar_t* in;
        std::wstring out;
    } cases[] = {
        {L"&amp;&lt;&gt;&quot;&apos;", L"&<>\"'"},
        {L"&AMP;&Amp;", L"&&"},
        {L"&#65;&#x41;&#X41;&#x0041;", L"AAAA"},
        {L"&#x1F600;", L"\xD83D\xDE00"},
        {L"&#128512;", L"\xD83D\xDE00"},
        {L"&#1114111;", L"\xDBFF\xDFFF"},
        {L"&nbsp;&yuml;&Yuml;&euro;&diams;&thetasym;", L"\x00A0\x00FF\x0178\x20AC\x2666\x03D1"},
        {L"&Eacute;&eacute;&Prime;&prime;&Dagger;&dagger;", L"\x00C9\x00E9\x2033\x2032\x2021\x2020"},
        // Left as written: no code point, no name, no ';' in reach, or beyond U+10FFFF.
        {L"&#0;&#x;&#;&#x12G;&nosuch;&;", L"&#0;&#x;&#;&#x12G;&nosuch;&;"},
        {L"&amp &#65", L"&amp &#65"},
        {L"&#x110000;&#1114112;&#xFFFFFF;", L"&#x110000;&#1114112;&#xFFFFFF;"},
        {L"&#000000065;", L"&#000000065;"},  // ';' more than 9 characters on
        {L"&#0000065;", L"A"},
        {L"&\x00E9;&amp;", L"&\x00E9;&"},
        {L"&&amp;&", L"&&&"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(W(XmlDoc::UnescapeText(c.in)), c.out) << c.in;
    EXPECT_EQ(W(XmlDoc::UnescapeText(L"&amp;&amp;", 5)), L"&");
    EXPECT_EQ(W(XmlDoc::UnescapeText(nullptr)), L"");
}

TEST(XmlReferences, EscapeRoundTrips)
{
    EXPECT_EQ(W(XmlDoc::EscapeText(L"<a & 'b' \"c\">", true)), L"&lt;a &amp; &apos;b&apos; &quot;c&quot;&gt;");
    EXPECT_EQ(W(XmlDoc::EscapeText(L"<a & 'b' \"c\">", false)), L"&lt;a &amp; 'b' \"c\"&gt;");
    const wchar_t* samples[] = {L"", L"plain", L"&amp; is not decoded twice", L"<&>'\"", L"\xD83D\xDE00 \x00E9 &#65;"};
    for (const wchar_t* s : samples) {
        EXPECT_EQ(W(XmlDoc::UnescapeText(XmlDoc::EscapeText(s, true))), s);
        EXPECT_EQ(W(XmlDoc::UnescapeText(XmlDoc::EscapeText(s, false))), s);
    }
}

// ---- hostile input --------------------------------------------------------------------

// Hostile input must finish in bounded time: these inputs take well under a
// second when the work is linear and minutes when any step is quadratic.
constexpr long long kHostileTimeLimitMs = 20000;

class Stopwatch {
public:
    long long ElapsedMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

TEST(XmlHostile, DeepNestingStaysLinear)
{
    const Stopwatch watch;
    const int depth = 200000;
    std::wstring open;
    for (int i = 0; i < depth; ++i)
        open += L"<a>";

    XmlDoc doc;
    // Never closed: every element is unended; only the first entries fit.
    EXPECT_FALSE(doc.SetText(open.c_str()));
    EXPECT_LE(doc.GetResult().GetLength(), XmlDoc::kResultLimit + 200);
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_EQ(doc.GetRecordCount(), depth + 1);

    // Stray end tags under all of it, then all closed at once by the outer end tag.
    std::wstring text = L"<r>" + open;
    for (int i = 0; i < depth; ++i)
        text += L"</b>";
    text += L"</r>";
    EXPECT_FALSE(doc.SetText(text.c_str()));
    EXPECT_TRUE(IndexIsConsistent(doc));
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    int children = 0;
    while (doc.FindElement(L"a"))
        ++children;
    EXPECT_EQ(children, depth);

    // Well-formed and deep: reachable to the bottom, and editable there.
    std::wstring nested = open;
    for (int i = 0; i < depth; ++i)
        nested += L"</a>";
    ASSERT_TRUE(doc.SetText(nested.c_str()));
    for (int i = 0; i < depth; ++i) {
        ASSERT_TRUE(doc.FindElement(L"a"));
        ASSERT_TRUE(doc.Descend());
    }
    ASSERT_TRUE(doc.AddElement(L"leaf"));
    ASSERT_TRUE(doc.SetAttribute(L"v", L"1"));
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_LT(watch.ElapsedMs(), kHostileTimeLimitMs);
}

TEST(XmlHostile, EveryTruncationParsesToAConsistentIndex)
{
    const std::wstring full =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE r [<!ENTITY e \"x>\"><!-- c -->]>\r\n"
        L"<r a='1' b=\"&amp;\"><![CDATA[x<y>]]><k code=\"4\"/><!-- note --><?pi data?>"
        L"<m><n v='&#x1F600;'>text</n></m><e/></r>\r\n";
    for (size_t n = 0; n <= full.size(); ++n) {
        XmlDoc doc;
        const bool ok = doc.SetText(full.substr(0, n).c_str());
        EXPECT_EQ(ok, n >= full.size() - 2) << n;
        EXPECT_TRUE(IndexIsConsistent(doc)) << n;
        if (doc.FindElement(L"r")) {
            doc.GetAttribute(L"b");
            doc.Descend();
            while (doc.FindElement(nullptr))
                doc.GetAttribute(L"v");
        }
    }
}

TEST(XmlHostile, HugeValuesAndMalformedReferences)
{
    const std::wstring big(3000000, L'x');
    XmlDoc doc((L"<a v='" + big + L"' w='&#x;&#99999999;&;&&&&#xD800;'/>").c_str());
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetAttribute(L"v").GetLength(), 3000000);
    EXPECT_EQ(W(doc.GetAttribute(L"w")), L"&#x;&#99999999;&;&&&\xD800");
    // An unclosed quote swallows the rest of the text into one error node.
    EXPECT_FALSE(doc.SetText((L"<r><a v='" + big + L"/></r>").c_str()));
    EXPECT_TRUE(IndexIsConsistent(doc));
}

TEST(XmlHostile, RandomGarbageAndMutations)
{
    std::mt19937 rng(20240611);
    // Raw garbage, weighted towards the characters the scanner cares about.
    const wchar_t special[] = L"<>/!?-[]'\"= \r\nDCEANa&;#x";
    for (int round = 0; round < 50; ++round) {
        std::wstring text(20000, L' ');
        for (wchar_t& c : text) {
            const unsigned r = rng();
            c = (r & 1) ? special[(r >> 1) % (sizeof(special) / sizeof(wchar_t) - 1)]
                        : static_cast<wchar_t>((r >> 8) % 0xFFFF + 1);
        }
        XmlDoc doc;
        doc.SetText(text.c_str());
        ASSERT_TRUE(IndexIsConsistent(doc)) << round;
        ASSERT_LE(doc.GetResult().GetLength(), XmlDoc::kResultLimit + 200);
    }
    // Small mutations of a good document, then an edit on whatever was found.
    const std::wstring good = L"<r><a x='1' y=\"2\"><b/>t<c>u</c></a><!-- c --><d z='&lt;'/></r>";
    for (int round = 0; round < 2000; ++round) {
        std::wstring text = good;
        for (int k = 0; k < 3; ++k)
            text[rng() % text.size()] = special[rng() % (sizeof(special) / sizeof(wchar_t) - 1)];
        XmlDoc doc;
        doc.SetText(text.c_str());
        ASSERT_TRUE(IndexIsConsistent(doc)) << round;
        if (doc.FindElement(nullptr)) {
            doc.Descend();
            doc.FindElement(nullptr);
            doc.SetAttribute(L"q", L"v'\"");
            doc.AddElement(L"n");
            ASSERT_TRUE(IndexIsConsistent(doc)) << round;
        }
    }
}

}  // namespace
