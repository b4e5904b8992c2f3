#include "plots/density_image.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::plots {
namespace {

class Grid {
public:
    Grid(AxisRange x, AxisRange y, std::size_t columns, std::size_t rows)
        : image_{columns, rows, x, y, std::vector<double>(columns * rows, 0.0)},
          x_scale_(static_cast<double>(columns) / (x.upper - x.lower)),
          y_scale_(static_cast<double>(rows) / (y.upper - y.lower)) {}

    // Position in cells, continuous.
    double column_of(double x) const { return (x - image_.x.lower) * x_scale_; }
    double row_of(double y) const { return (y - image_.y.lower) * y_scale_; }

    void count(double column, double row) {
        if (!(column >= 0 && row >= 0)) return;
        const auto c = static_cast<std::size_t>(column);
        const auto r = static_cast<std::size_t>(row);
        if (c < image_.columns && r < image_.rows) image_.counts[r * image_.columns + c] += 1;
    }

    DensityImage take() { return std::move(image_); }

private:
    DensityImage image_;
    double x_scale_;
    double y_scale_;
};

}  // namespace

DensityImage line_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                          AxisRange y_range, std::size_t columns, std::size_t rows) {
    Grid grid(x_range, y_range, columns, rows);
    for (std::size_t k = 0; k + 1 < x.size(); ++k) {
        const double c0 = grid.column_of(x[k]);
        const double r0 = grid.row_of(y[k]);
        const double c1 = grid.column_of(x[k + 1]);
        const double r1 = grid.row_of(y[k + 1]);
        if (std::isnan(c0 + r0 + c1 + r1)) continue;
        // One step per cell crossed along the longer direction; the end point
        // is the start of the next segment and counted there, unless the line ends.
        const double span = std::max(std::abs(c1 - c0), std::abs(r1 - r0));
        const auto steps = static_cast<std::size_t>(std::ceil(std::min(span, 1e6))) + (span == 0 ? 1 : 0);
        const double column_step = (c1 - c0) / static_cast<double>(steps);
        const double row_step = (r1 - r0) / static_cast<double>(steps);
        double column = c0;
        double row = r0;
        for (std::size_t s = 0; s < steps; ++s, column += column_step, row += row_step) grid.count(column, row);
        const bool line_ends = k + 2 == x.size() || std::isnan(x[k + 2] + y[k + 2]);
        if (line_ends) grid.count(c1, r1);
    }
    return grid.take();
}

DensityImage point_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                           AxisRange y_range, std::size_t columns, std::size_t rows) {
    Grid grid(x_range, y_range, columns, rows);
    for (std::size_t k = 0; k < x.size(); ++k) grid.count(grid.column_of(x[k]), grid.row_of(y[k]));
    return grid.take();
}

DensityImage downsampled(const DensityImage& image, std::size_t columns, std::size_t rows) {
    columns = std::clamp<std::size_t>(columns, 1, image.columns);
    rows = std::clamp<std::size_t>(rows, 1, image.rows);
    DensityImage result{columns, rows, image.x, image.y, std::vector<double>(columns * rows, 0.0)};
    for (std::size_t r = 0; r < image.rows; ++r) {
        const std::size_t target_row = r * rows / image.rows;
        for (std::size_t c = 0; c < image.columns; ++c) {
            result.counts[target_row * columns + c * columns / image.columns] += image.counts[r * image.columns + c];
        }
    }
    return result;
}

LinePoints occupied_cells(const DensityImage& image) {
    LinePoints centres;
    const double width = (image.x.upper - image.x.lower) / static_cast<double>(image.columns);
    const double height = (image.y.upper - image.y.lower) / static_cast<double>(image.rows);
    for (std::size_t r = 0; r < image.rows; ++r) {
        for (std::size_t c = 0; c < image.columns; ++c) {
            if (image.counts[r * image.columns + c] == 0) continue;
            centres.keys.push_back(image.x.lower + (static_cast<double>(c) + 0.5) * width);
            centres.values.push_back(image.y.lower + (static_cast<double>(r) + 0.5) * height);
        }
    }
    return centres;
}

}  // namespace dot11b::plots
