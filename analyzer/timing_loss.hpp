#pragma once
// Loss of chip timing: the tracked chip clock runs far off the nominal one
// over a stretch of chips, as when the timing loop slips (a real chip clock
// is within tens of ppm; this looks for a thousand), or the chips stop
// matching their decisions.

#include <cstddef>
#include <optional>
#include <span>

#include "common/types.hpp"

namespace dot11b::analyzer {

// The first chip of the first stretch whose mean chip period is more than
// 0.1 % off `samples_per_chip`, or nothing.
std::optional<std::size_t> chip_timing_lost(std::span<const double> positions, double samples_per_chip);

// The first chip of the first stretch of chips that no longer match their
// decisions (the share of their power along the decided chips falls below a
// half), as when the chip clock changes under chips read at a fixed clock; or
// nothing.
std::optional<std::size_t> decisions_lost(SampleSpan received, SampleSpan decided);

}  // namespace dot11b::analyzer
