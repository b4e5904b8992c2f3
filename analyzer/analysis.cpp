#include "analyzer/analysis.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "analyzer/burst_detection.hpp"
#include "analyzer/burst_receiver.hpp"
#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/median.hpp"
#include "analyzer/ordered_workers.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kPhaseBlockChips = 64;
// The fits leave out the first symbols of the frame, which a power-on ramp may shape.
constexpr std::size_t kRampGuardChips = 4 * kChipsPerSymbol;
// The ramp search reaches this far beyond the detected extent of the burst.
constexpr double kRampMarginSeconds = 4e-6;
// Beyond that, the interpolator's reach (16 taps) and a little more.
constexpr std::size_t kInterpolatorReach = 16;
// The most the fit against a fitted reference may move the tracked chip clock:
// noise at 20 dB SNR moves it by up to about 3.5 ppm on a short burst, a
// reference that does not describe the pulse by 8 ppm and more.
constexpr double kMostClockRefinement = 6e-6;
// The longest PPDU lasts 33 ms (4095 octets at 1 Mbit/s behind the long
// preamble); a candidate burst is analysed no further, so that a recording
// without quiet parts (noise, a seamless loop) needs no more memory than a burst.
constexpr double kLongestBurstSeconds = 35e-3;

// Signal power at chip instants from before the burst to after it: the tracked
// instants, extended at both ends by the fitted chip period. At the tracked
// ones it is the chips' own power, which the phase corrections leave as it was.
std::vector<double> chip_powers(const SincInterpolator& signal, const ChipStream& stream, double period, double from,
                                double to, double noise_power) {
    std::vector<double> powers;
    const auto add = [&](Complex x) { powers.push_back(x.real() * x.real() + x.imag() * x.imag() - noise_power); };
    for (double t = stream.positions.front() - period; t >= from; t -= period) add(signal.at(t));
    std::reverse(powers.begin(), powers.end());
    for (const Complex chip : stream.chips) add(chip);
    for (double t = stream.positions.back() + period; t <= to; t += period) add(signal.at(t));
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

void measure_decoded(BurstAnalysis& burst, ReceivedBurst& rx, SampleSpan samples, double sample_rate_hz,
                     double carrier_hz, const AnalysisOptions& options) {
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
    const double nominal_period = sample_rate_hz / kChipRateHz;
    double period = fitted_chip_period(rx.stream.positions, frame.frame_chip, frame.end_chip);

    const std::size_t header_chips =
        kChipsPerSymbol * (rx.preamble == PreambleType::Long ? kHeaderBits : kHeaderBits / 2);
    std::size_t first = frame.psdu_chip;
    burst.evm_span = "PSDU";
    if (frame.end_chip == frame.psdu_chip) {
        first = frame.psdu_chip - header_chips;
        burst.evm_span = "PLCP header";
    }
    const auto measured = chips.subspan(first, frame.end_chip - first);
    const auto ideal = std::span(frame.ideal).subspan(first - frame.frame_chip);
    const PhaseLine removed{frame.removed.frequency_hz + residual.frequency_hz,
                            frame.removed.phase_at_zero + residual.phase_at_zero};
    const AccuracyInput input{chips.subspan(frame.frame_chip, count),
                              frame.ideal,
                              std::span<const double>(rx.stream.positions).subspan(frame.frame_chip, count),
                              samples,
                              sample_rate_hz,
                              removed,
                              nominal_period,
                              std::min(kRampGuardChips, frame.psdu_chip - header_chips - frame.frame_chip),
                              first - frame.frame_chip,
                              options.keep_views};
    burst.accuracy = measure_modulation_accuracy(input, options.reference_filter, options.reference_filter_source);
    if (burst.accuracy) {
        burst.evm = burst.accuracy->evm;
        if (options.keep_views) burst.chips = std::move(burst.accuracy->chips);
        // A fitted candidate that does not describe the pulse (a steep spectrum
        // outside the candidates) bends the clock fit; the tracked clock then stands.
        const bool described = burst.accuracy->filter_source != FilterSource::Fitted ||
                               std::abs(period / burst.accuracy->chip_period - 1) < kMostClockRefinement;
        if (described) period = burst.accuracy->chip_period;
    } else {
        burst.evm = measure_evm(measured, ideal);
        if (options.keep_views) burst.chips = chip_errors(measured, ideal);
    }
    frequency.chip_clock_offset_ppm = (nominal_period / period - 1) * 1e6;
    burst.frequency = frequency;
}

BurstAnalysis analyse_burst(const SincInterpolator& signal, double sample_rate_hz, const BurstExtent& extent,
                            double noise_power, const AnalysisOptions& options, double carrier_hz) {
    BurstAnalysis burst;
    burst.first_sample = extent.begin;
    burst.end_sample = extent.end;
    if (options.keep_views || !mask_limits(sample_rate_hz).empty()) {
        burst.spectrum = power_spectrum(signal.samples().subspan(extent.begin, extent.end - extent.begin), sample_rate_hz);
    }
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
    frame_powers.reserve(frame_end - frame_first);
    for (std::size_t k = frame_first; k < frame_end; ++k) {
        frame_powers.push_back(magnitude_squared(rx.stream.chips[k]) - noise_power);
    }
    // Not beyond the recording: a burst cut by its edge has no ramp there to measure.
    const double margin = kRampMarginSeconds * sample_rate_hz;
    const double from = std::max(0.0, static_cast<double>(extent.begin) - margin);
    const double to =
        std::min(static_cast<double>(signal.samples().size() - 1), static_cast<double>(extent.end) + margin);
    burst.ramps = measure_ramps(chip_powers(signal, rx.stream, nominal_period, from, to, noise_power),
                                nominal_period / sample_rate_hz, median(std::move(frame_powers)));
    if (!decoded) return burst;

    read_mac_level(burst, options);
    measure_decoded(burst, rx, signal.samples(), sample_rate_hz, carrier_hz, options);
    return burst;
}

// Reads the burst with room for its ramps and the interpolator around it, and
// analyses it there; the sample numbers are then the recording's again.
BurstAnalysis analyse_extent(const SampleReader& read, std::size_t sample_count, double sample_rate_hz,
                             BurstExtent extent, double noise_power, const AnalysisOptions& options,
                             double carrier_hz) {
    const auto longest = static_cast<std::size_t>(kLongestBurstSeconds * sample_rate_hz);
    extent.end = std::min(extent.end, extent.begin + longest);
    const std::size_t room = static_cast<std::size_t>(std::ceil(kRampMarginSeconds * sample_rate_hz)) +
                             kInterpolatorReach;
    const std::size_t first = extent.begin >= room ? extent.begin - room : 0;
    const std::size_t last = std::min(sample_count, extent.end + room);
    Samples samples(last - first);
    read(first, samples);
    if (options.mirror) {
        std::transform(samples.begin(), samples.end(), samples.begin(), [](Complex x) { return std::conj(x); });
    }
    const SincInterpolator signal(samples);
    BurstAnalysis burst = analyse_burst(signal, sample_rate_hz, {extent.begin - first, extent.end - first},
                                        noise_power, options, carrier_hz);
    burst.first_sample += first;
    burst.end_sample += first;
    return burst;
}

void check_sample_rate(double sample_rate_hz) {
    if (!sample_rate_allowed(sample_rate_hz, kChipRateHz)) {
        throw ConfigError("analyse: sample rate " + number_text(sample_rate_hz) + " Hz is not allowed; allowed: " +
                          allowed_sample_rates(kChipRateHz, "the chip rate"));
    }
}

}  // namespace

bool Analysis::passed() const {
    return !bursts.empty() &&
           std::all_of(bursts.begin(), bursts.end(), [](const BurstAnalysis& b) { return b.passed(); });
}

Analysis analyse(SampleSpan samples, double sample_rate_hz, const AnalysisOptions& options) {
    check_sample_rate(sample_rate_hz);
    const auto unusable = std::find_if(samples.begin(), samples.end(),
                                       [](Complex x) { return !std::isfinite(x.real()) || !std::isfinite(x.imag()); });
    if (unusable != samples.end()) {
        throw ConfigError("analyse: sample " + std::to_string(unusable - samples.begin()) +
                          " is not a finite number; allowed: finite I and Q values");
    }
    std::vector<BurstAnalysis> bursts;
    Analysis analysis = analyse_stream(reader_of(samples), samples.size(), sample_rate_hz, options, {},
                                       [&](const Analysis&, std::size_t, BurstAnalysis&& burst) { bursts.push_back(std::move(burst)); });
    analysis.bursts = std::move(bursts);
    return analysis;
}

Analysis analyse_stream(const SampleReader& read, std::size_t sample_count, double sample_rate_hz,
                        const AnalysisOptions& options, const StreamSelection& selection, const BurstSink& sink) {
    check_sample_rate(sample_rate_hz);
    if (selection.first_sample > sample_count ||
        (selection.sample_count && *selection.sample_count > sample_count - selection.first_sample)) {
        throw ConfigError("analyse: samples " + std::to_string(selection.first_sample) + " to " +
                          std::to_string(selection.first_sample + selection.sample_count.value_or(0)) +
                          " are not all in the recording; allowed: within its " + std::to_string(sample_count) +
                          " samples");
    }
    Analysis analysis;
    analysis.sample_rate_hz = sample_rate_hz;
    analysis.first_sample = selection.first_sample;
    analysis.sample_count = selection.sample_count.value_or(sample_count - selection.first_sample);
    analysis.carrier_assumed = !options.carrier_frequency_hz;
    analysis.carrier_frequency_hz = options.carrier_frequency_hz.value_or(kAssumedCarrierHz);

    // The selected part, read as if it were the whole recording.
    const std::size_t offset = selection.first_sample;
    const SampleReader part = [&](std::size_t first, std::span<Complex> out) { read(offset + first, out); };
    const BurstSearch search = find_bursts(part, analysis.sample_count, sample_rate_hz);
    analysis.silent = search.silent;
    const std::size_t count = std::min(search.bursts.size(), selection.max_bursts.value_or(search.bursts.size()));
    run_in_order<BurstAnalysis>(
        count, selection.threads,
        [&](std::size_t k) {
            BurstAnalysis burst = analyse_extent(part, analysis.sample_count, sample_rate_hz, search.bursts[k],
                                                 search.noise_power, options, analysis.carrier_frequency_hz);
            burst.first_sample += offset;
            burst.end_sample += offset;
            return burst;
        },
        [&](std::size_t k, BurstAnalysis&& burst) { sink(analysis, k, std::move(burst)); });
    return analysis;
}

}  // namespace dot11b::analyzer
