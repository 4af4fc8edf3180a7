// Character references: escaping for attribute values and text, and decoding
// of numeric references and the named entities of HTML 4.01 (plus apos).

#include "app/store/XmlDoc.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <new>
#include <string_view>
#include <vector>

#include "app/store/XmlChars.h"

namespace {

struct Entity {
    const wchar_t* name;
    uint16_t codePoint;
};

// clang-format off
constexpr Entity kEntities[] = {
    // Latin-1
    {L"nbsp", 160}, {L"iexcl", 161}, {L"cent", 162}, {L"pound", 163}, {L"curren", 164}, {L"yen", 165},
    {L"brvbar", 166}, {L"sect", 167}, {L"uml", 168}, {L"copy", 169}, {L"ordf", 170}, {L"laquo", 171},
    {L"not", 172}, {L"shy", 173}, {L"reg", 174}, {L"macr", 175}, {L"deg", 176}, {L"plusmn", 177},
    {L"sup2", 178}, {L"sup3", 179}, {L"acute", 180}, {L"micro", 181}, {L"para", 182}, {L"middot", 183},
    {L"cedil", 184}, {L"sup1", 185}, {L"ordm", 186}, {L"raquo", 187}, {L"frac14", 188}, {L"frac12", 189},
    {L"frac34", 190}, {L"iquest", 191}, {L"Agrave", 192}, {L"Aacute", 193}, {L"Acirc", 194}, {L"Atilde", 195},
    {L"Auml", 196}, {L"Aring", 197}, {L"AElig", 198}, {L"Ccedil", 199}, {L"Egrave", 200}, {L"Eacute", 201},
    {L"Ecirc", 202}, {L"Euml", 203}, {L"Igrave", 204}, {L"Iacute", 205}, {L"Icirc", 206}, {L"Iuml", 207},
    {L"ETH", 208}, {L"Ntilde", 209}, {L"Ograve", 210}, {L"Oacute", 211}, {L"Ocirc", 212}, {L"Otilde", 213},
    {L"Ouml", 214}, {L"times", 215}, {L"Oslash", 216}, {L"Ugrave", 217}, {L"Uacute", 218}, {L"Ucirc", 219},
    {L"Uuml", 220}, {L"Yacute", 221}, {L"THORN", 222}, {L"szlig", 223}, {L"agrave", 224}, {L"aacute", 225},
    {L"acirc", 226}, {L"atilde", 227}, {L"auml", 228}, {L"aring", 229}, {L"aelig", 230}, {L"ccedil", 231},
    {L"egrave", 232}, {L"eacute", 233}, {L"ecirc", 234}, {L"euml", 235}, {L"igrave", 236}, {L"iacute", 237},
    {L"icirc", 238}, {L"iuml", 239}, {L"eth", 240}, {L"ntilde", 241}, {L"ograve", 242}, {L"oacute", 243},
    {L"ocirc", 244}, {L"otilde", 245}, {L"ouml", 246}, {L"divide", 247}, {L"oslash", 248}, {L"ugrave", 249},
    {L"uacute", 250}, {L"ucirc", 251}, {L"uuml", 252}, {L"yacute", 253}, {L"thorn", 254}, {L"yuml", 255},
    // Special
    {L"quot", 34}, {L"amp", 38}, {L"lt", 60}, {L"gt", 62}, {L"apos", 39},
    {L"OElig", 338}, {L"oelig", 339}, {L"Scaron", 352}, {L"scaron", 353}, {L"Yuml", 376},
    {L"circ", 710}, {L"tilde", 732}, {L"ensp", 8194}, {L"emsp", 8195}, {L"thinsp", 8201},
    {L"zwnj", 8204}, {L"zwj", 8205}, {L"lrm", 8206}, {L"rlm", 8207}, {L"ndash", 8211}, {L"mdash", 8212},
    {L"lsquo", 8216}, {L"rsquo", 8217}, {L"sbquo", 8218}, {L"ldquo", 8220}, {L"rdquo", 8221},
    {L"bdquo", 8222}, {L"dagger", 8224}, {L"Dagger", 8225}, {L"permil", 8240}, {L"lsaquo", 8249},
    {L"rsaquo", 8250}, {L"euro", 8364},
    // Symbols
    {L"fnof", 402},
    {L"Alpha", 913}, {L"Beta", 914}, {L"Gamma", 915}, {L"Delta", 916}, {L"Epsilon", 917}, {L"Zeta", 918},
    {L"Eta", 919}, {L"Theta", 920}, {L"Iota", 921}, {L"Kappa", 922}, {L"Lambda", 923}, {L"Mu", 924},
    {L"Nu", 925}, {L"Xi", 926}, {L"Omicron", 927}, {L"Pi", 928}, {L"Rho", 929}, {L"Sigma", 931},
    {L"Tau", 932}, {L"Upsilon", 933}, {L"Phi", 934}, {L"Chi", 935}, {L"Psi", 936}, {L"Omega", 937},
    {L"alpha", 945}, {L"beta", 946}, {L"gamma", 947}, {L"delta", 948}, {L"epsilon", 949}, {L"zeta", 950},
    {L"eta", 951}, {L"theta", 952}, {L"iota", 953}, {L"kappa", 954}, {L"lambda", 955}, {L"mu", 956},
    {L"nu", 957}, {L"xi", 958}, {L"omicron", 959}, {L"pi", 960}, {L"rho", 961}, {L"sigmaf", 962},
    {L"sigma", 963}, {L"tau", 964}, {L"upsilon", 965}, {L"phi", 966}, {L"chi", 967}, {L"psi", 968},
    {L"omega", 969}, {L"thetasym", 977}, {L"upsih", 978}, {L"piv", 982},
    {L"bull", 8226}, {L"hellip", 8230}, {L"prime", 8242}, {L"Prime", 8243}, {L"oline", 8254}, {L"frasl", 8260},
    {L"weierp", 8472}, {L"image", 8465}, {L"real", 8476}, {L"trade", 8482}, {L"alefsym", 8501},
    {L"larr", 8592}, {L"uarr", 8593}, {L"rarr", 8594}, {L"darr", 8595}, {L"harr", 8596}, {L"crarr", 8629},
    {L"lArr", 8656}, {L"uArr", 8657}, {L"rArr", 8658}, {L"dArr", 8659}, {L"hArr", 8660},
    {L"forall", 8704}, {L"part", 8706}, {L"exist", 8707}, {L"empty", 8709}, {L"nabla", 8711}, {L"isin", 8712},
    {L"notin", 8713}, {L"ni", 8715}, {L"prod", 8719}, {L"sum", 8721}, {L"minus", 8722}, {L"lowast", 8727},
    {L"radic", 8730}, {L"prop", 8733}, {L"infin", 8734}, {L"ang", 8736}, {L"and", 8743}, {L"or", 8744},
    {L"cap", 8745}, {L"cup", 8746}, {L"int", 8747}, {L"there4", 8756}, {L"sim", 8764}, {L"cong", 8773},
    {L"asymp", 8776}, {L"ne", 8800}, {L"equiv", 8801}, {L"le", 8804}, {L"ge", 8805}, {L"sub", 8834},
    {L"sup", 8835}, {L"nsub", 8836}, {L"sube", 8838}, {L"supe", 8839}, {L"oplus", 8853}, {L"otimes", 8855},
    {L"perp", 8869}, {L"sdot", 8901}, {L"lceil", 8968}, {L"rceil", 8969}, {L"lfloor", 8970},
    {L"rfloor", 8971}, {L"lang", 9001}, {L"rang", 9002}, {L"loz", 9674},
    {L"spades", 9824}, {L"clubs", 9827}, {L"hearts", 9829}, {L"diams", 9830},
};
// clang-format on
constexpr size_t kEntityCount = sizeof(kEntities) / sizeof(kEntities[0]);
static_assert(kEntityCount == 253, "the 252 entities of HTML 4.01 and apos");

// The longest reference body that can stand between '&' and ';' is 8
// characters: ';' must come within the 9 characters after the '&'.
constexpr int kReferenceReach = 9;

std::wstring Folded(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = xmlchars::FoldAscii(c);
    return folded;
}

// The table sorted by folded name, built once.
struct FoldedEntity {
    std::wstring folded;
    const Entity* entity;
};

const std::vector<FoldedEntity>& FoldedTable()
{
    static const std::vector<FoldedEntity> table = [] {
        std::vector<FoldedEntity> rows;
        rows.reserve(kEntityCount);
        for (const Entity& e : kEntities)
            rows.push_back({Folded(e.name), &e});
        std::stable_sort(rows.begin(), rows.end(),
                         [](const FoldedEntity& a, const FoldedEntity& b) { return a.folded < b.folded; });
        return rows;
    }();
    return table;
}

// Names compare without regard to the case of A-Z. Where HTML has both
// spellings (Eacute and eacute), the spelling written picks its own row; any
// other spelling of the pair takes the lower-case row.
uint32_t LookupEntity(std::wstring_view name)
{
    const std::vector<FoldedEntity>& table = FoldedTable();
    const std::wstring key = Folded(name);
    auto range = std::equal_range(table.begin(), table.end(), FoldedEntity{key, nullptr},
                                  [](const FoldedEntity& a, const FoldedEntity& b) { return a.folded < b.folded; });
    const Entity* chosen = nullptr;
    for (auto it = range.first; it != range.second; ++it) {
        if (name == it->entity->name)
            return it->entity->codePoint;
        if (!chosen || it->folded == it->entity->name)
            chosen = it->entity;
    }
    return chosen ? chosen->codePoint : 0;
}

// The code point of a reference body (between '&' and ';'), 0 when it names
// nothing.
uint32_t DecodeReference(std::wstring_view body)
{
    if (body.empty())
        return 0;
    if (body[0] != L'#')
        return LookupEntity(body);
    size_t i = 1;
    int base = 10;
    if (i < body.size() && xmlchars::FoldAscii(body[i]) == L'x') {
        base = 16;
        ++i;
    }
    if (i >= body.size())
        return 0;
    uint32_t value = 0;
    for (; i < body.size(); ++i) {
        const wchar_t c = xmlchars::FoldAscii(body[i]);
        uint32_t digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else
            return 0;
        // At most 8 digits fit between '&' and ';', so this cannot overflow.
        value = value * base + digit;
    }
    return value;
}

}  // namespace

CString XmlDoc::EscapeText(const wchar_t* text, bool quotes)
{
    if (!text)
        return CString();
    try {
        const size_t length = std::wcslen(text);
        std::wstring out;
        out.reserve(length + length / 10 + 7);
        for (const wchar_t* p = text; *p; ++p) {
            switch (*p) {
            case L'<': out += L"&lt;"; break;
            case L'&': out += L"&amp;"; break;
            case L'>': out += L"&gt;"; break;
            case L'\'':
                if (quotes)
                    out += L"&apos;";
                else
                    out += *p;
                break;
            case L'"':
                if (quotes)
                    out += L"&quot;";
                else
                    out += *p;
                break;
            default: out += *p; break;
            }
        }
        return CString(std::move(out));
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

CString XmlDoc::UnescapeText(const wchar_t* text, int length)
{
    if (!text)
        return CString();
    if (length < 0)
        length = static_cast<int>(std::wcslen(text));
    try {
        std::wstring out;
        out.reserve(static_cast<size_t>(length));
        int i = 0;
        while (i < length) {
            const wchar_t c = text[i];
            if (c != L'&') {
                out += c;
                ++i;
                continue;
            }
            int semicolon = -1;
            for (int k = 1; k <= kReferenceReach && i + k < length; ++k) {
                const wchar_t d = text[i + k];
                if (d >= 128)
                    break;
                if (d == L';') {
                    semicolon = i + k;
                    break;
                }
            }
            const uint32_t code =
                semicolon < 0 ? 0
                              : DecodeReference(std::wstring_view(text + i + 1, static_cast<size_t>(semicolon - i - 1)));
            // Beyond U+10FFFF there is no UTF-16 form: the reference stays as written.
            if (code == 0 || code > 0x10FFFF) {
                out += c;
                ++i;
                continue;
            }
            if (code <= 0xFFFF) {
                out += static_cast<wchar_t>(code);
            } else {
                const uint32_t v = code - 0x10000;
                out += static_cast<wchar_t>(0xD800 + (v >> 10));
                out += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
            }
            i = semicolon + 1;
        }
        return CString(std::move(out));
    } catch (const std::bad_alloc&) {
        return CString();
    }
}
