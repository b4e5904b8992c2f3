// The noise must be complex Gaussian and white, not only of the right power:
// its power's tail follows the exponential law, each component has the
// Gaussian's kurtosis, its phase is uniform, and neighbouring samples (drawn from different
// generator lanes) are uncorrelated.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "impairments/gaussian_noise.hpp"

namespace dot11b::impairments {
namespace {

TEST(GaussianNoise, IsCircularGaussianAndWhite) {
    const std::size_t count = 1 << 20;
    const double power = 2.5;
    for (std::uint64_t seed : {1ULL, 77ULL}) {
        Samples noise(count + 3);  // not a whole number of blocks
        add_gaussian_noise(noise, power, seed);

        // |n|^2 / power is exponential with mean 1: P(> t) = e^-t.
        for (double t : {0.1, 1.0, 3.0, 6.0}) {
            std::size_t above = 0;
            for (const Complex& n : noise) above += std::norm(n) > t * power;
            const double expected = std::exp(-t);
            EXPECT_NEAR(static_cast<double>(above) / static_cast<double>(noise.size()), expected,
                        5.0 * std::sqrt(expected / static_cast<double>(noise.size())))
                << "tail above " << t << ", seed " << seed;
        }
        double second = 0.0, fourth = 0.0;
        for (const Complex& n : noise) {
            const double q = n.imag() * n.imag();
            second += q, fourth += q * q;
        }
        const double n = static_cast<double>(noise.size());
        EXPECT_NEAR((fourth / n) / std::pow(second / n, 2), 3.0, 0.05) << "kurtosis of Q";

        // The phase is uniform: each of 24 sectors (their edges off the
        // quarter turns as well as on them) holds 1/24 of the samples.
        constexpr int kSectors = 24;
        std::size_t in_sector[kSectors] = {};
        for (const Complex& v : noise) {
            const double turn = std::arg(v) / (2.0 * M_PI) + 0.5;  // [0, 1]
            ++in_sector[std::min(kSectors - 1, static_cast<int>(turn * kSectors))];
        }
        for (int k = 0; k < kSectors; ++k) {
            EXPECT_NEAR(static_cast<double>(in_sector[k]) / n, 1.0 / kSectors, 5.0 * std::sqrt(1.0 / kSectors / n))
                << "sector " << k << ", seed " << seed;
        }

        for (std::size_t lag = 1; lag <= 16; ++lag) {
            Complex sum;
            for (std::size_t k = 0; k + lag < noise.size(); ++k) sum += noise[k + lag] * std::conj(noise[k]);
            EXPECT_LT(std::abs(sum) / (n * power), 5.0 / std::sqrt(n)) << "lag " << lag;
        }
    }
}

}  // namespace
}  // namespace dot11b::impairments
