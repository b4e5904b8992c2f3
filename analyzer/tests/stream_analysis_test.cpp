#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

#include "analyzer/analysis.hpp"
#include "analyzer/ordered_workers.hpp"
#include "common/errors.hpp"
#include "test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

using phy::DataRate;

constexpr std::size_t kGap = 200000;  // zeros after each burst: the recording is mostly quiet

// Five frames told apart by their lengths, each followed by a long quiet gap.
struct LongRecording {
    Samples samples;
    double sample_rate_hz = 0;
    std::vector<std::size_t> starts;  // first sample of each frame's period
};

LongRecording long_recording() {
    LongRecording r;
    for (const std::size_t octets : {10, 20, 30, 40, 50}) {
        const test::Waveform w = test::generate(test::short_frame(DataRate::Mbps2, octets, 2));
        r.sample_rate_hz = w.sample_rate_hz;
        r.starts.push_back(r.samples.size());
        r.samples.insert(r.samples.end(), w.samples.begin(), w.samples.end());
        r.samples.resize(r.samples.size() + kGap);
    }
    return r;
}

TEST(StreamAnalysis, SelectedBurstsArriveInOrderWithTheRecordingsSampleNumbers) {
    const LongRecording r = long_recording();
    const Analysis whole = analyse(r.samples, r.sample_rate_hz);
    ASSERT_EQ(whole.bursts.size(), 5u);

    const struct Case {
        const char* name;
        StreamSelection selection;
        std::vector<std::size_t> expected;  // indices into whole.bursts
    } kCases[] = {
        {"all, two threads", {0, std::nullopt, std::nullopt, 2}, {0, 1, 2, 3, 4}},
        {"first two", {0, std::nullopt, 2, 2}, {0, 1}},
        {"from the gap after the first to the gap after the third",
         {r.starts[1] - kGap / 2, r.starts[3] - r.starts[1], std::nullopt, 2},
         {1, 2}},
        {"from the gap after the third to the end", {r.starts[3] - kGap / 2, std::nullopt, std::nullopt, 1}, {3, 4}},
    };
    for (const Case& c : kCases) {
        std::atomic<std::size_t> largest_read = 0;
        const SampleReader read = [&](std::size_t first, std::span<Complex> out) {
            std::size_t seen = largest_read;
            while (out.size() > seen && !largest_read.compare_exchange_weak(seen, out.size())) {
            }
            std::copy_n(r.samples.begin() + static_cast<std::ptrdiff_t>(first), out.size(), out.begin());
        };
        std::vector<BurstAnalysis> bursts;
        std::vector<std::size_t> indices;
        const Analysis analysis = analyse_stream(read, r.samples.size(), r.sample_rate_hz, {}, c.selection,
                                                 [&](const Analysis&, std::size_t k, BurstAnalysis&& b) {
                                                     indices.push_back(k);
                                                     bursts.push_back(std::move(b));
                                                 });
        ASSERT_EQ(bursts.size(), c.expected.size()) << c.name;
        EXPECT_EQ(analysis.first_sample, c.selection.first_sample) << c.name;
        for (std::size_t k = 0; k < bursts.size(); ++k) {
            const BurstAnalysis& expected = whole.bursts[c.expected[k]];
            EXPECT_EQ(indices[k], k) << c.name;
            EXPECT_EQ(bursts[k].psdu, expected.psdu) << c.name << " burst " << k;
            EXPECT_EQ(bursts[k].first_sample, expected.first_sample) << c.name << " burst " << k;
            ASSERT_TRUE(bursts[k].evm && expected.evm) << c.name;
            EXPECT_NEAR(bursts[k].evm->overall.rms, expected.evm->overall.rms, 1e-9) << c.name;
        }
        // Blocks, never the recording: memory follows a burst.
        EXPECT_LT(largest_read, r.samples.size() / 3) << c.name;
    }

    const auto outside = [&] {
        analyse_stream(reader_of(r.samples), r.samples.size(), r.sample_rate_hz, {},
                       {r.samples.size() - 5, 10, std::nullopt, 1}, [](const Analysis&, std::size_t, BurstAnalysis&&) {});
    };
    EXPECT_THROW(outside(), ConfigError);
}

// A recording without quiet parts is one candidate burst; it is analysed no
// further than the longest frame lasts, whatever the length of the recording.
TEST(StreamAnalysis, ARecordingWithoutQuietPartsIsReadNoFurtherThanTheLongestFrame) {
    const double rate = 11e6;
    Samples noise(static_cast<std::size_t>(0.2 * rate));
    test::add_noise(noise, 1, 5);
    const Analysis analysis = analyse(noise, rate);
    ASSERT_EQ(analysis.bursts.size(), 1u);
    EXPECT_FALSE(analysis.bursts[0].passed());
    EXPECT_LT(analysis.bursts[0].end_sample, static_cast<std::size_t>(0.04 * rate));
}

TEST(OrderedWorkers, ResultsComeInJobOrderAndAFailureStopsTheRun) {
    std::vector<std::size_t> delivered;
    // Later jobs are cheaper, so they finish first on other threads.
    run_in_order<std::size_t>(
        40, 2,
        [](std::size_t i) {
            volatile double sink = 0;
            for (std::size_t k = 0; k < (40 - i) * 20000; ++k) sink = sink + 1;
            return i * i;
        },
        [&](std::size_t i, std::size_t&& result) {
            EXPECT_EQ(result, i * i);
            delivered.push_back(i);
        });
    ASSERT_EQ(delivered.size(), 40u);
    EXPECT_TRUE(std::is_sorted(delivered.begin(), delivered.end()));

    delivered.clear();
    const auto failing = [&] {
        run_in_order<int>(
            100, 2,
            [](std::size_t i) {
                if (i == 7) throw std::runtime_error("job 7");
                return static_cast<int>(i);
            },
            [&](std::size_t i, int&&) { delivered.push_back(i); });
    };
    EXPECT_THROW(failing(), std::runtime_error);
    EXPECT_EQ(delivered, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace dot11b::analyzer
