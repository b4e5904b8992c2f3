#pragma once
// The impairments applied to one built period, in the order of a transmitter
// chain: amplifier, IQ modulator, carrier leakage, clocks, then the channel's
// noise. Every reference power is measured under the burst marker (marker
// row 2) of the period as it reaches that stage, so idle time changes none.

#include "common/types.hpp"
#include "impairments/impairment_settings.hpp"
#include "phy/frame_builder.hpp"

namespace dot11b::impairments {

// `sample_rate` in Hz. An impairment that is off, or at a value that changes
// nothing (IQ gain and phase 0, clock offset 0, CFO 0), leaves every sample
// as it was. Needs a valid record and a period with a burst.
phy::FrameWaveform apply_impairments(const ImpairmentSettings& settings, phy::FrameWaveform period,
                                     double sample_rate);

// Mean power of the samples where the marker is 1 (0 without any).
double burst_power(SampleSpan samples, BitSpan burst_marker);

}  // namespace dot11b::impairments
