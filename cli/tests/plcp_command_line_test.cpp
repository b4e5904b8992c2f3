#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/plcp/command_line.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using Outcome = dot11b::test::ToolRun;

Outcome plcp(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_plcp, "dot11b-plcp", std::move(arguments));
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Fields worked out from IEEE 802.11b-1999 18.2.3: SIGNAL is the rate in
// 100 kbit/s, LENGTH the PSDU duration in microseconds, both sent least
// significant bit first. 1024 octets at 11 Mbit/s last ceil(8192 / 11) = 745
// us; 100 octets at 2 Mbit/s last 400 us.
TEST(PlcpCommandLine, PrintsTheFieldsOfTheFrame) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {{}, {"SIGNAL  01110110", "LENGTH  1001011101000000", "chips: preamble 1584, header 528"}},
        {{"2", "100", "short"}, {"SIGNAL  00101000", "LENGTH  0000100110000000", "chips: preamble 792, header 264"}},
    };
    for (const Case& c : cases) {
        const Outcome result = plcp(c.arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        for (const auto& line : c.lines) EXPECT_TRUE(contains(result.out, line + "\n")) << line << "\n" << result.out;
    }
}

TEST(PlcpCommandLine, ArgumentsAreParsedStrictly) {
    const std::vector<std::vector<std::string>> refused = {
        {"11abc"}, {"7"}, {"11", "12x"}, {"11", "-1"}, {"11", "8192"}, {"11", "10", "medium"}, {"1", "10", "short"},
        {"11", "10", "long", "more"},
    };
    for (const auto& arguments : refused) {
        const Outcome result = plcp(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_TRUE(result.out.empty()) << arguments.back();
        EXPECT_TRUE(contains(result.err, arguments.back())) << result.err;
        EXPECT_FALSE(contains(result.err, "dot11b-plcp: dot11b-plcp")) << result.err;
    }
    const Outcome help = plcp({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"rate", "octets", "preamble", "{1,2,5.5,11}", "Exit status"}) {
        EXPECT_TRUE(contains(help.out, part)) << part;
    }
}

}  // namespace
}  // namespace dot11b::cli
