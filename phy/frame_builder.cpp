#include "phy/frame_builder.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "common/errors.hpp"
#include "phy/cck.hpp"
#include "phy/dsss.hpp"
#include "phy/pbcc.hpp"
#include "shaping/oversampling.hpp"
#include "shaping/pulse_filters.hpp"
#include "shaping/pulse_shaping.hpp"

namespace dot11b::phy {
namespace {

// Every frame starts its differential chain from (1 + j) / sqrt(2).
const Complex kStartPhase = Complex(1, 1) / std::sqrt(2.0);

void append(Samples& to, const Samples& chips) { to.insert(to.end(), chips.begin(), chips.end()); }

// Differential DSSS symbols spread straight into the burst; returns the last symbol.
Complex append_dsss(BitSpan bits, bool dqpsk_rate, Complex reference, Samples& chips) {
    const Samples symbols = dqpsk_rate ? dqpsk(bits, reference) : dbpsk(bits, reference);
    append_barker_spread(symbols, chips);
    return symbols.empty() ? reference : symbols.back();
}

std::size_t ramp_chip_count(const FrameConfig& config) {
    if (!config.framed || config.ramp == RampType::None) return 0;
    return static_cast<std::size_t>(std::round(static_cast<double>(config.ramp_length) / config.oversampling));
}

std::size_t psdu_chip_count(const FrameConfig& config, bool pbcc) {
    const std::size_t bits = config.data_bits.size();
    if (config.rate == DataRate::Mbps1) return 11 * bits;
    if (config.rate == DataRate::Mbps2) return 11 * (bits / 2);
    return pbcc ? pbcc_chip_count(bits, config.rate, config.pbcc_encoder) : cck_chip_count(bits, config.rate);
}

// Power ramps: Barker chips outside the frame, scaled from just above 0 up to 1
// before it and back down after it, carrying the first and last chip's phase.
// The burst occupies chips[ramp_chips ...]; the leading ramp_chips are filled
// here and the trailing ones appended.
void add_ramps(Samples& chips, std::size_t ramp_chips, RampType type) {
    const std::vector<double> pattern = shaping::extendvector(kBarker, ramp_chips);
    const auto mask = [&](std::size_t k) {  // k = 1 ... ramp_chips
        const double x = static_cast<double>(k) / static_cast<double>(ramp_chips);
        return type == RampType::Linear ? x : 0.5 * (1 - std::cos(std::numbers::pi * x));
    };
    const Complex first = chips[ramp_chips];
    const Complex last = chips.back();
    for (std::size_t i = 0; i < ramp_chips; ++i) chips[i] = pattern[i] * first * mask(i + 1);
    for (std::size_t i = 0; i < ramp_chips; ++i) chips.push_back(pattern[i] * last * mask(ramp_chips - i));
}

}  // namespace

Samples burst_chips(const FrameConfig& config) {
    const BitSpan data(config.data_bits);
    const bool dsss_rate = config.rate == DataRate::Mbps1 || config.rate == DataRate::Mbps2;
    const bool pbcc = !dsss_rate && config.modulation == Modulation::Pbcc;

    Bits frame;
    std::size_t header_start = 0;
    if (config.framed) {
        frame = preamble_bits(config.preamble);
        header_start = frame.size();
        const Bits header = header_bits(data.size(), config.rate, pbcc ? 1 : 0, config.locked_clocks ? 1 : 0);
        frame.insert(frame.end(), header.begin(), header.end());
    }
    const std::size_t psdu_start = frame.size();
    frame.insert(frame.end(), data.begin(), data.end());
    // One scrambler run over preamble, header and PSDU, seeded by the preamble type.
    const Bits scrambled = scramble_frame(config.scrambler, config.preamble, frame);
    const BitSpan bits(scrambled);

    const std::size_t ramp_chips = ramp_chip_count(config);
    const std::size_t plcp_chips = config.framed ? 11 * header_start + (config.preamble == PreambleType::Long ? 528 : 264) : 0;
    Samples chips;
    chips.reserve(plcp_chips + psdu_chip_count(config, pbcc) + 2 * ramp_chips);
    chips.resize(ramp_chips);
    Complex phase = kStartPhase;
    if (config.framed) {
        phase = append_dsss(bits.first(header_start), false, phase, chips);
        phase = append_dsss(bits.subspan(header_start, kHeaderBits), config.preamble == PreambleType::Short, phase, chips);
    }
    const BitSpan psdu = bits.subspan(psdu_start);
    if (!psdu.empty()) {
        if (dsss_rate) {
            append_dsss(psdu, config.rate == DataRate::Mbps2, phase, chips);
        } else if (pbcc) {
            // PBCC continues from the last header chip (the last symbol times the
            // last Barker chip, -1) rather than from the last symbol.
            const Complex reference = config.framed ? chips.back() : phase;
            append(chips, pbcc_modulate(psdu, config.rate, config.pbcc_encoder, reference));
        } else {
            append(chips, cck_modulate(psdu, config.rate, phase));
        }
    }
    if (ramp_chips > 0) add_ramps(chips, ramp_chips, config.ramp);
    return chips;
}

std::vector<double> shaping_taps(const FrameConfig& config) {
    const double rate = sample_rate_plan(config.oversampling).upsample_factor;
    switch (config.filter) {
    case FilterType::Gaussian: return shaping::gaussian_taps(config.filter_taps, config.filter_factor, rate);
    case FilterType::RootCosine: return shaping::root_cosine_taps(config.filter_taps, config.filter_factor, rate);
    case FilterType::None: break;
    }
    return {};
}

std::size_t period_capacity(std::size_t samples) { return samples + samples / 999 + 8; }

FrameWaveform build_frame(const FrameConfig& config) {
    config.validate();
    const Samples chips = burst_chips(config);
    const SampleRatePlan plan = sample_rate_plan(config.oversampling);
    const std::vector<double> taps = shaping_taps(config);
    const std::size_t stuffed = chips.size() * static_cast<std::size_t>(plan.upsample_factor);
    if (taps.size() > stuffed + 1) {
        throw ConfigError("dot11b_FRAME: filterTaps " + std::to_string(config.filter_taps) + " gives a filter of " +
                          std::to_string(taps.size()) + " taps, longer than the oversampled burst of " +
                          std::to_string(stuffed) + " samples plus one; allowed: up to " + std::to_string(stuffed + 1));
    }

    FrameWaveform out;
    const std::size_t burst = shaping::shaped_length(chips.size(), plan.upsample_factor, plan.decimation);
    const std::size_t ramp = config.ramp_length;
    if (2 * ramp > burst) {
        throw ConfigError("dot11b_FRAME: rampLength " + std::to_string(ramp) + " marks more than half of the " +
                          std::to_string(burst) + "-sample burst; allowed: up to " + std::to_string(burst / 2));
    }
    const std::size_t idle = config.framed ? config.idle_samples : 0;
    const std::size_t total = burst + idle + (burst + idle) % 2;  // even length, for the instrument
    out.samples.reserve(period_capacity(total));
    shaping::append_shaped_pulses(chips, plan.upsample_factor, plan.decimation, taps, out.samples);
    out.samples.resize(total, Complex(0));
    if (config.mirror_spectrum) {
        for (Complex& sample : out.samples) sample = std::conj(sample);
    }

    // Each marker row written once: its zeros and ones in order.
    out.frame_marker.reserve(period_capacity(total));
    out.frame_marker.assign(ramp, 0);
    out.frame_marker.resize(burst - ramp, 1);
    out.frame_marker.resize(total, 0);
    out.burst_marker.reserve(period_capacity(total));
    out.burst_marker.assign(burst, 1);
    out.burst_marker.resize(total, 0);
    return out;
}

}  // namespace dot11b::phy
