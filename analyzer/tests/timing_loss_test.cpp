#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

// From sample `from` on, the waveform plays `speed` times as fast (linear
// interpolation between samples).
Samples sped_up(const Samples& x, std::size_t from, double speed) {
    Samples out(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(from));
    for (double t = static_cast<double>(from); t + 1 < static_cast<double>(x.size()); t += speed) {
        const auto n = static_cast<std::size_t>(t);
        const double f = t - static_cast<double>(n);
        out.push_back((1 - f) * x[n] + f * x[n + 1]);
    }
    return out;
}

TEST(TimingLoss, AChipClockThatJumpsIsReportedWhereItWasLost) {
    const app::FormatParameters p = test::short_frame(phy::DataRate::Mbps11, 1000, 3);
    const test::Waveform w = test::generate(p);
    const std::size_t jump_chip = 5000;
    const BurstAnalysis lost = analyse(sped_up(w.samples, 3 * jump_chip, 1.02), w.sample_rate_hz).bursts.at(0);
    ASSERT_EQ(lost.status, DecodeStatus::Truncated);
    const std::string marker = "chip timing lost at chip ";
    const std::size_t at = lost.problem.find(marker);
    ASSERT_NE(at, std::string::npos) << lost.problem;
    const double chip = std::stod(lost.problem.substr(at + marker.size()));
    // The loop needs some chips to run off; the burst starts a ramp earlier.
    EXPECT_NEAR(chip, static_cast<double>(jump_chip), 200) << lost.problem;

    // A burst that is really cut short says so, and nothing of the timing.
    Samples cut = w.samples;
    cut.resize(3 * jump_chip);
    const BurstAnalysis short_burst = analyse(cut, w.sample_rate_hz).bursts.at(0);
    ASSERT_EQ(short_burst.status, DecodeStatus::Truncated);
    EXPECT_EQ(short_burst.problem.find(marker), std::string::npos) << short_burst.problem;
}

}  // namespace
}  // namespace dot11b::analyzer
