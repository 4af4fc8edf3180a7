#include "app/window/KeyAssign.h"

#include "app/device/KeyCodes.h"

namespace tarnwell {

namespace {

// HID keyboard usage of a letter.
constexpr int Letter(char c) { return 4 + (c - 'A'); }

constexpr int kEscape = 41;
constexpr int kMinus = 45;
constexpr int kEqual = 46;
constexpr int kLeftBracket = 47;
constexpr int kRightBracket = 48;
constexpr int kSemicolon = 51;
constexpr int kQuote = 52;
constexpr int kGrave = 53;
constexpr int kComma = 54;
constexpr int kPeriod = 55;
constexpr int kSlash = 56;
constexpr int kLeftAlt = 226;
constexpr int kLeftGui = 227;
constexpr int kRightAlt = 230;
constexpr int kRightGui = 231;

struct Remap {
    int from;
    int to;
    const wchar_t* text;  // null: the name of the new usage
};

const Remap kMacModifiers[] = {
    {kLeftGui, kLeftAlt, L"Opt"},
    {kLeftAlt, kLeftGui, L"Cmd"},
    {kRightAlt, kRightGui, L"Cmd"},
};

const Remap kDvorak[] = {
    {kEscape, kGrave, nullptr},           {kMinus, kLeftBracket, nullptr},     {kEqual, kRightBracket, nullptr},
    {Letter('Q'), kQuote, nullptr},       {Letter('W'), kComma, nullptr},      {Letter('E'), kPeriod, nullptr},
    {Letter('R'), Letter('P'), nullptr},  {Letter('T'), Letter('Y'), nullptr}, {Letter('Y'), Letter('F'), nullptr},
    {Letter('U'), Letter('G'), nullptr},  {Letter('I'), Letter('C'), nullptr}, {Letter('O'), Letter('R'), nullptr},
    {Letter('P'), Letter('L'), nullptr},  {kLeftBracket, kSlash, nullptr},     {kRightBracket, kEqual, nullptr},
    {Letter('S'), Letter('O'), nullptr},  {Letter('D'), Letter('E'), nullptr}, {Letter('F'), Letter('U'), nullptr},
    {Letter('G'), Letter('I'), nullptr},  {Letter('H'), Letter('D'), nullptr}, {Letter('J'), Letter('H'), nullptr},
    {Letter('K'), Letter('T'), nullptr},  {Letter('L'), Letter('N'), nullptr}, {kSemicolon, Letter('S'), nullptr},
    {kQuote, kMinus, nullptr},            {Letter('Z'), kSemicolon, nullptr},  {Letter('X'), Letter('Q'), nullptr},
    {Letter('C'), Letter('J'), nullptr},  {Letter('V'), Letter('K'), nullptr}, {Letter('B'), Letter('X'), nullptr},
    {Letter('N'), Letter('B'), nullptr},  {Letter('M'), Letter('M'), nullptr}, {kComma, Letter('W'), nullptr},
    {kPeriod, Letter('V'), nullptr},      {kSlash, Letter('Z'), nullptr},
};

const Remap kColemak[] = {
    {Letter('E'), Letter('F'), nullptr}, {Letter('R'), Letter('P'), nullptr}, {Letter('T'), Letter('G'), nullptr},
    {Letter('Y'), Letter('J'), nullptr}, {Letter('U'), Letter('L'), nullptr}, {Letter('I'), Letter('U'), nullptr},
    {Letter('O'), Letter('Y'), nullptr}, {Letter('P'), kSemicolon, nullptr},  {Letter('S'), Letter('R'), nullptr},
    {Letter('D'), Letter('S'), nullptr}, {Letter('F'), Letter('T'), nullptr}, {Letter('G'), Letter('D'), nullptr},
    {Letter('J'), Letter('N'), nullptr}, {Letter('K'), Letter('E'), nullptr}, {Letter('L'), Letter('I'), nullptr},
    {kSemicolon, Letter('O'), nullptr},  {Letter('N'), Letter('K'), nullptr},
};

const Remap kWorkman[] = {
    {Letter('W'), Letter('D'), nullptr}, {Letter('E'), Letter('R'), nullptr}, {Letter('R'), Letter('W'), nullptr},
    {Letter('T'), Letter('B'), nullptr}, {Letter('Y'), Letter('J'), nullptr}, {Letter('U'), Letter('F'), nullptr},
    {Letter('I'), Letter('U'), nullptr}, {Letter('O'), Letter('P'), nullptr}, {Letter('P'), kSemicolon, nullptr},
    {Letter('D'), Letter('H'), nullptr}, {Letter('F'), Letter('T'), nullptr}, {Letter('H'), Letter('Y'), nullptr},
    {Letter('J'), Letter('N'), nullptr}, {Letter('K'), Letter('E'), nullptr}, {Letter('L'), Letter('O'), nullptr},
    {kSemicolon, Letter('I'), nullptr},  {Letter('C'), Letter('M'), nullptr}, {Letter('V'), Letter('C'), nullptr},
    {Letter('B'), Letter('V'), nullptr}, {Letter('N'), Letter('K'), nullptr}, {Letter('M'), Letter('L'), nullptr},
};

template <size_t N>
const Remap* Find(const Remap (&table)[N], int code)
{
    for (const Remap& remap : table) {
        if (remap.from == code)
            return &remap;
    }
    return nullptr;
}

const Remap* FindRemap(LayoutPreset preset, int code)
{
    switch (preset) {
    case LayoutPreset::MacModifiers:
        return Find(kMacModifiers, code);
    case LayoutPreset::Dvorak:
        return Find(kDvorak, code);
    case LayoutPreset::Colemak:
        return Find(kColemak, code);
    case LayoutPreset::Workman:
        return Find(kWorkman, code);
    case LayoutPreset::Standard:
        break;
    }
    return nullptr;
}

bool IsRoundKey(int code) { return code >= KEY_CODE_ROUND_FIRST && code <= KEY_CODE_ROUND_LAST; }

// The values the round control key's codes take after a reset: the single
// key's reset and the layer's differ for three of them.
constexpr int kRoundKeyReset[] = {240, 2176, 2432, 2688};
constexpr int kRoundLayerReset[] = {496, 2288, 2432, 2800};

} // namespace

const std::vector<FunctionItem>& CatalogueItems(int category)
{
    static const std::vector<FunctionItem> media = {
        {387, 160, nullptr}, {233, 161, nullptr}, {234, 162, nullptr}, {226, 163, nullptr}, {205, 164, nullptr},
        {183, 165, nullptr}, {182, 166, nullptr}, {181, 167, nullptr}, {111, 168, nullptr}, {112, 169, nullptr},
        {547, 170, nullptr}, {551, 171, nullptr}, {550, 172, nullptr}, {548, 173, nullptr}, {549, 174, nullptr},
        {554, 175, nullptr}, {545, 176, nullptr}, {404, 177, nullptr}, {402, 178, nullptr}, {394, 179, nullptr},
    };
    static const std::vector<FunctionItem> fKeys = {
        {104, 0, L"F13"}, {105, 0, L"F14"}, {106, 0, L"F15"}, {107, 0, L"F16"}, {108, 0, L"F17"}, {109, 0, L"F18"},
        {110, 0, L"F19"}, {111, 0, L"F20"}, {112, 0, L"F21"}, {113, 0, L"F22"}, {114, 0, L"F23"}, {115, 0, L"F24"},
    };
    static const std::vector<FunctionItem> mouse = {
        {1, 151, nullptr}, {2, 152, nullptr}, {3, 153, nullptr}, {7, 155, nullptr}, {8, 156, nullptr},
    };
    static const std::vector<FunctionItem> none;
    switch (category) {
    case CATEGORY_MEDIA:
        return media;
    case CATEGORY_F_KEYS:
        return fKeys;
    case CATEGORY_MOUSE:
        return mouse;
    default:
        return none;
    }
}

int CategoryKeyType(int category)
{
    switch (category) {
    case CATEGORY_MEDIA:
        return KEY_TYPE_CONSUMER;
    case CATEGORY_F_KEYS:
        return KEY_TYPE_KEY;
    case CATEGORY_MACRO:
        return KEY_TYPE_MACRO;
    case CATEGORY_MOUSE:
    case 6:  // the mouse functions of the other picker
        return KEY_TYPE_MOUSE;
    default:
        return KEY_TYPE_NONE;
    }
}

std::vector<KeyMacroData> SeedKeyRows(int profile, const std::vector<PictureKey>& keys)
{
    std::vector<KeyMacroData> rows;
    rows.reserve(keys.size() * 2);
    for (const PictureKey& key : keys) {
        for (int layer : {FN_LAYER_BASE, FN_LAYER_FN}) {
            KeyMacroData row;
            row.profile = profile;
            row.fn_layer = layer;
            row.key_code = key.code;
            row.macro_type = layer == FN_LAYER_BASE ? KEY_TYPE_KEY : KEY_TYPE_NONE;
            row.macro_value = key.code;
            row.macro_desc = key.name;
            rows.push_back(row);
        }
    }
    return rows;
}

bool AssignListItem(KeyMacroData& row, int category, int value, const CString& text)
{
    // Every item of the list has a value of 0 or more; a negative one is the
    // list saying that nothing is selected.
    const int type = CategoryKeyType(category);
    if (value < 0 || type == KEY_TYPE_NONE)
        return false;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    row.macro_desc = text;
    return true;
}

void AssignPickedCell(KeyMacroData& row, int code, int flag, int third, const CString& name)
{
    row.macro_desc = name;
    if (code == PICKER_NULL_CODE && flag == 0 && third == 0) {
        row.macro_type = KEY_TYPE_OFF;
        row.macro_value = PICKER_NULL_CODE;
        row.macro_value2 = 0;
        row.macro_value3 = 0;
        return;
    }
    row.macro_type = KEY_TYPE_KEY;
    row.macro_value = code;
    row.macro_value2 = flag;
    row.macro_value3 = third;
}

void ResetKeyRow(KeyMacroData& row, int layer)
{
    const int code = row.key_code;
    row.macro_value = code;
    row.macro_type = layer == FN_LAYER_BASE ? KEY_TYPE_KEY : KEY_TYPE_NONE;
    row.macro_desc = GetKeyName(code);
    if (IsRoundKey(code)) {
        row.macro_type = KEY_TYPE_ROUND_KEY;
        row.macro_value = kRoundKeyReset[code - KEY_CODE_ROUND_FIRST];
    }
}

void ResetLayerRow(KeyMacroData& row, int layer, const KeyMacroData* defaults)
{
    const int code = row.key_code;
    row.macro_value = code;
    row.macro_desc = GetKeyName(code);
    row.macro_type = layer == FN_LAYER_BASE ? KEY_TYPE_KEY : KEY_TYPE_NONE;
    if (IsRoundKey(code)) {
        row.macro_type = KEY_TYPE_ROUND_KEY;
        row.macro_value = kRoundLayerReset[code - KEY_CODE_ROUND_FIRST];
    }
    if (layer == FN_LAYER_FN && defaults != nullptr) {
        const int profile = row.profile;
        const int keyId = row.key_id;
        row = *defaults;
        row.profile = profile;
        row.key_id = keyId;
        row.fn_layer = layer;
        row.key_code = code;
    }
}

bool PresetOfItem(int item, LayoutPreset& preset)
{
    switch (item) {
    case 202:
    case 204:
        preset = LayoutPreset::Standard;
        return true;
    case 203:
        preset = LayoutPreset::MacModifiers;
        return true;
    case 205:
        preset = LayoutPreset::Dvorak;
        return true;
    case 206:
        preset = LayoutPreset::Colemak;
        return true;
    case 207:
        preset = LayoutPreset::Workman;
        return true;
    default:
        return false;
    }
}

void ApplyPresetRow(KeyMacroData& row, LayoutPreset preset)
{
    // Each preset starts from the key's own code, so choosing it twice gives
    // the same map as choosing it once.
    row.macro_type = KEY_TYPE_KEY;
    row.macro_value = row.key_code;
    row.macro_desc = GetKeyName(row.key_code);
    if (const Remap* remap = FindRemap(preset, row.key_code)) {
        row.macro_value = remap->to;
        row.macro_desc = remap->text != nullptr ? CString(remap->text) : GetKeyName(remap->to);
    }
}

} // namespace tarnwell
