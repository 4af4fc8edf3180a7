#pragma once

// Helpers for the XML tests: the element index flattened in document order
// (so that an edited document can be compared with a fresh parse of its
// text), and a check of the index's invariants for hostile input.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/store/XmlDoc.h"

inline std::wstring W(const CString& text)
{
    return text.GetStdString();
}

struct FlatElement {
    int depth;
    int start;
    int length;
    int startTagLength;
    int endTagLength;
    bool unended;
    std::wstring name;

    bool operator==(const FlatElement& o) const
    {
        return std::tie(depth, start, length, startTagLength, endTagLength, unended, name) ==
               std::tie(o.depth, o.start, o.length, o.startTagLength, o.endTagLength, o.unended, o.name);
    }
};

inline void PrintTo(const FlatElement& e, std::ostream* os)
{
    *os << "{depth " << e.depth << ", start " << e.start << ", length " << e.length << ", tags " << e.startTagLength
        << "/" << e.endTagLength << (e.unended ? ", unended" : "") << ", name length " << e.name.size() << "}";
}

// Every element reachable from the document record, in document order.
inline std::vector<FlatElement> Flatten(const XmlDoc& doc)
{
    std::vector<FlatElement> out;
    std::vector<std::pair<int, int>> stack;  // (record, depth), next to visit
    XmlElementRecord r;
    doc.GetRecord(0, r);
    if (r.firstChild)
        stack.push_back({r.firstChild, 0});
    while (!stack.empty() && out.size() <= static_cast<size_t>(doc.GetRecordCount())) {
        const auto [pos, depth] = stack.back();
        stack.pop_back();
        doc.GetRecord(pos, r);
        out.push_back({depth, r.start, r.length, r.startTagLength, r.endTagLength,
                       (r.flags & XmlElementRecord::kUnended) != 0, W(doc.GetElementName(pos))});
        if (r.nextSibling)
            stack.push_back({r.nextSibling, depth});
        if (r.firstChild)
            stack.push_back({r.firstChild, depth + 1});
    }
    return out;
}

// Links agree with each other, every element lies inside the text and inside
// its parent, siblings stand in text order, and every record is reachable.
inline ::testing::AssertionResult IndexIsConsistent(const XmlDoc& doc)
{
    const std::wstring text = W(doc.GetText());
    const int length = static_cast<int>(text.size());
    const int count = doc.GetRecordCount();
    XmlElementRecord root;
    doc.GetRecord(0, root);
    if (root.length != length)
        return ::testing::AssertionFailure() << "document length " << root.length << " for a text of " << length;

    int visited = 0;
    std::vector<int> parents{0};
    while (!parents.empty()) {
        const int parent = parents.back();
        parents.pop_back();
        XmlElementRecord p;
        doc.GetRecord(parent, p);
        const int innerStart = parent ? p.start + p.startTagLength : 0;
        const int innerEnd = parent ? p.start + p.length - p.endTagLength : length;
        int previous = 0;
        int lastEnd = innerStart;
        const int child = p.firstChild;
        if (!child)
            continue;
        for (int cur = child; cur;) {
            if (++visited > count)
                return ::testing::AssertionFailure() << "a cycle in the sibling links";
            XmlElementRecord e;
            if (!doc.GetRecord(cur, e))
                return ::testing::AssertionFailure() << "link to record " << cur << " outside the index";
            if (e.parent != parent)
                return ::testing::AssertionFailure() << "record " << cur << " has the wrong parent";
            if (previous && e.prevSibling != previous)
                return ::testing::AssertionFailure() << "record " << cur << " has the wrong previous sibling";
            if (e.start < lastEnd || e.length < 0 || e.start + e.length > innerEnd || e.start >= length ||
                text[e.start] != L'<')
                return ::testing::AssertionFailure() << "record " << cur << " lies outside its place";
            if (e.startTagLength < 2 || e.startTagLength > e.length || text[e.start + e.startTagLength - 1] != L'>')
                return ::testing::AssertionFailure() << "record " << cur << " has a bad start tag";
            if (e.endTagLength &&
                (text.compare(e.start + e.length - e.endTagLength, 2, L"</") != 0 || text[e.start + e.length - 1] != L'>'))
                return ::testing::AssertionFailure() << "record " << cur << " has a bad end tag";
            if ((e.flags & XmlElementRecord::kUnended) && (e.firstChild || e.endTagLength))
                return ::testing::AssertionFailure() << "unended record " << cur << " has content";
            lastEnd = e.start + e.length;
            if (e.firstChild)
                parents.push_back(cur);
            previous = cur;
            cur = e.nextSibling;
        }
        XmlElementRecord first;
        doc.GetRecord(child, first);
        if (first.prevSibling != previous)
            return ::testing::AssertionFailure() << "the first child of " << parent << " does not link the last";
    }
    if (visited != count - 1)
        return ::testing::AssertionFailure() << visited << " of " << count - 1 << " records reachable";
    return ::testing::AssertionSuccess();
}
