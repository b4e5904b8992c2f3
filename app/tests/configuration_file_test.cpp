#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/configuration_file.hpp"
#include "app/record_values.hpp"
#include "common/errors.hpp"
#include "frame/matfile.hpp"
#include "test_support.hpp"

namespace dot11b::app {
namespace {

using frame::Value;
using test::run_python;
using test::TemporaryFolder;
using test::value_json;

ConnectionConfig lan_connection() {
    ConnectionConfig c;
    c.type = "TCPIP";
    c.gpib = {3, 7, 12};
    c.rs232 = {4, 19200, "None", ""};
    c.tcpip = {"192.168.1.40", 0};
    c.bbg_type = "003";
    c.last_parameter_filename = "/data/sets/ch6.mat";
    return c;
}

TEST(ConfigurationFile, RoundTripsWithTheLastParameterFileForgotten) {
    TemporaryFolder folder;
    const auto path = folder / std::string(kConfigurationFileName);
    save_configuration_file(path, lan_connection());

    ConnectionConfig expected = lan_connection();
    expected.last_parameter_filename.clear();
    EXPECT_EQ(load_configuration_file(path), expected);
    EXPECT_EQ(load_saved_configuration(path), expected);

    const auto scipy =
        nlohmann::json::parse(run_python("mat_to_json.py", {path.string(), "fileParameters"}, folder.path()));
    EXPECT_EQ(scipy["fileParameters"], value_json(to_value(lan_connection())));
}

// A serial device chosen by path is kept; a numbered port adds no field.
TEST(ConfigurationFile, SerialDevicePathRoundTrips) {
    TemporaryFolder folder;
    const auto path = folder / std::string(kConfigurationFileName);
    ConnectionConfig serial = lan_connection();
    serial.type = "RS232";
    serial.rs232.device = "/dev/serial/by-id/usb-Adapter_A1-if00-port0";
    serial.last_parameter_filename.clear();
    save_configuration_file(path, serial);
    EXPECT_EQ(load_configuration_file(path), serial);
    EXPECT_FALSE(to_value(lan_connection()).field("RS232").has_field("device"));
}

// The SDR settings round-trip; a file saved before SDRs could be chosen has
// no SDR sub-record and loads with the defaults: any device, 0 dB, the
// device's antenna, Auto rate.
TEST(ConfigurationFile, SdrSettingsRoundTripAndOlderFilesGetTheDefaults) {
    TemporaryFolder folder;
    ConnectionConfig radio = lan_connection();
    radio.type = "SDR";
    radio.sdr = {"driver=hackrf,serial=0042", -12.5, "TX/RX", 20e6};
    radio.last_parameter_filename.clear();
    const auto path = folder / "radio.mat";
    save_configuration_file(path, radio);
    EXPECT_EQ(load_configuration_file(path), radio);

    const Value full = to_value(lan_connection());
    std::vector<std::string> names;
    for (const std::string& name : full.field_names()) {
        if (name != "SDR") names.push_back(name);
    }
    Value older = Value::structure(names);
    for (const std::string& name : names) older.set_field(name, full.field(name));
    const auto old_path = folder / "older.mat";
    frame::write_mat_file(old_path, std::vector<frame::MatVariable>{{"fileParameters", older}});
    ConnectionConfig expected = lan_connection();
    expected.last_parameter_filename.clear();
    const ConnectionConfig loaded = load_configuration_file(old_path);
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.sdr, (SdrSettings{"", 0, "", 0}));
}

TEST(ConfigurationFile, StartUpDefaultsAreTheApplicationsOwn) {
    const ConnectionConfig c;
    EXPECT_EQ(c.type, "GPIB");
    EXPECT_EQ(c.gpib, (GpibSettings{0, 19, -1}));
    EXPECT_EQ(c.rs232, (Rs232Settings{1, 9600, "Xon/Xoff", ""}));
    EXPECT_EQ(c.tcpip, (TcpipSettings{"0.0.0.0", 0}));
    EXPECT_EQ(c.bbg_type, "002");
    EXPECT_TRUE(c.last_parameter_filename.empty());
    EXPECT_NO_THROW(c.validate());
}

TEST(ConfigurationFile, UnusableFilesAreRefusedAndIgnoredAtStartUp) {
    TemporaryFolder folder;
    const Value good = to_value(lan_connection());
    struct Case {
        const char* name;
        Value record;
        const char* fault;
    };
    auto with = [&](const char* sub, const char* field, Value value) {
        Value record = good;
        if (sub[0] == '\0') {
            record.set_field(field, std::move(value));
        } else {
            record.field(sub).set_field(field, std::move(value));
        }
        return record;
    };
    const Case cases[] = {
        {"bus.mat", with("", "type", Value::text("USB")),
         "has an invalid setting: fileParameters.type is \"USB\"; allowed: GPIB, RS232, TCPIP, SDR"},
        {"rate.mat", with("SDR", "rate", Value::scalar(-1)),
         "has an invalid setting: fileParameters.SDR.rate is -1; allowed: 0 (Auto) or a rate in Hz"},
        {"primary.mat", with("GPIB", "primary", Value::scalar(40)),
         "has an invalid setting: fileParameters.GPIB.primary is 40; allowed: whole numbers 0 to 30"},
        {"port.mat", with("RS232", "port", Value::scalar(1.5)),
         "has an invalid setting: fileParameters.RS232.port is 1.5; allowed: whole numbers 1 to 9"},
        {"address.mat", with("TCPIP", "address", Value::scalar(192)),
         "has an invalid setting: fileParameters.TCPIP.address must be a character row; it is a 1x1 double array"},
        {"old.mat", Value::structure({"Connection", "GPIBboard"}),
         "has an invalid setting: fileParameters.type is missing"},
    };
    for (const auto& c : cases) {
        const auto path = folder / c.name;
        frame::write_mat_file(path, std::vector<frame::MatVariable>{{"fileParameters", c.record}});
        try {
            load_configuration_file(path);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), path.string() + "\n" + c.fault);
        }
        EXPECT_FALSE(load_saved_configuration(path).has_value()) << c.name;
    }
    const auto other = folder / "other.mat";
    frame::write_mat_file(other, std::vector<frame::MatVariable>{{"configuration", good}});
    EXPECT_THROW(load_configuration_file(other), IoError);
    EXPECT_FALSE(load_saved_configuration(folder / "missing.mat").has_value());
}

}  // namespace
}  // namespace dot11b::app
