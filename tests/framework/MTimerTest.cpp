// Multimedia timers and the window's fast tick. Tick counts are checked
// with wide bounds: the timer thread is scheduled by the system.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "tests/framework/CoreTestSupport.h"
#include "ui/framework/MTimer.h"

using namespace coretest;

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class CountingTimer : public VREL::MTimer
{
public:
    // Ticks touch the members below, so they stop before the members go.
    ~CountingTimer() override { KillTimer(); }

    void OnMTimer(UINT id) override
    {
        inTick = true;
        ++ticks;
        {
            std::lock_guard<std::mutex> lock(mutex);
            order.push_back("tick");
        }
        if (sleepMs)
            ::Sleep(sleepMs);
        if (killInsideTick)
            KillTimer(id);
        inTick = false;
    }
    void OnMTimer(UINT, CString name) override
    {
        ++appTicks;
        std::lock_guard<std::mutex> lock(mutex);
        order.push_back("app:" + std::string(name.GetString(), name.GetString() + name.GetLength()));
    }

    std::atomic<int> ticks{0};
    std::atomic<int> appTicks{0};
    std::atomic<bool> inTick{false};
    std::atomic<bool> killInsideTick{false};
    DWORD sleepMs = 0;
    std::mutex mutex;
    std::vector<std::string> order;
};

} // namespace

TEST(MTimer, PeriodicTicksWithoutTheApplicationCall)
{
    CountingTimer timer;
    const UINT id = timer.SetTimer(16, CString(), 0);
    ASSERT_NE(id, 0u);
    SleepMs(400);
    timer.KillTimer(id);
    EXPECT_GE(timer.ticks.load(), 8);
    EXPECT_LE(timer.ticks.load(), 40);
    EXPECT_EQ(timer.appTicks.load(), 0);
}

TEST(MTimer, ApplicationTimerCallsBothHandlersInOrder)
{
    CountingTimer timer;
    timer.SetTimer(10, L"blink", 1);
    SleepMs(100);
    timer.KillTimer();
    std::lock_guard<std::mutex> lock(timer.mutex);
    ASSERT_GE(timer.order.size(), 4u);
    for (size_t i = 0; i + 1 < timer.order.size(); i += 2)
    {
        EXPECT_EQ(timer.order[i], "tick");
        EXPECT_EQ(timer.order[i + 1], "app:blink");
    }
}

TEST(MTimer, RecordsByIdAndByName)
{
    CountingTimer timer;
    const UINT first = timer.SetTimer(500, L"same", 1);
    const UINT second = timer.SetTimer(500, L"same", 0);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(timer.GetTimerName(second), L"same");
    EXPECT_EQ(timer.IsAppTimer(first), 1);
    EXPECT_EQ(timer.IsAppTimer(second), 0);
    EXPECT_EQ(VREL::MTimer::GetMTimer(second), &timer);

    EXPECT_EQ(timer.KillTimer(CString(L"SAME")), 2);  // names compare exactly
    EXPECT_EQ(timer.KillTimer(CString(L"same")), 1);
    EXPECT_EQ(timer.GetTimerIsRun(first), 0);
    EXPECT_EQ(timer.GetTimerIsRun(second), 1);
    EXPECT_EQ(timer.KillTimer(first), 1);  // unknown id: the count left
    EXPECT_EQ(timer.KillTimer(second), 0);
    EXPECT_EQ(timer.GetTimerName(second), L"");
}

TEST(MTimer, OwnerLookupEndsWithTheOwner)
{
    UINT id = 0;
    {
        CountingTimer timer;
        id = timer.SetTimer(500, CString(), 0);
        EXPECT_EQ(VREL::MTimer::GetMTimer(id), &timer);
    }
    EXPECT_EQ(VREL::MTimer::GetMTimer(id), nullptr);
}

// Once KillTimer returns, no tick of that timer runs, not even one that had
// started before.
TEST(MTimer, NoTickAfterKill)
{
    CountingTimer timer;
    timer.sleepMs = 30;
    const UINT id = timer.SetTimer(5, CString(), 0);
    for (int i = 0; i < 200 && !timer.inTick; ++i)
        SleepMs(1);
    ASSERT_TRUE(timer.inTick.load());
    timer.KillTimer(id);
    EXPECT_FALSE(timer.inTick.load());
    const int ticks = timer.ticks.load();
    SleepMs(100);
    EXPECT_EQ(timer.ticks.load(), ticks);
}

TEST(MTimer, DestructionWaitsForARunningTick)
{
    auto timer = std::make_unique<CountingTimer>();
    timer->sleepMs = 30;
    timer->SetTimer(5, CString(), 0);
    for (int i = 0; i < 200 && !timer->inTick; ++i)
        SleepMs(1);
    ASSERT_TRUE(timer->inTick.load());
    timer.reset();  // a tick still running here would touch freed memory
    SleepMs(50);
}

TEST(MTimer, KillFromInsideItsOwnTickStopsIt)
{
    CountingTimer timer;
    timer.killInsideTick = true;
    const UINT id = timer.SetTimer(5, CString(), 0);
    SleepMs(100);
    EXPECT_EQ(timer.ticks.load(), 1);
    EXPECT_EQ(timer.GetTimerIsRun(id), 0);
}

// The raised resolution belongs to all running timers, not to the first
// object that goes away.
TEST(MTimer, ResolutionStaysRaisedWhileAnyTimerRuns)
{
    auto first = std::make_unique<CountingTimer>();
    CountingTimer second;
    first->SetTimer(50, CString(), 0);
    const UINT id = second.SetTimer(50, CString(), 0);
    EXPECT_EQ(VREL::MTimer::m_bIsTmierOK, 1);
    first.reset();
    EXPECT_EQ(VREL::MTimer::m_bIsTmierOK, 1);
    second.KillTimer(id);
    EXPECT_EQ(VREL::MTimer::m_bIsTmierOK, 0);
}

// ---- the window's fast tick -------------------------------------------------------------------

TEST(FastTick, TicksOnlyRunningControlsVisibleUpToTheWindow)
{
    VREL::MDialog dialog;
    VREL::PaintManager& manager = *dialog.GetPaintManager();
    Probe* ticking = new Probe(&dialog, 1, CRect(0, 0, 10, 10));
    Probe* hidden = new Probe(&dialog, 2, CRect(0, 0, 10, 10));
    Probe* notRunning = new Probe(&dialog, 3, CRect(0, 0, 10, 10));
    Probe* hiddenParent = new Probe(&dialog, 4, CRect(0, 0, 10, 10));
    Probe* underHidden = new Probe(hiddenParent, 5, CRect(0, 0, 10, 10));
    hiddenParent->AddChild(underHidden);
    for (Probe* p : {ticking, hidden, notRunning, hiddenParent})
        manager.AddControl(VREL::CONTROL_KIND_CONTROL, p);
    underHidden->SetManager(&manager);
    for (Probe* p : {ticking, hidden, underHidden})
        p->SetRunTimer(1);
    hidden->SetVisible(0, 0);
    hiddenParent->SetVisible(0, 0);
    for (Probe* p : {ticking, hidden, notRunning, underHidden})
        p->AddMTimer();

    dialog.SetMTimer(5);
    SleepMs(150);
    dialog.KillMTimer(manager.GetTickTimerId());

    EXPECT_GE(ticking->ticks.load(), 5);
    EXPECT_EQ(hidden->ticks.load(), 0);
    EXPECT_EQ(notRunning->ticks.load(), 0);
    EXPECT_EQ(underHidden->ticks.load(), 0);
    EXPECT_EQ(manager.DeleteMTimer(ticking), 1);
    EXPECT_EQ(manager.DeleteMTimer(ticking), 0);
}

// A ticking control that repaints from the timer thread while the window
// paints, then is removed in the middle of a tick: nothing hangs and the
// control is only deleted once its tick has returned.
TEST(FastTick, RemovingATickingControlWaitsForItsTick)
{
    TestDialog dialog;
    HWND hwnd = dialog.CreatePopup(300, 200);
    Probe* probe = dialog.Add(new Probe(&dialog, 1, CRect(10, 10, 100, 100)));
    bool destroyed = false;
    bool tickRunningAtDestruction = true;
    probe->destroyed = &destroyed;
    probe->tickRunningAtDestruction = &tickRunningAtDestruction;
    probe->SetRunTimer(1);
    probe->repaintOnTick = 1;
    probe->AddMTimer();
    dialog.SetMTimer(2);

    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (std::chrono::steady_clock::now() < end)
    {
        ::UpdateWindow(hwnd);
        Pump();
    }
    EXPECT_GT(probe->ticks.load(), 10);

    probe->tickSleepMs = 20;
    for (int i = 0; i < 200 && !probe->inTick; ++i)
        SleepMs(1);
    dialog.Manager().RemoveControl(probe);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(tickRunningAtDestruction);
    dialog.DestroyWindow();
}
