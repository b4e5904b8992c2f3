#pragma once
// Vocabulary types shared by the typed core.

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

namespace dot11b {

// Bits are 0/1 bytes in transmission order (first transmitted bit first).
using Bits = std::vector<std::uint8_t>;
using BitSpan = std::span<const std::uint8_t>;

using Complex = std::complex<double>;
// Chips (11 Mchip/s, unit magnitude) or output samples.
using Samples = std::vector<Complex>;
using SampleSpan = std::span<const Complex>;

}  // namespace dot11b
