#include "instrument/connection_config.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "common/ascii_case.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;

Value sub_record(std::vector<std::pair<std::string, Value>> fields) {
    std::vector<std::string> names;
    for (const auto& field : fields) names.push_back(field.first);
    Value record = Value::structure(names);
    for (auto& [name, value] : fields) record.set_field(name, std::move(value));
    return record;
}

Value old_field(const Value& record, std::string_view name) {
    return record.has_field(name) ? record.field(name) : Value();
}

}  // namespace

std::vector<std::string> connection_list(DialogModel model) {
    switch (model) {
        case DialogModel::B: return {"RS232", "GPIB"};
        case DialogModel::C: return {"GPIB", "TCP/IP"};
        case DialogModel::Any: break;
    }
    return {"RS232", "GPIB", "TCP/IP", "SDR"};
}

const std::vector<std::string>& baud_rate_list() {
    static const std::vector<std::string> list = {"9600", "19200", "38400"};
    return list;
}

const std::vector<std::string>& handshake_list() {
    static const std::vector<std::string> list = {"None", "Xon/Xoff", "RTS/CTS"};
    return list;
}

app::ConnectionConfig initConfig(app::ConnectionConfig record) {
    record.type = "GPIB";
    record.gpib = {0, 19, -1};
    record.rs232 = {1, 19200, "Xon/Xoff", ""};
    record.tcpip = {"0.0.0.0", 0};
    record.sdr = {};
    return record;
}

Value reStructureConfig(const Value& oldConfig, bool has_handshake_control) {
    if (oldConfig.kind() != Value::Kind::Struct || !oldConfig.has_field("Connection")) return oldConfig;
    const Value connection = oldConfig.field("Connection");
    const bool rs232 = connection.kind() == Value::Kind::Double && connection.numel() == 1 && connection.reals()[0] == 1;

    std::string handshake = "Xon/Xoff";
    if (has_handshake_control) {
        const Value index = old_field(oldConfig, "HandShake");
        const int position = index.kind() == Value::Kind::Double && index.numel() == 1 && std::isfinite(index.reals()[0])
                                 ? static_cast<int>(std::clamp(index.reals()[0], -1.0, 1e6)) + 1
                                 : 0;
        handshake = ConvertIndexToString(handshake_list(), position);
    }

    std::vector<std::string> names;
    std::vector<Value> values;
    constexpr std::string_view old_names[] = {"Connection", "GPIBboard", "Primary",  "Secondary",
                                              "RS232Port",  "BaudRate",  "HandShake"};
    for (const std::string& name : oldConfig.field_names()) {
        if (std::find(std::begin(old_names), std::end(old_names), name) != std::end(old_names)) continue;
        names.push_back(name);
        values.push_back(oldConfig.field(name));
    }
    names.insert(names.end(), {"type", "GPIB", "RS232", "TCPIP"});
    values.push_back(Value::text(rs232 ? "RS232" : "GPIB"));
    values.push_back(sub_record({{"board", old_field(oldConfig, "GPIBboard")},
                                 {"primary", old_field(oldConfig, "Primary")},
                                 {"secondary", old_field(oldConfig, "Secondary")}}));
    values.push_back(sub_record({{"port", old_field(oldConfig, "RS232Port")},
                                 {"baudrate", old_field(oldConfig, "BaudRate")},
                                 {"handshake", Value::text(handshake)}}));
    values.push_back(sub_record({{"address", Value::text("0.0.0.0")}, {"board", Value::scalar(0)}}));

    Value record = Value::structure(names);
    for (std::size_t i = 0; i < names.size(); ++i) record.set_field(names[i], std::move(values[i]));
    return record;
}

app::ConnectionConfig clamp_connection(app::ConnectionConfig record) {
    record.gpib.board = std::clamp(record.gpib.board, 0, 15);
    record.gpib.primary = std::clamp(record.gpib.primary, 0, 30);
    record.gpib.secondary = std::clamp(record.gpib.secondary, -1, 31);
    record.rs232.port = std::clamp(record.rs232.port, 1, 9);
    const auto& speeds = baud_rate_list();
    record.rs232.baudrate = std::clamp(record.rs232.baudrate, std::atoi(speeds[0].c_str()), std::atoi(speeds[2].c_str()));
    record.tcpip.board = 0;
    return record;
}

int ConvertStringToIndex(std::span<const std::string> list, std::string_view text) {
    const std::string_view wanted = equal_ignoring_case(text, "TCPIP") ? std::string_view("TCP/IP") : text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (equal_ignoring_case(list[i], wanted)) return static_cast<int>(i) + 1;
    }
    return 1;
}

std::string ConvertIndexToString(std::span<const std::string> list, int position) {
    if (list.empty()) return {};
    const std::size_t index = position < 1 || static_cast<std::size_t>(position) > list.size()
                                  ? 0
                                  : static_cast<std::size_t>(position) - 1;
    return equal_ignoring_case(list[index], "TCP/IP") ? "TCPIP" : list[index];
}

std::string offered_type(std::string type, DialogModel model) {
    if ((model == DialogModel::B && equal_ignoring_case(type, "TCPIP")) || (model == DialogModel::C && equal_ignoring_case(type, "RS232")) ||
        (model != DialogModel::Any && equal_ignoring_case(type, "SDR"))) {
        return "GPIB";
    }
    return type;
}

ConnectionControls controls_for(const app::ConnectionConfig& record, DialogModel model) {
    ConnectionControls controls;
    controls.connection_list = connection_list(model);
    controls.connection = ConvertStringToIndex(controls.connection_list, offered_type(record.type, model));
    controls.gpib_board = record.gpib.board + 1;
    controls.primary_address = record.gpib.primary + 1;
    controls.secondary_address = record.gpib.secondary + 2;
    controls.port_number = record.rs232.port;
    controls.serial_device = record.rs232.device;
    controls.baud_rate = ConvertStringToIndex(baud_rate_list(), std::to_string(record.rs232.baudrate));
    controls.handshake = ConvertStringToIndex(handshake_list(), record.rs232.handshake);
    controls.tcpip_address = record.tcpip.address;
    return controls;
}

app::ConnectionConfig UpdateConfig(const ConnectionControls& controls, app::ConnectionConfig record) {
    record.type = ConvertIndexToString(controls.connection_list, controls.connection);
    record.gpib = {controls.gpib_board - 1, controls.primary_address - 1, controls.secondary_address - 2};
    record.rs232.port = controls.port_number;
    record.rs232.device = controls.serial_device;
    record.rs232.baudrate = std::atoi(ConvertIndexToString(baud_rate_list(), controls.baud_rate).c_str());
    record.rs232.handshake = ConvertIndexToString(handshake_list(), controls.handshake);
    record.tcpip = {controls.tcpip_address, 0};
    return record;
}

}  // namespace dot11b::instrument
