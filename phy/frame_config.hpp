#pragma once
// The format configuration of one waveform period: the sixteen inputs of the
// frame builder, with the application's start-up defaults.

#include <cstddef>

#include "common/types.hpp"
#include "phy/data_rate.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"

namespace dot11b::phy {

enum class Modulation { Cck = 0, Pbcc = 1 };       // at 5.5 and 11 Mbit/s
enum class RampType { None = 0, Linear = 1, RaisedCosine = 2 };
enum class FilterType { None = 0, Gaussian = 1, RootCosine = 2 };

struct FrameConfig {
    Bits data_bits;                            // DATAbits: the PSDU, first transmitted bit first
    DataRate rate = DataRate::Mbps11;          // DATArate
    Modulation modulation = Modulation::Cck;   // highRateMod (ignored at 1 and 2 Mbit/s)
    PreambleType preamble = PreambleType::Long;
    bool locked_clocks = false;                // locked: SERVICE bit b2
    ScramblerMode scrambler = ScramblerMode::On;
    bool pbcc_encoder = true;                  // encoderActive
    bool framed = true;                        // generationMode: preamble, header, ramps and idle
    std::size_t idle_samples = 3850;           // zero samples after the burst (framed only)
    RampType ramp = RampType::Linear;
    std::size_t ramp_length = 77;              // samples per ramp
    double oversampling = 3.5;                 // output samples per chip: 2, 2.5, 3 or 3.5
    FilterType filter = FilterType::Gaussian;
    double filter_factor = 0.5;                // Gaussian BT or root-cosine roll-off
    double filter_taps = 21;                   // filter length in samples: symbols x oversampling
    bool mirror_spectrum = false;              // conjugate the waveform

    // Throws ConfigError naming the first field outside its allowed set, with
    // the value and the allowed values.
    void validate() const;
};

// Oversampling at which the burst is filtered and the decimation back to the
// requested ratio: 2.5 and 3.5 are filtered at 5 and 7 and every second sample kept.
struct SampleRatePlan {
    int upsample_factor;
    int decimation;
};
SampleRatePlan sample_rate_plan(double oversampling);

}  // namespace dot11b::phy
