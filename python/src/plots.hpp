#pragma once
// dot11b.plots: the curves the spectrum, CCDF and eye views draw, for matplotlib.

#include <pybind11/pybind11.h>

namespace dot11b::python {

void bind_plots(pybind11::module_& plots);

}  // namespace dot11b::python
