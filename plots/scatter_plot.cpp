#include "plots/scatter_plot.hpp"

#include <algorithm>
#include <cmath>

#include "common/errors.hpp"
#include "common/is_integer.hpp"

namespace dot11b::plots {

ScatterPoints scatter_points(const SignalColumns& x, double n, double offset, double axes_limit) {
    if (x.empty() || x.front().empty()) throw ConfigError("Input variable X is empty.");
    if (!is_integer(n) || n <= 0) throw ConfigError("N must be a positive integer.");
    if (!is_integer(offset) || offset < 0) throw ConfigError("OFFSET must be a nonnegative integer.");
    if (x.size() > 2) throw ConfigError("Number of columns in the input data, X, cannot exceed 2.");

    const std::size_t length = x.front().size();
    const auto step = static_cast<std::size_t>(n);
    ScatterPoints points;
    double largest = 0;
    for (auto k = static_cast<std::size_t>(std::min(offset, static_cast<double>(length))); k < length; k += step) {
        const double i = x[0][k];
        const double q = x.size() == 2 ? x[1][k] : 0;
        points.in_phase.push_back(i);
        points.quadrature.push_back(q);
        largest = std::max({largest, std::abs(i), std::abs(q)});
    }
    points.limit = std::max(1.07 * largest, std::abs(axes_limit));
    return points;
}

}  // namespace dot11b::plots
