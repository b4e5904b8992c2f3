#pragma once
// The IEEE 802.11b data scrambler (z^-7 + z^-4 + 1, clause 18.2.4).

#include <array>
#include <cstddef>
#include <string_view>

#include "common/types.hpp"
#include "phy/plcp.hpp"

namespace dot11b::phy {

enum class ScramblerMode { Off = 0, On = 1, PreambleOnly = 2 };

// Converts the 0/1/2 selector; throws ConfigError naming `context` for anything else.
ScramblerMode scrambler_mode_from_value(double value, std::string_view context);

// Seven bits of scrambler history: seed[k - 1] is the output k bits before the first input bit.
using ScramblerSeed = std::array<std::uint8_t, 7>;

// The seed the standard prescribes for each preamble type.
ScramblerSeed scrambler_seed(PreambleType type);

// Self-synchronising scrambler: out(i) = in(i) ^ out(i-4) ^ out(i-7).
Bits scramble_741(BitSpan input, const ScramblerSeed& seed);

// The frame scrambler: off, the whole frame, or only its first preamble_bit_count(type)
// bits (all of a shorter frame), seeded by the preamble type.
Bits scramble_frame(ScramblerMode mode, PreambleType type, BitSpan frame);

}  // namespace dot11b::phy
