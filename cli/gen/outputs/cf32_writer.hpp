#pragma once
// Raw complex float32 samples, I then Q, little-endian whatever the host.

#include <cstdint>
#include <vector>

#include "common/types.hpp"

namespace dot11b::cli {

// The samples as they are, not scaled.
std::vector<std::uint8_t> cf32_bytes(SampleSpan samples);

}  // namespace dot11b::cli
