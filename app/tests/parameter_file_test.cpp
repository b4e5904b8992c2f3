#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/calculation.hpp"
#include "app/parameter_file.hpp"
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

// A record in which every field differs from its start-up default.
FormatParameters every_field_changed() {
    FormatParameters p;
    p.framed = true;
    p.rate = phy::DataRate::Mbps5_5;
    p.modulation = phy::Modulation::Pbcc;
    p.preamble = phy::PreambleType::Short;
    p.locked_clocks = true;
    p.scrambler = phy::ScramblerMode::PreambleOnly;
    p.pbcc_encoder = false;
    p.ramp = phy::RampType::RaisedCosine;
    p.oversampling = 2.5;
    p.ramp_length = 55;
    p.idle_samples = 2750;
    p.channel = 11;
    p.mirror_spectrum = true;
    p.mac_header.active = true;
    p.mac_header.contents[mac::MacField::FrameCntrl].contents = 0x0801;
    p.mac_header.contents[mac::MacField::Address1].contents = 0x0012345678AB;
    p.mac_header.contents[mac::MacField::SeqCntrl].active = false;
    p.fcs.active = true;
    p.data_source = mac::PayloadSource::UserData;
    p.data_source_bits = {1, 0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 0};
    p.data_length = 2;
    p.data_source_name = "payload.bin";
    p.filter = phy::FilterType::RootCosine;
    p.filter_factor = 0.35;
    p.filter_taps = 5;
    p.last_path = "/home/jos\xc3\xa9/payloads";
    refresh_derived_fields(p);
    return p;
}

SigGenSettings changed_settings() {
    SigGenSettings s;
    s.title = "WLAN_11B#2";
    s.frequency = 2462000000;
    s.amplitude = -12;
    s.sampling_rate = 27500000;
    s.recon_filter = 2;
    s.rf_blanking = false;
    s.external_reference = true;
    s.negative_markers = true;
    return s;
}

std::string load_error(const std::filesystem::path& path) {
    try {
        load_parameter_file(path);
    } catch (const IoError& e) {
        return e.what();
    }
    return "(loaded)";
}

void write_variables(const std::filesystem::path& path, std::vector<frame::MatVariable> variables) {
    frame::write_mat_file(path, variables);
}

TEST(ParameterFile, EveryFieldRoundTrips) {
    TemporaryFolder folder;
    FormatParameters defaults;
    refresh_derived_fields(defaults);
    const std::vector<std::pair<FormatParameters, SigGenSettings>> sets = {
        {defaults, SigGenSettings{}},
        {every_field_changed(), changed_settings()},
    };
    for (const auto& [parameters, settings] : sets) {
        const auto path = folder / "set.mat";
        save_parameter_file(path, parameters, settings);
        const ParameterSet loaded = load_parameter_file(path);
        EXPECT_EQ(loaded.parameters, parameters);
        EXPECT_EQ(loaded.settings, settings);
    }
    // A record as created at start-up, before its projected length was ever shown.
    const auto path = folder / "startup.mat";
    save_parameter_file(path, FormatParameters{}, SigGenSettings{});
    EXPECT_FALSE(load_parameter_file(path).parameters.projected_length.has_value());
    EXPECT_EQ(load_parameter_file(path).parameters, FormatParameters{});
}

TEST(ParameterFile, SciPyReadsEveryFieldWithItsType) {
    TemporaryFolder folder;
    const auto path = folder / "set.mat";
    const FormatParameters parameters = every_field_changed();
    save_parameter_file(path, parameters, changed_settings());
    const auto scipy = nlohmann::json::parse(
        run_python("mat_to_json.py", {path.string(), "fileParameters", "sigGenParameters"}, folder.path()));
    // The field at a dotted path, through the [name, value] pairs SciPy's structures print as.
    const auto at = [&](const std::string& dotted) {
        const nlohmann::json* node = &scipy;
        std::size_t start = 0;
        for (std::size_t end = 0; end != std::string::npos; start = end + 1) {
            end = dotted.find('.', start);
            const std::string name = dotted.substr(start, end - start);
            if (node->contains("fields")) {
                const auto& fields = (*node)["fields"];
                const auto found = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f[0] == name; });
                if (found == fields.end()) return nlohmann::json();
                node = &(*found)[1];
            } else {
                node = &(*node)[name];
            }
        }
        return *node;
    };
    // Each field as the records define it: numbers as 1x1 doubles, codes as
    // their numbers, flags as 0/1, counts in octets or samples, text as text.
    const std::vector<std::pair<std::string, double>> numbers = {
        {"fileParameters.generationMode", 1},     {"fileParameters.dataRate", 5.5},
        {"fileParameters.highRateMod", 1},        {"fileParameters.preambleType", 1},
        {"fileParameters.clkLocked", 1},          {"fileParameters.scramblerActive", 2},
        {"fileParameters.encoderActive", 0},      {"fileParameters.rampType", 2},
        {"fileParameters.rampLength", 55},        {"fileParameters.idleSamples", 2750},
        {"fileParameters.Channel", 11},           {"fileParameters.MirrorSpectrum", 1},
        {"fileParameters.MACheader.Active", 1},   {"fileParameters.MACheader.Length", 28},  // 30 less SeqCntrl
        {"fileParameters.MACfcs.Active", 1},      {"fileParameters.MACfcs.Length", 4},
        {"fileParameters.dataSourceType", 7},     {"fileParameters.dataLength", 2},
        {"fileParameters.totalLength", 34},       {"fileParameters.OverSampling", 2.5},
        {"fileParameters.FilterType", 2},         {"fileParameters.FilterFactor", 0.35},
        {"fileParameters.FilterTaps", 5},         {"fileParameters.MACheader.Contents.FrameCntrl.Contents", 0x0801},
        {"fileParameters.MACheader.Contents.Address1.Contents", 0x0012345678AB},
        {"fileParameters.MACheader.Contents.Address1.Size", 6},
        {"fileParameters.MACheader.Contents.SeqCntrl.Active", 0},
        {"sigGenParameters.Frequency", 2462000000}, {"sigGenParameters.Amplitude", -12},
        {"sigGenParameters.SamplingRate", 27500000}, {"sigGenParameters.ReconFilter", 2},
        {"sigGenParameters.RFblanking", 0},       {"sigGenParameters.ArbRefSource", 1},
        {"sigGenParameters.MarkerPolarity", 1},
    };
    for (const auto& [name, value] : numbers) {
        EXPECT_EQ(at(name), (nlohmann::json{{"class", "float64"}, {"shape", {1, 1}}, {"real", {value}}})) << name;
    }
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"fileParameters.dataSourceName", "payload.bin"},
        {"fileParameters.LastPath", "/home/jos\xc3\xa9/payloads"},
        {"sigGenParameters.Title", "WLAN_11B#2"},
    };
    for (const auto& [name, value] : texts) EXPECT_EQ(at(name)["text"], value) << name;
    EXPECT_EQ(at("fileParameters.dataSourceBitstream")["shape"], nlohmann::json({1, 16}));
    EXPECT_EQ(at("fileParameters.dataSourceBitstream")["real"],
              nlohmann::json({1, 0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 0}));
    // The header's bit stream: 28 octets, FrameCntrl 0801 first, least significant bit first.
    EXPECT_EQ(at("fileParameters.MACheader.Contents.BitStream")["shape"], nlohmann::json({1, 224}));
    const auto stream = at("fileParameters.MACheader.Contents.BitStream")["real"];
    EXPECT_EQ(std::vector<double>(stream.begin(), stream.begin() + 16),
              (std::vector<double>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
    // The fields in the order the records create them.
    const auto& fields = scipy["fileParameters"]["fields"];
    EXPECT_EQ(fields.front()[0], "ParameterFileFormat_ID");
    EXPECT_EQ(fields.front()[1]["text"], "dot11b - Format 1.0");
    EXPECT_EQ(fields[13][0], "MACheader");
    EXPECT_EQ(fields.back()[0], "ProjectedLength");
}

TEST(ParameterFile, LoadsWhatSciPyWrites) {
    TemporaryFolder folder;
    const auto contents_path = folder / "contents.json";
    const auto path = folder / "scipy.mat";
    const FormatParameters parameters = every_field_changed();
    const nlohmann::json contents = {
        {"variables",
         {{"fileParameters", value_json(to_value(parameters))},
          {"sigGenParameters", value_json(to_value(changed_settings()))}}},
        {"logical", {"Active", "MirrorSpectrum", "RFblanking"}},
    };
    std::ofstream(contents_path) << contents.dump();
    run_python("json_to_mat.py", {path.string(), contents_path.string()}, folder.path());
    const ParameterSet loaded = load_parameter_file(path);
    EXPECT_EQ(loaded.parameters, parameters);
    EXPECT_EQ(loaded.settings, changed_settings());
}

TEST(ParameterFile, BadFilesAreRefusedNamingTheFileAndTheFault) {
    TemporaryFolder folder;
    const Value good = to_value(every_field_changed());
    const Value settings = to_value(changed_settings());
    auto changed = [&](const std::function<void(Value&)>& change) {
        Value record = good;
        change(record);
        return record;
    };
    struct Case {
        const char* name;
        std::vector<frame::MatVariable> variables;
        const char* fault;
    };
    const std::vector<Case> cases = {
        {"other.mat", {{"wave", Value::scalar(1)}}, "has an Invalid File Format."},
        {"untagged.mat",
         {{"fileParameters", Value::structure({"dataRate"})}, {"sigGenParameters", settings}},
         "has an Invalid File Structure."},
        {"empty-array.mat",
         {{"fileParameters", Value::structure({"ParameterFileFormat_ID"}, 0, 0)}, {"sigGenParameters", settings}},
         "has an Invalid File Structure."},
        {"case.mat",
         {{"fileParameters",
           changed([](Value& r) { r.set_field("ParameterFileFormat_ID", Value::text("dot11b - format 1.0")); })}},
         "has an Invalid File Parameter ID."},
        {"numeric-tag.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("ParameterFileFormat_ID", Value::scalar(1)); })}},
         "has an Invalid File Parameter ID."},
        {"no-settings.mat", {{"fileParameters", good}}, "has no sigGenParameters."},
        {"rate.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("dataRate", Value::scalar(7)); })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.dataRate is 7; allowed: 1, 2, 5.5, 11, 22, 33"},
        {"framed22.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("dataRate", Value::scalar(22)); })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.dataRate is 22; allowed: 1, 2, 5.5, 11; 22 and 33 only unframed "
         "(generationMode 0) with PBCC"},
        {"text-mode.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("generationMode", Value::text("1")); })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.generationMode must be a real number; it is a 1x1 char array"},
        {"missing.mat",
         {{"fileParameters", changed([](Value& r) {
               r = Value::structure({"ParameterFileFormat_ID"});
               r.set_field("ParameterFileFormat_ID", Value::text("dot11b - Format 1.0"));
           })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.generationMode is missing"},
        {"bits.mat",
         {{"fileParameters", changed([](Value& r) {
               r.set_field("dataSourceBitstream", Value::row({1, 2}));
           })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.dataSourceBitstream must hold only 0 and 1; element 2 is 2"},
        {"length.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("dataLength", Value::scalar(3)); })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.dataLength is 3; allowed: the octets of dataSourceBitstream (16 "
         "bits)"},
        {"stream.mat",
         {{"fileParameters", changed([](Value& r) {
               r.field("MACheader").field("Contents").set_field("BitStream", Value::row(std::vector<double>(240)));
           })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.MACheader.Contents.BitStream does not match its fields; expected the "
         "224 bits of the active fields, each least significant bit first"},
        {"address.mat",
         {{"fileParameters", changed([](Value& r) {
               r.field("MACheader")
                   .field("Contents")
                   .field("Address2")
                   .set_field("Contents", Value::scalar(281474976710656.0));
           })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.MACheader.Contents.Address2.Contents is 281474976710656; allowed: "
         "whole numbers 0 to 281474976710655"},
        {"complex.mat",
         {{"fileParameters", changed([](Value& r) {
               r.set_field("FilterFactor", Value::complex_scalar({0.5, 1}));
           })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.FilterFactor must be a real number; it is a 1x1 complex array"},
        {"factor.mat",
         {{"fileParameters", changed([](Value& r) { r.set_field("FilterFactor", Value::scalar(0.01)); })},
          {"sigGenParameters", settings}},
         "has an invalid setting: fileParameters.FilterFactor is 0.01; allowed: 0.05 to 1 (root-cosine roll-off)"},
        {"title.mat",
         {{"fileParameters", good},
          {"sigGenParameters",
           [&] {
               Value s = settings;
               s.set_field("Title", Value::text(""));
               return s;
           }()}},
         "has an invalid setting: sigGenParameters.Title is \"\"; allowed: 1 to 20 letters, digits and _ $ & # + - [ "
         "]"},
        {"array.mat",
         {{"fileParameters", good}, {"sigGenParameters", Value::structure({"Title"}, 1, 2)}},
         "has an invalid setting: sigGenParameters must be a 1x1 structure; it is a 1x2 struct array"},
    };
    for (const auto& c : cases) {
        const auto path = folder / c.name;
        write_variables(path, c.variables);
        EXPECT_EQ(load_error(path), path.string() + "\n" + c.fault) << c.name;
    }
}

TEST(ParameterFile, FilesThatAreNotMatFilesGiveTheReadersError) {
    TemporaryFolder folder;
    const auto path = folder / "notes.txt";
    std::ofstream(path) << "not a MAT-file";
    EXPECT_EQ(load_error(path),
              "cannot open " + path.string() + ": is not a MAT-file: shorter than the 128-byte MAT-file header");
    // The extension does not matter, only the contents.
    const auto other = folder / "set.parameters";
    save_parameter_file(other, FormatParameters{}, SigGenSettings{});
    EXPECT_EQ(load_parameter_file(other).parameters, FormatParameters{});
}

}  // namespace
}  // namespace dot11b::app
