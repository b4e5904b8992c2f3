#include "app/waveform_files/waveform_writer.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/marker_file.hpp"
#include "app/waveform_files/save_wave_file.hpp"
#include "app/waveform_files/sigmf_recording.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"

namespace dot11b::waveform_files {
namespace {

SigmfDescription sigmf_description(const WaveformOutput& waveform) {
    SigmfDescription d;
    d.sample_rate_hz = waveform.sample_rate_hz;
    d.center_frequency_hz = waveform.center_frequency_hz;
    d.recorder = waveform.recorder;
    d.hardware = waveform.hardware;
    d.capture_time = waveform.capture_time;
    d.description = waveform.description;
    d.pulse_filter = waveform.pulse_filter;
    if (const auto burst = marked_span(waveform.burst_marker)) {
        d.annotations.push_back(
            {burst->start, burst->count, "burst", "the burst with its power ramps (marker row 2)"});
    }
    if (const auto frame = marked_span(waveform.frame_marker)) {
        d.annotations.push_back(
            {frame->start, frame->count, "frame", "the frame without its power ramps (marker row 1)"});
    }
    return d;
}

// SigMF recordings and Save Wave files hold the sample rate.
void check_sample_rate(const std::filesystem::path& path, double rate) {
    if (!sample_rate_allowed(rate)) {
        throw ConfigError(path.string() + ": the file records the sample rate " + number_text(rate) +
                          " Hz, which is not allowed; allowed: " + allowed_sample_rates());
    }
}

// The readers refuse a file with a sample that is not a number, so none is written.
void check_finite(const std::filesystem::path& path, SampleSpan samples) {
    const auto bad = std::find_if(samples.begin(), samples.end(), [](const Complex& s) {
        return !std::isfinite(s.real()) || !std::isfinite(s.imag());
    });
    if (bad != samples.end()) {
        throw ConfigError(path.string() + ": sample " + std::to_string(bad - samples.begin()) +
                          " is not a finite number");
    }
}

}  // namespace

std::vector<std::filesystem::path> stage_waveform(DurableFileSet& files, const std::filesystem::path& path,
                                                  const WaveformOutput& waveform) {
    check_finite(path, waveform.samples);
    switch (format_of(path)) {
    case Format::wfm:
        write_wfm(files.add(path), waveform.samples);
        break;
    case Format::cf32:
        write_cf32(files.add(path), waveform.samples);
        break;
    case Format::sigmf: {
        check_sample_rate(path, waveform.sample_rate_hz);
        const SigmfPaths paths = sigmf_paths(path);
        DurableFile& data = files.add(paths.data);
        DurableFile& meta = files.add(paths.meta);
        write_sigmf(data, meta, waveform.samples, sigmf_description(waveform));
        return {paths.data, paths.meta};
    }
    case Format::mat:
        check_sample_rate(path, waveform.sample_rate_hz);
        write_save_wave(files.add(path), waveform.samples, waveform.sample_rate_hz);
        break;
    }
    return {path};
}

}  // namespace dot11b::waveform_files
