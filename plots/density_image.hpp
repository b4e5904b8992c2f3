#pragma once
// Drawing data for eye and scatter views of long signals: how often the
// traces or points pass through each cell of a grid over the axes. Tens of
// thousands of overlapping traces read better, and draw far faster, as one image.

#include <cstddef>
#include <span>
#include <vector>

#include "plots/axis_range.hpp"
#include "plots/min_max_columns.hpp"

namespace dot11b::plots {

// Signals with more points than this are drawn as density images.
inline constexpr std::size_t kDensityImageAbove = 100000;

struct DensityImage {
    std::size_t columns = 0;
    std::size_t rows = 0;
    AxisRange x;
    AxisRange y;
    std::vector<double> counts;  // [row * columns + column]; row 0 at y.lower, column 0 at x.lower
};

// Every segment between consecutive points is walked cell by cell, so a line
// leaves a continuous track. A NaN point breaks the line.
DensityImage line_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                          AxisRange y_range, std::size_t columns, std::size_t rows);

// Each point counts once in its cell.
DensityImage point_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                           AxisRange y_range, std::size_t columns, std::size_t rows);

// The image with fewer cells, each the sum of the cells it covers, so that a
// grid finer than the screen loses no track when drawn: columns and rows at
// most those of `image`.
DensityImage downsampled(const DensityImage& image, std::size_t columns, std::size_t rows);

// The centres of the cells that hold anything: many points that coincide on
// screen, drawn once each.
LinePoints occupied_cells(const DensityImage& image);

}  // namespace dot11b::plots
