#include "analyzer/straight_line.hpp"

namespace dot11b::analyzer {
namespace {

// The line from sums over n points: x and y less their means.
template <typename X>
StraightLine line_through(std::size_t n, X x_of, std::span<const double> y) {
    double mean_x = 0, mean_y = 0;
    for (std::size_t k = 0; k < n; ++k) {
        mean_x += x_of(k);
        mean_y += y[k];
    }
    mean_x /= static_cast<double>(n);
    mean_y /= static_cast<double>(n);
    double covariance = 0, variance = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double dx = x_of(k) - mean_x;
        covariance += dx * (y[k] - mean_y);
        variance += dx * dx;
    }
    const double slope = covariance / variance;
    return {mean_y - slope * mean_x, slope};
}

}  // namespace

StraightLine fitted_line(std::span<const double> x, std::span<const double> y) {
    return line_through(x.size(), [x](std::size_t k) { return x[k]; }, y);
}

StraightLine fitted_line_by_index(std::span<const double> values, std::size_t first, std::size_t last) {
    return line_through(
        last - first, [first](std::size_t k) { return static_cast<double>(first + k); },
        values.subspan(first, last - first));
}

}  // namespace dot11b::analyzer
