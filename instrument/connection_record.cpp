#include "instrument/connection_record.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cmath>
#include <limits>

#include "app/record_reader.hpp"
#include "app/record_values.hpp"
#include "common/ascii_case.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;

double int32_of(double x) {
    if (std::isnan(x)) return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return std::clamp(std::round(x), lowest, highest);
}

void to_int32(Value& config, std::string_view sub, std::string_view field) {
    if (config.kind() != Value::Kind::Struct || config.numel() != 1 || !config.has_field(sub)) return;
    Value& record = config.field(sub);
    if (record.kind() != Value::Kind::Struct || !record.has_field(field)) return;
    for (std::size_t k = 0; k < record.numel(); ++k) {
        Value& value = record.field(field, k);
        if (value.kind() != Value::Kind::Double) continue;
        for (double& x : value.reals()) x = int32_of(x);
    }
}

}  // namespace

Value formatconfig(const Value& config_in) {
    Value config = config_in;
    to_int32(config, "GPIB", "board");
    to_int32(config, "GPIB", "primary");
    to_int32(config, "GPIB", "secondary");
    to_int32(config, "RS232", "port");
    to_int32(config, "RS232", "baudrate");
    to_int32(config, "TCPIP", "board");
    return config;
}

app::ConnectionConfig connection_from_record(const Value& config) {
    const Value normalised = formatconfig(config);
    const app::RecordReader record(normalised, "configuration");
    app::ConnectionConfig c;
    c.type = record.text("type");
    const std::string bus = to_upper_ascii(c.type);
    const auto whole = [](const app::RecordReader& r, std::string_view name) {
        return static_cast<int>(r.whole_number(name, std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max()));
    };
    if (bus == "GPIB") {
        const app::RecordReader gpib = record.record("GPIB");
        c.gpib = {whole(gpib, "board"), whole(gpib, "primary"), whole(gpib, "secondary")};
    } else if (bus == "RS232") {
        const app::RecordReader rs232 = record.record("RS232");
        c.rs232 = {whole(rs232, "port"), whole(rs232, "baudrate"), rs232.text("handshake"),
                   rs232.has("device") ? rs232.text("device") : std::string()};
    } else if (bus == "TCPIP") {
        const app::RecordReader tcpip = record.record("TCPIP");
        c.tcpip.address = tcpip.text("address");
        if (tcpip.has("board")) c.tcpip.board = whole(tcpip, "board");
    } else if (bus == "SDR" && record.has("SDR")) {
        c.sdr = app::sdr_settings_from(record.record("SDR"));
    }
    if (record.has("CorrectionsFolder")) c.corrections_folder = record.text("CorrectionsFolder");
    return c;
}

}  // namespace dot11b::instrument
