#include "common/octets.hpp"

namespace dot11b {

std::vector<std::uint8_t> octets_of(BitSpan bits) {
    std::vector<std::uint8_t> octets(bits.size() / 8, 0);
    for (std::size_t k = 0; k < 8 * octets.size(); ++k) octets[k / 8] |= static_cast<std::uint8_t>(bits[k] << (k % 8));
    return octets;
}

}  // namespace dot11b
