#pragma once

// A Windows critical section and its scoped guard. Critical sections are
// recursive, so an operation that holds the lock may call another that takes
// it again on the same thread.

#include <windows.h>

class CritSec {
public:
    CritSec() { InitializeCriticalSection(&m_section); }
    ~CritSec() { DeleteCriticalSection(&m_section); }
    CritSec(const CritSec&) = delete;
    CritSec& operator=(const CritSec&) = delete;

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class CritSecLock {
public:
    explicit CritSecLock(CritSec* section) : m_section(section)
    {
        if (m_section)
            m_section->Enter();
    }
    ~CritSecLock()
    {
        if (m_section)
            m_section->Leave();
    }
    CritSecLock(const CritSecLock&) = delete;
    CritSecLock& operator=(const CritSecLock&) = delete;

private:
    CritSec* m_section;
};
