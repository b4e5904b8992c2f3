// The dot11b extension module: the generator, the analyser, the waveform
// files and the plot computations of the library, with numpy arrays.

#include <exception>

#include <pybind11/pybind11.h>

#include "analysis.hpp"
#include "cli/named_options/named_options.hpp"
#include "common/errors.hpp"
#include "files.hpp"
#include "plots.hpp"
#include "waveform.hpp"

namespace py = pybind11;

PYBIND11_MODULE(_dot11b, m) {
    m.doc() = "IEEE 802.11b waveforms: generation, analysis, waveform files and plot curves.";
    // The library's errors as the Python errors of the same meaning.
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const dot11b::cli::UnknownOption& e) {
            PyErr_SetString(PyExc_TypeError, e.what());
        } catch (const dot11b::ConfigError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const dot11b::IoError& e) {
            PyErr_SetString(PyExc_OSError, e.what());
        }
    });
    dot11b::python::bind_generation(m);
    dot11b::python::bind_analysis(m);
    dot11b::python::bind_files(m);
    py::module_ plots = m.def_submodule("plots");
    dot11b::python::bind_plots(plots);
}
