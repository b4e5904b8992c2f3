#include "waveform.hpp"

#include <algorithm>
#include <complex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/gen/run_configuration.hpp"
#include "cli/gen/summary.hpp"
#include "cli/gen/waveform_options.hpp"
#include "common/number_text.hpp"
#include "json_objects.hpp"
#include "keyword_options.hpp"
#include "owned_array.hpp"

namespace dot11b::python {
namespace {

namespace py = pybind11;

const std::vector<cli::OptionDescription>& waveform_table() {
    static const std::vector<cli::OptionDescription> table = cli::waveform_option_descriptions();
    return table;
}

// The keyword arguments, with payload=bytes taken out as user data octets.
struct Request {
    std::vector<cli::NamedOption> named;
    std::optional<std::vector<std::uint8_t>> payload;
};

Request request_of(const py::kwargs& keywords, const char* function) {
    py::dict options = keywords.attr("copy")();
    Request request;
    if (options.contains("payload")) {
        const py::object payload = options["payload"];
        if (PyBytes_Check(payload.ptr()) || PyByteArray_Check(payload.ptr()) || PyMemoryView_Check(payload.ptr())) {
            const std::string octets = py::bytes(py::module_::import("builtins").attr("bytes")(payload));
            request.payload.emplace(octets.begin(), octets.end());
            PyDict_DelItemString(options.ptr(), "payload");
        }
    }
    request.named = named_options(options, waveform_table(), function);
    return request;
}

cli::RunConfiguration configure(Request request) {
    return cli::configure_run(cli::parse_waveform_options(request.named, std::move(request.payload)));
}

// What generation hands over to Python: the core's result and the arrays'
// contents, made while the interpreter runs other threads.
struct Built {
    cli::GeneratedWaveform generated;
    std::vector<std::complex<float>> iq;
    std::vector<std::uint8_t> markers;
};

Built build(Request request) {
    cli::RunConfiguration run = configure(std::move(request));
    Built built{cli::build_waveform(run.parameters, run.settings, run.impairments, std::move(run.notes)), {}, {}};
    // The one conversion, to the float32 samples a .cf32 file also holds.
    const Samples& samples = built.generated.samples();
    built.iq.resize(samples.size());
    std::transform(samples.begin(), samples.end(), built.iq.begin(), [](const Complex& s) {
        return std::complex<float>(static_cast<float>(s.real()), static_cast<float>(s.imag()));
    });
    const std::size_t n = samples.size();
    const phy::FrameWaveform& frame = built.generated.calculation.frame;
    built.markers.assign(2 * n, 0);
    std::copy_n(frame.frame_marker.begin(), std::min(n, frame.frame_marker.size()), built.markers.begin());
    std::copy_n(frame.burst_marker.begin(), std::min(n, frame.burst_marker.size()), built.markers.begin() + n);
    return built;
}

Waveform generate(const py::kwargs& keywords) {
    Request request = request_of(keywords, "generate");
    std::optional<Built> built;
    {
        py::gil_scoped_release release;
        built.emplace(build(std::move(request)));
    }
    const auto n = static_cast<py::ssize_t>(built->iq.size());
    Waveform waveform;
    waveform.iq = read_only(owned_array(std::move(built->iq)));
    waveform.markers = read_only(owned_array(std::move(built->markers), {2, n}));
    waveform.generated = std::make_shared<const cli::GeneratedWaveform>(std::move(built->generated));
    return waveform;
}

long long estimate(const py::kwargs& keywords) {
    Request request = request_of(keywords, "estimate");
    py::gil_scoped_release release;
    return static_cast<long long>(cli::estimated_length(configure(std::move(request)).parameters));
}

std::string waveform_repr(const Waveform& w) {
    return "<dot11b.Waveform: " + std::to_string(w.generated->samples().size()) + " samples at " +
           number_text(w.generated->sample_rate() / 1e6) + " MHz, PSDU of " +
           std::to_string(w.generated->calculation.psdu.size() / 8) + " octets>";
}

constexpr const char* kGenerateDoc = R"(Builds one period of an IEEE 802.11b waveform, exactly as dot11b-gen does with
the same options. The keyword arguments are dot11b-gen's long options with "_"
for "-" and the values it takes; an option left out keeps its default, the
desktop application's start-up setting. payload may also be bytes: the user
data of the payload (at most 2312 octets), which then sets its length. A
list gives an option once per item, a dict once per KEY=VALUE entry:
mac={"Address1": "00:A0:C9:12:34:56", "SeqCntrl": "0010"}.

Raises TypeError for an unknown keyword, ValueError with dot11b-gen's message
for a value outside its range or a configuration the frame builder refuses,
and OSError for a parameter file that cannot be read. The interpreter runs
other threads while the waveform is built.

Options
-------
)";

constexpr const char* kEstimateDoc = R"(The projected length in samples of the waveform generate(**options) would
build, as dot11b-gen --estimate prints it, without building it. The options
are generate's. Raises ValueError at 22 and 33 Mbit/s, which the size
estimate does not cover.)";

}  // namespace

void bind_generation(py::module_& m) {
    py::class_<Waveform>(m, "Waveform", R"(One period of a generated waveform. It cannot be changed: the files
written from it hold the core's double-precision samples, and the arrays are
read-only views that stay valid for as long as they are referenced.)")
        .def_property_readonly(
            "iq", [](const Waveform& w) { return w.iq; },
            "The samples, a one-dimensional complex64 array (float32 I and Q, as a .cf32 file holds them).")
        .def_property_readonly(
            "markers", [](const Waveform& w) { return w.markers; },
            "The marker rows, a uint8 array of shape (2, N): row 0 the frame without its ramps, row 1 the burst "
            "with them.")
        .def_property_readonly(
            "sample_rate", [](const Waveform& w) { return w.generated->sample_rate(); }, "The sample rate in Hz.")
        .def_property_readonly(
            "psdu", [](const Waveform& w) {
                const std::vector<std::uint8_t> octets = w.generated->psdu_octets();
                return py::bytes(reinterpret_cast<const char*>(octets.data()), octets.size());
            },
            "The PSDU as bytes, each octet's first transmitted bit its least significant.")
        .def_property_readonly(
            "summary", [](const Waveform& w) { return python_object(cli::summary_json(*w.generated, {})); },
            "The dict dot11b-gen --json prints for this waveform (no files written).")
        .def("__len__", [](const Waveform& w) { return w.generated->samples().size(); }, "The number of samples.")
        .def(
            "__array__",
            [](const Waveform& w, const py::object& dtype, const py::object&) {
                return dtype.is_none() ? py::object(w.iq) : w.iq.attr("astype")(dtype);
            },
            py::arg("dtype") = py::none(), py::arg("copy") = py::none(), "The samples, for numpy.asarray.")
        .def("__repr__", &waveform_repr);

    const std::string options = options_docstring(waveform_table());
    m.def("generate", &generate, (kGenerateDoc + options).c_str());
    m.def("estimate", &estimate, (std::string(kEstimateDoc) + "\n\nOptions\n-------\n" + options).c_str());
}

}  // namespace dot11b::python
