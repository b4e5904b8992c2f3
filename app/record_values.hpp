#pragma once
// The records as Values, for the files and the registered operations. Fields
// are written in the records' creation order, because files and record
// comparisons depend on it; reading takes fields by name and checks each
// one's type and range.

#include <array>
#include <string_view>

#include "app/record_reader.hpp"
#include "app/records.hpp"
#include "impairments/impairment_settings.hpp"
#include "frame/value.hpp"

namespace dot11b::app {

frame::Value to_value(const mac::MacHeader& header);
frame::Value to_value(const FormatParameters& parameters);
frame::Value to_value(const SigGenSettings& settings);
frame::Value to_value(const ConnectionConfig& config);
// Record field of each impairment, in the order of kImpairmentFields; the
// Impairments window's controls are named after them (txtCFO, chkCFO).
inline constexpr std::array<std::string_view, 7> kImpairmentRecordFields = {
    "PAbackoff", "IQgain", "IQphase", "DCoffset", "ClockOffset", "CFO", "SNR"};

// Only the impairments that are on, then the noise seed.
frame::Value to_value(const impairments::ImpairmentSettings& impairments);

// Each throws ConfigError naming the field by its path below `name` (for
// example fileParameters.dataRate), what it holds and what is allowed.
mac::MacHeader mac_header_from_value(const frame::Value& value, std::string_view name);
FormatParameters format_parameters_from_value(const frame::Value& value, std::string_view name);
SigGenSettings sig_gen_settings_from_value(const frame::Value& value, std::string_view name);
ConnectionConfig connection_config_from_value(const frame::Value& value, std::string_view name);
// The SDR sub-record; each missing field keeps its default.
SdrSettings sdr_settings_from(const RecordReader& record);
impairments::ImpairmentSettings impairment_settings_from_value(const frame::Value& value, std::string_view name);

}  // namespace dot11b::app
