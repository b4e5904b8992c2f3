#pragma once
// Eye diagram traces: every symbol of the signal drawn over one symbol
// period, with the traces separated by NaN breaks.

#include <vector>

#include "plots/axis_range.hpp"
#include "plots/signal_columns.hpp"

namespace dot11b::plots {

struct EyeDiagram {
    std::vector<double> time;                 // symbol time times period; NaN at each break
    std::vector<std::vector<double>> traces;  // one per signal column, NaN at each break
    AxisRange x;                              // the time span of the traces
    AxisRange y;                              // the same for every column: +-1.05 times the largest
                                              // magnitude, or wider to each column's automatic limits
};

// n samples per symbol (an integer above 1), period the width of one symbol
// on the time axis, offset the samples before the first symbol (0 <= offset < n).
// Throws ConfigError with the message of the first check that fails.
EyeDiagram eye_diagram(const SignalColumns& x, double n, double period, double offset);

}  // namespace dot11b::plots
