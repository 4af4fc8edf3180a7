#include "app/window/ProfileFile.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "app/device/KeyCodes.h"
#include "app/store/XmlDoc.h"

namespace tarnwell {

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Ranges of the values a profile may hold.
constexpr int kMaxKeyCode = 0xFFFF;
constexpr int kMaxByte = 0xFF;
constexpr int kMaxWord = 0xFFFF;
constexpr int kMaxBrightness = 5;
constexpr int kMaxSpeed = 4;
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kMaxLightMode = 255;
constexpr int kLightModeOff = 255;
constexpr int kMaxPlayTimes = 255;
constexpr int kMaxDelayType = 2;
constexpr int kMaxDelayMs = 10000;
constexpr int kFirstEventType = 1;
constexpr int kLastEventType = 5;

// The key types the device link encodes.
bool IsKnownKeyType(long long type)
{
    switch (type) {
    case 0: case 1: case 2: case 4: case 5: case 6: case 7: case 8: case 9: case 11: case 12: case 14:
        return true;
    default:
        return false;
    }
}

// The largest value of macro_value for a key type: what its device entry can carry.
int MaxKeyValue(int type)
{
    switch (type) {
    case 2: case 4: case 6: case 7: case 8: case 9: case 14:
        return kMaxByte;
    case 12:
        return INT_MAX;  // a macro id
    default:
        return kMaxWord;
    }
}

// ---- reading attributes ------------------------------------------------------------------

// The attribute as a number the way the format reads it (a leading decimal
// number, 0 for none), widened so that huge texts stay comparable.
long long RawNumber(const XmlDoc& doc, const wchar_t* name)
{
    const CString text = doc.GetAttribute(name);
    const wchar_t* start = text.GetString();
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(start, &end, 10);
    return end == start ? 0 : value;
}

int Clamped(const XmlDoc& doc, const wchar_t* name, int low, int high)
{
    return static_cast<int>(std::clamp<long long>(RawNumber(doc, name), low, high));
}

CString Text(const XmlDoc& doc, const wchar_t* name) { return CutFileText(doc.GetAttribute(name)); }

// Runs `read` on every child named `item` of the current element; false when
// there are more than `limit`.
template <class Read>
bool ForEachItem(XmlDoc& doc, const wchar_t* item, size_t limit, Read read)
{
    if (!doc.Descend())
        return true;  // no children
    size_t count = 0;
    bool ok = true;
    while (ok && doc.FindElement(item)) {
        ok = ++count <= limit && read();
    }
    doc.Ascend();
    return ok;
}

bool ReadMacros(XmlDoc& doc, ProfileFileData& data)
{
    size_t events = 0;
    return ForEachItem(doc, L"macro_item", kMaxMacroItems, [&] {
        MacroImportData macro;
        const long long id = RawNumber(doc, L"macro_id");
        macro.macro.macro_id = static_cast<int>(std::clamp<long long>(id, 0, INT_MAX));
        macro.macro.name = Text(doc, L"name");
        macro.macro.play_type = 0;
        macro.macro.play_times = Clamped(doc, L"times", 1, kMaxPlayTimes);
        macro.macro.delay_type = Clamped(doc, L"type", 0, kMaxDelayType);
        macro.macro.delay_time = Clamped(doc, L"delaytime", 0, kMaxDelayMs);
        bool ok = true;
        if (doc.Descend()) {
            if (doc.FindElement(L"record_item")) {
                ok = ForEachItem(doc, L"item", kMaxMacroEvents, [&] {
                    const long long type = RawNumber(doc, L"type");
                    if (type < kFirstEventType || type > kLastEventType)
                        return true;  // an event the keyboard has no form for
                    MacroRecordData record;
                    record.type = static_cast<int>(type);
                    record.record_index = static_cast<int>(macro.records.size());
                    record.desc = Text(doc, L"desc");
                    record.value = Clamped(doc, L"value", 0, kMaxWord);
                    record.delay_time = Clamped(doc, L"delay_time", 0, kMaxDelayMs);
                    macro.records.push_back(record);
                    return ++events <= kMaxMacroEvents * 4;
                });
            }
            doc.Ascend();
        }
        if (id > 0 && id <= INT_MAX)
            data.macros.push_back(std::move(macro));
        return ok;
    });
}

bool ReadKeys(XmlDoc& doc, ProfileFileData& data)
{
    return ForEachItem(doc, L"item", kMaxKeyItems, [&] {
        const long long layer = RawNumber(doc, L"fn_layer");
        const long long code = RawNumber(doc, L"key_code");
        const long long type = RawNumber(doc, L"macro_type");
        if ((layer != 0 && layer != 1) || code < 1 || code > kMaxKeyCode || !IsKnownKeyType(type))
            return true;
        KeyMacroData row;
        row.fn_layer = static_cast<int>(layer);
        row.key_code = static_cast<int>(code);
        row.macro_type = static_cast<int>(type);
        row.macro_value = Clamped(doc, L"macro_value", 0, MaxKeyValue(row.macro_type));
        row.macro_value2 = Clamped(doc, L"macro_value2", 0, kMaxByte);
        row.macro_value3 = Clamped(doc, L"macro_value3", 0, kMaxWord);
        row.macro_desc = Text(doc, L"macro_desc");
        data.keys.push_back(row);
        return true;
    });
}

bool ReadLights(XmlDoc& doc, ProfileFileData& data)
{
    return ForEachItem(doc, L"item", kMaxLightItems, [&] {
        const long long mode = RawNumber(doc, L"mode");
        if (mode < 0 || mode > kMaxLightMode)
            return true;
        LightData row;
        row.mode = static_cast<int>(mode);
        row.brightness = Clamped(doc, L"brightness", 0, kMaxBrightness);
        row.speed = Clamped(doc, L"speed", 0, kMaxSpeed);
        row.direction = Clamped(doc, L"direction", 0, kMaxByte);
        row.colorful = Clamped(doc, L"colorful", 0, 1);
        row.colorindex = Clamped(doc, L"colorindex", 0, kMaxByte);
        row.color_value1 = Clamped(doc, L"color_value", 0, kMaxColour);
        data.lights.push_back(row);
        return true;
    });
}

bool ReadKeyColours(XmlDoc& doc, ProfileFileData& data)
{
    return ForEachItem(doc, L"item", kMaxKeyColourItems, [&] {
        const long long code = RawNumber(doc, L"key_code");
        const CString colour = doc.GetAttribute(L"key_rgb");
        if (code < 1 || code > kMaxKeyCode || !IsColorText(colour))
            return true;
        UserLightRgbData row;
        row.key_code = static_cast<int>(code);
        row.key_rgb = ParseColorValue(colour);
        data.keyColours.push_back(row);
        return true;
    });
}

// Looks for the next section of that name among the current level's
// elements, from the current one on; runs `read` inside it when found.
template <class Read>
bool ReadSection(XmlDoc& doc, const wchar_t* name, Read read)
{
    if (!doc.FindElement(name))
        return true;
    return read();
}

// ---- files ------------------------------------------------------------------------------------

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadBytes(const wchar_t* path, std::string& bytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path, L"rb"));
    if (!file)
        return false;
    char buffer[65536];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof(buffer), file.get());
        bytes.append(buffer, got);
        if (static_cast<long long>(bytes.size()) > kMaxProfileFileBytes)
            return false;
        if (got < sizeof(buffer))
            return std::ferror(file.get()) == 0;
    }
}

bool Utf8ToText(const std::string& bytes, size_t skip, std::wstring& text)
{
    const int length = static_cast<int>(bytes.size() - skip);
    if (length == 0)
        return true;
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip, length, nullptr, 0);
    if (units <= 0)
        return false;
    text.resize(static_cast<size_t>(units));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip, length, &text[0], units) == units;
}

bool Utf16ToText(const std::string& bytes, bool bigEndian, std::wstring& text)
{
    if (bytes.size() % 2 != 0)
        return false;
    for (size_t i = 2; i < bytes.size(); i += 2) {
        const unsigned char a = static_cast<unsigned char>(bytes[i]);
        const unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return true;
}

} // namespace

// ---- writing ----------------------------------------------------------------------------------

CString BuildProfileXml(const ProfileFileData& data)
{
    XmlDoc doc;
    doc.SetText(kDeclaration);
    doc.AddElement(L"profile");
    doc.Descend();
    doc.AddElement(L"info");
    doc.SetAttribute(L"name", data.name.GetString());
    doc.Descend();

    doc.AddElement(L"macro_info");
    doc.Descend();
    for (const MacroImportData& macro : data.macros) {
        doc.AddElement(L"macro_item");
        doc.SetAttribute(L"macro_id", macro.macro.macro_id);
        doc.SetAttribute(L"name", macro.macro.name.GetString());
        doc.SetAttribute(L"times", macro.macro.play_times);
        doc.SetAttribute(L"type", macro.macro.delay_type);
        doc.SetAttribute(L"delaytime", macro.macro.delay_time);
        if (macro.records.empty())
            continue;
        doc.Descend();
        doc.AddElement(L"record_item");
        doc.Descend();
        for (const MacroRecordData& record : macro.records) {
            doc.AddElement(L"item");
            doc.SetAttribute(L"desc", record.desc.GetString());
            doc.SetAttribute(L"type", record.type);
            doc.SetAttribute(L"value", record.value);
            doc.SetAttribute(L"delay_time", record.delay_time);
        }
        doc.Ascend();
        doc.Ascend();
    }
    doc.Ascend();

    doc.AddElement(L"key_info");
    doc.Descend();
    for (const KeyMacroData& row : data.keys) {
        doc.AddElement(L"item");
        doc.SetAttribute(L"fn_layer", row.fn_layer);
        doc.SetAttribute(L"key_code", row.key_code);
        doc.SetAttribute(L"layout_desc", row.key_code);
        doc.SetAttribute(L"macro_type", row.macro_type);
        doc.SetAttribute(L"macro_value", row.macro_value);
        doc.SetAttribute(L"macro_value2", row.macro_value2);
        doc.SetAttribute(L"macro_value3", row.macro_value3);
        doc.SetAttribute(L"macro_desc", row.macro_desc.GetString());
    }
    doc.Ascend();

    doc.AddElement(L"light_mode");
    doc.Descend();
    for (const LightData& row : data.lights) {
        if (row.mode == kLightModeOff)
            continue;
        doc.AddElement(L"item");
        doc.SetAttribute(L"mode", row.mode);
        doc.SetAttribute(L"brightness", row.brightness);
        doc.SetAttribute(L"speed", row.speed);
        doc.SetAttribute(L"direction", row.direction);
        doc.SetAttribute(L"colorful", row.colorful);
        doc.SetAttribute(L"colorindex", row.colorindex);
        doc.SetAttribute(L"color_value", row.color_value1);
        doc.SetAttribute(L"status", row.status);
    }
    doc.Ascend();

    doc.AddElement(L"key_light");
    doc.Descend();
    for (const UserLightRgbData& row : data.keyColours) {
        doc.AddElement(L"item");
        doc.SetAttribute(L"key_name", GetKeyName(row.key_code).GetString());
        doc.SetAttribute(L"key_code", row.key_code);
        doc.SetAttribute(L"key_rgb", FormatColorValue(row.key_rgb).GetString());
    }
    return doc.GetText();
}

bool WriteProfileFile(const wchar_t* path, const ProfileFileData& data)
{
    int flags = 0;  // UTF-8 without a byte-order mark
    return XmlDoc::WriteTextFile(BuildProfileXml(data), nullptr, path, &flags);
}

// ---- reading ----------------------------------------------------------------------------------

ProfileFileError ReadProfileXml(const CString& text, ProfileFileData& data)
{
    if (text.Find(L'\0') >= 0)
        return ProfileFileError::NotXml;
    XmlDoc doc;
    if (!doc.SetText(text.GetString()))
        return ProfileFileError::NotXml;
    if (!doc.FindElement(L"profile"))
        return ProfileFileError::NotAProfile;

    ProfileFileData read;
    doc.Descend();
    if (doc.FindElement(L"info")) {
        read.name = Text(doc, L"name");
        doc.Descend();
        // Each section is looked for after the one before it.
        const bool ok = ReadSection(doc, L"macro_info", [&] { return ReadMacros(doc, read); }) &&
                        ReadSection(doc, L"key_info", [&] { return ReadKeys(doc, read); }) &&
                        ReadSection(doc, L"light_mode", [&] { return ReadLights(doc, read); }) &&
                        ReadSection(doc, L"key_light", [&] { return ReadKeyColours(doc, read); });
        if (!ok)
            return ProfileFileError::TooManyItems;
    }
    data = std::move(read);
    return ProfileFileError::None;
}

ProfileFileError ReadProfileFile(const wchar_t* path, ProfileFileData& data)
{
    std::string bytes;
    if (path == nullptr || !ReadBytes(path, bytes))
        return ProfileFileError::Unreadable;
    std::wstring text;
    const auto mark = [&](std::initializer_list<unsigned char> start) {
        return bytes.size() >= start.size() && std::equal(start.begin(), start.end(), bytes.begin(),
                                                          [](unsigned char m, char b) { return m == static_cast<unsigned char>(b); });
    };
    bool decoded = false;
    if (mark({0xFF, 0xFE}))
        decoded = Utf16ToText(bytes, false, text);
    else if (mark({0xFE, 0xFF}))
        decoded = Utf16ToText(bytes, true, text);
    else
        decoded = Utf8ToText(bytes, mark({0xEF, 0xBB, 0xBF}) ? 3 : 0, text);
    if (!decoded)
        return ProfileFileError::NotUtf8;
    return ReadProfileXml(CString(std::move(text)), data);
}

CString CutFileText(CString text)
{
    return text.GetLength() > kMaxProfileText ? text.Left(kMaxProfileText) : text;
}

int ProfileFileErrorText(ProfileFileError error)
{
    switch (error) {
    case ProfileFileError::Unreadable:
        return 830;
    case ProfileFileError::NotUtf8:
        return 831;
    case ProfileFileError::NotXml:
        return 832;
    case ProfileFileError::NotAProfile:
        return 833;
    case ProfileFileError::TooManyItems:
        return 834;
    case ProfileFileError::StoreFailed:
        return 835;
    case ProfileFileError::None:
        break;
    }
    return 0;
}

// ---- colours --------------------------------------------------------------------------------------

int ParseColorValue(const CString& text)
{
    if (text.GetLength() < 1)
        return 0;
    const std::wstring rest(text.GetString() + 1);
    if (rest.size() < 1 || rest.size() > 6)
        return 0;
    const auto part = [&](size_t at) {
        if (at >= rest.size())
            return 0;
        const std::wstring digits = rest.substr(at, 2);
        return static_cast<int>(std::wcstol(digits.c_str(), nullptr, 16));
    };
    // One digit of a part counts as the whole part's value.
    const int red = rest.size() >= 2 ? part(0) : 0;
    const int green = part(2);
    const int blue = part(4);
    return red | (green << 8) | (blue << 16);
}

CString FormatColorValue(int colorref)
{
    CString text;
    text.Format(L"#%02X%02X%02X", colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
    return text;
}

bool IsColorText(const CString& text)
{
    const int length = text.GetLength();
    if (length < 3 || length > 7 || text[0] != L'#')
        return false;
    for (int i = 1; i < length; ++i) {
        if (!std::iswxdigit(text[i]))
            return false;
    }
    return true;
}

// ---- new profiles -----------------------------------------------------------------------------------

std::vector<LightData> DefaultLightRows()
{
    struct Mode {
        int mode;
        const wchar_t* name;
        int flags;
        int colorful;
    };
    static const Mode modes[] = {
        {0, L"260", 0x37, 1},  {1, L"261", 0x33, 1},  {2, L"262", 0x3B, 1},  {3, L"263", 0x31, 1},
        {4, L"264", 0x33, 1},  {5, L"265", 0x33, 1},  {6, L"266", 0x33, 1},  {7, L"267", 0x33, 1},
        {8, L"268", 0x33, 1},  {9, L"269", 7, 1},     {10, L"270", 11, 1},   {11, L"271", 3, 1},
        {12, L"272", 7, 1},    {13, L"273", 3, 1},    {14, L"274", 0x110, 0}, {128, L"286", 0x200, 0},
    };
    std::vector<LightData> rows;
    for (const Mode& m : modes) {
        LightData row;
        row.name = m.name;
        row.mode = m.mode;
        row.brightness = 5;
        row.speed = 3;
        row.colorful = m.colorful;
        row.color_value1 = 255;
        row.config_func = m.flags;
        rows.push_back(row);
    }
    return rows;
}

NewProfileRows MergeProfileFile(const ProfileFileData& file, const std::vector<KeyMacroData>& seededKeys,
                                const std::set<int>& layoutKeys)
{
    NewProfileRows rows;
    rows.name = file.name;
    rows.makeActive = true;
    rows.keys = seededKeys;
    rows.lights = DefaultLightRows();
    rows.macros = file.macros;

    std::map<std::pair<int, int>, size_t> keyAt;
    for (size_t i = 0; i < rows.keys.size(); ++i)
        keyAt[{rows.keys[i].fn_layer, rows.keys[i].key_code}] = i;
    for (const KeyMacroData& item : file.keys) {
        const auto found = keyAt.find({item.fn_layer, item.key_code});
        if (found == keyAt.end())
            continue;  // a key this keyboard does not have
        KeyMacroData& row = rows.keys[found->second];
        row.macro_type = item.macro_type;
        row.macro_value = item.macro_value;
        row.macro_value2 = item.macro_value2;
        row.macro_value3 = item.macro_value3;
        row.macro_desc = item.macro_desc;
    }

    for (const LightData& item : file.lights) {
        for (LightData& row : rows.lights) {
            if (row.mode != item.mode)
                continue;
            row.brightness = item.brightness;
            row.speed = item.speed;
            row.direction = item.direction;
            row.colorful = item.colorful;
            row.colorindex = item.colorindex;
            row.color_value1 = item.color_value1;
        }
    }

    std::map<int, size_t> colourAt;
    for (const UserLightRgbData& item : file.keyColours) {
        if (layoutKeys.count(item.key_code) == 0)
            continue;
        const auto found = colourAt.find(item.key_code);
        if (found != colourAt.end()) {
            rows.keyColours[found->second].key_rgb = item.key_rgb;
            continue;
        }
        colourAt[item.key_code] = rows.keyColours.size();
        rows.keyColours.push_back(item);
    }
    return rows;
}

// ---- names ------------------------------------------------------------------------------------------

CString MakeProfileName(const CString& base, const std::vector<CString>& names)
{
    CString candidate;
    for (int n = 1; n <= 1000; ++n) {
        candidate.Format(L"%ls %02d", base.GetString(), n);
        if (std::find(names.begin(), names.end(), candidate) == names.end())
            return candidate;
    }
    return candidate;
}

CString ProfileDisplayName(const CString& stored, const CString& languageText,
                           const std::vector<CString>& otherLanguageTexts)
{
    struct Prefix
    {
        CString text;
        bool wholeWord;  // only alone or before a space
    };
    std::vector<Prefix> prefixes = {{L"\x914D\x7F6E\x65B9\x6848", false}, {L"Profile", false}};
    for (const CString& text : otherLanguageTexts) {
        if (!text.IsEmpty())
            prefixes.push_back({text, true});
    }
    // The longest first: "Profile 01" is the English default, not "Profil"
    // followed by "e 01".
    std::stable_sort(prefixes.begin(), prefixes.end(),
                     [](const Prefix& a, const Prefix& b) { return a.text.GetLength() > b.text.GetLength(); });
    for (const Prefix& prefix : prefixes) {
        const int length = prefix.text.GetLength();
        if (stored.GetLength() < length || stored.Left(length) != prefix.text)
            continue;
        const CString rest = stored.Mid(length);
        if (prefix.wholeWord && !rest.IsEmpty() && rest.GetString()[0] != L' ')
            continue;
        return languageText + rest;
    }
    return stored;
}

} // namespace tarnwell
