#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <complex>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/calculation.hpp"
#include "app/parameter_file.hpp"
#include "app/tests/test_support.hpp"
#include "cli/gen/command_line.hpp"
#include "common/number_text.hpp"
#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "common/testing/tool_run.hpp"

namespace dot11b::cli {
namespace {

using app::test::run_python;
using test::read_bytes;
using test::read_text;
using test::TemporaryFolder;
using test::write_bytes;
using test::write_text;

using Outcome = test::ToolRun;

Outcome run(std::vector<std::string> arguments) { return test::run_tool(run_dot11b_gen, "dot11b-gen", std::move(arguments)); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

float float_at(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(bytes[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return std::bit_cast<float>(bits);
}

TEST(CommandLine, DefaultsWriteEveryFormat) {
    TemporaryFolder folder;
    const std::string base = (folder / "dot11b").string();
    const Outcome result = run({"-o", base + ".wfm", "-o", base + ".sigmf-meta", "-o", base + ".cf32", "-o",
                                base + ".mat", "--markers", base + ".markers", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;

    // The default frame: (1584 + 528 + 8192) chips x 3.5 + 2 x 77 ramp samples + 3850 idle samples.
    const std::size_t n = 40068;
    const auto summary = nlohmann::json::parse(result.out);
    EXPECT_EQ(summary["samples"], n);
    EXPECT_EQ(summary["sample_rate"], 38500000.0);
    EXPECT_EQ(summary["projected_length"], 40068.0);
    EXPECT_EQ(summary["psdu_bits"], 8192);
    EXPECT_NE(result.err.find("samples:          40068"), std::string::npos);
    EXPECT_NE(result.err.find("PSDU:             1024 octets (8192 bits)"), std::string::npos);

    // The formats hold the same samples: .cf32 as float32, the .wfm words
    // scaled so that the largest I or Q magnitude is 32766.
    const auto cf32 = read_bytes(base + ".cf32");
    ASSERT_EQ(cf32.size(), 8 * n);
    EXPECT_EQ(read_bytes(base + ".sigmf-data"), cf32);
    std::vector<double> values(2 * n);
    double largest = 0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        values[k] = float_at(cf32, 4 * k);
        largest = std::max(largest, std::abs(values[k]));
    }
    const auto wfm = read_bytes(base + ".wfm");
    ASSERT_EQ(wfm.size(), 4 * n);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto word = static_cast<std::int16_t>(static_cast<std::uint16_t>(wfm[2 * k] << 8U) | wfm[2 * k + 1]);
        ASSERT_NEAR(word, values[k] / largest * 32766, 1) << k;
    }
    // The frame builder removes the mean of the burst, and the idle samples after it are zero.
    std::complex<double> sum = 0;
    for (std::size_t k = 0; k < n; ++k) sum += std::complex<double>(values[2 * k], values[2 * k + 1]);
    EXPECT_LT(std::abs(sum) / static_cast<double>(n), 1e-6);
    for (std::size_t k = 36218; k < n; ++k) ASSERT_EQ(values[2 * k] * values[2 * k] + values[2 * k + 1] * values[2 * k + 1], 0) << k;

    // Row 2 marks the 36218-sample burst, row 1 the frame between the 77-sample ramps.
    const auto markers = read_bytes(base + ".markers");
    ASSERT_EQ(markers.size(), n);
    EXPECT_EQ(markers[0], 2);
    EXPECT_EQ(markers[76], 2);
    EXPECT_EQ(markers[77], 3);
    EXPECT_EQ(markers[36140], 3);
    EXPECT_EQ(markers[36141], 2);
    EXPECT_EQ(markers[36217], 2);
    EXPECT_EQ(markers[36218], 0);
    EXPECT_EQ(markers[n - 1], 0);

    const auto meta = nlohmann::json::parse(read_text(base + ".sigmf-meta"));
    EXPECT_EQ(meta["global"]["core:datatype"], "cf32_le");
    EXPECT_EQ(meta["global"]["core:version"], "1.2.5");
    EXPECT_EQ(meta["global"]["core:sample_rate"], 38500000.0);
    EXPECT_NE(meta["global"]["core:description"].get<std::string>().find("11 Mbit/s CCK"), std::string::npos);
    EXPECT_EQ(meta["captures"][0]["core:sample_start"], 0);
    EXPECT_EQ(meta["captures"][0]["core:frequency"], 2412000000.0);
    ASSERT_EQ(meta["annotations"].size(), 2U);
    EXPECT_EQ(meta["annotations"][0]["core:label"], "burst");
    EXPECT_EQ(meta["annotations"][0]["core:sample_start"], 0);
    EXPECT_EQ(meta["annotations"][0]["core:sample_count"], 36218);
    EXPECT_EQ(meta["annotations"][1]["core:label"], "frame");
    EXPECT_EQ(meta["annotations"][1]["core:sample_start"], 77);
    EXPECT_EQ(meta["annotations"][1]["core:sample_count"], 36064);

    const auto wave = nlohmann::json::parse(
        run_python("mat_to_json.py", {base + ".mat", "samplePoints", "sampleRate", "wave"}, folder.path()));
    EXPECT_EQ(wave["samplePoints"]["real"][0], static_cast<double>(n));
    EXPECT_EQ(wave["sampleRate"]["real"][0], 38500000.0);
    EXPECT_EQ(wave["wave"]["shape"], nlohmann::json::array({n, 2}));
    for (const std::size_t k : {std::size_t{100}, n / 2}) {
        EXPECT_NEAR(wave["wave"]["real"][k].get<double>(), values[2 * k], 1e-6 * largest) << k;
        EXPECT_NEAR(wave["wave"]["real"][n + k].get<double>(), values[2 * k + 1], 1e-6 * largest) << k;
    }
}

TEST(CommandLine, OptionsSetTheRecordsAsTheWindowWould) {
    TemporaryFolder folder;
    const std::string saved = (folder / "set.mat").string();
    const Outcome result = run({"--rate",
                                "5.5",
                                "--modulation",
                                "pbcc",
                                "--preamble",
                                "short",
                                "--locked-clocks",
                                "--scrambler",
                                "preamble-only",
                                "--pbcc-encoder",
                                "off",
                                "--ramp",
                                "cosine",
                                "--ramp-time",
                                "3",
                                "--idle-time",
                                "50",
                                "--oversampling",
                                "2",
                                "--filter",
                                "root-cosine",
                                "--filter-factor",
                                "0.35",
                                "--filter-length",
                                "8.6",
                                "--mirror",
                                "--mac-header",
                                "--mac",
                                "FrameCntrl=0801",
                                "--mac",
                                "Address1=0012345678ab",
                                "--mac-off",
                                "SeqCntrl",
                                "--fcs",
                                "--payload",
                                "pn9",
                                "--length",
                                "100",
                                "--save-params",
                                saved,
                                "--estimate"});
    ASSERT_EQ(result.status, 0) << result.err;
    const app::ParameterSet set = app::load_parameter_file(saved);
    const app::FormatParameters& p = set.parameters;
    EXPECT_EQ(p.rate, phy::DataRate::Mbps5_5);
    EXPECT_EQ(p.modulation, phy::Modulation::Pbcc);
    EXPECT_EQ(p.preamble, phy::PreambleType::Short);
    EXPECT_TRUE(p.locked_clocks);
    EXPECT_EQ(p.scrambler, phy::ScramblerMode::PreambleOnly);
    EXPECT_FALSE(p.pbcc_encoder);
    EXPECT_EQ(p.ramp, phy::RampType::RaisedCosine);
    EXPECT_EQ(p.ramp_length, 66U);     // 3 us x 22 samples per us
    EXPECT_EQ(p.idle_samples, 1100U);  // 50 us
    EXPECT_EQ(p.oversampling, 2);
    EXPECT_EQ(set.settings.sampling_rate, 22000000);
    EXPECT_EQ(p.filter, phy::FilterType::RootCosine);
    EXPECT_EQ(p.filter_factor, 0.35);
    EXPECT_EQ(p.filter_taps, 8);  // round(8.6 / 2) x 2 samples' worth of symbols
    EXPECT_TRUE(p.mirror_spectrum);
    EXPECT_TRUE(p.mac_header.active);
    EXPECT_EQ(p.mac_header.contents[mac::MacField::FrameCntrl].contents, 0x0801U);
    EXPECT_EQ(p.mac_header.contents[mac::MacField::Address1].contents, 0x0012345678ABU);
    EXPECT_FALSE(p.mac_header.contents[mac::MacField::SeqCntrl].active);
    EXPECT_EQ(p.mac_header.length, 28U);
    EXPECT_TRUE(p.fcs.active);
    EXPECT_EQ(p.data_source, mac::PayloadSource::Pn9);
    EXPECT_EQ(p.data_length, 100U);
    EXPECT_EQ(p.total_length, 132U);
    ASSERT_TRUE(p.projected_length.has_value());
    EXPECT_EQ(result.out, number_text(*p.projected_length) + "\n");
    EXPECT_TRUE(result.err.empty());
}

TEST(CommandLine, LaterOptionsChangeALoadedParameterFile) {
    TemporaryFolder folder;
    const std::string first = (folder / "first.mat").string();
    const std::string second = (folder / "second.mat").string();
    ASSERT_EQ(
        run({"--rate", "2", "--idle-time", "20", "--payload", "ones", "--save-params", first, "--estimate"}).status, 0);
    ASSERT_EQ(run({"--params", first, "--oversampling", "2", "--save-params", second, "--estimate"}).status, 0);
    const app::FormatParameters p = app::load_parameter_file(second).parameters;
    EXPECT_EQ(p.rate, phy::DataRate::Mbps2);
    EXPECT_EQ(p.data_source, mac::PayloadSource::Ones);
    EXPECT_EQ(p.idle_samples, 440U);  // 770 samples at 3.5 rescaled: still 20 us
    EXPECT_EQ(p.ramp_length, 44U);
}

TEST(CommandLine, UsageErrorsNameTheOptionAndWhatItAllows) {
    TemporaryFolder folder;
    const std::string wfm = (folder / "x.wfm").string();
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"--rate", "7"}, "--rate: 7 not in {1,2,5.5,11,22,33}"},
        {{"--rate", "22"}, "--rate 22: 22 and 33 Mbit/s only with --unframed --modulation pbcc"},
        {{"--rate", "33", "--unframed"}, "--rate 33: 22 and 33 Mbit/s only with --unframed --modulation pbcc"},
        {{"--modulation", "qam"}, "--modulation: qam not in {cck,pbcc}"},
        {{"--modulation", "pbcc", "--rate", "2"},
         "--modulation pbcc: chooses CCK or PBCC at 5.5, 11, 22 and 33 Mbit/s, not at 2 Mbit/s"},
        {{"--preamble", "short", "--rate", "1"}, "--preamble short: 1 Mbit/s has the long preamble only"},
        {{"--oversampling", "4"}, "--oversampling: 4 not in {2,2.5,3,3.5}"},
        {{"--ramp-time", "2000"}, "--ramp-time: 2000 is outside 0 to 1000 microseconds"},
        {{"--idle-time", "-1"}, "--idle-time: -1 is outside 0 to 100000 microseconds"},
        {{"--idle-time", "soon"}, "--idle-time: soon is not a number"},
        {{"--filter-length", "0.5"}, "--filter-length: 0.5 is outside 1 to 1000 symbols"},
        {{"--filter-factor", "0.05"}, "--filter-factor 0.05: the Gaussian BT must be 0.1 to 1"},
        {{"--filter", "root-cosine", "--filter-factor", "1.5"},
         "--filter-factor 1.5: the root-cosine roll-off must be 0.05 to 1"},
        {{"--length", "3000"}, "--length: 3000 is outside 0 to 2312 octets"},
        {{"--length", "2.5"}, "--length: 2.5 is not a whole number from 0 to 2312 octets"},
        {{"--mac", "Address5=1"},
         "--mac Address5=1: expected FIELD=HEX with FIELD one of FrameCntrl, DurationID, Address1, Address2, Address3, "
         "SeqCntrl, Address4"},
        {{"--mac", "FrameCntrl=12345"}, "--mac FrameCntrl=12345: the field holds 2 octets, 0 to FFFF"},
        {{"--mac", "DurationID=zz"}, "--mac DurationID=zz: \"zz\" is not a hexadecimal number"},
        {{"--mac", "FrameCntrl", "0801"}, "--mac FrameCntrl: the = is missing; write --mac FrameCntrl=HEX"},
        {{"--mac", "Address2=00:12:34:56:78"}, "--mac Address2=00:12:34:56:78: a MAC address is six octets"},
        {{"--unframed", "--length", "0", "--filter", "none"},
         "--length 0: an unframed waveform is the modulated payload alone, so without payload it has no samples; give "
         "at least one octet"},
        // With the encoder, 2 (8 L + 8) coded bits fill 3-bit symbols when L is 2 more than a multiple of 3.
        {{"--rate", "22", "--unframed", "--modulation", "pbcc", "--length", "4"},
         "--length 4: at 22 Mbit/s PBCC the coded payload does not fill whole 8-PSK symbols; the nearest lengths that "
         "do are 2 or 5 octets"},
        {{"--rate", "33", "--unframed", "--modulation", "pbcc"},
         "the payload of 1024 octets: at 33 Mbit/s PBCC the coded payload does not fill whole 8-PSK symbols; the "
         "nearest lengths that do are 1022 or 1025 octets"},
        // One octet at 11 Mbit/s CCK is 8 chips, 56 samples at the 7-fold rate of oversampling 3.5: a filter of
        // 14 symbols has 49 taps, one of 17.5 symbols 61, more than 56 + 1.
        {{"--unframed", "--length", "1", "--filter-length", "100"},
         "--filter-length 100: the filter is longer than the 8-chip unframed burst it shapes; allowed for this burst: "
         "up to 14 symbols"},
        {{"--mac-off", "Address9"},
         "--mac-off: Address9 not in {FrameCntrl,DurationID,Address1,Address2,Address3,SeqCntrl,Address4}"},
        {{"-o", (folder / "x.png").string()}, "not a waveform file name; allowed extensions: .wfm, .cf32"},
        {{"--download", "usb://1"}, "--download usb://1: "},
        {{"--payload", "pn9", "--payload-file", wfm}, "--payload excludes --payload-file"},
        {{"--estimate", "-o", wfm}, "--output excludes --estimate"},
        {{"--bogus"}, "The following argument was not expected: --bogus"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments.front();
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_TRUE(folder.listing().empty());
}

TEST(CommandLine, RuntimeFailuresNameTheFileAndLeaveNoPartialOutput) {
    TemporaryFolder folder;
    const auto notes = folder / "notes.txt";
    write_text(notes, "no MAT-file");
    // A Save Wave file, and parameters that the options would have refused.
    ASSERT_EQ(run({"-o", (folder / "wave.mat").string(), "--filter", "none"}).status, 0);
    app::FormatParameters pbcc22;
    pbcc22.framed = false;
    pbcc22.rate = phy::DataRate::Mbps22;
    pbcc22.modulation = phy::Modulation::Pbcc;
    pbcc22.data_length = 4;
    app::refresh_derived_fields(pbcc22);
    app::save_parameter_file(folder / "pbcc22.mat", pbcc22, app::SigGenSettings{});
    const std::string missing_folder = (folder / "missing").string();
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--params", (folder / "none.mat").string()},
         "cannot open " + (folder / "none.mat").string() + ": No such file or directory"},
        {{"--params", notes.string()},
         "--params " + notes.string() + ": a parameter file was expected, but it is not a MAT-file"},
        {{"--params", (folder / "wave.mat").string()},
         "--params " + (folder / "wave.mat").string() + ": a parameter file was expected, but it has an Invalid File "
         "Format."},
        {{"--params", (folder / "pbcc22.mat").string()},
         "the payload of 4 octets: at 22 Mbit/s PBCC the coded payload does not fill whole 8-PSK symbols"},
        {{"--payload-file", (folder / "none.bin").string()},
         "cannot open " + (folder / "none.bin").string() + ": No such file or directory"},
        {{"-o", missing_folder + "/x.wfm"}, missing_folder + "/x.wfm"},
        {{"-o", missing_folder + "/x.mat"}, missing_folder + "/x.mat"},
        {{"--markers", missing_folder + "/x.markers"}, missing_folder + "/x.markers"},
        {{"--save-params", missing_folder + "/x.mat", "--estimate"}, missing_folder + "/x.mat"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments.front();
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    std::vector<std::string> listing = folder.listing();
    std::sort(listing.begin(), listing.end());
    EXPECT_EQ(listing, (std::vector<std::string>{"notes.txt", "pbcc22.mat", "wave.mat"}));
}

TEST(CommandLine, PayloadSourcesAndRatesAtTheirEdges) {
    TemporaryFolder folder;
    const auto user_file = folder / "payload.bin";
    write_bytes(user_file, std::vector<std::uint8_t>(3000, 0xA5));
    struct Case {
        std::vector<std::string> arguments;
        std::size_t psdu_bits;
        bool estimated;
    };
    const std::vector<Case> cases = {
        {{"--payload-file", user_file.string()}, 18496, true},  // the first 2312 bytes
        {{"--payload", "pn9", "--length", "0", "--rate", "2"}, 0, true},
        {{"--payload", "pn15", "--length", "0", "--mac-header", "--fcs"}, 272, true},
        {{"--unframed", "--mac-header", "--fcs", "--length", "10", "--filter", "none"}, 80, true},
        // 22 Mbit/s PBCC: (88 + 8 tail) bits coded at rate 1/2 fill 64 3-bit symbols.
        {{"--rate", "22", "--unframed", "--modulation", "pbcc", "--length", "11"}, 88, false},
    };
    for (const auto& c : cases) {
        const Outcome result = run([&] {
            auto arguments = c.arguments;
            arguments.push_back("--json");
            return arguments;
        }());
        ASSERT_EQ(result.status, 0) << result.err;
        const auto summary = nlohmann::json::parse(result.out);
        EXPECT_EQ(summary["psdu_bits"], c.psdu_bits) << c.arguments.front();
        if (c.estimated) {
            EXPECT_EQ(summary["projected_length"], summary["samples"].get<double>()) << c.arguments.front();
        } else {
            EXPECT_TRUE(summary["projected_length"].is_null());
        }
    }
    const Outcome estimate = run({"--rate", "33", "--unframed", "--modulation", "pbcc", "--length", "2", "--estimate"});
    EXPECT_EQ(estimate.status, 2);
    EXPECT_NE(estimate.err.find("--estimate: the size estimate covers 1, 2, 5.5 and 11 Mbit/s"), std::string::npos);
}

// A run writes every file or none: a failure after the first -o file, or in
// the build itself, leaves the files that were there as they were.
TEST(CommandLine, OutputsAreWrittenAllOrNothing) {
    TemporaryFolder folder;
    const std::string old_wave = (folder / "old.wfm").string();
    write_text(old_wave, "the previous waveform");
    const std::string params = (folder / "set.mat").string();
    const std::string markers = (folder / "set.markers").string();
    const std::vector<std::vector<std::string>> failing = {
        {"-o", old_wave, "-o", (folder / "missing" / "b.cf32").string(), "--save-params", params, "--markers", markers},
        {"--save-params", params, "-o", old_wave, "--rate", "22", "--unframed", "--modulation", "pbcc", "--length", "4"},
        {"--save-params", params, "-o", old_wave, "--payload-file", (folder / "none.bin").string()},
    };
    for (const auto& arguments : failing) {
        EXPECT_NE(run(arguments).status, 0) << arguments[1];
        EXPECT_EQ(read_text(old_wave), "the previous waveform") << arguments[1];
        std::vector<std::string> listing = folder.listing();
        EXPECT_EQ(listing, std::vector<std::string>{"old.wfm"}) << arguments[1];
    }
}

// What the run used after the entry rules, and a note where that is not what was typed.
TEST(CommandLine, SummaryShowsTheValuesUsed) {
    struct Case {
        std::vector<std::string> arguments;
        nlohmann::json expected;  // fields of the JSON summary
        std::vector<std::string> notes;
    };
    const std::vector<Case> cases = {
        // 6 symbols at oversampling 3.5: round(6 / 3.5) x 3.5 = 7; 2.01 us x 38.5 = 77.385, so 77 samples = 2 us.
        {{"--filter-length", "6", "--ramp-time", "2.01", "--idle-time", "10"},
         {{"filter", {{"type", "gaussian"}, {"factor", 0.5}, {"symbols", 7.0}, {"samples", 24.5}}},
          {"ramp", {{"type", "linear"}, {"us", 2.0}, {"samples", 77}}},
          {"idle", {{"us", 10.0}, {"samples", 385}}}},
         {"--ramp-time 2.01 is 77 samples, 2 us at oversampling 3.5",
          "--filter-length 6 is 7 symbols, a multiple of the oversampling ratio 3.5"}},
        // Unframed: the modulated octet alone (8 CCK chips, 28 samples), with no ramps and no idle time.
        {{"--unframed", "--length", "1", "--filter", "none", "--ramp-time", "5"},
         {{"samples", 28}, {"data_length_octets", 1}, {"ramp", {{"type", "none"}, {"us", 0.0}, {"samples", 0}}},
          {"idle", {{"us", 0.0}, {"samples", 0}}}},
         {"--unframed: the waveform has no ramps and no idle time, so their settings are not used"}},
        // Options whose only effect needs another option that is not given.
        {{"--mac", "SeqCntrl=10", "--mac-off", "Address4"},
         nlohmann::json::object(),
         {"the waveform has no MAC header (give --mac-header), so --mac and --mac-off are not used"}},
        {{"--unframed", "--length", "1", "--filter", "none", "--mac-header", "--fcs"},
         {{"psdu_octets", 1}},
         {"--unframed: the waveform is the modulated payload alone, so --mac-header and --fcs are not used"}},
        {{"--filter", "none", "--filter-factor", "0.3"},
         nlohmann::json::object(),
         {"--filter none: the waveform is not filtered, so --filter-factor is not used"}},
    };
    for (const Case& c : cases) {
        auto arguments = c.arguments;
        arguments.push_back("--json");
        const Outcome result = run(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const auto summary = nlohmann::json::parse(result.out);
        for (const auto& [key, value] : c.expected.items()) EXPECT_EQ(summary[key], value) << key;
        EXPECT_EQ(summary["notes"], c.notes);
        for (const auto& note : c.notes) EXPECT_TRUE(contains(result.err, "note:             " + note)) << result.err;
        EXPECT_TRUE(contains(result.err, "wrote:            nothing (give -o FILE to write the waveform)"));
    }
}

// Entries in the forms people type them: extensions in any case, MAC
// addresses with separators; and --help says what the tool writes and returns.
TEST(CommandLine, EntriesAsUsuallyTyped) {
    TemporaryFolder folder;
    const std::string upper = (folder / "WAVE.WFM").string();
    ASSERT_EQ(run({"-o", upper, "--filter", "none", "--unframed", "--length", "1"}).status, 0);
    EXPECT_EQ(read_bytes(upper).size(), 4U * 28);

    // The window's number of a label-form address holds its first octet least significant.
    const std::pair<const char*, std::uint64_t> addresses[] = {
        {"00:12:34:56:78:ab", 0xAB7856341200U},
        {"00-12-34-56-78-AB", 0xAB7856341200U},
        {"0:12:34:56:78:ab", 0xAB7856341200U},
        {"0012345678ab", 0x0012345678ABU},
    };
    for (const auto& [address, number] : addresses) {
        const std::string saved = (folder / "set.mat").string();
        ASSERT_EQ(run({"--mac", std::string("Address1=") + address, "--save-params", saved, "--estimate"}).status, 0)
            << address;
        EXPECT_EQ(app::load_parameter_file(saved).parameters.mac_header.contents[mac::MacField::Address1].contents,
                  number)
            << address;
    }

    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* part : {".wfm", ".cf32", ".sigmf-meta", ".mat", "--rate TEXT:{1,2,5.5,11,22,33}", "(default 11)",
                             "(default 2412000000)", "Exit status: 0 success; 1 a failure while running",
                             "2 a usage error"}) {
        EXPECT_TRUE(contains(help.out, part)) << part;
    }
}

}  // namespace
}  // namespace dot11b::cli
