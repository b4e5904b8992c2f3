// dot11b-analyze counting the frames of a sequence: dot11b-gen's frames as
// written, and the same recording with frames removed and repeated here.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "cli/analyze/command_line.hpp"
#include "cli/gen/command_line.hpp"
#include "common/number_text.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using test::TemporaryFolder;

constexpr std::size_t kFrames = 20;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

test::ToolRun analyze(std::vector<std::string> arguments) {
    return test::run_tool(run_dot11b_analyze, "dot11b-analyze", std::move(arguments));
}

// The last --json line.
nlohmann::json last_line(const std::string& out) {
    const std::size_t end = out.find_last_not_of('\n');
    const std::size_t start = out.rfind('\n', end);
    return nlohmann::json::parse(out.substr(start == std::string::npos ? 0 : start + 1, end + 1 - start - 1));
}

class AnalyzeFrameSequence : public ::testing::Test {
protected:
    void SetUp() override {
        meta_ = (folder_ / "w.sigmf-meta").string();
        const test::ToolRun run = test::run_tool(
            run_dot11b_gen, "dot11b-gen",
            {"--frames", std::to_string(kFrames), "--mac-header", "--fcs", "--length", "40", "-o", meta_});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    TemporaryFolder folder_;
    std::string meta_;
};

TEST_F(AnalyzeFrameSequence, EveryFrameOfTheSequenceDecodesInOrder) {
    const test::ToolRun run = analyze({meta_, "--fcs", "--expect-frames", std::to_string(kFrames)});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "frames: 20 bursts, 20 decoded, 0 FCS errors, 20 distinct, 0 duplicates, 0 missing "
                                  "sequence numbers"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "packet error rate: 0.00 % (20 distinct frames of 20 expected): PASS")) << run.out;
    EXPECT_TRUE(contains(run.out, "sequence number 19, fragment 0")) << run.out;
    EXPECT_TRUE(contains(run.out, "overall: PASS")) << run.out;
}

// Frame 3 removed, frame 1 sent twice, frame 19 cut off: 18 distinct frames,
// one repeat, one gap inside the run of numbers.
TEST_F(AnalyzeFrameSequence, RemovedAndRepeatedFramesAreCountedAndFailTheExpectation) {
    const waveform_files::Recording recording = waveform_files::read_recording(meta_);
    const std::size_t period = recording.samples.size() / kFrames;
    ASSERT_EQ(period * kFrames, recording.samples.size());
    Samples edited;
    for (const std::size_t frame : {0, 1, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) {
        const auto first = recording.samples.begin() + static_cast<std::ptrdiff_t>(frame * period);
        edited.insert(edited.end(), first, first + static_cast<std::ptrdiff_t>(period));
    }
    const std::string edited_file = (folder_ / "edited.cf32").string();
    DurableFile file(edited_file);
    waveform_files::write_cf32(file, edited);
    file.commit();

    const std::vector<std::string> common = {edited_file, "--sample-rate", number_text(recording.sample_rate_hz),
                                             "--fcs", "--expect-frames", std::to_string(kFrames)};
    const test::ToolRun run = analyze(common);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "frames: 19 bursts, 19 decoded, 0 FCS errors, 18 distinct, 1 duplicates, 1 missing "
                                  "sequence numbers"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "packet error rate: 10.00 % (18 distinct frames of 20 expected): FAIL")) << run.out;
    EXPECT_TRUE(contains(run.out, "overall: FAIL")) << run.out;

    std::vector<std::string> json = common;
    json.push_back("--json");
    const test::ToolRun json_run = analyze(json);
    EXPECT_EQ(json_run.status, 1);
    const nlohmann::json summary = last_line(json_run.out)["summary"];
    EXPECT_EQ(summary["duplicates"], 1);
    EXPECT_EQ(summary["missing"], 1);
    EXPECT_DOUBLE_EQ(summary["packet_error_rate"].get<double>(), 0.1);
    EXPECT_EQ(summary["passed"], false);

    // Every burst passes; only the count of frames fails the run.
    std::vector<std::string> fewer = common;
    fewer.back() = "18";
    EXPECT_EQ(analyze(fewer).status, 0);
}

}  // namespace
}  // namespace dot11b::cli
