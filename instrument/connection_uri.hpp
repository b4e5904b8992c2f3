#pragma once
// Instrument connections written as one text, for the command line:
//   tcpip://HOST[:PORT]
//   serial:DEVICE[?baud=N&handshake=xon|rtscts|none]
//   gpib://BOARD/PRIMARY[/SECONDARY]

#include <string>

#include "app/records.hpp"

namespace dot11b::instrument {

struct ConnectionUri {
    app::ConnectionConfig config;  // a serial device is RS232.device
};

// Starts from `base` (its application fields and the other buses' settings
// are kept). Throws ConfigError naming the text and what is expected.
ConnectionUri parse_connection_uri(const std::string& uri, app::ConnectionConfig base = {});

}  // namespace dot11b::instrument
