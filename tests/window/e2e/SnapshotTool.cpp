// Waits for Tarnwell's main window (of any process) and saves it as
// screenshots/pages/run.png of the build folder; prints the path. Used by
// scripts/run.sh on a machine without a display.

#include <windows.h>

#include <cstdio>

#include "tests/window/e2e/ProgramHarness.h"

int main()
{
    HWND window = nullptr;
    const bool shown = e2e::WaitFor(
        [&] {
            window = FindWindowW(L"MWindow", L"Tarnwell");
            if (window == nullptr || !IsWindowVisible(window))
                return false;
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            DWORD_PTR result = 0;
            return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
        },
        e2e::kStartTimeoutMs);
    if (!shown) {
        std::printf("no Tarnwell window appeared\n");
        return 1;
    }
    const std::wstring path = e2e::SaveScreenshot(window, L"run");
    std::printf("%ls\n", path.c_str());
    return path.empty() ? 1 : 0;
}
