#pragma once
// The IEEE 802.11 frame check sequence (the CRC-32 of IEEE 802.3).

#include "common/types.hpp"

namespace dot11b::mac {

// 32 bits, x^31 coefficient first, as transmitted. Input bits in transmission
// order (each octet least significant bit first).
Bits crc32(BitSpan data);

}  // namespace dot11b::mac
