#pragma once
// Runs a command-line tool's entry point in-process, as the shell would run
// the program, and keeps its exit status and both output streams.

#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace dot11b::test {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
    long peak_memory_kib = 0;  // the largest resident set of a process run; 0 in-process
};

using ToolEntry = int (*)(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

inline ToolRun run_tool(ToolEntry entry, const std::string& program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    std::vector<const char*> argv;
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int status = entry(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, std::move(out).str(), std::move(err).str()};
}

}  // namespace dot11b::test
