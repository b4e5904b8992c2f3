#pragma once
// The analyser: finds every burst of a recording, decodes it and makes the
// transmitter measurements. The result is plain data (report, spectrum and
// mask) for the command line and for a window to draw.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analyzer/burst_detection.hpp"
#include "analyzer/chip_errors.hpp"
#include "analyzer/evm.hpp"
#include "analyzer/frame_decoder.hpp"
#include "analyzer/mac_frame.hpp"
#include "analyzer/modulation_accuracy.hpp"
#include "analyzer/plcp_header.hpp"
#include "analyzer/ramp_times.hpp"
#include "analyzer/sfd_search.hpp"
#include "analyzer/spectrum_mask.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

struct AnalysisOptions {
    bool mirror = false;      // conjugate the recording first: it holds a mirrored waveform
    bool expect_fcs = false;  // every PSDU ends in an FCS; a wrong or missing one fails the burst
    bool mac_header = false;  // read a MAC header even from a PSDU without a valid FCS
    // For the carrier offset in ppm; the lowest channel, 2412 MHz, when unknown.
    std::optional<double> carrier_frequency_hz;
    // The transmitter's pulse, when the user or the recording names it; else
    // the candidate that fits each burst best.
    std::optional<ReferenceFilter> reference_filter;
    FilterSource reference_filter_source = FilterSource::Option;
    // Keep what the plot views draw of each burst: its spectrum and its chips
    // with their errors. Without it the spectrum is computed only where the
    // sample rate reaches the mask, to check it, and the chips are not kept.
    bool keep_views = true;
};

inline constexpr double kAssumedCarrierHz = 2412e6;

// Locked clocks (SERVICE b2) derive the carrier and the chip clock from one
// oscillator, so both are off by the same ppm; this allows for the measurement.
inline constexpr double kLockedClocksTolerancePpm = 2;

enum class FcsStatus { Valid, Invalid, NotPresent };

struct FrequencyMeasurement {
    double carrier_offset_hz = 0;
    double carrier_offset_ppm = 0;
    double chip_clock_offset_ppm = 0;
};

struct BurstAnalysis {
    std::size_t first_sample = 0;  // the burst's extent in the recording, margins included
    std::size_t end_sample = 0;
    DecodeStatus status = DecodeStatus::NoPreamble;
    std::string problem;

    PreambleType preamble = PreambleType::Long;  // when status is not NoPreamble
    std::size_t sync_bits = 0;
    Scrambling scrambling = Scrambling::On;
    bool mirrored = false;
    std::optional<PlcpHeader> header;
    std::optional<PsduFormat> format;
    bool pbcc_coded = true;
    std::vector<std::uint8_t> psdu;
    // The other orientation's PSDU when nothing can tell which is right (see
    // ReceivedBurst): both readings are shown.
    std::optional<std::vector<std::uint8_t>> mirrored_psdu;
    FcsStatus fcs = FcsStatus::NotPresent;
    std::optional<MacHeaderFields> mac;

    std::optional<FrequencyMeasurement> frequency;
    std::optional<EvmResult> evm;
    std::optional<ModulationAccuracy> accuracy;  // EVM against the reference, leakage, IQ imbalance
    std::string evm_span;  // "PSDU", or "PLCP header" for an empty PSDU
    std::optional<ChipErrors> chips;  // the chips of the EVM span, one by one
    RampTimes ramps;
    Spectrum spectrum;
    MaskCheck mask;

    // One line per failed check; empty when the burst passes.
    std::vector<std::string> failures() const;
    bool passed() const { return failures().empty(); }
};

struct Analysis {
    double sample_rate_hz = 0;
    std::size_t first_sample = 0;  // of the part analysed, in the recording
    std::size_t sample_count = 0;  // of the part analysed
    double carrier_frequency_hz = kAssumedCarrierHz;
    bool carrier_assumed = true;
    bool silent = false;  // every sample is zero
    std::vector<BurstAnalysis> bursts;

    // Every burst decodes and passes; a recording without bursts fails.
    bool passed() const;
};

// Throws ConfigError for a sample rate below 11 MHz or not finite, or a sample
// that is not a finite number.
Analysis analyse(SampleSpan samples, double sample_rate_hz, const AnalysisOptions& options = {});

// The part of a long recording to analyse.
struct StreamSelection {
    std::size_t first_sample = 0;
    std::optional<std::size_t> sample_count;  // to the end of the recording when not given
    std::optional<std::size_t> max_bursts;    // the first bursts only
    unsigned threads = 1;                     // bursts analysed at once
};

// Receives each burst's analysis, in the order of the bursts, as soon as it
// and every burst before it are done, with the analysis it belongs to (no bursts in it).
using BurstSink = std::function<void(const Analysis& analysis, std::size_t index, BurstAnalysis&& burst)>;

// Analyses the recording `read` gives a block at a time: memory follows the
// longest burst, not the recording. Returns the analysis without its bursts,
// which went to `sink`. Throws ConfigError as analyse, and for a selection
// outside the recording; whatever `read` throws.
Analysis analyse_stream(const SampleReader& read, std::size_t sample_count, double sample_rate_hz,
                        const AnalysisOptions& options, const StreamSelection& selection, const BurstSink& sink);

}  // namespace dot11b::analyzer
