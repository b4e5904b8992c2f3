#include "plots/eye_diagram.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/errors.hpp"
#include "plots/automatic_limits.hpp"

namespace dot11b::plots {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Keeps a sample that lands on the eye's edge through rounding on the earlier side.
constexpr double kEdgeTolerance = 3.666852862501036e-11;

bool is_integer(double v) { return std::isfinite(v) && std::floor(v) == v; }

void check(const SignalColumns& x, double n, double period, double offset) {
    if (x.empty() || x.front().empty()) throw ConfigError("Input variable X is empty.");
    if (!(period > 0)) throw ConfigError("PERIOD must be a positive number.");
    if (!is_integer(n) || n <= 1) throw ConfigError("N must be an integer greater than 1.");
    if (!is_integer(offset) || offset < 0 || offset >= n) {
        throw ConfigError("OFFSET must be a integer in the range 0 <= OFFSET < N.");
    }
    if (x.size() > 2) throw ConfigError("Number of columns in the input data, X, cannot exceed 2.");
}

// Position of each sample within its symbol, in symbols: the samples after
// the eye's centre (offset/n + 1/2) belong to the start of the next trace.
std::vector<double> symbol_times(std::size_t length, double n, double offset) {
    std::vector<double> t(length);
    const double edge = std::fmod(offset / n + 0.5, 1) + kEdgeTolerance;
    for (std::size_t k = 0; k < length; ++k) {
        t[k] = std::fmod(static_cast<double>(k) / n, 1);
        if (t[k] > edge) t[k] -= 1;
    }
    if (*std::max_element(t.begin(), t.end()) <= 0) {
        for (double& v : t) v += 1;
    }
    return t;
}

AxisRange data_range(const std::vector<double>& values) {
    AxisRange range{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const double v : values) {
        if (std::isnan(v)) continue;
        range.lower = std::min(range.lower, v);
        range.upper = std::max(range.upper, v);
    }
    return range;
}

AxisRange span_of(const std::vector<double>& values, double period) {
    const AxisRange range = data_range(values);
    // A single sample has no span of its own; show it in one period.
    if (range.lower == range.upper) return {range.lower - period / 2, range.upper + period / 2};
    return range;
}

// +-1.05 times the largest magnitude, widened to what any one column's axes
// would pick for themselves, so that every axes shows the same whole ticks.
AxisRange amplitude_limits(const SignalColumns& x) {
    const double margin = 1.05 * largest_magnitude(x);
    AxisRange limits{-margin, margin};
    for (const auto& column : x) {
        const AxisRange own = automatic_limits(data_range(column));
        limits.lower = std::min(limits.lower, own.lower);
        limits.upper = std::max(limits.upper, own.upper);
    }
    return limits;
}

}  // namespace

EyeDiagram eye_diagram(const SignalColumns& x, double n, double period, double offset) {
    check(x, n, period, offset);
    const std::size_t length = x.front().size();
    const std::vector<double> t = symbol_times(length, n, offset);
    const auto symbol = static_cast<std::size_t>(n);
    const std::size_t first_break = (static_cast<std::size_t>(offset) + symbol / 2) % symbol;

    EyeDiagram eye;
    eye.traces.resize(x.size());
    const std::size_t capacity = length + 2 * (length / symbol + 1);
    eye.time.reserve(capacity);
    for (auto& trace : eye.traces) trace.reserve(capacity);
    for (std::size_t k = 0; k < length; ++k) {
        eye.time.push_back(t[k]);
        for (std::size_t c = 0; c < x.size(); ++c) eye.traces[c].push_back(x[c][k]);
        const bool trace_ends = k >= first_break && (k - first_break) % symbol == 0 && k + 1 < length;
        if (!trace_ends) continue;
        // Break the line, then repeat sample k one step before sample k+1, so
        // that the step from k to k+1 is drawn at the start of the next trace.
        eye.time.push_back(kNaN);
        eye.time.push_back(t[k + 1] - 1 / n);
        for (std::size_t c = 0; c < x.size(); ++c) {
            eye.traces[c].push_back(kNaN);
            eye.traces[c].push_back(x[c][k]);
        }
    }

    // Centre the eye on the sampling instant given by the offset.
    const double half_n = n / 2 - 1;
    const double centre = std::fmod(offset + half_n, n) - half_n;
    for (double& v : eye.time) v = std::fmod(v - centre / n, 1) * period;

    eye.x = span_of(eye.time, period);
    eye.y = amplitude_limits(x);
    return eye;
}

}  // namespace dot11b::plots
