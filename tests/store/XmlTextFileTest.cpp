// Reading and writing XML text files: byte-order marks, declared and detected
// encodings, result entries, and saving that never damages the old file.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/store/XmlDoc.h"
#include "tests/store/XmlTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using testsupport::TempFolder;

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return "<missing>";
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

std::string Utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (wchar_t c : text) {
        const char lo = static_cast<char>(c & 0xFF);
        const char hi = static_cast<char>((c >> 8) & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

std::wstring N(size_t n)
{
    return std::to_wstring(n);
}

const std::wstring kSample = L"<a v='\x00E9\x20AC\xD83D\xDE00'>\r\n<b/>\r\n</a>\r\n";

TEST(XmlTextFile, ByteOrderMarksReadAndSaveBack)
{
    const std::string utf8 = Utf8(kSample);
    const struct {
        int kind;
        std::string bytes;
        std::wstring readResult;
        std::wstring writeResult;
    } cases[] = {
        {XmlDoc::kBomUtf8, "\xEF\xBB\xBF" + utf8,
         L"<bom/><read encoding=\"UTF-8\" length=\"" + N(utf8.size()) + L"\"/><converted_to encoding=\"UTF-16\" length=\"" +
             N(kSample.size()) + L"\"/>",
         L"<bom/><converted_from encoding=\"UTF-16\" length=\"" + N(kSample.size()) +
             L"\"/><write encoding=\"UTF-8\" length=\"" + N(utf8.size()) + L"\"/>"},
        {XmlDoc::kBomUtf16LE, "\xFF\xFE" + Utf16(kSample, false),
         L"<bom/><read encoding=\"UTF-16LE\" length=\"" + N(kSample.size()) + L"\"/>",
         L"<bom/><write encoding=\"UTF-16LE\" length=\"" + N(kSample.size()) + L"\"/>"},
        {XmlDoc::kBomUtf16BE, "\xFE\xFF" + Utf16(kSample, true),
         L"<bom/><read encoding=\"UTF-16BE\" length=\"" + N(kSample.size()) + L"\"/><endian_swap/>",
         L"<bom/><endian_swap/><write encoding=\"UTF-16BE\" length=\"" + N(kSample.size()) + L"\"/>"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteBytes(folder.File(L"in.xml"), c.bytes);
        XmlDoc doc;
        ASSERT_TRUE(doc.Load(folder.File(L"in.xml").c_str())) << c.kind << " " << W(doc.GetResult());
        EXPECT_EQ(W(doc.GetText()), kSample) << c.kind;
        EXPECT_EQ(W(doc.GetResult()), c.readResult) << c.kind;
        EXPECT_EQ(doc.GetFlags(), c.kind);
        ASSERT_TRUE(doc.FindElement(L"a"));
        EXPECT_EQ(W(doc.GetAttribute(L"v")), L"\x00E9\x20AC\xD83D\xDE00");

        // Saved with the same mark and byte order.
        ASSERT_TRUE(doc.Save(folder.File(L"out.xml").c_str()));
        EXPECT_EQ(ReadBytes(folder.File(L"out.xml")), c.bytes) << c.kind;
        EXPECT_EQ(W(doc.GetResult()), c.writeResult) << c.kind;
    }
}

TEST(XmlTextFile, NewDocumentWithBigEndianFlagWritesBigEndian)
{
    TempFolder folder;
    XmlDoc doc(L"<a/>");
    doc.SetFlags(XmlDoc::kBomUtf16BE);
    ASSERT_TRUE(doc.Save(folder.File(L"be.xml").c_str()));
    EXPECT_EQ(ReadBytes(folder.File(L"be.xml")), std::string("\xFE\xFF\0<\0a\0/\0>", 10));
}

TEST(XmlTextFile, MarkAloneIsAnEmptyDocument)
{
    TempFolder folder;
    WriteBytes(folder.File(L"bom.xml"), "\xEF\xBB\xBF");
    XmlDoc doc;
    EXPECT_FALSE(doc.Load(folder.File(L"bom.xml").c_str()));
    EXPECT_EQ(W(doc.GetResult()), L"<bom/><read encoding=\"UTF-8\" length=\"0\"/>");
    EXPECT_EQ(doc.GetTextLength(), 0);
}

TEST(XmlTextFile, EncodingWithoutAMark)
{
    wchar_t ansiE9[2] = {};
    MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, ansiE9, 1);
    const struct {
        const char* name;
        std::string bytes;
        std::wstring text;
        const wchar_t* encoding;  // of the read entry
        bool tested;              // a utf8_detection entry
    } cases[] = {
        {"declared latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\x80\xE9\"/>",
         L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\x0080\x00E9\"/>", L"ISO-8859-1", false},
        {"declared shift-jis", "<?xml encoding='Shift_JIS'?><a v='\x82\xA0'/>",
         L"<?xml encoding='Shift_JIS'?><a v='\x3042'/>", L"Shift_JIS", false},
        {"html meta", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">"
                      "<title>\x82\xA0</title></head></html>",
         L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">"
         L"<title>\x3042</title></head></html>",
         L"shift_jis", false},
        {"leading '<' is UTF-8", "<a>\xC3\xA9</a>", L"<a>\x00E9</a>", L"UTF-8", false},
        {"valid UTF-8 found by testing", " <a>\xC3\xA9</a>", L" <a>\x00E9</a>", L"UTF-8", true},
        {"neither: the ANSI code page", " <a>\xE9</a>", std::wstring(L" <a>") + ansiE9[0] + L"</a>", L"", true},
        {"unknown name: the ANSI code page", "<?xml encoding='x-none'?><a>\xE9</a>",
         std::wstring(L"<?xml encoding='x-none'?><a>") + ansiE9[0] + L"</a>", L"x-none", false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteBytes(folder.File(L"f.xml"), c.bytes);
        CString text;
        CString result;
        int flags = XmlDoc::kBomUtf8;  // left over from an earlier read: cleared
        ASSERT_TRUE(XmlDoc::ReadTextFile(text, &result, folder.File(L"f.xml").c_str(), &flags)) << c.name;
        EXPECT_EQ(W(text), c.text) << c.name;
        EXPECT_EQ(flags, 0) << c.name;
        EXPECT_EQ(W(result), L"<read encoding=\"" + std::wstring(c.encoding) + L"\" length=\"" + N(c.bytes.size()) +
                                 L"\"/>" + (c.tested ? L"<utf8_detection/>" : L"") +
                                 L"<converted_to encoding=\"UTF-16\" length=\"" + N(c.text.size()) + L"\"/>")
            << c.name;
    }
}

TEST(XmlTextFile, InvalidUtf8AfterLeadingTagStaysUtf8)
{
    TempFolder folder;
    WriteBytes(folder.File(L"f.xml"), "<a>\xE9</a>");
    XmlDoc doc;
    EXPECT_TRUE(doc.Load(folder.File(L"f.xml").c_str()));
    EXPECT_EQ(W(doc.GetResult()).find(L"<read encoding=\"UTF-8\" length=\"8\"/><converted_to"), 0u);
    EXPECT_EQ(W(doc.GetText()).find(L'\x00E9'), std::wstring::npos);
}

TEST(XmlTextFile, UnconvertibleFileFailsInsteadOfReadingEmpty)
{
    // Bytes cannot be read as the "UTF-16" they declare without a mark: the
    // read fails and says why rather than giving an empty text.
    TempFolder folder;
    WriteBytes(folder.File(L"f.xml"), "<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>");
    XmlDoc doc;
    EXPECT_FALSE(doc.Load(folder.File(L"f.xml").c_str()));
    EXPECT_EQ(doc.GetTextLength(), 0);
    const std::wstring result = W(doc.GetResult());
    EXPECT_EQ(result.find(L"<read encoding=\"utf-16\" length=\"43\"/><file_error msg=\""), 0u) << result;
    EXPECT_NE(result.find(L"n=\"87\"/>"), std::wstring::npos) << result;
}

TEST(XmlTextFile, NulUnitsAreDropped)
{
    TempFolder folder;
    WriteBytes(folder.File(L"a.xml"), std::string("<a>\0x\0</a>", 10));
    WriteBytes(folder.File(L"w.xml"), "\xFF\xFE" + Utf16(std::wstring(L"<a>\0</a>", 8), false));
    XmlDoc doc;
    ASSERT_TRUE(doc.Load(folder.File(L"a.xml").c_str()));
    EXPECT_EQ(W(doc.GetText()), L"<a>x</a>");
    EXPECT_EQ(W(doc.GetResult()), L"<read encoding=\"UTF-8\" length=\"10\"/><nulls_removed count=\"2\"/>"
                                  L"<converted_to encoding=\"UTF-16\" length=\"8\"/>");
    ASSERT_TRUE(doc.Load(folder.File(L"w.xml").c_str()));
    EXPECT_EQ(W(doc.GetText()), L"<a></a>");
    EXPECT_EQ(W(doc.GetResult()), L"<bom/><read encoding=\"UTF-16LE\" length=\"8\"/><nulls_removed count=\"1\"/>");
}

TEST(XmlTextFile, MissingFile)
{
    TempFolder folder;
    WriteBytes(folder.File(L"good.xml"), "<a><b/></a>");
    XmlDoc doc;
    ASSERT_TRUE(doc.Load(folder.File(L"good.xml").c_str()));
    doc.SetFlags(XmlDoc::kBomUtf16BE);

    EXPECT_FALSE(doc.Load(folder.File(L"missing.xml").c_str()));
    EXPECT_EQ(doc.GetTextLength(), 0);
    EXPECT_EQ(doc.GetFlags(), XmlDoc::kBomUtf16BE);  // left alone
    const std::wstring result = W(doc.GetResult());
    const std::wstring head = L"<file_error msg=\"";
    const std::wstring tail = L"\" n=\"2\"/>";
    ASSERT_GT(result.size(), head.size() + tail.size()) << result;
    EXPECT_EQ(result.compare(0, head.size(), head), 0) << result;
    EXPECT_EQ(result.compare(result.size() - tail.size(), tail.size(), tail), 0) << result;
    EXPECT_EQ(result.find_first_of(L"\r\n"), std::wstring::npos);
    // Nothing of the earlier document can be reached any more.
    EXPECT_FALSE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetRecordCount(), 1);
}

TEST(XmlTextFile, SaveConvertsToTheDeclaredEncoding)
{
    const struct {
        const wchar_t* text;
        std::string bytes;
        const wchar_t* encoding;
        bool loss;
    } cases[] = {
        {L"<a v='\x00E9\x3042'/>", "<a v='\xC3\xA9\xE3\x81\x82'/>", L"UTF-8", false},
        {L"<?xml encoding=\"windows-1252\"?><a v='\x20AC'/>", "<?xml encoding=\"windows-1252\"?><a v='\x80'/>",
         L"windows-1252", false},
        {L"<?xml encoding=\"Shift_JIS\"?><a v='\x3042'/>", "<?xml encoding=\"Shift_JIS\"?><a v='\x82\xA0'/>",
         L"Shift_JIS", false},
        {L"<?xml encoding=\"iso-8859-1\"?><a v='\x3042'/>", "<?xml encoding=\"iso-8859-1\"?><a v='?'/>", L"iso-8859-1",
         true},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        XmlDoc doc(c.text);
        ASSERT_TRUE(doc.Save(folder.File(L"s.xml").c_str())) << c.encoding << " " << W(doc.GetResult());
        EXPECT_EQ(ReadBytes(folder.File(L"s.xml")), c.bytes) << c.encoding;
        EXPECT_EQ(W(doc.GetResult()), L"<converted_from encoding=\"UTF-16\" length=\"" + N(wcslen(c.text)) + L"\"/>" +
                                          (c.loss ? L"<conversion_loss/>" : L"") + L"<write encoding=\"" + c.encoding +
                                          L"\" length=\"" + N(c.bytes.size()) + L"\"/>")
            << c.encoding;
        EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"s.xml"});
    }
}

TEST(XmlTextFile, EmptyDocumentSavesAnEmptyFile)
{
    TempFolder folder;
    XmlDoc doc;
    ASSERT_TRUE(doc.Save(folder.File(L"e.xml").c_str()));
    EXPECT_EQ(GetFileAttributesW(folder.File(L"e.xml").c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(ReadBytes(folder.File(L"e.xml")), "");
    EXPECT_EQ(W(doc.GetResult()), L"<write encoding=\"\" length=\"0\"/>");
}

TEST(XmlTextFile, FailedSaveLeavesTheOldFile)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"keep.xml");
    WriteBytes(path, "old content");

    // No code page converts UTF-16 text into "UTF-16" bytes: nothing to write.
    XmlDoc doc(L"<?xml encoding=\"utf-16\"?><a/>");
    EXPECT_FALSE(doc.Save(path.c_str()));
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_NE(W(doc.GetResult()).find(L"<file_error msg="), std::wstring::npos);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"keep.xml"});

    // A folder that does not exist.
    XmlDoc plain(L"<a/>");
    EXPECT_FALSE(plain.Save(folder.File(L"no\\such\\folder.xml").c_str()));
    EXPECT_NE(W(plain.GetResult()).find(L"<file_error msg="), std::wstring::npos);

    // A good save replaces the file whole and leaves nothing else behind.
    ASSERT_TRUE(plain.Save(path.c_str()));
    EXPECT_EQ(ReadBytes(path), "<a/>");
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"keep.xml"});
}

TEST(XmlTextFile, ProgramFilesRoundTrip)
{
    // How the program writes its own files and reads them back.
    TempFolder folder;
    const std::wstring path = folder.File(L"profile.xml");
    XmlDoc writer;
    writer.SetText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ASSERT_TRUE(writer.AddElement(L"info"));
    ASSERT_TRUE(writer.Descend());
    ASSERT_TRUE(writer.AddElement(L"profile"));
    ASSERT_TRUE(writer.SetAttribute(L"name", L"Spiel \x00FC\x00DF \x4E2D"));
    ASSERT_TRUE(writer.WriteTextFile(path.c_str()));
    EXPECT_EQ(ReadBytes(path), Utf8(W(writer.GetText())));  // UTF-8, no mark

    XmlDoc reader;
    ASSERT_TRUE(reader.ReadTextFile(path.c_str()));
    ASSERT_TRUE(reader.Parse());
    EXPECT_EQ(W(reader.GetText()), W(writer.GetText()));
    ASSERT_TRUE(reader.FindElement(L"info"));
    ASSERT_TRUE(reader.Descend());
    ASSERT_TRUE(reader.FindElement(L"profile"));
    EXPECT_EQ(W(reader.GetAttribute(L"name")), L"Spiel \x00FC\x00DF \x4E2D");
}

}  // namespace
