#include "cli/gen/command_line.hpp"

#include <filesystem>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/parameter_file.hpp"
#include "app/record_reader.hpp"
#include "cli/gen/download_options.hpp"
#include "cli/gen/generation_options.hpp"
#include "cli/gen/output_options.hpp"
#include "cli/gen/outputs.hpp"
#include "cli/gen/summary.hpp"
#include "cli/gen/sweep_options.hpp"
#include "cli/gen/verify_option.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

int generate(const GenerationOptions& generation, const OutputOptions& options, const DownloadOptions& download,
             const VerifyOption& verify, std::ostream& out, std::ostream& err) {
    app::FormatParameters parameters;
    app::SigGenSettings settings;
    if (options.params) {
        app::ParameterSet loaded = app::load_parameter_file(*options.params);
        parameters = std::move(loaded.parameters);
        settings = std::move(loaded.settings);
    }
    generation.apply(parameters, settings);
    download.apply(parameters, settings);
    verify.check(parameters);

    if (options.estimate) {
        if (!parameters.projected_length) {
            throw ConfigError("--estimate: the size estimate covers 1, 2, 5.5 and 11 Mbit/s, not --rate 22 or 33");
        }
        if (options.save_params) app::save_parameter_file(*options.save_params, parameters, settings);
        out << app::number_text(*parameters.projected_length) << '\n';
        return kSuccess;
    }

    const GeneratedWaveform waveform{parameters, settings, app::calculate(parameters), parameters.projected_length};
    const std::vector<std::filesystem::path> written = write_outputs(options, waveform);
    print_summary(err, waveform, written);
    if (options.json) out << summary_json(waveform, written).dump() << '\n';
    if (verify.requested() && !verify.passes(waveform, err)) return kFailure;
    if (download.requested()) return download.run(waveform, err);
    return kSuccess;
}

}  // namespace

int run_dot11b_gen(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Builds one period of an IEEE 802.11b waveform and writes it to files.", "dot11b-gen"};
    GenerationOptions generation;
    OutputOptions options;
    DownloadOptions download;
    SweepOptions sweep;
    VerifyOption verify;
    generation.add_to(app);
    options.add_to(app);
    download.add_to(app);
    sweep.add_to(app);
    verify.add_to(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsageError;
    }
    try {
        if (sweep.requested()) {
            if (verify.requested()) throw ConfigError("--verify: checks a single waveform and cannot be combined with --sweep");
            return run_sweep(sweep, options, download, std::vector<std::string>(argv + 1, argv + argc), err);
        }
        return generate(generation, options, download, verify, out, err);
    } catch (const ConfigError& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kFailure;
    }
}

}  // namespace dot11b::cli
