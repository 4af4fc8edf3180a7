#pragma once

// Kinds and placements of the balloon (MAirBladder). The paint manager
// passes them through; callers may pass other numbers, which the balloon
// treats as described at each value.

namespace VREL {

// How long a balloon stays: every kind but AIRBLADDER_TYPE_STAY hides itself
// five seconds after its last change.
enum AIRBLADDER_TYPE
{
    AIRBLADDER_TYPE_NORMAL = 1,
    AIRBLADDER_TYPE_STAY = 4,
    AIRBLADDER_TYPE_AUTO_HIDE = 5,
};

// Where the balloon hangs relative to its point; any other number gives an
// empty balloon at (0, 0).
enum AIRBLADDER_MODE
{
    AIRBLADDER_MODE_NONE = 0,
    AIRBLADDER_MODE_RIGHT_BELOW = 1, // right of and below the point
    AIRBLADDER_MODE_LEFT = 2,        // to its left, top 27 pixels above it
    AIRBLADDER_MODE_BELOW = 3,       // below it, starting 25 pixels to its left
    AIRBLADDER_MODE_ABOVE = 4,       // centred above it
    AIRBLADDER_MODE_RIGHT = 5,       // right of it, top 10 pixels above it
};

} // namespace VREL
