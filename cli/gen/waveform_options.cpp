#include "cli/gen/waveform_options.hpp"

#include <utility>

namespace dot11b::cli {

void WaveformOptions::add_to(CLI::App& app) {
    generation.add_to(app);
    app.add_option("--params", params, "load a parameter file first; the other options change it");
}

std::vector<OptionDescription> waveform_option_descriptions() {
    CLI::App app;
    WaveformOptions options;
    options.add_to(app);
    return describe_options(app);
}

WaveformOptions parse_waveform_options(std::span<const NamedOption> named,
                                       std::optional<std::vector<std::uint8_t>> payload) {
    CLI::App app;
    WaveformOptions options;
    options.add_to(app);
    parse_named_options(app, named);
    if (payload) options.generation.set_payload_octets(std::move(*payload));
    return options;
}

}  // namespace dot11b::cli
