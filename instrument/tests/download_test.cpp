#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/waveform_files/wfm_file.hpp"
#include "common/testing/file_contents.hpp"
#include "instrument/download.hpp"
#include "recording_module.hpp"
#include "simulator_process.hpp"

namespace dot11b::instrument {
namespace {

app::ConnectionConfig rs232_at(int baud) {
    app::ConnectionConfig config;
    config.type = "RS232";
    config.rs232.baudrate = baud;
    return config;
}

// The generator's settings as the panel's defaults leave them, with the "c"
// platform's four extra fields.
PlaybackSettings default_settings() {
    PlaybackSettings s = playback_settings(app::SigGenSettings{});
    s.SamplingRate = 11000000;
    s.BBfilter = 2;
    s.Scaling = 70;
    s.ModAtten = 2.5;
    s.ALC = 0;
    return s;
}

// The log without its last line, the *OPC? query the tests use to know that
// the simulator has read everything before it.
std::vector<std::string> lines_before_sync(std::vector<std::string> log) {
    if (!log.empty() && log.back() == "*OPC?") log.pop_back();
    return log;
}

// Estimates and questions: 32 x N x 1.125 / B / 60 minutes; asked only above 0.75.
TEST(Download, Rs232QuestionBoundary) {
    struct Case {
        std::size_t samples;
        int baud;
        double segments;
        bool asked;
        const char* text;
    };
    const Case cases[] = {
        {24000, 19200, 1, false, ""},
        {24001, 19200, 1, true, "This download will take approximately 0.8 minutes. Do you want to continue?"},
        {48000, 19200, 1, true, "This download will take approximately 1.5 minutes. Do you want to continue?"},
        {48000, 19200, 0, true, "This download will take approximately 1.5 minutes. Do you want to continue?"},
        {12000, 19200, 2, false, ""},
        {12001, 19200, 2, true, "This download will take approximately 0.8 minutes. Do you want to continue?"},
        {48000, 19200, -1, false, ""},
    };
    for (const Case& c : cases) {
        RecordingModule module;
        std::vector<std::pair<std::string, std::string>> questions;
        const Confirm ask = [&](const std::string& title, const std::string& text) {
            questions.emplace_back(title, text);
            return true;
        };
        const Samples iq(c.samples, Complex(0.5, 0.5));
        ORBDownLoadWrap(module.io(), iq, {}, "W", rs232_at(c.baud), c.segments, ask);
        ASSERT_EQ(questions.size(), c.asked ? 1U : 0U) << c.samples << " samples";
        if (c.asked) {
            EXPECT_EQ(questions[0], std::make_pair(std::string("RS-232 Download"), std::string(c.text)));
        }
    }
    EXPECT_DOUBLE_EQ(rs232_transfer_minutes(1, 24000, 19200), 0.75);
}

TEST(Download, DeclinedRs232DownloadSendsNothingAfterTheTimeOut) {
    for (const bool has_dialog : {true, false}) {
        RecordingModule module;
        const Confirm decline = [](const std::string&, const std::string&) { return false; };
        const Samples iq(48000, Complex(0.5, 0.5));
        EXPECT_EQ(ORBDownLoadWrap(module.io(), iq, {}, "W", rs232_at(19200), 1, has_dialog ? decline : Confirm{}),
                  (StatusPair{-1, "Download cancelled"}));
        ASSERT_EQ(module.calls.size(), 1U);
        EXPECT_EQ(module.calls[0].code, 50);
        EXPECT_EQ(std::get<double>(module.calls[0].args), 10000);
    }
    // LAN and GPIB never ask, whatever the length.
    for (const char* bus : {"TCPIP", "GPIB"}) {
        RecordingModule module;
        app::ConnectionConfig config = rs232_at(300);
        config.type = bus;
        const Samples iq(1000000, Complex(0.5, 0.5));
        EXPECT_EQ(ORBDownLoadWrap(module.io(), iq, {}, "W", config, 1, {}), (StatusPair{})) << bus;
    }
}

// The download's exact command sequence, with the player off and on
// beforehand; the stored blocks are the waveform file's bytes and the markers.
TEST(Download, CommandSequenceForBothArbStates) {
    const Samples iq = {{1, 0}, {-1, 0.5}, {0.5, -0.25}, {0, 0}};
    const std::vector<std::uint8_t> markers = {0, 3, 3, 2};
    for (const bool arb_on : {false, true}) {
        SimulatorProcess sim;
        HwIoModule module;
        const HwIO io = bridge_to(module);
        const app::ConnectionConfig config = sim.lan();
        if (arb_on) {
            ASSERT_TRUE(hwDownload(io, config, iq, markers, "FIRST").ok());
            ASSERT_TRUE(hwSend(io, config, ":SOUR:RAD:ARB:WAV \"WFM1:FIRST\"").ok());
            ASSERT_TRUE(hwSend(io, config, ":SOUR:RAD:ARB:STATe ON").ok());
        }
        ASSERT_EQ(hwQuery(io, config, "*OPC?"), (StatusPair{0, "1"}));
        const std::size_t setup = sim.log().size();
        EXPECT_EQ(ORBDownLoadWrap(io, iq, markers, "DOT11B", config), (StatusPair{}));
        ASSERT_EQ(hwQuery(io, config, "*OPC?"), (StatusPair{0, "1"}));
        std::vector<std::string> expected = {
            ":SOUR:RAD:ARB:STATe?", ":SOUR:RAD:ARB:STATe OFF", "*CLS", ":MMEM:DATA \"WFM1:DOT11B\",#216",
            ":MMEM:DATA \"MKR1:DOT11B\",#14", ":SYST:ERR?", "",
        };
        if (arb_on) expected.push_back(":SOUR:RAD:ARB:STATe ON");
        expected.push_back(":OUTPUT:MOD ON");
        const std::vector<std::string> log = lines_before_sync(sim.log());
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(setup), log.end()), expected)
            << (arb_on ? "player on" : "player off");
        EXPECT_EQ(hwQuery(io, config, ":SOUR:RAD:ARB:STATe?").description, arb_on ? "1" : "0");
        EXPECT_EQ(hwQuery(io, config, ":OUTP:MOD?").description, "1");
        sim.stop();
        const auto wfm = waveform_files::wfm_bytes(iq);
        EXPECT_EQ(test::read_text(sim.store() / "WFM1" / "DOT11B"), std::string(wfm.begin(), wfm.end()));
        EXPECT_EQ(test::read_text(sim.store() / "MKR1" / "DOT11B"), std::string("\x00\x03\x03\x02", 4));
    }
}

// The playback texts for both platforms, as the instrument receives them, and
// the state they leave: player and output on, waveform selected, no errors.
TEST(Download, PlaybackSequencesForBothPlatforms) {
    const std::vector<std::string> b_lines = {
        " :source:rad:arb:state off",
        " :source:rad:arb:wav \"arbi:DOT11B\" ",
        " :source:freq:fix 2412000000Hz",
        " :source:power:level:immediate:amplitude -30dbm",
        " :source:rad:arb:clock:srate 11000000Hz",
        " :source:rad:arb:rfilter through",
        " :source:rad:arb:marker:rfblank on",
        " :source:rad:arb:marker:polarity Pos",
        " :source:rad:arb:clock:ref int",
        " :source:rad:arb:state on",
        " :output:state on",
        ":SYST:COMM:GTL",
    };
    const std::vector<std::string> c_lines = {
        " :source:rad:arb:state off",
        " :source:rad:arb:wav \"arbi:DOT11B\" ",
        " :source:freq:fix 2412000000Hz",
        " :source:power:level:immediate:amplitude -30dbm",
        " :source:rad:arb:clock:srate 11000000Hz",
        " :source:dm:bbfilter 40MHz",
        " :source:rad:ARB:rscaling 70",
        ":source:DM:IQAT:AUTO off",
        ":source:DM:IQAT 2.5",
        " :pow:alc:state off",
        " :source:rad:arb:marker:rfblank on",
        " :source:rad:arb:marker:polarity Pos",
        " :source:rad:arb:clock:ref int",
        " :source:rad:arb:state on",
        " :output:state on",
        " :OUTPUT:MOD ON",
        ":SYST:COMM:GTL",
    };
    for (const bool c_platform : {false, true}) {
        SimulatorProcess sim;
        HwIoModule module;
        const HwIO io = bridge_to(module);
        const app::ConnectionConfig config = sim.lan();
        ASSERT_TRUE(hwDownload(io, config, Samples{{1, 0}, {0, 1}}, {}, "DOT11B").ok());
        const std::size_t setup = sim.log().size();
        const StatusPair result = c_platform ? ORBPlay_c(io, "DOT11B", default_settings(), config)
                                             : ORBPlay(io, "DOT11B", default_settings(), config);
        EXPECT_EQ(result, (StatusPair{}));
        ASSERT_EQ(hwQuery(io, config, "*OPC?"), (StatusPair{0, "1"}));
        const std::vector<std::string> log = lines_before_sync(sim.log());
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(setup), log.end()),
                  c_platform ? c_lines : b_lines);
        EXPECT_EQ(hwQuery(io, config, ":SYST:ERR?").description, "+0,\"No error\"");
        EXPECT_EQ(hwQuery(io, config, ":RAD:ARB:WAV?").description, "\"WFM1:DOT11B\"");
        EXPECT_EQ(hwQuery(io, config, ":RAD:ARB?").description, "1");
        EXPECT_EQ(hwQuery(io, config, ":OUTP?").description, "1");
        EXPECT_EQ(hwQuery(io, config, ":FREQ?").description, "2412000000");
        EXPECT_EQ(hwQuery(io, config, ":POW?").description, "-30");
    }
}

// Selector values outside the named ones pick the last choice; numbers are
// written as integers, or with four decimals, five significant digits below 1.
TEST(Download, SelectorsAndNumberTexts) {
    PlaybackSettings s = default_settings();
    s.Frequency = 2412345678.9;
    s.Amplitude = -30.25;
    s.SamplingRate = 38500000;
    s.ReconFilter = 7;
    s.RFblanking = 2;
    s.MarkerPolarity = 1;
    s.ArbRefSource = 3;
    const auto b = orb_play_commands("T", s);
    EXPECT_EQ(b[2], " :source:freq:fix 2412345678.9Hz");
    EXPECT_EQ(b[3], " :source:power:level:immediate:amplitude -30.25dbm");
    EXPECT_EQ(b[4], " :source:rad:arb:clock:srate 38500000Hz");
    EXPECT_EQ(b[5], " :source:rad:arb:rfilter through");
    EXPECT_EQ(b[6], " :source:rad:arb:marker:rfblank off");
    EXPECT_EQ(b[7], " :source:rad:arb:marker:polarity Neg");
    EXPECT_EQ(b[8], " :source:rad:arb:clock:ref ext");
    const std::pair<double, const char*> filters[] = {{1, "250.0khz"}, {2, "2.5Mhz"}, {3, "8Mhz"}, {4, "through"}};
    for (const auto& [choice, text] : filters) {
        s.ReconFilter = choice;
        EXPECT_EQ(orb_play_commands("T", s)[5], std::string(" :source:rad:arb:rfilter ") + text);
    }
    s.BBfilter = 0;
    s.ALC = 2;
    s.Scaling = 0.123456;
    s.ModAtten = 12.345678;
    const auto c = orb_play_c_commands("T", s);
    EXPECT_EQ(c[5], " :source:dm:bbfilter Through");
    EXPECT_EQ(c[6], " :source:rad:ARB:rscaling 0.12346");
    EXPECT_EQ(c[8], ":source:DM:IQAT 12.3457");
    EXPECT_EQ(c[9], " :pow:alc:state on");
    s.BBfilter = 1;
    EXPECT_EQ(orb_play_c_commands("T", s)[5], " :source:dm:bbfilter 2.1MHz");
}

// A failed step is reported even when later steps succeed, and its text
// reaches the caller unchanged; the other steps still run.
TEST(Download, FirstFailureIsReportedUnchanged) {
    RecordingModule module;
    module.answer = [](const RecordedCall& call) {
        if (call.code == 4) return StatusPair{3, "TCPIP 127.0.0.1:5025: connection closed by the instrument"};
        if (call.code == 3) return StatusPair{0, "1"};
        return StatusPair{};
    };
    const app::ConnectionConfig config;
    EXPECT_EQ(ORBDownLoadWrap(module.io(), Samples{{1, 0}}, {}, "W", config),
              (StatusPair{3, "TCPIP 127.0.0.1:5025: connection closed by the instrument"}));
    EXPECT_EQ(module.texts(), (std::vector<std::string>{":SOUR:RAD:ARB:STATe?", ":SOUR:RAD:ARB:STATe OFF", "\n",
                                                        ":SOUR:RAD:ARB:STATe ON", ":OUTPUT:MOD ON"}));

    RecordingModule playback;
    int sends = 0;
    playback.answer = [&](const RecordedCall& call) {
        if (call.code == 2 && ++sends == 3) return StatusPair{2, "GPIB0::19: no progress sending within 10000 ms"};
        return StatusPair{};
    };
    EXPECT_EQ(ORBPlay(playback.io(), "W", default_settings(), config),
              (StatusPair{2, "GPIB0::19: no progress sending within 10000 ms"}));
    EXPECT_EQ(playback.calls.size(), 12U);
    EXPECT_EQ(playback.calls.back().code, 5);
}

TEST(Download, RefusedConnectionReachesTheCallerUnchanged) {
    std::uint16_t port = 0;
    {
        SimulatorProcess gone;
        port = gone.port();
    }
    HwIoModule module;
    const HwIO io = bridge_to(module);
    app::ConnectionConfig config;
    config.type = "TCPIP";
    config.tcpip.address = "127.0.0.1:" + std::to_string(port);
    const StatusPair direct = hwSend(io, config, ":OUTPUT:MOD ON");
    ASSERT_EQ(direct.status, static_cast<int>(Fault::Connect));
    EXPECT_EQ(ORBDownLoadWrap(io, Samples{{1, 0}}, {}, "W", config), direct);
    EXPECT_EQ(ORBPlay(io, "W", default_settings(), config), direct);
}

TEST(Download, DacResolution) {
    const Samples wave = {{1, -0.3}, {0.123456, 0.5}, {-0.7, 0.9999}};
    EXPECT_EQ(applyDacRes(wave, 2), wave);
    EXPECT_EQ(applyDacRes(wave, 40), applyDacRes(wave, 32));
    const Samples sixteen = applyDacRes(wave, 16);
    for (const Complex z : sixteen) {
        for (const double part : {z.real(), z.imag()}) {
            const double steps = part * 32767;
            EXPECT_NEAR(steps, std::round(steps), 1e-9) << part;
        }
    }
    // Three bits: steps of 1/3 of the largest magnitude, halves away from zero.
    const Samples three = applyDacRes(Samples{{3, 0.5}, {-0.5, 1.5}}, 3);
    EXPECT_EQ(three, (Samples{{3, 1}, {-1, 2}}));
    EXPECT_EQ(applyDacRes(Samples{{0, 0}, {0, 0}}, 14), (Samples{{0, 0}, {0, 0}}));
}

}  // namespace
}  // namespace dot11b::instrument
