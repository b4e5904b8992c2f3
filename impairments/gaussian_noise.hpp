#pragma once
// Repeatable complex white Gaussian noise.

#include <cstdint>
#include <span>

#include "common/types.hpp"

namespace dot11b::impairments {

// Adds noise of mean power `power` (variance power / 2 per component) to
// every sample; the same seed gives the same noise.
void add_gaussian_noise(std::span<Complex> samples, double power, std::uint64_t seed);

}  // namespace dot11b::impairments
