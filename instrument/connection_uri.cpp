#include "instrument/connection_uri.hpp"

#include <charconv>
#include <string_view>
#include <vector>

#include "common/errors.hpp"
#include "instrument/scpi_socket.hpp"

namespace dot11b::instrument {
namespace {

[[noreturn]] void refuse(const std::string& uri, const std::string& why) {
    throw ConfigError("--download " + uri + ": " + why +
                      " (expected tcpip://HOST[:PORT], serial:DEVICE?baud=N&handshake=xon|rtscts|none or "
                      "gpib://BOARD/PRIMARY[/SECONDARY])");
}

std::optional<int> whole(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

void read_gpib(const std::string& uri, std::string_view rest, app::ConnectionConfig& config) {
    const auto parts = split(rest, '/');
    if (parts.size() < 2 || parts.size() > 3) refuse(uri, "a GPIB address is BOARD/PRIMARY[/SECONDARY]");
    const auto board = whole(parts[0]);
    const auto primary = whole(parts[1]);
    const auto secondary = parts.size() == 3 ? whole(parts[2]) : std::optional<int>(-1);
    if (!board || *board < 0 || *board > 15) refuse(uri, "the GPIB board must be 0 to 15");
    if (!primary || *primary < 0 || *primary > 30) refuse(uri, "the primary address must be 0 to 30");
    if (!secondary || *secondary < -1 || *secondary > 31 || (parts.size() == 3 && *secondary < 0)) {
        refuse(uri, "the secondary address must be 0 to 31");
    }
    config.type = "GPIB";
    config.gpib = {*board, *primary, *secondary};
}

void read_serial(const std::string& uri, std::string_view rest, ConnectionUri& result) {
    const auto question = rest.find('?');
    const std::string_view device = rest.substr(0, question);
    if (device.empty()) refuse(uri, "the serial device is missing");
    app::Rs232Settings serial = result.config.rs232;
    serial.port = 1;
    if (question != std::string_view::npos) {
        for (const std::string_view setting : split(rest.substr(question + 1), '&')) {
            const auto equals = setting.find('=');
            const std::string_view key = setting.substr(0, equals);
            const std::string_view value = equals == std::string_view::npos ? "" : setting.substr(equals + 1);
            if (key == "baud") {
                const auto baud = whole(value);
                if (!baud || *baud < 1) refuse(uri, "baud must be a speed in bits per second");
                serial.baudrate = *baud;
            } else if (key == "handshake") {
                if (value == "xon") {
                    serial.handshake = "Xon/Xoff";
                } else if (value == "rtscts") {
                    serial.handshake = "RTS/CTS";
                } else if (value == "none") {
                    serial.handshake = "None";
                } else {
                    refuse(uri, "handshake must be xon, rtscts or none");
                }
            } else {
                refuse(uri, "unknown setting \"" + std::string(setting) + "\"");
            }
        }
    }
    result.config.type = "RS232";
    serial.device = std::string(device);
    result.config.rs232 = serial;
}

}  // namespace

ConnectionUri parse_connection_uri(const std::string& uri, app::ConnectionConfig base) {
    ConnectionUri result{std::move(base)};
    const std::string_view text = uri;
    if (text.starts_with("tcpip://")) {
        const std::string address(text.substr(8));
        try {
            parse_socket_address(address);
        } catch (const ConfigError& e) {
            refuse(uri, e.what());
        }
        result.config.type = "TCPIP";
        result.config.tcpip.address = address;
    } else if (text.starts_with("serial:")) {
        read_serial(uri, text.substr(7), result);
    } else if (text.starts_with("gpib://")) {
        read_gpib(uri, text.substr(7), result.config);
    } else {
        refuse(uri, "unknown kind of connection");
    }
    return result;
}

}  // namespace dot11b::instrument
