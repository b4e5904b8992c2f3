#include <gtest/gtest.h>

#include <fstream>

#include "common/testing/temporary_folder.hpp"
#include "instrument/identity_reply.hpp"
#include "instrument/serial_device_list.hpp"

namespace dot11b::instrument {
namespace {

TEST(ConnectionCheck, OnlyFourFieldRepliesPassAsIdentities) {
    const struct {
        const char* reply;
        bool identity;
    } cases[] = {
        {"Maker,ORB,US40051234,1.0", true},
        {"Maker Co,Model 7,0,A.01.02", true},
        {"HTTP/1.1 400 Bad Request", false},
        {"", false},
        {"Maker,ORB,US40051234", false},
        {"Maker,ORB,US40051234,1.0,extra", false},
        {",,,", false},
        {" ,ORB,1,1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(looks_like_identity(c.reply), c.identity) << c.reply;
        const std::string shown = connection_check_text({0, c.reply}, std::nullopt);
        EXPECT_EQ(shown == c.reply, c.identity) << c.reply;
        if (!c.identity) {
            EXPECT_NE(shown.find("IEEE 488.2 *IDN?"), std::string::npos) << shown;
        }
    }
    // Failures and errors are shown as they are.
    EXPECT_EQ(connection_check_text({2, "10.0.0.9: Connection refused"}, std::nullopt), "10.0.0.9: Connection refused");
    EXPECT_EQ(connection_check_text({}, std::string("no module")), "no module");
}

TEST(ConnectionCheck, PresentSerialDevicesAreListed) {
    test::TemporaryFolder dev;
    std::filesystem::create_directories(dev / "serial/by-id");
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "tty0", "serial/by-id/usb-Adapter_B-port0",
                             "serial/by-id/usb-Adapter_A-port0"}) {
        std::ofstream(dev / name) << "";
    }
    const std::string d = dev.path().string();
    EXPECT_EQ(present_serial_devices(dev.path()),
              (std::vector<std::string>{d + "/ttyUSB2", d + "/ttyUSB10", d + "/ttyACM0",
                                        d + "/serial/by-id/usb-Adapter_A-port0", d + "/serial/by-id/usb-Adapter_B-port0"}));
    EXPECT_TRUE(present_serial_devices(dev / "missing").empty());
}

}  // namespace
}  // namespace dot11b::instrument
