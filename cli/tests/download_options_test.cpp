#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/gen/command_line.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "instrument/tests/simulator_process.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using instrument::SimulatorProcess;

using Result = dot11b::test::ToolRun;

Result gen(std::vector<std::string> arguments) {
    return dot11b::test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments));
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The generator options reach the instrument through the playback commands.
TEST(DownloadOptions, DownloadsAndPlaysWithTheGivenSettings) {
    SimulatorProcess sim;
    const Result result =
        gen({"--download", "tcpip://127.0.0.1:" + std::to_string(sim.port()), "--channel", "6", "--amplitude", "-20.4",
             "--title", "my wave #1", "--recon-filter", "8mhz", "--rf-blanking", "off", "--marker-polarity", "neg",
             "--arb-ref", "ext", "--corrections-dir", "/nonexistent"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.err, "Download Completed: Waveform has been successfully transferred to the instrument\n"))
        << result.err;
    const std::string summary = sim.stop();
    for (const char* line : {"stored WFM1:MYWAVE#1: 160272 bytes", "stored MKR1:MYWAVE#1: 40068 bytes",
                             "selected waveform: MYWAVE#1", "frequency (Hz): 2437000000", "amplitude (dBm): -20",
                             "reconstruction filter: 8000000", "RF blanking: 0", "marker polarity: NEG",
                             "ARB reference: EXT", "ARB state: 1", "RF output: 1", "modulation: 1"}) {
        EXPECT_TRUE(contains(summary, line)) << line << "\n" << summary;
    }
}

TEST(DownloadOptions, FailuresGiveTheMessageAndANonZeroStatus) {
    std::uint16_t port = 0;
    {
        const SimulatorProcess gone;
        port = gone.port();
    }
    const Result refused = gen({"--download", "tcpip://127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "Error Occured During Waveform Download: TCPIP 127.0.0.1:" + std::to_string(port) +
                                          ": cannot connect"))
        << refused.err;

    const std::vector<std::vector<std::string>> usage_errors = {
        {"--download", "usb://1"},
        {"--frequency", "50000"},
        {"--frequency", "2.4e9", "--channel", "3"},
        {"--channel", "15"},
        {"--amplitude", "21"},
        {"--recon-filter", "1mhz"},
    };
    for (const auto& arguments : usage_errors) EXPECT_EQ(gen(arguments).status, 2) << arguments[0];
}

// A correction file that is there but cannot be used: the download goes
// ahead, and the warning names the file on the command line and in --json.
TEST(DownloadOptions, UnusableCorrectionFilesAreWarnedAbout) {
    SimulatorProcess sim;
    const test::TemporaryFolder folder;
    const auto file = folder / "US00000001 2.4 GHz.mat";
    test::write_text(file, "not a MAT-file");
    const Result result = gen({"--download", "tcpip://127.0.0.1:" + std::to_string(sim.port()), "--corrections-dir",
                               folder.path().string(), "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string warning = "corrections not applied: " + file.string() + ": cannot open " + file.string();
    EXPECT_TRUE(contains(result.err, "Download Completed: Waveform has been successfully transferred to the instrument\n"
                                     "warning: " + warning))
        << result.err;
    const auto download = nlohmann::json::parse(result.out)["download"];
    EXPECT_EQ(download["ok"], true);
    EXPECT_EQ(download["title"], "Download Completed");
    ASSERT_EQ(download["warnings"].size(), 1U);
    EXPECT_TRUE(contains(download["warnings"][0].get<std::string>(), warning));
}

// Over RS-232 a transfer estimated above 0.75 minutes needs --yes.
TEST(DownloadOptions, LongRs232TransfersNeedYes) {
    SimulatorProcess sim({"--pty"});
    const std::string uri = "serial:" + sim.pty() + "?baud=300&handshake=xon";
    const Result refused = gen({"--download", uri});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "RS-232 Download: This download will take approximately 80.1 minutes. Do you "
                                      "want to continue? Not without --yes."))
        << refused.err;
    EXPECT_TRUE(contains(refused.err, "Error Occured During Waveform Download: Download cancelled")) << refused.err;
    EXPECT_EQ(sim.log(), std::vector<std::string>{"*IDN?"}) << "only the corrections lookup before the question";

    const Result accepted = gen({"--download", uri, "--yes"});
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_TRUE(contains(accepted.err, "Download Completed")) << accepted.err;
}

// A download that has run for more than a second shows its progress.
TEST(DownloadOptions, SlowTransfersShowProgress) {
    SimulatorProcess slow({"--reply-delay", "1200"});
    const Result result = gen({"--download", "tcpip://127.0.0.1:" + std::to_string(slow.port())});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.err, "downloading: 100% (200340 of 200340 bytes)\n")) << result.err;
}

}  // namespace
}  // namespace dot11b::cli
