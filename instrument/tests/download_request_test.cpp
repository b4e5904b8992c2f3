#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/waveform_files/wfm_file.hpp"
#include "frame/matfile.hpp"
#include "instrument/corrections.hpp"
#include "instrument/download_request.hpp"
#include "recording_module.hpp"
#include "simulator_process.hpp"
#include "temporary_folder.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;

std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Samples test_waveform() {
    Samples s(200);
    for (std::size_t n = 0; n < s.size(); ++n) s[n] = std::polar(1.0, 0.37 * static_cast<double>(n));
    return s;
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
// waveform is what the instrument stores; then it plays.
TEST(DownloadRequest, CorrectedWaveformIsStoredAndPlayed) {
    SimulatorProcess sim({"--idn", "Agilent Technologies, E4438C, US40051234, C.04.10"});
    HwIoModule module;
    const TemporaryFolder folder;
    const Value x = iq_gain_record();
    frame::write_mat_file(folder.path() / "US40051234 2.4 GHz.mat", std::vector<frame::MatVariable>{{"OrbIqCorrectionData", x}});
    const Samples waveform = test_waveform();
    const std::vector<std::uint8_t> markers(waveform.size(), 3);

    DownloadRequest request = request_for(sim.lan(), waveform, markers, folder.path());
    const DownloadOutcome outcome = download_waveform(bridge_to(module), request);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.corrected);
    EXPECT_EQ(outcome.title, "Download Completed");
    EXPECT_EQ(outcome.message, "Waveform has been successfully transferred to the instrument");
    sim.stop();
    EXPECT_EQ(sim.log().front(), "*IDN?");
    EXPECT_EQ(sim.log().back(), ":SYST:COMM:GTL");
    CorrectionData corrections;
    corrections.x = x;
    const auto expected = waveform_files::wfm_bytes(apply_corrections(waveform, corrections, request.settings.SamplingRate));
    EXPECT_NE(expected, waveform_files::wfm_bytes(waveform));
    EXPECT_EQ(file_text(sim.store() / "WFM1" / "DOT11B"), std::string(expected.begin(), expected.end()));
}

TEST(DownloadRequest, WithoutCorrectionsTheWaveformGoesUnchanged) {
    SimulatorProcess sim;
    HwIoModule module;
    const TemporaryFolder folder;
    const Samples waveform = test_waveform();
    const DownloadOutcome outcome = download_waveform(bridge_to(module), request_for(sim.lan(), waveform, {}, folder.path()));
    EXPECT_TRUE(outcome.ok);
    EXPECT_FALSE(outcome.corrected);
    sim.stop();
    const auto expected = waveform_files::wfm_bytes(waveform);
    EXPECT_EQ(file_text(sim.store() / "WFM1" / "DOT11B"), std::string(expected.begin(), expected.end()));
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
