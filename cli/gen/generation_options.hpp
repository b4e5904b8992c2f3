#pragma once
// The command-line options that describe the waveform. Each option changes
// the records the way the main window's control would; microsecond and
// symbol entries follow the window's rounding, but an entry outside its range
// is refused instead of clamped.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/records.hpp"
#include "cli/gen/unframed_checks.hpp"
#include "impairments/impairment_settings.hpp"

namespace dot11b::cli {

// The configuration held by the records, as the options that give it: option
// names without dashes, with the words and units the options take ("file"
// for a user data payload), in the order of the help.
std::vector<std::pair<std::string, std::string>> option_values(const app::FormatParameters& parameters);

class GenerationOptions {
public:
    void add_to(CLI::App& app);

    // Applies the given options on top of `parameters`, `settings` and
    // `impairments` (the start-up defaults or a loaded parameter file) and
    // refreshes the derived fields; adds a note for each entry that was
    // rounded or not used. Throws UsageError naming the option, the allowed
    // values and the value; IoError when the payload file cannot be read.
    void apply(app::FormatParameters& parameters, app::SigGenSettings& settings,
               impairments::ImpairmentSettings& impairments, std::vector<std::string>& notes) const;

    // How the payload and filter lengths of `parameters` were typed, if they were.
    EntryNames entry_names(const app::FormatParameters& parameters) const;

    // User data handed over as octets rather than as a file (the Python
    // module's payload=bytes); apply() takes it as --payload-file's contents.
    void set_payload_octets(std::vector<std::uint8_t> octets) { payload_octets_ = std::move(octets); }

private:
    void apply_sequence(app::FormatParameters& parameters, std::vector<std::string>& notes) const;

    std::optional<std::string> rate_;
    std::optional<std::string> modulation_;
    std::optional<std::string> preamble_;
    bool unframed_ = false;
    bool locked_clocks_ = false;
    std::optional<std::string> scrambler_;
    std::optional<std::string> pbcc_encoder_;
    std::optional<std::string> ramp_;
    std::optional<double> ramp_time_;
    std::optional<double> idle_time_;
    std::optional<std::string> oversampling_;
    std::optional<std::string> filter_;
    std::optional<double> filter_factor_;
    std::optional<double> filter_length_;
    bool mirror_ = false;
    bool mac_header_ = false;
    std::vector<std::string> mac_fields_;
    std::vector<std::string> mac_off_;
    bool fcs_ = false;
    std::optional<std::string> payload_;
    std::optional<std::string> payload_file_;
    std::optional<std::vector<std::uint8_t>> payload_octets_;
    std::optional<int> length_;
    std::optional<int> frames_;
    bool payload_continue_ = false;
    // Indexed as impairments::kImpairmentFields.
    std::array<std::optional<double>, impairments::kImpairmentFields.size()> impairments_;
    std::optional<std::uint64_t> seed_;
};

}  // namespace dot11b::cli
