#pragma once
// Conversions between numbers, bit vectors and hexadecimal text.

#include <cstddef>
#include <string>
#include <vector>

#include "common/types.hpp"

namespace dot11b::mac {

enum class BitOrder {
    LsbFirst,  // "right-msb": the first element is the least significant bit
    MsbFirst,  // "left-msb": the first element is the most significant bit
};

// The bits of the non-negative integer x, at least min_size of them; a wider
// value is not truncated. Throws ConfigError("Integer required") for a
// non-integer x.
Bits bit_vector(double x, double min_size, BitOrder order = BitOrder::LsbFirst);

// bitVector with one argument: min_size = ceil(log2(x)).
Bits bit_vector(double x);

// One number per row of a rows x cols column-major digit matrix in base p.
// Throws ConfigError with the texts of the bi2de operation for bad digits or base.
std::vector<double> bi2de(std::size_t rows, std::size_t cols, const std::vector<double>& digits,
                          double base = 2, BitOrder order = BitOrder::LsbFirst);

// Upper-case hexadecimal of a non-negative integer, zero-padded to 2 * size characters.
std::string hex_string(double num, double size);

// The value of the decimal digits of d read as an octal numeral (133 -> 91).
double oct2dec(double d);

}  // namespace dot11b::mac
