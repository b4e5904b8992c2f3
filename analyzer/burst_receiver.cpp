#include "analyzer/burst_receiver.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/carrier_offset.hpp"
#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/despreading.hpp"
#include "analyzer/mac_frame.hpp"
#include "analyzer/partial_sums.hpp"
#include "analyzer/power_envelope.hpp"
#include "analyzer/timing_loss.hpp"

namespace dot11b::analyzer {
namespace {

// The coarse chip timing looks at 24 symbols starting 1 us after the power has
// reached half its level, inside the SYNC field of either preamble.
constexpr double kTimingDelaySeconds = 1e-6;
constexpr std::size_t kTimingSymbols = 24;
// Room for a power-on ramp of up to 1 ms before the SFD.
constexpr std::size_t kMaxSearchSymbols = 1400;

// The first sample where the power averaged over 0.5 us reaches half the mean
// power of the burst's middle half.
double half_power_position(SampleSpan samples, const BurstExtent& extent, double sample_rate_hz) {
    const std::size_t length = extent.end - extent.begin;
    const std::size_t quarter = extent.begin + length / 4;
    const auto power = [&](std::size_t k) { return magnitude_squared(samples[quarter + k]); };
    const double middle =
        sum_of(3 * length / 4 - length / 4, power) / static_cast<double>(std::max<std::size_t>(1, length / 2));
    const std::size_t window = envelope_window(sample_rate_hz);
    const auto reached = first_reaching(samples.subspan(extent.begin, length), window, 0.5 * middle);
    // Where the window of the first envelope value to reach half the power starts.
    return static_cast<double>(extent.begin + (reached ? window_start(*reached, window) : 0));
}

// The SYNC and SFD symbols of the match with their ideal values (DBPSK decisions).
struct PreambleSymbols {
    Samples received;
    Samples ideal;
};

PreambleSymbols sync_symbols(const SfdMatch& sfd) {
    const std::size_t field = (sfd.preamble == PreambleType::Long ? kLongSyncBits : kShortSyncBits) + kSfdBits;
    const std::size_t first = sfd.raw_bits.size() > field ? sfd.raw_bits.size() - field : 1;
    PreambleSymbols out;
    Complex ideal = 1;
    for (std::size_t m = first; m < sfd.raw_bits.size(); ++m) {
        if (sfd.raw_bits[m]) ideal = -ideal;
        out.received.push_back(sfd.symbols[m]);
        out.ideal.push_back(ideal);
    }
    return out;
}

bool orientation_sensitive(const FrameDecode& frame) {
    return frame.format && frame.format->modulation != PsduModulation::Dbpsk;
}

bool worth_mirroring(const FrameDecode& frame, PreambleType preamble) {
    if (frame.status == DecodeStatus::HeaderCrcError) return preamble == PreambleType::Short;
    return frame.status == DecodeStatus::Decoded && orientation_sensitive(frame) && !fcs_valid(frame.psdu);
}

bool mirrored_is_better(const FrameDecode& mirrored, const FrameDecode& as_recorded) {
    if (as_recorded.status == DecodeStatus::HeaderCrcError) return mirrored.status != DecodeStatus::HeaderCrcError;
    return mirrored.status == DecodeStatus::Decoded && fcs_valid(mirrored.psdu);
}

}  // namespace

ReceivedBurst receive_burst(const SincInterpolator& signal, double sample_rate_hz, const BurstExtent& extent) {
    ReceivedBurst out;
    const double samples_per_chip = sample_rate_hz / kChipRateHz;
    const double on = half_power_position(signal.samples(), extent, sample_rate_hz);
    const double instant =
        coarse_chip_instant(signal, samples_per_chip, on + kTimingDelaySeconds * sample_rate_hz, kTimingSymbols);
    // Whole symbols back to where the power came on: the loop despreads symbol by symbol.
    const double symbol = kChipsPerSymbol * samples_per_chip;
    const double first = instant - std::floor((instant - on) / symbol) * symbol;
    out.stream = track_chips(signal, samples_per_chip, first, static_cast<double>(extent.end));
    out.seconds = instants_in_seconds(out.stream.positions, sample_rate_hz);

    const auto sfd = find_sfd(out.stream.chips, std::min(kMaxSearchSymbols, out.stream.chips.size() / kChipsPerSymbol));
    if (!sfd) {
        out.frame.status = DecodeStatus::NoPreamble;
        out.frame.problem = "no PLCP preamble found (no start frame delimiter)";
        return out;
    }
    out.preamble_found = true;
    out.preamble = sfd->preamble;
    out.sync_bits = sfd->sync_bits;

    const PreambleSymbols sync = sync_symbols(*sfd);
    const PhaseLine coarse{
        frequency_from_turns(sync.received, sync.ideal, kChipsPerSymbol * samples_per_chip / sample_rate_hz), 0};
    remove_phase_line(out.stream.chips, out.seconds, coarse);
    out.frame = decode_frame(out.stream.chips, out.seconds, *sfd, coarse);

    if (worth_mirroring(out.frame, out.preamble)) {
        Samples conjugated(out.stream.chips.size());
        std::transform(out.stream.chips.begin(), out.stream.chips.end(), conjugated.begin(),
                       [](Complex c) { return std::conj(c); });
        const PhaseLine negated{-out.frame.removed.frequency_hz, -out.frame.removed.phase_at_zero};
        FrameDecode other = decode_frame(conjugated, out.seconds, *sfd, negated);
        if (mirrored_is_better(other, out.frame)) {
            out.stream.chips = std::move(conjugated);
            out.frame = std::move(other);
            out.mirrored = true;
        } else if (out.frame.status == DecodeStatus::Decoded && other.status == DecodeStatus::Decoded &&
                   other.psdu != out.frame.psdu) {
            out.mirrored_psdu = std::move(other.psdu);
        }
    }
    // Too few chips from a burst long enough: the chip timing was lost on the way.
    if (out.frame.status == DecodeStatus::Truncated) {
        const std::span<const double> positions(out.stream.positions);
        std::optional<std::size_t> lost = chip_timing_lost(positions.subspan(sfd->first_symbol_chip), samples_per_chip);
        if (lost) {
            *lost += sfd->first_symbol_chip;
        } else if (out.frame.frame_chip + out.frame.ideal.size() <= out.stream.chips.size()) {
            lost = decisions_lost(SampleSpan(out.stream.chips).subspan(out.frame.frame_chip), out.frame.ideal);
            if (lost) *lost += out.frame.frame_chip;
        }
        if (lost) {
            out.frame.problem =
                "chip timing lost at chip " + std::to_string(*lost) + " of the burst (" + out.frame.problem + ")";
        }
    }
    return out;
}

}  // namespace dot11b::analyzer
