#pragma once
// Bits to octets as they leave the air: eight bits to an octet, the first
// transmitted bit the least significant (MAC fields, PSDU files).

#include <cstdint>
#include <vector>

#include "common/types.hpp"

namespace dot11b {

// The whole octets of `bits`; bits after the last whole octet are dropped.
std::vector<std::uint8_t> octets_of(BitSpan bits);

}  // namespace dot11b
