#pragma once
// Exact rotation of a phasor by multiples of pi/2.

#include <array>

#include "common/types.hpp"

namespace dot11b::phy {

// z * j^quarter_turns, without the rounding of a complex product.
inline Complex rotate_quarter_turns(Complex z, unsigned quarter_turns) {
    switch (quarter_turns & 3U) {
    case 1: return {-z.imag(), z.real()};
    case 2: return -z;
    case 3: return {z.imag(), -z.real()};
    default: return z;
    }
}

// z, jz, -z, -jz: index by a quarter-turn count modulo 4.
inline std::array<Complex, 4> quarter_turns_of(Complex z) {
    return {z, rotate_quarter_turns(z, 1), rotate_quarter_turns(z, 2), rotate_quarter_turns(z, 3)};
}

}  // namespace dot11b::phy
