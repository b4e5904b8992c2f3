#pragma once
// Conversions between Values and the typed core, for the adapters. Each
// reading function names the operation and the input in its error.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>
#include <string>
#include <string_view>

#include "common/types.hpp"
#include "frame/inputs.hpp"
#include "frame/value.hpp"

namespace dot11b::frame {

// A real 1x1 double.
double to_scalar(const Inputs& in, std::size_t index, std::string_view name);
// A real 1x1 non-negative integer.
std::size_t to_count(const Inputs& in, std::size_t index, std::string_view name);
// A real 1x1 of 0 or 1.
std::uint8_t to_bit(const Inputs& in, std::size_t index, std::string_view name);
// A real 1x1 whole number from the allowed set.
int to_choice(const Inputs& in, std::size_t index, std::string_view name, std::initializer_list<int> allowed);
// A real vector (row or column), or an empty value.
std::vector<double> to_reals(const Inputs& in, std::size_t index, std::string_view name);
// A real vector (row or column) of 0s and 1s, or an empty value.
Bits to_bits(const Inputs& in, std::size_t index, std::string_view name);
// A 1x1 real or complex number.
Complex to_complex_scalar(const Inputs& in, std::size_t index, std::string_view name);
// The marker rows of a waveform (an empty value, or 1 x N or 2 x N of 0s and
// 1s); the second row is empty when there is one.
std::array<Bits, 2> to_marker_rows(const Inputs& in, std::size_t index, std::string_view name);
// A real or complex vector, or an empty value.
Samples to_samples(const Inputs& in, std::size_t index, std::string_view name);
// A character row.
std::string to_text(const Inputs& in, std::size_t index, std::string_view name);

// 1xN rows of doubles, of doubles 0/1 and of complex samples.
Value reals_value(std::span<const double> values);
Value bits_value(BitSpan bits);
Value samples_value(SampleSpan samples);

}  // namespace dot11b::frame
