#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "plots/density_image.hpp"
#include "plots/min_max_columns.hpp"

namespace dot11b::plots {
namespace {

TEST(MinMaxColumns, KeepsTheExtremesOfEveryPixelColumn) {
    std::mt19937 random(9);
    std::normal_distribution<double> gauss;
    std::vector<double> keys(100000);
    std::vector<double> values(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        keys[k] = 0.01 * double(k);
        values[k] = gauss(random);
    }
    struct Case {
        AxisRange visible;
        std::size_t columns;
    };
    for (const Case& c : {Case{{0, 999.99}, 800}, Case{{120.5, 430.25}, 333}, Case{{-50, 50}, 1000}}) {
        const LinePoints points = min_max_columns(keys, values, c.visible, c.columns);
        EXPECT_LE(points.keys.size(), 2 * c.columns + 2);
        EXPECT_TRUE(std::is_sorted(points.keys.begin(), points.keys.end()));
        // Reference: every sample inside the range, binned by its own column.
        const double width = (c.visible.upper - c.visible.lower) / double(c.columns);
        std::vector<double> low(c.columns, INFINITY);
        std::vector<double> high(c.columns, -INFINITY);
        std::vector<double> drawn_low = low;
        std::vector<double> drawn_high = high;
        const auto bin = [&](double key, double value, std::vector<double>& lo, std::vector<double>& hi) {
            if (key < c.visible.lower || key > c.visible.upper) return;
            const auto column = std::min(c.columns - 1, std::size_t((key - c.visible.lower) / width));
            lo[column] = std::min(lo[column], value);
            hi[column] = std::max(hi[column], value);
        };
        for (std::size_t k = 0; k < keys.size(); ++k) bin(keys[k], values[k], low, high);
        for (std::size_t k = 0; k < points.keys.size(); ++k) bin(points.keys[k], points.values[k], drawn_low, drawn_high);
        EXPECT_EQ(drawn_low, low);
        EXPECT_EQ(drawn_high, high);
        // The line reaches beyond both edges when there are samples there.
        if (c.visible.lower > 0) {
            EXPECT_LT(points.keys.front(), c.visible.lower);
        }
        if (c.visible.upper < keys.back()) {
            EXPECT_GT(points.keys.back(), c.visible.upper);
        }
    }
    // Fewer samples than columns: the samples themselves.
    const LinePoints few = min_max_columns(std::vector<double>{0, 1, 2}, std::vector<double>{5, 6, 7}, {0, 2}, 100);
    EXPECT_EQ(few.values, (std::vector<double>{5, 6, 7}));
}

TEST(DensityImage, LinesLeaveContinuousTracksAndPointsCountOnce) {
    // A 10 x 10 grid over [0, 10] x [0, 10]: the diagonal crosses ten cells.
    const std::vector<double> x = {0.5, 9.5, NAN, 0.5, 0.5};
    const std::vector<double> y = {0.5, 9.5, NAN, 9.5, 0.5};
    const DensityImage lines = line_density(x, y, {0, 10}, {0, 10}, 10, 10);
    ASSERT_EQ(lines.counts.size(), 100U);
    for (std::size_t d = 0; d < 10; ++d) EXPECT_GE(lines.counts[d * 10 + d], 1) << d;
    // The NaN breaks the line: nothing is drawn from (9.5, 9.5) back to (0.5, 9.5).
    EXPECT_EQ(lines.counts[9 * 10 + 5], 0);
    // The vertical line from (0.5, 9.5) down to (0.5, 0.5) fills the first column.
    for (std::size_t r = 0; r < 10; ++r) EXPECT_GE(lines.counts[r * 10], 1) << r;

    const std::vector<double> px = {1.5, 1.5, 7.2, 42};
    const std::vector<double> py = {2.5, 2.5, 0.1, 1};
    const DensityImage points = point_density(px, py, {0, 10}, {0, 10}, 10, 10);
    EXPECT_EQ(points.counts[2 * 10 + 1], 2);
    EXPECT_EQ(points.counts[0 * 10 + 7], 1);
    double total = 0;
    for (const double count : points.counts) total += count;
    EXPECT_EQ(total, 3);  // the point outside the axes is not drawn
}

TEST(DensityImage, RepeatedSegmentsAddUpLikeSegmentsDrawnOneByOne) {
    // Separate segments (NaN between them) taken from a small pool, so most
    // repeat, and many distinct ones besides: the image must be the sum of the
    // images of each segment drawn alone.
    std::mt19937 random(4);
    std::uniform_real_distribution<double> position(-1, 11);
    std::vector<std::array<double, 4>> pool(8);
    for (auto& s : pool) s = {position(random), position(random), position(random), position(random)};
    std::vector<double> x, y;
    std::vector<double> expected(20 * 20, 0.0);
    for (int k = 0; k < 20000; ++k) {
        std::array<double, 4> s = pool[random() % pool.size()];
        if (k % 3 == 0) s = {position(random), position(random), position(random), position(random)};
        const std::vector<double> sx = {s[0], s[2]};
        const std::vector<double> sy = {s[1], s[3]};
        const DensityImage alone = line_density(sx, sy, {0, 10}, {0, 10}, 20, 20);
        for (std::size_t c = 0; c < expected.size(); ++c) expected[c] += alone.counts[c];
        x.insert(x.end(), {s[0], s[2], NAN});
        y.insert(y.end(), {s[1], s[3], NAN});
    }
    EXPECT_EQ(line_density(x, y, {0, 10}, {0, 10}, 20, 20).counts, expected);
}

TEST(DensityImage, SummedDownToTheScreenAndReducedToSpots) {
    // Ten columns summed into three: columns 0-3, 4-6 and 7-9 (c x 3 / 10).
    DensityImage image{10, 2, {0, 10}, {0, 2}, std::vector<double>(20, 1.0)};
    image.counts[9] = 5;
    const DensityImage coarse = downsampled(image, 3, 1);
    EXPECT_EQ(coarse.counts, (std::vector<double>{8, 6, 10}));
    EXPECT_EQ(downsampled(image, 40, 40).counts, image.counts);  // never finer than the grid

    DensityImage sparse{4, 2, {0, 4}, {-1, 1}, std::vector<double>(8, 0.0)};
    sparse.counts[1] = 30;
    sparse.counts[6] = 2;
    const LinePoints spots = occupied_cells(sparse);
    EXPECT_EQ(spots.keys, (std::vector<double>{1.5, 2.5}));
    EXPECT_EQ(spots.values, (std::vector<double>{-0.5, 0.5}));
}

}  // namespace
}  // namespace dot11b::plots
