#pragma once

// XmlDoc: one XML document held as its UTF-16 text plus an index of where
// each element lies in that text. There is no tree of node objects: names and
// values are read from the text when asked for, and every edit changes the
// text in place and then corrects the index, so the text is always exactly
// what a save writes. Every XML file of the program (configuration, layouts,
// profile and macro files) is read and written through this class.
//
// Nothing here throws: failures are bool results, empty strings and
// diagnostic entries in the result text.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/CString.h"

// One element of the index. Positions and lengths count UTF-16 units.
struct XmlElementRecord {
    int32_t start = 0;           // index of the element's '<'
    int32_t length = 0;          // through the '>' of the end tag (start tag only when there is none)
    int32_t startTagLength = 0;  // full width: a long start tag must not spill into other fields
    int32_t endTagLength = 0;    // 0 for an empty-element tag and for an unended element
    uint32_t flags = 0;          // kUnended on elements, kIllFormed on record 0
    int32_t parent = 0;          // 0 for a top-level element
    int32_t firstChild = 0;
    int32_t nextSibling = 0;     // 0 for the last child
    int32_t prevSibling = 0;     // the first child links to the last one

    static constexpr uint32_t kUnended = 0x1;
    static constexpr uint32_t kIllFormed = 0x2;
};

enum class XmlNodeKind {
    EndOfText,
    Error,
    EndTag,
    StartTag,
    Text,
    WhiteSpace,
    CData,
    ProcessingInstruction,
    Comment,
    DocType,
};

// One node read by the scanner. Error nodes carry the syntax error that made
// them and, when the text ended inside the node, the kind that was cut off.
struct XmlNode {
    XmlNodeKind kind = XmlNodeKind::EndOfText;
    int start = 0;
    int length = 0;
    int nameStart = 0;   // tags and processing instructions: the name is [nameStart, nameEnd)
    int nameEnd = 0;
    bool emptyElement = false;
    const wchar_t* error = nullptr;         // entry name of a syntax error
    const wchar_t* unterminated = nullptr;  // node kind the text ended in
};

// One attribute of a result entry.
struct XmlResultAttr {
    XmlResultAttr(const wchar_t* attrName, const wchar_t* text) : name(attrName), value(text ? text : L"") {}
    XmlResultAttr(const wchar_t* attrName, int number) : name(attrName), value(std::to_wstring(number)) {}
    const wchar_t* name;
    std::wstring value;
};

class XmlDoc {
public:
    // Byte-order-mark kinds kept in the flags word.
    static constexpr int kBomUtf8 = 0x1;
    static constexpr int kBomUtf16LE = 0x2;
    static constexpr int kBomUtf16BE = 0x4;
    static constexpr int kBomMask = kBomUtf8 | kBomUtf16LE | kBomUtf16BE;

    static constexpr int kRecordsPerPage = 65536;
    // No entry is added once the result text has reached this length.
    static constexpr int kResultLimit = 1000;

    XmlDoc();
    explicit XmlDoc(const wchar_t* text);
    ~XmlDoc();
    XmlDoc(const XmlDoc&) = delete;
    XmlDoc& operator=(const XmlDoc&) = delete;

    // ---- text and index ------------------------------------------------
    // Replaces the text (null: empty, storage and index released), clears the
    // result text and parses. True when the text is well-formed with exactly
    // one top-level element.
    bool SetText(const wchar_t* text = nullptr);
    bool Parse();
    // Empty only when there is no memory for the copy.
    CString GetText() const;
    int GetTextLength() const { return static_cast<int>(m_text.size()); }
    CString GetResult() const;
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }

    // Record numbers in use are 0 (the document) to GetRecordCount() - 1.
    int GetRecordCount() const { return m_nextFree; }
    // A copy of record `pos`; false (and an empty record) outside the index.
    bool GetRecord(int pos, XmlElementRecord& record) const;
    // The name of the element at `pos`; empty outside the index and for 0.
    CString GetElementName(int pos) const;

    // ---- navigation --------------------------------------------------------
    // Moves to the next element after the current one (or to the first child
    // of the parent level) whose name is `name`; null or "" matches any.
    bool FindElement(const wchar_t* name = nullptr);
    bool Descend();
    bool Ascend();
    int GetParentPos() const { return m_parent; }
    int GetCurrentPos() const { return m_current; }
    int GetChildPos() const { return m_child; }

    // ---- attributes ------------------------------------------------------------
    CString GetAttribute(const wchar_t* name) const;
    CString GetAttributeAt(int pos, const wchar_t* name) const;
    bool SetAttribute(int pos, const wchar_t* name, const wchar_t* value);
    bool SetAttribute(int pos, const wchar_t* name, int value);
    // On the current element.
    bool SetAttribute(const wchar_t* name, const wchar_t* value);
    bool SetAttribute(const wchar_t* name, int value);

    // ---- building ------------------------------------------------------------------
    // Adds an empty element after the current one (or at the end of the parent
    // level) and makes it current.
    bool AddElement(const wchar_t* name, bool lineBreaks = true);

    // ---- character references ------------------------------------------------------
    static CString EscapeText(const wchar_t* text, bool quotes);
    // `length` < 0: up to the terminator.
    static CString UnescapeText(const wchar_t* text, int length = -1);

    // ---- result text ---------------------------------------------------------------
    static void AddResult(std::wstring& results, const wchar_t* entry,
                          std::initializer_list<XmlResultAttr> attrs = {});
    // Sets an attribute of the first top-level entry named `entry`; nothing
    // when there is none.
    static void UpdateResult(std::wstring& results, const wchar_t* entry, const wchar_t* attrName,
                             const wchar_t* value);

    // ---- files ---------------------------------------------------------------------
    // `result` and `flags` may be null. On reading, `flags` comes back with the
    // byte-order-mark kind found (left alone when the file cannot be opened);
    // on writing, it chooses the mark.
    static bool ReadTextFile(CString& text, CString* result, const wchar_t* path, int* flags);
    static bool WriteTextFile(const CString& text, CString* result, const wchar_t* path, int* flags);
    // The same with this document's text, result text and flags; reading does
    // not parse.
    bool ReadTextFile(const wchar_t* path);
    bool WriteTextFile(const wchar_t* path);
    bool Load(const wchar_t* path);
    bool Save(const wchar_t* path);
    // The encoding that the text declares (xml declaration, or a meta element
    // of an html text); empty when none.
    static CString GetDeclaredEncoding(const wchar_t* text, int length = -1);

    // ---- scanner --------------------------------------------------------------------
    // Reads the node that starts at `pos` of text[0, length).
    static XmlNode ParseNode(const wchar_t* text, int length, int pos);

private:
    XmlElementRecord& Rec(int pos) { return m_pages[static_cast<size_t>(pos) >> 16][pos & 0xFFFF]; }
    const XmlElementRecord& Rec(int pos) const { return m_pages[static_cast<size_t>(pos) >> 16][pos & 0xFFFF]; }
    bool IsRecord(int pos) const { return pos >= 0 && pos < m_nextFree; }
    void ReserveRecords(int capacity);
    bool GrowRecords();
    int NewRecord();
    void FreeIndex();

    bool ParseElement();
    // Links `element` under `parent` right after its sibling `after`, or as
    // the parent's last child when `after` is 0.
    void LinkElement(int element, int parent, int after);
    void CloseUnended(int element);
    void AddEntry(const wchar_t* entry, std::initializer_list<XmlResultAttr> attrs = {});

    void ReplaceText(int pos, int removed, const std::wstring& inserted);
    void AdjustPositions(int element, int change);
    void ShiftSubtree(int root, int change);
    std::wstring ElementName(int pos) const;
    std::wstring TagName(int pos) const;
    // Inserts the text of a new empty element where AddElement puts it and
    // fills its record; `change` receives the characters inserted minus those
    // removed. The record is not linked yet.
    int PlaceNewElement(const wchar_t* name, bool lineBreaks, int& change);
    // The next candidate after the current element (or the parent level's
    // first child) whose name is `name`, any name when `any`; 0 for none.
    int FindNextMatch(std::wstring_view name, bool any) const;
    // Reads a relative path; only its first step's name takes part in a search.
    static bool ParsePath(const wchar_t* path, std::wstring_view& firstName, bool& any);
    bool DoSetAttribute(int pos, const wchar_t* name, const wchar_t* value);

    static bool ReadFile(std::wstring& text, std::wstring& result, const wchar_t* path, int* flags);
    static bool WriteFile(const std::wstring& text, std::wstring& result, const wchar_t* path, int* flags);

    std::wstring m_text;
    std::wstring m_result;
    int m_parent = 0;
    int m_current = 0;
    int m_child = 0;
    int m_nextFree = 1;
    int m_flags = 0;
    int m_capacity = 0;
    std::vector<std::unique_ptr<XmlElementRecord[]>> m_pages;
};
