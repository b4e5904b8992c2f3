// dot11b-analyze over a part of a longer capture, and a capture that turns
// out bad part way through.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/waveform_files/cf32_file.hpp"
#include "cli/analyze/command_line.hpp"
#include "cli/gen/command_line.hpp"
#include "common/number_text.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using test::TemporaryFolder;

constexpr double kRate = 22e6;
constexpr std::size_t kFrames = 5;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

test::ToolRun analyze(std::vector<std::string> arguments) {
    return test::run_tool(run_dot11b_analyze, "dot11b-analyze", std::move(arguments));
}

// Frames with sequence numbers 0 to 4, one period of frame and idle time each.
class AnalyzeStream : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = (folder_ / "five.cf32").string();
        const test::ToolRun run =
            test::run_tool(run_dot11b_gen, "dot11b-gen",
                           {"--frames", std::to_string(kFrames), "--mac-header", "--fcs", "--length", "30",
                            "--oversampling", "2", "-o", file_});
        ASSERT_EQ(run.status, 0) << run.err;
        period_s_ = static_cast<double>(test::read_bytes(file_).size() / 8 / kFrames) / kRate;
    }

    std::vector<std::string> arguments(std::vector<std::string> more) const {
        more.insert(more.begin(), {file_, "--sample-rate", number_text(kRate), "--fcs"});
        return more;
    }

    TemporaryFolder folder_;
    std::string file_;
    double period_s_ = 0;
};

TEST_F(AnalyzeStream, StartDurationAndMaxBurstsSelectFramesOfTheCapture) {
    const struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<unsigned> sequence_numbers;
    } kCases[] = {
        {"the first two", {"--max-bursts", "2"}, {0, 1}},
        {"two periods from the idle time of the first",
         {"--start", number_text(0.95 * period_s_), "--duration", number_text(2 * period_s_)},
         {1, 2}},
        {"from the idle time of the third, one burst",
         {"--start", number_text(2.95 * period_s_), "--max-bursts", "1"},
         {3}},
    };
    for (const Case& c : kCases) {
        const test::ToolRun run = analyze(arguments(c.options));
        EXPECT_EQ(run.status, 0) << c.name << "\n" << run.out << run.err;
        for (unsigned n = 0; n < kFrames; ++n) {
            const bool wanted = std::find(c.sequence_numbers.begin(), c.sequence_numbers.end(), n) !=
                                c.sequence_numbers.end();
            EXPECT_EQ(contains(run.out, "sequence number " + std::to_string(n) + ","), wanted) << c.name << " " << n;
        }
        EXPECT_TRUE(contains(run.out, "burst " + std::to_string(c.sequence_numbers.size()) + ":")) << c.name;
        EXPECT_FALSE(contains(run.out, "burst " + std::to_string(c.sequence_numbers.size() + 1) + ":")) << c.name;
    }
    // Sample numbers stay the capture's: the selection starts at the line's sample.
    const test::ToolRun later = analyze(arguments({"--start", number_text(2.95 * period_s_)}));
    const auto first = static_cast<std::size_t>(std::llround(2.95 * period_s_ * kRate));
    EXPECT_TRUE(contains(later.out, "from sample " + std::to_string(first) + " at 22 MHz")) << later.out;

    const test::ToolRun beyond = analyze(arguments({"--start", number_text(kFrames * period_s_ + 1e-3)}));
    EXPECT_EQ(beyond.status, 2);
    EXPECT_TRUE(contains(beyond.err, "--start")) << beyond.err;
}

TEST_F(AnalyzeStream, ACaptureThatFailsPartWayEndsWithAVerdict) {
    std::vector<std::uint8_t> bytes = test::read_bytes(file_);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::size_t sample = bytes.size() / 8 * 3 / 4;
    std::memcpy(&bytes[8 * sample], &nan, 4);
    test::write_bytes(file_, bytes);
    const test::ToolRun run = analyze(arguments({}));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.out, "overall: FAIL")) << run.out;
    EXPECT_TRUE(contains(run.err, "sample " + std::to_string(sample) + " is not a finite number")) << run.err;
}

}  // namespace
}  // namespace dot11b::cli
