#include "sdr/soapy/sdr_session.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "common/errors.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "sdr/stream_format.hpp"
#include "sdr/tests/standin/standin_environment.hpp"

namespace dot11b::sdr {
namespace {

// A tone burst in a silent period of 997 samples at 22 MHz.
Samples burst_period() {
    Samples period(997);
    for (std::size_t k = 0; k < period.size(); ++k) {
        const double t = static_cast<double>(k) - 300.0;
        period[k] = 0.7 * std::exp(-t * t / 288.0) * std::polar(1.0, 2 * std::numbers::pi * 0.05 * t);
    }
    return period;
}

Samples read_recording(const std::filesystem::path& path) {
    return decode(test::read_bytes(path), StreamFormat::cf32, 1.0);
}

class SdrSession : public ::testing::Test {
protected:
    void SetUp() override { test::use_standin_sdr_only(); }

    std::string standin(const std::string& extra) const {
        return "driver=standin,settings_log=" + (folder / "settings.txt").string() +
               ",record=" + (folder / "tx.cf32").string() + (extra.empty() ? "" : "," + extra);
    }
    std::string settings() const { return test::read_text(folder / "settings.txt"); }

    test::TemporaryFolder folder;
};

TEST_F(SdrSession, PlaysExactlyTheRepeatedLoopWithTheSettingsReceived) {
    const struct {
        const char* format;
        double tolerance;  // one step of the stream format
    } cases[] = {{"formats=CF32", 1e-6}, {"formats=CS16,full_scale=2047", 1.0 / 2047}};
    const Samples period = burst_period();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const PlayRequest request{standin(std::string("gain_range=0:47,antennas=TX:RX2,rates=20e6:25e6,") + c.format),
                                  period, 22e6, 2.437e9, 80.0, "TX", std::nullopt, {3, nullptr, {}, {}}};
        PlaySetup setup;
        const PlaySummary summary = play_waveform(request, [&](const PlaySetup& s) { setup = s; });

        EXPECT_DOUBLE_EQ(setup.rate, 25e6);  // the lowest offered rate above 22 MHz
        const std::string log = settings();
        for (const char* line : {"tx rate 25000000\n", "tx frequency 2437000000\n", "tx gain 47\n", "tx antenna TX\n"}) {
            EXPECT_NE(log.find(line), std::string::npos) << line << " not in\n" << log;
        }
        EXPECT_TRUE(log.ends_with("close\n")) << log;
        ASSERT_FALSE(setup.notes.empty());
        EXPECT_NE(setup.notes[0].find("--sdr-gain 80 dB is outside the device's range, 0 to 47 dB"), std::string::npos);

        // 997 samples at 22 MHz are 1132.95... at 25 MHz: whole only after 22
        // periods, so three periods are 3398.86 samples, rounded.
        const Samples played = read_recording(folder / "tx.cf32");
        EXPECT_EQ(summary.periods, 3U);
        EXPECT_EQ(summary.samples, 3399U);
        ASSERT_EQ(played.size(), 3399U);
        const LoopPlan loop = plan_loop(period, 22e6, 25e6);
        double peak = 0;
        for (std::size_t k = 0; k < played.size(); ++k) {
            EXPECT_LE(std::abs(played[k] - loop.samples[k % loop.samples.size()]), c.tolerance) << k;
            peak = std::max(peak, std::abs(played[k]));
        }
        // Full scale is the loop's largest magnitude; three of its 22 periods come close.
        EXPECT_LE(peak, 1.0 + c.tolerance);
        EXPECT_GT(peak, 0.999);
    }
}

TEST_F(SdrSession, UnderflowsComeFromTheStreamStatus) {
    const Samples period = burst_period();
    const PlayRequest request{standin("underflows=2,rates=22e6"), period, 22e6, 2.412e9, std::nullopt, std::nullopt,
                              std::nullopt, {1, nullptr, {}, {}}};
    const PlaySummary summary = play_waveform(request, nullptr);
    EXPECT_EQ(summary.underflows, 2U);
    EXPECT_EQ(summary.samples, 997U);
}

TEST_F(SdrSession, RefusalsAndFailuresCloseTheDevice) {
    const Samples period = burst_period();
    const struct {
        const char* name;
        std::string args;
        std::optional<double> rate;
        std::optional<std::string> antenna;
        const char* expected;
        bool opened;
    } cases[] = {
        {"no match", "driver=nothing", std::nullopt, std::nullopt, "SoapySDR found: driver=standin, label=Stand-in SDR", false},
        {"vanishes", standin("vanish_after=1500"), std::nullopt, std::nullopt, "stopped streaming after 997 samples", true},
        {"frequency", standin("refuse=frequency"), std::nullopt, std::nullopt, "refused frequency 2412000000 Hz", true},
        {"gain", standin("refuse=gain"), std::nullopt, std::nullopt, "refused gain 10 dB", true},
        {"antenna", standin(""), std::nullopt, "ANT9", "--sdr-antenna ANT9 is not an antenna of the device; it has: TX, RX", true},
        {"rate below 11 MHz", standin(""), 8e6, std::nullopt, "below 11 MHz", true},
        {"no fast rate", standin("rates=1e6"), std::nullopt, std::nullopt, "no sample rate of 11 MHz", true},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "settings.txt");
        const PlayRequest request{c.args, period, 22e6, 2.412e9, 10.0, c.antenna, c.rate, {2, nullptr, {}, {}}};
        try {
            play_waveform(request, nullptr);
            ADD_FAILURE() << c.name << ": played";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.name << ": " << e.what();
        }
        if (c.opened) {
            EXPECT_TRUE(settings().ends_with("close\n")) << c.name << ":\n" << settings();
        }
    }
}

TEST_F(SdrSession, CapturesTheReceiveStreamAtTheDefaultRate) {
    Samples replay(1000);
    for (std::size_t k = 0; k < replay.size(); ++k) replay[k] = std::polar(0.5, 0.01 * static_cast<double>(k * k));
    const auto replay_bytes = encode(replay, StreamFormat::cf32, 1.0);
    test::write_bytes(folder / "rx.cf32", replay_bytes);
    for (const char* format : {"CF32", "CS16"}) {
        const CaptureRequest request{standin(std::string("replay=") + (folder / "rx.cf32").string() +
                                             ",overflows=2,formats=" + format + ",rates=10e6:20e6:25e6"),
                                     2.462e9, 30.0, std::nullopt, 1e-4};
        const Capture capture = capture_waveform(request);
        EXPECT_DOUBLE_EQ(capture.rate, 25e6);  // the lowest offered of at least 22 MHz
        ASSERT_EQ(capture.samples.size(), 2500U);
        for (std::size_t k = 0; k < capture.samples.size(); ++k) {
            EXPECT_NEAR(std::abs(capture.samples[k] - replay[k % replay.size()]), 0.0, 1e-4) << format << " " << k;
        }
        EXPECT_EQ(capture.hardware, "StandIn-1");
        ASSERT_EQ(capture.notes.size(), 1U);
        EXPECT_EQ(capture.notes[0], "2 overflows: the device dropped samples, so the capture has gaps");
        const std::string log = settings();
        EXPECT_NE(log.find("rx rate 25000000\nrx frequency 2462000000\nrx gain 30\n"), std::string::npos) << log;
        EXPECT_TRUE(log.ends_with("close\n")) << log;
    }
}

}  // namespace
}  // namespace dot11b::sdr
