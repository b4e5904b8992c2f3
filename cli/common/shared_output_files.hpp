#pragma once
// Output names that stand for one file: a run that names a file twice would
// write it twice, and the last write would silently win.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <utility>

namespace dot11b::cli {

// The file an output name stands for, equal for every name of one file:
// absolute, symbolic links of existing folders resolved, "." and ".."
// removed, and one name for both halves of a SigMF recording.
std::filesystem::path output_file_identity(const std::filesystem::path& name);

// The indices (earlier, later) of the first two names that stand for one file.
std::optional<std::pair<std::size_t, std::size_t>> first_shared_file(std::span<const std::filesystem::path> names);

}  // namespace dot11b::cli
