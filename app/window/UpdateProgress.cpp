#include "app/window/UpdateProgress.h"

namespace tarnwell {

int DownloadPercent(uint64_t received, uint64_t length)
{
    if (length == 0)
        return kProgressUnknown;
    if (received >= length)
        return kProgressDone;
    // The product fits 64 bits while the length is below 2^56; beyond that
    // the length is divided first.
    const uint64_t span = kProgressDone - kProgressReceiving;
    uint64_t part = length < (1ULL << 56) ? received * span / length : received / (length / span);
    if (part > span)
        part = span;
    return kProgressReceiving + static_cast<int>(part);
}

int NextShownProgress(int shown, int target)
{
    if (shown < 0)
        shown = 0;
    if (shown > kProgressDone)
        shown = kProgressDone;
    if (target == kProgressUnknown)
        return shown;
    const int limit = target < kProgressDone ? target : kProgressDone;
    return shown < limit ? shown + 1 : shown;
}

} // namespace tarnwell
