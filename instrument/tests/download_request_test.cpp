#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "frame/matfile.hpp"
#include "instrument/download_request.hpp"
#include "recording_module.hpp"
#include "simulator_process.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;
using test::read_bytes;
using test::TemporaryFolder;
using test::write_text;

constexpr char kIdentity[] = "Maker,ORB,US40051234,1.0";

Samples test_waveform() {
    Samples s(200);
    for (std::size_t n = 0; n < s.size(); ++n) s[n] = std::polar(1.0, 0.37 * static_cast<double>(n));
    return s;
}

// The 16-bit words the instrument stored, I0, Q0, I1, Q1, ... (high byte first).
std::vector<double> stored_words(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = read_bytes(path);
    std::vector<double> words;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        words.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[at] << 8U) | bytes[at + 1]));
    }
    return words;
}

// One revision-2 record whose I/Q response is a gain of 2 over +-20 MHz.
Value iq_gain_record() {
    Value x = Value::structure({"rev", "F", "H", "ID", "date", "fltr", "modAttn", "cf", "bw", "pwr", "rfChannel"});
    std::vector<double> f;
    for (int i = -20; i <= 20; ++i) f.push_back(1e6 * i);
    x.set_field("rev", Value::scalar(2));
    x.set_field("F", Value::row(f));
    x.set_field("H", Value::row(std::vector<double>(f.size(), 2)));
    x.set_field("rfChannel", Value::scalar(std::nan("")));
    return x;
}

DownloadRequest request_for(const app::ConnectionConfig& config, SampleSpan waveform,
                            std::span<const std::uint8_t> markers, const std::filesystem::path& folder) {
    DownloadRequest request;
    request.waveform = waveform;
    request.markers = markers;
    request.title = "DOT11B";
    request.settings = playback_settings(app::SigGenSettings{});
    request.configuration = config;
    request.corrections_folder = folder;
    return request;
}

// With a correction file for the instrument and carrier, the corrected
// waveform is what the instrument stores; then it plays. The record halves
// the response it compensates (a gain of 2) in Q only: I stays cos(0.37 n) at
// full scale (its largest value, cos 0, is 1), Q becomes sin(0.37 n) / 2.
TEST(DownloadRequest, CorrectedWaveformIsStoredAndPlayed) {
    SimulatorProcess sim({"--idn", kIdentity});
    HwIoModule module;
    const TemporaryFolder folder;
    frame::write_mat_file(folder / "US40051234 2.4 GHz.mat",
                          std::vector<frame::MatVariable>{{"OrbIqCorrectionData", iq_gain_record()}});
    const Samples waveform = test_waveform();
    const std::vector<std::uint8_t> markers(waveform.size(), 3);

    const DownloadOutcome outcome = download_waveform(bridge_to(module), request_for(sim.lan(), waveform, markers, folder.path()));
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.corrected);
    EXPECT_TRUE(outcome.warnings.empty());
    EXPECT_EQ(outcome.title, "Download Completed");
    EXPECT_EQ(outcome.message, "Waveform has been successfully transferred to the instrument");
    sim.stop();
    EXPECT_EQ(sim.log().front(), "*IDN?");
    EXPECT_EQ(sim.log().back(), ":SYST:COMM:GTL");
    const std::vector<double> words = stored_words(sim.store() / "WFM1" / "DOT11B");
    ASSERT_EQ(words.size(), 2 * waveform.size());
    for (std::size_t n = 0; n < waveform.size(); ++n) {
        const double t = 0.37 * static_cast<double>(n);
        EXPECT_EQ(words[2 * n], std::round(std::cos(t) * 32766)) << n;
        EXPECT_NEAR(words[2 * n + 1], std::sin(t) / 2 * 32766, 33) << n;  // within 0.1 % of full scale
    }
}

TEST(DownloadRequest, WithoutCorrectionsTheWaveformGoesUnchanged) {
    SimulatorProcess sim;
    HwIoModule module;
    const TemporaryFolder folder;
    const Samples waveform = test_waveform();
    const DownloadOutcome outcome = download_waveform(bridge_to(module), request_for(sim.lan(), waveform, {}, folder.path()));
    EXPECT_TRUE(outcome.ok);
    EXPECT_FALSE(outcome.corrected);
    EXPECT_TRUE(outcome.warnings.empty()) << "no file is the quiet, normal case";
    sim.stop();
    const std::vector<double> words = stored_words(sim.store() / "WFM1" / "DOT11B");
    ASSERT_EQ(words.size(), 2 * waveform.size());
    for (std::size_t n = 0; n < waveform.size(); ++n) {
        const double t = 0.37 * static_cast<double>(n);
        EXPECT_EQ(words[2 * n], std::round(std::cos(t) * 32766)) << n;
        EXPECT_EQ(words[2 * n + 1], std::round(std::sin(t) * 32766)) << n;
    }
}

// A correction file that exists but cannot be read or applied does not stop
// the download, but the outcome says so, naming the file and the reason.
TEST(DownloadRequest, UnusableCorrectionFilesAreReported) {
    const TemporaryFolder folder;
    const auto file = folder / "US40051234 2.4 GHz.mat";
    Value wrong_size = iq_gain_record();
    wrong_size.set_field("H", Value::row({2, 2}));
    struct Case {
        const char* what;
        std::function<void()> make_file;
        std::string warning;  // empty: none
    };
    const std::vector<Case> cases = {
        {"no file", [] {}, ""},
        {"not a MAT-file", [&] { write_text(file, "calibration notes"); },
         "corrections not applied: " + file.string() + ": cannot open " + file.string() + ": is not a MAT-file"},
        {"records lacking fields",
         [&] {
             frame::write_mat_file(file, std::vector<frame::MatVariable>{
                                             {"OrbIqCorrectionData", Value::structure({"rev", "F", "H"})}});
         },
         "corrections not applied: " + file.string() + ": Invalid data structure."},
        {"a response that does not fit its frequencies",
         [&] {
             frame::write_mat_file(file, std::vector<frame::MatVariable>{{"OrbIqCorrectionData", wrong_size}});
         },
         "corrections not applied: " + file.string() + ": record 1: F must be the same size as H"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        c.make_file();
        RecordingModule module;
        module.answer = [](const RecordedCall& call) {
            return call.code == 3 ? StatusPair{0, kIdentity} : StatusPair{};
        };
        const DownloadOutcome outcome =
            download_waveform(module.io(), request_for({}, test_waveform(), {}, folder.path()));
        EXPECT_TRUE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.message, "Waveform has been successfully transferred to the instrument") << c.what;
        EXPECT_FALSE(outcome.corrected) << c.what;
        if (c.warning.empty()) {
            EXPECT_TRUE(outcome.warnings.empty()) << c.what;
        } else {
            ASSERT_EQ(outcome.warnings.size(), 1U) << c.what;
            EXPECT_EQ(outcome.warnings[0].substr(0, c.warning.size()), c.warning) << outcome.warnings[0];
        }
    }
}

TEST(DownloadRequest, FailuresAreReportedUnderTheirStepsTitle) {
    RecordingModule download_fails;
    download_fails.answer = [](const RecordedCall& call) {
        return call.code == 4 ? StatusPair{5, "instrument refused"} : StatusPair{};
    };
    const Samples waveform = test_waveform();
    const DownloadOutcome download = download_waveform(download_fails.io(), request_for({}, waveform, {}, "/none"));
    EXPECT_FALSE(download.ok);
    EXPECT_EQ(download.title, "Error Occured During Waveform Download");
    EXPECT_EQ(download.message, "instrument refused");
    for (const auto& call : download_fails.calls) EXPECT_NE(call.code, 5) << "no playback after a failed download";

    RecordingModule playback_fails;
    playback_fails.answer = [](const RecordedCall& call) {
        const auto* text = std::get_if<std::string>(&call.args);
        return text != nullptr && text->find(":source:freq:fix") != std::string::npos ? StatusPair{2, "no reply"}
                                                                                      : StatusPair{};
    };
    const DownloadOutcome playback = download_waveform(playback_fails.io(), request_for({}, waveform, {}, "/none"));
    EXPECT_FALSE(playback.ok);
    EXPECT_EQ(playback.title, "Error Occured During Instrument Setup");
    EXPECT_EQ(playback.message, "no reply");

    RecordingModule c_platform;
    DownloadRequest request = request_for({}, waveform, {}, "/none");
    request.platform = "c";
    EXPECT_TRUE(download_waveform(c_platform.io(), request).ok);
    EXPECT_EQ(c_platform.texts()[c_platform.texts().size() - 1], " :OUTPUT:MOD ON");
}

}  // namespace
}  // namespace dot11b::instrument
