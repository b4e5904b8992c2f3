#pragma once
// The files of a dot11b-gen run, written all or nothing.

#include <filesystem>
#include <vector>

#include "cli/gen/generated_waveform.hpp"
#include "cli/gen/output_options.hpp"
#include "common/durable_file.hpp"

namespace dot11b::cli {

// Throws UsageError naming both options when two outputs of the run stand
// for one file (a SigMF recording is one file whichever of its names is given).
void refuse_shared_outputs(const OutputOptions& options);

// Writes every file the options ask for (the -o files in their formats, the
// markers, the parameter file) into `files`, that is to temporary files that
// replace their targets only when `files` is committed. Returns the files'
// paths (a SigMF recording is two, data first). Throws ConfigError for an
// unknown extension, IoError naming the file.
std::vector<std::filesystem::path> stage_outputs(DurableFileSet& files, const OutputOptions& options,
                                                 const GeneratedWaveform& waveform);

// stage_outputs, then every file renamed into place once all are complete,
// so a failure leaves every earlier file as it was.
std::vector<std::filesystem::path> write_outputs(const OutputOptions& options, const GeneratedWaveform& waveform);

}  // namespace dot11b::cli
