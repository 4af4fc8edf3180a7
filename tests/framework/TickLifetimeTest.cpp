// Controls removed while ticks run: from the notification a control's own
// tick sends, from input handlers while the fast tick repaints, and while
// another thread looks controls up and walks copies of the list.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/framework/CoreTestSupport.h"
#include "tests/framework/LifetimeTestSupport.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/DeferredDelete.h"

using namespace coretest;
using lifetimetest::AccessViolations;
using lifetimetest::Scribbler;

namespace {

constexpr UINT kTimerButtonId = 40;
constexpr UINT kTickMs = 16;

// A timer button whose clock the test moves on.
class ClockedTimerButton : public VREL::CTimerButton
{
public:
    using CTimerButton::CTimerButton;
    std::atomic<DWORD> clock{1000};

protected:
    DWORD CurrentTick() const override { return clock.load(); }
};

// A dialog that removes a control when it is told to, from the handler of
// any notification, and can hold the handler up first.
class RemovingDialog : public TestDialog
{
public:
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        TestDialog::OnMessage(id, code, wParam, lParam);
        if (id != removeOn.load())
            return 0;
        if (DWORD ms = holdMs.load())
            ::Sleep(ms);
        VREL::MControl* victim = Manager().GetControl(removeId.load());
        const size_t size = lifetimetest::BlockSize(victim);
        Manager().RemoveControl(victim);
        scribbler.Fill(size);
        ++removals;
        return 0;
    }

    std::atomic<UINT> removeOn{0};
    std::atomic<UINT> removeId{0};
    std::atomic<DWORD> holdMs{0};
    std::atomic<int> removals{0};
    Scribbler scribbler;
};

// Notifies its owner once, from its key, wheel or move handler, when armed.
class Notifier : public Probe
{
public:
    using Probe::Probe;
    bool armed = false;
    int OnControlKeyDown(UINT, UINT, UINT) override { return Fire(); }
    int OnControlScroll(int, UINT, CPoint) override { return Fire(); }
    int OnControlMouseMove(UINT, CPoint) override { return Fire(); }

private:
    int Fire()
    {
        if (!armed)
            return 0;
        armed = false;
        SendMessageW(VREL::NC_CLICKED, 0, 0);
        return 1;
    }
};

class TickLifetime : public PopupFixture<RemovingDialog>
{
};

} // namespace

TEST_F(TickLifetime, TimerButtonRemovedFromTheNotificationOfItsOwnExpiry)
{
    enum class Tick
    {
        FAST_TICK,
        WINDOW_TIMER,
    };
    for (Tick tick : {Tick::FAST_TICK, Tick::WINDOW_TIMER})
    {
        SCOPED_TRACE(tick == Tick::FAST_TICK ? "fast tick" : "window timer");
        AccessViolations violations;
        const int before = AccessViolations::Seen();
        auto* button =
            dialog.Add(new ClockedTimerButton(&dialog, kTimerButtonId, CRect(10, 10, 110, 40), L"Go", 1, 1));
        dialog.removeOn = kTimerButtonId;
        dialog.removeId = kTimerButtonId;
        dialog.removals = 0;
        button->SetRun(1);
        button->clock += 11000;
        if (tick == Tick::FAST_TICK)
        {
            button->AddMTimer();
            Manager().SetMTimer(kTickMs);
        }
        else
        {
            ASSERT_EQ(Manager().SetTimer(button, 1, kTickMs), 1);
        }
        for (int i = 0; i < 100 && dialog.removals.load() == 0; ++i)
            Pump(10);
        EXPECT_EQ(dialog.removals.load(), 1);
        EXPECT_EQ(Manager().GetControl(kTimerButtonId), nullptr);
        // Both the window thread and the tick go on: the tick can be stopped
        // and the window still paints.
        Pump(50);
        Manager().KillMTimer();
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
        EXPECT_EQ(AccessViolations::Seen(), before);
    }
}

TEST_F(TickLifetime, InputHandlersRemoveControlsWhileTheFastTickRepaints)
{
    // A ticking control repaints on every tick and holds each tick a while;
    // the owner's handler of a notification sent from the manager's walk
    // over its controls (a key, a wheel turn, a mouse move with no control
    // hovered) holds the window thread a while and then removes the ticking
    // control.
    AccessViolations violations;
    const int before = AccessViolations::Seen();
    Manager().SetMTimer(kTickMs);

    enum Input
    {
        KEY,
        WHEEL,
        MOUSE,
    };
    const char* const names[] = {"key", "wheel", "mouse"};
    for (int round = 0; round < 30; ++round)
    {
        const Input input = static_cast<Input>(round % 3);
        SCOPED_TRACE(names[input]);
        auto* ticking = dialog.Add(new Probe(&dialog, 50, CRect(150, 10, 250, 60)));
        ticking->repaintOnTick = 1;
        // The key is for the sender, which comes later in the walk.
        ticking->takesKeys = 0;
        ticking->tickSleepMs = 4;
        ticking->SetRunTimer(1);
        ticking->AddMTimer();
        auto* sender = dialog.Add(new Notifier(&dialog, 51, CRect(10, 10, 110, 60)));
        dialog.removeOn = 51;
        dialog.removeId = 50;
        dialog.holdMs = 8;
        dialog.removals = 0;
        Pump(20);
        // No control is hovered: the input goes through the walk.
        ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
        sender->armed = true;
        switch (input)
        {
        case KEY:
            ::SendMessageW(hwnd, WM_KEYDOWN, 'A', 1);
            break;
        case WHEEL:
            Wheel(hwnd, -WHEEL_DELTA, 50, 30);
            break;
        case MOUSE:
            Move(hwnd, 50, 30);
            break;
        }
        EXPECT_EQ(dialog.removals.load(), 1);
        EXPECT_EQ(Manager().GetControl(50), nullptr);
        dialog.removeOn = 0;
        Manager().RemoveControl(sender);
    }
    Manager().KillMTimer();
    EXPECT_EQ(AccessViolations::Seen(), before);
}

TEST_F(TickLifetime, AnotherThreadLooksUpAndWalksCopiesWhileTheWindowRemovesControls)
{
    AccessViolations violations;
    const int before = AccessViolations::Seen();
    std::atomic<bool> stop{false};
    std::atomic<long> reads{0};
    std::thread reader([&] {
        while (!stop.load())
        {
            // What the header asks of another thread: a pin for as long as
            // the controls found are used.
            VREL::ControlPin pin;
            for (VREL::MControl* control : Manager().CopyControls())
            {
                control->GetClassNameW();
                control->PtInRect(CPoint(20, 20));
            }
            if (VREL::MControl* found = Manager().GetControl(61))
                found->PtInRect(CPoint(20, 20));
            ++reads;
        }
    });
    // The rounds go on until the reader has overlapped them for a while: on a
    // fast machine 400 rounds can be over before the reader's first walk.
    for (int round = 0; round < 400 || (reads.load() < 200 && round < 200000); ++round)
    {
        auto* parent = dialog.Add(new Probe(&dialog, 60, CRect(10, 10, 110, 60)));
        parent->AddChild(new Probe(parent, 61, CRect(20, 20, 60, 40)));
        const size_t size = lifetimetest::BlockSize(parent);
        Manager().RemoveControl(parent);
        Scribbler scribbler;
        scribbler.Fill(size, 8);
    }
    stop = true;
    reader.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(VREL::PendingDeletes(), 0u);
    EXPECT_EQ(AccessViolations::Seen(), before);
}
