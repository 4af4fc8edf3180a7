// The encoding-name table: every name that an XML file may declare, with the
// Windows code page that reads and writes it.

#include "app/store/TextConverter.h"

#include <array>
#include <cwchar>
#include <new>
#include <vector>

#include "app/store/XmlChars.h"

namespace {

// One code page and names of it, folded to lower case and separated by ", ".
// The names are literal keys: "cp1256 " ends in a space. A code page with many
// names takes more than one row.
struct CodePageNames {
    int codePage;
    const wchar_t* names;
};

// clang-format off
constexpr CodePageNames kCodePageNames[] = {
    {154, L"cp154, csptcp154, cyrillic-asian, pt154, ptcp154"},
    {437, L"codepage437, cp437, cspc8, cspc8codepage437, ibm437"},
    {500, L"cp500, csibm500, ebcdic-cp-be, ebcdic-cp-ch"},
    {708, L"asmo-708"},
    {720, L"dos-720"},
    {737, L"cp737, ibm737"},
    {775, L"cp775, cspc775baltic, ibm775"},
    {850, L"cp850, cspc850multilingual, ibm850"},
    {852, L"cp852, cspcp852, ibm852"},
    {853, L"cp853"},
    {855, L"cp855, csibm855, ibm855"},
    {857, L"cp857, csibm857, ibm857"},
    {858, L"ccsid00858, cp00858, cp858, ibm00858, pc-multilingual-850+euro"},
    {860, L"cp860, csibm860, ibm860"},
    {861, L"cp-is, cp861, csibm861, ibm861"},
    {862, L"cp862, cspc862latinhebrew, dos-862, ibm862"},
    {863, L"cp863, csibm863, ibm863"},
    {864, L"cp864, csibm864, ibm864"},
    {865, L"cp865, csibm865, ibm865"},
    {866, L"cp866, csibm866, ibm866"},
    {869, L"cp-gr, cp869, csibm869, ibm869"},
    {874, L"cp874, dos-874, iso-8859-11, tis-620, windows-874"},
    {932, L"cp932, csshiftjis, cswindows31j, ms932, ms_kanji, shifft_jis, shifft_jis-ms, shift-jis, shift_jis, sjis"},
    {932, L"sjis-ms, sjis-open, sjis-win, windows-31j, windows-932, x-ms-cp932, x-sjis"},
    {936, L"chinese, cn-gb, cp936, csgb2312, csgb231280, csiso58gb231280, gb2312, gb2312-80, gb231280, gb_2312-80"},
    {936, L"gbk, iso-ir-58, ms936, windows-936"},
    {949, L"cp949, csksc56011987, iso-ir-149, korean, ks-c-5601, ks-c5601, ks_c_5601, ks_c_5601-1987, ks_c_5601-1989"},
    {949, L"ks_c_5601_1987, ksc5601, ksc_5601, uhc"},
    {950, L"big5, big5-hkscs, cn-big5, cp950, csbig5, x-x-big5"},
    {1125, L"cp1125"},
    {1133, L"cp1133, ibm-cp1133"},
    {1200, L"cp1200, ucs-2, ucs-2le, unicode, utf-16, utf-16le, utf16, utf16le"},
    {1201, L"cp1201, ucs-2be, unicodefffe, utf-16be, utf16be"},
    {1250, L"cp1250, ms-ee, windows-1250, x-cp1250"},
    {1251, L"cp1251, ms-cyrl, windows-1251, x-cp1251"},
    {1252, L"cp1252, ms-ansi, windows-1252, x-ansi"},
    {1253, L"cp1253, ms-greek, windows-1253"},
    {1254, L"cp1254, ms-turk, windows-1254"},
    {1255, L"cp1255, ms-hebr, windows-1255"},
    {1256, L"cp1256, cp1256 , ms-arab, windows-1256"},
    {1257, L"cp1257, winbaltrim, windows-1257"},
    {1258, L"cp1258, windows-1258"},
    {1361, L"cp1361, johab"},
    {10000, L"csmacintosh, mac, macintosh"},
    {10001, L"x-mac-japanese"},
    {10002, L"x-mac-chinesetrad"},
    {10003, L"x-mac-korean"},
    {10004, L"x-mac-arabic"},
    {10005, L"x-mac-hebrew"},
    {10006, L"x-mac-greek"},
    {10007, L"x-mac-cyrillic"},
    {10008, L"x-mac-chinesesimp"},
    {10010, L"x-mac-romanian"},
    {10017, L"x-mac-ukrainian"},
    {10021, L"x-mac-thai"},
    {10029, L"x-mac-ce"},
    {10079, L"x-mac-icelandic"},
    {10081, L"x-mac-turkish"},
    {10082, L"x-mac-croatian"},
    {12000, L"cp12000, utf-32, utf-32le, utf32, utf32le"},
    {12001, L"cp12001, utf-32be, utf32be"},
    {20000, L"x-chinese-cns, x-chinese_cns"},
    {20001, L"x-cp20001"},
    {20002, L"x-chinese-eten, x_chinese-eten"},
    {20003, L"x-cp20003"},
    {20004, L"x-cp20004"},
    {20005, L"x-cp20005"},
    {20105, L"x-ia5"},
    {20106, L"x-ia5-german"},
    {20107, L"x-ia5-swedish"},
    {20108, L"x-ia5-norwegian"},
    {20127, L"ansi_x3.4-1968, ansi_x3.4-1986, ascii, cp367, csascii, ibm367, iso-ir-6, iso-ir-6us, iso646-us"},
    {20127, L"iso_646.irv:1991, us, us-ascii"},
    {20261, L"x-cp20261"},
    {20269, L"x-cp20269"},
    {20866, L"cskoi8r, koi, koi8, koi8-r, koi8r"},
    {20932, L"cseucpkdfmtjapanese, euc-jp, extended_unix_code_packed_format_for_japanese"},
    {20936, L"x-cp20936"},
    {20949, L"x-cp20949"},
    {21866, L"koi8-ru, koi8-u"},
    {28591, L"cp819, csisolatin1, ibm819, iso-8859-1, iso-ir-100, iso8859-1, iso_8859-1, iso_8859-1:1987, l1, latin1"},
    {28592, L"csisolatin2, iso-8859-2, iso-ir-101, iso8859-2, iso_8859-2, iso_8859-2:1987, l2, latin2"},
    {28593, L"csisolatin3, iso-8859-3, iso-ir-109, iso8859-3, iso_8859-3, iso_8859-3:1988, l3, latin3"},
    {28594, L"csisolatin4, iso-8859-4, iso-ir-110, iso8859-4, iso_8859-4, iso_8859-4:1988, l4, latin4"},
    {28595, L"csisolatin5, csisolatincyrillic, cyrillic, iso-8859-5, iso-ir-144, iso8859-5, iso_8859-5"},
    {28595, L"iso_8859-5:1988"},
    {28596, L"arabic, csisolatinarabic, ecma-114, iso-8859-6, iso-ir-127, iso8859-6, iso_8859-6, iso_8859-6:1987"},
    {28597, L"csisolatingreek, ecma-118, elot_928, greek, greek8, iso-8859-7, iso-ir-126, iso8859-7, iso_8859-7"},
    {28597, L"iso_8859-7:1987"},
    {28598, L"csisolatinhebrew, hebrew, iso-8859-8, iso-ir-138, iso8859-8, iso_8859-8, iso_8859-8:1988, visual"},
    {28599, L"iso-8859-9, iso-ir-148, iso8859-9, iso_8859-9, iso_8859-9:1989, l5, latin5"},
    {28603, L"iso-8859-13, iso8859-13"},
    {28605, L"iso-8859-15, iso8859-15, iso_8859-15, l9, latin-9, latin9"},
    {29001, L"x-europa"},
    {38598, L"iso-8859-8-i, iso8859-8-i, logical"},
    {50220, L"iso-2022-jp"},
    {50221, L"_iso-2022-jp, cp50221, csiso2022jp, iso-2022-jp-ms, iso2022-jp-ms, ms50221, windows-50221"},
    {50222, L"_iso-2022-jp$sio"},
    {50225, L"csiso2022kr, iso-2022-kr, iso2022-kr"},
    {50227, L"x-cp50227"},
    {51932, L"cp51932, ms51932, windows-51932, x-euc, x-euc-jp"},
    {51936, L"euc-cn, x-euc-cn"},
    {51949, L"cseuckr, euc-kr"},
    {52936, L"hz-gb-2312"},
    {54936, L"gb18030, iso-4873:1986"},
    {57002, L"x-iscii-de"},
    {57003, L"x-iscii-be"},
    {57004, L"x-iscii-ta"},
    {57005, L"x-iscii-te"},
    {57006, L"x-iscii-as"},
    {57007, L"x-iscii-or"},
    {57008, L"x-iscii-ka"},
    {57009, L"x-iscii-ma"},
    {57010, L"x-iscii-gu"},
    {57011, L"x-iscii-pa"},
    {65000, L"csunicode11utf7, unicode-1-1-utf-7, utf-7, x-unicode-2-0-utf-7"},
    {65001, L"cp65001, unicode-1-1-utf-8, unicode-2-0-utf-8, utf-8, utf8, x-unicode-2-0-utf-8"},
};
// clang-format on

constexpr wchar_t kSeparator[] = L", ";
constexpr size_t kSeparatorLength = 2;

constexpr size_t CountNames()
{
    size_t count = 0;
    for (const CodePageNames& row : kCodePageNames) {
        ++count;
        for (const wchar_t* c = row.names; *c != L'\0'; ++c)
            count += c[0] == kSeparator[0] && c[1] == kSeparator[1] ? 1 : 0;
    }
    return count;
}
static_assert(CountNames() == 365, "every name of the table");

// Longer names are not looked up at all.
constexpr size_t kMaxNameLength = 100;
constexpr size_t kBucketCount = 155;

// One name of the table: a run of a row's text.
struct EncodingName {
    const wchar_t* name;
    size_t length;
    int codePage;
};

// Buckets chosen by the sum of the folded name's characters.
size_t BucketOf(const wchar_t* folded, size_t length)
{
    size_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += folded[i];
    return sum % kBucketCount;
}

const std::array<std::vector<EncodingName>, kBucketCount>& Buckets()
{
    static const auto buckets = [] {
        std::array<std::vector<EncodingName>, kBucketCount> table;
        for (const CodePageNames& row : kCodePageNames) {
            for (const wchar_t* name = row.names;;) {
                const wchar_t* end = std::wcsstr(name, kSeparator);
                const size_t length = end ? static_cast<size_t>(end - name) : std::wcslen(name);
                table[BucketOf(name, length)].push_back({name, length, row.codePage});
                if (!end)
                    break;
                name = end + kSeparatorLength;
            }
        }
        return table;
    }();
    return buckets;
}

}  // namespace

int EncodingToCodePage(const wchar_t* name)
{
    if (!name || !*name)
        return 0;
    const size_t length = std::wcslen(name);
    if (length >= kMaxNameLength)
        return -1;
    wchar_t folded[kMaxNameLength];
    for (size_t i = 0; i < length; ++i)
        folded[i] = xmlchars::FoldAscii(name[i]);
    try {
        for (const EncodingName& entry : Buckets()[BucketOf(folded, length)]) {
            if (entry.length == length && std::wmemcmp(entry.name, folded, length) == 0)
                return entry.codePage;
        }
    } catch (const std::bad_alloc&) {
        // The buckets are built on first use; without memory nothing is known.
    }
    return -1;
}
