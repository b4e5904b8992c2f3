#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/calculation.hpp"
#include "app/parameter_file.hpp"
#include "app/record_reader.hpp"
#include "app/tests/test_support.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "cli/gen/command_line.hpp"

namespace dot11b::cli {
namespace {

using app::test::read_bytes;
using app::test::run_python;
using app::test::TemporaryFolder;
using app::test::write_bytes;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "dot11b-gen");
    std::vector<const char*> argv;
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_dot11b_gen(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

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

    const Samples samples = app::calculate(app::FormatParameters{}).frame.samples;
    EXPECT_EQ(read_bytes(base + ".wfm"), waveform_files::wfm_bytes(samples));

    const auto cf32 = read_bytes(base + ".cf32");
    ASSERT_EQ(cf32.size(), 8 * n);
    for (const std::size_t k : {std::size_t{0}, std::size_t{100}, n / 2, n - 1}) {
        EXPECT_EQ(float_at(cf32, 8 * k), static_cast<float>(samples[k].real())) << k;
        EXPECT_EQ(float_at(cf32, 8 * k + 4), static_cast<float>(samples[k].imag())) << k;
    }
    EXPECT_EQ(read_bytes(base + ".sigmf-data"), cf32);

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

    std::ifstream meta_file(base + ".sigmf-meta");
    const auto meta = nlohmann::json::parse(meta_file);
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
    EXPECT_EQ(wave["wave"]["real"][100], samples[100].real());
    EXPECT_EQ(wave["wave"]["real"][n + 100], samples[100].imag());
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
    EXPECT_EQ(result.out, app::number_text(*p.projected_length) + "\n");
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
        {{"--mac", "DurationID=zz"}, "--mac DurationID=zz: DurationID: \"zz\" is not a hexadecimal number"},
        {{"--mac-off", "Address9"},
         "--mac-off: Address9 not in {FrameCntrl,DurationID,Address1,Address2,Address3,SeqCntrl,Address4}"},
        {{"-o", (folder / "x.png").string()}, "not a waveform file name; allowed extensions: .wfm, .cf32"},
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
    std::ofstream(notes) << "no MAT-file";
    const std::string missing_folder = (folder / "missing").string();
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--params", (folder / "none.mat").string()},
         "cannot open " + (folder / "none.mat").string() + ": No such file or directory"},
        {{"--params", notes.string()}, "cannot open " + notes.string() + ": is not a MAT-file"},
        {{"--payload-file", (folder / "none.bin").string()}, "Could not open\n" + (folder / "none.bin").string()},
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
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"notes.txt"});
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
    const Outcome estimate = run({"--rate", "33", "--unframed", "--modulation", "pbcc", "--estimate"});
    EXPECT_EQ(estimate.status, 2);
    EXPECT_NE(estimate.err.find("--estimate: the size estimate covers 1, 2, 5.5 and 11 Mbit/s"), std::string::npos);
    EXPECT_EQ(run({"--help"}).status, 0);
}

}  // namespace
}  // namespace dot11b::cli
