#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "instrument/scpi_block.hpp"
#include "instrument/sim/scpi_header.hpp"
#include "instrument/sim/scpi_stream.hpp"
#include "instrument/sim/simulated_generator.hpp"

namespace dot11b::sim {
namespace {

TEST(ScpiBlock, HeadersRoundTrip) {
    for (const std::size_t length : {0UL, 7UL, 10UL, 160272UL, 999999999UL}) {
        const std::string header = instrument::block_header(length);
        const auto parsed = instrument::parse_block_header(header + "data");
        ASSERT_TRUE(parsed) << header;
        EXPECT_EQ(parsed->header_size, header.size());
        EXPECT_EQ(parsed->length, length);
    }
    EXPECT_EQ(instrument::block_header(160272), "#6160272");
    instrument::BlockHeaderState state{};
    EXPECT_FALSE(instrument::parse_block_header("#61602", &state));
    EXPECT_EQ(state, instrument::BlockHeaderState::Incomplete);
    for (const char* bad : {"#0", "#a12", "#3x12", "6160272"}) {
        EXPECT_FALSE(instrument::parse_block_header(bad, &state)) << bad;
        EXPECT_EQ(state, instrument::BlockHeaderState::Malformed) << bad;
    }
}

// Blocks may hold line feeds and quotes; the split must not depend on how
// the bytes arrive, so every split point is tried.
TEST(ScpiStream, BlocksAreTakenWholeWhateverThePieces) {
    const std::string block("\n\"#1\x00\n", 6);
    const std::string stream = ":MMEM:DATA \"WFM1:A#1\",#16" + block + "\n*IDN?\r\n\n:FREQ 1e9\n";
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        CommandSplitter splitter;
        std::vector<ReceivedCommand> commands = splitter.feed(std::string_view(stream).substr(0, cut));
        for (auto& c : splitter.feed(std::string_view(stream).substr(cut))) commands.push_back(std::move(c));
        ASSERT_EQ(commands.size(), 4U) << cut;
        EXPECT_EQ(commands[0].text, ":MMEM:DATA \"WFM1:A#1\",#16");
        ASSERT_TRUE(commands[0].block);
        EXPECT_EQ(*commands[0].block, block);
        EXPECT_EQ(commands[1].text, "*IDN?");
        EXPECT_EQ(commands[2].text, "");
        EXPECT_EQ(commands[3].text, ":FREQ 1e9");
        for (const auto& c : commands) EXPECT_FALSE(c.malformed) << cut;
    }
}

TEST(ScpiStream, MalformedLinesAreMarked) {
    const std::pair<std::string, bool> cases[] = {
        {":MMEM:DATA \"X\",#0\n", true},
        {":MMEM:DATA \"X\",#x12\n", true},
        {":MMEM:DATA \"X\",#2\n", true},
        {":MMEM:DATA \"X\",#12ab extra\n", true},
        {std::string(kMaxCommandText + 5, 'A') + "\n", true},
        {":MMEM:DATA \"X\",#12ab\n", false},
    };
    for (const auto& [text, malformed] : cases) {
        CommandSplitter splitter;
        const auto commands = splitter.feed(text);
        ASSERT_EQ(commands.size(), 1U) << text.substr(0, 40);
        EXPECT_EQ(commands[0].malformed, malformed) << text.substr(0, 40);
    }
}

TEST(ScpiHeader, LongAndShortFormsAndOptionalNodes) {
    const char* pattern = "[SOURce]:POWer:[LEVel]:[IMMediate]:[AMPLitude]";
    for (const char* header : {":source:power:level:immediate:amplitude", "POW", ":pow:ampl", "SOUR:POW:LEV", "power"}) {
        EXPECT_TRUE(header_matches(pattern, header)) << header;
    }
    for (const char* header : {":sourc:power", ":pow:alc", "", ":powe", "pow:lev:imm:ampl:x"}) {
        EXPECT_FALSE(header_matches(pattern, header)) << header;
    }
    EXPECT_TRUE(header_matches("[SOURce]:RADio:ARB:MARKer:RFBLank", ":source:rad:arb:marker:rfblank"));
    EXPECT_TRUE(header_matches("OUTPut:MODulation:[STATe]", ":OUTPUT:MOD"));
    EXPECT_FALSE(header_matches("OUTPut:[STATe]", ":OUTPUT:MOD"));
}

ReceivedCommand line(std::string text) { return ReceivedCommand{std::move(text), std::nullopt, false}; }

// Faults of the commands end in the error queue, oldest first.
TEST(SimulatedGenerator, ErrorQueue) {
    SimulatedGenerator generator("Maker,ORB,US1,1");
    const char* faulty[] = {"BOGUS", ":FREQ 5GHz", ":RAD:ARB:RFIL 3MHz", ":OUTP maybe", ":FREQ",
                            ":RAD:ARB:WAV \"ARBI:NONE\"", ":FREQ? 1"};
    for (const char* text : faulty) generator.execute(line(text));
    generator.execute(ReceivedCommand{":MMEM:DATA \"WFM1:A\",#13", std::string("abc"), false});
    generator.execute(ReceivedCommand{":MMEM:DATA \"NVWFM:A\",#14", std::string("abcd"), false});
    generator.execute(ReceivedCommand{":FREQ 1GHz,#14", std::string("abcd"), false});
    generator.execute(ReceivedCommand{":MMEM:DATA \"WFM1:A\",#0", std::nullopt, true});
    const std::vector<std::string> expected = {
        "-113,\"Undefined header\"",     "-222,\"Data out of range\"",  "-224,\"Illegal parameter value\"",
        "-224,\"Illegal parameter value\"", "-109,\"Missing parameter\"", "-256,\"File name not found\"",
        "-108,\"Parameter not allowed\"", "-161,\"Invalid block data\"", "-257,\"File name error\"",
        "-168,\"Block data not allowed\"", "-102,\"Syntax error\"",
    };
    for (const auto& error : expected) EXPECT_EQ(generator.execute(line(":SYST:ERR?")), error);
    EXPECT_EQ(generator.execute(line(":SYST:ERR?")), "+0,\"No error\"");
    for (int i = 0; i < 40; ++i) generator.execute(line("BOGUS"));
    EXPECT_EQ(generator.errors_pending(), kErrorQueueSize);
    for (std::size_t i = 1; i < kErrorQueueSize; ++i) generator.execute(line(":SYST:ERR?"));
    EXPECT_EQ(generator.execute(line(":SYST:ERR?")), "-350,\"Queue overflow\"");
    generator.execute(line("BOGUS"));
    generator.execute(line("*CLS"));
    EXPECT_EQ(generator.errors_pending(), 0U);
}

TEST(SimulatedGenerator, SettingsFollowCommandsAndReset) {
    SimulatedGenerator generator("id");
    struct Case {
        const char* command;
        const char* query;
        const char* value;
    };
    const Case settings[] = {
        {" :source:freq:fix 2412000000Hz", ":FREQ?", "2412000000"},
        {":FREQ 2.437 GHz", ":SOUR:FREQ:FIX?", "2437000000"},
        {" :source:rad:arb:clock:srate 38500000Hz", ":RAD:ARB:CLOC:SRAT?", "38500000"},
        {":RAD:ARB:CLOC:SRAT 22MHZ", ":RAD:ARB:CLOC:SRAT?", "22000000"},
        {" :source:rad:arb:marker:polarity Neg", ":RAD:ARB:MARK:POL?", "NEG"},
        {" :source:rad:arb:clock:ref ext", ":RAD:ARB:CLOC:REF?", "EXT"},
        {":source:DM:IQAT:AUTO off", ":DM:IQAT:AUTO?", "0"},
        {":source:DM:IQAT 2.5", ":DM:IQAT?", "2.5"},
        {" :pow:alc:state on", ":POW:ALC?", "1"},
        {" :source:rad:ARB:rscaling 70", ":RAD:ARB:RSC?", "70"},
    };
    for (const Case& c : settings) {
        generator.execute(line(c.command));
        EXPECT_EQ(generator.execute(line(c.query)), c.value) << c.command;
    }
    generator.execute(line(" :source:rad:arb:rfilter 2.5Mhz"));
    EXPECT_EQ(generator.execute(line(":RAD:ARB:RFIL?")), "2500000");
    generator.execute(line(" :source:dm:bbfilter Through"));
    EXPECT_EQ(generator.execute(line(":DM:BBF?")), "THR");
    generator.execute(line("*RST"));
    EXPECT_EQ(generator.execute(line(":FREQ?")), "1000000000");
    EXPECT_EQ(generator.execute(line(":RAD:ARB:RFIL?")), "THR");
    EXPECT_EQ(generator.execute(line(":SYST:ERR?")), "+0,\"No error\"");
}

// A time limit the timer cannot hold is refused instead of overflowing into
// one that has already passed; nothing is left running either way.
TEST(Sgsim, TimeLimitsBeyondTheTimerAreRefused) {
    const std::string command = std::string("'") + SGSIM_PATH + "' --port 0 --time-limit 1e30 > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace dot11b::sim
