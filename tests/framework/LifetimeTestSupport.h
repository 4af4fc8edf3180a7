#pragma once

// What the lifetime tests share: a count of access violations that sees
// them even where Wine swallows them inside a window procedure, and a
// scribbler that reuses freed blocks so that a use after free reads garbage
// instead of the old contents. A hang is left to the test's time-out.

#include <windows.h>
#include <malloc.h>

#include <atomic>
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

} // namespace lifetimetest
