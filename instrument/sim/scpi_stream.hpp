#pragma once
// Splits the byte stream an instrument receives into command lines. A line
// ends with a line feed; an IEEE 488.2 definite-length block in it is taken
// whole, line feeds included, so binary data cannot end a command early.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dot11b::sim {

struct ReceivedCommand {
    std::string text;                 // the line without its line feed; a block is replaced by its header
    std::optional<std::string> block;  // the block's bytes, when the line had one
    bool malformed = false;           // an unreadable block header or an overlong line
};

class CommandSplitter {
public:
    // Adds received bytes; returns the commands completed by them.
    std::vector<ReceivedCommand> feed(std::string_view bytes);

    // While a block is arriving: its length and the bytes received so far.
    bool in_block() const { return state_ == State::Block; }
    std::size_t block_length() const { return block_length_; }
    std::size_t block_received() const { return block_.size(); }

private:
    enum class State { Text, BlockHeader, Block, AfterBlock };
    void finish(std::vector<ReceivedCommand>& done);

    State state_ = State::Text;
    std::string text_;
    std::string header_;
    std::string block_;
    std::size_t block_length_ = 0;
    bool has_block_ = false;
    bool in_quotes_ = false;
    bool malformed_ = false;
};

// Longest command text kept; the rest of a longer line is dropped and the line reported malformed.
inline constexpr std::size_t kMaxCommandText = 64 * 1024;

}  // namespace dot11b::sim
