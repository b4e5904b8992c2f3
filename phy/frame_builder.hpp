#pragma once
// One period of a looping IEEE 802.11b waveform: PLCP preamble and header,
// the modulated PSDU, power ramps, pulse shaping, idle interval and markers.

#include "common/types.hpp"
#include "phy/frame_config.hpp"

namespace dot11b::phy {

struct FrameWaveform {
    Samples samples;  // even length, at 11 MHz x oversampling
    Bits frame_marker;  // 1 on the burst without its ramps (marker row 1)
    Bits burst_marker;  // 1 on the whole burst with its ramps (marker row 2)
};

// Validates the configuration, then builds the waveform and its markers.
FrameWaveform build_frame(const FrameConfig& config);

// The storage to reserve for a period of `samples` samples (and each marker
// row): a clock slow by up to 1000 ppm lengthens the period by up to 0.1 %
// and retimes it in place, so it gets that much spare room (and a few
// samples for the rounding) instead of a new, fresh buffer.
std::size_t period_capacity(std::size_t samples);

// The chips of the burst at 11 Mchip/s, ramps included (before pulse shaping).
Samples burst_chips(const FrameConfig& config);

// The pulse-shaping taps of the configuration at the filtering rate (empty for
// the rectangular hold).
std::vector<double> shaping_taps(const FrameConfig& config);

}  // namespace dot11b::phy
