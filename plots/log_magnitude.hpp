#pragma once
// The steps shared by the spectrum and the waterfall: bin order, the power
// floor, decibels below the peak, the display range and the frequency axis.

#include <cstddef>
#include <span>
#include <vector>

#include "common/types.hpp"
#include "plots/axis_range.hpp"
#include "plots/units.hpp"

namespace dot11b::plots {

// |V(k)|^2 of an n-point transform with the bins reordered as V(h..n), V(1..h-1),
// h = round(n/2) counted from 1: the upper half of the bins comes first.
std::vector<double> reordered_power(SampleSpan bins);

// When some bin is exactly 0, lifts every bin by 1e-20 of the largest (or by
// 1e-20 when all are 0), so that no level is minus infinity.
void add_power_floor(std::span<double> power);

// 10 log10(P) minus its maximum: the peak is 0 dB.
std::vector<double> decibels_below_peak(std::span<const double> power);

// Top rounded up and bottom rounded down to multiples of 10 dB, at most 100 dB
// apart. A flat spectrum gets the 10 dB below its level, so the range is never empty.
AxisRange display_range_db(std::span<const double> decibels);

struct FrequencyAxis {
    std::vector<double> values;  // -fMax .. fMax in `units`, `points` equal steps
    UnitScale units;
    AxisRange range;
};
FrequencyAxis frequency_axis(double sample_rate_hz, std::size_t points);

// The rate the views work with: a rate that is not a positive finite number becomes 1 Hz.
double usable_sample_rate(double sample_rate_hz);

// `points` values from `first` to `last` in equal steps (the last one when points is 1).
std::vector<double> equal_steps(double first, double last, std::size_t points);

}  // namespace dot11b::plots
