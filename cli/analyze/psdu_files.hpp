#pragma once
// dot11b-analyze --psdu: the decoded PSDU octets of each burst in a file.

#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

// The file of the n-th burst (from 1): `path` itself for the first, the stem
// with "-n" for the others ("psdu.bin", "psdu-2.bin").
std::filesystem::path psdu_path(const std::filesystem::path& path, std::size_t burst);

// Throws UsageError when a PSDU file of `path` (the first burst's or a
// numbered one) would be one of the `inputs`: the same file by device and
// inode, whatever its name.
void refuse_psdu_over_inputs(const std::filesystem::path& path, std::span<const std::filesystem::path> inputs);

// Writes the PSDU of a decoded burst (numbered from 1) and returns the file,
// nothing for a burst that did not decode. Throws IoError naming the file.
std::optional<std::filesystem::path> write_psdu_file(const std::filesystem::path& path, std::size_t burst,
                                                     const analyzer::BurstAnalysis& analysis);

}  // namespace dot11b::cli
