#pragma once
// The three kinds of instrument connection.

#include <variant>

#include "instrument/gpib.hpp"
#include "instrument/scpi_socket.hpp"
#include "instrument/serial_port.hpp"

namespace dot11b::instrument {

using Endpoint = std::variant<SocketAddress, SerialSettings, GpibAddress>;

}  // namespace dot11b::instrument
