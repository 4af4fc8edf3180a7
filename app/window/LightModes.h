#pragma once

// The lighting page's rules that need no window: which editors a mode's flag
// word shows and what the RGB fields accept. (A new profile's light rows and
// the profile file's colour texts are the profile file's own.)

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/framework/CString.h"

namespace tarnwell {

// Flag word bits of a light row: the editors the mode has.
enum LightFlag : int {
    LIGHT_BRIGHTNESS = 0x1,
    LIGHT_SPEED = 0x2,
    LIGHT_DIRECTION_LR = 0x4,
    LIGHT_DIRECTION_UD = 0x8,
    LIGHT_COLOUR = 0x10,
    LIGHT_COLOURFUL = 0x20,
    LIGHT_PER_KEY = 0x100,
    LIGHT_MUSIC = 0x200,
};

// The mode the device takes while lighting is switched off.
inline constexpr int kLightOffMode = 255;
inline constexpr int kPerKeyMode = 14;

// Which of the direction radios a mode shows and the texts they carry.
struct DirectionEditor
{
    bool shown = false;
    bool upDown = false;  // radios 132/133 instead of 130/131
    int firstText = 0;    // titles of 130 and 131 (0 for the up/down pair)
    int secondText = 0;
};
DirectionEditor DirectionEditorFor(int flags, int mode);

// The value of one RGB field: a decimal number clamped to 0..255, anything
// else 0. `shown` is the text the field must show (empty when it already
// shows it).
struct ColourByte
{
    int value = 0;
    CString shown;
};
ColourByte ClampColourByte(const wchar_t* text);

inline COLORREF ColourOfBytes(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

} // namespace tarnwell
