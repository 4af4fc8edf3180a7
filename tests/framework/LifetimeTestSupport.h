#pragma once

// What the lifetime tests share: a count of access violations that sees
// them even where Wine swallows them inside a window procedure, a scribbler
// that reuses freed blocks so that a use after free reads garbage instead of
// the old contents, and a watchdog that ends the program when a step hangs.

#include <windows.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace lifetimetest {

// Counts the access violations raised on any thread while it exists.
class AccessViolations
{
public:
    AccessViolations() { m_handler = ::AddVectoredExceptionHandler(1, &AccessViolations::Count); }
    ~AccessViolations()
    {
        if (m_handler)
            ::RemoveVectoredExceptionHandler(m_handler);
    }
    AccessViolations(const AccessViolations&) = delete;
    AccessViolations& operator=(const AccessViolations&) = delete;

    static int Seen() { return Counter().load(); }

private:
    static std::atomic<int>& Counter()
    {
        static std::atomic<int> count{0};
        return count;
    }
    static LONG CALLBACK Count(EXCEPTION_POINTERS* info)
    {
        if (info && info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
            ++Counter();
        return EXCEPTION_CONTINUE_SEARCH;
    }

    void* m_handler = nullptr;
};

// Takes blocks of the size of a block that was just freed and fills them
// with a pattern no pointer or vtable has, so that code still using the
// freed block faults; the blocks go back when the scribbler goes.
class Scribbler
{
public:
    Scribbler() = default;
    Scribbler(const Scribbler&) = delete;
    Scribbler& operator=(const Scribbler&) = delete;
    ~Scribbler()
    {
        for (void* block : m_blocks)
            std::free(block);
    }

    void Fill(size_t size, int count = 48)
    {
        if (size == 0)
            return;
        for (int i = 0; i < count; ++i)
        {
            void* block = std::malloc(size);
            if (!block)
                return;
            std::memset(block, 0xFE, size);
            m_blocks.push_back(block);
        }
    }

private:
    std::vector<void*> m_blocks;
};

// The size the heap gave an object (0 when it is not a heap block).
inline size_t BlockSize(const void* object) { return object ? _msize(const_cast<void*>(object)) : 0; }

// Ends the program with a message when Arm is not followed by Disarm within
// the time: a hang would otherwise hold the test until its time-out.
class Watchdog
{
public:
    explicit Watchdog(const char* what, DWORD ms) : m_what(what), m_ms(ms)
    {
        m_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    }
    ~Watchdog()
    {
        ::SetEvent(m_done);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_done);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(LPVOID context)
    {
        Watchdog* self = static_cast<Watchdog*>(context);
        if (::WaitForSingleObject(self->m_done, self->m_ms) == WAIT_TIMEOUT)
        {
            std::fprintf(stderr, "HANG: %s did not finish within %lu ms\n", self->m_what,
                         static_cast<unsigned long>(self->m_ms));
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        return 0;
    }

    const char* m_what;
    DWORD m_ms;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
};

} // namespace lifetimetest
