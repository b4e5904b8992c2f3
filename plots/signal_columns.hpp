#pragma once
// A signal as the eye and scatter plots take it: one real column, or the
// in-phase and quadrature parts of a complex signal as two columns.

#include <vector>

#include "common/types.hpp"

namespace dot11b::plots {

using SignalColumns = std::vector<std::vector<double>>;

// Two columns: real parts, imaginary parts.
SignalColumns iq_columns(SampleSpan x);

}  // namespace dot11b::plots
