#pragma once

// The HSL colour model of the colour field and the colour panel. Hue,
// saturation and lightness run from 0 to 1; colours cross as COLORREF
// (0x00BBGGRR). Every step is single-precision arithmetic, so a colour does
// not always survive a round trip: pure green comes back as RGB(4, 255, 0)
// once its hue has been stored as a whole number of degrees.

#include <windows.h>

#include "ui/framework/VrelExport.h"

namespace VREL {

struct HslValue
{
    float h;
    float s;
    float l;
};

// One channel of an HSL colour: m1 and m2 are the lightness bounds, h the
// hue shifted for the channel.
VREL_API float HueToRgb(float m1, float m2, float h);
// Channels are truncated, not rounded.
VREL_API COLORREF HslToRgb(float h, float s, float l);
VREL_API HslValue RgbToHsl(COLORREF colour);

// The whole-number form the colour controls store: hue in degrees 0 to 360,
// saturation and lightness 0 to 200 (half-percent steps).
constexpr int kHueScale = 360;
constexpr int kSaturationScale = 200;
constexpr int kLightnessScale = 200;
// fraction x scale, truncated.
VREL_API int ScaleFraction(float fraction, int scale);
// HslToRgb of H / 360, S / 200, L / 200.
VREL_API COLORREF HslToRgbScaled(int h, int s, int l);

} // namespace VREL
