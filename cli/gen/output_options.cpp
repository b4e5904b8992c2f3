#include "cli/gen/output_options.hpp"

#include "app/waveform_files/file_format.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {

void OutputOptions::add_to(CLI::App& app) {
    const CLI::Validator known_format(
        [](std::string& name) -> std::string {
            try {
                waveform_files::format_of(name);
            } catch (const ConfigError& e) {
                return e.what();
            }
            return {};
        },
        "FILE");
    app.add_option("--save-params", save_params, "save the resulting parameters as a parameter file");
    auto* output = app.add_option("-o,--output", outputs, "write the waveform; repeatable")->check(known_format);
    auto* marker = app.add_option("--markers", markers, "write the markers, one byte per sample");
    auto* json_flag = app.add_flag("--json", json, "print the summary as one JSON object on standard output");
    app.add_flag("--estimate", estimate, "print only the projected waveform length")
        ->excludes(output)
        ->excludes(marker)
        ->excludes(json_flag);
}

}  // namespace dot11b::cli
