#include "analyzer/reference_filter.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace dot11b::analyzer {
namespace {

// A one-chip rectangle through a Gaussian of bandwidth-time product bt is
// erf(k (1 - 2t)) + erf(k (1 + 2t)); its derivative in closed form. The table
// takes a central difference over +-0.01 chip, within 0.5 % even at BT 1.
double gaussian_pulse_derivative(double t, double bt) {
    const double sigma = std::sqrt(std::log(2.0)) / (2 * std::numbers::pi * bt);
    const double k = std::sqrt(2.0) / (4 * sigma);
    const double a = k * (1 - 2 * t), b = k * (1 + 2 * t);
    return 4 * k / std::sqrt(std::numbers::pi) * (std::exp(-b * b) - std::exp(-a * a));
}

TEST(PulseTable, TheSlopeTableIsThePulsesDerivative) {
    for (const double bt : {0.3, 0.5, 1.0}) {
        const PulseTable slope = PulseTable({PulseShape::Gaussian, bt, 6}, 0).slope(0.01);
        for (const double t : {-2.0, -1.1, -0.5, -0.2, 0.0, 0.3, 0.5, 0.9, 1.7}) {
            const double expected = gaussian_pulse_derivative(t, bt);
            EXPECT_NEAR(slope.at(t), expected, 5e-3 * (1 + std::abs(expected))) << bt << " " << t;
        }
    }
}

TEST(PulseTable, ConsecutiveSamplesOfAPulseAddToWhatIsThere) {
    // Rectangular chips with the edges 0.1 chip early: of the instants
    // -0.7, -0.45, ..., 0.55, those in [-0.6, 0.4) take the chip.
    const PulseTable rectangle({}, 0.1);
    const std::complex<double> chip(0.5, -2);
    std::vector<std::complex<double>> out(6, std::complex<double>(1, 1));
    rectangle.add(chip, -0.7, 0.25, out.size(), out.data());
    const std::vector<bool> inside = {false, true, true, true, true, false};
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i], inside[i] ? std::complex<double>(1, 1) + chip : std::complex<double>(1, 1)) << i;
    }
    // A smooth pulse: the table's values at the same instants, scaled by the chip.
    const PulseTable gaussian({PulseShape::Gaussian, 0.5, 6}, 0);
    std::vector<std::complex<double>> laid(9);
    gaussian.add(chip, -3.4, 0.8, laid.size(), laid.data());
    for (std::size_t i = 0; i < laid.size(); ++i) {
        const double t = -3.4 + 0.8 * static_cast<double>(i);
        EXPECT_NEAR(std::abs(laid[i] - chip * gaussian.at(t)), 0, 1e-12) << t;
    }
}

// The gathering form against the direct one, chip by chip: every filter, its
// slope table, chip lines on and off the sample grid, and samples before the
// first chip and after the last.
TEST(PulseTable, RenderingAllChipsAtOnceMatchesLayingThemOneByOne) {
    const std::vector<std::complex<double>> chips = {{1, 0}, {0, -1}, {-0.7, 0.7}, {1, 1}, {-1, 0}, {0.2, -0.9}};
    struct Case {
        ReferenceFilter filter;
        bool slope;
        double first, period, begin;
        double tolerance;  // a rectangle's edges fall at the same instants either way
    };
    const std::vector<Case> cases = {
        {{}, false, 3.3, 2.0, 0.0, 0},
        {{}, false, -1.2, 3.5, -4.0, 0},
        {{PulseShape::Gaussian, 0.5, 6}, false, 7.1, 2.0, -3.0, 1e-12},
        {{PulseShape::Gaussian, 0.3, 6}, true, 2.75, 2.5, 0.0, 1e-9},
        {{PulseShape::RootCosine, 0.35, 12}, false, 20.4, 3.0000011, 0.0, 1e-12},
        {{PulseShape::RootCosine, 0.22, 10.5}, false, 1.0, 1.0, -9.0, 1e-12},
    };
    for (const Case& c : cases) {
        const PulseTable pulse(c.filter, 0.1);
        const PulseTable table = c.slope ? pulse.slope(0.01) : pulse;
        const std::size_t count = 80;
        std::vector<std::complex<double>> direct(count);
        for (std::size_t j = 0; j < chips.size(); ++j) {
            const double centre = c.first + c.period * static_cast<double>(j);
            const double lo = std::max(c.begin, std::ceil(centre - table.half_span() * c.period));
            const double hi = std::min(c.begin + count - 1, std::floor(centre + table.half_span() * c.period));
            if (hi < lo) continue;
            table.add(chips[j], (lo - centre) / c.period, 1 / c.period, static_cast<std::size_t>(hi - lo) + 1,
                      direct.data() + static_cast<std::size_t>(lo - c.begin));
        }
        std::vector<std::complex<double>> rendered(count, {5, 5});
        table.render(chips, c.first, c.period, c.begin, rendered);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_LE(std::abs(rendered[i] - direct[i]), c.tolerance)
                << reference_filter_text(c.filter) << " slope " << c.slope << " first " << c.first << " sample " << i;
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
