#include "cli/plot/command_line.hpp"

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/waveform_files/recording_reader.hpp"
#include "cli/common/sample_rate_option.hpp"
#include "cli/common/shared_output_files.hpp"
#include "cli/plot/plot_request.hpp"
#include "cli/plot/render.hpp"
#include "common/durable_file.hpp"
#include "common/errors.hpp"
#include "instrument/download.hpp"

namespace dot11b::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

struct Options {
    std::string file;
    std::vector<std::string> plots;
    std::optional<double> sample_rate;
    std::optional<int> dac_bits;
    std::string plot_size = "800x600";
    double eye_delay = 0;
    int scatter_trace = 0;
};

void add_options(CLI::App& app, Options& options) {
    app.add_option("FILE", options.file, "waveform file: .wfm, .cf32, .sigmf-meta/.sigmf-data, Save Wave .mat")
        ->required();
    app.add_option("--plot", options.plots,
                   "KIND:OUT, KIND one of spectrum ccdf iq iq-overlay eye scatter waterfall constellation evm, "
                   "OUT a .png, .pdf or .csv")
        ->required()
        ->allow_extra_args(false);
    add_sample_rate_option(app, options.sample_rate, "sample rate in Hz of a .wfm or .cf32 file");
    app.add_option("--dac-bits", options.dac_bits, "quantise as a DAC of this many bits does before plotting (3-32)")
        ->check(CLI::Range(3, 32));
    app.add_option("--plot-size", options.plot_size, "WxH of PNG (pixels) and PDF (points) plots, default 800x600");
    app.add_option("--eye-delay", options.eye_delay, "symbol delay of the eye and scatter views (0-1)")
        ->check(CLI::Range(0.0, 1.0));
    app.add_option("--scatter-trace", options.scatter_trace, "scatter points over the signal trajectory (0|1)")
        ->check(CLI::IsMember({0, 1}));
}

int plot(const Options& options, std::ostream& err) {
    std::vector<PlotRequest> requests;
    for (const auto& text : options.plots) requests.push_back(parse_plot_request(text));
    std::vector<std::filesystem::path> names;
    for (const PlotRequest& request : requests) names.push_back(request.output);
    if (const auto shared = first_shared_file(names)) {
        throw ConfigError("--plot " + options.plots[shared->second] + ": the same file as --plot " +
                          options.plots[shared->first] + "; give each plot a file of its own; nothing was written");
    }
    const PlotSettings settings{parse_plot_size(options.plot_size), options.eye_delay, options.scatter_trace != 0};

    waveform_files::Recording recording = waveform_files::read_recording(options.file, {options.sample_rate});
    if (recording.samples.empty()) throw IoError(options.file + ": the file holds no samples");
    if (options.dac_bits) recording.samples = instrument::applyDacRes(recording.samples, *options.dac_bits);

    for (const PlotRequest& request : requests) {
        write_file_durably(request.output, render_plot(request, recording.samples, recording.sample_rate_hz, settings));
        err << "wrote: " << request.output.string() << '\n';
    }
    return kSuccess;
}

}  // namespace

int run_dot11b_plot(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Draws the plot views of a waveform file into PNG, PDF or CSV files.", "dot11b-plot"};
    Options options;
    add_options(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsageError;
    }
    try {
        return plot(options, err);
    } catch (const ConfigError& e) {
        err << "dot11b-plot: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-plot: " << e.what() << '\n';
        return kFailure;
    }
}

}  // namespace dot11b::cli
