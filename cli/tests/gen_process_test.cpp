// dot11b-gen as the shell runs it: the program as linked (its own C++
// runtime, its operator new, the MAT-file module loaded from lib/), which
// the in-process tests of the command line cannot see.

#include <gtest/gtest.h>

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
using test::read_text;
using test::TemporaryFolder;

using ProcessRun = test::ToolRun;

ProcessRun run_program(const TemporaryFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), DOT11B_GEN_PATH);
    return test::run_process(folder.path(), std::move(arguments));
}

const std::vector<std::string> kLargestFrame = {
    "--rate", "1", "--preamble", "long", "--mac-header", "--fcs", "--payload", "pn9",
    "--length", "2312", "--oversampling", "3.5", "--filter", "gaussian",
};

std::vector<std::string> with(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// A failure inside the MAT-file module reaches the user as a message and
// exit status 1, not as an abort; no output is left behind.
TEST(GenProcess, MatFileFailuresAreReportedAndNothingIsWritten) {
    const TemporaryFolder folder;
    test::write_text(folder / "not-a-mat-file.mat", std::string(300, 'x'));
    test::write_text(folder / "empty.mat", "");
    for (const char* name : {"not-a-mat-file.mat", "empty.mat"}) {
        const ProcessRun run = run_program(folder, {"--params", folder / name, "-o", folder / "out.wfm"});
        EXPECT_EQ(run.status, 1) << name << ": " << run.err;
        EXPECT_NE(run.err.find("a parameter file was expected"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "out.wfm")) << name;
    }
}

// The module writes and reads in the real program: a parameter file saved by
// one run rebuilds the same waveform in the next, and a Save Wave file is written.
TEST(GenProcess, ParameterFilesRoundTripThroughTheModule) {
    const TemporaryFolder folder;
    const std::vector<std::string> format = {"--rate", "2", "--preamble", "short", "--payload", "pn15", "--length", "100"};
    ASSERT_EQ(run_program(folder, with(format, {"--save-params", folder / "p.mat", "-o", folder / "first.wfm", "-o",
                                                folder / "first.mat"}))
                  .status,
              0);
    const ProcessRun again = run_program(folder, {"--params", folder / "p.mat", "-o", folder / "again.wfm"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(read_bytes(folder / "again.wfm"), read_bytes(folder / "first.wfm"));
    EXPECT_GT(std::filesystem::file_size(folder / "first.mat"), 128U);
}

// The largest frame goes through the program's large-block allocator; its
// file holds every sample and equals the one the command line writes in-process.
TEST(GenProcess, LargestFrameIsWrittenWhole) {
    const TemporaryFolder folder;
    const ProcessRun run = run_program(folder, with(kLargestFrame, {"-o", folder / "process.cf32"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::filesystem::file_size(folder / "process.cf32"), 733964U * 8);
    ASSERT_EQ(test::run_tool(run_dot11b_gen, "dot11b-gen", with(kLargestFrame, {"-o", folder / "in-process.cf32"})).status,
              0);
    EXPECT_EQ(read_bytes(folder / "process.cf32"), read_bytes(folder / "in-process.cf32"));
}

// A name of 250 characters is valid on the usual file systems (255 at most);
// the temporary file beside it must not need a longer one.
TEST(GenProcess, ALongValidNameIsWritten) {
    const TemporaryFolder folder;
    const std::string name = std::string(239, 'w') + ".sigmf-meta";
    const ProcessRun run = run_program(folder, {"--length", "10", "-o", folder / name});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder / name));
    EXPECT_TRUE(std::filesystem::exists(folder / (std::string(239, 'w') + ".sigmf-data")));
}

// One file named twice for different contents: the later write would
// replace the earlier. Refused, and nothing is written.
TEST(GenProcess, AFileNamedTwiceIsRefusedAndNothingIsWritten) {
    const TemporaryFolder folder;
    const std::string same = folder / "same";
    const std::vector<std::vector<std::string>> cases = {
        {"-o", same + ".mat", "--save-params", same + ".mat"},
        {"-o", same + ".wfm", "--markers", same + ".wfm"},
        {"-o", same + ".cf32", "-o", folder / "sub" / ".." / "same.cf32"},
        {"-o", same + ".sigmf-meta", "--markers", same + ".sigmf-data"},
    };
    for (const auto& arguments : cases) {
        const ProcessRun run = run_program(folder, arguments);
        EXPECT_EQ(run.status, 2) << arguments[1] << ": " << run.err;
        EXPECT_NE(run.err.find("the same file as"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
        for (const char* extension : {".mat", ".wfm", ".cf32", ".sigmf-meta", ".sigmf-data"}) {
            EXPECT_FALSE(std::filesystem::exists(same + extension)) << extension;
        }
    }
}

}  // namespace
}  // namespace dot11b::cli
