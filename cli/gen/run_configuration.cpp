#include "cli/gen/run_configuration.hpp"

#include <filesystem>
#include <system_error>

#include "app/parameter_file.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

// A file that opens but is no parameter file is named as such.
app::ParameterSet load_params(const std::string& path) {
    try {
        return app::load_parameter_file(path);
    } catch (const app::ParameterFileError& e) {
        throw IoError("--params " + path + ": a parameter file was expected, but it " + e.problem());
    } catch (const IoError& e) {
        std::error_code ignored;
        const std::string prefix = "cannot open " + path + ": ";
        const std::string message = e.what();
        if (!std::filesystem::is_regular_file(path, ignored) || !message.starts_with(prefix)) throw;
        const std::string reason = message.substr(prefix.size());
        const bool verb = reason.starts_with("is ") || reason.starts_with("has ");
        throw IoError("--params " + path + ": a parameter file was expected, but " + (verb ? "it " : "") + reason);
    }
}

}  // namespace

RunConfiguration configure_run(const WaveformOptions& waveform, const DownloadOptions& download) {
    const GenerationOptions& generation = waveform.generation;
    RunConfiguration run;
    if (waveform.params) {
        app::ParameterSet loaded = load_params(*waveform.params);
        run.parameters = std::move(loaded.parameters);
        run.settings = std::move(loaded.settings);
        run.impairments = loaded.impairments;
    }
    generation.apply(run.parameters, run.settings, run.impairments, run.notes);
    download.apply(run.parameters, run.settings);
    EntryNames entries = generation.entry_names(run.parameters);
    entries.from_parameter_file = waveform.params.has_value();
    check_unframed_entries(run.parameters, entries);
    return run;
}

}  // namespace dot11b::cli
