#pragma once
// The files of a dot11b-gen run, written all or nothing.

#include <filesystem>
#include <vector>

#include "cli/gen/generated_waveform.hpp"
#include "cli/gen/output_options.hpp"

namespace dot11b::cli {

// Writes every file the options ask for (the -o files in their formats, the
// markers, the parameter file) to temporary files, and only when all of them
// are complete renames them into place, so a failure leaves every earlier
// file as it was. Returns the files written (a SigMF recording is two, data
// first). Throws ConfigError for an unknown extension, IoError naming the file.
std::vector<std::filesystem::path> write_outputs(const OutputOptions& options, const GeneratedWaveform& waveform);

}  // namespace dot11b::cli
