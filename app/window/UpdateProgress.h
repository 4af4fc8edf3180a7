#pragma once

// The numbers the progress window shows: the downloader's percentages and
// the shown value that the window's timers move towards the target.

#include <cstdint>

namespace tarnwell {

// A percentage that cannot be known (a download without a length): the
// window shows a running bar instead of a number.
constexpr int kProgressUnknown = -1;

// The downloader's steps.
constexpr int kProgressStart = 0;
constexpr int kProgressOnline = 2;
constexpr int kProgressConnected = 8;
constexpr int kProgressReceiving = 10;
constexpr int kProgressDone = 100;

// 10 + 90 x received / length, never above 100; kProgressUnknown when the
// length is not known (0).
int DownloadPercent(uint64_t received, uint64_t length);

// One timer step of the shown value: one closer to the target, never past
// it and never past 100. An unknown target leaves it where it is.
int NextShownProgress(int shown, int target);

} // namespace tarnwell
