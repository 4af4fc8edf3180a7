// The node scanner and the parser that builds the element index from it.

#include "app/store/XmlDoc.h"
#include "app/store/XmlChars.h"

#include <map>
#include <new>
#include <string_view>

namespace {

using xmlchars::IsSpace;

bool IsNameStart(wchar_t c)
{
    // Takes in A-Z, '_', ':' and everything above '`' (a-z and all of
    // Unicode beyond ASCII).
    return (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c > L'`';
}

bool EndsTagName(wchar_t c)
{
    return IsSpace(c) || c == L'/' || c == L'>';
}

int FindTagNameEnd(const wchar_t* t, int length, int from)
{
    int i = from;
    while (i < length && !EndsTagName(t[i]))
        ++i;
    return i;
}

// Index just past `close` (a '>'-ended terminator such as "?>"), searching
// only after `from` so that the opening characters never complete it; -1
// when the text ends first.
int FindTerminator(const wchar_t* t, int length, int from, std::wstring_view close)
{
    const int n = static_cast<int>(close.size());
    for (int i = from + n - 1; i < length; ++i) {
        if (t[i] != L'>')
            continue;
        if (std::wstring_view(t + i - n + 1, static_cast<size_t>(n)) == close)
            return i + 1;
    }
    return -1;
}

XmlNode Unterminated(XmlNode node, int length, const wchar_t* kind)
{
    node.unterminated = kind;
    node.kind = XmlNodeKind::Error;
    node.length = length - node.start;
    return node;
}

// After a syntax error the node runs to the next '>' outside a quoted value
// (a quote opens one only after '='), or stops just before the next '<'.
XmlNode ErrorNode(XmlNode node, const wchar_t* t, int length, int from, const wchar_t* error)
{
    node.kind = XmlNodeKind::Error;
    node.error = error;
    bool afterEquals = false;
    wchar_t quote = 0;
    for (int i = from; i < length; ++i) {
        const wchar_t c = t[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == L'>') {
            node.length = i + 1 - node.start;
            return node;
        }
        if (c == L'<') {
            node.length = i - node.start;
            return node;
        }
        if (c == L'=')
            afterEquals = true;
        else if ((c == L'"' || c == L'\'') && afterEquals) {
            quote = c;
            afterEquals = false;  // a quote right after the closing one opens nothing
        } else if (!IsSpace(c))
            afterEquals = false;
    }
    return Unterminated(node, length, L"tag");
}

XmlNode ScanStartTag(XmlNode node, const wchar_t* t, int length)
{
    node.kind = XmlNodeKind::StartTag;
    node.nameStart = node.start + 1;
    node.nameEnd = FindTagNameEnd(t, length, node.nameStart);
    bool afterEquals = false;
    wchar_t quote = 0;
    int closingQuote = -1;
    for (int i = node.nameEnd; i < length; ++i) {
        const wchar_t c = t[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
                closingQuote = i;
            }
            continue;
        }
        if (c == L'>') {
            node.length = i + 1 - node.start;
            // <a/>, <a /> and <a b='1'/> are empty; in <a b=1/> the '/' is part of the value.
            if (t[i - 1] == L'/') {
                const int slash = i - 1;
                node.emptyElement = slash == node.nameEnd || IsSpace(t[slash - 1]) || slash - 1 == closingQuote;
            }
            return node;
        }
        if (c == L'=')
            afterEquals = true;
        else if ((c == L'"' || c == L'\'') && afterEquals) {
            quote = c;
            afterEquals = false;
        } else if (!IsSpace(c))
            afterEquals = false;
    }
    return Unterminated(node, length, L"start_tag");
}

XmlNode ScanDocType(XmlNode node, const wchar_t* t, int length)
{
    node.kind = XmlNodeKind::DocType;
    int i = node.start + 3;
    while (i < length) {
        const wchar_t c = t[i];
        if (c == L'>') {
            node.length = i + 1 - node.start;
            return node;
        }
        if (c != L'<') {
            ++i;
            continue;
        }
        if (i + 1 < length && t[i + 1] == L'!') {
            if (i + 2 >= length)
                return Unterminated(node, length, L"document_type");
            const wchar_t d = t[i + 2];
            if (d == L'-' && i + 3 < length && t[i + 3] == L'-') {
                const int end = FindTerminator(t, length, i + 4, L"-->");
                if (end < 0)
                    return Unterminated(node, length, L"document_type");
                i = end;
                continue;
            }
            if (d == L'-' && i + 3 >= length)
                return Unterminated(node, length, L"document_type");
            if (d == L'E' || d == L'A' || d == L'N') {
                // A quoted part of a declaration is not ended by '>'.
                wchar_t quote = 0;
                int j = i + 3;
                for (; j < length; ++j) {
                    if (quote) {
                        if (t[j] == quote)
                            quote = 0;
                    } else if (t[j] == L'"' || t[j] == L'\'') {
                        quote = t[j];
                    } else if (t[j] == L'>') {
                        break;
                    }
                }
                if (j >= length)
                    return Unterminated(node, length, L"document_type");
                i = j + 1;
                continue;
            }
            XmlNode bad = ErrorNode(node, t, length, i + 2, L"doctype_tag_syntax");
            if (bad.unterminated)
                bad.unterminated = L"document_type";
            return bad;
        }
        // Any other '<' starts a nested item read by the ordinary rules; it
        // cannot be another declaration, so this never recurses further.
        const XmlNode nested = XmlDoc::ParseNode(t, length, i);
        if (nested.kind == XmlNodeKind::Error) {
            if (nested.unterminated && !nested.error)
                return Unterminated(node, length, L"document_type");
            XmlNode bad = node;
            bad.kind = XmlNodeKind::Error;
            bad.error = nested.error;
            bad.length = nested.start + nested.length - node.start;
            if (nested.unterminated)
                bad.unterminated = L"document_type";
            return bad;
        }
        i = nested.start + nested.length;
    }
    return Unterminated(node, length, L"document_type");
}

}  // namespace

XmlNode XmlDoc::ParseNode(const wchar_t* t, int length, int pos)
{
    XmlNode node;
    node.start = pos;
    if (!t || pos < 0 || pos >= length) {
        node.kind = XmlNodeKind::EndOfText;
        return node;
    }
    if (t[pos] != L'<') {
        node.kind = XmlNodeKind::WhiteSpace;
        int i = pos;
        for (; i < length && t[i] != L'<'; ++i) {
            if (!IsSpace(t[i]))
                node.kind = XmlNodeKind::Text;
        }
        node.length = i - pos;
        return node;
    }
    if (pos + 1 >= length)
        return Unterminated(node, length, L"tag");

    const wchar_t c = t[pos + 1];
    if (IsNameStart(c))
        return ScanStartTag(node, t, length);
    if (c == L'/') {
        node.kind = XmlNodeKind::EndTag;
        node.nameStart = pos + 2;
        node.nameEnd = FindTagNameEnd(t, length, node.nameStart);
        for (int i = node.nameStart; i < length; ++i) {
            if (t[i] == L'>') {
                node.length = i + 1 - pos;
                return node;
            }
        }
        return Unterminated(node, length, L"end_tag");
    }
    if (c == L'?') {
        node.kind = XmlNodeKind::ProcessingInstruction;
        node.nameStart = pos + 2;
        int i = node.nameStart;
        while (i < length && !EndsTagName(t[i]) && t[i] != L'?')
            ++i;
        node.nameEnd = i;
        const int end = FindTerminator(t, length, pos + 2, L"?>");
        if (end < 0)
            return Unterminated(node, length, L"processing_instruction");
        node.length = end - pos;
        return node;
    }
    if (c != L'!')
        return ErrorNode(node, t, length, pos + 1, L"first_tag_syntax");

    if (pos + 2 >= length)
        return Unterminated(node, length, L"tag");
    const wchar_t d = t[pos + 2];
    if (d == L'-') {
        if (pos + 3 >= length)
            return Unterminated(node, length, L"comment");
        if (t[pos + 3] != L'-')
            return ErrorNode(node, t, length, pos + 1, L"comment_tag_syntax");
        node.kind = XmlNodeKind::Comment;
        const int end = FindTerminator(t, length, pos + 4, L"-->");
        if (end < 0)
            return Unterminated(node, length, L"comment");
        node.length = end - pos;
        return node;
    }
    if (d == L'[') {
        if (pos + 3 >= length)
            return Unterminated(node, length, L"cdata_section");
        if (t[pos + 3] != L'C')
            return ErrorNode(node, t, length, pos + 1, L"cdata_section_syntax");
        node.kind = XmlNodeKind::CData;
        const int end = FindTerminator(t, length, pos + 3, L"]]>");
        if (end < 0)
            return Unterminated(node, length, L"cdata_section");
        node.length = end - pos;
        return node;
    }
    if (d == L'D')
        return ScanDocType(node, t, length);
    return ErrorNode(node, t, length, pos + 1, L"exclamation_tag_syntax");
}

// ---- parse --------------------------------------------------------------------

namespace {

// The names of the open elements. An end tag matches a stacked name that
// begins with the end tag's name and continues with nothing or with one of
// ' ', '=', '/', '[' or ']'. The ordered multiset of open names answers "is
// there any match at all" without walking the stack, so that a flood of
// stray end tags under deep nesting stays linear.
class OpenElements {
public:
    struct Entry {
        int record;
        std::wstring_view name;
    };

    OpenElements() { m_stack.reserve(7); }

    void Push(int record, std::wstring_view name)
    {
        m_stack.push_back({record, name});
        ++m_names[name];
    }
    void Pop()
    {
        auto it = m_names.find(m_stack.back().name);
        if (--it->second == 0)
            m_names.erase(it);
        m_stack.pop_back();
    }
    size_t Size() const { return m_stack.size(); }
    const Entry& At(size_t i) const { return m_stack[i]; }

    static bool Matches(std::wstring_view stacked, std::wstring_view endName)
    {
        if (stacked.size() < endName.size() || stacked.compare(0, endName.size(), endName) != 0)
            return false;
        if (stacked.size() == endName.size())
            return true;
        const wchar_t next = stacked[endName.size()];
        return next == L' ' || next == L'=' || next == L'/' || next == L'[' || next == L']';
    }

    // Index of the topmost matching entry, or -1.
    int FindMatch(std::wstring_view endName) const
    {
        if (!AnyMatch(endName))
            return -1;
        for (size_t i = m_stack.size(); i-- > 0;) {
            if (Matches(m_stack[i].name, endName))
                return static_cast<int>(i);
        }
        return -1;
    }

private:
    bool AnyMatch(std::wstring_view endName) const
    {
        if (m_names.count(endName))
            return true;
        std::wstring probe(endName);
        probe.push_back(L' ');
        for (wchar_t follow : {L' ', L'=', L'/', L'[', L']'}) {
            probe.back() = follow;
            auto it = m_names.lower_bound(std::wstring_view(probe));
            if (it != m_names.end() && it->first.size() >= probe.size() &&
                it->first.compare(0, probe.size(), probe) == 0)
                return true;
        }
        return false;
    }

    std::vector<Entry> m_stack;
    std::map<std::wstring_view, int> m_names;
};

}  // namespace

bool XmlDoc::Parse()
{
    try {
        return ParseElement();
    } catch (const std::bad_alloc&) {
        if (m_capacity > 0)
            Rec(0).flags |= XmlElementRecord::kIllFormed;
        m_parent = m_current = m_child = 0;
        return false;
    }
}

// An element still open when an outer end tag or the end of the text arrives
// keeps only its start tag; its children move up a level and follow it.
// The element is always the last child of its parent here, so the children
// are appended to the parent's list. Each element moves at most once per
// parse, which keeps deep unended nesting linear.
void XmlDoc::CloseUnended(int element)
{
    XmlElementRecord& e = Rec(element);
    Rec(0).flags |= XmlElementRecord::kIllFormed;
    e.length = e.startTagLength;
    e.endTagLength = 0;
    e.flags |= XmlElementRecord::kUnended;

    const int parent = e.parent;
    int child = e.firstChild;
    e.firstChild = 0;
    while (child) {
        const int next = Rec(child).nextSibling;
        LinkElement(child, parent, 0);
        child = next;
    }
}

bool XmlDoc::ParseElement()
{
    m_parent = m_current = m_child = 0;
    m_nextFree = 1;
    const int length = static_cast<int>(m_text.size());
    ReserveRecords(length / 64 + 8);
    Rec(0) = XmlElementRecord();
    if (length == 0)
        return false;

    const wchar_t* t = m_text.c_str();
    OpenElements open;
    int currentParent = 0;
    int firstElement = 0;
    int pos = 0;
    for (;;) {
        const XmlNode node = ParseNode(t, length, pos);
        if (node.kind == XmlNodeKind::EndOfText)
            break;
        pos = node.start + node.length;

        switch (node.kind) {
        case XmlNodeKind::StartTag: {
            const int rec = NewRecord();
            XmlElementRecord& r = Rec(rec);
            r = XmlElementRecord();
            r.start = node.start;
            r.startTagLength = node.length;
            LinkElement(rec, currentParent, 0);
            if (!firstElement)
                firstElement = rec;
            if (node.emptyElement) {
                r.length = node.length;
            } else {
                open.Push(rec, std::wstring_view(t + node.nameStart,
                                                  static_cast<size_t>(node.nameEnd - node.nameStart)));
                currentParent = rec;
            }
            break;
        }
        case XmlNodeKind::EndTag: {
            const std::wstring_view name(t + node.nameStart, static_cast<size_t>(node.nameEnd - node.nameStart));
            const int match = open.FindMatch(name);
            if (match < 0) {
                AddEntry(L"lone_end_tag", {{L"tagname", std::wstring(name).c_str()}, {L"offset", node.start}});
                Rec(0).flags |= XmlElementRecord::kIllFormed;
                break;
            }
            // Report the unended elements innermost first, then relink them
            // outermost first so that every moved child moves only once.
            const int slash = node.start + 1;
            for (size_t i = open.Size(); i-- > static_cast<size_t>(match) + 1;) {
                const OpenElements::Entry& e = open.At(i);
                AddEntry(L"unended_start_tag", {{L"tagname", std::wstring(e.name).c_str()},
                                                {L"offset", Rec(e.record).start},
                                                {L"offset2", slash}});
            }
            for (size_t i = static_cast<size_t>(match) + 1; i < open.Size(); ++i)
                CloseUnended(open.At(i).record);
            while (open.Size() > static_cast<size_t>(match) + 1)
                open.Pop();
            const int rec = open.At(static_cast<size_t>(match)).record;
            XmlElementRecord& r = Rec(rec);
            r.length = pos - r.start;
            r.endTagLength = node.length;
            open.Pop();
            currentParent = r.parent;
            break;
        }
        case XmlNodeKind::Error:
            Rec(0).flags |= XmlElementRecord::kIllFormed;
            if (node.error)
                AddEntry(node.error, {{L"offset", node.start}});
            if (node.unterminated)
                AddEntry(L"unterminated_tag_syntax", {{L"type", node.unterminated}, {L"offset", node.start}});
            break;
        default:
            // Text, white space, CDATA, processing instructions, comments and
            // declarations have no records.
            break;
        }
    }

    for (size_t i = open.Size(); i-- > 0;) {
        const OpenElements::Entry& e = open.At(i);
        AddEntry(L"unended_start_tag", {{L"tagname", std::wstring(e.name).c_str()},
                                        {L"offset", Rec(e.record).start},
                                        {L"offset2", length}});
    }
    for (size_t i = 0; i < open.Size(); ++i)
        CloseUnended(open.At(i).record);

    XmlElementRecord& doc = Rec(0);
    doc.length = length;
    doc.firstChild = firstElement;
    if (!firstElement)
        AddEntry(L"no_root_element");
    else if (Rec(firstElement).nextSibling)
        AddEntry(L"root_has_sibling");

    m_parent = m_current = m_child = 0;
    return !(Rec(0).flags & XmlElementRecord::kIllFormed) && firstElement && !Rec(firstElement).nextSibling;
}
