#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/analyze/command_line.hpp"
#include "cli/analyze/psdu_files.hpp"
#include "cli/gen/command_line.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using dot11b::test::read_bytes;
using dot11b::test::TemporaryFolder;

using Outcome = dot11b::test::ToolRun;

Outcome generate(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments));
}
Outcome analyze(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_analyze, "dot11b-analyze", std::move(arguments));
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(AnalyzeCommandLine, ReadsEveryFormatTheGeneratorWrites) {
    TemporaryFolder folder;
    const std::string base = (folder / "default").string();
    ASSERT_EQ(
        generate({"-o", base + ".wfm", "-o", base + ".cf32", "-o", base + ".sigmf-meta", "-o", base + ".mat"}).status,
        0);
    struct Case {
        std::string file;
        std::vector<std::string> options;
    };
    // The instrument file and raw cf32 do not hold the sample rate; 11 MHz x 3.5.
    const std::vector<Case> cases = {
        {base + ".sigmf-meta", {}},
        {base + ".mat", {}},
        {base + ".wfm", {"--sample-rate", "38500000"}},
        {base + ".cf32", {"--sample-rate", "38.5e6"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.options;
        arguments.push_back(c.file);
        const Outcome result = analyze(arguments);
        EXPECT_EQ(result.status, 0) << c.file << "\n" << result.out << result.err;
        EXPECT_TRUE(contains(result.out, "rate:               11 Mbit/s CCK")) << c.file;
        EXPECT_TRUE(contains(result.out, "PSDU:               1024 octets: 00 00 00")) << c.file;
        EXPECT_TRUE(contains(result.out, "header CRC:         ok")) << c.file;
        EXPECT_TRUE(contains(result.out, "overall: PASS")) << c.file;
    }
}

TEST(AnalyzeCommandLine, JsonHoldsThePsduInFullAndPsduWritesIt) {
    TemporaryFolder folder;
    const std::string recording = (folder / "pn9.sigmf-meta").string();
    ASSERT_EQ(generate({"--payload", "pn9", "--length", "40", "--mac-header", "--fcs", "-o", recording}).status, 0);
    const std::string psdu = (folder / "psdu.bin").string();
    const Outcome result = analyze({"--json", "--fcs", "--psdu", psdu, recording});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto burst = nlohmann::json::parse(result.out);
    EXPECT_EQ(burst["burst"], 1);
    EXPECT_EQ(burst["psdu_octets"], 74);  // 30-octet MAC header, 40 octets, FCS
    EXPECT_EQ(burst["fcs"], "valid");
    EXPECT_EQ(burst["passed"], true);
    const auto octets = read_bytes(psdu);
    ASSERT_EQ(octets.size(), 74u);
    std::string hex;
    for (const auto octet : octets) {
        static const char* digits = "0123456789abcdef";
        hex += digits[octet >> 4];
        hex += digits[octet & 15];
    }
    EXPECT_EQ(burst["psdu"], hex);
}

TEST(AnalyzeCommandLine, AFailedCheckExitsWithOne) {
    TemporaryFolder folder;
    const std::string recording = (folder / "unfiltered.sigmf-meta").string();
    ASSERT_EQ(generate({"--filter", "none", "--length", "100", "-o", recording}).status, 0);
    const Outcome result = analyze({recording});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.out, "result:             FAIL: spectrum mask exceeded")) << result.out;
    EXPECT_TRUE(contains(result.out, "overall: FAIL"));
}

TEST(AnalyzeCommandLine, UsageErrorsExitWithTwoNamingTheCause) {
    TemporaryFolder folder;
    const std::string missing = (folder / "missing.sigmf-meta").string();
    struct Case {
        std::vector<std::string> arguments;
        std::string named;  // in the message
    };
    const std::vector<Case> cases = {
        {{}, "FILE"},
        {{"--sample-rate", "5e6", missing}, "--sample-rate"},
        {{"--carrier-frequency", "-1", missing}, "--carrier-frequency"},
    };
    for (const Case& c : cases) {
        const Outcome result = analyze(c.arguments);
        EXPECT_EQ(result.status, 2) << c.named;
        EXPECT_TRUE(contains(result.err, c.named)) << result.err;
    }
}

TEST(AnalyzeCommandLine, PsduFilesAreNumberedFromTheSecondBurst) {
    EXPECT_EQ(psdu_path("out/psdu.bin", 1), "out/psdu.bin");
    EXPECT_EQ(psdu_path("out/psdu.bin", 2), "out/psdu-2.bin");
    EXPECT_EQ(psdu_path("psdu", 12), "psdu-12");
}

}  // namespace
}  // namespace dot11b::cli
