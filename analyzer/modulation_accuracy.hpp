#pragma once
// Modulation accuracy against an ideal reference (IEEE 802.11-2016 clauses 16
// and 17, transmit modulation accuracy and carrier suppression): the received
// chips y are fitted, in the least-squares sense, by
//     y = A s + B conj(s) + D
// where s is the ideal signal rebuilt through the reference filter, A the
// gain, B the image an IQ imbalance makes and D the transmitter's carrier
// leakage, which its carrier offset turns together with the signal: with the
// offset removed it is a constant. The chip clock line that centres the pulses is refined
// over the whole burst from the decisions (Gauss-Newton on the timing).

#include <cstddef>
#include <optional>
#include <span>

#include "analyzer/carrier_offset.hpp"
#include "analyzer/chip_errors.hpp"
#include "analyzer/evm.hpp"
#include "analyzer/reference_filter.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

enum class FilterSource { Option, Recording, Fitted };

struct ModulationAccuracy {
    ReferenceFilter filter;
    FilterSource filter_source = FilterSource::Fitted;
    EvmResult evm;             // against the reference's mean power over the samples
    double mer_db = 0;         // signal to error power; the SNR for white noise
    double leakage_dbc = 0;    // |D|^2 against the signal power
    // I branch gain against the Q branch (dB), and the angle beyond 90 degrees, taking
    // the preamble's symbols to lie on the diagonal of the first and third
    // quadrants; nothing when the chips are BPSK, which show no image.
    std::optional<double> iq_gain_db;
    std::optional<double> quadrature_deg;
    double chip_period = 0;    // samples, from the refined chip clock line
    // The EVM's chips, one by one, when asked for; the analysis hands them on to the burst.
    ChipErrors chips;
};

struct AccuracyInput {
    SampleSpan received;                // the chips of the frame, carrier removed
    SampleSpan ideal;                   // their ideal values (unit magnitude)
    std::span<const double> positions;  // their instants in samples
    SampleSpan samples;                 // the recording
    double sample_rate_hz = 0;
    PhaseLine carrier;                  // the carrier removed from the chips
    double samples_per_chip = 1;        // nominal
    std::size_t fit_from = 0;           // first chip that takes part in the fits
    std::size_t evm_from = 0;           // first chip of the EVM
    bool keep_chips = true;             // keep the EVM's chips one by one
};

// Nothing when the frame is too short to fit.
std::optional<ModulationAccuracy> measure_modulation_accuracy(const AccuracyInput& input,
                                                              const std::optional<ReferenceFilter>& filter,
                                                              FilterSource source);

}  // namespace dot11b::analyzer
