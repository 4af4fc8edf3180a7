#include "app/window/VisualizerCore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tarnwell {

namespace {

const double kPi = 4.0 * std::atan(1.0);
const double kTwoPi = 8.0 * std::atan(1.0);

// Degrees per radian as the wheel effects use it.
constexpr double kDegreesPerRadian = 57.295827908797776;
// Columns to degrees for the sine rainbow (360 / 255).
constexpr double kRainbowStep = 1.4117647;
constexpr double kRainbowPhase = 2.0933335;
constexpr double kRainbowPi = 3.14;

// Effects of one solid colour, bands and the rest, by number.
enum Effect : int {
    EFFECT_BLACK = 0,
    EFFECT_BANDS_GYR = 1,
    EFFECT_BANDS_SPECTRUM = 2,
    EFFECT_BANDS_SPECTRUM_REVERSED = 3,
    EFFECT_WHEEL_CENTRE = 4,
    EFFECT_CYCLING_HUE = 5,
    EFFECT_SOLID_FIRST = 6,
    EFFECT_SOLID_LAST = 13,
    EFFECT_BANDS_GWR = 14,
    EFFECT_BANDS_BCW = 15,
    EFFECT_BANDS_RWB = 16,
    EFFECT_RAINBOW = 17,
    EFFECT_HUE_RAMP = 18,
    EFFECT_WHEEL_BOTTOM = 19,
    EFFECT_RAINBOW_SOLID = 20,
};

constexpr Pixel WHITE = 0xFFFFFF;
constexpr Pixel RED = 0x0000FF;
constexpr Pixel ORANGE = 0x00A5FF;
constexpr Pixel YELLOW = 0x00FFFF;
constexpr Pixel GREEN = 0x00FF00;
constexpr Pixel BLUE = 0xFF0000;
constexpr Pixel CYAN = 0xFFFF00;
constexpr Pixel MAGENTA = 0xFF00FF;
constexpr Pixel VIOLET = 0xFF0040;

const Pixel kSolidColours[] = {WHITE, RED, ORANGE, YELLOW, GREEN, BLUE, CYAN, VIOLET};

struct BandSet
{
    int effect;
    std::vector<Pixel> colours;
};

const std::vector<BandSet>& BandSets()
{
    static const std::vector<BandSet> sets = {
        {EFFECT_BANDS_GYR, {GREEN, YELLOW, RED}},
        {EFFECT_BANDS_SPECTRUM, {RED, YELLOW, GREEN, CYAN, BLUE, MAGENTA}},
        {EFFECT_BANDS_SPECTRUM_REVERSED, {MAGENTA, BLUE, CYAN, GREEN, YELLOW, RED}},
        {EFFECT_BANDS_GWR, {GREEN, WHITE, RED}},
        {EFFECT_BANDS_BCW, {BLUE, CYAN, WHITE}},
        {EFFECT_BANDS_RWB, {RED, WHITE, BLUE}},
    };
    return sets;
}

// Brightness 0..100 as the 0..255 factor; 100 gives 254, as the product
// always has.
int BrightnessFactor(int brightness) { return static_cast<int>(brightness * 2.55); }

Pixel Dim(Pixel colour, int factor)
{
    return MakePixel(PixelRed(colour) * factor / 256, PixelGreen(colour) * factor / 256,
                     PixelBlue(colour) * factor / 256);
}

void FillSolid(Pixel* layer, Pixel colour) { std::fill(layer, layer + SPECTRUM_PIXELS, colour); }

void FillBands(Pixel* layer, const std::vector<Pixel>& colours, int factor)
{
    const int n = static_cast<int>(colours.size());
    std::vector<Pixel> dimmed(colours.size());
    for (int i = 0; i < n; ++i)
        dimmed[static_cast<size_t>(i)] = Dim(colours[static_cast<size_t>(i)], factor);
    auto at = [&](int index) { return dimmed[static_cast<size_t>(std::clamp(index, 0, n - 1))]; };

    for (int y = 1; y < SPECTRUM_HEIGHT; ++y) {
        const Pixel colour = at(static_cast<int>(n - n * y / 63.0));
        std::fill(layer + y * SPECTRUM_WIDTH, layer + (y + 1) * SPECTRUM_WIDTH, colour);
    }
    for (int x = 0; x < SPECTRUM_WIDTH; ++x) {
        const int index = x < 128 ? std::min(static_cast<int>(n - n * x / 128.0), n - 1) : (x - 128) * n / 128;
        layer[x] = at(index);
    }
}

Pixel RainbowColumn(int x, float hue, int factor)
{
    const int degrees = static_cast<int>(x * kRainbowStep - hue) % 360;
    const double a = degrees / 360.0 * 2 * kRainbowPi;
    const int red = static_cast<int>((std::sin(a) + 1) * 127);
    const int green = static_cast<int>((std::sin(a - kRainbowPhase) + 1) * 127);
    const int blue = static_cast<int>((std::sin(a + kRainbowPhase) + 1) * 127);
    return MakePixel(red * factor / 256, green * factor / 256, blue * factor / 256);
}

void FillRainbow(Pixel* layer, float hue, int factor)
{
    for (int x = 0; x < SPECTRUM_WIDTH; ++x)
        layer[x] = RainbowColumn(x, hue, factor);
    for (int y = 1; y < SPECTRUM_HEIGHT; ++y)
        std::memcpy(layer + y * SPECTRUM_WIDTH, layer, SPECTRUM_WIDTH * sizeof(Pixel));
}

void FillHueRamp(Pixel* layer, float hue, int factor)
{
    for (int x = 0; x < SPECTRUM_WIDTH; ++x)
        layer[x] = HsvToRgb(static_cast<int>(256 - x + hue) % 360, 255, factor);
    for (int y = 1; y < SPECTRUM_HEIGHT; ++y)
        std::memcpy(layer + y * SPECTRUM_WIDTH, layer, SPECTRUM_WIDTH * sizeof(Pixel));
}

// Whole degrees of every pixel around a wheel's centre; they never change,
// so the arc tangents are worked out once per centre.
class WheelAngles
{
public:
    explicit WheelAngles(int centreRow) : m_angles(SPECTRUM_PIXELS)
    {
        for (int y = 0; y < SPECTRUM_HEIGHT; ++y) {
            for (int x = 0; x < SPECTRUM_WIDTH; ++x) {
                const double radians = std::atan2(static_cast<double>(y - centreRow), x - 128.0);
                m_angles[static_cast<size_t>(y * SPECTRUM_WIDTH + x)] =
                    static_cast<uint16_t>(static_cast<int>(radians * kDegreesPerRadian + 180) % 360);
            }
        }
    }
    const std::vector<uint16_t>& Angles() const { return m_angles; }

private:
    std::vector<uint16_t> m_angles;
};

void FillWheel(Pixel* layer, int centreRow, float hue, int factor)
{
    static const WheelAngles centre(32);
    static const WheelAngles bottom(64);
    const std::vector<uint16_t>& angles = centreRow == 32 ? centre.Angles() : bottom.Angles();
    // One colour per whole degree for this frame's hue.
    Pixel colours[360];
    for (int a = 0; a < 360; ++a)
        colours[a] = HsvToRgb(static_cast<int>(a + hue), 255, factor);
    for (int i = 0; i < SPECTRUM_PIXELS; ++i)
        layer[i] = colours[angles[static_cast<size_t>(i)]];
}

} // namespace

// ---- tables, transform and colour ------------------------------------------------------

WindowTable MakeWindowTable(int type)
{
    WindowTable table;
    for (int k = 0; k < HISTORY_VALUES; ++k) {
        const double w = 2 * kPi * k / HISTORY_VALUES;
        double value = 1.0;
        switch (type) {
        case WINDOW_HANN:
            value = 0.5 * (1 - std::cos(w));
            break;
        case WINDOW_HAMMING:
            value = 0.54 - 0.46 * std::cos(w);
            break;
        case WINDOW_BLACKMAN:
            value = 0.42 - 0.5 * std::cos(w) + 0.08 * std::cos(2 * w);
            break;
        default:
            break;
        }
        table[static_cast<size_t>(k)] = static_cast<float>(value);
    }
    return table;
}

void ApplyWindow(float* values, const WindowTable& table)
{
    for (int k = 0; k < HISTORY_VALUES; ++k)
        values[k] *= table[static_cast<size_t>(k)];
}

void ComplexFft(float* data)
{
    // Indexes below count from 1 as the classic recipe does.
    float* d = data - 1;
    const int n = FFT_FLOATS;
    const int nn = n / 2;
    int j = 1;
    for (int i = 1; i < n; i += 2) {
        if (j > i) {
            std::swap(d[j], d[i]);
            std::swap(d[j + 1], d[i + 1]);
        }
        int m = nn;
        while (m >= 2 && j > m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
    for (int block = 2; n > block; block <<= 1) {
        const int step = block << 1;
        const double theta = kTwoPi / block;
        double wtemp = std::sin(0.5 * theta);
        const double wpr = -2.0 * wtemp * wtemp;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (int m = 1; m < block; m += 2) {
            for (int i = m; i <= n; i += step) {
                const int k = i + block;
                const float tempr = static_cast<float>(wr * d[k] - wi * d[k + 1]);
                const float tempi = static_cast<float>(wr * d[k + 1] + wi * d[k]);
                d[k] = d[i] - tempr;
                d[k + 1] = d[i + 1] - tempi;
                d[i] += tempr;
                d[i + 1] += tempi;
            }
            wr = (wtemp = wr) * wpr - wi * wpi + wr;
            wi = wi * wpr + wtemp * wpi + wi;
        }
    }
    const float scale = 1.0f / FFT_FLOATS;
    for (int i = 0; i < n; ++i)
        data[i] *= scale;
}

void RealFft(float* data)
{
    float* d = data - 1;
    const int n = FFT_FLOATS;
    const double theta = kPi / (n >> 1);
    const float c1 = 0.5f;
    const float c2 = -0.5f;
    ComplexFft(data);
    double wtemp = std::sin(0.5 * theta);
    const double wpr = -2.0 * wtemp * wtemp;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    const int np3 = n + 3;
    for (int i = 2; i <= (n >> 2); ++i) {
        const int i1 = i + i - 1;
        const int i2 = 1 + i1;
        const int i3 = np3 - i2;
        const int i4 = 1 + i3;
        const float h1r = c1 * (d[i1] + d[i3]);
        const float h1i = c1 * (d[i2] - d[i4]);
        const float h2r = -c2 * (d[i2] + d[i4]);
        const float h2i = c2 * (d[i1] - d[i3]);
        d[i1] = static_cast<float>(h1r + wr * h2r - wi * h2i);
        d[i2] = static_cast<float>(h1i + wr * h2i + wi * h2r);
        d[i3] = static_cast<float>(h1r - wr * h2r + wi * h2i);
        d[i4] = static_cast<float>(-h1i + wr * h2i + wi * h2r);
        wr = (wtemp = wr) * wpr - wi * wpi + wr;
        wi = wi * wpr + wtemp * wpi + wi;
    }
    const float h1r = d[1];
    d[1] = h1r + d[2];
    d[2] = h1r - d[2];
}

Pixel HsvToRgb(int hue, int saturation, int value)
{
    const int v = value;
    const int s = saturation;
    if (s == 0)
        return MakePixel(v, v, v);
    // A negative hue would name no sector.
    const int h = ((hue % 360) + 360) % 360;
    const int f = h / 60;
    const int p = ((256 - s) * v) >> 8;
    int q = 0;
    int t = 0;
    if (f % 2 != 0)
        q = v * (s * (60 * f - h) + 15360) / 15360;
    else
        t = v * (s * (h - 60 * f - 60) + 15360) / 15360;
    switch (f) {
    case 0:
        return MakePixel(v, t, p);
    case 1:
        return MakePixel(q, v, p);
    case 2:
        return MakePixel(p, v, t);
    case 3:
        return MakePixel(p, q, v);
    case 4:
        return MakePixel(t, p, v);
    default:
        return MakePixel(v, p, q);
    }
}

void FillEffect(Pixel* layer, int effect, int brightness, float hue)
{
    const int factor = BrightnessFactor(brightness);
    if (effect == EFFECT_BLACK) {
        FillSolid(layer, 0);
        return;
    }
    if (effect >= EFFECT_SOLID_FIRST && effect <= EFFECT_SOLID_LAST) {
        FillSolid(layer, Dim(kSolidColours[effect - EFFECT_SOLID_FIRST], factor));
        return;
    }
    for (const BandSet& set : BandSets()) {
        if (set.effect == effect) {
            FillBands(layer, set.colours, factor);
            return;
        }
    }
    switch (effect) {
    case EFFECT_WHEEL_CENTRE:
        FillWheel(layer, 32, hue, factor);
        break;
    case EFFECT_CYCLING_HUE:
        FillSolid(layer, HsvToRgb(static_cast<int>(hue), 255, factor));
        break;
    case EFFECT_RAINBOW:
        FillRainbow(layer, hue, factor);
        break;
    case EFFECT_HUE_RAMP:
        FillHueRamp(layer, hue, factor);
        break;
    case EFFECT_WHEEL_BOTTOM:
        FillWheel(layer, 64, hue, factor);
        break;
    case EFFECT_RAINBOW_SOLID:
        FillSolid(layer, RainbowColumn(1, hue, factor));
        break;
    default:
        break;  // unknown numbers keep the layer
    }
}

// ---- captured samples --------------------------------------------------------------------

namespace {

// The extensible form's sub-format: the plain format tag in the first field
// of the common base GUID.
bool IsSubFormat(const GUID& guid, WORD tag)
{
    static const GUID base = {0x00000000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    return guid.Data1 == tag && guid.Data2 == base.Data2 && guid.Data3 == base.Data3 &&
           std::memcmp(guid.Data4, base.Data4, sizeof base.Data4) == 0;
}

} // namespace

SampleFormat DescribeFormat(const WAVEFORMATEX* format)
{
    SampleFormat result;
    if (format == nullptr || format->nChannels == 0)
        return result;
    WORD tag = format->wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (format->cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX))
            return result;
        const auto* extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(format);
        if (IsSubFormat(extensible->SubFormat, WAVE_FORMAT_IEEE_FLOAT))
            tag = WAVE_FORMAT_IEEE_FLOAT;
        else if (IsSubFormat(extensible->SubFormat, WAVE_FORMAT_PCM))
            tag = WAVE_FORMAT_PCM;
        else
            return result;
    }
    SampleKind kind = SampleKind::Unsupported;
    int bytes = 0;
    if (tag == WAVE_FORMAT_IEEE_FLOAT && format->wBitsPerSample == 32) {
        kind = SampleKind::Float32;
        bytes = 4;
    } else if (tag == WAVE_FORMAT_PCM && format->wBitsPerSample == 16) {
        kind = SampleKind::Pcm16;
        bytes = 2;
    }
    if (kind == SampleKind::Unsupported || format->nBlockAlign != format->nChannels * bytes)
        return result;
    result.kind = kind;
    result.channels = format->nChannels;
    result.blockAlign = format->nBlockAlign;
    return result;
}

void ConvertPacket(const BYTE* data, uint32_t frames, bool silent, const SampleFormat& format,
                   std::vector<float>& values)
{
    const uint32_t groups = (frames + FRAMES_PER_VALUE - 1) / FRAMES_PER_VALUE;
    if (silent || data == nullptr || format.kind == SampleKind::Unsupported) {
        values.insert(values.end(), groups, 0.0f);
        return;
    }
    const int channels = format.channels;
    for (uint32_t g = 0; g < groups; ++g) {
        const uint32_t first = g * FRAMES_PER_VALUE;
        const uint32_t last = std::min(frames, first + FRAMES_PER_VALUE);
        float sum = 0.0f;
        for (uint32_t f = first; f < last; ++f) {
            const BYTE* frame = data + static_cast<size_t>(f) * static_cast<size_t>(format.blockAlign);
            for (int c = 0; c < channels; ++c) {
                if (format.kind == SampleKind::Float32) {
                    float sample;
                    std::memcpy(&sample, frame + c * 4, sizeof sample);
                    sum += sample;
                } else {
                    int16_t sample;
                    std::memcpy(&sample, frame + c * 2, sizeof sample);
                    sum += sample / 32768.0f;
                }
            }
        }
        values.push_back(sum / static_cast<float>(channels * static_cast<int>(last - first)));
    }
}

// ---- analysis -------------------------------------------------------------------------------

SpectrumAnalyzer::SpectrumAnalyzer()
{
    for (int type = 0; type < 4; ++type)
        m_windows[type] = MakeWindowTable(type);
    for (int k = 0; k < BAND_COUNT; ++k)
        m_tilt[static_cast<size_t>(k)] = 0.04f + 0.5f * k / 256.0f;
}

void SpectrumAnalyzer::ClearHistory() { m_history.fill(0.0f); }

void SpectrumAnalyzer::Analyze(const float* values, size_t count, const AnalyzerSettings& settings)
{
    const float keep = settings.decay / 100.0f;
    for (float& level : m_levels)
        level *= keep;

    // Only the newest history's worth of values can matter; the history
    // moves once for all of them.
    const size_t taken = std::min(count, static_cast<size_t>(HISTORY_VALUES));
    const float scale = 2.0f * static_cast<float>(settings.gain);
    if (taken > 0) {
        const size_t kept = FFT_FLOATS - 2 * taken;
        std::memmove(m_history.data(), m_history.data() + 2 * taken, kept * sizeof(float));
        const float* newest = values + (count - taken);
        for (size_t i = 0; i < taken; ++i) {
            const float v = newest[i] * scale;
            m_history[kept + 2 * i] = v;
            m_history[kept + 2 * i + 1] = v;
        }
    }

    m_work = m_history;
    const int type = settings.windowType;
    if (type >= WINDOW_HANN && type <= WINDOW_BLACKMAN)
        ApplyWindow(m_work.data(), m_windows[type]);
    RealFft(m_work.data());
    m_work[0] = m_work[2];
    for (int k = 0; k < BAND_COUNT; ++k)
        m_work[static_cast<size_t>(k)] *= m_tilt[static_cast<size_t>(k)];

    for (int b = 0; b < FFT_BINS_USED; ++b) {
        const float re = m_work[static_cast<size_t>(2 * b)];
        const float im = m_work[static_cast<size_t>(2 * b + 1)];
        const float m = std::sqrt(re * re + im * im);
        float v = 0.5f * std::log10(1.1f * m) + 0.9f * m;
        v = std::min(v, 1.0f);
        float& level = m_levels[static_cast<size_t>(BANDS_PER_BIN * b)];
        if (v > level)
            level = v;
        if (level < 0)
            level = 0;
        for (int i = 1; i < BANDS_PER_BIN; ++i)
            m_levels[static_cast<size_t>(BANDS_PER_BIN * b + i)] = level;
    }

    Smooth(m_levels.data(), settings.smoothingMode, settings.smoothingWidth);

    for (int i = 0; i < BAND_COUNT; ++i)
        m_display[static_cast<size_t>(i)] +=
            (m_levels[static_cast<size_t>(i)] - m_display[static_cast<size_t>(i)]) * settings.displaySmoothing;
}

void SpectrumAnalyzer::Smooth(float* levels, int mode, int width)
{
    // Wider than this, the edge sums of the moving average would reach past
    // either end of the bands.
    const int n = std::clamp(width, 1, BAND_COUNT / 2 - 1);
    auto mean = [levels](int first, int last) {
        float sum = 0.0f;
        for (int i = first; i <= last; ++i)
            sum += levels[i];
        return sum / static_cast<float>(last - first + 1);
    };
    if (mode == SMOOTH_BLOCKS) {
        const float head = mean(0, n - 1);
        std::fill(levels, levels + n, head);
        const float tail = mean(BAND_COUNT - n, BAND_COUNT - 1);
        std::fill(levels + BAND_COUNT - n, levels + BAND_COUNT, tail);
        for (int start = 0; start < BAND_COUNT - n; start += n) {
            const float block = mean(start, start + n - 1);
            std::fill(levels + start, levels + start + n, block);
        }
    } else if (mode == SMOOTH_MOVING) {
        for (int i = 0; i < n; ++i) {
            levels[i] = mean(0, n + i);
            levels[BAND_COUNT - 1 - i] = mean(BAND_COUNT - 1 - n - i, BAND_COUNT - 1);
        }
        for (int i = n; i < BAND_COUNT - n; ++i) {
            float sum = levels[i];
            for (int j = 1; j <= n; ++j)
                sum += levels[i - j] + levels[i + j];
            levels[i] = sum / static_cast<float>(2 * n + 1);
        }
    }
}

// ---- drawing --------------------------------------------------------------------------------

SpectrumPainter::SpectrumPainter()
    : m_background(SPECTRUM_PIXELS, 0), m_foreground(SPECTRUM_PIXELS, 0)
{
    m_images[0].assign(SPECTRUM_PIXELS, 0);
    m_images[1].assign(SPECTRUM_PIXELS, 0);
    m_back = m_images[0].data();
    m_front.store(m_images[1].data(), std::memory_order_release);
}

Pixel SpectrumPainter::FrontPixel(int x, int y) const
{
    if (x < 0 || x >= SPECTRUM_WIDTH || y < 0 || y >= SPECTRUM_HEIGHT)
        return 0;
    return Front()[y * SPECTRUM_WIDTH + x];
}

void SpectrumPainter::Compose(Pixel* out, const Pixel* foreground, const Pixel* background, const float* display)
{
    for (int y = 0; y < SPECTRUM_HEIGHT; ++y) {
        const float threshold = (64 - y) / 64.0f;
        const int row = y * SPECTRUM_WIDTH;
        for (int x = 0; x < SPECTRUM_WIDTH; ++x)
            out[row + x] = display[x] > threshold ? foreground[row + x] : background[row + x];
    }
    const float meter = display[5] - 0.05f;
    for (int x = 0; x < SPECTRUM_WIDTH; ++x) {
        const float reach = x < 128 ? (127 - x) / 128.0f : (x - 128) / 128.0f;
        out[x] = reach < meter ? foreground[x] : background[x];
    }
}

void SpectrumPainter::Paint(const float* display, const PainterSettings& settings)
{
    if (m_hue >= 360.0f)
        m_hue = 0.0f;
    else if (m_hue < 0.0f)
        m_hue = 360.0f;
    FillEffect(m_background.data(), settings.backgroundEffect, settings.backgroundBrightness, m_hue);
    FillEffect(m_foreground.data(), settings.foregroundEffect, 100, m_hue);
    Compose(m_back, m_foreground.data(), m_background.data(), display);
    Pixel* finished = m_back;
    m_back = const_cast<Pixel*>(m_front.load(std::memory_order_relaxed));
    m_front.store(finished, std::memory_order_release);
    m_hue += settings.hueSpeed / 100.0f;
}

} // namespace tarnwell
