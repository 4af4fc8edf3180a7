// Moving an XmlDoc between a file and memory, and finding the encoding that a
// text declares.

#include "app/store/XmlDoc.h"

#include <cwchar>
#include <new>

#include "app/store/XmlChars.h"
#include "app/store/XmlTextFile.h"
#include "app/store/XmlToken.h"

namespace {

bool NameIs(const wchar_t* text, int start, int end, const wchar_t* name)
{
    int i = start;
    for (; i < end && *name; ++i, ++name) {
        if (xmlchars::FoldAscii(text[i]) != xmlchars::FoldAscii(*name))
            return false;
    }
    return i == end && !*name;
}

// The charset of <meta http-equiv="Content-Type" content="...; charset=X">,
// or empty.
std::wstring MetaCharset(const wchar_t* text, const XmlNode& node)
{
    const int from = node.start + 1;
    const int end = node.start + node.length;
    const XmlToken::Attribute kind = XmlToken::FindAttribute(text, from, end, L"http-equiv", true);
    if (!kind.found || !kind.hasValue ||
        !NameIs(text, kind.valueWord.textStart, kind.valueWord.textEnd, L"Content-Type"))
        return std::wstring();
    const XmlToken::Attribute content = XmlToken::FindAttribute(text, from, end, L"content", true);
    if (!content.found || !content.hasValue)
        return std::wstring();

    XmlToken reader(text, content.valueWord.textStart, content.valueWord.textEnd);
    XmlToken::Word word;
    int state = 0;  // 1: after "charset", 2: after "charset" "="
    while (reader.Next(word)) {
        if (state == 2)
            return std::wstring(text + word.textStart, static_cast<size_t>(word.textEnd - word.textStart));
        if (state == 1 && reader.IsEquals(word))
            state = 2;
        else
            state = !word.value && reader.WordEquals(word, L"charset", true) ? 1 : 0;
    }
    return std::wstring();
}

}  // namespace

CString XmlDoc::GetDeclaredEncoding(const wchar_t* text, int length)
{
    if (!text)
        return CString();
    if (length < 0)
        length = static_cast<int>(std::wcslen(text));
    try {
        bool html = false;
        int pos = 0;
        for (;;) {
            const XmlNode node = ParseNode(text, length, pos);
            switch (node.kind) {
            case XmlNodeKind::EndOfText:
            case XmlNodeKind::Error:
                return CString();
            case XmlNodeKind::ProcessingInstruction:
                if (node.start == 0 && NameIs(text, node.nameStart, node.nameEnd, L"xml")) {
                    const XmlToken::Attribute encoding =
                        XmlToken::FindAttribute(text, node.start + 2, node.start + node.length, L"encoding", true);
                    if (!encoding.found || !encoding.hasValue)
                        return CString();
                    // Raw: references are not decoded here.
                    return CString(text + encoding.valueWord.textStart,
                                   encoding.valueWord.textEnd - encoding.valueWord.textStart);
                }
                break;
            case XmlNodeKind::StartTag:
                if (!html) {
                    if (!NameIs(text, node.nameStart, node.nameEnd, L"html"))
                        return CString();
                    html = true;
                } else if (NameIs(text, node.nameStart, node.nameEnd, L"meta")) {
                    std::wstring charset = MetaCharset(text, node);
                    if (!charset.empty())
                        return CString(std::move(charset));
                }
                break;
            case XmlNodeKind::EndTag:
                if (NameIs(text, node.nameStart, node.nameEnd, L"head"))
                    return CString();
                break;
            default:
                break;
            }
            pos = node.start + node.length;
        }
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

bool XmlDoc::ReadFile(std::wstring& text, std::wstring& result, const wchar_t* path, int* flags)
{
    XmlTextFile file(((flags ? *flags : 0) & kBomMask) | XmlTextFile::kModeRead);
    text.clear();
    bool opened = false;
    bool ok = false;
    try {
        opened = file.Open(path);
        if (opened) {
            ok = file.ReadText(text);
            file.Close();  // a failing close is reported but changes nothing read
        }
    } catch (const std::bad_alloc&) {
        // Only an entry could not be built: the file object reports the rest.
        text.clear();
        ok = false;
    }
    file.TakeResult(result);
    if (flags && opened)
        *flags = (*flags & ~kBomMask) | file.Flags();
    return ok;
}

bool XmlDoc::WriteFile(const std::wstring& text, std::wstring& result, const wchar_t* path, int* flags)
{
    XmlTextFile file(((flags ? *flags : 0) & kBomMask) | XmlTextFile::kModeWrite);
    bool ok = false;
    try {
        ok = file.WriteText(path, text);
    } catch (const std::bad_alloc&) {
    }
    file.TakeResult(result);
    if (flags)
        *flags = (*flags & ~kBomMask) | file.Flags();
    return ok;
}

bool XmlDoc::ReadTextFile(CString& text, CString* result, const wchar_t* path, int* flags)
{
    std::wstring read;
    std::wstring entries;
    const bool ok = ReadFile(read, entries, path, flags);
    text = CString(std::move(read));  // moves: nothing is allocated here
    if (result)
        *result = CString(std::move(entries));
    return ok;
}

bool XmlDoc::WriteTextFile(const CString& text, CString* result, const wchar_t* path, int* flags)
{
    std::wstring entries;
    const bool ok = WriteFile(text.GetStdString(), entries, path, flags);
    if (result)
        *result = CString(std::move(entries));
    return ok;
}

bool XmlDoc::ReadTextFile(const wchar_t* path)
{
    const bool ok = ReadFile(m_text, m_result, path, &m_flags);
    // The old index describes a text that is gone: until the next parse the
    // document has no elements.
    m_parent = m_current = m_child = 0;
    m_nextFree = 1;
    if (m_capacity > 0)
        Rec(0) = XmlElementRecord();
    return ok;
}

bool XmlDoc::WriteTextFile(const wchar_t* path)
{
    return WriteFile(m_text, m_result, path, &m_flags);
}

bool XmlDoc::Load(const wchar_t* path)
{
    if (!ReadTextFile(path))
        return false;
    return Parse();
}

bool XmlDoc::Save(const wchar_t* path)
{
    return WriteTextFile(path);
}
