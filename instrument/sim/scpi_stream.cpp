#include "instrument/sim/scpi_stream.hpp"

#include "instrument/scpi_block.hpp"

namespace dot11b::sim {

void CommandSplitter::finish(std::vector<ReceivedCommand>& done) {
    ReceivedCommand command;
    command.text = std::move(text_);
    if (!command.text.empty() && command.text.back() == '\r') command.text.pop_back();
    if (has_block_) command.block = std::move(block_);
    command.malformed = malformed_;
    done.push_back(std::move(command));
    text_.clear();
    block_.clear();
    has_block_ = false;
    in_quotes_ = false;
    malformed_ = false;
    state_ = State::Text;
}

std::vector<ReceivedCommand> CommandSplitter::feed(std::string_view bytes) {
    std::vector<ReceivedCommand> done;
    while (!bytes.empty()) {
        switch (state_) {
            case State::Text:
            case State::AfterBlock: {
                const char c = bytes.front();
                bytes.remove_prefix(1);
                if (c == '\n') {
                    finish(done);
                } else if (c == '#' && !in_quotes_ && state_ == State::Text && !has_block_ && !malformed_) {
                    header_.assign(1, '#');
                    state_ = State::BlockHeader;
                } else {
                    if (c == '"') in_quotes_ = !in_quotes_;
                    // Text after a block, before the line feed, makes the line malformed.
                    if (state_ == State::AfterBlock && c != '\r') malformed_ = true;
                    if (text_.size() < kMaxCommandText) {
                        text_ += c;
                    } else {
                        malformed_ = true;
                    }
                }
                break;
            }
            case State::BlockHeader: {
                const char c = bytes.front();
                bytes.remove_prefix(1);
                if (c == '\n') {
                    text_ += header_;
                    malformed_ = true;
                    finish(done);
                    break;
                }
                header_ += c;
                instrument::BlockHeaderState header_state{};
                if (const auto header = instrument::parse_block_header(header_, &header_state)) {
                    text_ += header_;
                    block_length_ = header->length;
                    has_block_ = true;
                    state_ = block_length_ > 0 ? State::Block : State::AfterBlock;
                } else if (header_state == instrument::BlockHeaderState::Malformed) {
                    // Not a block after all: the rest of the line is read as text.
                    text_ += header_;
                    malformed_ = true;
                    state_ = State::Text;
                }
                break;
            }
            case State::Block: {
                const std::size_t n = std::min(bytes.size(), block_length_ - block_.size());
                block_.append(bytes.substr(0, n));
                bytes.remove_prefix(n);
                if (block_.size() == block_length_) state_ = State::AfterBlock;
                break;
            }
        }
    }
    return done;
}

}  // namespace dot11b::sim
