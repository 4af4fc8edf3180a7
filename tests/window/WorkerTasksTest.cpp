// The worker's step, its task list and the periodic thread, without a window.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/window/ThreadBasic.h"
#include "app/window/LightModes.h"
#include "app/window/WorkerTasks.h"

namespace {

using namespace tarnwell;

// Records what a step asked for, as "task N", "device N", "idle music" ...
class RecordingRunner : public TaskRunner
{
public:
    bool connected = true;
    bool ready = true;
    int page = 0;
    int flags = 0;
    std::vector<std::string> calls;

    void RunTask(int code) override { calls.push_back("task " + std::to_string(code)); }
    void RunDeviceTask(int code) override { calls.push_back("device " + std::to_string(code)); }
    bool IsConnected() override { return connected; }
    bool IsReady() override { return ready; }
    int CurrentPage() override { return page; }
    int CurrentLightFlags() override { return flags; }
    void RunIdle(IdleAction action) override
    {
        calls.push_back(action == IdleAction::SendMusicFrame ? "idle music" : "idle read");
    }
};

TEST(WorkerStep, TakesOneTaskPerStepInPushOrder)
{
    TaskWorker worker;
    RecordingRunner runner;
    worker.Tasks().Push(TASK_WRITE_SETTINGS);
    worker.Tasks().Push(TASK_WRITE_LIGHTING);

    worker.Step(runner);
    EXPECT_EQ(runner.calls, (std::vector<std::string>{"task 9", "device 9"}));
    worker.Step(runner);
    EXPECT_EQ(runner.calls, (std::vector<std::string>{"task 9", "device 9", "task 10", "device 10"}));
    EXPECT_EQ(worker.GetStreamRestart(), 1);
    EXPECT_TRUE(worker.Tasks().Empty());
}

TEST(WorkerStep, DeviceTasksAreDroppedUnlessConnectedAndReady)
{
    const struct
    {
        bool connected;
        bool ready;
    } states[] = {{false, false}, {true, false}, {false, true}};
    const int deviceTasks[] = {6, 7, 8, 9, 10, 12};
    for (const auto& state : states) {
        SCOPED_TRACE(std::to_string(state.connected) + std::to_string(state.ready));
        TaskWorker worker;
        RecordingRunner runner;
        runner.connected = state.connected;
        runner.ready = state.ready;
        for (int code : deviceTasks)
            worker.Tasks().Push(code);
        worker.Tasks().Push(TASK_DEVICE_ARRIVED);
        for (size_t i = 0; i < std::size(deviceTasks) + 1; ++i)
            worker.Step(runner);
        EXPECT_TRUE(worker.Tasks().Empty());
        // Each task still passes its unconditional part (empty for device
        // tasks); none reaches the device, and the rescan still runs.
        for (const std::string& call : runner.calls)
            EXPECT_EQ(call.rfind("device", 0), std::string::npos) << call;
        EXPECT_EQ(runner.calls.back(), "task 2");
        EXPECT_EQ(worker.GetStreamRestart(), 0);
    }
}

// A task is queued or running until the step that runs it ends; the idle
// work is no task.
TEST(WorkerStep, TasksAreDoneOnlyOnceTheLastOneHasRun)
{
    struct SeeingRunner : RecordingRunner
    {
        TaskWorker* worker = nullptr;
        std::vector<bool> doneWhileRunning;
        void RunTask(int code) override
        {
            doneWhileRunning.push_back(worker->TasksDone());
            RecordingRunner::RunTask(code);
        }
    };
    TaskWorker worker;
    SeeingRunner runner;
    runner.worker = &worker;
    runner.page = PAGE_LIGHTING;
    EXPECT_TRUE(worker.TasksDone());
    worker.Tasks().Push(TASK_WRITE_SETTINGS);
    EXPECT_FALSE(worker.TasksDone());
    worker.Step(runner);
    EXPECT_TRUE(worker.TasksDone());
    worker.Step(runner);  // the idle work
    EXPECT_TRUE(worker.TasksDone());
    EXPECT_EQ(runner.doneWhileRunning, (std::vector<bool>{false}));
    EXPECT_EQ(runner.calls, (std::vector<std::string>{"task 9", "device 9", "idle read"}));
}

TEST(WorkerStep, FirstStartIsTakenOnce)
{
    TaskWorker worker;
    EXPECT_TRUE(worker.TakeFirstStart());
    EXPECT_FALSE(worker.TakeFirstStart());
}

TEST(WorkerStep, IdleWorkOnlyOnTheLightingPage)
{
    const struct
    {
        bool connected;
        int page;
        int flags;
        IdleAction expected;
    } cases[] = {
        {true, PAGE_LIGHTING, 0, IdleAction::ReadLiveColors},
        {true, PAGE_LIGHTING, 0x1F, IdleAction::ReadLiveColors},
        {true, PAGE_LIGHTING, LIGHT_MUSIC, IdleAction::SendMusicFrame},
        {true, PAGE_LIGHTING, LIGHT_PER_KEY, IdleAction::None},
        {true, PAGE_LIGHTING, LIGHT_PER_KEY | LIGHT_MUSIC, IdleAction::None},
        {false, PAGE_LIGHTING, 0, IdleAction::None},
        {true, 0, 0, IdleAction::None},
        {true, 1, 0, IdleAction::None},
        {true, 2, LIGHT_MUSIC, IdleAction::None},
        {true, 5, 0, IdleAction::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.connected) + " page " + std::to_string(c.page) + " flags " +
                     std::to_string(c.flags));
        EXPECT_EQ(ChooseIdleAction(c.connected, c.page, c.flags), c.expected);
        TaskWorker worker;
        RecordingRunner runner;
        runner.connected = c.connected;
        runner.ready = false;  // the idle work does not ask for ready
        runner.page = c.page;
        runner.flags = c.flags;
        worker.Step(runner);
        EXPECT_EQ(runner.calls.size(), c.expected == IdleAction::None ? 0u : 1u);
    }
}

TEST(TaskQueue, PushesFromTwoThreadsWhileTheWorkerPopsLoseNothing)
{
    TaskQueue queue;
    constexpr int kPerProducer = 20000;
    std::atomic<int> popped{0};
    std::atomic<long long> sum{0};
    std::atomic<bool> producing{true};
    std::thread consumer([&] {
        int code = 0;
        while (producing || !queue.Empty()) {
            if (queue.Pop(code)) {
                ++popped;
                sum += code;
            }
        }
    });
    std::thread first([&] {
        for (int i = 0; i < kPerProducer; ++i)
            queue.Push(1);
    });
    std::thread second([&] {
        for (int i = 0; i < kPerProducer; ++i)
            queue.Push(2);
    });
    first.join();
    second.join();
    producing = false;
    consumer.join();
    EXPECT_EQ(popped.load(), 2 * kPerProducer);
    EXPECT_EQ(sum.load(), 3LL * kPerProducer);
}

class CountingThread : public CThreadBasic
{
public:
    std::atomic<int> ticks{0};
    HANDLE release = nullptr;
    void OnThreadTick() override
    {
        ++ticks;
        if (release != nullptr)
            WaitForSingleObject(release, INFINITE);
    }
};

TEST(ThreadBasic, PeriodicStepsStopWhenAsked)
{
    CountingThread thread;
    ASSERT_TRUE(thread.StartThread(1, true));
    ASSERT_TRUE(thread.StartThread(1, true)) << "a second start while running is no error";
    const DWORD start = GetTickCount();
    while (thread.ticks < 3 && GetTickCount() - start < 10000)
        Sleep(1);
    EXPECT_GE(thread.ticks.load(), 3);
    EXPECT_TRUE(thread.StopThread(5000));
    const int after = thread.ticks;
    Sleep(20);
    EXPECT_EQ(thread.ticks.load(), after) << "steps ran after the stop";
}

TEST(ThreadBasic, OneShotRunsOnce)
{
    CountingThread thread;
    ASSERT_TRUE(thread.StartThread(1, false));
    EXPECT_TRUE(thread.StopThread(5000));
    EXPECT_EQ(thread.ticks.load(), 1);
}

TEST(ThreadBasic, StopReportsAStepThatWillNotEnd)
{
    CountingThread thread;
    thread.release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(thread.StartThread(1, true));
    const DWORD start = GetTickCount();
    while (thread.ticks < 1 && GetTickCount() - start < 10000)
        Sleep(1);
    EXPECT_FALSE(thread.StopThread(50)) << "the stop must say the worker is still inside its step";
    SetEvent(thread.release);
    EXPECT_TRUE(thread.StopThread(5000));
    CloseHandle(thread.release);
}

// A step that sends a message to a window of the stopping thread must not
// hold the stop up until its time-out.
class SendingThread : public CThreadBasic
{
public:
    HWND target = nullptr;
    std::atomic<int> sent{0};
    void OnThreadTick() override
    {
        SendMessageW(target, WM_NULL, 0, 0);
        ++sent;
    }
};

TEST(ThreadBasic, StopHandlesMessagesTheStepSendsToTheCaller)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SendingThread thread;
    thread.target = window;
    ASSERT_TRUE(thread.StartThread(1, true));
    // The step is now (or soon) blocked in SendMessage to this thread.
    EXPECT_TRUE(thread.StopThread(10000));
    DestroyWindow(window);
}

} // namespace
