// The spectrum analysis and drawing fed with signals of the tests' own.

#include <windows.h>

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/window/VisualizerCore.h"

namespace {

using namespace tarnwell;

const double kPi = 3.14159265358979323846;

// Values of one sine whose period puts it into FFT bin `bin` (the history
// holds every value twice, so 256 values span the 512-point transform).
std::vector<float> Sine(int bin, float amplitude, int count = HISTORY_VALUES)
{
    std::vector<float> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<size_t>(i)] = amplitude * static_cast<float>(std::sin(2 * kPi * bin * i / HISTORY_VALUES));
    return values;
}

AnalyzerSettings Unsmoothed()
{
    AnalyzerSettings settings;
    settings.smoothingMode = 2;
    return settings;
}

TEST(VisualizerTables, WindowTablesAtKnownPoints)
{
    const struct
    {
        int type;
        int k;
        float expected;
    } cases[] = {
        {WINDOW_HANN, 0, 0.0f},      {WINDOW_HANN, 64, 0.5f},      {WINDOW_HANN, 128, 1.0f},
        {WINDOW_HANN, 192, 0.5f},    {WINDOW_HAMMING, 0, 0.08f},   {WINDOW_HAMMING, 64, 0.54f},
        {WINDOW_HAMMING, 128, 1.0f}, {WINDOW_BLACKMAN, 0, 0.0f},   {WINDOW_BLACKMAN, 64, 0.34f},
        {WINDOW_BLACKMAN, 128, 1.0f}, {WINDOW_NONE, 17, 1.0f},     {7, 200, 1.0f},
    };
    for (const auto& c : cases) {
        const WindowTable table = MakeWindowTable(c.type);
        EXPECT_NEAR(table[static_cast<size_t>(c.k)], c.expected, 1e-6f) << "type " << c.type << " k " << c.k;
    }
    // Symmetric about the middle, as a window must be.
    const WindowTable blackman = MakeWindowTable(WINDOW_BLACKMAN);
    for (int k = 1; k < 128; ++k)
        EXPECT_NEAR(blackman[static_cast<size_t>(k)], blackman[static_cast<size_t>(256 - k)], 1e-6f) << k;
}

TEST(VisualizerTransform, RealFftIsTheDirectTransformOver512)
{
    float data[FFT_FLOATS];
    for (int i = 0; i < FFT_FLOATS; ++i)
        data[i] = static_cast<float>(std::sin(i * 0.37) + 0.5 * std::cos(i * 1.9) + (i % 7) * 0.1);
    std::vector<double> input(data, data + FFT_FLOATS);
    RealFft(data);

    auto direct = [&](int k, double& re, double& im) {
        re = im = 0;
        for (int n = 0; n < FFT_FLOATS; ++n) {
            re += input[static_cast<size_t>(n)] * std::cos(2 * kPi * k * n / FFT_FLOATS);
            im += input[static_cast<size_t>(n)] * std::sin(2 * kPi * k * n / FFT_FLOATS);
        }
        re /= FFT_FLOATS;
        im /= FFT_FLOATS;
    };
    double re, im;
    direct(0, re, im);
    EXPECT_NEAR(data[0], re, 1e-4);
    direct(256, re, im);
    EXPECT_NEAR(data[1], re, 1e-4);
    for (int k : {1, 2, 5, 63, 128, 255}) {
        direct(k, re, im);
        EXPECT_NEAR(data[2 * k], re, 1e-4) << "bin " << k;
        EXPECT_NEAR(data[2 * k + 1], im, 1e-4) << "bin " << k;
    }
}

TEST(VisualizerColour, HsvToRgbPerSector)
{
    const struct
    {
        int hue, saturation, value;
        int red, green, blue;
    } cases[] = {
        {123, 0, 77, 77, 77, 77},      // no saturation: grey of the value
        {0, 255, 255, 255, 0, 0},      {30, 255, 255, 255, 127, 0}, {60, 255, 255, 255, 255, 0},
        {90, 255, 255, 127, 255, 0},   {120, 255, 255, 0, 255, 0},  {180, 255, 255, 0, 255, 255},
        {240, 255, 255, 0, 0, 255},    {300, 255, 255, 255, 0, 255}, {0, 128, 200, 200, 100, 100},
        {720, 255, 255, 255, 0, 0},    // whole turns
        {-60, 255, 255, 255, 0, 255},  // a negative hue still names a sector
    };
    for (const auto& c : cases) {
        const Pixel p = HsvToRgb(c.hue, c.saturation, c.value);
        EXPECT_EQ(p, MakePixel(c.red, c.green, c.blue)) << "hsv " << c.hue << "," << c.saturation << "," << c.value;
        EXPECT_EQ(p >> 24, 0u);
    }
}

TEST(VisualizerEffects, EveryEffectAtAFewPoints)
{
    // (effect, column, row, red, green, blue) at brightness 100 and hue 0.
    const struct
    {
        int effect, x, y, red, green, blue;
    } cases[] = {
        {0, 0, 63, 0x00, 0x00, 0x00},   {0, 255, 32, 0x00, 0x00, 0x00},
        {1, 0, 63, 0x00, 0xFD, 0x00},   {1, 200, 1, 0xFD, 0x00, 0x00},  {1, 64, 0, 0xFD, 0xFD, 0x00},
        {1, 255, 32, 0xFD, 0xFD, 0x00}, {1, 128, 0, 0x00, 0xFD, 0x00},  {1, 255, 0, 0xFD, 0x00, 0x00},
        {2, 0, 63, 0xFD, 0x00, 0x00},   {2, 200, 1, 0xFD, 0x00, 0xFD},  {2, 64, 0, 0x00, 0xFD, 0xFD},
        {2, 255, 32, 0x00, 0xFD, 0x00}, {3, 0, 63, 0xFD, 0x00, 0xFD},   {3, 200, 1, 0xFD, 0x00, 0x00},
        {3, 64, 0, 0x00, 0xFD, 0x00},   {3, 255, 32, 0x00, 0xFD, 0xFD}, {4, 0, 63, 0xFE, 0x00, 0x3C},
        {4, 200, 1, 0x00, 0xFE, 0x98},  {4, 64, 0, 0xFE, 0x6E, 0x00},   {4, 255, 32, 0x00, 0xFE, 0xFE},
        {5, 0, 63, 0xFE, 0x00, 0x00},   {5, 255, 32, 0xFE, 0x00, 0x00}, {6, 0, 63, 0xFD, 0xFD, 0xFD},
        {6, 255, 0, 0xFD, 0xFD, 0xFD},  {7, 64, 0, 0xFD, 0x00, 0x00},   {8, 64, 0, 0xFD, 0xA3, 0x00},
        {9, 64, 0, 0xFD, 0xFD, 0x00},   {10, 64, 0, 0x00, 0xFD, 0x00},  {11, 64, 0, 0x00, 0x00, 0xFD},
        {12, 64, 0, 0x00, 0xFD, 0xFD},  {13, 64, 0, 0x3F, 0x00, 0xFD},  {14, 0, 63, 0x00, 0xFD, 0x00},
        {14, 200, 1, 0xFD, 0x00, 0x00}, {14, 64, 0, 0xFD, 0xFD, 0xFD},  {15, 0, 63, 0x00, 0x00, 0xFD},
        {15, 200, 1, 0xFD, 0xFD, 0xFD}, {15, 255, 32, 0x00, 0xFD, 0xFD}, {16, 0, 63, 0xFD, 0x00, 0x00},
        {16, 200, 1, 0x00, 0x00, 0xFD}, {16, 255, 32, 0xFD, 0xFD, 0xFD}, {17, 0, 63, 0x7E, 0x0F, 0xEB},
        {17, 200, 1, 0x01, 0xA4, 0xD1}, {17, 64, 0, 0xFB, 0x3E, 0x3E},  {17, 255, 32, 0x7B, 0x11, 0xEC},
        {18, 0, 63, 0x44, 0x00, 0xFE},  {18, 200, 1, 0xFE, 0xED, 0x00}, {18, 64, 0, 0x00, 0xCB, 0xFE},
        {18, 255, 32, 0xFE, 0x05, 0x00}, {19, 0, 63, 0xFE, 0x00, 0x00}, {19, 200, 1, 0x00, 0xFE, 0x4C},
        {19, 64, 0, 0xFE, 0xBA, 0x00},  {19, 255, 32, 0x00, 0xFE, 0xBE}, {20, 0, 63, 0x7F, 0x0E, 0xE9},
        {20, 255, 32, 0x7F, 0x0E, 0xE9},
    };
    std::vector<Pixel> layer(SPECTRUM_PIXELS);
    for (const auto& c : cases) {
        FillEffect(layer.data(), c.effect, 100, 0.0f);
        EXPECT_EQ(layer[static_cast<size_t>(c.y * SPECTRUM_WIDTH + c.x)], MakePixel(c.red, c.green, c.blue))
            << "effect " << c.effect << " at " << c.x << "," << c.y;
    }
}

TEST(VisualizerEffects, HueAndBrightnessMoveTheColours)
{
    const struct
    {
        int effect, brightness;
        float hue;
        int x, y, red, green, blue;
    } cases[] = {
        {4, 100, 120.0f, 10, 20, 0x00, 0xFE, 0x16},  {5, 100, 120.0f, 10, 20, 0x00, 0xFE, 0x00},
        {17, 100, 120.0f, 10, 20, 0x03, 0xD6, 0x9D}, {18, 100, 120.0f, 10, 20, 0xFE, 0x1A, 0x00},
        {19, 100, 120.0f, 10, 20, 0x00, 0xFE, 0x55}, {20, 100, 120.0f, 10, 20, 0x0D, 0xE8, 0x81},
        {6, 50, 0.0f, 3, 3, 126, 126, 126},          {6, 0, 0.0f, 3, 3, 0, 0, 0},
        {5, 50, 0.0f, 3, 3, 127, 0, 0},
    };
    std::vector<Pixel> layer(SPECTRUM_PIXELS);
    for (const auto& c : cases) {
        FillEffect(layer.data(), c.effect, c.brightness, c.hue);
        EXPECT_EQ(layer[static_cast<size_t>(c.y * SPECTRUM_WIDTH + c.x)], MakePixel(c.red, c.green, c.blue))
            << "effect " << c.effect << " brightness " << c.brightness << " hue " << c.hue;
    }
}

TEST(VisualizerEffects, UnknownEffectNumbersLeaveTheLayer)
{
    std::vector<Pixel> layer(SPECTRUM_PIXELS, 0x123456);
    for (int effect : {21, 99, -1}) {
        FillEffect(layer.data(), effect, 100, 0.0f);
        for (Pixel p : layer)
            ASSERT_EQ(p, 0x123456u) << "effect " << effect;
    }
}

TEST(VisualizerAnalysis, ASineLightsItsBandAndItsNeighboursFallOff)
{
    for (int bin : {1, 4, 16, 40}) {
        SpectrumAnalyzer analyzer;
        AnalyzerSettings settings = Unsmoothed();
        settings.gain = 1;
        const std::vector<float> values = Sine(bin, 20.0f);
        analyzer.Analyze(values.data(), values.size(), settings);
        const float* levels = analyzer.Levels();

        const float peak = levels[BANDS_PER_BIN * bin];
        EXPECT_GT(peak, 0.5f) << "bin " << bin;
        for (int b = 0; b < FFT_BINS_USED; ++b) {
            for (int i = 0; i < BANDS_PER_BIN; ++i)
                ASSERT_EQ(levels[BANDS_PER_BIN * b + i], levels[BANDS_PER_BIN * b]) << "band of bin " << b;
            const int distance = std::abs(b - bin);
            if (distance >= 2) {
                EXPECT_LT(levels[BANDS_PER_BIN * b], peak) << "bin " << b << " beside " << bin;
            }
            if (distance >= 8) {
                EXPECT_EQ(levels[BANDS_PER_BIN * b], 0.0f) << "bin " << b << " far from " << bin;
            }
        }
        EXPECT_EQ(levels[BAND_COUNT - 1], 0.0f);
        if (bin == 1) {
            // Band 5 drives the top row's meter: lit from the centre outwards.
            EXPECT_EQ(analyzer.Display()[5], peak);
            std::vector<Pixel> fg(SPECTRUM_PIXELS, 1), bg(SPECTRUM_PIXELS, 2), out(SPECTRUM_PIXELS);
            SpectrumPainter::Compose(out.data(), fg.data(), bg.data(), analyzer.Display());
            EXPECT_EQ(out[127], 1u);
            EXPECT_EQ(out[128], 1u);
        }
    }
}

TEST(VisualizerAnalysis, TheHistoryKeepsTheNewestValuesAsPairsTimesTwiceTheGain)
{
    SpectrumAnalyzer analyzer;
    AnalyzerSettings settings;
    settings.gain = 5;
    std::vector<float> values;
    for (int i = 1; i <= 300; ++i)
        values.push_back(static_cast<float>(i));
    // 300 values in one frame, then 10 more in the next.
    analyzer.Analyze(values.data(), 300, settings);
    analyzer.Analyze(values.data(), 10, settings);
    const float* history = analyzer.History();
    for (int i = 0; i < HISTORY_VALUES; ++i) {
        // Oldest first: values 55..300, then 1..10.
        const float expected = 10.0f * static_cast<float>(i < 246 ? 55 + i : i - 245);
        ASSERT_EQ(history[2 * i], expected) << i;
        ASSERT_EQ(history[2 * i + 1], expected) << i;
    }
}

TEST(VisualizerAnalysis, SilenceDecaysTheLevelsAndDrawsTheBackgroundOnly)
{
    SpectrumAnalyzer analyzer;
    AnalyzerSettings settings = Unsmoothed();
    float* levels = analyzer.MutableLevels();
    for (int i = 0; i < BAND_COUNT; ++i)
        levels[i] = 1.0f;
    // Decay 80: each frame keeps four fifths.
    const float expected[] = {0.8f, 0.64f, 0.512f, 0.4096f};
    for (float e : expected) {
        analyzer.Analyze(nullptr, 0, settings);
        EXPECT_NEAR(analyzer.Levels()[100], e, 1e-5f);
        EXPECT_NEAR(analyzer.Display()[100], e, 1e-5f);
    }
    settings.decay = 50;
    analyzer.Analyze(nullptr, 0, settings);
    EXPECT_NEAR(analyzer.Levels()[7], 0.2048f, 1e-5f);

    // Long silence: nothing lights, the picture is the background alone.
    SpectrumAnalyzer quiet;
    for (int frame = 0; frame < 3; ++frame)
        quiet.Analyze(nullptr, 0, AnalyzerSettings());
    SpectrumPainter painter;
    PainterSettings paint;
    paint.backgroundEffect = 6;
    paint.backgroundBrightness = 100;
    painter.Paint(quiet.Display(), paint);
    for (int i = 0; i < SPECTRUM_PIXELS; ++i)
        ASSERT_EQ(painter.Front()[i], MakePixel(0xFD, 0xFD, 0xFD)) << "pixel " << i;
}

TEST(VisualizerAnalysis, SmoothingFollowsItsModes)
{
    // (mode, width, levels set as index=value, checked as index=value)
    const struct
    {
        int mode, width;
        std::vector<std::pair<int, float>> input;
        std::vector<std::pair<int, float>> expected;
    } cases[] = {
        // Moving average, in place: each mean already sees its left neighbour's new value.
        {1, 1, {{100, 9.0f}}, {{98, 0.0f}, {99, 3.0f}, {100, 4.0f}, {101, 4.0f / 3}, {102, 4.0f / 9}}},
        // The edges take the means of the first and last N+i+1 levels.
        {1, 1, {{0, 6.0f}}, {{0, 3.0f}, {1, 1.0f}, {2, 1.0f / 3}}},
        {1, 1, {{255, 6.0f}}, {{255, 3.0f}, {254, 1.0f}, {253, 0.0f}}},
        // Blocks of N share their mean; the last block comes from the tail step.
        {0, 4, {{5, 8.0f}}, {{3, 0.0f}, {4, 2.0f}, {7, 2.0f}, {8, 0.0f}}},
        {0, 4, {{254, 8.0f}}, {{251, 0.0f}, {252, 2.0f}, {255, 2.0f}}},
        // Any other mode leaves the levels.
        {2, 8, {{10, 5.0f}}, {{9, 0.0f}, {10, 5.0f}, {11, 0.0f}}},
    };
    for (const auto& c : cases) {
        float levels[BAND_COUNT] = {};
        for (const auto& set : c.input)
            levels[set.first] = set.second;
        SpectrumAnalyzer::Smooth(levels, c.mode, c.width);
        for (const auto& check : c.expected)
            EXPECT_NEAR(levels[check.first], check.second, 1e-5f)
                << "mode " << c.mode << " width " << c.width << " index " << check.first;
    }
    // A width too large for the bands is held to what fits.
    float levels[BAND_COUNT];
    for (float& l : levels)
        l = 1.0f;
    SpectrumAnalyzer::Smooth(levels, 1, 1000);
    for (float l : levels)
        ASSERT_NEAR(l, 1.0f, 1e-5f);
}

TEST(VisualizerPicture, BarsNeedAStrictlyHigherLevelAndTheMeterGrowsFromTheCentre)
{
    std::vector<Pixel> fg(SPECTRUM_PIXELS, 1), bg(SPECTRUM_PIXELS, 2), out(SPECTRUM_PIXELS, 0);
    float display[BAND_COUNT] = {};
    display[5] = 0.3f;    // meter reach 0.25 from the centre
    display[40] = 0.5f;   // exactly the threshold of row 32
    display[41] = 1.0f;   // every row but the top
    SpectrumPainter::Compose(out.data(), fg.data(), bg.data(), display);
    auto at = [&](int x, int y) { return out[static_cast<size_t>(y * SPECTRUM_WIDTH + x)]; };

    const struct
    {
        int x, y;
        Pixel expected;
    } cases[] = {
        {40, 32, 2}, {40, 31, 2}, {40, 33, 1}, {40, 63, 1}, {41, 1, 1}, {42, 63, 2},
        // The top row is the meter: lit within a quarter of the width of the centre.
        {41, 0, 2},  {90, 0, 2},  {100, 0, 1}, {127, 0, 1}, {128, 0, 1}, {150, 0, 1}, {170, 0, 2}, {0, 0, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(at(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(VisualizerPicture, DoubleBufferAndHue)
{
    SpectrumPainter painter;
    float display[BAND_COUNT] = {};
    PainterSettings paint;
    paint.foregroundEffect = 7;
    paint.backgroundEffect = 11;
    const Pixel* first = painter.Front();
    painter.Paint(display, paint);
    const Pixel* second = painter.Front();
    EXPECT_NE(first, second);
    EXPECT_EQ(painter.FrontPixel(10, 10), MakePixel(0, 0, 0xFD));
    EXPECT_EQ(painter.FrontPixel(-1, 0), 0u);
    EXPECT_EQ(painter.FrontPixel(0, SPECTRUM_HEIGHT), 0u);
    painter.Paint(display, paint);
    EXPECT_EQ(painter.Front(), first);
    EXPECT_NEAR(painter.Hue(), 10.0f, 1e-4f);

    // 5 degrees a frame; wrapped before each picture, so never past a turn.
    for (int frame = 0; frame < 1000; ++frame) {
        painter.Paint(display, paint);
        ASSERT_GE(painter.Hue(), 0.0f);
        ASSERT_LE(painter.Hue(), 365.0f);
    }
    painter.SetHue(-3.0f);
    painter.Paint(display, paint);
    EXPECT_NEAR(painter.Hue(), 365.0f, 1e-4f);
}

TEST(VisualizerPicture, AFrameOfMusicIsSavedForTheScreenshots)
{
    // Three tones: low, middle and high bars in rainbow colours over black.
    SpectrumAnalyzer analyzer;
    SpectrumPainter painter;
    AnalyzerSettings settings;
    settings.gain = 40;
    for (int frame = 0; frame < 12; ++frame) {
        std::vector<float> values = Sine(3, 0.5f, 180);
        const std::vector<float> middle = Sine(20, 0.3f, 180);
        const std::vector<float> high = Sine(45, 0.2f, 180);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] += middle[i] + high[i];
        analyzer.Analyze(values.data(), values.size(), settings);
        painter.Paint(analyzer.Display(), PainterSettings());
    }
    int lit = 0;
    for (int i = 0; i < SPECTRUM_PIXELS; ++i)
        lit += painter.Front()[i] != 0 ? 1 : 0;
    EXPECT_GT(lit, 500);
    EXPECT_LT(lit, SPECTRUM_PIXELS / 2);

    constexpr int ZOOM = 4;
    std::vector<unsigned char> rgba;
    for (int y = 0; y < SPECTRUM_HEIGHT * ZOOM; ++y) {
        for (int x = 0; x < SPECTRUM_WIDTH * ZOOM; ++x) {
            const Pixel p = painter.FrontPixel(x / ZOOM, y / ZOOM);
            rgba.insert(rgba.end(), {static_cast<unsigned char>(PixelRed(p)), static_cast<unsigned char>(PixelGreen(p)),
                                     static_cast<unsigned char>(PixelBlue(p)), 255});
        }
    }
    CreateDirectoryA(TARNWELL_SCREENSHOT_FOLDER, nullptr);
    const std::string path = std::string(TARNWELL_SCREENSHOT_FOLDER) + "/music_spectrum.png";
    EXPECT_EQ(lodepng::encode(path, rgba, SPECTRUM_WIDTH * ZOOM, SPECTRUM_HEIGHT * ZOOM), 0u) << path;
}

// ---- captured packets ---------------------------------------------------------------------

WAVEFORMATEXTENSIBLE Extensible(WORD bits, int channels, bool isFloat)
{
    WAVEFORMATEXTENSIBLE f = {};
    f.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    f.Format.nChannels = static_cast<WORD>(channels);
    f.Format.nSamplesPerSec = 48000;
    f.Format.wBitsPerSample = bits;
    f.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    f.Format.nAvgBytesPerSec = f.Format.nSamplesPerSec * f.Format.nBlockAlign;
    f.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    f.Samples.wValidBitsPerSample = bits;
    f.SubFormat = {static_cast<DWORD>(isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM), 0x0000, 0x0010,
                   {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    return f;
}

WAVEFORMATEX Plain(WORD tag, WORD bits, int channels)
{
    WAVEFORMATEX f = {};
    f.wFormatTag = tag;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = 44100;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    return f;
}

TEST(VisualizerSamples, MixFormatsAreRecognised)
{
    WAVEFORMATEXTENSIBLE float6 = Extensible(32, 6, true);
    WAVEFORMATEXTENSIBLE pcm2 = Extensible(16, 2, false);
    WAVEFORMATEXTENSIBLE pcm24 = Extensible(24, 2, false);
    WAVEFORMATEXTENSIBLE float64 = Extensible(64, 2, true);
    WAVEFORMATEXTENSIBLE shortExtension = Extensible(32, 2, true);
    shortExtension.Format.cbSize = 0;
    WAVEFORMATEX float2 = Plain(WAVE_FORMAT_IEEE_FLOAT, 32, 2);
    WAVEFORMATEX pcm1 = Plain(WAVE_FORMAT_PCM, 16, 1);
    WAVEFORMATEX pcm8 = Plain(WAVE_FORMAT_PCM, 8, 2);
    WAVEFORMATEX badBlock = Plain(WAVE_FORMAT_IEEE_FLOAT, 32, 2);
    badBlock.nBlockAlign = 4;
    WAVEFORMATEX noChannels = Plain(WAVE_FORMAT_IEEE_FLOAT, 32, 0);

    const struct
    {
        const char* name;
        const WAVEFORMATEX* format;
        SampleKind kind;
        int channels;
    } cases[] = {
        {"float 6 channels", &float6.Format, SampleKind::Float32, 6},
        {"16-bit stereo, extensible", &pcm2.Format, SampleKind::Pcm16, 2},
        {"24-bit", &pcm24.Format, SampleKind::Unsupported, 0},
        {"64-bit float", &float64.Format, SampleKind::Unsupported, 0},
        {"extensible without its extension", &shortExtension.Format, SampleKind::Unsupported, 0},
        {"float stereo", &float2, SampleKind::Float32, 2},
        {"16-bit mono", &pcm1, SampleKind::Pcm16, 1},
        {"8-bit", &pcm8, SampleKind::Unsupported, 0},
        {"block size that does not match", &badBlock, SampleKind::Unsupported, 0},
        {"no channels", &noChannels, SampleKind::Unsupported, 0},
        {"none", nullptr, SampleKind::Unsupported, 0},
    };
    for (const auto& c : cases) {
        const SampleFormat f = DescribeFormat(c.format);
        EXPECT_EQ(f.kind, c.kind) << c.name;
        EXPECT_EQ(f.channels, c.channels) << c.name;
    }
}

// A packet placed so that its last byte is the last readable byte before an
// inaccessible page: reading past it faults.
class GuardedPacket
{
public:
    explicit GuardedPacket(size_t bytes) : m_bytes(bytes)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
        const size_t span = (bytes / m_page + 1) * m_page;
        m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, span + m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + span, m_page, PAGE_NOACCESS, &old);
        m_data = m_base + span - bytes;
    }
    ~GuardedPacket() { VirtualFree(m_base, 0, MEM_RELEASE); }
    BYTE* Data() { return m_data; }

private:
    size_t m_bytes;
    size_t m_page = 4096;
    BYTE* m_base = nullptr;
    BYTE* m_data = nullptr;
};

TEST(VisualizerSamples, PacketsBecomeOneValuePerFourFramesWithoutReadingPastThem)
{
    struct Case
    {
        const char* name;
        SampleFormat format;
        std::vector<float> samples;  // interleaved, on the -1..1 scale
        uint32_t frames;
        std::vector<float> expected;
    };
    const SampleFormat float2{SampleKind::Float32, 2, 8};
    const SampleFormat pcm2{SampleKind::Pcm16, 2, 4};
    const SampleFormat float6{SampleKind::Float32, 6, 24};
    const SampleFormat pcm1{SampleKind::Pcm16, 1, 2};
    const Case cases[] = {
        {"float stereo", float2, {0.5f, 0.5f, 0.25f, 0.25f, 0, 0, 0, 0, 1, -1, 1, 1}, 6, {0.1875f, 0.5f}},
        {"16-bit stereo", pcm2, {0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, 4, {0.25f}},
        {"6 channels", float6,
         {0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0.6f, 0, 0, 0, 0, 0, 0.6f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f},
         3, {0.3333333f}},
        {"16-bit mono, five frames", pcm1, {0.25f, 0.25f, 0.25f, 0.25f, -0.5f}, 5, {0.25f, -0.5f}},
    };
    for (const Case& c : cases) {
        const size_t bytes = static_cast<size_t>(c.frames) * static_cast<size_t>(c.format.blockAlign);
        GuardedPacket packet(bytes);
        for (size_t i = 0; i < c.samples.size(); ++i) {
            if (c.format.kind == SampleKind::Float32) {
                std::memcpy(packet.Data() + i * 4, &c.samples[i], 4);
            } else {
                const int16_t s = static_cast<int16_t>(c.samples[i] * 32768.0f);
                std::memcpy(packet.Data() + i * 2, &s, 2);
            }
        }
        std::vector<float> values = {9.0f};  // appended after what is there
        ConvertPacket(packet.Data(), c.frames, false, c.format, values);
        ASSERT_EQ(values.size(), c.expected.size() + 1) << c.name;
        EXPECT_EQ(values[0], 9.0f);
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_NEAR(values[i + 1], c.expected[i], 1e-5f) << c.name << " value " << i;
    }

    // A silent packet gives zeros whatever its bytes; so does one whose
    // format could not be read.
    GuardedPacket noise(40 * 8);
    std::memset(noise.Data(), 0x3F, 40 * 8);
    std::vector<float> values;
    ConvertPacket(noise.Data(), 40, true, float2, values);
    ConvertPacket(noise.Data(), 3, false, SampleFormat(), values);
    ASSERT_EQ(values.size(), 11u);
    for (float v : values)
        EXPECT_EQ(v, 0.0f);
}

} // namespace
