#include "cli/analyze/json_report.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "analyzer/constants.hpp"

namespace dot11b::cli {
namespace {

using namespace analyzer;
using Json = nlohmann::ordered_json;

const char* status_name(DecodeStatus status) {
    switch (status) {
    case DecodeStatus::Decoded: return "decoded";
    case DecodeStatus::NoPreamble: return "no preamble";
    case DecodeStatus::HeaderCrcError: return "header CRC error";
    case DecodeStatus::UnsupportedRate: return "unsupported rate";
    case DecodeStatus::Truncated: return "truncated";
    }
    return "";
}

const char* scrambling_name(Scrambling scrambling) {
    switch (scrambling) {
    case Scrambling::On: return "on";
    case Scrambling::Off: return "off";
    case Scrambling::PreambleOnly: return "preamble only";
    }
    return "";
}

std::string hex(const std::vector<std::uint8_t>& octets) {
    std::string text;
    text.reserve(2 * octets.size());
    char pair[3];
    for (const std::uint8_t octet : octets) {
        std::snprintf(pair, sizeof pair, "%02x", octet);
        text += pair;
    }
    return text;
}

template <typename T>
Json optional_json(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json mac_json(const MacHeaderFields& mac) {
    const auto address = [](const std::optional<MacAddress>& a) { return a ? Json(address_text(*a)) : Json(nullptr); };
    return {{"type", frame_type_name(mac)},           {"octets", mac.octets},
            {"FrameCntrl", mac.frame_control},        {"DurationID", mac.duration_id},
            {"Address1", address_text(mac.address1)}, {"Address2", address(mac.address2)},
            {"Address3", address(mac.address3)},      {"SeqCntrl", optional_json(mac.sequence_control)},
            {"Address4", address(mac.address4)}};
}

Json evm_json(const BurstAnalysis& b) {
    if (!b.evm) return nullptr;
    Json blocks = Json::array();
    for (const EvmFigures& block : b.evm->blocks) {
        blocks.push_back({{"rms_percent", 100 * block.rms}, {"peak_percent", 100 * block.peak}});
    }
    return {{"span", b.evm_span},
            {"chips", b.evm->chips},
            {"rms_percent", 100 * b.evm->overall.rms},
            {"rms_db", to_db(b.evm->overall.rms)},
            {"peak_percent", 100 * b.evm->overall.peak},
            {"peak_db", to_db(b.evm->overall.peak)},
            {"blocks", blocks},
            {"passed", b.evm->passed()}};
}

Json mask_json(const MaskCheck& m) {
    if (!m.checked()) return {{"checked", false}, {"covered_hz", m.covered_hz}};
    return {{"checked", true},
            {"covered_hz", m.covered_hz},
            {"worst_margin_db", m.worst_margin_db},
            {"worst_frequency_hz", m.worst_frequency_hz},
            {"passed", m.passed()}};
}

Json seconds_in_us(const std::optional<double>& seconds) { return seconds ? Json(*seconds * 1e6) : Json(nullptr); }

}  // namespace

Json burst_json(const Analysis& analysis, const BurstAnalysis& b, std::size_t index) {
    const bool found = b.status != DecodeStatus::NoPreamble;
    Json j = {{"burst", index + 1},
              {"first_sample", b.first_sample},
              {"end_sample", b.end_sample},
              {"status", status_name(b.status)},
              {"problem", b.problem.empty() ? Json(nullptr) : Json(b.problem)},
              {"preamble", found ? Json(b.preamble == PreambleType::Long ? "long" : "short") : Json(nullptr)},
              {"sync_bits", found ? Json(b.sync_bits) : Json(nullptr)},
              {"scrambling", b.header ? Json(scrambling_name(b.scrambling)) : Json(nullptr)},
              {"mirrored", b.mirrored}};
    if (b.header) {
        j["signal"] = b.header->signal;
        j["service"] = b.header->service;
        j["length_us"] = b.header->length;
        j["header_crc_ok"] = b.header->crc_ok;
    }
    if (b.format) {
        j["rate_mbps"] = b.format->rate_100kbps / 10.0;
        j["modulation"] = modulation_name(b.format->modulation);
        j["pbcc_coded"] = b.format->modulation == PsduModulation::Pbcc ? Json(b.pbcc_coded) : Json(nullptr);
    }
    if (b.status == DecodeStatus::Decoded) {
        j["psdu_octets"] = b.psdu.size();
        j["psdu"] = hex(b.psdu);
        j["orientation_checked"] = !b.mirrored_psdu;
        j["psdu_mirrored"] = b.mirrored_psdu ? Json(hex(*b.mirrored_psdu)) : Json(nullptr);
        j["fcs"] = b.fcs == FcsStatus::Valid ? "valid" : b.fcs == FcsStatus::Invalid ? "error" : "not present";
        j["mac_header"] = b.mac ? mac_json(*b.mac) : Json(nullptr);
        j["sequence_number"] = optional_json(sequence_number(b));
    }
    j["evm"] = evm_json(b);
    if (b.accuracy) {
        const ModulationAccuracy& m = *b.accuracy;
        j["reference_filter"] = reference_filter_text(m.filter);
        j["snr_db"] = m.mer_db;
        j["carrier_leakage_dbc"] = m.leakage_dbc;
        j["carrier_suppression_passed"] = m.leakage_dbc <= kCarrierSuppressionDb;
        j["iq_gain_imbalance_db"] = m.iq_gain_db ? Json(*m.iq_gain_db) : Json(nullptr);
        j["quadrature_error_deg"] = m.quadrature_deg ? Json(*m.quadrature_deg) : Json(nullptr);
    }
    if (b.frequency) {
        j["carrier_offset_hz"] = b.frequency->carrier_offset_hz;
        j["carrier_offset_ppm"] = b.frequency->carrier_offset_ppm;
        j["carrier_frequency_hz"] = analysis.carrier_frequency_hz;
        j["carrier_frequency_assumed"] = analysis.carrier_assumed;
        j["chip_clock_offset_ppm"] = b.frequency->chip_clock_offset_ppm;
        if (b.header && b.header->locked_clocks()) {
            const double apart = std::abs(b.frequency->carrier_offset_ppm - b.frequency->chip_clock_offset_ppm);
            j["locked_clocks"] = {{"apart_ppm", apart}, {"passed", apart <= kLockedClocksTolerancePpm}};
        } else {
            j["locked_clocks"] = nullptr;
        }
    }
    j["power_on_ramp_us"] = seconds_in_us(b.ramps.power_on_s);
    j["power_down_ramp_us"] = seconds_in_us(b.ramps.power_down_s);
    j["mask"] = mask_json(b.mask);
    j["failures"] = b.failures();
    j["passed"] = b.passed();
    return j;
}

Json no_burst_json(const Analysis& analysis) {
    return {{"burst", nullptr},
            {"problem", analysis.silent ? "no burst found: every sample is zero" : "no burst found"},
            {"passed", false}};
}

Json frame_summary_json(const FrameSummary& s, std::optional<std::size_t> expected) {
    Json summary = {{"bursts", s.bursts},       {"decoded", s.decoded},       {"fcs_errors", s.fcs_errors},
                    {"distinct", s.distinct}, {"duplicates", s.duplicates}, {"missing", s.missing}};
    if (const auto rate = s.packet_error_rate(expected)) {
        summary["expected"] = *expected;
        summary["packet_error_rate"] = *rate;
    }
    summary["passed"] = s.enough(expected);
    return {{"summary", summary}};
}

std::vector<Json> report_json(const Analysis& analysis) {
    std::vector<Json> lines;
    for (std::size_t k = 0; k < analysis.bursts.size(); ++k) lines.push_back(burst_json(analysis, analysis.bursts[k], k));
    if (lines.empty()) lines.push_back(no_burst_json(analysis));
    return lines;
}

}  // namespace dot11b::cli
