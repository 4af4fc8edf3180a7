// XmlDoc: the text, the paged element index, navigation, attribute access,
// in-place edits and the result text.

#include "app/store/XmlDoc.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "app/store/XmlChars.h"
#include "app/store/XmlToken.h"

using xmlchars::IsSpace;

namespace {

constexpr wchar_t kLineBreak[] = L"\r\n";

// The words of a start tag end before its closing '>': an unclosed quote
// then never carries an edit past the tag.
int TagContentEnd(const XmlElementRecord& e)
{
    return e.start + e.startTagLength - 1;
}

bool EndsElementName(wchar_t c)
{
    switch (c) {
    case L' ': case L'\t': case L'\n': case L'\r': case L'<': case L'>': case L'=': case L'\\':
    case L'/': case L'?': case L'!': case L'"': case L'\'': case L';':
        return true;
    default:
        return false;
    }
}

}  // namespace

XmlDoc::XmlDoc()
{
    SetText(nullptr);
}

XmlDoc::XmlDoc(const wchar_t* text)
{
    SetText(text);
}

XmlDoc::~XmlDoc() = default;

// ---- index ---------------------------------------------------------------------

void XmlDoc::ReserveRecords(int capacity)
{
    if (capacity <= m_capacity)
        return;
    const size_t page = static_cast<size_t>(kRecordsPerPage);
    const size_t pagesNeeded = (static_cast<size_t>(capacity) - 1) / page + 1;
    if (pagesNeeded > m_pages.capacity())
        m_pages.reserve(2 * (pagesNeeded - 1) + 4);
    for (size_t k = 0; k < pagesNeeded; ++k) {
        const size_t want = std::min(page, static_cast<size_t>(capacity) - k * page);
        size_t have = 0;
        if (k < m_pages.size())
            have = std::min(page, static_cast<size_t>(m_capacity) - k * page);
        if (want <= have)
            continue;
        auto fresh = std::make_unique<XmlElementRecord[]>(want);
        if (have)
            std::copy(m_pages[k].get(), m_pages[k].get() + have, fresh.get());
        if (k < m_pages.size())
            m_pages[k] = std::move(fresh);
        else
            m_pages.push_back(std::move(fresh));
    }
    m_capacity = capacity;
}

// One growth step takes 1.5 times the capacity, but never beyond the end of
// the page after the current last one, so that it copies at most one page.
bool XmlDoc::GrowRecords()
{
    const int64_t lastPage = (static_cast<int64_t>(m_capacity) - 1) / kRecordsPerPage;
    int64_t wanted = std::max<int64_t>(int64_t(m_capacity) * 3 / 2, int64_t(m_capacity) + 8);
    wanted = std::min<int64_t>(wanted, (lastPage + 2) * kRecordsPerPage);
    if (wanted > INT32_MAX)
        return false;
    ReserveRecords(static_cast<int>(wanted));
    return true;
}

int XmlDoc::NewRecord()
{
    if (m_nextFree >= m_capacity && !GrowRecords())
        throw std::bad_alloc();
    const int rec = m_nextFree++;
    Rec(rec) = XmlElementRecord();
    return rec;
}

void XmlDoc::FreeIndex()
{
    std::vector<std::unique_ptr<XmlElementRecord[]>>().swap(m_pages);
    m_capacity = 0;
    m_nextFree = 1;
}

bool XmlDoc::GetRecord(int pos, XmlElementRecord& record) const
{
    if (!IsRecord(pos)) {
        record = XmlElementRecord();
        return false;
    }
    record = Rec(pos);
    return true;
}

// ---- text ----------------------------------------------------------------------

CString XmlDoc::GetText() const
{
    try {
        return CString(m_text);
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

CString XmlDoc::GetResult() const
{
    try {
        return CString(m_result);
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

bool XmlDoc::SetText(const wchar_t* text)
{
    m_parent = m_current = m_child = 0;
    try {
        m_result.clear();
        if (!text) {
            std::wstring().swap(m_text);
            FreeIndex();
        } else {
            m_text.assign(text);
        }
    } catch (const std::bad_alloc&) {
        m_text.clear();
    }
    return Parse();
}

void XmlDoc::ReplaceText(int pos, int removed, const std::wstring& inserted)
{
    const size_t needed = m_text.size() - static_cast<size_t>(removed) + inserted.size();
    if (needed > m_text.capacity())
        m_text.reserve(needed + needed / 2 + 128);
    m_text.replace(static_cast<size_t>(pos), static_cast<size_t>(removed), inserted);
}

// The name as the scanner reads it from a start tag. An end tag written with
// it always matches its start tag, whatever characters the name holds.
std::wstring XmlDoc::TagName(int pos) const
{
    const XmlElementRecord& e = Rec(pos);
    const size_t from = static_cast<size_t>(e.start) + 1;
    size_t i = from;
    while (i < m_text.size() && !IsSpace(m_text[i]) && m_text[i] != L'/' && m_text[i] != L'>')
        ++i;
    return m_text.substr(from, i - from);
}

std::wstring XmlDoc::ElementName(int pos) const
{
    if (pos <= 0 || !IsRecord(pos))
        return std::wstring();
    const size_t length = m_text.size();
    size_t i = static_cast<size_t>(Rec(pos).start) + 1;
    while (i < length && IsSpace(m_text[i]))
        ++i;
    if (i >= length)
        return std::wstring();
    const size_t from = i++;
    while (i < length && !EndsElementName(m_text[i]))
        ++i;
    return m_text.substr(from, i - from);
}

CString XmlDoc::GetElementName(int pos) const
{
    try {
        return CString(ElementName(pos));
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

// ---- navigation ------------------------------------------------------------------

// The first step of a relative path such as "a/b[2][@c='d']/@e". Only the
// first step's name takes part in a search; the rest must merely be well
// formed. Returns false for anything that is not such a path (an absolute
// path included); `any` is set for a null or empty path.
bool XmlDoc::ParsePath(const wchar_t* path, std::wstring_view& firstName, bool& any)
{
    any = false;
    if (!path || !*path) {
        any = true;
        return true;
    }
    if (path[0] == L'/')
        return false;

    auto endsName = [](wchar_t c) {
        return c == 0 || c == L' ' || c == L'=' || c == L'/' || c == L'[' || c == L']';
    };
    auto readName = [&](size_t& i) {
        const size_t from = i;
        while (!endsName(path[i]))
            ++i;
        return i > from;
    };

    size_t i = 0;
    bool first = true;
    for (;;) {
        if (path[i] == L'@') {
            // An attribute may only be the last step, after a '/'.
            ++i;
            if (first || !readName(i))
                return false;
            return path[i] == 0;
        }
        const size_t nameStart = i;
        if (!readName(i))
            return false;
        if (first)
            firstName = std::wstring_view(path + nameStart, i - nameStart);
        while (path[i] == L'[') {
            ++i;
            if (path[i] >= L'1' && path[i] <= L'9') {
                while (path[i] >= L'0' && path[i] <= L'9')
                    ++i;
            } else if (path[i] == L'@') {
                ++i;
                if (!readName(i))
                    return false;
                if (path[i] == L'=') {
                    ++i;
                    const wchar_t quote = path[i];
                    if (quote == L'"' || quote == L'\'') {
                        ++i;
                        while (path[i] && path[i] != quote)
                            ++i;
                        if (!path[i])
                            return false;
                        ++i;
                    } else {
                        while (path[i] && path[i] != L']')
                            ++i;
                    }
                }
            } else if (!readName(i)) {
                return false;
            }
            if (path[i] != L']')
                return false;
            ++i;
        }
        if (path[i] == 0)
            return true;
        if (path[i] != L'/')
            return false;
        ++i;
        if (path[i] == 0)
            return false;
        first = false;
    }
}


bool XmlDoc::FindElement(const wchar_t* name)
{
    std::wstring_view wanted;
    bool any = false;
    if (!ParsePath(name, wanted, any))
        return false;
    const int found = FindNextMatch(wanted, any);
    if (!found)
        return false;
    m_parent = Rec(found).parent;
    m_current = found;
    m_child = 0;
    return true;
}

int XmlDoc::FindNextMatch(std::wstring_view name, bool any) const
{
    int candidate = m_current ? Rec(m_current).nextSibling : Rec(m_parent).firstChild;
    for (; candidate; candidate = Rec(candidate).nextSibling) {
        if (any)
            return candidate;
        // Compare in place: a search must not allocate per candidate.
        const size_t length = m_text.size();
        size_t i = static_cast<size_t>(Rec(candidate).start) + 1;
        while (i < length && IsSpace(m_text[i]))
            ++i;
        const size_t from = i;
        if (i < length)
            ++i;
        while (i < length && !EndsElementName(m_text[i]))
            ++i;
        if (std::wstring_view(m_text.data() + from, i - from) == name)
            return candidate;
    }
    return 0;
}

bool XmlDoc::Descend()
{
    if (!m_current)
        return false;
    m_parent = m_current;
    m_current = m_child;
    m_child = 0;
    return true;
}

bool XmlDoc::Ascend()
{
    if (!m_parent)
        return false;
    m_child = m_current;
    m_current = m_parent;
    m_parent = Rec(m_current).parent;
    return true;
}

// ---- attributes -----------------------------------------------------------------

CString XmlDoc::GetAttribute(const wchar_t* name) const
{
    return GetAttributeAt(m_current, name);
}

CString XmlDoc::GetAttributeAt(int pos, const wchar_t* name) const
{
    if (pos <= 0 || !m_current || !IsRecord(pos))
        return CString();
    const XmlElementRecord& e = Rec(pos);
    const XmlToken::Attribute attr =
        XmlToken::FindAttribute(m_text.c_str(), e.start + 1, TagContentEnd(e), name);
    if (!attr.found)
        return CString();
    // A name without a value stands as its own value.
    if (!attr.hasValue)
        return UnescapeText(m_text.c_str() + attr.nameStart, attr.nameEnd - attr.nameStart);
    return UnescapeText(m_text.c_str() + attr.valueWord.textStart,
                        attr.valueWord.textEnd - attr.valueWord.textStart);
}

bool XmlDoc::SetAttribute(int pos, const wchar_t* name, const wchar_t* value)
{
    if (pos <= 0 || !m_current || !IsRecord(pos) || !name || !*name)
        return false;
    try {
        return DoSetAttribute(pos, name, value ? value : L"");
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool XmlDoc::SetAttribute(int pos, const wchar_t* name, int value)
{
    wchar_t digits[16];
    swprintf(digits, 16, L"%d", value);
    return SetAttribute(pos, name, digits);
}

bool XmlDoc::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    return SetAttribute(m_current, name, value);
}

bool XmlDoc::SetAttribute(const wchar_t* name, int value)
{
    return SetAttribute(m_current, name, value);
}

bool XmlDoc::DoSetAttribute(int pos, const wchar_t* name, const wchar_t* value)
{
    const XmlElementRecord& e = Rec(pos);
    const XmlToken::Attribute attr =
        XmlToken::FindAttribute(m_text.c_str(), e.start + 1, TagContentEnd(e), name);
    const CString escaped = EscapeText(value, true);

    std::wstring inserted;
    int at = 0;
    int removed = 0;
    if (attr.found && attr.hasValue) {
        at = attr.valueWord.start;
        removed = attr.valueWord.end - attr.valueWord.start;
    } else if (attr.found) {
        // A name standing without a value gets one right after it.
        at = attr.nameEnd;
        inserted = L"=";
    } else {
        at = attr.lastWordEnd;
        inserted = L" ";
        inserted += name;
        inserted += L'=';
    }
    inserted += L'"';
    inserted += escaped.GetStdString();
    inserted += L'"';

    ReplaceText(at, removed, inserted);
    const int change = static_cast<int>(inserted.size()) - removed;
    XmlElementRecord& edited = Rec(pos);
    edited.startTagLength += change;
    edited.length += change;
    AdjustPositions(pos, change);
    return true;
}

// ---- building -------------------------------------------------------------------

bool XmlDoc::AddElement(const wchar_t* name, bool lineBreaks)
{
    if (!name || !*name)
        return false;
    const int parent = m_parent;
    const int after = m_current;
    int change = 0;
    int element = 0;
    try {
        element = PlaceNewElement(name, lineBreaks, change);
    } catch (const std::bad_alloc&) {
        return false;
    }
    LinkElement(element, parent, after);
    AdjustPositions(element, change);
    m_parent = parent;
    m_current = element;
    m_child = 0;
    return true;
}

int XmlDoc::PlaceNewElement(const wchar_t* name, bool lineBreaks, int& change)
{
    const std::wstring element = std::wstring(L"<") + name + L"/>";
    const std::wstring lineBreak = lineBreaks ? kLineBreak : L"";
    const int parent = m_parent;
    const int after = m_current;

    // Everything that allocates comes before the text changes, so that a
    // failure leaves the document as it was.
    const std::wstring parentName = parent ? TagName(parent) : std::wstring();

    std::wstring inserted;
    int at = 0;
    int removed = 0;
    int offset = 0;  // of the new element within `inserted`
    const XmlElementRecord& p = Rec(parent);
    if (after) {
        const XmlElementRecord& a = Rec(after);
        at = a.start + a.length;
        if (lineBreaks) {
            size_t j = static_cast<size_t>(at);
            while (j < m_text.size() && IsSpace(m_text[j]))
                ++j;
            if (j == m_text.size() || m_text[j] == L'<')
                at = static_cast<int>(j);
        }
        inserted = element + lineBreak;
    } else if (parent == 0) {
        at = static_cast<int>(m_text.size());
        inserted = element + lineBreak;
    } else if (p.flags & XmlElementRecord::kUnended) {
        // <p ...> without an end tag: the new element and "</p" go before the
        // old '>', which then closes the new end tag.
        at = p.start + p.startTagLength - 1;
        inserted = L">" + lineBreak + element + lineBreak + L"</" + parentName;
        offset = 1 + static_cast<int>(lineBreak.size());
    } else if (p.endTagLength == 0) {
        // <p/>: the '/' gives way to the same text.
        at = p.start + p.startTagLength - 2;
        removed = 1;
        inserted = L">" + lineBreak + element + lineBreak + L"</" + parentName;
        offset = 1 + static_cast<int>(lineBreak.size());
    } else if (p.length == p.startTagLength + p.endTagLength) {
        at = p.start + p.startTagLength;
        inserted = lineBreak + element + lineBreak;
        offset = static_cast<int>(lineBreak.size());
    } else {
        at = p.start + p.length - p.endTagLength;
        inserted = element + lineBreak;
    }

    const int rec = NewRecord();  // may move the last index page: `p` is not used below
    try {
        ReplaceText(at, removed, inserted);
    } catch (const std::bad_alloc&) {
        --m_nextFree;
        throw;
    }

    if (parent && after == 0) {
        XmlElementRecord& changed = Rec(parent);
        if (changed.flags & XmlElementRecord::kUnended) {
            changed.flags &= ~XmlElementRecord::kUnended;
            changed.endTagLength = static_cast<int>(parentName.size()) + 3;
        } else if (changed.endTagLength == 0) {
            changed.startTagLength -= 1;
            changed.endTagLength = static_cast<int>(parentName.size()) + 3;
        }
    }

    XmlElementRecord& r = Rec(rec);
    r.start = at + offset;
    r.length = r.startTagLength = static_cast<int>(element.size());
    change = static_cast<int>(inserted.size()) - removed;
    return rec;
}

void XmlDoc::LinkElement(int element, int parent, int after)
{
    XmlElementRecord& e = Rec(element);
    XmlElementRecord& p = Rec(parent);
    e.parent = parent;
    if (!p.firstChild) {
        p.firstChild = element;
        e.prevSibling = element;  // the first child links the last
        e.nextSibling = 0;
        return;
    }
    XmlElementRecord& first = Rec(p.firstChild);
    if (!after)
        after = first.prevSibling;
    XmlElementRecord& a = Rec(after);
    e.prevSibling = after;
    e.nextSibling = a.nextSibling;
    if (a.nextSibling)
        Rec(a.nextSibling).prevSibling = element;
    else
        first.prevSibling = element;
    a.nextSibling = element;
}

void XmlDoc::ShiftSubtree(int root, int change)
{
    Rec(root).start += change;
    int cur = Rec(root).firstChild;
    while (cur) {
        Rec(cur).start += change;
        if (Rec(cur).firstChild) {
            cur = Rec(cur).firstChild;
            continue;
        }
        while (cur != root && !Rec(cur).nextSibling)
            cur = Rec(cur).parent;
        if (cur == root)
            break;
        cur = Rec(cur).nextSibling;
    }
}

// After `change` characters were inserted inside `element`: everything after
// it in document order moves, every enclosing element grows.
void XmlDoc::AdjustPositions(int element, int change)
{
    if (!change || element <= 0)
        return;
    for (int c = Rec(element).firstChild; c; c = Rec(c).nextSibling)
        ShiftSubtree(c, change);
    for (int s = Rec(element).nextSibling; s; s = Rec(s).nextSibling)
        ShiftSubtree(s, change);
    int p = Rec(element).parent;
    for (;;) {
        Rec(p).length += change;
        if (p == 0)
            break;
        for (int s = Rec(p).nextSibling; s; s = Rec(s).nextSibling)
            ShiftSubtree(s, change);
        p = Rec(p).parent;
    }
}

// ---- result text -------------------------------------------------------------------

void XmlDoc::AddResult(std::wstring& results, const wchar_t* entry, std::initializer_list<XmlResultAttr> attrs)
{
    if (results.size() >= static_cast<size_t>(kResultLimit) || !entry)
        return;
    try {
        std::wstring text = L"<";
        text += entry;
        for (const XmlResultAttr& attr : attrs) {
            text += L' ';
            text += attr.name;
            text += L"=\"";
            text += EscapeText(attr.value.c_str(), true).GetStdString();
            text += L'"';
        }
        text += L"/>";
        results += text;
    } catch (const std::bad_alloc&) {
    }
}

void XmlDoc::UpdateResult(std::wstring& results, const wchar_t* entry, const wchar_t* attrName, const wchar_t* value)
{
    try {
        XmlDoc doc(results.c_str());
        if (doc.FindElement(entry) && doc.SetAttribute(attrName, value))
            results = doc.m_text;
    } catch (const std::bad_alloc&) {
    }
}

void XmlDoc::AddEntry(const wchar_t* entry, std::initializer_list<XmlResultAttr> attrs)
{
    AddResult(m_result, entry, attrs);
}
