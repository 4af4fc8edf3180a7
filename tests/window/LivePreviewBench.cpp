// The lighting page's live preview against the simulated keyboard: passes of
// the keyboard's colours read per second while the page is shown, as a share
// of the ceiling the worker's own step allows (one pass a step), and how long
// the UI thread takes to answer a sent message meanwhile.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
// The worker's step: one idle action each.
constexpr double kWorkerStepMs = 16.0;
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_OFFSET_LO = 6;
constexpr size_t REQ_OFFSET_HI = 7;
constexpr uint8_t CMD_READ_LIVE_COLORS = 0xDE;
constexpr DWORD kMeasureMs = 4000;
constexpr int kProbes = 100;

// Ticks of the first chunk of each pass the keyboard was asked for.
std::vector<DWORD> PassStarts(const e2e::SimulatedKeyboard& sim)
{
    std::vector<DWORD> starts;
    for (const e2e::SimEvent& event : sim.Events())
        if (event.kind == "out" && event.device == 1 && event.bytes.size() > REQ_OFFSET_HI &&
            event.bytes[REQ_COMMAND] == CMD_READ_LIVE_COLORS && event.bytes[REQ_OFFSET_LO] == 0 &&
            event.bytes[REQ_OFFSET_HI] == 0)
            starts.push_back(event.tick);
    return starts;
}

class LivePreview : public e2e::ProgramJourney
{
public:
    void TestBody() override {}
    int Run()
    {
        SetUp();
        HWND window = StartProgram();
        if (!window)
            return 1;
        e2e::WaitFor([&] { return e2e::Colours(e2e::Capture(window, RECT{450, 5, 930, 45})) > 8; });
        e2e::Click(window, 450 + 120 + 60, 25);
        e2e::WaitFor([&] { return PassStarts(sim).size() > 20; });

        const DWORD from = GetTickCount();
        std::vector<double> answers;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        for (int i = 0; i < kProbes; ++i) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            QueryPerformanceCounter(&end);
            answers.push_back((end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
            Sleep(kMeasureMs / kProbes);
        }
        const DWORD to = GetTickCount();
        int passes = 0;
        for (DWORD tick : PassStarts(sim))
            passes += tick >= from && tick < to ? 1 : 0;

        const double seconds = (to - from) / 1000.0;
        const double rate = passes / seconds;
        const double ceiling = 1000.0 / kWorkerStepMs;
        std::sort(answers.begin(), answers.end());
        std::printf("live preview: %.1f passes/s, ceiling %.1f (one a %.0f ms step): ratio %.2f\n", rate, ceiling,
                    kWorkerStepMs, rate / ceiling);
        std::printf("UI thread while streaming: median answer %.2f ms, worst %.2f ms (%d probes)\n",
                    answers[answers.size() / 2], answers.back(), kProbes);
        SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        program->WaitForExit();
        TearDown();
        return 0;
    }
};

} // namespace

int main()
{
    LivePreview bench;
    return bench.Run();
}
