#include "cli/gen/command_line.hpp"

#include <filesystem>
#include <optional>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/parameter_file.hpp"
#include "cli/gen/download_options.hpp"
#include "cli/gen/generation_options.hpp"
#include "cli/gen/output_options.hpp"
#include "cli/gen/outputs.hpp"
#include "cli/gen/summary.hpp"
#include "cli/gen/unframed_checks.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

constexpr const char* kFooter = R"(Output formats, chosen by the extension of each -o FILE (in any case):
  .wfm                      the instrument waveform file: 16-bit big-endian I/Q words, full scale +-32766
  .cf32                     raw little-endian float32 I, Q, unscaled
  .sigmf-meta, .sigmf-data  a SigMF recording (both files, cf32_le) with the burst and the frame annotated
  .mat                      the Save Wave MAT-file: samplePoints, sampleRate and wave (N x 2)
--markers FILE writes one byte per sample: bit 0 the frame, bit 1 the burst with its ramps.
No file is written unless the whole run succeeds.

The defaults are the desktop application's start-up settings.

Exit status: 0 success; 1 a failure while running (a file's contents, the instrument,
a configuration the frame builder refuses); 2 a usage error (an option or value as typed).)";

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

int generate(const GenerationOptions& generation, const OutputOptions& options, const DownloadOptions& download,
             std::ostream& out, std::ostream& err) {
    app::FormatParameters parameters;
    app::SigGenSettings settings;
    if (options.params) {
        app::ParameterSet loaded = load_params(*options.params);
        parameters = std::move(loaded.parameters);
        settings = std::move(loaded.settings);
    }
    std::vector<std::string> notes;
    generation.apply(parameters, settings, notes);
    download.apply(parameters, settings);
    EntryNames entries = generation.entry_names(parameters);
    entries.from_parameter_file = options.params.has_value();
    check_unframed_entries(parameters, entries);

    if (options.estimate) {
        if (!parameters.projected_length) {
            throw UsageError("--estimate: the size estimate covers 1, 2, 5.5 and 11 Mbit/s, not --rate 22 or 33");
        }
        if (options.save_params) app::save_parameter_file(*options.save_params, parameters, settings);
        out << number_text(*parameters.projected_length) << '\n';
        return kSuccess;
    }

    const GeneratedWaveform waveform = build_waveform(parameters, settings, std::move(notes));
    const std::vector<std::filesystem::path> written = write_outputs(options, waveform);
    print_summary(err, waveform, written);
    std::optional<instrument::DownloadOutcome> outcome;
    if (download.requested()) outcome = download.run(waveform, err);
    if (options.json) out << summary_json(waveform, written, outcome).dump() << '\n';
    return outcome && !outcome->ok ? kFailure : kSuccess;
}

}  // namespace

int run_dot11b_gen(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Builds one period of an IEEE 802.11b waveform and writes it to files.", "dot11b-gen"};
    app.footer(kFooter);
    GenerationOptions generation;
    OutputOptions options;
    DownloadOptions download;
    generation.add_to(app);
    options.add_to(app);
    download.add_to(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsageError;
    }
    try {
        return generate(generation, options, download, out, err);
    } catch (const UsageError& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kFailure;
    }
}

}  // namespace dot11b::cli
