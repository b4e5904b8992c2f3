#pragma once
// From the format configuration to the waveform: the payload generator's and
// the frame builder's inputs, the PSDU length, the projected waveform length,
// and the calculation itself. The command line and the desktop application
// both calculate through these functions.

#include <cstddef>
#include <optional>

#include "app/records.hpp"
#include "impairments/impairment_settings.hpp"
#include "mac/payload.hpp"
#include "phy/frame_builder.hpp"
#include "phy/frame_config.hpp"

namespace dot11b::app {

mac::PayloadConfig payload_config(const FormatParameters& parameters);

// The frame builder's configuration for the PSDU bits; the filter length is
// converted from symbols to samples (FilterTaps x OverSampling). An unframed
// waveform has no ramps, so the ramp settings are not passed on: the default
// 77-sample ramp would otherwise leave row 1 of the markers empty, or exceed
// a short burst.
phy::FrameConfig frame_config(const FormatParameters& parameters, Bits psdu);

// PSDU octets (`totalLength`): the payload plus, in framed mode only, the
// active MAC header and FCS, which the payload generator adds only there.
std::size_t psdu_octets(const FormatParameters& parameters);

// The size estimate for the PSDU octets times the frames per period, after
// the clock offset's change of length; nothing for the PBCC-only rates 22 and
// 33 Mbit/s, which the estimate does not cover.
std::optional<double> projected_length(const FormatParameters& parameters,
                                       const impairments::ImpairmentSettings& impairments = {});

// Throws ConfigError naming the length when the projected period exceeds the
// 64 M samples an instrument holds.
void check_waveform_length(const FormatParameters& parameters,
                           const impairments::ImpairmentSettings& impairments = {});

// Recomputes `totalLength`, `MACheader.Length` and `ProjectedLength` from the
// rest of the record, as the main window does after every change.
void refresh_derived_fields(FormatParameters& parameters, const impairments::ImpairmentSettings& impairments = {});

// Switches the oversampling ratio as the main window does: ramp and idle
// samples are rescaled (their durations stay the same up to rounding) and the
// sample rate follows. Throws ConfigError for a ratio other than 2, 2.5, 3, 3.5.
void change_oversampling(FormatParameters& parameters, SigGenSettings& settings, double oversampling);

struct Calculation {
    Bits psdu;                 // the payload generator's output (of the first frame)
    phy::FrameWaveform frame;  // samples and marker rows of the whole period, impaired
};

// The payload, the frames of one period, then the impairments. Throws
// ConfigError when a record or the resulting frame is not valid.
Calculation calculate(const FormatParameters& parameters, const impairments::ImpairmentSettings& impairments = {});

}  // namespace dot11b::app
