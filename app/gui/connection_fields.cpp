#include "app/gui/connection_fields.hpp"

#include <string_view>

#include "instrument/connection_config.hpp"
#include "instrument/connection_record.hpp"

namespace dot11b::gui {
namespace {

using frame::Value;

bool is_record(const Value& value) { return value.kind() == Value::Kind::Struct && value.numel() == 1; }

const Value* sub_record(const Value& record, std::string_view name) {
    if (!record.has_field(name) || !is_record(record.field(name))) return nullptr;
    return &record.field(name);
}

void read_text(const Value* record, std::string_view name, std::string& field) {
    if (record != nullptr && record->has_field(name) && record->field(name).kind() == Value::Kind::Char) {
        field = record->field(name).text();
    }
}

// After formatconfig the numbers are whole and within 32 bits.
void read_number(const Value* record, std::string_view name, int& field) {
    if (record == nullptr || !record->has_field(name)) return;
    const Value& value = record->field(name);
    if (value.kind() == Value::Kind::Double && value.numel() == 1) field = static_cast<int>(value.reals()[0]);
}

void read_real(const Value* record, std::string_view name, double& field) {
    if (record == nullptr || !record->has_field(name)) return;
    const Value& value = record->field(name);
    if (value.kind() == Value::Kind::Double && value.numel() == 1) field = value.reals()[0];
}

Value with_fields(const Value& record, std::string_view name, std::initializer_list<std::pair<const char*, Value>> fields) {
    Value sub = is_record(record) && record.has_field(name) && is_record(record.field(name)) ? record.field(name)
                                                                                             : Value::structure({});
    for (const auto& [field, value] : fields) sub.set_field(field, value);
    return sub;
}

}  // namespace

app::ConnectionConfig connection_fields(const Value& record) {
    app::ConnectionConfig c = instrument::initConfig();
    if (!is_record(record)) return c;
    const Value normal = instrument::formatconfig(record);
    read_text(&normal, "type", c.type);
    const Value* gpib = sub_record(normal, "GPIB");
    read_number(gpib, "board", c.gpib.board);
    read_number(gpib, "primary", c.gpib.primary);
    read_number(gpib, "secondary", c.gpib.secondary);
    const Value* rs232 = sub_record(normal, "RS232");
    read_number(rs232, "port", c.rs232.port);
    read_number(rs232, "baudrate", c.rs232.baudrate);
    read_text(rs232, "handshake", c.rs232.handshake);
    const Value* tcpip = sub_record(normal, "TCPIP");
    read_text(tcpip, "address", c.tcpip.address);
    read_number(tcpip, "board", c.tcpip.board);
    const Value* sdr = sub_record(normal, "SDR");
    read_text(sdr, "args", c.sdr.args);
    read_real(sdr, "gain", c.sdr.gain);
    read_text(sdr, "antenna", c.sdr.antenna);
    read_real(sdr, "rate", c.sdr.rate);
    return c;
}

Value with_connection_fields(Value record, const app::ConnectionConfig& f) {
    if (!is_record(record)) record = Value::structure({});
    const auto number = [](int x) { return Value::scalar(x); };
    record.set_field("type", Value::text(f.type));
    record.set_field("GPIB", with_fields(record, "GPIB",
                                         {{"board", number(f.gpib.board)},
                                          {"primary", number(f.gpib.primary)},
                                          {"secondary", number(f.gpib.secondary)}}));
    record.set_field("RS232", with_fields(record, "RS232",
                                          {{"port", number(f.rs232.port)},
                                           {"baudrate", number(f.rs232.baudrate)},
                                           {"handshake", Value::text(f.rs232.handshake)}}));
    record.set_field("TCPIP", with_fields(record, "TCPIP",
                                          {{"address", Value::text(f.tcpip.address)}, {"board", number(f.tcpip.board)}}));
    record.set_field("SDR", with_fields(record, "SDR",
                                        {{"args", Value::text(f.sdr.args)},
                                         {"gain", Value::scalar(f.sdr.gain)},
                                         {"antenna", Value::text(f.sdr.antenna)},
                                         {"rate", Value::scalar(f.sdr.rate)}}));
    return record;
}

}  // namespace dot11b::gui
