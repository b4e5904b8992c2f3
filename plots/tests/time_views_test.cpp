#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "common/errors.hpp"
#include "plots/eye_diagram.hpp"
#include "plots/iq_time.hpp"
#include "plots/scatter_plot.hpp"

namespace dot11b::plots {
namespace {

const double nan = std::nan("");

std::string error_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const ConfigError& e) {
        return e.what();
    }
    return "(no error)";
}

// Equal, with NaN equal to NaN.
void expect_same(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < actual.size(); ++k) {
        if (std::isnan(expected[k])) {
            EXPECT_TRUE(std::isnan(actual[k])) << k;
        } else {
            EXPECT_DOUBLE_EQ(actual[k], expected[k]) << k;
        }
    }
}

TEST(IqTime, TimeAxisAndSharedSymmetricRange) {
    Samples x(1000, Complex(0.25, -0.5));
    x[10] = Complex(-0.75, 0.1);
    const IqTime view = iq_time(x, 38.5e6);
    EXPECT_EQ(view.time_units, "uS");
    EXPECT_NEAR(view.x.upper, 1000 / 38.5, 1e-12);
    EXPECT_EQ(view.time.front(), 0);
    EXPECT_EQ(view.time.back(), view.x.upper);
    EXPECT_EQ(view.y, (AxisRange{-0.75, 0.75}));
    EXPECT_FALSE(view.no_data);

    const IqTime test = iq_time(Samples{}, 1e3);
    EXPECT_TRUE(test.no_data);
    ASSERT_EQ(test.in_phase.size(), 100U);
    EXPECT_NEAR(test.in_phase.front(), 1, 1e-12);   // cos(-2 pi)
    EXPECT_NEAR(test.quadrature[25], std::sin(-2 * std::numbers::pi + 25 * 4 * std::numbers::pi / 99), 1e-12);
    EXPECT_EQ(test.time_units, "mS");
    EXPECT_EQ(test.x.upper, 100);

    EXPECT_EQ(iq_time(Samples(4), 1).y, (AxisRange{-1, 1}));
}

TEST(EyeDiagram, TracesOfFourSamplesPerSymbol) {
    // Eight real samples, n = 4: breaks after samples 3 and 7 (from 1), each
    // followed by a repeat of that sample one step before the next one.
    const SignalColumns x = {{1, 2, 3, 4, 5, 6, 7, 8}};
    const EyeDiagram eye = eye_diagram(x, 4, 1, 0);
    expect_same(eye.time, {0, 0.25, 0.5, nan, -0.5, -0.25, 0, 0.25, 0.5, nan, -0.5, -0.25});
    ASSERT_EQ(eye.traces.size(), 1U);
    expect_same(eye.traces[0], {1, 2, 3, nan, 3, 4, 5, 6, 7, nan, 7, 8});
    EXPECT_EQ(eye.x, (AxisRange{-0.5, 0.5}));
    EXPECT_EQ(eye.y, (AxisRange{-1.05 * 8, 1.05 * 8}));
}

TEST(EyeDiagram, AmplitudeLimitsReachTheAxesOwnTicks) {
    // Expected limits worked by hand: each column's range rounded outward to
    // ticks of 1, 2 or 5 times a power of ten (at most ten steps), against
    // +-1.05 times the largest magnitude; the wider of the two, shared.
    const struct {
        const char* name;
        SignalColumns x;
        AxisRange y;
    } cases[] = {
        {"ticks of 0.1 beyond 1.05 x 0.41", {{-0.41, 0.41, 0.1, -0.2}}, {-0.5, 0.5}},
        {"margin beyond the ticks", {{-1, 1, 0.5, 0}}, {-1.05, 1.05}},
        {"one-sided column", {{0.2, 0.93, 0.5, 0.4}}, {-1.05 * 0.93, 1.0}},
        {"bounds on ticks stay", {{-0.3, 0.3, 0, 0.1}, {-0.1, 0.62, 0.2, 0.3}}, {-1.05 * 0.62, 0.7}},
        {"silence", {{0, 0, 0, 0}}, {-1, 1}},
    };
    for (const auto& c : cases) {
        const EyeDiagram eye = eye_diagram(c.x, 2, 1, 0);
        EXPECT_NEAR(eye.y.lower, c.y.lower, 1e-12) << c.name;
        EXPECT_NEAR(eye.y.upper, c.y.upper, 1e-12) << c.name;
    }
}

TEST(EyeDiagram, OffsetSamplesSitAtTheCentreOfTheEye) {
    Samples wave(40);
    for (std::size_t k = 0; k < wave.size(); ++k) wave[k] = Complex(std::cos(0.3 * double(k)), std::sin(0.7 * double(k)));
    for (const double offset : {0.0, 1.0, 3.0}) {
        const EyeDiagram eye = eye_diagram(iq_columns(wave), 4, 2, offset);
        ASSERT_EQ(eye.traces.size(), 2U);
        for (std::size_t k = 0; k < eye.time.size(); ++k) {
            if (std::isnan(eye.time[k])) continue;
            EXPECT_GE(eye.time[k], -1) << k;
            EXPECT_LE(eye.time[k], 1) << k;
            // Samples offset, offset + 4, ... are the ones drawn at time 0.
            if (std::abs(eye.time[k]) < 1e-12) {
                const double i = eye.traces[0][k];
                const auto found = std::find_if(wave.begin(), wave.end(), [i](Complex v) { return v.real() == i; });
                EXPECT_EQ(static_cast<std::size_t>(found - wave.begin()) % 4, offset) << k;
            }
        }
    }
}

TEST(EyeDiagram, ArgumentChecksInOrder) {
    const SignalColumns x = {{1, 2, 3}};
    EXPECT_EQ(error_of([] { eye_diagram({}, 4, 1, 0); }), "Input variable X is empty.");
    EXPECT_EQ(error_of([&] { eye_diagram(x, 1.5, 0, 7); }), "PERIOD must be a positive number.");
    EXPECT_EQ(error_of([&] { eye_diagram(x, 1, 1, 0); }), "N must be an integer greater than 1.");
    EXPECT_EQ(error_of([&] { eye_diagram(x, 3.5, 1, 0); }), "N must be an integer greater than 1.");
    for (const double offset : {-1.0, 0.5, 4.0}) {
        EXPECT_EQ(error_of([&] { eye_diagram(x, 4, 1, offset); }),
                  "OFFSET must be a integer in the range 0 <= OFFSET < N.");
    }
    EXPECT_EQ(error_of([&] { eye_diagram({{1}, {2}, {3}}, 4, 1, 0); }),
              "Number of columns in the input data, X, cannot exceed 2.");
}

TEST(ScatterPlot, EveryNthSampleFromTheOffset) {
    SignalColumns x(2);
    for (int k = 1; k <= 12; ++k) {
        x[0].push_back(k);
        x[1].push_back(-0.5 * k);
    }
    const ScatterPoints points = scatter_points(x, 4, 1);
    EXPECT_EQ(points.in_phase, (std::vector<double>{2, 6, 10}));
    EXPECT_EQ(points.quadrature, (std::vector<double>{-1, -3, -5}));
    EXPECT_DOUBLE_EQ(points.limit, 1.07 * 10);
    // A plot held underneath with wider axes keeps them.
    EXPECT_EQ(scatter_points(x, 4, 1, 50).limit, 50);
    // One column: the points lie on the in-phase axis.
    EXPECT_EQ(scatter_points({x[0]}, 5, 0).quadrature, (std::vector<double>{0, 0, 0}));
    // An all-zero signal keeps the fresh axes' tiny limit.
    EXPECT_EQ(scatter_points({{0, 0}}, 1, 0).limit, kFreshAxesLimit);

    EXPECT_EQ(error_of([] { scatter_points({}, 1, 0); }), "Input variable X is empty.");
    EXPECT_EQ(error_of([&] { scatter_points(x, 0, 0); }), "N must be a positive integer.");
    EXPECT_EQ(error_of([&] { scatter_points(x, 2.5, 0); }), "N must be a positive integer.");
    EXPECT_EQ(error_of([&] { scatter_points(x, 1, -1); }), "OFFSET must be a nonnegative integer.");
    EXPECT_EQ(error_of([&] { scatter_points({{1}, {2}, {3}}, 1, 0); }),
              "Number of columns in the input data, X, cannot exceed 2.");
}

}  // namespace
}  // namespace dot11b::plots
