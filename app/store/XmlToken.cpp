#include "app/store/XmlToken.h"

#include "app/store/XmlChars.h"

using xmlchars::FoldAscii;
using xmlchars::IsSpace;

namespace {

bool EndsNameWord(wchar_t c)
{
    return IsSpace(c) || c == L'=' || c == L'>' || c == L'/' || c == L'?';
}

}  // namespace

bool XmlToken::Next(Word& word)
{
    while (m_pos < m_end && IsSpace(m_text[m_pos]))
        ++m_pos;
    if (m_pos >= m_end)
        return false;

    word = Word();
    word.start = m_pos;
    const wchar_t c = m_text[m_pos];
    if (c == L'"' || c == L'\'') {
        int j = m_pos + 1;
        while (j < m_end && m_text[j] != c)
            ++j;
        word.textStart = m_pos + 1;
        word.textEnd = j;
        word.end = j < m_end ? j + 1 : m_end;
        word.value = true;
    } else if (m_afterEquals) {
        // May be empty when '>' follows the '=' directly.
        int j = m_pos;
        while (j < m_end && !IsSpace(m_text[j]) && m_text[j] != L'>')
            ++j;
        word.textStart = m_pos;
        word.textEnd = word.end = j;
        word.value = true;
    } else {
        // "=" always stands alone, whatever follows it.
        int j = m_pos + 1;
        if (c != L'=') {
            while (j < m_end && !EndsNameWord(m_text[j]))
                ++j;
        }
        word.textStart = m_pos;
        word.textEnd = word.end = j;
    }
    m_afterEquals = IsEquals(word);
    m_pos = word.end;
    return true;
}

bool XmlToken::IsEquals(const Word& word) const
{
    return !word.value && word.end == word.start + 1 && m_text[word.start] == L'=';
}

bool XmlToken::EndsTag(const Word& word) const
{
    if (word.value)
        return false;
    const wchar_t c = m_text[word.start];
    return c == L'>' || c == L'/' || c == L'?';
}

bool XmlToken::WordEquals(const Word& word, const wchar_t* text, bool ignoreCase) const
{
    int i = word.textStart;
    for (; i < word.textEnd && *text; ++i, ++text) {
        const wchar_t a = m_text[i];
        const wchar_t b = *text;
        if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b)
            return false;
    }
    return i == word.textEnd && !*text;
}

XmlToken::Attribute XmlToken::FindAttribute(const wchar_t* text, int from, int end, const wchar_t* name,
                                            bool ignoreCase)
{
    Attribute attr;
    attr.lastWordEnd = from;
    if (!text || !name || !*name)
        return attr;

    XmlToken reader(text, from, end);
    Word word;
    bool tagName = true;
    while (reader.Next(word)) {
        if (attr.found) {
            // The matched name: a value only through a following "=".
            if (!reader.IsEquals(word))
                return attr;
            Word value;
            if (reader.Next(value)) {
                attr.valueWord = value;
            } else {
                attr.valueWord.start = attr.valueWord.end = word.end;
                attr.valueWord.textStart = attr.valueWord.textEnd = word.end;
                attr.valueWord.value = true;
            }
            attr.hasValue = true;
            return attr;
        }
        if (reader.EndsTag(word))
            break;
        attr.lastWordEnd = word.end;
        if (tagName) {
            tagName = false;
            continue;
        }
        if (!word.value && !reader.IsEquals(word) && reader.WordEquals(word, name, ignoreCase)) {
            attr.found = true;
            attr.nameStart = word.start;
            attr.nameEnd = word.end;
        }
    }
    return attr;
}
