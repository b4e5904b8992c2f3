#pragma once
// The limits of an unframed waveform, checked before it is built so that a
// refusal names the option and the value as the user gave them: the burst is
// the modulated payload alone, so its length must fill whole symbols and hold
// the filter.

#include <string>

#include "app/records.hpp"

namespace dot11b::cli {

// How the payload length and the filter length were given, for messages:
// "--length 5", "--payload-file data.bin (5 octets)"; empty when they came
// from the defaults or a parameter file.
struct EntryNames {
    std::string length;
    std::string filter_length;
    bool from_parameter_file = false;  // the records were loaded with --params
};

// Throws UsageError when the offending entry was typed or follows from the
// options alone, ConfigError when it came from a parameter file.
void check_unframed_entries(const app::FormatParameters& parameters, const EntryNames& entries);

}  // namespace dot11b::cli
