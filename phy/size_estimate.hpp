#pragma once
// The projected number of waveform samples of a configuration, without building it.

#include <cstddef>

#include "phy/frame_config.hpp"

namespace dot11b::phy {

struct SizeEstimateInput {
    bool framed = true;                       // generationMode
    double data_bits = 8192;                  // numberOfDATAbits
    DataRate rate = DataRate::Mbps11;         // DATArate: 1, 2, 5.5 or 11
    Modulation modulation = Modulation::Cck;  // highSpeedmod
    bool pbcc_encoder = true;                 // encoderActive
    PreambleType preamble = PreambleType::Long;
    double idle_samples = 3850;
    RampType ramp = RampType::Linear;
    double ramp_length = 77;                  // samples per ramp
    double oversampling = 3.5;
};

// Chips of the sections times the oversampling, plus both ramps and the idle
// interval, rounded up to an even count. It equals the built length whenever
// the ramp is a whole number of chips, except that PBCC is counted without
// its encoder tail. Throws ConfigError for a rate other than 1, 2, 5.5 or 11.
double estimate_size(const SizeEstimateInput& input);

// The estimate's inputs taken from a frame configuration.
SizeEstimateInput size_estimate_input(const FrameConfig& config);

}  // namespace dot11b::phy
