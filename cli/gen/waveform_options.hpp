#pragma once
// The options that describe the waveform: the generation options and the
// parameter file they start from. dot11b-gen, each combination of a sweep and
// the Python module's generate() take exactly these, so an option added here
// reaches all of them with its checks and messages.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/gen/generation_options.hpp"
#include "cli/named_options/named_options.hpp"

namespace dot11b::cli {

struct WaveformOptions {
    GenerationOptions generation;
    std::optional<std::string> params;  // a parameter file loaded before the other options apply

    void add_to(CLI::App& app);
};

// The waveform options as a program names them (generate's keyword
// arguments), in the order of dot11b-gen --help.
std::vector<OptionDescription> waveform_option_descriptions();

// Parses the named waveform options; `payload`, when given, is the user data
// octets of the payload. Throws UnknownOption for a name that is no waveform
// option and ConfigError with the command line's message for a value it refuses.
WaveformOptions parse_waveform_options(std::span<const NamedOption> options,
                                       std::optional<std::vector<std::uint8_t>> payload = std::nullopt);

}  // namespace dot11b::cli
