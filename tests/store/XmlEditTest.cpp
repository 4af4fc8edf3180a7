// Building and editing documents: the exact text that edits produce, and an
// index that stays equal to a fresh parse of the edited text.

#include <gtest/gtest.h>

#include <string>

#include "app/store/XmlDoc.h"
#include "tests/store/XmlTestSupport.h"

namespace {

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

::testing::AssertionResult MatchesFreshParse(const XmlDoc& doc)
{
    if (::testing::AssertionResult consistent = IndexIsConsistent(doc); !consistent)
        return consistent;
    XmlDoc fresh(doc.GetText());
    const auto edited = Flatten(doc);
    const auto parsed = Flatten(fresh);
    if (edited == parsed)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "index differs from a fresh parse (" << edited.size() << " vs " << parsed.size() << " elements)";
    for (size_t i = 0; i < std::min(edited.size(), parsed.size()); ++i) {
        if (!(edited[i] == parsed[i])) {
            failure << "; first difference at element " << i << ": " << ::testing::PrintToString(edited[i])
                    << " vs " << ::testing::PrintToString(parsed[i]);
            break;
        }
    }
    return failure;
}

TEST(XmlBuild, WriterSequenceGivesOneElementPerLine)
{
    XmlDoc doc;
    EXPECT_FALSE(doc.SetText(kDeclaration));  // no root yet
    ASSERT_TRUE(doc.AddElement(L"info"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"profile"));
    ASSERT_TRUE(doc.SetAttribute(L"name", L"A&B \"x\" <y>"));
    ASSERT_TRUE(doc.SetAttribute(L"id", -3));
    ASSERT_TRUE(doc.AddElement(L"keys"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"key"));
    ASSERT_TRUE(doc.SetAttribute(L"code", 4));
    ASSERT_TRUE(doc.AddElement(L"key"));
    ASSERT_TRUE(doc.SetAttribute(L"code", 5));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.AddElement(L"light"));
    ASSERT_TRUE(doc.SetAttribute(L"mode", 2));
    ASSERT_TRUE(doc.Ascend());

    EXPECT_EQ(W(doc.GetText()), std::wstring(kDeclaration) +
                                    L"<info>\r\n"
                                    L"<profile name=\"A&amp;B &quot;x&quot; &lt;y&gt;\" id=\"-3\"/>\r\n"
                                    L"<keys>\r\n"
                                    L"<key code=\"4\"/>\r\n"
                                    L"<key code=\"5\"/>\r\n"
                                    L"</keys>\r\n"
                                    L"<light mode=\"2\"/>\r\n"
                                    L"</info>\r\n");
    EXPECT_TRUE(MatchesFreshParse(doc));

    // And it reads back as the readers of the program read it.
    XmlDoc reader(doc.GetText());
    ASSERT_TRUE(reader.FindElement(L"info"));
    ASSERT_TRUE(reader.Descend());
    ASSERT_TRUE(reader.FindElement(L"profile"));
    EXPECT_EQ(W(reader.GetAttribute(L"name")), L"A&B \"x\" <y>");
    EXPECT_EQ(W(reader.GetAttribute(L"id")), L"-3");
    ASSERT_TRUE(reader.FindElement(L"keys"));
    ASSERT_TRUE(reader.Descend());
    ASSERT_TRUE(reader.FindElement(L"key"));
    ASSERT_TRUE(reader.FindElement(L"key"));
    EXPECT_EQ(W(reader.GetAttribute(L"code")), L"5");
    ASSERT_TRUE(reader.Ascend());
    ASSERT_TRUE(reader.FindElement(L"light"));
}

TEST(XmlBuild, AddElementIntoEachKindOfParent)
{
    const struct {
        const wchar_t* text;
        const wchar_t* parent;
        const wchar_t* expected;
    } cases[] = {
        // An empty-element tag is rewritten into a start tag and an end tag.
        {L"<r><p/><q/></r>", L"p", L"<r><p>\r\n<n/>\r\n</p><q/></r>"},
        {L"<r><p a='1' /><q/></r>", L"p", L"<r><p a='1' >\r\n<n/>\r\n</p><q/></r>"},
        // Nothing between the tags: the child goes on a line of its own.
        {L"<r><p></p><q/></r>", L"p", L"<r><p>\r\n<n/>\r\n</p><q/></r>"},
        // Content: the child goes just before the end tag.
        {L"<r><p>\r\n<c/>\r\n</p><q/></r>", L"p", L"<r><p>\r\n<c/>\r\n<n/>\r\n</p><q/></r>"},
        {L"<r><p>text</p><q/></r>", L"p", L"<r><p>text<n/>\r\n</p><q/></r>"},
        // A start tag that never met its end tag gets one.
        {L"<r><p><q/></r>", L"p", L"<r><p>\r\n<n/>\r\n</p><q/></r>"},
        // The end tag repeats the whole tag name, so it matches on the next read.
        {L"<r><p;x/></r>", L"p", L"<r><p;x>\r\n<n/>\r\n</p;x></r>"},
    };
    for (const auto& c : cases) {
        XmlDoc doc(c.text);
        ASSERT_TRUE(doc.FindElement(L"r"));
        ASSERT_TRUE(doc.Descend());
        ASSERT_TRUE(doc.FindElement(c.parent));
        ASSERT_TRUE(doc.Descend());
        ASSERT_TRUE(doc.AddElement(L"n")) << c.text;
        EXPECT_EQ(W(doc.GetText()), c.expected) << c.text;
        EXPECT_EQ(W(doc.GetElementName(doc.GetCurrentPos())), L"n");
        EXPECT_EQ(W(doc.GetElementName(doc.GetParentPos())), c.parent);
        EXPECT_TRUE(MatchesFreshParse(doc)) << c.text;
        XmlElementRecord p;
        doc.GetRecord(doc.GetParentPos(), p);
        EXPECT_FALSE(p.flags & XmlElementRecord::kUnended) << c.text;
    }
}

TEST(XmlBuild, AddElementAfterTheCurrentOne)
{
    const struct {
        const wchar_t* text;
        bool lineBreaks;
        const wchar_t* expected;
    } cases[] = {
        // White space up to the next tag is stepped over, so lines stay whole.
        {L"<r>\r\n<a/>\r\n<b/>\r\n</r>", true, L"<r>\r\n<a/>\r\n<n/>\r\n<b/>\r\n</r>"},
        {L"<r>\r\n<a/>  \r\n<b/></r>", true, L"<r>\r\n<a/>  \r\n<n/>\r\n<b/></r>"},
        {L"<r><a/>text<b/></r>", true, L"<r><a/><n/>\r\ntext<b/></r>"},
        {L"<r><a></a><b/></r>", false, L"<r><a></a><n/><b/></r>"},
    };
    for (const auto& c : cases) {
        XmlDoc doc(c.text);
        ASSERT_TRUE(doc.FindElement(L"r"));
        ASSERT_TRUE(doc.Descend());
        ASSERT_TRUE(doc.FindElement(L"a"));
        ASSERT_TRUE(doc.AddElement(L"n", c.lineBreaks));
        EXPECT_EQ(W(doc.GetText()), c.expected) << c.text;
        EXPECT_TRUE(MatchesFreshParse(doc)) << c.text;
        // The new element is current, and the search goes on after it.
        ASSERT_TRUE(doc.FindElement(nullptr));
        EXPECT_EQ(W(doc.GetElementName(doc.GetCurrentPos())), L"b");
    }
}

TEST(XmlBuild, SetAttributeInsertsAndReplaces)
{
    const struct {
        const wchar_t* text;
        const wchar_t* name;
        const wchar_t* value;
        const wchar_t* expected;
    } cases[] = {
        {L"<a/>", L"x", L"1", L"<a x=\"1\"/>"},
        {L"<a />", L"x", L"1", L"<a x=\"1\" />"},
        {L"<a></a>", L"x", L"1", L"<a x=\"1\"></a>"},
        {L"<a y='2'\r\n></a>", L"x", L"1", L"<a y='2' x=\"1\"\r\n></a>"},
        // Only the value changes, quotes included; an unquoted value gets them.
        {L"<a x='old' y='2'/>", L"x", L"new", L"<a x=\"new\" y='2'/>"},
        {L"<a x = old y='2'/>", L"x", L"n", L"<a x = \"n\" y='2'/>"},
        {L"<a xx='1' x='2'/>", L"x", L"3", L"<a xx='1' x=\"3\"/>"},
        // A name without a value gets one; an '=' without a value gets it too.
        {L"<a w y='2'/>", L"w", L"v", L"<a w=\"v\" y='2'/>"},
        {L"<a w=></a>", L"w", L"v", L"<a w=\"v\"></a>"},
        {L"<a/>", L"x", L"<&>'\"", L"<a x=\"&lt;&amp;&gt;&apos;&quot;\"/>"},
    };
    for (const auto& c : cases) {
        XmlDoc doc(c.text);
        ASSERT_TRUE(doc.FindElement(L"a")) << c.text;
        ASSERT_TRUE(doc.SetAttribute(c.name, c.value)) << c.text;
        EXPECT_EQ(W(doc.GetText()), c.expected) << c.text;
        EXPECT_EQ(W(doc.GetAttribute(c.name)), c.value) << c.text;
        XmlElementRecord a;
        doc.GetRecord(1, a);
        EXPECT_EQ(a.length, doc.GetTextLength()) << c.text;
    }

    // An unclosed quote does not carry the edit past the end of the tag.
    XmlDoc open(L"<a 'x></a>");
    ASSERT_TRUE(open.FindElement(L"a"));
    ASSERT_TRUE(open.SetAttribute(L"y", L"1"));
    EXPECT_EQ(W(open.GetText()), L"<a 'x y=\"1\"></a>");
    EXPECT_TRUE(IndexIsConsistent(open));

    XmlDoc doc(L"<a/>");
    EXPECT_FALSE(doc.SetAttribute(L"x", L"1"));  // no current element
    EXPECT_FALSE(doc.SetAttribute(1, L"x", L"1"));
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_FALSE(doc.SetAttribute(L"", L"1"));
    EXPECT_FALSE(doc.SetAttribute(nullptr, L"1"));
    EXPECT_EQ(W(doc.GetText()), L"<a/>");
}

TEST(XmlBuild, SeriesOfEditsKeepsTheIndexEqualToAFreshParse)
{
    XmlDoc doc(L"<r>\r\n<a x='1'>text<b/></a>\r\n<c/>\r\n<d></d>\r\n<e>\r\n<f/>\r\n</e>\r\n</r>\r\n<!-- tail -->");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindElement(L"a"));
    const int a = doc.GetCurrentPos();
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindElement(L"b"));
    ASSERT_TRUE(doc.SetAttribute(L"y", L"a longer value"));
    ASSERT_TRUE(doc.AddElement(L"b2"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"deep"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.Ascend());
    EXPECT_EQ(doc.GetCurrentPos(), a);
    ASSERT_TRUE(doc.SetAttribute(L"x", L"shorter"));
    ASSERT_TRUE(doc.SetAttribute(L"x", L""));
    ASSERT_TRUE(doc.FindElement(L"c"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"c1"));
    ASSERT_TRUE(doc.AddElement(L"c2"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.FindElement(L"d"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"d1"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.FindElement(L"e"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"e0"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.AddElement(L"g"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.SetAttribute(L"version", 2));

    EXPECT_EQ(W(doc.GetText()),
              L"<r version=\"2\">\r\n<a x=\"\">text<b y=\"a longer value\"/><b2>\r\n<deep/>\r\n</b2>\r\n</a>\r\n"
              L"<c>\r\n<c1/>\r\n<c2/>\r\n</c>\r\n<d>\r\n<d1/>\r\n</d>\r\n<e>\r\n<f/>\r\n<e0/>\r\n</e>\r\n<g/>\r\n"
              L"</r>\r\n<!-- tail -->");
    EXPECT_TRUE(MatchesFreshParse(doc));
}

TEST(XmlBuild, LongTagsKeepTheirFullLength)
{
    // Longer than a 22-bit start-tag field and a 10-bit end-tag field can hold.
    const std::wstring value(4200000, L'v');
    const std::wstring name(2000, L'n');
    const std::wstring text = L"<r><a x='" + value + L"'><b/></a><" + name + L"></" + name + L"><c/></r>";
    XmlDoc doc(text.c_str());
    EXPECT_EQ(W(doc.GetResult()), L"");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetAttribute(L"x").GetLength(), 4200000);
    XmlElementRecord a;
    doc.GetRecord(doc.GetCurrentPos(), a);
    EXPECT_EQ(a.startTagLength, 4200000 + 8);
    ASSERT_TRUE(doc.FindElement(name.c_str()));
    XmlElementRecord n;
    doc.GetRecord(doc.GetCurrentPos(), n);
    EXPECT_EQ(n.endTagLength, 2003);
    ASSERT_TRUE(doc.FindElement(L"c"));

    // Edits on and after such tags keep the index right.
    ASSERT_TRUE(doc.FindElement(nullptr) == false);
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement(L"z"));
    EXPECT_TRUE(MatchesFreshParse(doc));
}

TEST(XmlBuild, IndexGrowsAcrossPages)
{
    // More elements than one page holds, added one by one.
    XmlDoc doc(kDeclaration);
    ASSERT_TRUE(doc.AddElement(L"list"));
    ASSERT_TRUE(doc.Descend());
    const int count = XmlDoc::kRecordsPerPage * 2 + 100;
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(doc.AddElement(L"i"));
    ASSERT_TRUE(doc.SetAttribute(L"last", 1));
    EXPECT_EQ(doc.GetRecordCount(), count + 2);
    EXPECT_TRUE(MatchesFreshParse(doc));
}

// ---- result text ---------------------------------------------------------------------

TEST(XmlResult, EntriesAreEscapedUpdatedAndCapped)
{
    std::wstring results;
    XmlDoc::AddResult(results, L"read", {{L"encoding", L""}, {L"length", 12}});
    XmlDoc::AddResult(results, L"file_error", {{L"msg", L"a \"b\" <c>"}, {L"n", 5}});
    XmlDoc::AddResult(results, L"bom");
    EXPECT_EQ(results, L"<read encoding=\"\" length=\"12\"/><file_error msg=\"a &quot;b&quot; &lt;c&gt;\" n=\"5\"/><bom/>");

    XmlDoc::UpdateResult(results, L"read", L"encoding", L"UTF-8");
    XmlDoc::UpdateResult(results, L"missing", L"encoding", L"x");
    EXPECT_EQ(results, L"<read encoding=\"UTF-8\" length=\"12\"/><file_error msg=\"a &quot;b&quot; &lt;c&gt;\" n=\"5\"/><bom/>");

    // Entries stop once the text has reached 1,000 characters.
    while (results.size() < static_cast<size_t>(XmlDoc::kResultLimit))
        XmlDoc::AddResult(results, L"nulls_removed", {{L"count", 7}});
    const std::wstring full = results;
    XmlDoc::AddResult(results, L"bom");
    EXPECT_EQ(results, full);
}

}  // namespace
