#include "app/waveform_files/recording_reader.hpp"

#include <utility>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/save_wave_file.hpp"
#include "app/waveform_files/sigmf_recording.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"

namespace dot11b::waveform_files {
namespace {

// .wfm and .cf32 files hold samples only; their rate comes from the caller.
double given_sample_rate(const std::filesystem::path& path, const ReadOptions& options) {
    if (!options.sample_rate_hz) {
        throw ConfigError(path.string() + " holds no sample rate: it needs --sample-rate HZ");
    }
    const double rate = *options.sample_rate_hz;
    if (!sample_rate_allowed(rate)) {
        throw ConfigError(path.string() + ": sample rate " + number_text(rate) + " Hz is not allowed; allowed: " +
                          allowed_sample_rates());
    }
    return rate;
}

// A file of samples alone: no centre frequency, description or markers.
Recording samples_only(Samples samples, double sample_rate_hz) {
    Recording recording;
    recording.samples = std::move(samples);
    recording.sample_rate_hz = sample_rate_hz;
    return recording;
}

}  // namespace

Recording read_recording(const std::filesystem::path& path, const ReadOptions& options) {
    switch (format_of(path)) {
    case Format::wfm: {
        const double rate = given_sample_rate(path, options);
        return samples_only(read_wfm(path), rate);
    }
    case Format::cf32: {
        const double rate = given_sample_rate(path, options);
        return samples_only(read_cf32(path), rate);
    }
    case Format::sigmf:
        return read_sigmf(path);
    case Format::mat:
        return read_save_wave(path);
    }
    throw ConfigError(path.string() + ": unknown waveform file format");
}

std::vector<std::filesystem::path> recording_files(const std::filesystem::path& path) {
    if (format_of(path) != Format::sigmf) return {path};
    const SigmfPaths paths = sigmf_paths(path);
    return {paths.meta, paths.data};
}

}  // namespace dot11b::waveform_files
