#include "plots.hpp"

#include <utility>
#include <vector>

#include <pybind11/numpy.h>

#include "owned_array.hpp"
#include "plots/ccdf.hpp"
#include "plots/chip_timing.hpp"
#include "plots/spectrum.hpp"
#include "samples_argument.hpp"

namespace dot11b::python {
namespace {

namespace py = pybind11;

py::tuple limits(const plots::AxisRange& range) { return py::make_tuple(range.lower, range.upper); }

// The views' results as attributes: numpy arrays and (lower, upper) axis limits.
py::object view(py::dict fields) { return py::module_::import("types").attr("SimpleNamespace")(**fields); }

template <typename Compute>
auto computed(const py::object& iq, const char* function, Compute compute) {
    const SamplesArgument samples(iq, function);
    py::gil_scoped_release release;
    return compute(samples.span());
}

py::object spectrum(const py::object& iq, double sample_rate) {
    plots::Spectrum s = computed(iq, "spectrum", [&](SampleSpan x) { return plots::magnitude_spectrum(x, sample_rate); });
    py::dict fields;
    fields["frequency"] = owned_array(std::move(s.frequency));
    fields["magnitude_db"] = owned_array(std::move(s.magnitude_db));
    fields["frequency_units"] = s.frequency_units;
    fields["x_limits"] = limits(s.x);
    fields["y_limits"] = limits(s.y);
    return view(fields);
}

py::object ccdf(const py::object& iq) {
    plots::Ccdf c = computed(iq, "ccdf", [](SampleSpan x) { return plots::ccdf(x); });
    py::dict fields;
    fields["level_db"] = owned_array(std::move(c.level_db));
    fields["percent"] = owned_array(std::move(c.percent));
    fields["reference"] = owned_array(std::move(c.reference));
    fields["real_wave"] = c.real_wave;
    fields["x_limits"] = limits(c.x);
    fields["y_limits"] = limits(c.y);
    fields["x_ticks"] = owned_array(std::move(c.x_ticks));
    return view(fields);
}

py::object eye(const py::object& iq, double sample_rate, double symbol_delay) {
    plots::EyeDiagram e =
        computed(iq, "eye", [&](SampleSpan x) { return plots::chip_eye_diagram(x, sample_rate, symbol_delay); });
    py::dict fields;
    fields["time"] = owned_array(std::move(e.time));
    fields["i"] = owned_array(std::move(e.traces.at(0)));
    fields["q"] = owned_array(std::move(e.traces.at(1)));
    fields["x_limits"] = limits(e.x);
    fields["y_limits"] = limits(e.y);
    return view(fields);
}

}  // namespace

void bind_plots(py::module_& m) {
    m.doc() = "The curves the plot views of dot11b-studio and dot11b-plot draw, as numpy arrays.";
    m.def("spectrum", &spectrum, py::arg("iq"), py::arg("sample_rate"),
          R"(The magnitude spectrum of the whole waveform, normalised to 0 dB at its peak.
Returns an object with frequency (in frequency_units: "Hz", "kHz", "MHz" or
"GHz", ascending), magnitude_db, and the views' axis limits x_limits and
y_limits as (lower, upper).)");
    m.def("ccdf", &ccdf, py::arg("iq"),
          R"(The complementary cumulative distribution of the instantaneous power: for each
level_db above the average power, the percent of samples reaching it, and the
reference curve of Gaussian noise (of real noise when real_wave). Also x_limits,
y_limits (for a logarithmic axis) and x_ticks.)");
    m.def("eye", &eye, py::arg("iq"), py::arg("sample_rate"), py::arg("symbol_delay") = 0.0,
          R"(The eye diagram of I and Q over the 802.11b chip timing at the sample rate:
time (in chips) with the traces i and q, NaN at each break between symbols,
and x_limits, y_limits. symbol_delay (0 to 1) shifts the symbols by that part
of a symbol; ValueError outside that range, or for a sample_rate outside
0 to 1 GHz.)");
}

}  // namespace dot11b::python
