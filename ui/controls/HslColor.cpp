#include "ui/controls/HslColor.h"

namespace VREL {

namespace {

// The 32-bit x87 unit computes in extended precision; the model's results
// (and the colours users see after a round trip) are those of single
// precision, so every step is rounded to float through memory.
float F(float value)
{
    volatile float stored = value;
    return stored;
}

float Add(float a, float b) { return F(a + b); }
float Sub(float a, float b) { return F(a - b); }
float Mul(float a, float b) { return F(a * b); }
float Div(float a, float b) { return F(a / b); }

const float kOneThird = F(1.0f / 3.0f);
const float kTwoThirds = F(2.0f / 3.0f);
constexpr float kChannelMax = 255.0f;

BYTE Channel(float fraction) { return static_cast<BYTE>(static_cast<int>(Mul(kChannelMax, fraction))); }

} // namespace

float HueToRgb(float m1, float m2, float h)
{
    if (h < 0.0f)
        h = Add(h, 1.0f);
    if (h > 1.0f)
        h = Sub(h, 1.0f);
    if (Mul(6.0f, h) < 1.0f)
        return Add(m1, Mul(Mul(Sub(m2, m1), 6.0f), h));
    if (Mul(2.0f, h) < 1.0f)
        return m2;
    if (Mul(3.0f, h) < 2.0f)
        return Add(m1, Mul(Mul(Sub(m2, m1), Sub(kTwoThirds, h)), 6.0f));
    return m1;
}

COLORREF HslToRgb(float h, float s, float l)
{
    if (s == 0.0f)
    {
        const BYTE grey = Channel(l);
        return RGB(grey, grey, grey);
    }
    const float m2 = l < 0.5f ? Mul(l, Add(1.0f, s)) : Sub(Add(l, s), Mul(s, l));
    const float m1 = Sub(Mul(2.0f, l), m2);
    const BYTE red = Channel(HueToRgb(m1, m2, Add(h, kOneThird)));
    const BYTE green = Channel(HueToRgb(m1, m2, h));
    const BYTE blue = Channel(HueToRgb(m1, m2, Sub(h, kOneThird)));
    return RGB(red, green, blue);
}

HslValue RgbToHsl(COLORREF colour)
{
    const float r = Div(static_cast<float>(GetRValue(colour)), kChannelMax);
    const float g = Div(static_cast<float>(GetGValue(colour)), kChannelMax);
    const float b = Div(static_cast<float>(GetBValue(colour)), kChannelMax);
    float max = r;
    if (g > max)
        max = g;
    if (b > max)
        max = b;
    float min = r;
    if (g < min)
        min = g;
    if (b < min)
        min = b;

    HslValue result = {0.0f, 0.0f, Div(Add(max, min), 2.0f)};
    if (max == min)
        return result;

    const float d = Sub(max, min);
    result.s = result.l < 0.5f ? Div(d, Add(max, min)) : Div(d, Sub(Sub(2.0f, max), min));
    const float halfD = Div(d, 2.0f);
    const float dr = Div(Add(Div(Sub(max, r), 6.0f), halfD), d);
    const float dg = Div(Add(Div(Sub(max, g), 6.0f), halfD), d);
    const float db = Div(Add(Div(Sub(max, b), 6.0f), halfD), d);
    if (r == max)
        result.h = Sub(db, dg);
    else if (g == max)
        result.h = Sub(Add(kOneThird, dr), db);
    else
        result.h = Sub(Add(kTwoThirds, dg), dr);
    if (result.h < 0.0f)
        result.h = Add(result.h, 1.0f);
    if (result.h > 1.0f)
        result.h = Sub(result.h, 1.0f);
    return result;
}

int ScaleFraction(float fraction, int scale) { return static_cast<int>(Mul(fraction, static_cast<float>(scale))); }

COLORREF HslToRgbScaled(int h, int s, int l)
{
    return HslToRgb(Div(static_cast<float>(h), static_cast<float>(kHueScale)),
                    Div(static_cast<float>(s), static_cast<float>(kSaturationScale)),
                    Div(static_cast<float>(l), static_cast<float>(kLightnessScale)));
}

} // namespace VREL
