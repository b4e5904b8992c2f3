// The burst power is the mean power of exactly the marked samples, wherever
// the runs of ones begin and end.

#include <gtest/gtest.h>

#include "impairments/apply_impairments.hpp"

namespace dot11b::impairments {
namespace {

TEST(BurstPower, IsTheMeanPowerOfExactlyTheMarkedSamples) {
    const std::size_t n = 70;  // not a whole number of vector blocks
    Samples samples(n);
    for (std::size_t k = 0; k < n; ++k) samples[k] = {0.5 + static_cast<double>(k), -static_cast<double>(k % 7)};
    const struct {
        std::size_t first;
        std::size_t length;  // marked runs: [first, first + length) and, if set, the tail from n - tail
        std::size_t tail;
    } kCases[] = {{0, 70, 0}, {0, 1, 0}, {3, 17, 5}, {69, 1, 0}, {10, 40, 1}, {0, 0, 0}};
    for (const auto& c : kCases) {
        Bits marker(n, 0);
        for (std::size_t k = c.first; k < c.first + c.length; ++k) marker[k] = 1;
        for (std::size_t k = n - c.tail; k < n; ++k) marker[k] = 1;
        double sum = 0.0;
        std::size_t count = 0;
        for (std::size_t k = 0; k < n; ++k) {
            if (marker[k] != 0) sum += std::norm(samples[k]), ++count;
        }
        const double expected = count == 0 ? 0.0 : sum / static_cast<double>(count);
        EXPECT_NEAR(burst_power(samples, marker), expected, 1e-12 * expected) << c.first << " " << c.length;
    }
}

}  // namespace
}  // namespace dot11b::impairments
