// dot11b-gen --sdr and dot11b-analyze --sdr as the shell runs them, against
// the stand-in SoapySDR device module: what reaches the device, what it
// plays decodes, and every failure exits 1 with the device closed.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/testing/file_contents.hpp"
#include "common/testing/process_run.hpp"
#include "common/testing/temporary_folder.hpp"
#include "sdr/tests/standin/standin_environment.hpp"

namespace dot11b::cli {
namespace {

using test::TemporaryFolder;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

test::ToolRun run(const TemporaryFolder& folder, const char* program, std::vector<std::string> arguments) {
    test::use_standin_sdr_only();
    arguments.insert(arguments.begin(), program);
    return test::run_process(folder.path(), std::move(arguments));
}

// The statuses of the bursts dot11b-analyze --json reports (not its frame summary).
std::vector<std::string> burst_statuses(const std::string& json_lines) {
    std::vector<std::string> statuses;
    std::istringstream lines(json_lines);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json report = nlohmann::json::parse(line);
        if (!report.contains("summary")) statuses.push_back(report.at("status").get<std::string>());
    }
    return statuses;
}

class SdrProcess : public ::testing::Test {
protected:
    std::string standin(const std::string& extra) const {
        return "driver=standin,settings_log=" + (folder / "settings.txt").string() + "," + extra;
    }
    std::string settings() const { return test::read_text(folder / "settings.txt"); }

    TemporaryFolder folder;
};

TEST_F(SdrProcess, PlayedPeriodsDecodeAndCaptureAnalysesAndSaves) {
    const std::string tx = folder / "tx.cf32";
    // 40 MHz is the lowest offered rate above the waveform's 38.5 MHz.
    const test::ToolRun gen =
        run(folder, DOT11B_GEN_PATH,
            {"--json", "--length", "40", "--channel", "6", "--sdr-gain", "20", "--repeat", "3", "--sdr",
             standin("record=" + tx + ",rates=20e6:40e6")});
    ASSERT_EQ(gen.status, 0) << gen.err;
    EXPECT_TRUE(contains(gen.err, "played: 3 periods")) << gen.err;
    const nlohmann::json summary = nlohmann::json::parse(gen.out);
    EXPECT_EQ(summary["sdr"]["periods"], 3);
    EXPECT_EQ(summary["sdr"]["samples"].get<std::uintmax_t>() * 8, std::filesystem::file_size(tx));
    EXPECT_TRUE(contains(gen.err, "RF blanking is not available")) << gen.err;
    const std::string log = settings();
    for (const char* line : {"tx rate 40000000\n", "tx frequency 2437000000\n", "tx gain 20\n", "tx stream CF32\n"}) {
        EXPECT_TRUE(contains(log, line)) << line << " not in\n" << log;
    }
    EXPECT_TRUE(log.ends_with("close\n")) << log;

    const test::ToolRun played = run(folder, DOT11B_ANALYZE_PATH, {"--json", "--sample-rate", "40e6", tx});
    EXPECT_EQ(played.status, 0) << played.out << played.err;
    EXPECT_EQ(burst_statuses(played.out), std::vector<std::string>(3, "decoded")) << played.out;

    // The resampled waveform keeps the original's spectrum-mask margin within 1 dB.
    const std::string original = folder / "original.cf32";
    ASSERT_EQ(run(folder, DOT11B_GEN_PATH, {"--length", "40", "-o", original}).status, 0);
    const test::ToolRun reference = run(folder, DOT11B_ANALYZE_PATH, {"--json", "--sample-rate", "38.5e6", original});
    const auto margin = [](const std::string& json_lines) {
        const nlohmann::json first = nlohmann::json::parse(json_lines.substr(0, json_lines.find('\n')));
        return first.at("mask").at("worst_margin_db").get<double>();
    };
    EXPECT_NEAR(margin(played.out), margin(reference.out), 1.0) << played.out << reference.out;

    // The recording replayed as the receive stream: two periods' worth.
    const double seconds = 2.0 * static_cast<double>(std::filesystem::file_size(tx)) / 8.0 / 40e6 / 3.0;
    const std::string saved = folder / "capture.sigmf-meta";
    const test::ToolRun captured =
        run(folder, DOT11B_ANALYZE_PATH,
            {"--json", "--frequency", "2437e6", "--duration", std::to_string(seconds), "--save", saved, "--sdr",
             standin("replay=" + tx + ",rates=10e6:40e6")});
    EXPECT_EQ(captured.status, 0) << captured.out << captured.err;
    const std::vector<std::string> statuses = burst_statuses(captured.out);
    EXPECT_GE(std::count(statuses.begin(), statuses.end(), "decoded"), 1) << captured.out;
    EXPECT_TRUE(contains(settings(), "rx rate 40000000\nrx frequency 2437000000\n")) << settings();

    const nlohmann::json meta = nlohmann::json::parse(test::read_text(saved));
    EXPECT_EQ(meta["global"]["core:sample_rate"], 40e6);
    EXPECT_EQ(meta["global"]["core:hw"], "standin StandIn-1");
    EXPECT_EQ(meta["captures"][0]["core:frequency"], 2437e6);
    EXPECT_TRUE(meta["captures"][0]["core:datetime"].get<std::string>().ends_with("Z"));
    const test::ToolRun reread = run(folder, DOT11B_ANALYZE_PATH, {"--json", saved});
    EXPECT_EQ(burst_statuses(reread.out), statuses);
}

TEST_F(SdrProcess, FailuresExitOneWithTheDeviceClosed) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        const char* expected;
        bool opened;
    } cases[] = {
        {"no device", {"--sdr", "driver=radio9"}, "no SDR device matches \"driver=radio9\"; SoapySDR found: driver=standin", false},
        {"vanishes", {"--sdr", standin("vanish_after=10000")}, "stopped streaming after", true},
        {"frequency", {"--sdr", standin("refuse=frequency")}, "refused frequency 2412000000 Hz", true},
        {"gain", {"--sdr-gain", "5", "--sdr", standin("refuse=gain")}, "refused gain 5 dB", true},
        {"rate", {"--sdr-rate", "8e6", "--sdr", standin("rates=8e6:20e6")}, "is below 11 MHz", true},
        {"slow device", {"--sdr", standin("rates=2e6:8e6")}, "no sample rate of 11 MHz", true},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "settings.txt");
        std::vector<std::string> arguments = {"--length", "20"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const test::ToolRun gen = run(folder, DOT11B_GEN_PATH, arguments);
        EXPECT_EQ(gen.status, 1) << c.name << ": " << gen.err;
        EXPECT_TRUE(contains(gen.err, c.expected)) << c.name << ": " << gen.err;
        if (c.opened) {
            EXPECT_TRUE(settings().ends_with("close\n")) << c.name << ":\n" << settings();
        }
    }
    const test::ToolRun capture =
        run(folder, DOT11B_ANALYZE_PATH, {"--sdr", standin("vanish_after=1000,replay=/nonexistent.cf32")});
    EXPECT_EQ(capture.status, 1) << capture.err;
    EXPECT_TRUE(contains(capture.err, "cannot open replay file")) << capture.err;
}

// Without --repeat the loop plays until SIGTERM, after which the stream
// stops, the device closes and the summary is printed with status 0.
TEST_F(SdrProcess, SigtermStopsCleanly) {
    test::use_standin_sdr_only();
    std::vector<std::string> arguments = {DOT11B_GEN_PATH, "--length", "20", "--sdr", standin("realtime=1,rates=40e6")};
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string err_path = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Waits, boundedly, for the stream to start.
    for (int k = 0; k < 600 && !contains(test::read_text(err_path), "playing until Ctrl-C"); ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const std::string err = test::read_text(err_path);
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    EXPECT_TRUE(contains(err, "played: ")) << err;
    EXPECT_TRUE(contains(err, " underflows")) << err;
    EXPECT_TRUE(settings().ends_with("close\n")) << settings();
}

}  // namespace
}  // namespace dot11b::cli
