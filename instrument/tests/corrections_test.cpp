#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "common/testing/temporary_folder.hpp"
#include "frame/matfile.hpp"
#include "instrument/corrections.hpp"
#include "recording_module.hpp"
#include "simulator_process.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;
using test::TemporaryFolder;

constexpr double kSampleRate = 44e6;
constexpr std::size_t kPoints = 41;

Value frequencies() {
    std::vector<double> f(kPoints);
    for (std::size_t i = 0; i < kPoints; ++i) f[i] = -20e6 + 1e6 * static_cast<double>(i);
    return Value::row(f);
}

Value flat(double level) { return Value::row(std::vector<double>(kPoints, level)); }

const std::vector<std::string> kRevision3Fields = {"rev", "F",  "H",  "ID", "date", "fltr",  "modAttn",  "cf", "bw",
                                                   "pwr", "t1", "t2", "t3", "fbc",  "bc",   "cbc", "image", "rfChannel"};

// A structure array of correction records with every field of revision 3;
// `rev`, `H` and `rfChannel` per record, the rest filled with plain values.
Value records(const std::vector<double>& revs, const std::vector<Value>& h, const std::vector<Value>& rf) {
    Value x = Value::structure(kRevision3Fields, 1, revs.size());
    for (std::size_t k = 0; k < revs.size(); ++k) {
        for (const auto& name : kRevision3Fields) x.set_field(name, Value::scalar(0), k);
        x.set_field("rev", Value::scalar(revs[k]), k);
        x.set_field("F", frequencies(), k);
        x.set_field("H", h[k], k);
        x.set_field("rfChannel", rf[k], k);
        x.set_field("ID", Value::text("ORB"), k);
    }
    return x;
}

// The same records without some fields.
Value without(const Value& x, std::initializer_list<std::string_view> removed) {
    std::vector<std::string> names;
    for (const auto& name : x.field_names()) {
        if (std::find(removed.begin(), removed.end(), name) == removed.end()) names.push_back(name);
    }
    Value y = Value::structure(names, x.rows(), x.cols());
    for (std::size_t k = 0; k < x.numel(); ++k) {
        for (const auto& name : names) y.set_field(name, x.field(name, k), k);
    }
    return y;
}

void write(const std::filesystem::path& path, const std::vector<frame::MatVariable>& variables) {
    frame::write_mat_file(path, variables);
}

Samples test_waveform() {
    Samples s(256);
    for (std::size_t n = 0; n < s.size(); ++n) {
        const double t = static_cast<double>(n);
        s[n] = Complex(std::cos(0.3 * t) + 0.2 * std::sin(1.1 * t), std::sin(0.7 * t) - 0.1 * std::cos(2.3 * t));
    }
    return s;
}

double largest_difference(SampleSpan a, SampleSpan b) {
    double d = 0;
    for (std::size_t i = 0; i < a.size(); ++i) d = std::max(d, std::abs(a[i] - b[i]));
    return d;
}

TEST(Corrections, FileNames) {
    const std::pair<const char*, const char*> serials[] = {
        {"Maker,ORB,US40051234,1.0", "US40051234"},
        {"Maker, ORB, US40051234, 1.0", "US40051234"},
        {"Maker,Model,MY123,1.0", ""},
        {"Maker,Model,US123", ""},
        {"", ""},
    };
    for (const auto& [id, serial] : serials) EXPECT_EQ(GetSerialNumber(id), serial) << id;

    const std::pair<double, const char*> frequencies[] = {
        {2412000000, "2.4 GHz"}, {5805000000, "5.8 GHz"}, {999000000, "0.10 GHz"},
        {2462000000, "2.5 GHz"}, {2960000000, "2.10 GHz"}, {1000000000, "1.0 GHz"},
    };
    for (const auto& [f, text] : frequencies) EXPECT_EQ(FormatFreq(f), text) << f;

    EXPECT_EQ(CreateFileName("/cal", "Maker, ORB, US40051234, 1.0", 2412000000),
              std::filesystem::path("/cal/US40051234 2.4 GHz.mat"));
    EXPECT_EQ(CreateFileName("/cal", "no serial here", 2412000000), std::filesystem::path("/cal/ 2.4 GHz.mat"));
}

TEST(Corrections, DefaultFolderFollowsTheUsersDataFolder) {
    const char* saved_data = std::getenv("XDG_DATA_HOME");
    const std::string restore = saved_data != nullptr ? saved_data : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(default_corrections_folder(), std::filesystem::path("/data/home/dot11b/corrections"));
    ::unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (home != nullptr) {
        EXPECT_EQ(default_corrections_folder(), std::filesystem::path(home) / ".local/share/dot11b/corrections");
    }
    if (saved_data != nullptr) ::setenv("XDG_DATA_HOME", restore.c_str(), 1);

    app::ConnectionConfig configuration;
    EXPECT_EQ(corrections_folder_of(configuration), default_corrections_folder());
    configuration.corrections_folder = "/lab/calibration";
    EXPECT_EQ(corrections_folder_of(configuration), std::filesystem::path("/lab/calibration"));
}

TEST(Corrections, LoadMessages) {
    const TemporaryFolder folder;
    const Value good = records({1, 2, 3}, {flat(1), flat(1), flat(1)}, {flat(1), flat(1), flat(1)});
    struct Case {
        const char* name;
        std::vector<frame::MatVariable> variables;
        const char* status;
    };
    const std::vector<Case> cases = {
        {"valid", {{"OrbIqCorrectionData", good}}, ""},
        {"revision 1 without the later fields",
         {{"OrbIqCorrectionData", without(records({1}, {flat(1)}, {flat(1)}),
                                          {"t1", "t2", "t3", "fbc", "bc", "cbc", "image", "rfChannel"})}},
         ""},
        {"no variables", {}, "File empty or not found."},
        {"another variable", {{"somethingElse", good}}, "Invalid file format."},
        {"revision 4", {{"OrbIqCorrectionData", records({4}, {flat(1)}, {flat(1)})}}, "Invalid data structure."},
        {"revision 2 without rfChannel",
         {{"OrbIqCorrectionData", without(records({2}, {flat(1)}, {flat(1)}), {"rfChannel"})}},
         "Invalid data structure."},
        {"revision 3 without t2", {{"OrbIqCorrectionData", without(good, {"t2"})}}, "Invalid data structure."},
        {"without pwr", {{"OrbIqCorrectionData", without(good, {"pwr"})}}, "Invalid data structure."},
        {"not a structure", {{"OrbIqCorrectionData", Value::row({1, 2, 3})}}, "Invalid data structure."},
        {"revision as text",
         {{"OrbIqCorrectionData", [&] {
               Value x = records({1}, {flat(1)}, {flat(1)});
               x.set_field("rev", Value::text("1"));
               return x;
           }()}},
         "Invalid data structure."},
    };
    for (const Case& c : cases) {
        const auto path = folder.path() / (std::string(c.name) + ".mat");
        write(path, c.variables);
        const LoadedCorrections loaded = LoadOrbIqCorrectionData(path);
        EXPECT_EQ(loaded.status, c.status) << c.name;
        // The records come back even when a check failed.
        if (!c.variables.empty() && c.variables[0].name == "OrbIqCorrectionData") {
            EXPECT_EQ(loaded.x, c.variables[0].value) << c.name;
        }
    }
    const auto missing = folder.path() / "US1 2.4 GHz.mat";
    const LoadedCorrections not_found = LoadOrbIqCorrectionData(missing);
    EXPECT_NE(not_found.status.find(missing.string()), std::string::npos) << not_found.status;
    EXPECT_TRUE(not_found.x.empty());
    std::ofstream(folder.path() / "empty.mat").close();
    EXPECT_FALSE(LoadOrbIqCorrectionData(folder.path() / "empty.mat").status.empty());
}

// The I/Q correction filters Q only and compensates the stored response (a
// gain of 2 is divided out); the RF channel correction filters both, and
// only for revisions above 1.
TEST(Corrections, CorrectionsCompensateTheirResponse) {
    const Samples s = test_waveform();
    const Value x = records({1, 2}, {flat(2), flat(2)}, {flat(4), flat(4)});

    const CorrectedWaveform iq = ApplyIqCorrection(s, x, 0, kSampleRate);
    ASSERT_EQ(iq.status, "");
    for (std::size_t n = 0; n < s.size(); ++n) {
        EXPECT_EQ(iq.x[n].real(), s[n].real());
        EXPECT_NEAR(iq.x[n].imag(), s[n].imag() / 2, 1e-6);
    }

    const CorrectedWaveform revision1 = ApplyRfChannelCorrection(s, x, 0, kSampleRate);
    EXPECT_EQ(revision1.status, "");
    EXPECT_EQ(revision1.x, s);
    const CorrectedWaveform revision2 = ApplyRfChannelCorrection(s, x, 1, kSampleRate);
    EXPECT_EQ(revision2.status, "");
    for (std::size_t n = 0; n < s.size(); ++n) EXPECT_NEAR(std::abs(revision2.x[n] - s[n] / 4.0), 0, 1e-6);
}

TEST(Corrections, FailuresLeaveTheWaveformUnchanged) {
    const Samples s = test_waveform();
    Value x = records({2}, {flat(1)}, {flat(1)});
    x.set_field("F", Value::row({1e6, 2e6}));
    const CorrectedWaveform rf = ApplyRfChannelCorrection(s, x, 0, kSampleRate);
    EXPECT_EQ(rf.x, s);
    EXPECT_EQ(rf.status, "F must be the same size as H");
    const CorrectedWaveform iq = ApplyIqCorrection(s, x, 0, kSampleRate);
    EXPECT_EQ(iq.x, s);
    EXPECT_EQ(iq.status, "F must be the same size as H");
    EXPECT_FALSE(ApplyIqCorrection(s, x, 3, kSampleRate).status.empty());
    EXPECT_FALSE(ApplyIqCorrection(s, Value::row({1}), 0, kSampleRate).status.empty());
}

// As the download applies them: RF channel corrections unless noFlatness,
// then I/Q corrections, skipping responses that are NaN.
TEST(Corrections, DownloadAppliesEveryUsableRecordInOrder) {
    const Samples s = test_waveform();
    CorrectionData data;
    data.x = records({2, 2}, {Value::scalar(std::nan("")), flat(4)}, {flat(2), Value::scalar(std::nan(""))});
    Samples expected(s.size());
    for (std::size_t n = 0; n < s.size(); ++n) expected[n] = Complex(s[n].real() / 2, s[n].imag() / 8);
    EXPECT_LT(largest_difference(apply_corrections(s, data, kSampleRate).x, expected), 1e-6);

    data.noFlatness = true;
    for (std::size_t n = 0; n < s.size(); ++n) expected[n] = Complex(s[n].real(), s[n].imag() / 4);
    EXPECT_LT(largest_difference(apply_corrections(s, data, kSampleRate).x, expected), 1e-6);

    data.status = std::string("Invalid data structure.");
    EXPECT_EQ(apply_corrections(s, data, kSampleRate).x, s);

    // A record that cannot be applied is skipped and reported; the others still apply.
    CorrectionData mismatched;
    mismatched.x = records({2, 2}, {Value::row({1, 2}), flat(4)}, {Value::scalar(std::nan("")), Value::scalar(std::nan(""))});
    const AppliedCorrections applied = apply_corrections(s, mismatched, kSampleRate);
    for (std::size_t n = 0; n < s.size(); ++n) expected[n] = Complex(s[n].real(), s[n].imag() / 4);
    EXPECT_LT(largest_difference(applied.x, expected), 1e-6);
    EXPECT_EQ(applied.failures, std::vector<std::string>{"record 1: F must be the same size as H"});
}

// A correction file from another MAT-file writer (SciPy's savemat) loads and applies.
TEST(Corrections, FileFromAnotherWriterLoads) {
    if (std::system("/usr/bin/python3 -c 'import scipy.io' 2>/dev/null") != 0) GTEST_SKIP() << "no SciPy";
    const TemporaryFolder folder;
    const auto script = folder.path() / "write.py";
    const auto path = folder.path() / "US40051234 2.4 GHz.mat";
    std::ofstream(script) << R"(import sys
import numpy as np
import scipy.io as sio
fields = ['rev', 'F', 'H', 'ID', 'date', 'fltr', 'modAttn', 'cf', 'bw', 'pwr', 'rfChannel']
records = np.zeros((1, 2), dtype=[(name, 'O') for name in fields])
for k in range(2):
    r = records[0, k]
    r['rev'] = 2.0
    r['F'] = np.linspace(-20e6, 20e6, 41)
    r['H'] = np.full(41, 2.0 + 0j) if k == 1 else np.nan
    r['rfChannel'] = np.full(41, 2.0) if k == 0 else np.nan
    r['ID'] = 'ORB'
    r['date'] = '2004-06-01'
    for name in ['fltr', 'modAttn', 'cf', 'bw', 'pwr']:
        r[name] = 0.0
sio.savemat(sys.argv[1], {'OrbIqCorrectionData': records})
)";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + path.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const LoadedCorrections loaded = LoadOrbIqCorrectionData(path);
    ASSERT_EQ(loaded.status, "");
    ASSERT_EQ(loaded.x.numel(), 2U);
    EXPECT_FALSE(has_response(loaded.x, 0, "H"));
    EXPECT_TRUE(has_response(loaded.x, 0, "rfChannel"));
    EXPECT_TRUE(has_response(loaded.x, 1, "H"));
    CorrectionData data;
    data.x = loaded.x;
    const Samples s = test_waveform();
    Samples expected(s.size());
    for (std::size_t n = 0; n < s.size(); ++n) expected[n] = Complex(s[n].real() / 2, s[n].imag() / 4);
    EXPECT_LT(largest_difference(apply_corrections(s, data, kSampleRate).x, expected), 1e-6);
}

// The lookup asks the instrument for its identity, then reads the file of its
// serial number and the carrier from the folder.
TEST(Corrections, LookupByInstrumentIdentity) {
    SimulatorProcess sim({"--idn", "Maker, ORB, US40051234, 1.0"});
    HwIoModule module;
    const HwIO io = bridge_to(module);
    const TemporaryFolder folder;
    const Value x = records({2}, {flat(2)}, {flat(1)});
    write(folder.path() / "US40051234 2.4 GHz.mat", {{"OrbIqCorrectionData", x}});

    const CorrectionData found = GetCorrectionData(io, sim.lan(), 2412000000, folder.path());
    EXPECT_TRUE(found.found());
    EXPECT_EQ(found.x, x);
    EXPECT_FALSE(found.noFlatness);

    const CorrectionData other_carrier = GetCorrectionData(io, sim.lan(), 5805000000, folder.path());
    ASSERT_TRUE(std::holds_alternative<std::string>(other_carrier.status));
    EXPECT_NE(std::get<std::string>(other_carrier.status).find("US40051234 5.8 GHz.mat"), std::string::npos);
    sim.stop();

    const CorrectionData no_answer = GetCorrectionData(io, sim.lan(), 2412000000, folder.path());
    EXPECT_EQ(std::get<int>(no_answer.status), static_cast<int>(Fault::Connect));
    EXPECT_TRUE(no_answer.x.empty());
}

TEST(Corrections, SerialNumbersThatLeaveTheFolderAreRefused) {
    RecordingModule module;
    module.answer = [](const RecordedCall&) { return StatusPair{0, "Maker,Model,US/../../etc/x,1.0"}; };
    const CorrectionData data = GetCorrectionData(module.io(), app::ConnectionConfig{}, 2412000000, "/cal");
    ASSERT_TRUE(std::holds_alternative<std::string>(data.status));
    EXPECT_EQ(std::get<std::string>(data.status), "The serial number \"US/../../etc/x\" cannot be part of a file name.");
}

}  // namespace
}  // namespace dot11b::instrument
