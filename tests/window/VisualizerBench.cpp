// The music mode's cost: CPU time of the render thread per second of music
// with a synthetic signal arriving at the capture's pace, and the cost of
// one analysis + picture frame. The reference, measured in the same run,
// is one plain fill of a 256 x 64 image per frame.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/window/Visualizer.h"

namespace {

using namespace tarnwell;

// 48 kHz, one value per four frames.
constexpr double VALUES_PER_SECOND = 12000.0;
constexpr DWORD MUSIC_SECONDS = 4;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// A mix of three tones and a little noise, handed out as fast as a capture
// would deliver it (or a fixed amount per call).
class SyntheticMusic : public SampleSource
{
public:
    explicit SyntheticMusic(int fixedPerCall = 0) : m_fixed(fixedPerCall), m_last(Now()) {}
    void Drain(std::vector<float>& values) override
    {
        int count = m_fixed;
        if (count == 0) {
            const double now = Now();
            count = static_cast<int>((now - m_last) * VALUES_PER_SECOND);
            m_last += count / VALUES_PER_SECOND;
        }
        for (int i = 0; i < count; ++i, ++m_n) {
            const double t = m_n / VALUES_PER_SECOND;
            m_noise = m_noise * 1664525u + 1013904223u;
            values.push_back(static_cast<float>(0.3 * std::sin(2 * 3.14159265 * 110 * t) +
                                                0.2 * std::sin(2 * 3.14159265 * 880 * t) +
                                                0.1 * std::sin(2 * 3.14159265 * 3000 * t) +
                                                0.02 * ((m_noise >> 8) / 16777216.0 - 0.5)));
        }
    }

private:
    int m_fixed;
    double m_last;
    long long m_n = 0;
    uint32_t m_noise = 1;
};

// CPU percent of one core over a run of the render thread.
double MusicModeCpuPercent(int foreground, int background)
{
    SyntheticMusic music;
    Visualizer visualizer;
    visualizer.UseSampleSource(&music);
    visualizer.foregroundEffect = foreground;
    visualizer.backgroundEffect = background;
    visualizer.active = 1;
    const double cpu0 = ProcessCpuSeconds();
    const double wall0 = Now();
    visualizer.StartRenderThread();
    Sleep(MUSIC_SECONDS * 1000);
    visualizer.Shutdown();
    return (ProcessCpuSeconds() - cpu0) / (Now() - wall0) * 100.0;
}

// The reference at the same pace: one plain image fill per frame.
double ReferenceCpuPercent()
{
    std::vector<Pixel> image(SPECTRUM_PIXELS);
    const double cpu0 = ProcessCpuSeconds();
    const double wall0 = Now();
    Pixel colour = 0;
    while (Now() - wall0 < MUSIC_SECONDS) {
        std::fill(image.begin(), image.end(), ++colour);
        Sleep(Visualizer::FRAME_PAUSE_MS);
    }
    return (ProcessCpuSeconds() - cpu0) / (Now() - wall0) * 100.0;
}

template <typename Step>
double MicrosecondsPerCall(Step step, int rounds)
{
    for (int i = 0; i < rounds / 10; ++i)
        step();
    std::vector<double> samples;
    for (int batch = 0; batch < 9; ++batch) {
        const double t0 = Now();
        for (int i = 0; i < rounds / 9; ++i)
            step();
        samples.push_back((Now() - t0) * 1e6 / (rounds / 9));
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double FrameMicroseconds(int foreground, int background)
{
    // One frame's worth of values: 15 ms of sound.
    SyntheticMusic music(static_cast<int>(VALUES_PER_SECOND * Visualizer::FRAME_PAUSE_MS / 1000));
    Visualizer visualizer;
    visualizer.UseSampleSource(&music);
    visualizer.foregroundEffect = foreground;
    visualizer.backgroundEffect = background;
    return MicrosecondsPerCall([&] { visualizer.RenderFrame(); }, 1800);
}

} // namespace

int main()
{
    std::vector<Pixel> image(SPECTRUM_PIXELS);
    Pixel colour = 0;
    const double fillUs = MicrosecondsPerCall([&] { std::fill(image.begin(), image.end(), ++colour); }, 18000);
    std::printf("reference: one 256x64 image fill        %8.2f us\n", fillUs);

    SyntheticMusic music(static_cast<int>(VALUES_PER_SECOND * Visualizer::FRAME_PAUSE_MS / 1000));
    SpectrumAnalyzer analyzer;
    AnalyzerSettings settings;
    std::vector<float> values;
    const double analyzeUs = MicrosecondsPerCall(
        [&] {
            values.clear();
            music.Drain(values);
            analyzer.Analyze(values.data(), values.size(), settings);
        },
        1800);
    std::printf("analysis alone (FFT, levels, smoothing)  %8.2f us  (%.1fx the fill)\n", analyzeUs,
                analyzeUs / fillUs);

    const struct
    {
        const char* name;
        int foreground, background;
    } looks[] = {
        {"rainbow bars over black (default)", 17, 0},
        {"band bars over white", 1, 6},
        {"rainbow bars over the hue wheel", 17, 4},
    };
    for (const auto& look : looks) {
        const double us = FrameMicroseconds(look.foreground, look.background);
        std::printf("frame, %-34s %8.2f us  (%.1fx the fill)\n", look.name, us, us / fillUs);
    }

    const double reference = ReferenceCpuPercent();
    std::printf("reference at the frame rate: %.3f %% of one core\n", reference);
    for (const auto& look : looks) {
        const double percent = MusicModeCpuPercent(look.foreground, look.background);
        std::printf("music mode, %-34s %.3f %% of one core (%.1fx the reference, %.3f %% above it; goal under 2 %%)\n",
                    look.name, percent, reference > 0 ? percent / reference : 0.0, percent - reference);
    }
    return 0;
}
