#pragma once

// The main window's worker: the task codes that UI handlers queue, the
// guarded task list, and one step of the worker (one task, or the idle work
// when nothing is queued). Nothing here touches a window; KeyboardDlg
// supplies the actions through TaskRunner.

#include <atomic>
#include <deque>
#include <mutex>

namespace tarnwell {

enum WorkerTask : int {
    TASK_FIRST_START = 1,
    TASK_DEVICE_ARRIVED = 2,
    TASK_DEVICE_REMOVED = 3,
    TASK_RELOAD_ALL = 4,
    TASK_DEVICE_READY = 5,
    TASK_APPLY_PROFILE = 6,
    TASK_WRITE_KEYMAP = 7,
    TASK_WRITE_MACROS = 8,
    TASK_WRITE_SETTINGS = 9,
    TASK_WRITE_LIGHTING = 10,
    TASK_RESET_DEVICE = 12,
    TASK_DOWNLOAD_APP = 15,
    TASK_DOWNLOAD_FIRMWARE = 16,
    TASK_FIRMWARE_REQUIRED = 17,
};

// Tasks that talk to the keyboard's settings: dropped unless it is
// connected and ready.
bool TaskNeedsDevice(int code);

constexpr int PAGE_LIGHTING = 3;

enum class IdleAction { None, SendMusicFrame, ReadLiveColors };

// The idle work: only on the lighting page with a keyboard connected, and
// not for a mode with per-key colours.
IdleAction ChooseIdleAction(bool connected, int page, int lightFlags);

// Pushed by the UI thread (and the worker itself), popped by the worker.
class TaskQueue
{
public:
    void Push(int code);
    // False when empty.
    bool Pop(int& code);
    bool Empty() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::deque<int> m_tasks;
};

// What a step runs. Every call comes from the worker thread.
class TaskRunner
{
public:
    virtual ~TaskRunner() = default;
    // The part of a task that runs whatever the device state.
    virtual void RunTask(int code) = 0;
    // The part that needs the keyboard connected and ready.
    virtual void RunDeviceTask(int code) = 0;
    virtual bool IsConnected() = 0;
    virtual bool IsReady() = 0;
    virtual int CurrentPage() = 0;
    virtual int CurrentLightFlags() = 0;
    virtual void RunIdle(IdleAction action) = 0;
};

class TaskWorker
{
public:
    TaskQueue& Tasks() { return m_tasks; }

    // One task, or the idle work when none is queued.
    void Step(TaskRunner& runner);

    // No task is queued or running; the idle work does not count. A task
    // that posts to the UI thread has posted before this turns true.
    bool TasksDone() const { return !m_running && m_tasks.Empty(); }

    // Task 1 runs its scan once per process.
    bool TakeFirstStart();
    bool FirstStartTaken() const { return m_firstStartDone; }

    // Set whenever a task is taken with the keyboard connected and ready;
    // the live-colour read-back begins the device again when it finds it.
    int GetStreamRestart() const { return m_streamRestart; }
    void ClearStreamRestart() { m_streamRestart = 0; }

private:
    TaskQueue m_tasks;
    // Set before a task is taken from the queue, so that a task is always
    // either queued or running.
    std::atomic<bool> m_running{false};
    volatile int m_streamRestart = 0;
    volatile bool m_firstStartDone = false;
};

} // namespace tarnwell
