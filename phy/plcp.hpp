#pragma once
// PLCP preamble and header bits of IEEE 802.11b-1999 (clause 18.2.3), before scrambling.

#include <cstddef>
#include <string_view>

#include "common/types.hpp"
#include "phy/data_rate.hpp"

namespace dot11b::phy {

enum class PreambleType { Long = 0, Short = 1 };

// Converts the 0/1 selector; throws ConfigError naming `context` for anything else.
PreambleType preamble_type_from_value(double value, std::string_view context);

// Number of SYNC plus SFD bits: 144 long, 72 short.
constexpr std::size_t preamble_bit_count(PreambleType type) { return type == PreambleType::Long ? 144 : 72; }
constexpr std::size_t kHeaderBits = 48;

// SYNC and SFD: 128 ones and F3A0h (long), or 56 zeros and 05CFh (short), LSB first.
Bits preamble_bits(PreambleType type);

// The rate in units of 100 kbit/s, 8 bits LSB first. Throws ConfigError for the
// PBCC-only rates 22 and 33 Mbit/s, which have no SIGNAL code.
Bits signal_field(DataRate rate);

// SERVICE bits b0..b7 = 0, 0, locked, mod, 0, b5, b6, b7. Each input is a 0/1 bit.
Bits service_field(std::uint8_t locked, std::uint8_t mod, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7);

struct LengthField {
    Bits bits;  // the PSDU duration in microseconds, 16 bits LSB first
    std::uint8_t b5 = 0, b6 = 0, b7 = 0;  // length-extension bits of SERVICE
};

// LENGTH of a PSDU of psdu_bits bits (one extra octet counted for PBCC).
// Throws ConfigError when the duration does not fit 16 bits.
LengthField length_field(std::size_t psdu_bits, DataRate rate, std::uint8_t mod);

// Header CRC: CRC-16 (x^16 + x^12 + x^5 + 1), preset to ones, inverted, x^15 first.
Bits crc16(BitSpan bits);

// SIGNAL, SERVICE, LENGTH and CRC: 48 bits.
Bits header_bits(std::size_t psdu_bits, DataRate rate, std::uint8_t mod, std::uint8_t locked);

}  // namespace dot11b::phy
