#include "analysis.hpp"

#include <complex>
#include <filesystem>
#include <optional>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl/filesystem.h>

#include "cli/analyze/analyze_options.hpp"
#include "cli/analyze/json_report.hpp"
#include "json_objects.hpp"
#include "keyword_options.hpp"
#include "samples_argument.hpp"

namespace dot11b::python {
namespace {

namespace py = pybind11;

// The analysis options alone, and with the recording options for files.
const std::vector<cli::OptionDescription>& analysis_table(bool with_recording_options) {
    const auto describe = [](bool recording) {
        CLI::App app;
        cli::AnalyzeOptions options;
        if (recording) options.add_recording_options_to(app);
        options.add_analysis_options_to(app);
        return cli::describe_options(app);
    };
    static const std::vector<cli::OptionDescription> samples_table = describe(false);
    static const std::vector<cli::OptionDescription> file_table = describe(true);
    return with_recording_options ? file_table : samples_table;
}

py::list analyze(const py::object& iq, double sample_rate, const py::kwargs& keywords) {
    const std::vector<cli::NamedOption> named = named_options(keywords, analysis_table(false), "analyze");
    const SamplesArgument samples(iq, "analyze");
    std::vector<nlohmann::ordered_json> reports;
    {
        py::gil_scoped_release release;
        const cli::AnalyzeOptions options = cli::parse_analyze_options(named, false);
        reports = cli::report_json(analyzer::analyse(samples.span(), sample_rate, options.analysis_options(std::nullopt)));
    }
    return python_list(reports);
}

py::list analyze_file(const std::filesystem::path& path, const py::kwargs& keywords) {
    const std::vector<cli::NamedOption> named = named_options(keywords, analysis_table(true), "analyze_file");
    std::vector<nlohmann::ordered_json> reports;
    {
        py::gil_scoped_release release;
        cli::AnalyzeOptions options = cli::parse_analyze_options(named, true);
        options.file = path.string();
        reports = cli::report_json(cli::analyse_file(options));
    }
    return python_list(reports);
}

constexpr const char* kAnalyzeDoc = R"(Finds every IEEE 802.11b burst of the samples, decodes it and makes the
transmitter measurements, as dot11b-analyze does with a recording of them.

iq is a one-dimensional array of complex samples (complex128 is used as it
is; other types are converted), sample_rate is in Hz (11 MHz to 1 GHz). The
keyword arguments are dot11b-analyze's options with "_" for "-".

Returns a list of dicts, exactly the objects dot11b-analyze --json prints:
one per burst, or one whose "burst" is None when there is none. Raises
TypeError for an unknown keyword and ValueError for a value it refuses. The
interpreter runs other threads during the analysis.

Options
-------
)";

constexpr const char* kAnalyzeFileDoc = R"(Analyses a recording file as dot11b-analyze FILE --json does: any
format the tool reads (.wfm, .cf32, .sigmf-meta/.sigmf-data, Save Wave .mat),
chosen by the extension. sample_rate is needed for .wfm and .cf32 files,
which do not hold one. Returns the same list as analyze(); raises OSError for
a file that cannot be read.

Options
-------
)";

}  // namespace

void bind_analysis(py::module_& m) {
    m.def("analyze", &analyze, py::arg("iq"), py::arg("sample_rate"),
          (kAnalyzeDoc + options_docstring(analysis_table(false))).c_str());
    m.def("analyze_file", &analyze_file, py::arg("path"),
          (kAnalyzeFileDoc + options_docstring(analysis_table(true))).c_str());
}

}  // namespace dot11b::python
