#pragma once

// The lighting page's rules that need no window: the default light modes of a
// new profile, which editors a mode's flag word shows, the colour texts of the
// profile file and the RGB fields, and the per-key colours of a profile.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/framework/CString.h"

class ConfigDB;

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
inline constexpr int kMusicMode = 128;

struct DefaultLightMode
{
    int mode;
    int nameText;  // a text number of section "KB.DIALOG"
    int flags;
    int colorful;
};
const std::vector<DefaultLightMode>& DefaultLightModes();

// Adds the music layer row when the profile has none and, when the profile
// has no light row yet, the default modes with mode 0 active.
void InsertDefaultLightModes(ConfigDB& store, int profile);

// Which of the direction radios a mode shows and the texts they carry.
struct DirectionEditor
{
    bool shown = false;
    bool upDown = false;  // radios 132/133 instead of 130/131
    int firstText = 0;    // titles of 130 and 131 (0 for the up/down pair)
    int secondText = 0;
};
DirectionEditor DirectionEditorFor(int flags, int mode);

// "#RRGGBB" of a profile file to a COLORREF; missing digits count as 0, a
// text with one or more than six digits after the first character gives 0.
COLORREF ParseColorValue(const wchar_t* text);

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
