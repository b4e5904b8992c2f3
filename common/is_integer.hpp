#pragma once
// Whether a number given as a double is a whole number.

#include <cmath>

namespace dot11b {

// True for finite whole numbers; false for fractions, infinities and NaN.
inline bool is_integer(double value) { return std::isfinite(value) && std::floor(value) == value; }

}  // namespace dot11b
