#pragma once
// The loop an SDR plays: one waveform period resampled circularly to the
// device rate and scaled so that its largest magnitude is full scale.
//
// When a whole number of periods at the device rate is a whole number of
// samples within kMaxLoopPeriods and kMaxLoopSamples, the loop holds that many
// periods and repeats them exactly. Otherwise the loop is one period rounded to whole samples, and
// the idle interval absorbs the fraction: the seam lies in the middle of the
// longest silent run, where the shift of a fraction of a sample meets no signal.

#include <cstddef>
#include <string>

#include "common/types.hpp"

namespace dot11b::sdr {

// Whole periods a loop may hold before the idle interval absorbs the fraction.
inline constexpr std::size_t kMaxLoopPeriods = 64;
// Device samples such a loop may hold: 2^23 (128 MiB as double samples).
inline constexpr std::size_t kMaxLoopSamples = std::size_t{1} << 23;

enum class LoopKind { whole_periods, idle_absorbs_fraction };

struct LoopPlan {
    Samples samples;              // the loop at the device rate, largest magnitude 1
    double device_rate = 0;       // Hz
    std::size_t periods = 1;      // waveform periods in the loop
    LoopKind kind = LoopKind::whole_periods;
    double scale = 1;             // applied to the resampled waveform
    double samples_per_period = 0;  // device samples per waveform period (not whole in general)
    double start = 0;             // the waveform instant of loop sample 0, in waveform samples

    // One line for the summary: how the loop is made.
    std::string description() const;
};

// Throws ConfigError for an empty or silent period, rates that are not above
// 0, or a period whose fraction can be neither repeated away nor absorbed by
// an idle interval (one without a silent run longer than the filter).
LoopPlan plan_loop(SampleSpan period, double waveform_rate, double device_rate);

}  // namespace dot11b::sdr
