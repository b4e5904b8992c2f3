// Registry adapters of the waveform-generation operations.

#include <array>
#include <cmath>
#include <vector>
#include <string>

#include "common/errors.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "mac/lfsr_sequence.hpp"
#include "phy/cck.hpp"
#include "phy/dsss.hpp"
#include "phy/frame_builder.hpp"
#include "phy/pbcc.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"
#include "phy/size_estimate.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

phy::DataRate rate_input(const Inputs& in, std::size_t index) {
    return phy::data_rate_from_mbps(frame::to_scalar(in, index, "DATArate"), in.operation());
}

Outputs with_last_phase(const phy::DsssChips& modulated) {
    return {frame::samples_value(modulated.chips), Value::complex_scalar(modulated.last_phase)};
}

// The 2 x N marker matrix, column-major: row 1 the frame, row 2 the burst.
Value marker_rows(const phy::FrameWaveform& waveform) {
    std::vector<double> rows;
    rows.reserve(2 * waveform.frame_marker.size());
    for (std::size_t i = 0; i < waveform.frame_marker.size(); ++i) {
        rows.push_back(waveform.frame_marker[i]);
        rows.push_back(waveform.burst_marker[i]);
    }
    return Value::matrix(2, waveform.frame_marker.size(), std::move(rows));
}

}  // namespace

Outputs dot11b_FRAME(const Inputs& in, int nargout) {
    phy::FrameConfig config;
    config.data_bits = frame::to_bits(in, 0, "DATAbits");
    config.rate = rate_input(in, 1);
    config.modulation = static_cast<phy::Modulation>(frame::to_choice(in, 2, "highRateMod", {0, 1}));
    config.preamble = phy::preamble_type_from_value(frame::to_scalar(in, 3, "preambleType"), in.operation());
    config.locked_clocks = frame::to_bit(in, 4, "locked") == 1;
    config.scrambler = phy::scrambler_mode_from_value(frame::to_scalar(in, 5, "scramblerActive"), in.operation());
    config.pbcc_encoder = frame::to_bit(in, 6, "encoderActive") == 1;
    config.framed = frame::to_bit(in, 7, "generationMode") == 1;
    config.idle_samples = frame::to_count(in, 8, "idleSamples");
    config.ramp = static_cast<phy::RampType>(frame::to_choice(in, 9, "rampType", {0, 1, 2}));
    config.ramp_length = frame::to_count(in, 10, "rampLength");
    config.oversampling = frame::to_scalar(in, 11, "oversamplingRate");
    config.filter = static_cast<phy::FilterType>(frame::to_choice(in, 12, "filterType", {0, 1, 2}));
    config.filter_factor = frame::to_scalar(in, 13, "filterFactor");
    config.filter_taps = frame::to_scalar(in, 14, "filterTaps");
    config.mirror_spectrum = frame::to_scalar(in, 15, "MirrorSpectrum") != 0;

    const phy::FrameWaveform waveform = phy::build_frame(config);
    Outputs out = {frame::samples_value(waveform.samples)};
    if (nargout > 1) out.push_back(marker_rows(waveform));
    return out;
}

Outputs dot11b_SizeEst(const Inputs& in, int) {
    phy::SizeEstimateInput estimate;
    estimate.framed = frame::to_bit(in, 0, "generationMode") == 1;
    estimate.data_bits = frame::to_scalar(in, 1, "numberOfDATAbits");
    estimate.rate = rate_input(in, 2);
    estimate.modulation = frame::to_scalar(in, 3, "highSpeedmod") != 0 ? phy::Modulation::Pbcc : phy::Modulation::Cck;
    estimate.pbcc_encoder = frame::to_bit(in, 4, "encoderActive") == 1;
    estimate.preamble = phy::preamble_type_from_value(frame::to_scalar(in, 5, "preambleType"), in.operation());
    estimate.idle_samples = frame::to_scalar(in, 6, "idleSamples");
    estimate.ramp = frame::to_scalar(in, 7, "rampType") > 0 ? phy::RampType::Linear : phy::RampType::None;
    estimate.ramp_length = frame::to_scalar(in, 8, "rampLength");
    estimate.oversampling = frame::to_scalar(in, 9, "OverSampling");
    return {Value::scalar(phy::estimate_size(estimate))};
}

Outputs dot11b_PREAMBLE(const Inputs& in, int) {
    const auto type = phy::preamble_type_from_value(frame::to_scalar(in, 0, "preambleType"), in.operation());
    return {frame::bits_value(phy::preamble_bits(type))};
}

Outputs dot11b_HEADER(const Inputs& in, int) {
    return {frame::bits_value(phy::header_bits(frame::to_count(in, 0, "numberOfBITS"), rate_input(in, 1),
                                               frame::to_bit(in, 2, "highRateMod"), frame::to_bit(in, 3, "locked")))};
}

Outputs dot11b_SIGNAL(const Inputs& in, int) { return {frame::bits_value(phy::signal_field(rate_input(in, 0)))}; }

Outputs dot11b_SERVICE(const Inputs& in, int) {
    return {frame::bits_value(phy::service_field(frame::to_bit(in, 0, "locked"), frame::to_bit(in, 1, "mod"),
                                                 frame::to_bit(in, 2, "b5"), frame::to_bit(in, 3, "b6"),
                                                 frame::to_bit(in, 4, "b7")))};
}

Outputs dot11b_LENGTH(const Inputs& in, int) {
    const phy::LengthField field =
        phy::length_field(frame::to_count(in, 0, "numberOfBITS"), rate_input(in, 1), frame::to_bit(in, 2, "mod"));
    return {frame::bits_value(field.bits), Value::scalar(field.b5), Value::scalar(field.b6), Value::scalar(field.b7)};
}

Outputs CCITT_CRC16(const Inputs& in, int) { return {frame::bits_value(phy::crc16(frame::to_bits(in, 0, "input")))}; }

Outputs dot11b_Scrambler(const Inputs& in, int) {
    const auto mode = phy::scrambler_mode_from_value(frame::to_scalar(in, 0, "scrambleActive"), in.operation());
    const auto type = phy::preamble_type_from_value(frame::to_scalar(in, 1, "preambleType"), in.operation());
    return {frame::bits_value(phy::scramble_frame(mode, type, frame::to_bits(in, 2, "frame")))};
}

Outputs scrambler_7bit_741(const Inputs& in, int) {
    const Bits seed_bits = frame::to_bits(in, 1, "initState");
    if (seed_bits.size() != 7) {
        throw ConfigError("scrambler_7bit_741: input initState must have 7 bits, got " +
                          std::to_string(seed_bits.size()));
    }
    phy::ScramblerSeed seed{};
    std::copy(seed_bits.begin(), seed_bits.end(), seed.begin());
    return {frame::bits_value(phy::scramble_741(frame::to_bits(in, 0, "input"), seed))};
}

Outputs lfsr(const Inputs& in, int) {
    return {frame::bits_value(mac::lfsr_sequence(frame::to_count(in, 0, "order"), frame::to_bits(in, 1, "taps"),
                                                 frame::to_count(in, 2, "m"), frame::to_bits(in, 3, "seed")))};
}

Outputs dot11b_1Mbps(const Inputs& in, int) {
    return with_last_phase(
        phy::modulate_1mbps(frame::to_bits(in, 0, "DATAbits"), frame::to_complex_scalar(in, 1, "intialPhase")));
}

Outputs dot11b_2Mbps(const Inputs& in, int) {
    return with_last_phase(
        phy::modulate_2mbps(frame::to_bits(in, 0, "DATAbits"), frame::to_complex_scalar(in, 1, "intialPhase")));
}

Outputs dot11b_DBPSK(const Inputs& in, int) {
    return {frame::samples_value(
        phy::dbpsk(frame::to_bits(in, 0, "data"), frame::to_complex_scalar(in, 1, "initialVector")))};
}

Outputs dot11b_DQPSK(const Inputs& in, int) {
    return {frame::samples_value(
        phy::dqpsk(frame::to_bits(in, 0, "data"), frame::to_complex_scalar(in, 1, "initialVector")))};
}

Outputs dot11b_BarkerSpread(const Inputs& in, int) {
    return {frame::samples_value(phy::barker_spread(frame::to_samples(in, 0, "signal")))};
}

Outputs dot11b_CCK(const Inputs& in, int) {
    return {frame::samples_value(phy::cck_modulate(frame::to_bits(in, 0, "DATAbits"), rate_input(in, 1),
                                                   frame::to_complex_scalar(in, 2, "initialPhase")))};
}

Outputs dot11b_CCK5(const Inputs& in, int) {
    return {frame::samples_value(
        phy::cck5(frame::to_bits(in, 0, "data"), frame::to_complex_scalar(in, 1, "initialPhase")))};
}

Outputs dot11b_CCK11(const Inputs& in, int) {
    return {frame::samples_value(
        phy::cck11(frame::to_bits(in, 0, "data"), frame::to_complex_scalar(in, 1, "initialPhase")))};
}

Outputs dot11b_CCK_DQPSK(const Inputs& in, int) {
    return {frame::reals_value(phy::cck_dqpsk(frame::to_bits(in, 0, "d0"), frame::to_bits(in, 1, "d1"),
                                              frame::to_scalar(in, 2, "initialPhase")))};
}

Outputs dot11b_CCKcodeword(const Inputs& in, int) {
    const phy::CckCodeword word =
        phy::cck_codeword(frame::to_scalar(in, 0, "phi1"), frame::to_scalar(in, 1, "phi2"),
                          frame::to_scalar(in, 2, "phi3"), frame::to_scalar(in, 3, "phi4"));
    return {frame::samples_value(word)};
}

Outputs dot11b_PBCC(const Inputs& in, int) {
    // The encoder runs only for exactly 1.
    const bool encoder = frame::to_scalar(in, 2, "encoderActive") == 1;
    return {frame::samples_value(phy::pbcc_modulate(frame::to_bits(in, 0, "DATAbits"), rate_input(in, 1), encoder,
                                                    frame::to_complex_scalar(in, 3, "initialPhase")))};
}

Outputs convolEncoder(const Inputs& in, int) {
    std::vector<unsigned> generators;
    for (const double g : frame::to_reals(in, 2, "genMatrix")) {
        if (!(g >= 0 && g < 1e9 && std::floor(g) == g)) {
            throw ConfigError("convolEncoder: input genMatrix must hold octal numerals, got " + std::to_string(g));
        }
        generators.push_back(static_cast<unsigned>(g));
    }
    return {frame::bits_value(
        phy::convolutional_encode(frame::to_bits(in, 0, "dataIn"), frame::to_count(in, 1, "k"), generators))};
}

Outputs map_PBCC(const Inputs& in, int) {
    return {frame::samples_value(phy::map_pbcc(frame::to_bits(in, 0, "encodedBits"), rate_input(in, 1),
                                               frame::to_complex_scalar(in, 2, "initialPhase")))};
}

Outputs PBCC_coverbits(const Inputs& in, int) {
    // A non-integer length is cut down to its integer part.
    const double length = frame::to_scalar(in, 0, "reqLength");
    if (!(length >= 0 && length < 1e12)) {
        throw ConfigError("PBCC_coverbits: input reqLength must be a non-negative number, got " +
                          std::to_string(length));
    }
    return {frame::bits_value(phy::pbcc_cover_bits(static_cast<std::size_t>(length)))};
}

}  // namespace dot11b::ops
