#pragma once
// IEEE 488.2 definite-length arbitrary blocks: "#", one digit n, n digits of
// the byte count, then the bytes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace dot11b::instrument {

// The largest length the one-digit count of length digits allows.
inline constexpr std::size_t kMaxBlockLength = 999'999'999;

// "#<n><length>" for a block of `length` bytes (at most kMaxBlockLength).
std::string block_header(std::size_t length);

// Reading a header from the front of `text`, which starts with '#'.
struct BlockHeader {
    std::size_t header_size;  // bytes of "#<n><length>"
    std::size_t length;       // bytes of data that follow
};
enum class BlockHeaderState { Incomplete, Malformed };
// The header when complete; otherwise whether more bytes may complete it.
std::optional<BlockHeader> parse_block_header(std::string_view text, BlockHeaderState* state = nullptr);

}  // namespace dot11b::instrument
