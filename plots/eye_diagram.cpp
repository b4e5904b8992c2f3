#include "plots/eye_diagram.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/errors.hpp"
#include "common/is_integer.hpp"
#include "plots/automatic_limits.hpp"

namespace dot11b::plots {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Keeps a sample that lands on the eye's edge through rounding on the earlier side.
constexpr double kEdgeTolerance = 3.666852862501036e-11;

void check(const SignalColumns& x, double n, double period, double offset) {
    if (x.empty() || x.front().empty()) throw ConfigError("Input variable X is empty.");
    if (!(period > 0)) throw ConfigError("PERIOD must be a positive number.");
    if (!is_integer(n) || n <= 1) throw ConfigError("N must be an integer greater than 1.");
    if (!is_integer(offset) || offset < 0 || offset >= n) {
        throw ConfigError("OFFSET must be a integer in the range 0 <= OFFSET < N.");
    }
    if (x.size() > 2) throw ConfigError("Number of columns in the input data, X, cannot exceed 2.");
}

// Where a sample is drawn depends only on its phase k mod n, so the times are
// worked out once per phase.
struct PhaseTimes {
    std::vector<double> sample;       // the time of a sample of each phase
    std::vector<double> trace_start;  // after a break at a sample of each phase: where the next trace starts
};

PhaseTimes phase_times(std::size_t length, std::size_t n, double offset, double period) {
    // Position within the symbol, in symbols: the samples after the eye's
    // centre (offset/n + 1/2) belong to the start of the next trace.
    const auto symbols = static_cast<double>(n);
    std::vector<double> t(n);
    const double edge = std::fmod(offset / symbols + 0.5, 1) + kEdgeTolerance;
    for (std::size_t p = 0; p < n; ++p) {
        t[p] = static_cast<double>(p) / symbols;
        if (t[p] > edge) t[p] -= 1;
    }
    const std::size_t present = std::min(length, n);
    if (*std::max_element(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(present)) <= 0) {
        for (double& v : t) v += 1;
    }
    // Centred on the sampling instant given by the offset.
    const double half_n = symbols / 2 - 1;
    const double centre = std::fmod(offset + half_n, symbols) - half_n;
    const auto placed = [&](double v) { return std::fmod(v - centre / symbols, 1) * period; };
    PhaseTimes times;
    for (std::size_t p = 0; p < n; ++p) {
        times.sample.push_back(placed(t[p]));
        times.trace_start.push_back(placed(t[(p + 1) % n] - 1 / symbols));
    }
    return times;
}

// Smallest and largest value of each column, NaN aside.
std::vector<AxisRange> column_ranges(const SignalColumns& x) {
    std::vector<AxisRange> ranges;
    for (const auto& column : x) {
        AxisRange range{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
        for (const double v : column) {
            if (std::isnan(v)) continue;
            range.lower = std::min(range.lower, v);
            range.upper = std::max(range.upper, v);
        }
        ranges.push_back(range);
    }
    return ranges;
}

// +-1.05 times the largest magnitude, widened to what any one column's axes
// would pick for themselves, so that every axes shows the same whole ticks.
AxisRange amplitude_limits(const SignalColumns& x) {
    const std::vector<AxisRange> ranges = column_ranges(x);
    double largest = 0;
    for (const AxisRange& r : ranges) largest = std::max({largest, std::abs(r.lower), std::abs(r.upper)});
    AxisRange limits{-1.05 * largest, 1.05 * largest};
    for (const AxisRange& r : ranges) {
        const AxisRange own = automatic_limits(r);
        limits.lower = std::min(limits.lower, own.lower);
        limits.upper = std::max(limits.upper, own.upper);
    }
    return limits;
}

}  // namespace

EyeDiagram eye_diagram(const SignalColumns& x, double n, double period, double offset) {
    check(x, n, period, offset);
    const std::size_t length = x.front().size();
    const auto symbol = static_cast<std::size_t>(n);
    const PhaseTimes times = phase_times(length, symbol, offset, period);
    const std::size_t first_break = (static_cast<std::size_t>(offset) + symbol / 2) % symbol;

    EyeDiagram eye;
    eye.traces.resize(x.size());
    const std::size_t capacity = length + 2 * (length / symbol + 1);
    eye.time.reserve(capacity);
    for (auto& trace : eye.traces) trace.reserve(capacity);
    AxisRange span{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    const auto add_time = [&](double t) {
        eye.time.push_back(t);
        span.lower = std::min(span.lower, t);
        span.upper = std::max(span.upper, t);
    };
    for (std::size_t k = 0, phase = 0; k < length; ++k, phase = phase + 1 == symbol ? 0 : phase + 1) {
        add_time(times.sample[phase]);
        for (std::size_t c = 0; c < x.size(); ++c) eye.traces[c].push_back(x[c][k]);
        if (phase != first_break || k + 1 == length) continue;
        // Break the line, then repeat sample k one step before sample k+1, so
        // that the step from k to k+1 is drawn at the start of the next trace.
        eye.time.push_back(kNaN);
        add_time(times.trace_start[phase]);
        for (std::size_t c = 0; c < x.size(); ++c) {
            eye.traces[c].push_back(kNaN);
            eye.traces[c].push_back(x[c][k]);
        }
    }

    // A single sample has no span of its own; show it in one period.
    eye.x = span.lower == span.upper ? AxisRange{span.lower - period / 2, span.upper + period / 2} : span;
    eye.y = amplitude_limits(x);
    return eye;
}

}  // namespace dot11b::plots
