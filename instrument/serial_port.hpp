#pragma once
// RS-232 connection: SCPI text over a serial port, 8 data bits, no parity,
// one stop bit.

#include <memory>
#include <string>

#include "instrument/transport.hpp"

namespace dot11b::instrument {

enum class Handshake { None, XonXoff, RtsCts };

struct SerialSettings {
    std::string device;  // e.g. /dev/ttyS0
    unsigned baud_rate = 19200;
    Handshake handshake = Handshake::XonXoff;
};

// Opens and configures the port. Throws TransportError.
std::unique_ptr<Transport> open_serial_port(const SerialSettings& settings, Milliseconds timeout);

}  // namespace dot11b::instrument
