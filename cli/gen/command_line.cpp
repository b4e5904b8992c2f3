#include "cli/gen/command_line.hpp"

#include <filesystem>
#include <optional>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/parameter_file.hpp"
#include "cli/gen/download_options.hpp"
#include "cli/gen/output_options.hpp"
#include "cli/gen/outputs.hpp"
#include "cli/gen/run_configuration.hpp"
#include "cli/gen/sdr_options.hpp"
#include "cli/gen/summary.hpp"
#include "cli/gen/sweep_options.hpp"
#include "cli/gen/usage_error.hpp"
#include "cli/gen/verify_option.hpp"
#include "cli/gen/waveform_options.hpp"
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

int generate(const WaveformOptions& waveform_options, const OutputOptions& options, const DownloadOptions& download,
             const SdrOptions& sdr, const VerifyOption& verify, std::ostream& out, std::ostream& err) {
    refuse_shared_outputs(options);
    RunConfiguration run = configure_run(waveform_options, download);
    const app::FormatParameters& parameters = run.parameters;
    const app::SigGenSettings& settings = run.settings;
    verify.check(parameters);

    if (options.estimate) {
        const double length = estimated_length(parameters);
        if (options.save_params) app::save_parameter_file(*options.save_params, parameters, settings, run.impairments);
        out << number_text(length) << '\n';
        return kSuccess;
    }

    const GeneratedWaveform waveform = build_waveform(parameters, settings, run.impairments, std::move(run.notes));
    // A waveform that fails its verification is neither written nor downloaded.
    if (verify.requested() && !verify.passes(waveform, err)) return kFailure;
    const std::vector<std::filesystem::path> written = write_outputs(options, waveform);
    print_summary(err, waveform, written);
    std::optional<instrument::DownloadOutcome> outcome;
    if (download.requested()) outcome = download.run(waveform, err);
    std::optional<sdr::PlaySummary> played;
    if (sdr.requested()) played = sdr.run(waveform, err);
    if (options.json) out << summary_json(waveform, written, outcome, played).dump() << '\n';
    return outcome && !outcome->ok ? kFailure : kSuccess;
}

}  // namespace

int run_dot11b_gen(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Builds one period of an IEEE 802.11b waveform and writes it to files.", "dot11b-gen"};
    app.footer(kFooter);
    WaveformOptions waveform;
    OutputOptions options;
    DownloadOptions download;
    SdrOptions sdr;
    SweepOptions sweep;
    VerifyOption verify;
    waveform.add_to(app);
    options.add_to(app);
    download.add_to(app);
    sdr.add_to(app);
    sweep.add_to(app);
    verify.add_to(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsageError;
    }
    try {
        if (sdr.list_requested()) {
            sdr.list(out);
            return kSuccess;
        }
        if (sweep.requested()) {
            if (sdr.requested()) throw UsageError("--sdr: plays a single waveform and cannot be combined with --sweep");
            if (verify.requested()) throw UsageError("--verify: checks a single waveform and cannot be combined with --sweep");
            return run_sweep(sweep, options, download, std::vector<std::string>(argv + 1, argv + argc), err);
        }
        return generate(waveform, options, download, sdr, verify, out, err);
    } catch (const UsageError& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-gen: " << e.what() << '\n';
        return kFailure;
    }
}

}  // namespace dot11b::cli
