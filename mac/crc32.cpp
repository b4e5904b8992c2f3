#include "mac/crc32.hpp"

#include <array>

#include "mac/lfsr_checksum.hpp"

namespace dot11b::mac {

Bits crc32(BitSpan data) {
    // x^32 + x^26 + x^23 + x^22 + x^16 + x^12 + x^11 + x^10 + x^8 + x^7 + x^5 + x^4 + x^2 + x + 1,
    // coefficients from x^0 to x^32.
    static constexpr std::array<std::uint8_t, 33> kGenerator = {1, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0, 1,
                                                                0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    static constexpr std::array<std::uint8_t, 32> kPreset = [] {
        std::array<std::uint8_t, 32> ones{};
        ones.fill(1);
        return ones;
    }();
    Bits fcs = lfsr_checksum(kGenerator, kPreset, data);
    for (auto& bit : fcs) bit ^= 1U;  // transmitted as the ones' complement
    return fcs;
}

}  // namespace dot11b::mac
