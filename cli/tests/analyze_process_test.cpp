// dot11b-analyze as the shell runs it: what it refuses before reading, what
// it leaves on disk, and its exit status.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/gen/command_line.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/process_run.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using test::read_bytes;
using test::TemporaryFolder;

test::ToolRun analyze(const TemporaryFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), DOT11B_ANALYZE_PATH);
    return test::run_process(folder.path(), std::move(arguments));
}

void generate(const std::vector<std::string>& arguments) {
    ASSERT_EQ(test::run_tool(run_dot11b_gen, "dot11b-gen", arguments).status, 0);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A PSDU file that would be part of the recording is refused before any
// analysis, whatever name reaches it, and the recording stays as it was.
TEST(AnalyzeProcess, PsduFilesThatWouldOverwriteTheRecordingAreRefused) {
    const TemporaryFolder folder;
    const std::string cf32 = folder / "rec.cf32";
    const std::string sigmf = folder / "sig.sigmf-meta";
    const std::string numbered = folder / "take-2.cf32";
    generate({"--length", "20", "-o", cf32, "-o", sigmf, "-o", numbered});
    ASSERT_EQ(::link(cf32.c_str(), (folder / "alias.bin").c_str()), 0);
    const auto recording = read_bytes(cf32);
    struct Case {
        std::vector<std::string> arguments;
        std::string input;  // the file that must stay untouched
    };
    const std::vector<Case> cases = {
        {{"--sample-rate", "38.5e6", "--psdu", cf32, cf32}, cf32},
        {{"--sample-rate", "38.5e6", "--psdu", folder / "alias.bin", cf32}, cf32},
        {{"--psdu", folder / "sig.sigmf-data", sigmf}, folder / "sig.sigmf-data"},
        {{"--psdu", sigmf, folder / "sig.sigmf-data"}, sigmf},
        // The second burst's file would be take-2.cf32.
        {{"--sample-rate", "38.5e6", "--psdu", folder / "take.cf32", numbered}, numbered},
    };
    for (const Case& c : cases) {
        const auto before = read_bytes(c.input);
        const test::ToolRun run = analyze(folder, c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments[c.arguments.size() - 2] << ": " << run.err;
        EXPECT_TRUE(contains(run.err, "--psdu")) << run.err;
        EXPECT_EQ(run.out, "") << "refused before any analysis";
        EXPECT_EQ(read_bytes(c.input), before) << c.input;
    }
    EXPECT_EQ(read_bytes(cf32), recording);
}

// 2 for what the command line gets wrong, 1 for what fails while running;
// the PSDU files are written before the verdict, so a failed write leaves
// no "overall: PASS" behind.
TEST(AnalyzeProcess, RuntimeFailuresExitWithOneAndUsageErrorsWithTwo) {
    const TemporaryFolder folder;
    const std::string recording = folder / "rec.sigmf-meta";
    generate({"--length", "20", "-o", recording});
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string named;  // in the message
    };
    const std::vector<Case> cases = {
        {{folder / "missing.sigmf-meta"}, 1, "missing.sigmf-meta"},
        {{"--psdu", folder / "no-such-folder" / "psdu.bin", recording}, 1, "psdu.bin"},
        {{folder / "rec.txt"}, 2, "rec.txt"},
        {{folder / "rec.cf32"}, 2, "--sample-rate"},
    };
    for (const Case& c : cases) {
        const test::ToolRun run = analyze(folder, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.named << ": " << run.err;
        EXPECT_TRUE(contains(run.err, c.named)) << run.err;
        EXPECT_FALSE(contains(run.out, "PASS")) << run.out;
    }
}

// Memory follows the longest burst, not the recording: ten times the bursts
// take no more than a few MB more (the allocator's own slack). Not in the
// sanitizer builds, whose allocator holds freed memory back on purpose.
TEST(AnalyzeProcess, PeakMemoryStaysWhenTheRecordingGrowsTenfold) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps freed blocks";
#endif
    const TemporaryFolder folder;
    std::vector<long> peaks;
    for (const std::string frames : {"20", "200"}) {
        const std::string recording = folder / ("rec" + frames + ".cf32");
        generate({"--rate", "11", "--length", "1000", "--oversampling", "2", "--idle-time", "10", "--frames", frames,
                  "--payload-continue", "-o", recording});
        const test::ToolRun run = analyze(folder, {recording, "--sample-rate", "22e6", "--expect-frames", frames});
        ASSERT_EQ(run.status, 0) << run.err;
        peaks.push_back(run.peak_memory_kib);
    }
    EXPECT_LT(peaks[1] - peaks[0], 8 * 1024) << peaks[0] << " KiB for 20 bursts, " << peaks[1] << " KiB for 200";
}

// Capture tools write core:frequency 0 for a baseband recording: the carrier
// is then unknown and assumed, not 0 Hz.
TEST(AnalyzeProcess, ABasebandFrequencyOfZeroOrBelowIsTakenAsUnknown) {
    const TemporaryFolder folder;
    const std::string recording = folder / "rec.sigmf-meta";
    generate({"--length", "20", "-o", recording});
    auto meta = nlohmann::json::parse(test::read_text(recording));
    for (const double frequency : {0.0, -1e6}) {
        meta["captures"][0]["core:frequency"] = frequency;
        test::write_text(recording, meta.dump());
        const test::ToolRun run = analyze(folder, {recording});
        EXPECT_EQ(run.status, 0) << frequency << ": " << run.out;
        EXPECT_TRUE(contains(run.out, "ppm of 2412 MHz, assumed)")) << run.out;
    }
}

// Addresses as a device label writes them (colons or dashes) go on air first
// octet first; the MAC header window's twelve digits are a number sent least
// significant octet first. The receiver prints addresses in the order received.
TEST(AnalyzeProcess, MacAddressesReachTheAirInTheOrderOfTheirForm) {
    const TemporaryFolder folder;
    const std::string recording = folder / "rec.sigmf-meta";
    generate({"--mac-header", "--fcs", "--length", "20", "--mac", "Address1=00:12:34:56:78:AB", "--mac",
              "Address2=2-A0-C9-1-34-56", "--mac", "Address3=0012345678AB", "-o", recording});
    const test::ToolRun run = analyze(folder, {"--json", recording});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto mac = nlohmann::json::parse(run.out.substr(0, run.out.find('\n')))["mac_header"];
    EXPECT_EQ(mac["Address1"], "00:12:34:56:78:ab") << mac;
    EXPECT_EQ(mac["Address2"], "02:a0:c9:01:34:56") << mac;
    EXPECT_EQ(mac["Address3"], "ab:78:56:34:12:00") << mac;
}

// A rate no recording has is refused with the allowed range, typed (a usage
// error) or read from the file (a runtime failure), instead of sizing buffers by it.
TEST(AnalyzeProcess, SampleRatesOutsideTheRangeAreRefused) {
    const TemporaryFolder folder;
    const std::string cf32 = folder / "rec.cf32";
    const std::string sigmf = folder / "rec.sigmf-meta";
    generate({"--length", "20", "-o", cf32, "-o", sigmf});
    auto meta = nlohmann::json::parse(test::read_text(sigmf));
    for (const char* rate : {"1e15", "1e300"}) {
        const test::ToolRun typed = analyze(folder, {"--sample-rate", rate, cf32});
        EXPECT_EQ(typed.status, 2) << rate << ": " << typed.err;
        EXPECT_TRUE(contains(typed.err, std::string("--sample-rate: ") + rate + " is not allowed; allowed: 11000000 Hz "
                                        "(the chip rate) to 1000000000 Hz"))
            << typed.err;

        meta["global"]["core:sample_rate"] = std::stod(rate);
        test::write_text(sigmf, meta.dump());
        const test::ToolRun read = analyze(folder, {sigmf});
        EXPECT_EQ(read.status, 1) << rate << ": " << read.err;
        EXPECT_TRUE(contains(read.err, "core:sample_rate 1e+")) << read.err;
        EXPECT_TRUE(contains(read.err, "allowed: above 0 Hz to 1000000000 Hz")) << read.err;
        EXPECT_EQ(read.out, "");
    }
}

}  // namespace
}  // namespace dot11b::cli
