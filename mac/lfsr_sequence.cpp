#include "mac/lfsr_sequence.hpp"

#include <algorithm>
#include <string>

#include "common/errors.hpp"

namespace dot11b::mac {

Bits lfsr_sequence(std::size_t order, BitSpan taps, std::size_t m, BitSpan seed) {
    if (order == 0 || taps.size() < order || seed.size() < order) {
        throw ConfigError("lfsr: taps and seed need at least `order` bits (order " + std::to_string(order) + ", taps " +
                          std::to_string(taps.size()) + ", seed " + std::to_string(seed.size()) + ")");
    }
    Bits a(std::max(m, order), 0);
    std::copy_n(seed.begin(), order, a.begin());
    for (std::size_t i = order; i < m; ++i) {
        // taps[0] weights the oldest of the last `order` bits, taps[order - 1] the newest.
        std::uint8_t sum = 0;
        for (std::size_t k = 0; k < order; ++k) sum ^= taps[k] & a[i - order + k];
        a[i] = sum;
    }
    a.resize(m);
    return a;
}

}  // namespace dot11b::mac
