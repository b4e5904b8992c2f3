#pragma once
// LAN connection: SCPI text over a raw TCP socket.

#include <cstdint>
#include <memory>
#include <string>

#include "instrument/transport.hpp"

namespace dot11b::instrument {

// The usual raw SCPI socket port of LAN instruments.
inline constexpr std::uint16_t kScpiSocketPort = 5025;

struct SocketAddress {
    std::string host;  // an IP address literal
    std::uint16_t port = kScpiSocketPort;
};

// Reads "HOST", "HOST:PORT", "[IPv6]" or "[IPv6]:PORT". HOST must be an IP
// address (name lookups can block for longer than any time-out) or
// "localhost". Throws ConfigError naming the address.
SocketAddress parse_socket_address(const std::string& address);

// Connects within the time-out. Throws TransportError.
std::unique_ptr<Transport> open_scpi_socket(const SocketAddress& address, Milliseconds timeout);

}  // namespace dot11b::instrument
