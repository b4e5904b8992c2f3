#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/waveform_files/wfm_file.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "frame/globals.hpp"
#include "frame/matfile.hpp"
#include "frame/registry.hpp"
#include "frame/tests/library_fixture.hpp"
#include "simulator_process.hpp"

namespace dot11b::instrument {
namespace {

using frame::call_by_name;
using frame::Value;
using test::TemporaryFolder;
using InstrumentOperations = frame::LibraryTest;

Value record(std::vector<std::pair<std::string, Value>> fields) {
    std::vector<std::string> names;
    for (const auto& field : fields) names.push_back(field.first);
    Value r = Value::structure(names);
    for (auto& [name, value] : fields) r.set_field(name, std::move(value));
    return r;
}

Value lan_record(std::uint16_t port) {
    return record({{"type", Value::text("TCPIP")},
                   {"TCPIP", record({{"address", Value::text("127.0.0.1:" + std::to_string(port))},
                                     {"board", Value::scalar(0)}})}});
}

TEST_F(InstrumentOperations, FormatconfigMakesIntegersOfTheNumericFieldsOnly) {
    const Value gpib_only = record({{"GPIB", record({{"board", Value::scalar(0.4)},
                                                     {"primary", Value::scalar(19.5)},
                                                     {"secondary", Value::scalar(-1.5)}})}});
    const Value converted = call_by_name("formatconfig", 1, {gpib_only})[0];
    EXPECT_EQ(converted, record({{"GPIB", record({{"board", Value::scalar(0)},
                                                  {"primary", Value::scalar(20)},
                                                  {"secondary", Value::scalar(-2)}})}}));

    const Value full = record({{"type", Value::text("rs232")},
                               {"RS232", record({{"port", Value::scalar(std::nan(""))},
                                                 {"baudrate", Value::scalar(1e12)},
                                                 {"handshake", Value::text("Xon/Xoff")}})},
                               {"TCPIP", record({{"address", Value::text("1.2.3.4")}, {"board", Value::scalar(-3e10)}})}});
    const Value out = call_by_name("formatconfig", 1, {full})[0];
    EXPECT_EQ(out.field("type").text(), "rs232");
    EXPECT_EQ(out.field("RS232").field("port"), Value::scalar(0));
    EXPECT_EQ(out.field("RS232").field("baudrate"), Value::scalar(2147483647));
    EXPECT_EQ(out.field("RS232").field("handshake").text(), "Xon/Xoff");
    EXPECT_EQ(out.field("TCPIP").field("address").text(), "1.2.3.4");
    EXPECT_EQ(out.field("TCPIP").field("board"), Value::scalar(-2147483648.0));
    EXPECT_FALSE(out.has_field("GPIB"));
}

// Through the registry: the module by name, the I/O layer operations, and
// records the module cannot use, which come back as status 4.
TEST_F(InstrumentOperations, InstrumentTrafficByName) {
    SimulatorProcess sim({"--idn", "Maker,ORB,US7,1"});
    const Value lan = lan_record(sim.port());
    EXPECT_EQ(call_by_name("hwQuery", 2, {lan, Value::text("*IDN?")}),
              (frame::Outputs{Value::scalar(0), Value::text("Maker,ORB,US7,1")}));
    EXPECT_EQ(call_by_name("VerifyComm", 2, {lan})[1], Value::text("Maker,ORB,US7,1"));
    EXPECT_EQ(call_by_name("hwIO", 2, {Value::scalar(3), lan, Value::text("*OPC?")})[1], Value::text("1"));
    EXPECT_EQ(call_by_name("hwSetTimeout", 2, {lan, Value::scalar(5000)})[0], Value::scalar(0));

    const std::vector<std::vector<Value>> unusable = {
        {Value::scalar(6), lan},
        {Value::scalar(2.5), lan, Value::text("x")},
        {Value::scalar(2), lan, Value::scalar(1)},
        {Value::scalar(1), record({{"type", Value::text("TCPIP")}})},
        {Value::scalar(1), record({{"type", Value::text("USB")}})},
    };
    for (const auto& inputs : unusable) EXPECT_EQ(call_by_name("hwIO", 2, inputs)[0], Value::scalar(4));
    const frame::Outputs missing = call_by_name("hwSend", 2, {record({{"type", Value::text("GPIB")}}), Value::text("x")});
    EXPECT_EQ(missing[0], Value::scalar(4));
    EXPECT_NE(missing[1].text().find("configuration.GPIB"), std::string::npos) << missing[1].text();
}

// hwDownload ignores its fourth and fifth inputs: the data are always scaled to full scale.
TEST_F(InstrumentOperations, DownloadByNameStoresFullScaleData) {
    SimulatorProcess sim;
    const Samples iq = {{0.1, 0}, {-0.05, 0.025}};
    const Value markers = Value::matrix(2, 2, {1, 0, 0, 1});
    const frame::Outputs result = call_by_name(
        "hwDownload", 2, {lan_record(sim.port()), Value::complex_row(iq), markers, Value::text("raw"), Value::scalar(0.5),
                          Value::text("BYNAME")});
    EXPECT_EQ(result, (frame::Outputs{Value::scalar(0), Value::text("")}));
    sim.stop();
    const auto wfm = waveform_files::wfm_bytes(iq);
    EXPECT_EQ(test::read_text(sim.store() / "WFM1" / "BYNAME"), std::string(wfm.begin(), wfm.end()));
    EXPECT_EQ(test::read_text(sim.store() / "MKR1" / "BYNAME"), std::string("\x01\x02", 2));
}

// Without the desktop application nobody can agree to a long RS-232 transfer:
// it is cancelled, and the console says why.
TEST_F(InstrumentOperations, LongRs232DownloadWithoutTheDesktopIsCancelledAndSaysWhy) {
    const Value rs232 = record({{"type", Value::text("RS232")},
                                {"RS232", record({{"port", Value::scalar(1)},
                                                  {"baudrate", Value::scalar(9600)},
                                                  {"handshake", Value::text("Xon/Xoff")}})}});
    const frame::Outputs result = call_by_name(
        "ORBDownLoadWrap", 2, {Value::complex_row(Samples(48000)), Value(), Value::text("WAVE"), rs232});
    EXPECT_EQ(result, (frame::Outputs{Value::scalar(-1), Value::text("Download cancelled")}));
    ASSERT_FALSE(console_.empty());
    EXPECT_EQ(console_.back(),
              "Warning: ORBDownLoadWrap: Download cancelled: \"This download will take approximately 3.0 minutes. Do "
              "you want to continue?\" needs an answer, and no desktop application is running to ask it");
}

TEST_F(InstrumentOperations, SaveStormwingWaveformInputsAndDefaults) {
    const TemporaryFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const Value row = Value::complex_row({{1, 0}, {-1, 0.5}});
    const Value column = Value::complex_matrix(2, 1, {{1, 0}, {-1, 0.5}});
    EXPECT_EQ(call_by_name("saveStormwingWaveform", 1, {})[0], Value::scalar(0));
    EXPECT_EQ(call_by_name("saveStormwingWaveform", 1, {row, Value::text("x"), Value::scalar(1), Value::scalar(1)})[0],
              Value::scalar(0));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_EQ(call_by_name("saveStormwingWaveform", 1, {row})[0], Value::scalar(1));
    EXPECT_EQ(test::read_text("ORB-C"), std::string("\x7f\xfe\x00\x00\x80\x02\x3f\xff", 8));
    EXPECT_EQ(call_by_name("saveStormwingWaveform", 1, {column, Value::text("column"), Value::scalar(2)})[0],
              Value::scalar(1));
    EXPECT_EQ(test::read_text("column"), test::read_text("ORB-C"));
    EXPECT_EQ(call_by_name("saveStormwingWaveform", 1, {row, Value::text("no/such/folder/x")})[0], Value::scalar(0));
    std::filesystem::current_path(previous);
}

TEST_F(InstrumentOperations, PlaybackSettingsMustBeNumbers) {
    const Value settings = record({{"Frequency", Value::scalar(2412000000)}, {"Amplitude", Value::text("-30")}});
    try {
        call_by_name("ORBPlay", 2, {Value::text("W"), settings, lan_record(1)});
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "ORBPlay: setting.Amplitude must be a real number");
    }
    const Value column = Value::complex_matrix(2, 1, {{1, 0}, {0.5, -0.5}});
    const Value result = call_by_name("applyDacRes", 1, {column, Value::scalar(3)})[0];
    EXPECT_EQ(result, Value::complex_matrix(2, 1, {{1, 0}, {2.0 / 3, -2.0 / 3}}));
}

// The correction lookup reads the connection and the corrections folder from
// the global configuration record.
TEST_F(InstrumentOperations, CorrectionLookupUsesTheConfiguration) {
    SimulatorProcess sim({"--idn", "Maker, ORB, US40051234, C.04"});
    const TemporaryFolder folder;
    Value configuration = lan_record(sim.port());
    configuration.set_field("CorrectionsFolder", Value::text(folder.path().string()));
    frame::global(frame::Global::configuration) = configuration;

    const frame::Outputs missing = call_by_name("GetCorrectionData", 3, {Value::scalar(2412000000)});
    EXPECT_EQ(missing[0].kind(), Value::Kind::Char);
    EXPECT_NE(missing[0].text().find("US40051234 2.4 GHz.mat"), std::string::npos) << missing[0].text();
    EXPECT_EQ(missing[2], Value::scalar(0));

    Value x = Value::structure({"rev", "F", "H", "ID", "date", "fltr", "modAttn", "cf", "bw", "pwr"});
    x.set_field("rev", Value::scalar(1));
    x.set_field("F", Value::row({-10e6, 10e6}));
    x.set_field("H", Value::row({1, 1}));
    frame::write_mat_file(folder.path() / "US40051234 2.4 GHz.mat", std::vector<frame::MatVariable>{{"OrbIqCorrectionData", x}});
    const frame::Outputs found = call_by_name("GetCorrectionData", 3, {Value::scalar(2412000000)});
    EXPECT_TRUE(found[0].empty());
    EXPECT_EQ(found[1], x);
    EXPECT_EQ(call_by_name("LoadOrbIqCorrectionData", 2, {Value::text((folder.path() / "none.mat").string())})[0],
              Value());
}

}  // namespace
}  // namespace dot11b::instrument
