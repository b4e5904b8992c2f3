#pragma once
// Internal to the Asio-based transports (scpi_socket.cpp, serial_port.cpp):
// reads and writes on one Asio stream, each bounded by the time-out. Not for
// other headers, so that Asio stays out of the rest of the build.

#include <asio.hpp>

#include <chrono>
#include <string>
#include <string_view>

#include "instrument/transport.hpp"

namespace dot11b::instrument {

template <class Stream>
class StreamTransport : public Transport {
public:
    StreamTransport(std::string name, Milliseconds timeout) : Transport(std::move(name), timeout), stream_(io_) {}

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const std::size_t n = run(
                [&](auto handler) { stream_.async_write_some(asio::buffer(bytes.data(), bytes.size()), handler); },
                timeout(), "sending");
            bytes.remove_prefix(n);
        }
    }

    std::string read_line() override {
        const auto deadline = std::chrono::steady_clock::now() + timeout();
        for (;;) {
            if (const auto end = pending_.find('\n'); end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            if (pending_.size() > kMaxReplyLine) {
                pending_.clear();
                fail(Fault::Lost, "reply longer than " + std::to_string(kMaxReplyLine) + " bytes without a line feed");
            }
            const auto left = std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
            char piece[4096];
            const std::size_t n = run(
                [&](auto handler) { stream_.async_read_some(asio::buffer(piece), handler); },
                std::max(left, Milliseconds(0)), "waiting for a reply");
            pending_.append(piece, n);
        }
    }

protected:
    Stream& stream() { return stream_; }
    asio::io_context& io() { return io_; }

    // Runs one asynchronous operation for at most `limit`; returns its byte
    // count or fails with a time-out or a lost connection.
    template <class Start>
    std::size_t run(Start start, Milliseconds limit, std::string_view action) {
        std::error_code result;
        std::size_t transferred = 0;
        bool done = false;
        start([&](const std::error_code& error, std::size_t n) {
            result = error;
            transferred = n;
            done = true;
        });
        io_.restart();
        io_.run_for(limit);
        if (!done) {
            std::error_code ignored;
            stream_.cancel(ignored);
            io_.restart();
            io_.run();
            fail(Fault::Timeout, "no progress " + std::string(action) + " within " +
                                     std::to_string(timeout().count()) + " ms");
        }
        if (result == asio::error::eof) fail(Fault::Lost, "connection closed by the instrument while " + std::string(action));
        if (result) fail(Fault::Lost, std::string(action) + " failed: " + result.message());
        return transferred;
    }

private:
    asio::io_context io_;
    Stream stream_;
    std::string pending_;  // bytes received after the last line returned
};

}  // namespace dot11b::instrument
