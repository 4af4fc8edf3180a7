#include "app/window/LightModes.h"

#include <cwchar>

namespace tarnwell {

namespace {

// Direction titles: most modes say left/right; two say otherwise.
constexpr int kDirectionTexts[] = {208, 209};
constexpr int kMode9DirectionTexts[] = {210, 211};
constexpr int kMode12DirectionTexts[] = {212, 213};

} // namespace

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
