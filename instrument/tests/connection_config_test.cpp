#include <gtest/gtest.h>

#include "instrument/connection_config.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;

TEST(ConnectionSettings, DefaultsKeepTheApplicationsFields) {
    app::ConnectionConfig mine;
    mine.type = "TCPIP";
    mine.gpib = {3, 4, 5};
    mine.rs232 = {7, 9600, "None", ""};
    mine.tcpip = {"10.1.2.3", 2};
    mine.bbg_type = "001";
    mine.last_parameter_filename = "/tmp/p.mat";
    const app::ConnectionConfig d = initConfig(mine);
    EXPECT_EQ(d.type, "GPIB");
    EXPECT_EQ(d.gpib, (app::GpibSettings{0, 19, -1}));
    EXPECT_EQ(d.rs232, (app::Rs232Settings{1, 19200, "Xon/Xoff", ""}));
    EXPECT_EQ(d.tcpip, (app::TcpipSettings{"0.0.0.0", 0}));
    EXPECT_EQ(d.bbg_type, "001");
    EXPECT_EQ(d.last_parameter_filename, "/tmp/p.mat");
}

TEST(ConnectionSettings, OutOfRangeNumbersAreClamped) {
    struct Case {
        app::GpibSettings gpib;
        int port;
        int baud;
        app::GpibSettings gpib_after;
        int port_after;
        int baud_after;
    };
    const Case cases[] = {
        {{0, 40, -5}, 0, 19200, {0, 30, -1}, 1, 19200},
        {{-2, -1, 32}, 10, 300, {0, 0, 31}, 9, 9600},
        {{16, 19, 0}, 5, 115200, {15, 19, 0}, 5, 38400},
    };
    for (const Case& c : cases) {
        app::ConnectionConfig config;
        config.gpib = c.gpib;
        config.rs232.port = c.port;
        config.rs232.baudrate = c.baud;
        config.tcpip.board = 4;
        const app::ConnectionConfig clamped = clamp_connection(config);
        EXPECT_EQ(clamped.gpib, c.gpib_after);
        EXPECT_EQ(clamped.rs232.port, c.port_after);
        EXPECT_EQ(clamped.rs232.baudrate, c.baud_after);
        EXPECT_EQ(clamped.tcpip.board, 0);
    }
}

TEST(ConnectionSettings, OldFlatRecordsAreConverted) {
    Value old = Value::structure({"Connection", "GPIBboard", "Primary", "Secondary", "RS232Port", "BaudRate", "HandShake",
                                  "BBGtype"});
    old.set_field("Connection", Value::scalar(1));
    old.set_field("GPIBboard", Value::scalar(2));
    old.set_field("Primary", Value::scalar(21));
    old.set_field("Secondary", Value::scalar(-1));
    old.set_field("RS232Port", Value::scalar(4));
    old.set_field("BaudRate", Value::scalar(9600));
    old.set_field("HandShake", Value::scalar(1));
    old.set_field("BBGtype", Value::text("002"));

    const Value record = reStructureConfig(old);
    EXPECT_EQ(record.field_names(), (std::vector<std::string>{"BBGtype", "type", "GPIB", "RS232", "TCPIP"}));
    EXPECT_EQ(record.field("type").text(), "RS232");
    EXPECT_EQ(record.field("GPIB").field("board"), Value::scalar(2));
    EXPECT_EQ(record.field("GPIB").field("primary"), Value::scalar(21));
    EXPECT_EQ(record.field("GPIB").field("secondary"), Value::scalar(-1));
    EXPECT_EQ(record.field("RS232").field("port"), Value::scalar(4));
    EXPECT_EQ(record.field("RS232").field("baudrate"), Value::scalar(9600));
    EXPECT_EQ(record.field("RS232").field("handshake").text(), "Xon/Xoff");
    EXPECT_EQ(record.field("TCPIP").field("address").text(), "0.0.0.0");
    EXPECT_EQ(record.field("TCPIP").field("board"), Value::scalar(0));

    const std::pair<double, const char*> handshakes[] = {{0, "None"}, {1, "Xon/Xoff"}, {2, "RTS/CTS"}, {7, "None"}};
    for (const auto& [index, name] : handshakes) {
        old.set_field("HandShake", Value::scalar(index));
        EXPECT_EQ(reStructureConfig(old).field("RS232").field("handshake").text(), name) << index;
    }
    old.set_field("HandShake", Value::scalar(2));
    EXPECT_EQ(reStructureConfig(old, false).field("RS232").field("handshake").text(), "Xon/Xoff");
    old.set_field("Connection", Value::scalar(2));
    EXPECT_EQ(reStructureConfig(old).field("type").text(), "GPIB");

    const Value current = reStructureConfig(record);
    EXPECT_EQ(current, record);
}

TEST(ConnectionSettings, ListLookups) {
    const std::vector<std::string> buses = connection_list(DialogModel::Any);
    struct Case {
        const char* text;
        int position;
    };
    const Case lookups[] = {{"RS232", 1}, {"gpib", 2}, {"TCPIP", 3}, {"tcp/ip", 3}, {"sdr", 4}, {"USB", 1}};
    for (const Case& c : lookups) EXPECT_EQ(ConvertStringToIndex(buses, c.text), c.position) << c.text;
    EXPECT_EQ(ConvertStringToIndex(std::vector<std::string>{}, "GPIB"), 1);

    const std::pair<int, const char*> entries[] = {{1, "RS232"}, {2, "GPIB"}, {3, "TCPIP"}, {4, "SDR"}, {0, "RS232"}, {5, "RS232"}};
    for (const auto& [position, text] : entries) EXPECT_EQ(ConvertIndexToString(buses, position), text) << position;
    EXPECT_EQ(ConvertIndexToString(std::vector<std::string>{"Tcp/Ip"}, 1), "TCPIP");
}

// The record shown in the controls and read back again, for each model.
TEST(ConnectionSettings, ControlsRoundTripAndModelRules) {
    app::ConnectionConfig record;
    record.type = "TCPIP";
    record.gpib = {2, 30, 31};
    record.rs232 = {9, 38400, "RTS/CTS", "/dev/ttyUSB1"};
    record.tcpip = {"192.168.0.9", 0};
    record.bbg_type = "003";

    const ConnectionControls any = controls_for(record, DialogModel::Any);
    EXPECT_EQ(any.connection, 3);
    EXPECT_EQ(any.gpib_board, 3);
    EXPECT_EQ(any.primary_address, 31);
    EXPECT_EQ(any.secondary_address, 33);
    EXPECT_EQ(any.port_number, 9);
    EXPECT_EQ(any.serial_device, "/dev/ttyUSB1");
    EXPECT_EQ(any.baud_rate, 3);
    EXPECT_EQ(any.handshake, 3);
    EXPECT_EQ(UpdateConfig(any, app::ConnectionConfig{}).bbg_type, app::ConnectionConfig{}.bbg_type);
    app::ConnectionConfig back = UpdateConfig(any, record);
    EXPECT_EQ(back, record);

    const ConnectionControls b = controls_for(record, DialogModel::B);
    EXPECT_EQ(b.connection_list, (std::vector<std::string>{"RS232", "GPIB"}));
    EXPECT_EQ(UpdateConfig(b, record).type, "GPIB");
    record.type = "RS232";
    const ConnectionControls c = controls_for(record, DialogModel::C);
    EXPECT_EQ(c.connection_list, (std::vector<std::string>{"GPIB", "TCP/IP"}));
    EXPECT_EQ(UpdateConfig(c, record).type, "GPIB");

    ConnectionControls chosen = any;
    chosen.connection = 3;
    chosen.secondary_address = 1;
    EXPECT_EQ(UpdateConfig(chosen, record).type, "TCPIP");
    EXPECT_EQ(UpdateConfig(chosen, record).gpib.secondary, -1);
}

}  // namespace
}  // namespace dot11b::instrument
