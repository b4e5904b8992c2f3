#pragma once
// The in-phase and quadrature components against time, on one symmetric
// vertical range shared by both.

#include <string>
#include <vector>

#include "common/types.hpp"
#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct IqTime {
    std::vector<double> time;  // in time_units, from 0 in equal steps
    std::vector<double> in_phase;
    std::vector<double> quadrature;
    std::string time_units;  // "S", "mS", "uS", "nS" or "pS"
    AxisRange x;             // 0 .. the waveform's duration
    AxisRange y;             // -peak .. peak of both components
    bool no_data = false;    // empty waveform: a cosine and sine test signal of 100 points
};

IqTime iq_time(SampleSpan iq_wave, double sample_rate_hz);

}  // namespace dot11b::plots
