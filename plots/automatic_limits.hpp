#pragma once
// The limits a plot axis picks for itself when none are given: the data's
// range widened outward to whole tick steps, as plotting tools do.

#include "plots/axis_range.hpp"

namespace dot11b::plots {

// The tick step is the smallest 1, 2 or 5 times a power of ten that divides
// the data's span into at most ten steps. A span of zero widens to one unit
// either side. Infinite or NaN bounds are returned as they are.
AxisRange automatic_limits(AxisRange data);

}  // namespace dot11b::plots
