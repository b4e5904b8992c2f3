#pragma once
// The complementary cumulative distribution of instantaneous power: for each
// level in dB above the average power, the percentage of samples reaching it,
// beside the curve Gaussian noise would give.

#include <vector>

#include "common/types.hpp"
#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct Ccdf {
    std::vector<double> level_db;   // 0 .. maxX in 200 equal steps
    std::vector<double> percent;    // samples at or above each level
    std::vector<double> reference;  // Gaussian noise, percent
    bool real_wave = false;         // no imaginary part: the reference is that of real noise
    AxisRange x;                    // 0 .. maxX
    AxisRange y;                    // smallest percentage shown .. 100, for a logarithmic axis
    std::vector<double> x_ticks;    // every 2 dB
};

// An empty waveform is replaced by ccdf_test_signal().
Ccdf ccdf(SampleSpan iq_wave);

// 1000 samples: an amplitude 1.5 + cos over one period, turning ten times.
Samples ccdf_test_signal();

}  // namespace dot11b::plots
