#pragma once

// XmlToken: the word reader for start tags and similar attribute text, and
// the attribute search built on it.
//
// A tag is read as words separated by white space: a word in double or
// single quotes is a value (its text lies inside the quotes; a missing
// closing quote runs to the end); an unquoted word right after "=" is a value
// that runs up to white space or '>'; any other unquoted word runs up to
// white space, '=', '>', '/' or '?' and is at least one character long.

class XmlToken {
public:
    struct Word {
        int start = 0;  // raw extent, quotes included
        int end = 0;
        int textStart = 0;  // the text of the word, inside any quotes
        int textEnd = 0;
        bool value = false;
    };

    struct Attribute {
        bool found = false;
        int nameStart = 0;
        int nameEnd = 0;
        bool hasValue = false;  // without one, the name stands as the value
        Word valueWord;
        int lastWordEnd = 0;  // where a new attribute goes when this one is missing
    };

    // Reads text[from, end).
    XmlToken(const wchar_t* text, int from, int end) : m_text(text), m_pos(from), m_end(end) {}

    // False when only white space is left.
    bool Next(Word& word);

    bool IsEquals(const Word& word) const;
    // An unquoted non-value word that begins with '>', '/' or '?' ends a tag.
    bool EndsTag(const Word& word) const;
    bool WordEquals(const Word& word, const wchar_t* text, bool ignoreCase) const;

    // Searches the start tag text[from, end) (from is just past the '<'): the
    // first word is the tag name; a later name word equal to `name` (whole,
    // case-sensitive unless told otherwise) is the match, and its value is the
    // word after the '=' that follows it.
    static Attribute FindAttribute(const wchar_t* text, int from, int end, const wchar_t* name,
                                   bool ignoreCase = false);

private:
    const wchar_t* m_text;
    int m_pos;
    int m_end;
    bool m_afterEquals = false;
};
