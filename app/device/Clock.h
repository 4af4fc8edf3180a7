#pragma once

#include <cstdint>

// Time source for the device link. Every pause between reports goes through
// one, so tests can run the exchanges on a virtual clock and check their timing.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since an arbitrary start; wraps like GetTickCount.
    virtual uint32_t Now() = 0;
};

// The wall clock: Sleep and GetTickCount.
class SystemClock : public Clock {
public:
    void Sleep(uint32_t milliseconds) override;
    uint32_t Now() override;
};

// One SystemClock shared by the process-wide objects.
Clock& GetSystemClock();
