#include "app/calculation.hpp"

#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "impairments/apply_impairments.hpp"
#include "phy/size_estimate.hpp"
#include "sequences/frame_sequence.hpp"

namespace dot11b::app {

mac::PayloadConfig payload_config(const FormatParameters& p) {
    mac::PayloadConfig config;
    config.source = p.data_source;
    config.data_length = p.data_length;
    config.user_bits = p.data_source_bits;
    config.framed = p.framed;
    config.mac_header_active = p.mac_header.active;
    config.mac_header_bits = p.mac_header.contents.bit_stream();
    config.fcs_active = p.fcs.active;
    return config;
}

phy::FrameConfig frame_config(const FormatParameters& p, Bits psdu) {
    phy::FrameConfig config;
    config.data_bits = std::move(psdu);
    config.rate = p.rate;
    config.modulation = p.modulation;
    config.preamble = p.preamble;
    config.locked_clocks = p.locked_clocks;
    config.scrambler = p.scrambler;
    config.pbcc_encoder = p.pbcc_encoder;
    config.framed = p.framed;
    config.idle_samples = p.idle_samples;
    config.ramp = p.framed ? p.ramp : phy::RampType::None;
    config.ramp_length = p.framed ? p.ramp_length : 0;
    config.oversampling = p.oversampling;
    config.filter = p.filter;
    config.filter_factor = p.filter_factor;
    config.filter_taps = p.filter_taps * p.oversampling;
    config.mirror_spectrum = p.mirror_spectrum;
    return config;
}

std::size_t psdu_octets(const FormatParameters& p) {
    const std::size_t payload =
        p.data_source == mac::PayloadSource::UserData ? p.data_source_bits.size() / 8 : p.data_length;
    if (!p.framed) return payload;
    return payload + (p.mac_header.active ? p.mac_header.contents.length_bytes() : 0) + (p.fcs.active ? kFcsLength : 0);
}

std::optional<double> projected_length(const FormatParameters& p, const impairments::ImpairmentSettings& impairments) {
    const double mbps = phy::rate_in_mbps(p.rate);
    if (mbps == 22 || mbps == 33) return std::nullopt;
    phy::SizeEstimateInput input;
    input.framed = p.framed;
    input.data_bits = 8 * static_cast<double>(psdu_octets(p));
    input.rate = p.rate;
    input.modulation = p.modulation;
    input.pbcc_encoder = p.pbcc_encoder;
    input.preamble = p.preamble;
    input.idle_samples = static_cast<double>(p.idle_samples);
    input.ramp = p.ramp;
    input.ramp_length = static_cast<double>(p.ramp_length);
    input.oversampling = p.oversampling;
    const double length = phy::estimate_size(input) * static_cast<double>(p.frames);
    if (!impairments.clock_offset || *impairments.clock_offset == 0.0) return length;
    return static_cast<double>(
        impairments::clock_offset_length(static_cast<std::size_t>(length), *impairments.clock_offset));
}

void check_waveform_length(const FormatParameters& p, const impairments::ImpairmentSettings& impairments) {
    const std::optional<double> length = projected_length(p, impairments);
    if (length && *length > kMaxWaveformSamples) {
        throw ConfigError("the waveform would hold " + number_text(*length) + " samples, more than the " +
                          number_text(kMaxWaveformSamples) + " (64 M) an instrument holds");
    }
}

void refresh_derived_fields(FormatParameters& p, const impairments::ImpairmentSettings& impairments) {
    p.mac_header.length = p.mac_header.contents.length_bytes();
    p.total_length = psdu_octets(p);
    p.projected_length = projected_length(p, impairments);
}

void change_oversampling(FormatParameters& p, SigGenSettings& settings, double oversampling) {
    if (oversampling != 2 && oversampling != 2.5 && oversampling != 3 && oversampling != 3.5) {
        throw ConfigError("OverSampling " + number_text(oversampling) + " is not allowed; allowed: 2, 2.5, 3, 3.5");
    }
    const double ratio = oversampling / p.oversampling;
    p.idle_samples = static_cast<std::size_t>(std::round(static_cast<double>(p.idle_samples) * ratio));
    p.ramp_length = static_cast<std::size_t>(std::round(static_cast<double>(p.ramp_length) * ratio));
    p.oversampling = oversampling;
    settings.sampling_rate = kChipRate * oversampling;
}

Calculation calculate(const FormatParameters& p, const impairments::ImpairmentSettings& impairments) {
    p.validate();
    impairments.validate();
    check_waveform_length(p, impairments);
    Calculation result;
    if (p.frames == 1) {
        result.psdu = mac::generate_payload(payload_config(p));
        result.frame = phy::build_frame(frame_config(p, result.psdu));
    } else {
        const std::vector<Bits> psdus =
            sequences::sequence_psdus(payload_config(p), p.mac_header.contents, p.frames, p.payload_continue);
        result.frame = sequences::build_sequence(frame_config(p, {}), psdus);
        result.psdu = psdus.front();
    }
    if (impairments.any()) {
        result.frame = impairments::apply_impairments(impairments, std::move(result.frame), kChipRate * p.oversampling);
    }
    return result;
}

}  // namespace dot11b::app
