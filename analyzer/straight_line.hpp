#pragma once
// Least-squares straight lines: the chip clock through instants.

#include <cstddef>
#include <span>

namespace dot11b::analyzer {

struct StraightLine {
    double intercept = 0;
    double slope = 0;
    double at(double x) const { return intercept + slope * x; }
};

// The line through the points (x, y).
StraightLine fitted_line(std::span<const double> x, std::span<const double> y);

// The line through the points (k, values[k]) for k in [first, last).
StraightLine fitted_line_by_index(std::span<const double> values, std::size_t first, std::size_t last);

}  // namespace dot11b::analyzer
