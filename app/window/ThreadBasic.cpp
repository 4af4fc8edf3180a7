#include "app/window/ThreadBasic.h"

#include <process.h>

CThreadBasic::CThreadBasic()
    : m_doneEvent(nullptr), m_running(0), m_periodic(0), m_interval(1), m_startTick(0), m_thread(nullptr),
      m_threadId(0), m_abandoned(false)
{
}

CThreadBasic::~CThreadBasic()
{
    // A thread that would not stop still uses this object: leave its handles.
    if (!m_abandoned && m_thread != nullptr) {
        CloseHandle(m_thread);
        if (m_doneEvent != nullptr)
            CloseHandle(m_doneEvent);
    }
}

unsigned long long CThreadBasic::NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return ticks.QuadPart * 100 / 1000000;
}

bool CThreadBasic::StartThread(DWORD intervalMs, bool periodic)
{
    if (m_running != 0)
        return true;
    if (m_thread != nullptr) {
        // A previous run that ended: release its handles before the next.
        CloseHandle(m_thread);
        m_thread = nullptr;
        CloseHandle(m_doneEvent);
        m_doneEvent = nullptr;
    }
    m_interval = intervalMs;
    m_periodic = periodic ? 1 : 0;
    m_startTick = GetTickCount();
    m_doneEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_doneEvent == nullptr)
        return false;
    m_running = 1;
    unsigned id = 0;
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &CThreadBasic::ThreadProc, this, 0, &id));
    if (m_thread == nullptr) {
        m_running = 0;
        CloseHandle(m_doneEvent);
        m_doneEvent = nullptr;
        return false;
    }
    m_threadId = id;
    return true;
}

bool CThreadBasic::StopThread(DWORD waitMs)
{
    if (m_thread == nullptr)
        return true;
    InterlockedExchange(&m_running, 0);
    if (IsWorkerThread())
        return false;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs)
            break;
        DWORD result = MsgWaitForMultipleObjects(1, &m_thread, FALSE, waitMs - elapsed, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            break;
        if (result != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        // Only sent messages: posted ones stay queued for the caller's loop.
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0) {
        // Still inside a step: the destructor must keep its handles.
        m_abandoned = true;
        return false;
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
    CloseHandle(m_doneEvent);
    m_doneEvent = nullptr;
    m_threadId = 0;
    return true;
}

unsigned __stdcall CThreadBasic::ThreadProc(void* argument)
{
    CThreadBasic* self = static_cast<CThreadBasic*>(argument);
    if (self->m_periodic == 0) {
        self->OnThreadTick();
    } else {
        while (self->m_running != 0) {
            const unsigned long long t0 = NowMs();
            self->OnThreadTick();
            const unsigned long long spent = NowMs() - t0;
            if (spent < self->m_interval)
                Sleep(static_cast<DWORD>(self->m_interval - spent));
        }
    }
    SetEvent(self->m_doneEvent);
    return 0;
}
