// sgsim: a simulated signal generator for tests and demonstrations. It serves
// SCPI over a raw socket on the loopback interface (and optionally over a
// pseudo-terminal, standing in for an RS-232 line), logs every command line,
// keeps downloaded waveforms in memory and prints what it holds when it stops.

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <asio.hpp>

#include <array>
#include <chrono>
#include <csignal>
#include <functional>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "common/durable_file.hpp"
#include "instrument/sim/scpi_stream.hpp"
#include "instrument/sim/simulated_generator.hpp"

namespace {

using dot11b::sim::CommandSplitter;
using dot11b::sim::ReceivedCommand;
using dot11b::sim::SimulatedGenerator;

struct Options {
    unsigned short port = 0;
    bool pty = false;
    std::string log;
    std::string store;
    std::string identity = "Simulated,ORB sgsim,US00000001,1.0";
    double time_limit = 0;
    bool drop_mid_block = false;
    unsigned reply_delay_ms = 0;
    bool garbage_replies = false;
};

using Clock = std::chrono::steady_clock;

// What all connections share: the instrument, the log and the fault options,
// and what a stop request waits for.
struct Simulator {
    const Options& options;
    SimulatedGenerator generator;
    std::ostream& log;
    int open_connections = 0;
    Clock::time_point last_activity = Clock::now();
};

// One connection (a TCP client or the pseudo-terminal): commands are carried
// out in the order received, one reply at a time.
template <class Stream>
class Session : public std::enable_shared_from_this<Session<Stream>> {
public:
    Session(Stream stream, Simulator& sim, std::function<void()> on_close)
        : stream_(std::move(stream)), sim_(sim), timer_(stream_.get_executor()), on_close_(std::move(on_close)) {}

    void start() { read(); }

private:
    void read() {
        stream_.async_read_some(asio::buffer(buffer_), [self = this->shared_from_this()](std::error_code error, std::size_t n) {
            self->sim_.last_activity = Clock::now();
            if (error) return self->close();
            if (!self->receive(std::string_view(self->buffer_.data(), n))) return self->close();
            self->process();
        });
    }

    // Returns false when the connection is dropped on purpose.
    bool receive(std::string_view bytes) {
        if (!sim_.options.drop_mid_block) {
            for (auto& command : splitter_.feed(bytes)) pending_.push_back(std::move(command));
            return true;
        }
        for (const char c : bytes) {
            for (auto& command : splitter_.feed(std::string_view(&c, 1))) pending_.push_back(std::move(command));
            if (splitter_.in_block() && 2 * splitter_.block_received() >= splitter_.block_length()) return false;
        }
        return true;
    }

    void process() {
        while (!pending_.empty()) {
            const ReceivedCommand command = std::move(pending_.front());
            pending_.pop_front();
            sim_.log << command.text << std::endl;
            if (const auto reply = sim_.generator.execute(command)) return send(*reply);
        }
        read();
    }

    void send(std::string reply) {
        reply_ = sim_.options.garbage_replies ? std::string("\x01\xfe garbage \x7f\x80", 14) : std::move(reply);
        reply_ += '\n';
        timer_.expires_after(std::chrono::milliseconds(sim_.options.reply_delay_ms));
        timer_.async_wait([self = this->shared_from_this()](std::error_code) {
            asio::async_write(self->stream_, asio::buffer(self->reply_), [self](std::error_code error, std::size_t) {
                if (error) return self->close();
                self->process();
            });
        });
    }

    void close() {
        std::error_code ignored;
        stream_.close(ignored);
        if (on_close_) on_close_();
    }

    Stream stream_;
    Simulator& sim_;
    asio::steady_timer timer_;
    std::function<void()> on_close_;
    std::array<char, 65536> buffer_{};
    CommandSplitter splitter_;
    std::deque<ReceivedCommand> pending_;
    std::string reply_;
};

// Serves one client at a time, like an instrument's single SCPI socket; the
// next waits in the listen queue.
class SocketServer {
public:
    SocketServer(asio::io_context& io, Simulator& sim, unsigned short port)
        : acceptor_(io, asio::ip::tcp::endpoint(asio::ip::address_v4::loopback(), port)), sim_(sim) {}

    unsigned short port() const { return acceptor_.local_endpoint().port(); }

    void accept() {
        acceptor_.async_accept([this](std::error_code error, asio::ip::tcp::socket socket) {
            if (error) return;
            ++sim_.open_connections;
            sim_.last_activity = Clock::now();
            socket.set_option(asio::ip::tcp::no_delay(true), error);
            std::make_shared<Session<asio::ip::tcp::socket>>(std::move(socket), sim_, [this] {
                --sim_.open_connections;
                sim_.last_activity = Clock::now();
                accept();
            })->start();
        });
    }

private:
    asio::ip::tcp::acceptor acceptor_;
    Simulator& sim_;
};

// A pseudo-terminal whose far end a serial-port client opens by its path.
class PseudoTerminal {
public:
    explicit PseudoTerminal(asio::io_context& io) : master_(io) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) throw std::runtime_error("no pseudo-terminal");
        master_.assign(master);
        path_ = ::ptsname(master);
        // Keeping the far end open means a client closing it is not a hang-up for us.
        keep_open_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (keep_open_ < 0) throw std::runtime_error("cannot open " + path_);
        termios raw{};
        ::tcgetattr(keep_open_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(keep_open_, TCSANOW, &raw);
    }
    ~PseudoTerminal() { ::close(keep_open_); }

    const std::string& path() const { return path_; }
    asio::posix::stream_descriptor take_master() { return std::move(master_); }

private:
    asio::posix::stream_descriptor master_;
    std::string path_;
    int keep_open_ = -1;
};

void store_files(const SimulatedGenerator& generator, const std::filesystem::path& folder) {
    for (const auto& [name, bytes] : generator.files()) {
        const auto colon = name.find(':');
        const auto dir = folder / name.substr(0, colon);
        std::filesystem::create_directories(dir);
        dot11b::write_file_durably(
            dir / name.substr(colon + 1),
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    CLI::App app{"Simulated ORB signal generator: SCPI over a raw socket on 127.0.0.1 (and optionally a pseudo-terminal)"};
    app.add_option("--port", options.port, "TCP port on 127.0.0.1; 0 chooses a free one (printed)");
    app.add_flag("--pty", options.pty, "also serve a pseudo-terminal (its path is printed)");
    app.add_option("--log", options.log, "file for the log of command lines (default: standard error)");
    app.add_option("--store", options.store, "folder that receives the stored WFM1 and MKR1 data on exit");
    app.add_option("--idn", options.identity, "reply to *IDN?");
    // Beyond a billion seconds (about 32 years) the timer's nanoseconds would overflow.
    app.add_option("--time-limit", options.time_limit,
                   "stop after this many seconds, at most 1e9 (0: run until signalled)")
        ->check(CLI::Range(0.0, 1e9));
    app.add_flag("--drop-mid-block", options.drop_mid_block, "close the connection halfway through every data block");
    app.add_option("--reply-delay", options.reply_delay_ms, "delay every reply by this many milliseconds");
    app.add_flag("--garbage-replies", options.garbage_replies, "answer every query with binary garbage");
    CLI11_PARSE(app, argc, argv);

    std::signal(SIGPIPE, SIG_IGN);
    std::ofstream log_file;
    if (!options.log.empty()) {
        log_file.open(options.log, std::ios::app);
        if (!log_file) {
            std::cerr << "sgsim: cannot open the log file " << options.log << '\n';
            return 1;
        }
    }
    Simulator sim{options, SimulatedGenerator(options.identity), options.log.empty() ? std::cerr : log_file};

    try {
        asio::io_context io;
        SocketServer server(io, sim, options.port);
        server.accept();
        std::cout << "listening on 127.0.0.1:" << server.port() << std::endl;
        std::optional<PseudoTerminal> pty;
        if (options.pty) {
            pty.emplace(io);
            std::make_shared<Session<asio::posix::stream_descriptor>>(pty->take_master(), sim, nullptr)->start();
            std::cout << "serial on " << pty->path() << std::endl;
        }
        // A stop request first serves the connections already made (clients
        // may have sent their last commands just before), until all is quiet
        // for a moment or a few seconds have passed.
        asio::signal_set signals(io, SIGINT, SIGTERM);
        asio::steady_timer drain(io);
        const auto give_up = std::make_shared<Clock::time_point>();
        std::function<void()> stop_when_quiet = [&] {
            drain.expires_after(std::chrono::milliseconds(50));
            drain.async_wait([&](std::error_code error) {
                if (error) return;
                const auto now = Clock::now();
                const bool quiet = sim.open_connections == 0 && now - sim.last_activity >= std::chrono::milliseconds(200);
                if (quiet || now >= *give_up) return io.stop();
                stop_when_quiet();
            });
        };
        signals.async_wait([&](std::error_code, int) {
            *give_up = Clock::now() + std::chrono::seconds(5);
            signals.async_wait([&](std::error_code, int) { io.stop(); });
            stop_when_quiet();
        });
        asio::steady_timer limit(io);
        if (options.time_limit > 0) {
            limit.expires_after(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(options.time_limit)));
            limit.async_wait([&](std::error_code error) {
                if (!error) io.stop();
            });
        }
        io.run();
    } catch (const std::exception& e) {
        std::cerr << "sgsim: " << e.what() << '\n';
        return 1;
    }
    if (!options.store.empty()) {
        try {
            store_files(sim.generator, options.store);
        } catch (const std::exception& e) {
            std::cerr << "sgsim: " << e.what() << '\n';
            return 1;
        }
    }
    std::cout << sim.generator.summary() << std::flush;
    return 0;
}
