#pragma once
// Runs a built program as the shell would (its own process, as linked) and
// keeps its exit status and both output streams, read back from files in a
// folder the caller owns.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "common/testing/file_contents.hpp"
#include "common/testing/tool_run.hpp"

extern char** environ;

namespace dot11b::test {

// The largest resident set of a running process so far (VmHWM), in KiB; 0
// once it has ended. Its own, unlike the exit status's resource usage, which
// counts the memory of the parent that spawned it.
inline long peak_memory_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// `arguments` start with the program's path; the output streams pass through
// `folder`/stdout.txt and stderr.txt. A program that cannot start gives -1,
// one killed by a signal 128 plus the signal. Its peak memory is read while
// it runs, every few milliseconds.
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
    long peak = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        peak = std::max(peak, peak_memory_kib(pid));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), read_text(out_path), read_text(err_path),
            peak};
}

}  // namespace dot11b::test
