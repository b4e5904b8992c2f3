#include "cli/analyze/sdr_capture_options.hpp"

#include <ctime>
#include <ostream>

#include "app/waveform_files/file_format.hpp"
#include "app/waveform_files/waveform_writer.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/durable_file.hpp"
#include "common/number_text.hpp"

namespace dot11b::cli {
namespace {

// ISO 8601 in UTC with milliseconds, as SigMF's core:datetime has it.
std::string utc_text(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() % 1000;
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(millis));
    return text;
}

}  // namespace

void SdrCaptureOptions::add_to(CLI::App& app, CLI::Option* file) {
    auto* sdr = app.add_option("--sdr", args_,
                               "capture from the SoapySDR device ARGS (e.g. driver=hackrf) instead of reading FILE")
                    ->type_name("ARGS")
                    ->excludes(file);
    app.add_option("--frequency", frequency_, "SDR centre frequency in Hz (default 2412000000, channel 1)")
        ->check(CLI::PositiveNumber)
        ->needs(sdr);
    app.add_option("--sdr-rate", rate_,
                   "SDR sample rate in Hz (default: the lowest offered of at least 22 MHz, else the highest)")
        ->needs(sdr);
    app.add_option("--sdr-gain", gain_, "SDR receive gain in dB, clamped to the device's range")->needs(sdr);
    app.add_option("--save", save_, "keep the capture: .sigmf-meta/.sigmf-data (SigMF) or .cf32")->needs(sdr);
}

sdr::Capture SdrCaptureOptions::capture(double duration_s, std::ostream& err) const {
    if (save_) {
        const waveform_files::Format format = [&] {
            try {
                return waveform_files::format_of(*save_);
            } catch (const ConfigError& e) {
                throw UsageError(std::string("--save: ") + e.what());
            }
        }();
        if (format != waveform_files::Format::sigmf && format != waveform_files::Format::cf32) {
            throw UsageError("--save " + *save_ + ": a capture is kept as SigMF (.sigmf-meta, .sigmf-data) or .cf32");
        }
    }
    sdr::Capture capture = sdr::capture_waveform({*args_, frequency_, gain_, rate_, duration_s});
    for (const std::string& note : capture.notes) err << "note: " << note << '\n';
    err << "captured: " << capture.samples.size() << " samples at " << number_text(capture.rate) << " Hz, "
        << number_text(capture.frequency) << " Hz from " << capture.driver << " (" << capture.hardware << ")\n";
    if (save_) {
        waveform_files::WaveformOutput output;
        output.samples = capture.samples;
        output.sample_rate_hz = capture.rate;
        output.center_frequency_hz = capture.frequency;
        output.recorder = "dot11b-analyze";
        output.hardware = capture.driver + " " + capture.hardware;
        output.capture_time = utc_text(capture.start);
        output.description = "captured from the SoapySDR device " + *args_;
        DurableFileSet files;
        const auto written = waveform_files::stage_waveform(files, *save_, output);
        files.commit();
        for (const auto& path : written) err << "wrote: " << path.string() << '\n';
    }
    return capture;
}

}  // namespace dot11b::cli
