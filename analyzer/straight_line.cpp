#include "analyzer/straight_line.hpp"

#include <array>

namespace dot11b::analyzer {
namespace {

// Four partial sums, each over every fourth term, so that the additions of a
// term do not wait on those of the one before.
template <typename Term>
double sum_of(std::size_t n, Term term) {
    std::array<double, 4> parts{};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        for (std::size_t j = 0; j < 4; ++j) parts[j] += term(k + j);
    }
    for (; k < n; ++k) parts[0] += term(k);
    return (parts[0] + parts[1]) + (parts[2] + parts[3]);
}

// The line from sums over n points: x and y less their means.
template <typename X>
StraightLine line_through(std::size_t n, X x_of, std::span<const double> y) {
    const double count = static_cast<double>(n);
    const double mean_x = sum_of(n, x_of) / count;
    const double mean_y = sum_of(n, [y](std::size_t k) { return y[k]; }) / count;
    const double covariance = sum_of(n, [&](std::size_t k) { return (x_of(k) - mean_x) * (y[k] - mean_y); });
    const double variance = sum_of(n, [&](std::size_t k) { return (x_of(k) - mean_x) * (x_of(k) - mean_x); });
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
