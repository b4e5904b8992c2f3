#pragma once
// The command-line options that say where the waveform and its settings go
// (the parameter file the waveform starts from is a waveform option).

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace dot11b::cli {

struct OutputOptions {
    std::optional<std::string> save_params;  // where the resulting parameter file goes
    std::vector<std::string> outputs;        // waveform files, format by extension
    std::optional<std::string> markers;      // one byte per sample
    bool estimate = false;                   // print the projected length only
    bool json = false;                       // the summary as JSON on standard output

    void add_to(CLI::App& app);
};

}  // namespace dot11b::cli
