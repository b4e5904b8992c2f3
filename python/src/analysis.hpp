#pragma once
// dot11b.analyze and dot11b.analyze_file: dot11b-analyze's analysis and
// its JSON reports, with the tool's options as keyword arguments.

#include <pybind11/pybind11.h>

namespace dot11b::python {

void bind_analysis(pybind11::module_& module);

}  // namespace dot11b::python
