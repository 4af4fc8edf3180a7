#pragma once

// The music lighting's analysis and drawing, with no audio device and no
// thread: samples in, band levels and a 256 x 64 spectrum image out. The
// capture is one SampleSource among others, so that tests and benchmarks can
// feed the same code with signals of their own.

#include <windows.h>
#include <mmreg.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnwell {

// COLORREF order: red in the low byte, then green, then blue, top byte 0.
using Pixel = uint32_t;

constexpr int SPECTRUM_WIDTH = 256;
constexpr int SPECTRUM_HEIGHT = 64;
constexpr int SPECTRUM_PIXELS = SPECTRUM_WIDTH * SPECTRUM_HEIGHT;
constexpr int BAND_COUNT = 256;
constexpr int HISTORY_VALUES = 256;
constexpr int FFT_FLOATS = 512;
constexpr int FFT_BINS_USED = 64;
constexpr int BANDS_PER_BIN = BAND_COUNT / FFT_BINS_USED;
// One history value is made of this many captured frames.
constexpr int FRAMES_PER_VALUE = 4;

constexpr int EFFECT_COUNT = 21;

enum WindowType : int { WINDOW_NONE = 0, WINDOW_HANN = 1, WINDOW_HAMMING = 2, WINDOW_BLACKMAN = 3 };
enum SmoothingMode : int { SMOOTH_BLOCKS = 0, SMOOTH_MOVING = 1 };

inline Pixel MakePixel(int red, int green, int blue)
{
    return static_cast<Pixel>(red & 0xFF) | (static_cast<Pixel>(green & 0xFF) << 8) |
           (static_cast<Pixel>(blue & 0xFF) << 16);
}
inline int PixelRed(Pixel p) { return static_cast<int>(p & 0xFF); }
inline int PixelGreen(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int PixelBlue(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }

// ---- tables, transform and colour ------------------------------------------------------

using WindowTable = std::array<float, HISTORY_VALUES>;
// The table of a window type; WINDOW_NONE (and any unknown type) gives all ones.
WindowTable MakeWindowTable(int type);
void ApplyWindow(float* values, const WindowTable& table);

// In place over 256 complex values (512 floats), scaled by 1/512.
void ComplexFft(float* data);
// Forward real transform of 512 floats in place: float 0 the DC term,
// float 1 the Nyquist term, bin k (1..255) as (re, im) at floats 2k, 2k+1.
void RealFft(float* data);

// Integer HSV: hue in degrees (any integer), saturation and value 0..255.
Pixel HsvToRgb(int hue, int saturation, int value);

// Fills a whole layer with an effect (0..20) at brightness 0..100 and the
// given hue; any other effect number leaves the layer as it was.
void FillEffect(Pixel* layer, int effect, int brightness, float hue);

// ---- captured samples --------------------------------------------------------------------

enum class SampleKind { Unsupported, Float32, Pcm16 };

struct SampleFormat
{
    SampleKind kind = SampleKind::Unsupported;
    int channels = 0;
    int blockAlign = 0;  // bytes per frame
};

// What a mix format holds: 32-bit float or 16-bit integer samples, in plain
// or extensible form, with any number of channels. Anything else, or a block
// size that does not match, is Unsupported.
SampleFormat DescribeFormat(const WAVEFORMATEX* format);

// One packet of frames becomes one value per four frames (the last group
// may be shorter): the mean over the group's frames of the mean of their
// channels, on a -1..1 scale. A silent packet gives zeros. Reads exactly
// frames x blockAlign bytes.
void ConvertPacket(const BYTE* data, uint32_t frames, bool silent, const SampleFormat& format,
                   std::vector<float>& values);

// Where the analysis gets its samples from.
class SampleSource
{
public:
    virtual ~SampleSource() = default;
    // Appends the values that arrived since the last call; none while
    // nothing is captured.
    virtual void Drain(std::vector<float>& values) = 0;
};

// ---- analysis -------------------------------------------------------------------------------

struct AnalyzerSettings
{
    int gain = 270;
    int smoothingMode = SMOOTH_MOVING;
    int smoothingWidth = 8;
    int windowType = WINDOW_HANN;
    int decay = 80;
    float displaySmoothing = 1.0f;
};

class SpectrumAnalyzer
{
public:
    SpectrumAnalyzer();

    // One frame: decay, the new values into the history, the transform, the
    // band levels, the smoothing and the display levels.
    void Analyze(const float* values, size_t count, const AnalyzerSettings& settings);
    // Forgets the sound heard so far (levels stay and decay).
    void ClearHistory();

    const float* Levels() const { return m_levels.data(); }
    const float* Display() const { return m_display.data(); }
    const float* History() const { return m_history.data(); }
    float* MutableLevels() { return m_levels.data(); }

    // The smoothing step alone, over 256 levels.
    static void Smooth(float* levels, int mode, int width);

private:
    std::array<float, BAND_COUNT> m_levels{};
    std::array<float, BAND_COUNT> m_display{};
    std::array<float, FFT_FLOATS> m_history{};
    std::array<float, FFT_FLOATS> m_work{};
    std::array<float, BAND_COUNT> m_tilt{};
    WindowTable m_windows[4];
};

// ---- drawing --------------------------------------------------------------------------------

struct PainterSettings
{
    int foregroundEffect = 17;
    int backgroundEffect = 0;
    int backgroundBrightness = 100;
    float hueSpeed = 500.0f;
};

class SpectrumPainter
{
public:
    SpectrumPainter();

    // Draws one frame from the display levels into the back image, makes it
    // the front image and advances the hue.
    void Paint(const float* display, const PainterSettings& settings);

    // The finished frame. It stays valid while the next one is drawn.
    const Pixel* Front() const { return m_front.load(std::memory_order_acquire); }
    Pixel FrontPixel(int x, int y) const;

    float Hue() const { return m_hue; }
    void SetHue(float hue) { m_hue = hue; }

    // The composite alone: bars of the foreground over the background and
    // the level meter in the top row.
    static void Compose(Pixel* out, const Pixel* foreground, const Pixel* background, const float* display);

private:
    std::vector<Pixel> m_background;
    std::vector<Pixel> m_foreground;
    std::vector<Pixel> m_images[2];
    std::atomic<const Pixel*> m_front;
    Pixel* m_back;
    float m_hue = 0.0f;
};

} // namespace tarnwell
