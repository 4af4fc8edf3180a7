// Start-up to the first painted main window, Tarnwell against a minimal
// program that opens one window, run alternately in the same invocation.
// Prints the median of each and their ratio, and where Tarnwell's time goes:
// the moments of its start that it reports through its state query.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/window/Startup.h"
#include "tests/window/e2e/ProgramHarness.h"

namespace {

constexpr int kRounds = 5;
constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT WM_STATE_QUERY = 0x7F1;
constexpr WPARAM QUERY_STARTUP_MARK = 40;
constexpr int kMarks = static_cast<int>(tarnwell::StartupMark::Count);

// Milliseconds from the process's creation to each moment of its start; -1
// for one that was not reached.
struct Marks
{
    double ms[kMarks];
};

// Waits for the last moment (the tray icon) and reads them all.
Marks ReadMarks(HWND window)
{
    auto query = [window](tarnwell::StartupMark mark) {
        DWORD_PTR result = static_cast<DWORD_PTR>(-1);
        if (!SendMessageTimeoutW(window, WM_STATE_QUERY, QUERY_STARTUP_MARK, static_cast<LPARAM>(mark),
                                 SMTO_NORMAL, 5000, &result))
            return -1.0;
        const auto micro = static_cast<LRESULT>(result);
        return micro < 0 ? -1.0 : micro / 1000.0;
    };
    // A program that keeps no moments answers -1 from the start.
    if (query(tarnwell::StartupMark::EntryFunction) >= 0)
        e2e::WaitFor([&] { return query(tarnwell::StartupMark::TrayIcon) >= 0; }, e2e::kTimeoutMs);
    Marks marks;
    for (int i = 0; i < kMarks; ++i)
        marks.ms[i] = query(static_cast<tarnwell::StartupMark>(i));
    return marks;
}

// Milliseconds from CreateProcess until the window is shown and has
// handled a paint; -1 when it did not come up.
double TimeToPaintedWindow(const std::wstring& exe, const std::wstring& folder, bool tarnwell, Marks* marks = nullptr)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring line = L"\"" + exe + L"\"";
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return -1;
    HWND window = nullptr;
    bool up = e2e::WaitFor(
        [&] {
            window = e2e::FindProgramWindow(info.dwProcessId, L"Tarnwell");
            if (window == nullptr || !IsWindowVisible(window))
                return false;
            // The paint is handled before the thread answers the message after it.
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            DWORD_PTR result = 0;
            return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
        },
        e2e::kStartTimeoutMs);
    QueryPerformanceCounter(&end);
    if (window != nullptr) {
        if (marks != nullptr)
            *marks = ReadMarks(window);
        if (tarnwell)
            PostMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
        else
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, e2e::kTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return up ? (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main()
{
    // The program tells the moments of its start only to a harness that
    // started it, as it answers every other question of the test channel.
    SetEnvironmentVariableW(L"TARNWELL_TEST_HARNESS", L"1");
    const std::wstring run = e2e::RunFolder();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring here(self);
    here = here.substr(0, here.find_last_of(L'\\') + 1);

    std::vector<double> reference, program;
    std::vector<Marks> split;
    // One unmeasured start of each warms the file cache and the wineserver.
    TimeToPaintedWindow(here + L"startup_reference.exe", here, false);
    TimeToPaintedWindow(run + L"Tarnwell.exe", run, true);
    for (int round = 0; round < kRounds; ++round) {
        reference.push_back(TimeToPaintedWindow(here + L"startup_reference.exe", here, false));
        Marks marks;
        for (double& ms : marks.ms)
            ms = -1;
        program.push_back(TimeToPaintedWindow(run + L"Tarnwell.exe", run, true, &marks));
        split.push_back(marks);
    }
    const double minimal = Median(reference);
    const double tarnwell = Median(program);
    if (minimal <= 0 || tarnwell <= 0) {
        std::printf("startup: a program did not come up (minimal %.1f ms, Tarnwell %.1f ms)\n", minimal, tarnwell);
        return 1;
    }
    std::printf("startup to first painted window, median of %d: minimal program %.1f ms, Tarnwell %.1f ms, "
                "ratio %.2f (goal at most 2.00)\n",
                kRounds, minimal, tarnwell, tarnwell / minimal);

    // Each step is the median, over the rounds, of the time from the moment
    // before it; the first from the creation of the process.
    const char* const steps[kMarks] = {
        "before wWinMain (loading the program and its DLLs)",
        "wWinMain to the window (settings, GDI+, OLE, creation)",
        "shell",
        "home page (the first page)",
        "first paint",
        "other pages, after the first paint",
        "tray icon, after them",
    };
    std::printf("Tarnwell's start, median of %d (ms):\n", kRounds);
    for (int i = 0; i < kMarks; ++i) {
        std::vector<double> spans;
        for (const Marks& marks : split) {
            const double from = i == 0 ? 0.0 : marks.ms[i - 1];
            if (marks.ms[i] >= 0 && from >= 0)
                spans.push_back(marks.ms[i] - from);
        }
        std::printf("  %-56s %8.1f\n", steps[i], Median(spans));
    }
    return 0;
}
