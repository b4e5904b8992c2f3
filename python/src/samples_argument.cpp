#include "samples_argument.hpp"

namespace dot11b::python {

namespace py = pybind11;

SamplesArgument::SamplesArgument(const py::object& samples, const std::string& function) : array_(samples) {
    if (array_.ndim() != 1) {
        throw py::value_error(function + "(): the samples must be a one-dimensional array, not of shape " +
                              std::string(py::str(array_.attr("shape"))));
    }
}

}  // namespace dot11b::python
