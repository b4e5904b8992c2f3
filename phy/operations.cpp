// Registry adapters of the PLCP, scrambler and DSSS operations.

#include <array>
#include <string>

#include "common/errors.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "phy/dsss.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"

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

}  // namespace

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
    return {frame::bits_value(phy::lfsr_sequence(frame::to_count(in, 0, "order"), frame::to_bits(in, 1, "taps"),
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

}  // namespace dot11b::ops
