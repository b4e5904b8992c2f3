#include <gtest/gtest.h>

#include "common/errors.hpp"
#include "instrument/connection_uri.hpp"

namespace dot11b::instrument {
namespace {

TEST(ConnectionUri, EachKindOfConnection) {
    app::ConnectionConfig base;
    base.bbg_type = "003";
    const ConnectionUri lan = parse_connection_uri("tcpip://127.0.0.1:5026", base);
    EXPECT_EQ(lan.config.type, "TCPIP");
    EXPECT_EQ(lan.config.tcpip.address, "127.0.0.1:5026");
    EXPECT_EQ(lan.config.bbg_type, "003");
    EXPECT_EQ(lan.config.rs232.device, "");

    const ConnectionUri serial = parse_connection_uri("serial:/dev/ttyUSB0?baud=38400&handshake=rtscts");
    EXPECT_EQ(serial.config.type, "RS232");
    EXPECT_EQ(serial.config.rs232, (app::Rs232Settings{1, 38400, "RTS/CTS", "/dev/ttyUSB0"}));
    const ConnectionUri plain = parse_connection_uri("serial:/dev/pts/3");
    EXPECT_EQ(plain.config.rs232, (app::Rs232Settings{1, app::Rs232Settings{}.baudrate, "Xon/Xoff", "/dev/pts/3"}));
    EXPECT_EQ(parse_connection_uri("serial:/dev/ttyS1?handshake=none").config.rs232.handshake, "None");

    EXPECT_EQ(parse_connection_uri("gpib://0/19").config.gpib, (app::GpibSettings{0, 19, -1}));
    EXPECT_EQ(parse_connection_uri("gpib://1/5/0").config.gpib, (app::GpibSettings{1, 5, 0}));
    EXPECT_EQ(parse_connection_uri("gpib://15/30/31").config.type, "GPIB");
}

TEST(ConnectionUri, UnusableTextsAreRefused) {
    const char* bad[] = {
        "",
        "usb://1",
        "tcpip://",
        "tcpip://0.0.0.0",
        "tcpip://example.com",
        "tcpip://1.2.3.4:99999",
        "serial:",
        "serial:/dev/ttyS0?baud=fast",
        "serial:/dev/ttyS0?baud=0",
        "serial:/dev/ttyS0?handshake=dtr",
        "serial:/dev/ttyS0?parity=even",
        "gpib://0",
        "gpib://16/19",
        "gpib://0/31",
        "gpib://0/19/32",
        "gpib://0/19/-1",
        "gpib://0/19/2/1",
        "gpib://a/b",
    };
    for (const char* uri : bad) {
        try {
            parse_connection_uri(uri);
            ADD_FAILURE() << uri;
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()).find(std::string("--download ") + uri + ": "), 0U) << e.what();
        }
    }
}

}  // namespace
}  // namespace dot11b::instrument
