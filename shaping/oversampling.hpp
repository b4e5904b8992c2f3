#pragma once
// Zero stuffing to the sample rate and cyclic extension of a pattern.

#include <cstddef>
#include <span>
#include <vector>

#include "common/types.hpp"

namespace dot11b::shaping {

// Each sample of x followed by factor - 1 zeros (the last one too): factor * size samples.
// Throws ConfigError for a factor below 1.
Samples upsample(SampleSpan x, int factor);

// The cyclic continuation of `data` cut to exactly req_length values.
// Throws ConfigError for an empty `data` when req_length is above 0.
std::vector<double> extendvector(std::span<const double> data, std::size_t req_length);
Samples extendvector(SampleSpan data, std::size_t req_length);

}  // namespace dot11b::shaping
