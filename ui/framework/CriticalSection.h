#pragma once

// A re-entrant lock (a Win32 critical section) that lives exactly as long as
// its owner, and the scope guard that takes it. The paint manager, every
// control and the timer records guard their collections with these.

#include <windows.h>

namespace VREL {

class CriticalSection
{
public:
    CriticalSection() noexcept { ::InitializeCriticalSection(&m_section); }
    ~CriticalSection() { ::DeleteCriticalSection(&m_section); }

    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Lock() noexcept { ::EnterCriticalSection(&m_section); }
    void Unlock() noexcept { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class ScopedLock
{
public:
    explicit ScopedLock(CriticalSection& lock) noexcept : m_lock(lock) { m_lock.Lock(); }
    ~ScopedLock() { m_lock.Unlock(); }

    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& m_lock;
};

} // namespace VREL
