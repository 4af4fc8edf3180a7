#include "app/window/WorkerTasks.h"

#include "app/window/LightModes.h"

namespace tarnwell {

bool TaskNeedsDevice(int code)
{
    switch (code) {
    case TASK_APPLY_PROFILE:
    case TASK_WRITE_KEYMAP:
    case TASK_WRITE_MACROS:
    case TASK_WRITE_SETTINGS:
    case TASK_WRITE_LIGHTING:
    case TASK_RESET_DEVICE:
        return true;
    default:
        return false;
    }
}

IdleAction ChooseIdleAction(bool connected, int page, int lightFlags)
{
    if (!connected || page != PAGE_LIGHTING || (lightFlags & LIGHT_PER_KEY) != 0)
        return IdleAction::None;
    return (lightFlags & LIGHT_MUSIC) != 0 ? IdleAction::SendMusicFrame : IdleAction::ReadLiveColors;
}

void TaskQueue::Push(int code)
{
    std::lock_guard<std::mutex> held(m_lock);
    m_tasks.push_back(code);
}

bool TaskQueue::Pop(int& code)
{
    std::lock_guard<std::mutex> held(m_lock);
    if (m_tasks.empty())
        return false;
    code = m_tasks.front();
    m_tasks.pop_front();
    return true;
}

bool TaskQueue::Empty() const
{
    std::lock_guard<std::mutex> held(m_lock);
    return m_tasks.empty();
}

void TaskQueue::Clear()
{
    std::lock_guard<std::mutex> held(m_lock);
    m_tasks.clear();
}

bool TaskWorker::TakeFirstStart()
{
    if (m_firstStartDone)
        return false;
    m_firstStartDone = true;
    return true;
}

void TaskWorker::Step(TaskRunner& runner)
{
    int code = 0;
    m_running = true;
    if (!m_tasks.Pop(code)) {
        m_running = false;
        IdleAction action = ChooseIdleAction(runner.IsConnected(), runner.CurrentPage(), runner.CurrentLightFlags());
        if (action != IdleAction::None)
            runner.RunIdle(action);
        return;
    }
    runner.RunTask(code);
    if (runner.IsConnected() && runner.IsReady()) {
        m_streamRestart = 1;
        if (TaskNeedsDevice(code))
            runner.RunDeviceTask(code);
    }
    m_running = false;
}

} // namespace tarnwell
