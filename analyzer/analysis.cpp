#include "analyzer/analysis.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "analyzer/burst_detection.hpp"
#include "analyzer/burst_receiver.hpp"
#include "analyzer/constants.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kPhaseBlockChips = 64;
// The ramp search reaches this far beyond the detected extent of the burst.
constexpr double kRampMarginSeconds = 4e-6;

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Signal power at chip instants from before the burst to after it: the tracked
// instants, extended at both ends by the fitted chip period.
std::vector<double> chip_powers(const SincInterpolator& signal, const ChipStream& stream, double period, double from,
                                double to, double noise_power) {
    std::vector<double> positions;
    for (double t = stream.positions.front() - period; t >= from; t -= period) positions.push_back(t);
    std::reverse(positions.begin(), positions.end());
    positions.insert(positions.end(), stream.positions.begin(), stream.positions.end());
    for (double t = stream.positions.back() + period; t <= to; t += period) positions.push_back(t);
    std::vector<double> powers(positions.size());
    for (std::size_t k = 0; k < positions.size(); ++k) powers[k] = std::norm(signal.at(positions[k])) - noise_power;
    return powers;
}

void read_mac_level(BurstAnalysis& burst, const AnalysisOptions& options) {
    const bool valid = fcs_valid(burst.psdu);
    burst.fcs = valid ? FcsStatus::Valid : options.expect_fcs ? FcsStatus::Invalid : FcsStatus::NotPresent;
    if (valid) {
        burst.mac = parse_mac_header(std::span(burst.psdu).first(burst.psdu.size() - 4));
    } else if (options.mac_header) {
        burst.mac = parse_mac_header(burst.psdu);
    }
}

void measure_decoded(BurstAnalysis& burst, ReceivedBurst& rx, double sample_rate_hz, double carrier_hz) {
    const FrameDecode& frame = rx.frame;
    const std::size_t count = frame.end_chip - frame.frame_chip;
    const std::span<Complex> chips(rx.stream.chips);
    const std::span<const double> seconds(rx.seconds);
    const PhaseLine residual = fit_phase_line(chips.subspan(frame.frame_chip, count), frame.ideal,
                                              seconds.subspan(frame.frame_chip, count), kPhaseBlockChips);
    remove_phase_line(chips, seconds, residual);

    FrequencyMeasurement frequency;
    frequency.carrier_offset_hz = frame.removed.frequency_hz + residual.frequency_hz;
    frequency.carrier_offset_ppm = frequency.carrier_offset_hz / carrier_hz * 1e6;
    const double period = fitted_chip_period(rx.stream.positions, frame.frame_chip, frame.end_chip);
    frequency.chip_clock_offset_ppm = (sample_rate_hz / kChipRateHz / period - 1) * 1e6;
    burst.frequency = frequency;

    std::size_t first = frame.psdu_chip;
    burst.evm_span = "PSDU";
    if (frame.end_chip == frame.psdu_chip) {
        const std::size_t header_chips =
            kChipsPerSymbol * (rx.preamble == PreambleType::Long ? kHeaderBits : kHeaderBits / 2);
        first = frame.psdu_chip - header_chips;
        burst.evm_span = "PLCP header";
    }
    const auto measured = chips.subspan(first, frame.end_chip - first);
    const auto ideal = std::span(frame.ideal).subspan(first - frame.frame_chip);
    burst.evm = measure_evm(measured, ideal);
    burst.chips = chip_errors(measured, ideal);
}

BurstAnalysis analyse_burst(const SincInterpolator& signal, double sample_rate_hz, const BurstExtent& extent,
                            double noise_power, const AnalysisOptions& options, double carrier_hz) {
    BurstAnalysis burst;
    burst.first_sample = extent.begin;
    burst.end_sample = extent.end;
    burst.spectrum = power_spectrum(signal.samples().subspan(extent.begin, extent.end - extent.begin), sample_rate_hz);
    burst.mask = check_mask(burst.spectrum, sample_rate_hz);

    ReceivedBurst rx = receive_burst(signal, sample_rate_hz, extent);
    burst.status = rx.frame.status;
    burst.problem = rx.frame.problem;
    burst.preamble = rx.preamble;
    burst.sync_bits = rx.sync_bits;
    burst.scrambling = rx.frame.scrambling;
    burst.mirrored = rx.mirrored;
    burst.header = rx.frame.header;
    burst.format = rx.frame.format;
    burst.pbcc_coded = rx.frame.pbcc_coded;
    burst.psdu = rx.frame.psdu;
    burst.mirrored_psdu = rx.mirrored_psdu;
    if (rx.stream.chips.empty()) return burst;

    const double nominal_period = sample_rate_hz / kChipRateHz;
    const bool decoded = rx.frame.status == DecodeStatus::Decoded;
    const std::size_t frame_first = decoded ? rx.frame.frame_chip : 0;
    const std::size_t frame_end = decoded ? rx.frame.end_chip : rx.stream.chips.size();
    std::vector<double> frame_powers;
    for (std::size_t k = frame_first; k < frame_end; ++k) {
        frame_powers.push_back(std::norm(rx.stream.chips[k]) - noise_power);
    }
    // Not beyond the recording: a burst cut by its edge has no ramp there to measure.
    const double margin = kRampMarginSeconds * sample_rate_hz;
    const double from = std::max(0.0, static_cast<double>(extent.begin) - margin);
    const double to =
        std::min(static_cast<double>(signal.samples().size() - 1), static_cast<double>(extent.end) + margin);
    burst.ramps = measure_ramps(chip_powers(signal, rx.stream, nominal_period, from, to, noise_power),
                                nominal_period / sample_rate_hz, median(frame_powers));
    if (!decoded) return burst;

    read_mac_level(burst, options);
    measure_decoded(burst, rx, sample_rate_hz, carrier_hz);
    return burst;
}

}  // namespace

bool Analysis::passed() const {
    return !bursts.empty() &&
           std::all_of(bursts.begin(), bursts.end(), [](const BurstAnalysis& b) { return b.passed(); });
}

Analysis analyse(SampleSpan samples, double sample_rate_hz, const AnalysisOptions& options) {
    if (!sample_rate_allowed(sample_rate_hz, kChipRateHz)) {
        throw ConfigError("analyse: sample rate " + number_text(sample_rate_hz) + " Hz is not allowed; allowed: " +
                          allowed_sample_rates(kChipRateHz, "the chip rate"));
    }
    const auto unusable = std::find_if(samples.begin(), samples.end(),
                                       [](Complex x) { return !std::isfinite(x.real()) || !std::isfinite(x.imag()); });
    if (unusable != samples.end()) {
        throw ConfigError("analyse: sample " + std::to_string(unusable - samples.begin()) +
                          " is not a finite number; allowed: finite I and Q values");
    }
    Analysis analysis;
    analysis.sample_rate_hz = sample_rate_hz;
    analysis.sample_count = samples.size();
    analysis.carrier_assumed = !options.carrier_frequency_hz;
    analysis.carrier_frequency_hz = options.carrier_frequency_hz.value_or(kAssumedCarrierHz);
    analysis.silent = std::all_of(samples.begin(), samples.end(), [](Complex x) { return x == Complex(0); });

    Samples mirrored;
    if (options.mirror) {
        mirrored.resize(samples.size());
        std::transform(samples.begin(), samples.end(), mirrored.begin(), [](Complex x) { return std::conj(x); });
        samples = mirrored;
    }
    const SincInterpolator signal(samples);
    const BurstSearch search = find_bursts(samples, sample_rate_hz);
    for (const BurstExtent& extent : search.bursts) {
        analysis.bursts.push_back(
            analyse_burst(signal, sample_rate_hz, extent, search.noise_power, options, analysis.carrier_frequency_hz));
    }
    return analysis;
}

}  // namespace dot11b::analyzer
