#include "mac/lfsr_checksum.hpp"

#include <algorithm>
#include <string>

#include "common/errors.hpp"

namespace dot11b::mac {

Bits lfsr_checksum(BitSpan taps, BitSpan initial_state, BitSpan data) {
    if (taps.size() < 2 || initial_state.size() + 1 != taps.size()) {
        throw ConfigError("lfsrChecksum: initalstate must have one bit fewer than taps (taps " +
                          std::to_string(taps.size()) + ", initalstate " + std::to_string(initial_state.size()) +
                          ")");
    }
    const std::size_t stages = initial_state.size();
    Bits reg(initial_state.begin(), initial_state.end());
    for (const std::uint8_t d : data) {
        // Feedback from the highest stage, then a shift towards it with the
        // feedback added at every generator tap.
        const std::uint8_t carry = (d ^ reg[stages - 1]) & 1U;
        for (std::size_t k = stages - 1; k > 0; --k) reg[k] = reg[k - 1] ^ (carry & taps[k]);
        reg[0] = carry & taps[0];
    }
    std::reverse(reg.begin(), reg.end());
    return reg;
}

}  // namespace dot11b::mac
