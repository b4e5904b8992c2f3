#include "app/records.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "app/entry_rules.hpp"
#include "common/errors.hpp"
#include "common/ascii_case.hpp"
#include "common/number_text.hpp"

namespace dot11b::app {
namespace {

[[noreturn]] void reject(std::string_view record, std::string_view field, std::string_view value,
                         std::string_view allowed) {
    throw ConfigError(std::string(record) + "." + std::string(field) + " is " + std::string(value) +
                      "; allowed: " + std::string(allowed));
}

[[noreturn]] void reject(std::string_view record, std::string_view field, double value, std::string_view allowed) {
    reject(record, field, number_text(value), allowed);
}

void check_range(std::string_view record, std::string_view field, double value, double min, double max) {
    if (!(value >= min && value <= max)) reject(record, field, value, number_text(min) + " to " + number_text(max));
}

void check_whole_range(std::string_view record, std::string_view field, double value, double min, double max) {
    if (!(value >= min && value <= max && std::floor(value) == value)) {
        reject(record, field, value, "whole numbers " + number_text(min) + " to " + number_text(max));
    }
}

bool is_one_of(double x, std::initializer_list<double> allowed) {
    return std::find(allowed.begin(), allowed.end(), x) != allowed.end();
}

}  // namespace

bool is_title_character(char c) {
    const char u = to_upper_ascii(c);
    return (u >= 'A' && u <= 'Z') || (c >= '0' && c <= '9') || std::string_view("_$&#+-[]").find(c) != std::string_view::npos;
}

void FormatParameters::validate(std::string_view record) const {
    const double mbps = phy::rate_in_mbps(rate);
    if (!is_one_of(mbps, {1, 2, 5.5, 11})) {
        if (!is_one_of(mbps, {22, 33})) reject(record, "dataRate", mbps, "1, 2, 5.5, 11");
        if (framed || modulation != phy::Modulation::Pbcc) {
            reject(record, "dataRate", mbps, "1, 2, 5.5, 11; 22 and 33 only unframed (generationMode 0) with PBCC");
        }
    }
    check_whole_range(record, "highRateMod", static_cast<double>(modulation), 0, 1);
    check_whole_range(record, "preambleType", static_cast<double>(preamble), 0, 1);
    check_whole_range(record, "scramblerActive", static_cast<double>(scrambler), 0, 2);
    check_whole_range(record, "rampType", static_cast<double>(ramp), 0, 2);
    check_whole_range(record, "FilterType", static_cast<double>(filter), 0, 2);
    if (!is_one_of(oversampling, {2, 2.5, 3, 3.5})) reject(record, "OverSampling", oversampling, "2, 2.5, 3, 3.5");
    check_range(record, "rampLength", static_cast<double>(ramp_length), 0,
                std::round(kMaxRampTimeUs * samples_per_microsecond(oversampling)));
    check_range(record, "idleSamples", static_cast<double>(idle_samples), 0,
                std::round(kMaxIdleTimeUs * samples_per_microsecond(oversampling)));
    check_whole_range(record, "Channel", channel, 1, 14);

    const std::size_t header_bytes = mac_header.contents.length_bytes();
    if (mac_header.length != header_bytes) {
        reject(record, "MACheader.Length", static_cast<double>(mac_header.length),
               number_text(static_cast<double>(header_bytes)) + ", the octets of the active header fields");
    }
    if (fcs.length != kFcsLength) reject(record, "MACfcs.Length", static_cast<double>(fcs.length), "4");
    if (!fcs.contents.empty() && fcs.contents.size() != 32) {
        reject(record, "MACfcs.Contents", std::to_string(fcs.contents.size()) + " bits", "empty or 32 bits");
    }

    const double source = static_cast<double>(data_source);
    if (!mac::payload_source_from_code(source)) reject(record, "dataSourceType", source, "1 to 7");
    check_range(record, "dataLength", static_cast<double>(data_length), 0, kMaxDataLength);
    check_whole_range(record, "Frames", static_cast<double>(frames), 1, static_cast<double>(kMaxFrames));
    if (frames > 1 && !framed) reject(record, "Frames", static_cast<double>(frames), "1 in unframed mode (generationMode 0)");
    if (data_source_bits.size() > kUserDataLimitBits) {
        reject(record, "dataSourceBitstream", std::to_string(data_source_bits.size()) + " bits",
               "at most " + std::to_string(kUserDataLimitBits) + " bits");
    }
    if (data_source == mac::PayloadSource::UserData && data_source_bits.size() != 8 * data_length) {
        reject(record, "dataLength", static_cast<double>(data_length),
               "the octets of dataSourceBitstream (" + std::to_string(data_source_bits.size()) + " bits)");
    }
    check_range(record, "totalLength", static_cast<double>(total_length), 0,
                static_cast<double>(kMaxDataLength + mac::default_mac_header().length_bytes() + kFcsLength));

    const double min_factor = min_filter_factor(filter);
    if (!(filter_factor >= min_factor && filter_factor <= kMaxFilterFactor)) {
        reject(record, "FilterFactor", filter_factor,
               filter == phy::FilterType::Gaussian     ? "0.1 to 1 (Gaussian BT)"
               : filter == phy::FilterType::RootCosine ? "0.05 to 1 (root-cosine roll-off)"
                                                       : "at most 1");
    }
    check_range(record, "FilterTaps", filter_taps, kMinFilterTaps, kMaxFilterTaps);
    if (projected_length && !(*projected_length >= 0 && std::isfinite(*projected_length))) {
        reject(record, "ProjectedLength", *projected_length, "a number of samples");
    }
}

void SigGenSettings::validate(std::string_view record) const {
    if (title.empty() || title.size() > kMaxTitleLength || !std::all_of(title.begin(), title.end(), is_title_character)) {
        reject(record, "Title", "\"" + title + "\"", "1 to 20 letters, digits and _ $ & # + - [ ]");
    }
    check_range(record, "Frequency", frequency, 100000, 4000000000);
    check_whole_range(record, "Amplitude", amplitude, -136, 20);
    check_range(record, "SamplingRate", sampling_rate, 1, 40000000);
    check_whole_range(record, "ReconFilter", recon_filter, 1, 4);
}

void ConnectionConfig::validate(std::string_view record) const {
    const std::string bus = to_upper_ascii(type);
    if (bus != "GPIB" && bus != "RS232" && bus != "TCPIP" && bus != "SDR")
        reject(record, "type", "\"" + type + "\"", "GPIB, RS232, TCPIP, SDR");
    check_whole_range(record, "GPIB.board", gpib.board, 0, 15);
    check_whole_range(record, "GPIB.primary", gpib.primary, 0, 30);
    check_whole_range(record, "GPIB.secondary", gpib.secondary, -1, 31);
    check_whole_range(record, "RS232.port", rs232.port, 1, 9);
    check_whole_range(record, "RS232.baudrate", rs232.baudrate, 1, 10000000);
    check_whole_range(record, "TCPIP.board", tcpip.board, 0, 15);
    if (!std::isfinite(sdr.gain)) reject(record, "SDR.gain", number_text(sdr.gain), "a finite number of dB");
    if (!(sdr.rate >= 0 && std::isfinite(sdr.rate)))
        reject(record, "SDR.rate", number_text(sdr.rate), "0 (Auto) or a rate in Hz");
}

}  // namespace dot11b::app
