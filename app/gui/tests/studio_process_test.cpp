// dot11b-studio as the shell starts it, on a machine without a display: the
// help and the refusals come without the window system, which would abort.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"

namespace dot11b::gui::test {
namespace {

struct ProcessRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the program with an environment that names no display.
ProcessRun run_without_display(const dot11b::test::TemporaryFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), STUDIO_PATH);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string path = "PATH=/usr/bin:/bin";
    std::string home = "HOME=" + folder.path().string();
    std::vector<char*> environment = {path.data(), home.data(), nullptr};
    const std::string out_path = folder / "stdout.txt";
    const std::string err_path = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {-1, "", "cannot start " + arguments[0]};
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), dot11b::test::read_text(out_path),
            dot11b::test::read_text(err_path)};
}

TEST(StudioProcess, HelpAndRefusalsNeedNoDisplay) {
    const dot11b::test::TemporaryFolder folder;
    const ProcessRun help = run_without_display(folder, {"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--font-scale <F>"), std::string::npos) << help.out;

    const ProcessRun bad_scale = run_without_display(folder, {"--font-scale", "9"});
    EXPECT_EQ(bad_scale.status, 2);
    EXPECT_NE(bad_scale.err.find("--font-scale 9 is not a factor from 0.5 to 4"), std::string::npos) << bad_scale.err;

    const ProcessRun unknown = run_without_display(folder, {"--colour"});
    EXPECT_EQ(unknown.status, 2);

    const ProcessRun window = run_without_display(folder, {});
    EXPECT_EQ(window.status, 1);
    EXPECT_NE(window.err.find("no display"), std::string::npos) << window.err;
}

}  // namespace
}  // namespace dot11b::gui::test
