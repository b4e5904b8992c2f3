#include "files.hpp"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include "analyzer/reference_filter.hpp"
#include "app/waveform_files/marker_file.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "app/waveform_files/waveform_writer.hpp"
#include "cli/gen/outputs.hpp"
#include "common/durable_file.hpp"
#include "common/number_text.hpp"
#include "owned_array.hpp"
#include "samples_argument.hpp"
#include "waveform.hpp"

namespace dot11b::python {
namespace {

namespace py = pybind11;
namespace fs = std::filesystem;

struct Recording {
    py::array iq;  // complex128
    double sample_rate = 0;
    std::optional<double> frequency;
    py::object markers = py::none();  // uint8 (2, N), or None
    std::string description;
    std::optional<std::string> filter;  // as analyze()'s reference_filter takes it
};

using MarkerArray = py::array_t<std::uint8_t, py::array::c_style | py::array::forcecast>;

// Marker rows as given: an array of shape (2, N), row 0 the frame, N the
// number of samples when they come with samples.
MarkerArray marker_rows(const py::object& markers, const std::string& function,
                        std::optional<std::size_t> samples = std::nullopt) {
    MarkerArray rows(markers);
    const bool fits = rows.ndim() == 2 && rows.shape(0) == 2 &&
                      (!samples || static_cast<std::size_t>(rows.shape(1)) == *samples);
    if (!fits) {
        throw py::value_error(function + "(): the markers must be an array of shape (2, " +
                              (samples ? std::to_string(*samples) : std::string("N")) + "), not " +
                              std::string(py::str(rows.attr("shape"))));
    }
    return rows;
}

BitSpan row(const MarkerArray& rows, py::ssize_t index) {
    const auto n = static_cast<std::size_t>(rows.shape(1));
    return {rows.data() + index * rows.shape(1), n};
}

Recording read(const fs::path& path, std::optional<double> sample_rate) {
    waveform_files::Recording read;
    {
        py::gil_scoped_release release;
        read = waveform_files::read_recording(path, waveform_files::ReadOptions{sample_rate});
    }
    Recording recording;
    const auto n = static_cast<py::ssize_t>(read.samples.size());
    if (!read.frame_marker.empty()) {
        std::vector<std::uint8_t> rows = std::move(read.frame_marker);
        rows.insert(rows.end(), read.burst_marker.begin(), read.burst_marker.end());
        recording.markers = owned_array(std::move(rows), {2, n});
    }
    recording.iq = owned_array(std::move(read.samples));
    recording.sample_rate = read.sample_rate_hz;
    recording.frequency = read.center_frequency_hz;
    recording.description = std::move(read.description);
    if (read.pulse_filter) {
        const auto& f = *read.pulse_filter;
        if (const auto filter = analyzer::described_filter(f.type, f.factor, f.length_symbols)) {
            recording.filter = analyzer::reference_filter_text(*filter);
        }
    }
    return recording;
}

std::vector<std::string> path_texts(const std::vector<fs::path>& paths) {
    std::vector<std::string> texts;
    for (const auto& path : paths) texts.push_back(path.string());
    return texts;
}

// A generated waveform goes through dot11b-gen's own output code.
std::vector<std::string> write_waveform(const fs::path& path, const Waveform& waveform) {
    cli::OutputOptions options;
    options.outputs.push_back(path.string());
    py::gil_scoped_release release;
    return path_texts(cli::write_outputs(options, *waveform.generated));
}

std::vector<std::string> write(const fs::path& path, const py::object& data, std::optional<double> sample_rate,
                               const py::object& markers) {
    if (py::isinstance<Waveform>(data)) {
        if (sample_rate || !markers.is_none()) {
            throw py::value_error("write(): a Waveform carries its own sample rate and markers");
        }
        return write_waveform(path, data.cast<const Waveform&>());
    }
    waveform_files::WaveformOutput output;
    output.recorder = "dot11b";
    py::object iq = data;
    py::object marker_source = markers;
    if (py::isinstance<Recording>(data)) {
        const auto& recording = data.cast<const Recording&>();
        iq = recording.iq;
        if (!sample_rate) sample_rate = recording.sample_rate;
        if (marker_source.is_none()) marker_source = recording.markers;
        output.center_frequency_hz = recording.frequency;
        output.description = recording.description;
    }
    const SamplesArgument samples(iq, "write");
    output.samples = samples.span();
    output.sample_rate_hz = sample_rate.value_or(0);
    std::optional<MarkerArray> rows;
    if (!marker_source.is_none()) {
        rows = marker_rows(marker_source, "write", output.samples.size());
        output.frame_marker = row(*rows, 0);
        output.burst_marker = row(*rows, 1);
    }
    py::gil_scoped_release release;
    DurableFileSet files;
    const std::vector<fs::path> written = waveform_files::stage_waveform(files, path, output);
    files.commit();
    return path_texts(written);
}

void write_markers(const fs::path& path, const py::object& markers) {
    const py::object source = py::isinstance<Waveform>(markers) ? py::object(markers.cast<const Waveform&>().markers)
                                                                  : markers;
    const MarkerArray rows = marker_rows(source, "write_markers");
    py::gil_scoped_release release;
    write_file_durably(path, waveform_files::marker_bytes(row(rows, 0), row(rows, 1)));
}

std::string recording_repr(const Recording& r) {
    return "<dot11b.Recording: " + std::to_string(r.iq.size()) + " samples at " + number_text(r.sample_rate / 1e6) +
           " MHz" + (r.frequency ? ", carrier " + number_text(*r.frequency / 1e6) + " MHz" : std::string()) +
           (r.markers.is_none() ? "" : ", with markers") + ">";
}

}  // namespace

void bind_files(py::module_& m) {
    py::class_<Recording>(m, "Recording", "A waveform read from a file by read().")
        .def_readonly("iq", &Recording::iq,
                      "The samples, a one-dimensional complex128 array: the reader's own buffer, not a copy.")
        .def_readonly("sample_rate", &Recording::sample_rate, "The sample rate in Hz: the file's, or the one given.")
        .def_readonly("frequency", &Recording::frequency,
                      "The carrier frequency in Hz a SigMF recording names, else None.")
        .def_readonly("markers", &Recording::markers,
                      "The marker rows of a SigMF recording's frame and burst annotations, a uint8 array of shape "
                      "(2, N); None for files without them.")
        .def_readonly("description", &Recording::description, "A SigMF recording's description, else empty.")
        .def_readonly("filter", &Recording::filter,
                      "The transmitter's pulse a SigMF recording names (dot11b:filter), as analyze()'s "
                      "reference_filter takes it, else None.")
        .def("__len__", [](const Recording& r) { return r.iq.size(); }, "The number of samples.")
        .def(
            "__array__",
            [](const Recording& r, const py::object& dtype, const py::object&) {
                return dtype.is_none() ? py::object(r.iq) : r.iq.attr("astype")(dtype);
            },
            py::arg("dtype") = py::none(), py::arg("copy") = py::none(), "The samples, for numpy.asarray.")
        .def("__repr__", &recording_repr);

    m.def("read", &read, py::arg("path"), py::arg("sample_rate") = py::none(),
          R"(Reads a waveform file in the format of its extension, as dot11b-analyze and
dot11b-plot do: .wfm (words divided by 32766), .cf32, a SigMF recording
(.sigmf-meta or .sigmf-data; cf32_le, ci16_le or ci8) or a Save Wave .mat.
sample_rate (Hz) is needed for .wfm and .cf32 files, which hold none. Returns
a Recording; raises OSError naming the file when it cannot be read or its
contents are not valid, ValueError for an unknown extension or a missing rate.)");
    m.def("write", &write, py::arg("path"), py::arg("waveform_or_iq"), py::arg("sample_rate") = py::none(),
          py::arg("markers") = py::none(),
          R"(Writes a waveform in the format of the file's extension: .wfm, .cf32,
.sigmf-meta or .sigmf-data (both files of the recording) or .mat. A Waveform
gives the same bytes as dot11b-gen -o for the same options. A Recording or an
array of samples (with sample_rate in Hz, needed by SigMF and .mat, and
optionally markers of shape (2, N) for the SigMF annotations) is written as
it is. The files replace their targets only once all are complete, so an
error leaves none behind. Returns the paths written.)");
    m.def("write_markers", &write_markers, py::arg("path"), py::arg("markers"),
          R"(Writes the markers file of dot11b-gen --markers: one byte per sample, bit 0
the frame row and bit 1 the burst row. markers is a Waveform or an array of
shape (2, N).)");
}

}  // namespace dot11b::python
