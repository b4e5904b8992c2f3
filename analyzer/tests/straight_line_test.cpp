#include "analyzer/straight_line.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace dot11b::analyzer {
namespace {

// The least-squares line by the textbook sums, in long double.
StraightLine reference_line(const std::vector<double>& x, const std::vector<double>& y) {
    long double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const auto n = static_cast<long double>(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
        sx += x[k];
        sy += y[k];
        sxx += static_cast<long double>(x[k]) * x[k];
        sxy += static_cast<long double>(x[k]) * y[k];
    }
    const long double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return {static_cast<double>((sy - slope * sx) / n), static_cast<double>(slope)};
}

TEST(StraightLine, BothFormsMatchTheTextbookSumsOnEveryRange) {
    // Chip instants of a clock 2 samples a chip, 37 ppm slow, with jitter.
    std::mt19937 random(5);
    std::normal_distribution<double> jitter(0, 0.01);
    std::vector<double> positions(20000);
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = 17.25 + 2 * (1 + 37e-6) * static_cast<double>(k) + jitter(random);
    }
    struct Range {
        std::size_t first, last;
    };
    for (const Range r : {Range{0, 2}, Range{0, 3}, Range{5, 12}, Range{100, 14161}, Range{0, 20000}, Range{19990, 20000}}) {
        std::vector<double> x, y;
        for (std::size_t k = r.first; k < r.last; ++k) {
            x.push_back(static_cast<double>(k));
            y.push_back(positions[k]);
        }
        const StraightLine expected = reference_line(x, y);
        for (const StraightLine got : {fitted_line_by_index(positions, r.first, r.last), fitted_line(x, y)}) {
            EXPECT_NEAR(got.slope, expected.slope, 1e-9 * expected.slope) << r.first << " to " << r.last;
            EXPECT_NEAR(got.at(static_cast<double>(r.first)), expected.at(static_cast<double>(r.first)), 1e-8)
                << r.first << " to " << r.last;
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
