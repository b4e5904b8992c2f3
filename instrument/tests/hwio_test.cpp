#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <stop_token>

#include "app/waveform_files/marker_file.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/testing/file_contents.hpp"
#include "deaf_listener.hpp"
#include "instrument/hwio.hpp"
#include "instrument/io_layer.hpp"
#include "simulator_process.hpp"

namespace dot11b::instrument {
namespace {


std::size_t open_descriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

SocketAddress loopback(std::uint16_t port) { return {"127.0.0.1", port}; }

constexpr auto ping = static_cast<std::int32_t>(HwOp::Ping);
constexpr auto send = static_cast<std::int32_t>(HwOp::Send);
constexpr auto query = static_cast<std::int32_t>(HwOp::Query);
constexpr auto download = static_cast<std::int32_t>(HwOp::Download);
constexpr auto set_timeout = static_cast<std::int32_t>(HwOp::SetTimeout);

TEST(HwIoModule, TalksToTheSimulatorOverLan) {
    SimulatorProcess sim({"--idn", "Maker,ORB,US40051234,C.04"});
    HwIoModule module;
    const Endpoint lan = loopback(sim.port());
    EXPECT_EQ(module(ping, lan, {}), (StatusPair{0, "Maker,ORB,US40051234,C.04"}));
    EXPECT_EQ(module(send, lan, std::string(" :source:freq:fix 2412000000Hz")), (StatusPair{}));
    EXPECT_EQ(module(query, lan, std::string(":FREQ?")), (StatusPair{0, "2412000000"}));
    EXPECT_EQ(module(static_cast<std::int32_t>(HwOp::ReturnLocal), lan, {}), (StatusPair{}));
    EXPECT_EQ(module(query, lan, std::string(":SYST:ERR?")), (StatusPair{0, "+0,\"No error\""}));
    EXPECT_EQ(sim.log(), (std::vector<std::string>{"*IDN?", " :source:freq:fix 2412000000Hz", ":FREQ?",
                                                   ":SYST:COMM:GTL", ":SYST:ERR?"}));
}

// The blocks hold the waveform file's bytes and one marker byte per sample.
TEST(HwIoModule, DownloadStoresTheWaveformFileBytesAndMarkers) {
    SimulatorProcess sim;
    HwIoModule module;
    const Samples iq = {{1, 0}, {-1, 0.5}, {0.25, -0.75}, {0, 0}};
    const std::vector<std::uint8_t> markers = waveform_files::marker_bytes(Bits{0, 1, 1, 0}, Bits{1, 1, 1, 0});
    EXPECT_EQ(markers, (std::vector<std::uint8_t>{2, 3, 3, 0}));
    EXPECT_EQ(module(download, loopback(sim.port()), WaveformData{iq, markers, "norm", 1, "MY_WAVE#1"}), (StatusPair{}));
    EXPECT_EQ(sim.log(), (std::vector<std::string>{"*CLS", ":MMEM:DATA \"WFM1:MY_WAVE#1\",#216",
                                                   ":MMEM:DATA \"MKR1:MY_WAVE#1\",#14", ":SYST:ERR?"}));
    sim.stop();
    const auto wfm = waveform_files::wfm_bytes(iq);
    EXPECT_EQ(test::read_text(sim.store() / "WFM1" / "MY_WAVE#1"), std::string(wfm.begin(), wfm.end()));
    EXPECT_EQ(test::read_text(sim.store() / "MKR1" / "MY_WAVE#1"), std::string("\x02\x03\x03\x00", 4));
}

TEST(HwIoModule, RequestsThatCannotBeCarriedOutAreRefusedBeforeConnecting) {
    HwIoModule module;
    const Endpoint nowhere = loopback(closed_port());
    const Samples iq = {{1, 0}, {0, 1}};
    const std::vector<std::uint8_t> one_marker = {1};
    struct Case {
        std::int32_t code;
        HwArgs args;
        const char* part_of_description;
    };
    const std::vector<Case> cases = {
        {6, {}, "hwIO has no operation 6"},
        {send, {}, "needs a command text"},
        {set_timeout, std::string("10"), "needs the time-out"},
        {set_timeout, 0.0, "the time-out must be 1 to"},
        {download, WaveformData{iq, {}, "norm", 1, "A\"B"}, "contains a quote or a line break"},
        {download, WaveformData{iq, {}, "norm", 1, ""}, "the waveform name is empty"},
        {download, WaveformData{iq, {}, "raw", 1, "W"}, "download mode \"raw\" is not \"norm\""},
        {download, WaveformData{iq, one_marker, "norm", 1, "W"}, "2 samples but 1 marker values"},
    };
    for (const Case& c : cases) {
        const StatusPair result = module(c.code, nowhere, c.args);
        EXPECT_EQ(result.status, static_cast<int>(Fault::Request)) << c.part_of_description;
        EXPECT_NE(result.description.find(c.part_of_description), std::string::npos) << result.description;
    }
}

TEST(HwIoModule, ConnectionFaultsBecomeStatusesNamingTheConnection) {
    HwIoModule module;
    const std::uint16_t port = closed_port();
    const StatusPair refused = module(query, loopback(port), std::string("*IDN?"));
    EXPECT_EQ(refused.status, static_cast<int>(Fault::Connect));
    EXPECT_NE(refused.description.find("TCPIP 127.0.0.1:" + std::to_string(port)), std::string::npos);
    EXPECT_NE(refused.description.find("refused"), std::string::npos) << refused.description;

    const StatusPair no_device = module(ping, SerialSettings{"/nonexistent/ttyS9", 9600, Handshake::None}, {});
    EXPECT_EQ(no_device.status, static_cast<int>(Fault::Connect));
    EXPECT_NE(no_device.description.find("RS232 /nonexistent/ttyS9"), std::string::npos) << no_device.description;

    module.set_gpib_library("libgpib-not-installed.so.0");
    const StatusPair no_gpib = module(ping, GpibAddress{0, 19, -1}, {});
    EXPECT_EQ(no_gpib.status, static_cast<int>(Fault::Connect));
    EXPECT_NE(no_gpib.description.find("linux-gpib library libgpib-not-installed.so.0 is not installed"),
              std::string::npos)
        << no_gpib.description;
}

// A silent instrument: the reply comes only after 5 s, a stalled write never
// drains. Both end in the time-out status (a reply waited for would give
// success, a write without a time-out would never return).
TEST(HwIoModule, TimeOutsFireOnSilentInstruments) {
    SimulatorProcess slow({"--reply-delay", "5000"});
    HwIoModule module;
    const Endpoint lan = loopback(slow.port());
    EXPECT_EQ(module(set_timeout, lan, 300.0), (StatusPair{}));
    EXPECT_EQ(module.timeout(lan).count(), 300);
    const StatusPair reply = module(query, lan, std::string("*IDN?"));
    EXPECT_EQ(reply.status, static_cast<int>(Fault::Timeout));
    EXPECT_NE(reply.description.find("within 300 ms"), std::string::npos) << reply.description;

    const DeafListener deaf;
    const Endpoint stalled = loopback(deaf.port());
    module(set_timeout, stalled, 300.0);
    const Samples big(1 << 21, Complex(0.5, -0.5));
    const StatusPair write = module(download, stalled, WaveformData{big, {}, "norm", 1, "BIG"});
    EXPECT_EQ(write.status, static_cast<int>(Fault::Timeout)) << write.description;
    // The time-out belongs to its connection; others keep the default.
    EXPECT_EQ(module.timeout(loopback(closed_port())), kDefaultTimeout);
}

TEST(HwIoModule, DroppedConnectionAndGarbageReplies) {
    const Samples iq(4000, Complex(0.5, 0.25));
    {
        SimulatorProcess dropping({"--drop-mid-block"});
        HwIoModule module;
        const StatusPair dropped = module(download, loopback(dropping.port()), WaveformData{iq, {}, "norm", 1, "W"});
        EXPECT_EQ(dropped.status, static_cast<int>(Fault::Lost)) << dropped.description;
        EXPECT_FALSE(dropped.description.empty());
    }
    SimulatorProcess garbage({"--garbage-replies"});
    HwIoModule module;
    const Endpoint lan = loopback(garbage.port());
    const StatusPair reply = module(query, lan, std::string("*IDN?"));
    EXPECT_EQ(reply.status, 0);
    EXPECT_EQ(reply.description, std::string("\x01\xfe garbage \x7f\x80", 14));
    // The error check after storing cannot read an error number from garbage.
    const StatusPair stored = module(download, lan, WaveformData{iq, {}, "norm", 1, "W"});
    EXPECT_EQ(stored.status, static_cast<int>(Fault::Instrument));
    EXPECT_NE(stored.description.find("storing \"W\" failed"), std::string::npos) << stored.description;
}

TEST(HwIoModule, InstrumentErrorsAfterStoringAreReported) {
    SimulatorProcess sim;
    HwIoModule module;
    // The simulator refuses a marker block whose length differs from the stored waveform's.
    const Samples iq(8, Complex(1, 0));
    const std::vector<std::uint8_t> markers(8, 1);
    EXPECT_EQ(module(download, loopback(sim.port()), WaveformData{iq, markers, "norm", 1, "W"}), (StatusPair{}));
    module(send, loopback(sim.port()), std::string(":MMEM:DATA \"MKR1:W\",#13abc"));
    const StatusPair next = module(query, loopback(sim.port()), std::string(":SYST:ERR?"));
    EXPECT_EQ(next, (StatusPair{0, "-161,\"Invalid block data\""}));
}

TEST(HwIoModule, NoDescriptorLeaksAfterManyOperations) {
    SimulatorProcess sim;
    HwIoModule module;
    const Endpoint lan = loopback(sim.port());
    const Endpoint refused = loopback(closed_port());
    module(set_timeout, lan, 200.0);
    const Samples iq(64, Complex(0.5, -0.5));
    // Warm up once so lazily created process-wide resources are not counted.
    module(query, lan, std::string("*IDN?"));
    const std::size_t before = open_descriptors();
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(module(query, lan, std::string("*OPC?")), (StatusPair{0, "1"}));
        ASSERT_TRUE(module(send, lan, std::string(":OUTP ON")).ok());
        ASSERT_TRUE(module(download, lan, WaveformData{iq, {}, "norm", 1, "W"}).ok());
        ASSERT_EQ(module(query, refused, std::string("*IDN?")).status, static_cast<int>(Fault::Connect));
        // A command that has no reply, read as a query: the time-out path.
        if (i % 10 == 0) {
            ASSERT_EQ(module(query, lan, std::string("BOGUS")).status, static_cast<int>(Fault::Timeout));
        }
    }
    EXPECT_EQ(open_descriptors(), before);
}

// The simulator's pseudo-terminal stands in for the RS-232 line.
TEST(HwIoModule, Rs232RoundTripOverAPseudoTerminal) {
    SimulatorProcess sim({"--pty", "--idn", "Maker,ORB,US00000042,B.01"});
    HwIoModule module;
    app::ConnectionConfig config;
    config.type = "rs232";
    config.rs232 = {3, 19200, "Xon/Xoff", ""};
    module.serial_devices().set(3, sim.pty());
    EXPECT_EQ(module(ping, config, {}), (StatusPair{0, "Maker,ORB,US00000042,B.01"}));
    // 4371 is 0x1113: the XON and XOFF characters must pass through as data.
    const Samples iq = {{1, 4371.0 / 32766}, {-0.5, 0.25}};
    ASSERT_EQ(waveform_files::wfm_bytes(iq)[2], 0x11);
    ASSERT_EQ(waveform_files::wfm_bytes(iq)[3], 0x13);
    const std::vector<std::uint8_t> markers = {1, 2};
    EXPECT_EQ(module(download, config, WaveformData{iq, markers, "norm", 1, "SERIAL"}), (StatusPair{}));
    config.rs232.handshake = "RTS/CTS";
    EXPECT_EQ(module(query, config, std::string(":SYST:ERR?")), (StatusPair{0, "+0,\"No error\""}));
    sim.stop();
    const auto wfm = waveform_files::wfm_bytes(iq);
    EXPECT_EQ(test::read_text(sim.store() / "WFM1" / "SERIAL"), std::string(wfm.begin(), wfm.end()));
}

// A stopped download reports the cancel status and never leaves the samples
// stored without their markers: over LAN the waveform block is cut off and
// discarded; once it is complete, or on a serial line, which cannot abandon a
// block, the transfer finishes first.
TEST(HwIoModule, StoppedDownloadsAreCancelledWithoutHalfAWaveform) {
    const Samples iq(40000, Complex(0.5, -0.25));  // a waveform block of 160000 bytes, three pieces on LAN
    struct Case {
        const char* when;
        bool serial;
        std::size_t stop_at_byte;  // 0: before the download starts
        bool stored;
    };
    const Case cases[] = {
        {"before the transfer", false, 0, false},
        {"inside the waveform block", false, 1, false},
        {"inside the marker block", false, 160001, true},
        {"inside the waveform block over RS-232", true, 1, true},
    };
    for (const Case& c : cases) {
        SimulatorProcess sim(c.serial ? std::vector<std::string>{"--pty"} : std::vector<std::string>{});
        HwIoModule module;
        std::stop_source stop;
        if (c.stop_at_byte == 0) stop.request_stop();
        module.set_progress([&](std::size_t done, std::size_t) {
            if (done >= c.stop_at_byte) stop.request_stop();
        });
        module.set_stop(stop.get_token());
        const Endpoint endpoint = c.serial ? Endpoint(SerialSettings{sim.pty(), 115200, Handshake::None})
                                           : Endpoint(loopback(sim.port()));
        EXPECT_EQ(module(download, endpoint, WaveformData{iq, {}, "norm", 1, "CUT"}), kDownloadCancelled) << c.when;
        sim.stop();
        EXPECT_EQ(std::filesystem::exists(sim.store() / "WFM1" / "CUT"), c.stored) << c.when;
        EXPECT_EQ(std::filesystem::exists(sim.store() / "MKR1" / "CUT"), c.stored) << c.when;
    }
}

TEST(HwIoModule, RecordsAreMappedToTheirConnections) {
    SerialDevices devices;
    devices.set(2, "/dev/ttyUSB0");
    app::ConnectionConfig config;
    config.gpib = {1, 7, 3};
    config.rs232 = {1, 38400, "rts/cts", ""};
    config.tcpip.address = "10.0.0.5";

    config.type = "gpib";
    const auto gpib = std::get<GpibAddress>(endpoint_of(config, devices));
    EXPECT_EQ(std::tie(gpib.board, gpib.primary, gpib.secondary), std::make_tuple(1, 7, 3));
    config.type = "RS232";
    const auto serial = std::get<SerialSettings>(endpoint_of(config, devices));
    EXPECT_EQ(serial.device, "/dev/ttyS0");
    EXPECT_EQ(serial.baud_rate, 38400U);
    EXPECT_EQ(serial.handshake, Handshake::RtsCts);
    config.rs232.port = 2;
    EXPECT_EQ(std::get<SerialSettings>(endpoint_of(config, devices)).device, "/dev/ttyUSB0");
    // A device chosen by its path wins over the numbered port.
    config.rs232.device = "/dev/serial/by-id/usb-Adapter_A1-if00-port0";
    EXPECT_EQ(std::get<SerialSettings>(endpoint_of(config, devices)).device, config.rs232.device);
    config.type = "TcpIp";
    const auto lan = std::get<SocketAddress>(endpoint_of(config, devices));
    EXPECT_EQ(lan.host, "10.0.0.5");
    EXPECT_EQ(lan.port, kScpiSocketPort);

    const std::vector<std::pair<std::string, std::uint16_t>> good = {
        {"127.0.0.1:6000", 6000}, {"localhost", 5025}, {"[::1]:7000", 7000}, {"192.168.1.2:5025", 5025}};
    for (const auto& [text, port] : good) EXPECT_EQ(parse_socket_address(text).port, port) << text;
    const std::vector<std::string> bad = {"",           "0.0.0.0",       "host.example", "1.2.3.4:",
                                          "1.2.3.4:0",  "1.2.3.4:70000", "[::1",         "1.2.3.4:12x"};
    for (const auto& text : bad) EXPECT_THROW(parse_socket_address(text), ConfigError) << text;

    config.type = "USB";
    EXPECT_THROW(endpoint_of(config, devices), ConfigError);
    config.type = "RS232";
    config.rs232.handshake = "DTR";
    EXPECT_THROW(endpoint_of(config, devices), ConfigError);
}

}  // namespace
}  // namespace dot11b::instrument
