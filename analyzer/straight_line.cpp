#include "analyzer/straight_line.hpp"

#include "analyzer/partial_sums.hpp"

namespace dot11b::analyzer {

StraightLine fitted_line(std::span<const double> x, std::span<const double> y) {
    const auto n = static_cast<double>(x.size());
    const double mean_x = sum_of(x.size(), [x](std::size_t k) { return x[k]; }) / n;
    const double mean_y = sum_of(y.size(), [y](std::size_t k) { return y[k]; }) / n;
    const double covariance = sum_of(x.size(), [&](std::size_t k) { return (x[k] - mean_x) * (y[k] - mean_y); });
    const double variance = sum_of(x.size(), [&](std::size_t k) { return (x[k] - mean_x) * (x[k] - mean_x); });
    const double slope = covariance / variance;
    return {mean_y - slope * mean_x, slope};
}

// With x the index, its mean and the sum of its squared deviations are known:
// (n - 1) / 2 from the first and n (n^2 - 1) / 12.
StraightLine fitted_line_by_index(std::span<const double> values, std::size_t first, std::size_t last) {
    const std::size_t count = last - first;
    const auto n = static_cast<double>(count);
    const double* y = values.data() + first;
    const double middle = (n - 1) / 2;
    const double mean_y = sum_of(count, [y](std::size_t k) { return y[k]; }) / n;
    const double covariance =
        sum_of(count, [&](std::size_t k) { return (static_cast<double>(k) - middle) * (y[k] - mean_y); });
    const double slope = covariance / (n * (n * n - 1) / 12);
    return {mean_y - slope * (static_cast<double>(first) + middle), slope};
}

}  // namespace dot11b::analyzer
