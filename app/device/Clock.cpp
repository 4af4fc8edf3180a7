#include "app/device/Clock.h"

#include <windows.h>

void SystemClock::Sleep(uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

uint32_t SystemClock::Now()
{
    return ::GetTickCount();
}

Clock& GetSystemClock()
{
    static SystemClock clock;
    return clock;
}
