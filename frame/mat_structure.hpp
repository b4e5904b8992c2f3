#pragma once
// A structural check of a Level 5 MAT-file held in memory, made before any
// MAT-file library parses it: every data element's declared size must fit
// the bytes that are really there, compressed variables must inflate to a
// bounded, complete element, and every array's data must match its
// dimensions and class. A file that passes cannot make a parser allocate
// more than its contents justify.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dot11b::frame {

// Limits of what the check accepts.
inline constexpr std::size_t kMaxInflatedVariableBytes = std::size_t{64} << 20;
inline constexpr std::size_t kMaxInflatedFileBytes = std::size_t{256} << 20;
inline constexpr int kMaxStructureDepth = 32;

// Nothing when the file is sound, otherwise what is wrong with it.
std::optional<std::string> mat_structure_problem(std::span<const std::uint8_t> file);

}  // namespace dot11b::frame
