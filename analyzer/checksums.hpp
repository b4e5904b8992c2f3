#pragma once
// The two cyclic redundancy checks a receiver verifies: the PLCP header CRC-16
// and the MAC frame check sequence (CRC-32).

#include <cstdint>
#include <span>

#include "common/types.hpp"

namespace dot11b::analyzer {

// CRC-16 of the PLCP header (IEEE 802.11-2016 clause 16, x^16 + x^12 + x^5 + 1,
// register preset to ones, result inverted) over bits in transmission order,
// returned as the 16 bits to be sent, x^15 first.
Bits header_crc16(BitSpan bits);

// The FCS of IEEE 802.11 (the CRC-32 of IEEE 802.3) over whole octets; the
// value is sent least significant octet first, each octet LSB first.
std::uint32_t fcs_crc32(std::span<const std::uint8_t> octets);

}  // namespace dot11b::analyzer
