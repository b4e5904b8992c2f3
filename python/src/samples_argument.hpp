#pragma once
// Samples handed in from Python: any array-like numpy can read as complex
// numbers, seen as the core's double-precision samples. A C-ordered complex128
// array is used where it lies; anything else is converted once.

#include <complex>
#include <string>

#include <pybind11/numpy.h>

#include "common/types.hpp"

namespace dot11b::python {

class SamplesArgument {
public:
    // Raises ValueError naming `function` unless the samples are one-dimensional.
    SamplesArgument(const pybind11::object& samples, const std::string& function);

    // Valid for as long as this object lives; safe to read without the GIL.
    SampleSpan span() const { return {array_.data(), static_cast<std::size_t>(array_.size())}; }

private:
    pybind11::array_t<std::complex<double>, pybind11::array::c_style | pybind11::array::forcecast> array_;
};

}  // namespace dot11b::python
