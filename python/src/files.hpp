#pragma once
// dot11b.Recording, dot11b.read, dot11b.write and dot11b.write_markers: the
// waveform file formats of the tools, chosen by the file's extension.

#include <pybind11/pybind11.h>

namespace dot11b::python {

void bind_files(pybind11::module_& module);

}  // namespace dot11b::python
