#include "instrument/connection_endpoint.hpp"

#include "common/ascii_case.hpp"
#include "common/errors.hpp"

namespace dot11b::instrument {

std::string SerialDevices::device(int port) const {
    if (const auto found = devices_.find(port); found != devices_.end()) return found->second;
    return "/dev/ttyS" + std::to_string(port - 1);
}

Handshake handshake_of(const std::string& name) {
    const std::string word = to_upper_ascii(name);
    if (word == "XON/XOFF") return Handshake::XonXoff;
    if (word == "RTS/CTS") return Handshake::RtsCts;
    if (word == "NONE") return Handshake::None;
    throw ConfigError("configuration.RS232.handshake \"" + name + "\" is not one of None, Xon/Xoff, RTS/CTS");
}

Endpoint endpoint_of(const app::ConnectionConfig& config, const SerialDevices& devices) {
    const std::string bus = to_upper_ascii(config.type);
    if (bus == "TCPIP") return parse_socket_address(config.tcpip.address);
    if (bus == "RS232") {
        if (config.rs232.port < 1 || config.rs232.port > 9) {
            throw ConfigError("configuration.RS232.port " + std::to_string(config.rs232.port) + " is not 1 to 9");
        }
        if (config.rs232.baudrate < 1) {
            throw ConfigError("configuration.RS232.baudrate " + std::to_string(config.rs232.baudrate) + " is not a speed");
        }
        const std::string& chosen = config.rs232.device;
        return SerialSettings{chosen.empty() ? devices.device(config.rs232.port) : chosen, static_cast<unsigned>(config.rs232.baudrate),
                              handshake_of(config.rs232.handshake)};
    }
    if (bus == "GPIB") {
        const auto& g = config.gpib;
        if (g.board < 0 || g.board > 15 || g.primary < 0 || g.primary > 30 || g.secondary < -1 || g.secondary > 31) {
            throw ConfigError("configuration.GPIB address board " + std::to_string(g.board) + ", primary " +
                              std::to_string(g.primary) + ", secondary " + std::to_string(g.secondary) +
                              " is outside board 0 to 15, primary 0 to 30, secondary -1 to 31");
        }
        return GpibAddress{g.board, g.primary, g.secondary};
    }
    throw ConfigError("configuration.type \"" + config.type + "\" is not one of GPIB, RS232, TCPIP");
}

}  // namespace dot11b::instrument
