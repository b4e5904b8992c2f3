// dot11b-plot as the shell runs it: what it refuses before drawing and its
// exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/file_contents.hpp"
#include "common/testing/process_run.hpp"
#include "common/testing/temporary_folder.hpp"

namespace dot11b::cli {
namespace {

using test::TemporaryFolder;

test::ToolRun plot(const TemporaryFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), DOT11B_PLOT_PATH);
    return test::run_process(folder.path(), std::move(arguments));
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Two views into one file: the second would replace the first. Refused, and
// no view is drawn.
TEST(PlotProcess, AFileNamedByTwoPlotsIsRefusedAndNothingIsWritten) {
    const TemporaryFolder folder;
    const std::string wave = folder / "wave.cf32";
    test::write_bytes(wave, std::vector<std::uint8_t>(8 * 64, 0));
    const std::string png = folder / "s.png";
    const std::vector<std::vector<std::string>> cases = {
        {"--plot", "spectrum:" + png, "--plot", "ccdf:" + png},
        {"--plot", "ccdf:" + png, "--plot", "iq:" + (folder / "sub" / ".." / "s.png").string()},
        {"--plot", "ccdf:" + (folder / "t.csv").string(), "--plot", "eye:" + png, "--plot", "iq:" + png},
    };
    for (auto arguments : cases) {
        arguments.insert(arguments.begin(), {wave, "--sample-rate", "22e6"});
        const test::ToolRun run = plot(folder, arguments);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(contains(run.err, "the same file as --plot")) << run.err;
        EXPECT_FALSE(std::filesystem::exists(png));
        EXPECT_FALSE(std::filesystem::exists(folder / "t.csv"));
    }
}

// A rate no recording has is refused with the allowed range, typed (a usage
// error) or read from the file (a runtime failure), instead of sizing buffers by it.
TEST(PlotProcess, SampleRatesOutsideTheRangeAreRefused) {
    const TemporaryFolder folder;
    const std::string wave = folder / "wave.cf32";
    test::write_bytes(wave, std::vector<std::uint8_t>(8 * 64, 0));
    test::write_bytes(folder / "rec.sigmf-data", std::vector<std::uint8_t>(8 * 64, 0));
    const std::string png = folder / "eye.png";
    for (const std::string rate : {"1e15", "1e300"}) {
        const test::ToolRun typed = plot(folder, {wave, "--sample-rate", rate, "--plot", "eye:" + png});
        EXPECT_EQ(typed.status, 2) << rate << ": " << typed.err;
        EXPECT_TRUE(contains(typed.err, "--sample-rate: " + rate + " is not allowed; allowed: above 0 Hz to 1000000000 Hz"))
            << typed.err;

        test::write_text(folder / "rec.sigmf-meta",
                         R"({"global": {"core:datatype": "cf32_le", "core:sample_rate": )" + rate + "}}");
        const test::ToolRun read = plot(folder, {folder / "rec.sigmf-meta", "--plot", "eye:" + png});
        EXPECT_EQ(read.status, 1) << rate << ": " << read.err;
        EXPECT_TRUE(contains(read.err, "core:sample_rate 1e+")) << read.err;
        EXPECT_FALSE(std::filesystem::exists(png));
    }
}

}  // namespace
}  // namespace dot11b::cli
