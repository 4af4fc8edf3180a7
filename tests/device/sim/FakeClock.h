#pragma once

#include <cstdint>
#include <vector>

#include "app/device/Clock.h"

// A virtual clock: Sleep records the pause and moves time on at once. The
// simulated devices move it with Advance while a read waits, which is not
// recorded as a sleep of the code under test.
class FakeClock : public Clock {
public:
    void Sleep(uint32_t milliseconds) override
    {
        sleeps_.push_back(milliseconds);
        now_ += milliseconds;
    }
    uint32_t Now() override { return now_; }

    void Advance(uint32_t milliseconds) { now_ += milliseconds; }
    const std::vector<uint32_t>& Sleeps() const { return sleeps_; }
    void ClearSleeps() { sleeps_.clear(); }

private:
    uint32_t now_ = 1000;
    std::vector<uint32_t> sleeps_;
};
