#include "instrument/scpi_socket.hpp"

#include <charconv>

#include "instrument/stream_transport.hpp"

namespace dot11b::instrument {
namespace {

using asio::ip::tcp;

[[noreturn]] void bad_address(const std::string& address, std::string_view why) {
    throw ConfigError("TCPIP address \"" + address + "\" " + std::string(why));
}

asio::ip::address ip_of(const std::string& host) {
    if (host == "localhost") return asio::ip::address_v4::loopback();
    std::error_code error;
    const auto ip = asio::ip::make_address(host, error);
    if (error) throw ConfigError("TCPIP address \"" + host + "\" is not an IP address");
    // Connecting to 0.0.0.0 would reach this host, not an instrument; it is the unset address.
    if (ip.is_unspecified()) throw ConfigError("TCPIP address " + host + " is not set to the instrument's address");
    return ip;
}

class ScpiSocket final : public StreamTransport<tcp::socket> {
public:
    ScpiSocket(const SocketAddress& address, Milliseconds timeout)
        : StreamTransport("TCPIP " + address.host + ":" + std::to_string(address.port), timeout) {
        const tcp::endpoint endpoint(ip_of(address.host), address.port);
        std::error_code result;
        bool done = false;
        stream().async_connect(endpoint, [&](const std::error_code& error) {
            result = error;
            done = true;
        });
        io().run_for(timeout);
        if (!done) {
            std::error_code ignored;
            stream().close(ignored);
            io().restart();
            io().run();
            fail(Fault::Connect, "no connection within " + std::to_string(timeout.count()) + " ms");
        }
        if (result) fail(Fault::Connect, "cannot connect: " + result.message());
        stream().set_option(tcp::no_delay(true), result);
    }

    // A LAN connection has no bus line for it; the instrument's command does the same.
    void go_to_local() override { write_line(":SYST:COMM:GTL"); }

    bool discards_cut_blocks() const override { return true; }
};

}  // namespace

SocketAddress parse_socket_address(const std::string& address) {
    SocketAddress result;
    std::string_view rest = address;
    std::string_view port;
    if (rest.starts_with('[')) {
        const auto close = rest.find(']');
        if (close == std::string_view::npos) bad_address(address, "lacks the closing ]");
        result.host = std::string(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') bad_address(address, "has text after ]");
            port = rest.substr(1);
            if (port.empty()) bad_address(address, "has an empty port");
        }
    } else if (const auto colon = rest.find(':'); colon != std::string_view::npos) {
        result.host = std::string(rest.substr(0, colon));
        port = rest.substr(colon + 1);
        if (port.empty()) bad_address(address, "has an empty port");
    } else {
        result.host = std::string(rest);
    }
    if (result.host.empty()) bad_address(address, "has no host");
    if (!port.empty()) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value < 1 || value > 65535) {
            bad_address(address, "has a port that is not 1 to 65535");
        }
        result.port = static_cast<std::uint16_t>(value);
    }
    ip_of(result.host);
    return result;
}

std::unique_ptr<Transport> open_scpi_socket(const SocketAddress& address, Milliseconds timeout) {
    return std::make_unique<ScpiSocket>(address, timeout);
}

}  // namespace dot11b::instrument
