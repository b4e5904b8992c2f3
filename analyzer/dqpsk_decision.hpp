#pragma once
// The DQPSK decision of the DSSS 2 Mbit/s and CCK receivers: a phase change
// rounded to whole quarter turns, and the dibit it carries.

#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

// The phase of `turn` rounded to 0, 1, 2 or 3 quarter turns counter-clockwise.
inline unsigned quarter_turns(Complex turn) {
    const double re = std::abs(turn.real());
    const double im = std::abs(turn.imag());
    // Away from the diagonals by comparisons; on them, and at zero, the
    // rounded angle decides which way a half rounds.
    if (re > im) return turn.real() > 0 ? 0U : 2U;
    if (im > re) return turn.imag() > 0 ? 1U : 3U;
    return static_cast<unsigned>(std::lround(std::arg(turn) / (std::numbers::pi / 2)) & 3L);
}

// j^quarters, exactly.
inline Complex quarter_turn_phasor(unsigned quarters) {
    static const Complex kPhasors[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return kPhasors[quarters & 3U];
}

// The dibit (d0, d1) of a phase change, by the DQPSK encoding table of the DSSS PHY:
// 0 -> 00, +pi/2 -> 01, pi -> 11, -pi/2 (3 quarter turns) -> 10.
inline void append_dibit(unsigned quarters, std::vector<std::uint8_t>& bits) {
    bits.push_back(quarters >= 2 ? 1 : 0);
    bits.push_back(quarters == 1 || quarters == 2 ? 1 : 0);
}

}  // namespace dot11b::analyzer
