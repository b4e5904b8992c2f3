#pragma once
// Replacing a file whole or not at all.

#include <cstdint>
#include <filesystem>
#include <span>

namespace dot11b::instrument {

// Writes `bytes` to a new temporary file in the folder of `path` and renames
// it onto `path`; a failure leaves any existing file untouched and removes the
// temporary file. Throws IoError naming the path and the system's reason.
void write_file_atomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace dot11b::instrument
