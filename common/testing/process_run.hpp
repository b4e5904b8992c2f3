#pragma once
// Runs a built program as the shell would (its own process, as linked) and
// keeps its exit status and both output streams, read back from files in a
// folder the caller owns.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/file_contents.hpp"
#include "common/testing/tool_run.hpp"

extern char** environ;

namespace dot11b::test {

// `arguments` start with the program's path; the output streams pass through
// `folder`/stdout.txt and stderr.txt. A program that cannot start gives -1,
// one killed by a signal 128 plus the signal.
inline ToolRun run_process(const std::filesystem::path& folder, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string out_path = folder / "stdout.txt";
    const std::string err_path = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {-1, "", "cannot start " + arguments[0]};
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), read_text(out_path), read_text(err_path)};
}

}  // namespace dot11b::test
