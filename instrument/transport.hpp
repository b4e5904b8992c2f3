#pragma once
// The one interface to an instrument connection (raw SCPI socket, serial port
// or GPIB). Every call gives up after the time-out, so a dead or silent
// instrument ends in a TransportError and never in a hang.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/errors.hpp"

namespace dot11b::instrument {

using Milliseconds = std::chrono::milliseconds;

// Time-out of a fresh connection.
inline constexpr Milliseconds kDefaultTimeout{10000};

// What went wrong; the numbers are the status values the I/O module returns.
enum class Fault : int {
    Connect = 1,     // the connection could not be opened
    Timeout = 2,     // no progress within the time-out
    Lost = 3,        // the connection failed or was closed while in use
    Request = 4,     // the request itself cannot be carried out
    Instrument = 5,  // the instrument reported an error
};

class TransportError : public IoError {
public:
    TransportError(Fault fault, const std::string& message) : IoError(message), fault_(fault) {}
    Fault fault() const { return fault_; }

private:
    Fault fault_;
};

// Called after each piece of a long transfer with the bytes sent so far and the total.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

class Transport {
public:
    virtual ~Transport() = default;
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Sends the bytes as they are.
    virtual void write(std::string_view bytes) = 0;
    // The next reply line without its line feed (and a carriage return before it).
    virtual std::string read_line() = 0;
    // Gives the front panel back to the operator.
    virtual void go_to_local() = 0;

    // Sends one command line: the text, then a line feed unless it already ends in one.
    void write_line(std::string_view command);
    // Sends `command` followed by the IEEE 488.2 definite-length block of
    // `bytes` and a line feed, reporting progress as the bytes go out.
    void write_block(std::string_view command, std::span<const std::uint8_t> bytes, const Progress& progress);

    // Whether the instrument discards a block that closing the connection cut
    // off. A new socket connection starts afresh; a serial line or a GPIB bus
    // would leave the instrument waiting for the rest of the block.
    virtual bool discards_cut_blocks() const { return false; }

    // How long a read or a write may go without progress.
    Milliseconds timeout() const { return timeout_; }
    virtual void set_timeout(Milliseconds timeout) { timeout_ = timeout; }

    // The connection as named in messages, e.g. "TCPIP 127.0.0.1:5025".
    const std::string& name() const { return name_; }

protected:
    Transport(std::string name, Milliseconds timeout) : name_(std::move(name)), timeout_(timeout) {}

    // Bytes per piece of a block, so progress is reported at a useful rate.
    virtual std::size_t block_piece() const { return 64 * 1024; }

    [[noreturn]] void fail(Fault fault, std::string_view what) const;

private:
    std::string name_;
    Milliseconds timeout_;
};

// Longest reply line accepted; anything longer is taken as garbage.
inline constexpr std::size_t kMaxReplyLine = 1 << 20;

}  // namespace dot11b::instrument
