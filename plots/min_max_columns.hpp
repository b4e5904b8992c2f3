#pragma once
// Drawing data for long line plots: per pixel column of the visible range,
// only the smallest and the largest value, in the order they occur. The line
// drawn through them covers the same pixels as the full curve.

#include <cstddef>
#include <span>
#include <vector>

#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct LinePoints {
    std::vector<double> keys;
    std::vector<double> values;
};

// `keys` ascending. Returns the samples inside `visible` plus one neighbour on
// each side (so the line reaches the edges); when they are more than two per
// column, each column is reduced to its minimum and maximum, both at the key a
// quarter of a column from the column's left edge.
LinePoints min_max_columns(std::span<const double> keys, std::span<const double> values, AxisRange visible,
                           std::size_t columns);

}  // namespace dot11b::plots
