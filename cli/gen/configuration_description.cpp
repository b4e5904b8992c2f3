#include "cli/gen/configuration_description.hpp"

#include <string>

#include "common/number_text.hpp"

namespace dot11b::cli {
namespace {

std::string ramp_name(phy::RampType ramp) {
    switch (ramp) {
    case phy::RampType::None:
        return "no power ramp";
    case phy::RampType::Linear:
        return "linear power ramps";
    case phy::RampType::RaisedCosine:
        return "raised-cosine power ramps";
    }
    return "?";
}

std::string filter_name(const app::FormatParameters& p) {
    const std::string length = number_text(p.filter_taps) + " symbols";
    switch (p.filter) {
    case phy::FilterType::None:
        return "no filter (rectangular hold)";
    case phy::FilterType::Gaussian:
        return "Gaussian filter, BT " + number_text(p.filter_factor) + ", " + length;
    case phy::FilterType::RootCosine:
        return "root-cosine filter, roll-off " + number_text(p.filter_factor) + ", " + length;
    }
    return "?";
}

std::string payload_name(mac::PayloadSource source) {
    switch (source) {
    case mac::PayloadSource::Zeros:
        return "zeros";
    case mac::PayloadSource::Ones:
        return "ones";
    case mac::PayloadSource::Alternating01:
        return "alternating 0 1";
    case mac::PayloadSource::Alternating10:
        return "alternating 1 0";
    case mac::PayloadSource::Pn9:
        return "PN9";
    case mac::PayloadSource::Pn15:
        return "PN15";
    case mac::PayloadSource::UserData:
        return "user data";
    }
    return "?";
}

std::string modulation_name(const app::FormatParameters& p) {
    switch (p.rate) {
    case phy::DataRate::Mbps1:
        return "DBPSK";
    case phy::DataRate::Mbps2:
        return "DQPSK";
    default:
        return p.modulation == phy::Modulation::Pbcc ? "PBCC" : "CCK";
    }
}

}  // namespace

std::string describe_configuration(const app::FormatParameters& p, std::size_t psdu_bits,
                                   const impairments::ImpairmentSettings& impairments) {
    std::string text =
        "IEEE 802.11b-1999 DSSS, " + number_text(phy::rate_in_mbps(p.rate)) + " Mbit/s " + modulation_name(p);
    if (modulation_name(p) == "PBCC") {
        text += p.pbcc_encoder ? " (encoder on)" : " (encoder off)";
    }
    if (p.framed) {
        text += std::string(p.preamble == phy::PreambleType::Long ? ", long" : ", short") + " preamble, framed, " +
                ramp_name(p.ramp);
        if (p.ramp != phy::RampType::None) text += " of " + std::to_string(p.ramp_length) + " samples";
        text += ", idle " + std::to_string(p.idle_samples) + " samples";
        if (p.locked_clocks) text += ", locked clocks";
    } else {
        text += ", unframed";
    }
    const char* scrambler[] = {"off", "on", "preamble only"};
    text += ", scrambler " + std::string(scrambler[static_cast<int>(p.scrambler)]) + ", oversampling " +
            number_text(p.oversampling) + ", " + filter_name(p);
    if (p.mirror_spectrum) text += ", spectrum mirrored";
    text += "; PSDU " + std::to_string(psdu_bits / 8) + " octets of " + payload_name(p.data_source);
    if (p.framed && p.mac_header.active)
        text += " after a " + std::to_string(p.mac_header.length) + "-octet MAC header";
    if (p.framed && p.fcs.active) text += " with FCS";
    if (p.frames > 1) {
        text += "; " + std::to_string(p.frames) + " frames" + (p.payload_continue ? ", payload running on" : "");
    }
    if (impairments.any()) text += "; impairments: " + impairments::describe_impairments(impairments);
    return text;
}

}  // namespace dot11b::cli
