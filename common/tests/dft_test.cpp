#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "common/dft.hpp"

namespace dot11b {
namespace {

// The transform written out as its defining sum; sign -1 forward, +1 inverse.
Samples naive_dft(const Samples& x, double sign) {
    const auto n = static_cast<double>(x.size());
    Samples out(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
        for (std::size_t m = 0; m < x.size(); ++m) {
            out[k] += x[m] * std::polar(1.0, sign * 2 * std::numbers::pi * static_cast<double>(k * m) / n);
        }
    }
    return out;
}

Samples random_samples(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss;
    Samples x(n);
    for (auto& v : x) v = {gauss(random), gauss(random)};
    return x;
}

double largest_difference(const Samples& a, const Samples& b) {
    double largest = 0;
    for (std::size_t k = 0; k < a.size(); ++k) largest = std::max(largest, std::abs(a[k] - b[k]));
    return largest;
}

TEST(Dft, MatchesTheDefiningSumForAnyLengthBothWays) {
    for (const std::size_t n : {1U, 2U, 7U, 12U, 97U, 250U}) {
        const Samples x = random_samples(n, static_cast<unsigned>(n));
        EXPECT_LT(largest_difference(dft(x), naive_dft(x, -1)), 1e-9) << "forward, n " << n;
        EXPECT_LT(largest_difference(inverse_dft(x), naive_dft(x, +1)), 1e-9) << "inverse, n " << n;
    }
}

// Plans are made, run and destroyed on several threads at once, as the
// analyser's workers and the plot views do.
TEST(Dft, PlansFromManyThreadsAtOnceGiveTheRightTransforms) {
    constexpr int kThreads = 4;
    std::vector<double> worst(kThreads, 0.0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &worst] {
            for (std::size_t n = 20; n < 60; ++n) {
                const Samples x = random_samples(n + static_cast<std::size_t>(t), static_cast<unsigned>(n));
                worst[static_cast<std::size_t>(t)] =
                    std::max(worst[static_cast<std::size_t>(t)], largest_difference(dft(x), naive_dft(x, -1)));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_LT(worst[static_cast<std::size_t>(t)], 1e-9) << "thread " << t;
}

// Arrays off FFTW's vector alignment (a double into a buffer) take the plan
// for any alignment and transform alike.
TEST(Dft, ArraysOffTheVectorAlignmentTransformAlike) {
    constexpr std::size_t kLength = 336;
    const Samples x = random_samples(kLength, 5);
    const Samples expected = naive_dft(x, -1);
    const DftPlan plan(kLength);
    std::vector<double> in_store(2 * kLength + 1), out_store(2 * kLength + 1);
    for (const std::size_t offset : {0U, 1U}) {
        // A complex<double> may start at any double.
        auto* in = reinterpret_cast<Complex*>(in_store.data() + offset);
        auto* out = reinterpret_cast<Complex*>(out_store.data() + offset);
        std::copy(x.begin(), x.end(), in);
        plan.execute(SampleSpan(in, kLength), std::span<Complex>(out, kLength));
        EXPECT_LT(largest_difference(Samples(out, out + kLength), expected), 1e-9) << "offset " << offset;
    }
}

}  // namespace
}  // namespace dot11b
