#pragma once
// dot11b.Waveform and dot11b.generate / dot11b.estimate: dot11b-gen's
// waveform options as keyword arguments, parsed and built by its own code.

#include <memory>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "cli/gen/generated_waveform.hpp"

namespace dot11b::python {

// Immutable: the files are written from the double-precision samples the core
// built, so the arrays shown beside them are read-only.
struct Waveform {
    std::shared_ptr<const cli::GeneratedWaveform> generated;
    pybind11::array iq;       // complex64, one per sample
    pybind11::array markers;  // uint8, (2, samples): the frame row, then the burst row
};

void bind_generation(pybind11::module_& module);

}  // namespace dot11b::python
