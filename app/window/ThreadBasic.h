#pragma once

// A thread that calls OnThreadTick once, or again and again at a fixed
// period until it is asked to stop. The owner stops it before anything the
// step uses is destroyed.

#include <windows.h>

class CThreadBasic
{
public:
    CThreadBasic();
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // One step; runs on the thread.
    virtual void OnThreadTick() = 0;

    // Starts the thread unless it runs: periodic steps every intervalMs, or
    // one step when periodic is false. False when the thread could not start.
    bool StartThread(DWORD intervalMs, bool periodic);

    // Asks the thread to stop and waits up to waitMs for it to finish its
    // step. Messages sent to this thread are handled while waiting, so a step
    // that sends to the caller's windows cannot hold the stop up. True when
    // the thread has ended (or never ran); false when it is still inside a
    // step, which the caller must then not destroy anything under.
    bool StopThread(DWORD waitMs);

    bool IsRunning() const { return m_running != 0; }
    bool IsWorkerThread() const { return GetCurrentThreadId() == m_threadId; }

    // Milliseconds from the run-time's 100-nanosecond system time.
    static unsigned long long NowMs();

private:
    static unsigned __stdcall ThreadProc(void* argument);

    HANDLE m_doneEvent;
    volatile LONG m_running;
    int m_periodic;
    DWORD m_interval;
    DWORD m_startTick;
    HANDLE m_thread;
    volatile DWORD m_threadId;
    bool m_abandoned;
};
