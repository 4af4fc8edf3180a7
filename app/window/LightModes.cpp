#include "app/window/LightModes.h"

#include <cwchar>

#include "app/store/ConfigDB.h"

namespace tarnwell {

namespace {

constexpr int kDefaultBrightness = 5;
constexpr int kDefaultSpeed = 3;
constexpr int kDefaultColour = 255;
constexpr int kMusicForeMode = 4;
constexpr int kFirstModeActive = 0;

// Direction titles: most modes say left/right; two say otherwise.
constexpr int kDirectionTexts[] = {208, 209};
constexpr int kMode9DirectionTexts[] = {210, 211};
constexpr int kMode12DirectionTexts[] = {212, 213};

} // namespace

const std::vector<DefaultLightMode>& DefaultLightModes()
{
    static const std::vector<DefaultLightMode> modes = {
        {0, 260, 0x37, 1},  {1, 261, 0x33, 1},  {2, 262, 0x3B, 1},  {3, 263, 0x31, 1},
        {4, 264, 0x33, 1},  {5, 265, 0x33, 1},  {6, 266, 0x33, 1},  {7, 267, 0x33, 1},
        {8, 268, 0x33, 1},  {9, 269, 0x07, 1},  {10, 270, 0x0B, 1}, {11, 271, 0x03, 1},
        {12, 272, 0x07, 1}, {13, 273, 0x03, 1}, {14, 274, 0x110, 0}, {128, 286, 0x200, 0},
    };
    return modes;
}

void InsertDefaultLightModes(ConfigDB& store, int profile)
{
    if (store.CountMusicLayers(profile) == 0)
        store.InsertMusicLayer(profile, L"Music", kMusicForeMode);
    if (store.CountLights(profile) != 0)
        return;
    for (const DefaultLightMode& mode : DefaultLightModes()) {
        LightData row;
        row.profile = profile;
        wchar_t name[16];
        std::swprintf(name, 16, L"%d", mode.nameText);
        row.name = name;
        row.mode = mode.mode;
        row.brightness = kDefaultBrightness;
        row.speed = kDefaultSpeed;
        row.colorful = mode.colorful;
        row.color_value1 = kDefaultColour;
        row.config_func = mode.flags;
        store.InsertLight(row);
    }
    store.SetActiveLight(profile, kFirstModeActive);
}

DirectionEditor DirectionEditorFor(int flags, int mode)
{
    DirectionEditor editor;
    if (flags & LIGHT_DIRECTION_LR) {
        editor.shown = true;
        const int* texts = mode == 9 ? kMode9DirectionTexts : mode == 12 ? kMode12DirectionTexts : kDirectionTexts;
        editor.firstText = texts[0];
        editor.secondText = texts[1];
    } else if (flags & LIGHT_DIRECTION_UD) {
        editor.shown = true;
        editor.upDown = true;
    }
    return editor;
}

COLORREF ParseColorValue(const wchar_t* text)
{
    if (!text || !*text)
        return 0;
    const wchar_t* digits = text + 1;
    const size_t count = std::wcslen(digits);
    if (count == 1 || count > 6)
        return 0;
    int parts[3] = {0, 0, 0};
    for (size_t i = 0; i < count; i += 2) {
        // Each part is the hexadecimal value of its own one or two digits:
        // "#FF8" gives green 8.
        wchar_t pair[3] = {digits[i], i + 1 < count ? digits[i + 1] : L'\0', L'\0'};
        parts[i / 2] = static_cast<int>(std::wcstol(pair, nullptr, 16));
    }
    return ColourOfBytes(parts[0], parts[1], parts[2]);
}

ColourByte ClampColourByte(const wchar_t* text)
{
    ColourByte result;
    long value = 0;
    if (text && *text) {
        wchar_t* end = nullptr;
        value = std::wcstol(text, &end, 10);
        if (end == text)
            value = 0;
    }
    if (value < 0)
        value = 0;
    if (value > 255)
        value = 255;
    result.value = static_cast<int>(value);
    wchar_t shown[8];
    std::swprintf(shown, 8, L"%d", result.value);
    if (!text || std::wcscmp(text, shown) != 0)
        result.shown = shown;
    return result;
}

} // namespace tarnwell
