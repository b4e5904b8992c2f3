#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/gen/command_line.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using Outcome = dot11b::test::ToolRun;

Outcome generate(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments));
}

TEST(VerifyOption, PassesOnlyWaveformsThatDecodeAndMeetTheLimits) {
    dot11b::test::TemporaryFolder folder;
    const std::string output = (folder / "verified.wfm").string();
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string verdict;
    };
    const std::vector<Case> cases = {
        {{"--length", "100"}, 0, "verify:           PASS"},
        {{"--length", "100", "--mirror", "--preamble", "short"}, 0, "verify:           PASS"},
        {{"--rate", "5.5", "--modulation", "pbcc", "--mac-header", "--fcs", "--length", "60"},
         0,
         "verify:           PASS"},
        {{"--length", "100", "--filter", "none"}, 1, "verify:           FAIL: spectrum mask exceeded"},
        {{"--length", "100", "--ramp-time", "5"}, 1, "verify:           FAIL: power-on ramp 3."},  // 3.16 us
        {{"--unframed", "--length", "100"}, 2, "--verify: an unframed waveform has no preamble to decode"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--verify", "-o", output});
        const Outcome result = generate(arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments.front() << "\n" << result.err;
        EXPECT_NE(result.err.find(c.verdict), std::string::npos) << result.err;
    }
    // --estimate builds nothing to verify.
    const Outcome estimate = generate({"--estimate", "--verify"});
    EXPECT_EQ(estimate.status, 2);
    EXPECT_NE(estimate.err.find("--estimate excludes --verify"), std::string::npos) << estimate.err;
}

}  // namespace
}  // namespace dot11b::cli
