#include "analyzer/median.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <string>

namespace dot11b::analyzer {
namespace {

// The value at index n / 2 after a full sort.
double sorted_middle(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(Median, IsTheMiddleOfTheSortedValuesForEveryKindOfSet) {
    std::mt19937 random(7);
    std::normal_distribution<double> gauss(0, 1);
    struct Case {
        std::string name;
        std::vector<double> values;
    };
    std::vector<Case> cases;
    const auto made = [&](std::size_t n, auto value) {
        std::vector<double> v(n);
        for (std::size_t i = 0; i < n; ++i) v[i] = value(i);
        return v;
    };
    for (const std::size_t n : {1, 2, 3, 511, 512, 513, 14160}) {
        cases.push_back({"noise " + std::to_string(n), made(n, [&](std::size_t) { return gauss(random); })});
    }
    cases.push_back({"chip powers minus noise, some below zero",
                     made(14160, [&](std::size_t) { return std::norm(std::complex(1 + 0.3 * gauss(random), gauss(random))) - 0.4; })});
    cases.push_back({"few distinct levels", made(9000, [&](std::size_t i) { return static_cast<double>((i * 7) % 5); })});
    cases.push_back({"one outlier far above the rest",
                     made(4000, [&](std::size_t i) { return i == 17 ? 1e12 : 1 + 1e-3 * gauss(random); })});
    cases.push_back({"all equal", std::vector<double>(3000, 2.5)});
    cases.push_back({"ascending", made(3001, [](std::size_t i) { return static_cast<double>(i); })});
    cases.push_back({"descending", made(3000, [](std::size_t i) { return -static_cast<double>(i); })});
    cases.push_back({"two values a denormal apart",
                     made(1000, [](std::size_t i) { return i % 3 ? 0.0 : std::numeric_limits<double>::denorm_min(); })});
    cases.push_back({"infinite range",
                     made(1000, [](std::size_t i) { return i % 2 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max(); })});
    for (const Case& c : cases) EXPECT_EQ(median(c.values), sorted_middle(c.values)) << c.name;
    EXPECT_EQ(median({}), 0);
}

}  // namespace
}  // namespace dot11b::analyzer
