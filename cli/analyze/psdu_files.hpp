#pragma once
// dot11b-analyze --psdu: the decoded PSDU octets of each burst in a file.

#include <filesystem>
#include <vector>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

// The file of the n-th burst (from 1): `path` itself for the first, the stem
// with "-n" for the others ("psdu.bin", "psdu-2.bin").
std::filesystem::path psdu_path(const std::filesystem::path& path, std::size_t burst);

// Writes the PSDU of every decoded burst; returns the files written. Throws
// IoError naming the file.
std::vector<std::filesystem::path> write_psdu_files(const std::filesystem::path& path,
                                                    const analyzer::Analysis& analysis);

}  // namespace dot11b::cli
