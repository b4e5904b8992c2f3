// dot11b-gen's impairment and frame-sequence options, checked through the
// files it writes and through dot11b-analyze, which decodes independently.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/analyze/command_line.hpp"
#include "cli/gen/command_line.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using test::read_bytes;
using test::TemporaryFolder;

test::ToolRun gen(std::vector<std::string> arguments) {
    return test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments));
}

// The burst lines of --json, without the summary of frames.
std::vector<nlohmann::json> analyse(const std::string& file, std::vector<std::string> options = {}) {
    options.insert(options.begin(), {file, "--json"});
    const test::ToolRun run = test::run_tool(run_dot11b_analyze, "dot11b-analyze", options);
    std::vector<nlohmann::json> bursts;
    std::size_t start = 0;
    for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
        nlohmann::json line = nlohmann::json::parse(run.out.substr(start, end - start));
        if (!line.contains("summary")) bursts.push_back(std::move(line));
    }
    return bursts;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ReceiverTestWaveforms, OutOfRangeEntriesAreUsageErrorsNamingOptionAndRangeAndWriteNothing) {
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } kCases[] = {
        {{"--pa-backoff", "31"}, "--pa-backoff: 31 is outside 0 to 30 dB"},
        {{"--iq-gain", "-6.01"}, "--iq-gain: -6.01 is outside -6 to 6 dB"},
        {{"--iq-phase", "20.5"}, "--iq-phase: 20.5 is outside -20 to 20 deg"},
        {{"--dc-offset", "0.1"}, "--dc-offset: 0.1 is outside -60 to 0 dBc"},
        {{"--clock-offset", "-1001"}, "--clock-offset: -1001 is outside -1000 to 1000 ppm"},
        {{"--cfo", "5e5.1"}, "--cfo: 5e5.1 is not a number"},
        {{"--cfo", "500001"}, "--cfo: 500001 is outside -500000 to 500000 Hz"},
        {{"--snr", "-11"}, "--snr: -11 is outside -10 to 60 dB"},
        {{"--seed", "-1"}, "--seed: -1 is outside 0 to 4294967295"},
        {{"--frames", "0"}, "--frames: 0 is outside 1 to 1000"},
        {{"--frames", "2.5"}, "--frames: 2.5 is not a whole number from 1 to 1000"},
        {{"--frames", "1001"}, "--frames: 1001 is outside 1 to 1000"},
        {{"--frames", "2", "--unframed"}, "--frames 2: an unframed waveform holds a single frame"},
    };
    for (const auto& c : kCases) {
        TemporaryFolder folder;
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", (folder / "w.cf32").string()});
        const test::ToolRun run = gen(arguments);
        EXPECT_EQ(run.status, 2) << c.expected;
        EXPECT_TRUE(contains(run.err, c.expected)) << run.err;
        EXPECT_TRUE(folder.listing().empty()) << c.expected;
    }
    const std::vector<std::string> longest = {"--rate", "1", "--length", "2312"};
    std::vector<std::string> arguments = longest;
    arguments.push_back("--estimate");
    const double single = std::stod(gen(arguments).out);
    arguments = longest;
    arguments.insert(arguments.end(), {"--frames", "1000"});
    const test::ToolRun run = gen(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "--frames 1000: the waveform would hold " + std::to_string(1000 * static_cast<long>(single)) +
                                      " samples, more than the 67108864 (64 M) an instrument holds"))
        << run.err;
}

TEST(ReceiverTestWaveforms, OneFrameAndImpairmentsAtZeroAreBitExactWithTheCleanWaveform) {
    TemporaryFolder folder;
    ASSERT_EQ(gen({"-o", (folder / "clean.cf32").string()}).status, 0);
    ASSERT_EQ(gen({"-o", (folder / "same.cf32").string(), "--frames", "1", "--iq-gain", "0", "--iq-phase", "0",
                   "--clock-offset", "0", "--cfo", "0"})
                  .status,
              0);
    EXPECT_EQ(read_bytes(folder / "same.cf32"), read_bytes(folder / "clean.cf32"));
}

TEST(ReceiverTestWaveforms, TwentyFramesDecodeWithConsecutiveSequenceNumbersAndTheEstimateIsTheLength) {
    TemporaryFolder folder;
    const std::vector<std::string> options = {"--frames", "20", "--mac-header", "--fcs", "--mac", "SeqCntrl=0FF0",
                                              "--length", "50", "--payload", "pn9", "--payload-continue"};
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"-o", (folder / "w.sigmf-meta").string(), "--json"});
    const test::ToolRun run = gen(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["frames"], 20);

    arguments = options;
    arguments.push_back("--estimate");
    EXPECT_EQ(std::stod(gen(arguments).out), summary["samples"].get<double>());

    const std::vector<nlohmann::json> bursts = analyse((folder / "w.sigmf-meta").string(), {"--fcs"});
    ASSERT_EQ(bursts.size(), 20U);
    for (std::size_t k = 0; k < bursts.size(); ++k) {
        EXPECT_EQ(bursts[k]["fcs"], "valid") << k;
        EXPECT_EQ(bursts[k]["mac_header"]["SeqCntrl"].get<int>() >> 4, (0xFF + k) % 4096) << k;
    }
}

TEST(ReceiverTestWaveforms, ImpairmentsReachTheFilesTheSummaryAndTheParameterFile) {
    TemporaryFolder folder;
    const std::string params = (folder / "set.mat").string();
    const test::ToolRun saved = gen({"--cfo", "25000", "--clock-offset", "40", "--snr", "35", "--seed", "7",
                                     "--frames", "2", "--mac-header", "--save-params", params, "--estimate"});
    ASSERT_EQ(saved.status, 0) << saved.err;

    const std::string meta = (folder / "w.sigmf-meta").string();
    const test::ToolRun run = gen({"--params", params, "-o", meta, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["impairments"], nlohmann::json::parse(R"({"clock_offset":40,"cfo":25000,"snr":35,"seed":7})"));
    EXPECT_EQ(summary["samples"].get<double>(), std::stod(saved.out));
    EXPECT_EQ(summary["frames"], 2);
    EXPECT_TRUE(contains(run.err, "impairments:      clock-offset 40 ppm, cfo 25000 Hz, snr 35 dB (seed 7)"));
    EXPECT_TRUE(contains(test::read_text(meta), "impairments: clock-offset 40 ppm, cfo 25000 Hz, snr 35 dB (seed 7)"));

    // The receiver measures what was set.
    const std::vector<nlohmann::json> bursts = analyse(meta);
    ASSERT_EQ(bursts.size(), 2U);
    for (const nlohmann::json& burst : bursts) {
        EXPECT_NEAR(burst["carrier_offset_hz"].get<double>(), 25000, 200);
        EXPECT_NEAR(burst["chip_clock_offset_ppm"].get<double>(), 40, 3);
    }

    // Without a waveform that has idle time, the seam is inside the burst.
    const test::ToolRun seam = gen({"--cfo", "1000", "--idle-time", "0"});
    EXPECT_TRUE(contains(seam.err, "note:             the waveform has no idle time")) << seam.err;
    const test::ToolRun copies = gen({"--frames", "2"});
    EXPECT_TRUE(contains(copies.err, "a receiver cannot tell them apart")) << copies.err;
}

// The analyser reports an IQ imbalance in the sense the generator's options
// give it: the sign of --iq-gain and of --iq-phase reads back unchanged.
TEST(ReceiverTestWaveforms, IqImbalanceReadsBackWithTheSignItWasGiven) {
    TemporaryFolder folder;
    const std::string file = (folder / "iq.sigmf-meta").string();
    for (const auto& [gain, phase] : {std::pair{0.5, 2.0}, std::pair{-1.0, -3.0}}) {
        ASSERT_EQ(gen({"-o", file, "--iq-gain", std::to_string(gain), "--iq-phase", std::to_string(phase)}).status, 0);
        const std::vector<nlohmann::json> bursts = analyse(file);
        ASSERT_EQ(bursts.size(), 1U);
        EXPECT_NEAR(bursts[0].at("iq_gain_imbalance_db").get<double>(), gain, 0.05) << gain;
        EXPECT_NEAR(bursts[0].at("quadrature_error_deg").get<double>(), phase, 0.2) << phase;
    }
}

}  // namespace
}  // namespace dot11b::cli
