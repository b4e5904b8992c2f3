#include "phy/frame_config.hpp"

#include <cmath>
#include <sstream>
#include <string>

#include "common/errors.hpp"
#include "phy/cck.hpp"
#include "phy/pbcc.hpp"

namespace dot11b::phy {
namespace {

template <typename T>
[[noreturn]] void reject(std::string_view field, const T& value, std::string_view allowed) {
    std::ostringstream message;
    message << "dot11b_FRAME: " << field << " " << value << " is not allowed; allowed: " << allowed;
    throw ConfigError(message.str());
}

bool is_one_of(double x, std::initializer_list<double> allowed) {
    for (const double a : allowed) {
        if (x == a) return true;
    }
    return false;
}

}  // namespace

void FrameConfig::validate() const {
    const bool high_rate = rate != DataRate::Mbps1 && rate != DataRate::Mbps2;
    const bool pbcc_only_rate = rate == DataRate::Mbps22 || rate == DataRate::Mbps33;
    if (!is_one_of(rate_in_mbps(rate), {1, 2, 5.5, 11, 22, 33})) {
        reject("DATArate", rate_in_100kbps(rate) / 10.0, "1, 2, 5.5, 11 (22 and 33 unframed with PBCC)");
    }
    if (pbcc_only_rate && (framed || modulation != Modulation::Pbcc)) {
        reject("DATArate", rate_in_mbps(rate), "1, 2, 5.5, 11; 22 and 33 only unframed with PBCC (highRateMod 1)");
    }
    if (modulation != Modulation::Cck && modulation != Modulation::Pbcc) {
        reject("highRateMod", static_cast<int>(modulation), "0 (CCK), 1 (PBCC)");
    }
    if (preamble != PreambleType::Long && preamble != PreambleType::Short) {
        reject("preambleType", static_cast<int>(preamble), "0 (long), 1 (short)");
    }
    if (scrambler != ScramblerMode::Off && scrambler != ScramblerMode::On && scrambler != ScramblerMode::PreambleOnly) {
        reject("scramblerActive", static_cast<int>(scrambler), "0 (off), 1 (on), 2 (preamble only)");
    }
    if (ramp != RampType::None && ramp != RampType::Linear && ramp != RampType::RaisedCosine) {
        reject("rampType", static_cast<int>(ramp), "0 (none), 1 (linear), 2 (raised cosine)");
    }
    if (!is_one_of(oversampling, {2, 2.5, 3, 3.5})) reject("oversamplingRate", oversampling, "2, 2.5, 3, 3.5");
    switch (filter) {
    case FilterType::None:
        break;
    case FilterType::Gaussian:
        if (!(filter_factor >= 0.1 && filter_factor <= 1)) reject("filterFactor", filter_factor, "0.1 to 1 (Gaussian BT)");
        break;
    case FilterType::RootCosine:
        if (!(filter_factor >= 0.05 && filter_factor <= 1)) {
            reject("filterFactor", filter_factor, "0.05 to 1 (root-cosine roll-off)");
        }
        break;
    default:
        reject("filterType", static_cast<int>(filter), "0 (none), 1 (Gaussian), 2 (root cosine)");
    }
    if (filter != FilterType::None) {
        if (!(filter_taps >= 1 && std::isfinite(filter_taps))) reject("filterTaps", filter_taps, "1 or more samples");
        if (data_bits.empty() && !framed) {
            throw ConfigError(
                "dot11b_FRAME: DATAbits is empty in unframed mode (generationMode 0), so there is nothing to filter; "
                "pass bits, use framed mode or filterType 0");
        }
    }
    // The PSDU must fill whole symbols of its modulation.
    try {
        if (rate == DataRate::Mbps2 && data_bits.size() % 2 != 0) {
            throw ConfigError("DQPSK takes bit pairs, got " + std::to_string(data_bits.size()) + " bits");
        }
        if (high_rate && modulation == Modulation::Cck) cck_chip_count(data_bits.size(), rate);
        if (high_rate && modulation == Modulation::Pbcc) pbcc_chip_count(data_bits.size(), rate, pbcc_encoder);
    } catch (const ConfigError& e) {
        throw ConfigError("dot11b_FRAME: DATAbits does not fill whole symbols: " + std::string(e.what()));
    }
}

SampleRatePlan sample_rate_plan(double oversampling) {
    if (std::floor(oversampling) == oversampling) return {static_cast<int>(oversampling), 1};
    return {static_cast<int>(2 * oversampling), 2};
}

}  // namespace dot11b::phy
