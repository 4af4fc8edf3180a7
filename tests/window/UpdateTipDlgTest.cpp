// The progress window on its own: it runs modally on this thread, shows what
// the timers give it, and closes when another thread asks; the thread that
// ran it deletes it afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/window/UpdateProgress.h"
#include "app/window/UpdateTipDlg.h"

using tarnwell::UpdateTipDlg;

namespace {

// What the timer saw while the window ran (a timer procedure takes no
// context, so these stand for it).
UpdateTipDlg* g_dialog = nullptr;
std::atomic<int> g_ticks{0};
std::wstring g_text;
int g_bar = -1;
SIZE g_size = {};

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    const int tick = ++g_ticks;
    // Percentages past 100 and the unknown one on the way.
    const int percents[] = {30, 150, tarnwell::kProgressUnknown, 55};
    const int percent = percents[tick < 4 ? tick - 1 : 3];
    if (tick == 1)
        EXPECT_EQ(std::wstring(g_dialog->Text().GetString()), L"Starting") << "the first text was not shown";
    g_dialog->SetProgressText(percent, L"Restoring");
    if (tick == 2) {
        // The value past 100 shows as 100.
        EXPECT_EQ(std::wstring(g_dialog->Text().GetString()), L"Restoring: 100%");
        EXPECT_EQ(g_dialog->BarValue(), 100);
    }
    if (tick == 3) {
        EXPECT_EQ(std::wstring(g_dialog->Text().GetString()), L"Restoring");
        EXPECT_NE(g_dialog->BarValue(), 100) << "an unknown progress left the bar standing";
    }
    g_text = g_dialog->Text().GetString();
    g_bar = g_dialog->BarValue();
    if (HWND window = FindWindowW(nullptr, tarnwell::kUpdateTipCaption)) {
        RECT rect;
        GetWindowRect(window, &rect);
        g_size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
}

} // namespace

TEST(UpdateTipDlg, RunsModallyShowsTheProgressAndClosesWhenAnotherThreadAsks)
{
    auto* dialog = new UpdateTipDlg(L"Starting");
    g_dialog = dialog;
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Tick);

    std::thread worker([dialog] {
        while (g_ticks < 8)
            Sleep(10);
        dialog->RequestClose();
    });
    dialog->Show(nullptr);
    KillTimer(nullptr, timer);
    worker.join();

    EXPECT_GE(g_ticks.load(), 8);
    EXPECT_EQ(g_text, L"Restoring: 55%");
    EXPECT_EQ(g_bar, 55);
    EXPECT_EQ(g_size.cx, UpdateTipDlg::kWidth);
    EXPECT_EQ(g_size.cy, UpdateTipDlg::kHeight);
    EXPECT_EQ(FindWindowW(nullptr, tarnwell::kUpdateTipCaption), nullptr);
    // Asking a closed window to close again is harmless.
    dialog->RequestClose();
    delete dialog;
    g_dialog = nullptr;
}
