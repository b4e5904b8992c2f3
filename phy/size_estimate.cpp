#include "phy/size_estimate.hpp"

#include <cmath>

#include "common/errors.hpp"

namespace dot11b::phy {

double estimate_size(const SizeEstimateInput& in) {
    const double framed = in.framed ? 1 : 0;
    const double short_preamble = in.preamble == PreambleType::Short ? 1 : 0;
    const double preamble_chips = (144 - 72 * short_preamble) * 11 * framed;
    const double header_chips = 48 / (short_preamble + 1) * 11 * framed;

    const bool pbcc = in.modulation == Modulation::Pbcc;
    const double coded = 1 + (in.pbcc_encoder ? 1 : 0);
    double data_chips = 0;
    switch (in.rate) {
    case DataRate::Mbps1: data_chips = in.data_bits * 11; break;
    case DataRate::Mbps2: data_chips = in.data_bits / 2 * 11; break;
    case DataRate::Mbps5_5: data_chips = pbcc ? in.data_bits * coded : in.data_bits / 4 * 8; break;
    case DataRate::Mbps11: data_chips = pbcc ? in.data_bits / 2 * coded : in.data_bits; break;
    default:
        throw ConfigError("dot11b_SizeEst: DATArate " + std::to_string(rate_in_mbps(in.rate)) +
                          " is not one of 1, 2, 5.5, 11 (Mbit/s)");
    }

    const double ramp = in.ramp != RampType::None ? framed * 2 * in.ramp_length : 0;
    const double signal = (preamble_chips + header_chips + data_chips) * in.oversampling + ramp;
    const double idle = in.idle_samples * framed;
    const double pad = std::fmod(signal + idle, 2) == 1 ? 1 : 0;
    return signal + idle + pad;
}

SizeEstimateInput size_estimate_input(const FrameConfig& config) {
    SizeEstimateInput in;
    in.framed = config.framed;
    in.data_bits = static_cast<double>(config.data_bits.size());
    in.rate = config.rate;
    in.modulation = config.modulation;
    in.pbcc_encoder = config.pbcc_encoder;
    in.preamble = config.preamble;
    in.idle_samples = static_cast<double>(config.idle_samples);
    in.ramp = config.ramp;
    in.ramp_length = static_cast<double>(config.ramp_length);
    in.oversampling = config.oversampling;
    return in;
}

}  // namespace dot11b::phy
