#include "instrument/scpi_block.hpp"

namespace dot11b::instrument {

std::string block_header(std::size_t length) {
    const std::string digits = std::to_string(length);
    return "#" + std::to_string(digits.size()) + digits;
}

std::optional<BlockHeader> parse_block_header(std::string_view text, BlockHeaderState* state) {
    const auto report = [&](BlockHeaderState s) {
        if (state != nullptr) *state = s;
        return std::nullopt;
    };
    if (text.empty() || text[0] != '#') return report(BlockHeaderState::Malformed);
    if (text.size() < 2) return report(BlockHeaderState::Incomplete);
    // "#0" is the indefinite form, which has no length to read.
    if (text[1] < '1' || text[1] > '9') return report(BlockHeaderState::Malformed);
    const std::size_t digits = static_cast<std::size_t>(text[1] - '0');
    std::size_t length = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (2 + i >= text.size()) return report(BlockHeaderState::Incomplete);
        const char c = text[2 + i];
        if (c < '0' || c > '9') return report(BlockHeaderState::Malformed);
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    return BlockHeader{2 + digits, length};
}

}  // namespace dot11b::instrument
