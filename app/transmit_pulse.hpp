#pragma once
// The pulse-shaping filter a waveform of these parameters is built with.

#include "app/records.hpp"
#include "app/waveform_files/pulse_filter.hpp"

namespace dot11b::app {

// The filter's span is its taps over the upsampling factor (the taps sit
// 1 / upsample_factor chips apart): FilterTaps symbols at 3.5 samples per chip
// (upsampling 7, decimation 2) span FilterTaps / 2 chips.
waveform_files::PulseFilter transmit_pulse(const FormatParameters& p);

}  // namespace dot11b::app
