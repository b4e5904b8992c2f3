#pragma once
// Loss of chip timing: the tracked chip clock runs far off the nominal one
// over a stretch of chips, as when the timing loop slips. A real chip clock
// is within tens of ppm; this looks for a thousand.

#include <cstddef>
#include <optional>
#include <span>

namespace dot11b::analyzer {

// The first chip of the first stretch whose mean chip period is more than
// 0.1 % off `samples_per_chip`, or nothing.
std::optional<std::size_t> chip_timing_lost(std::span<const double> positions, double samples_per_chip);

}  // namespace dot11b::analyzer
