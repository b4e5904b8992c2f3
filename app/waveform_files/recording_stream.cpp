#include "app/waveform_files/recording_stream.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/input_file.hpp"
#include "app/waveform_files/save_wave_file.hpp"
#include "app/waveform_files/sigmf_recording.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/errors.hpp"

namespace dot11b::waveform_files {
namespace {

constexpr std::size_t kChunkSamples = 4096;

double given_sample_rate(const std::filesystem::path& path, const ReadOptions& options) {
    // The same checks, and so the same messages, as reading the whole file.
    if (!options.sample_rate_hz) {
        throw ConfigError(path.string() + " holds no sample rate: it needs --sample-rate HZ");
    }
    if (!std::isfinite(*options.sample_rate_hz) || *options.sample_rate_hz <= 0) {
        throw ConfigError(path.string() + ": the sample rate must be a positive number of Hz");
    }
    return *options.sample_rate_hz;
}

}  // namespace

// Raw sample files are decoded from the file; the .mat recording is held.
struct RecordingStream::Source {
    std::optional<InputFile> file;
    std::size_t sample_bytes = 0;
    SampleDecoder decode;
    Samples held;
};

RecordingStream::RecordingStream(const std::filesystem::path& path, const ReadOptions& options)
    : source_(std::make_unique<Source>()) {
    Source& s = *source_;
    std::string type;
    switch (format_of(path)) {
    case Format::wfm:
        description_.sample_rate_hz = given_sample_rate(path, options);
        s.file.emplace(path);
        s.sample_bytes = kWfmSampleBytes;
        s.decode = decode_wfm;
        type = kWfmSampleType;
        break;
    case Format::cf32:
        description_.sample_rate_hz = given_sample_rate(path, options);
        s.file.emplace(path);
        s.sample_bytes = kCf32SampleBytes;
        s.decode = decode_cf32;
        type = "cf32";
        break;
    case Format::sigmf: {
        SigmfData sigmf = read_sigmf_metadata(path);
        description_ = std::move(sigmf.recording);
        s.file.emplace(sigmf.data);
        s.sample_bytes = sigmf.sample_bytes;
        s.decode = sigmf.decode;
        type = sigmf.type;
        break;
    }
    case Format::mat: {
        Recording whole = read_save_wave(path);
        s.held = std::move(whole.samples);
        whole.frame_marker.clear();
        whole.burst_marker.clear();
        description_ = std::move(whole);
        size_ = s.held.size();
        return;
    }
    }
    size_ = static_cast<std::size_t>(sample_count(*s.file, s.sample_bytes, type));
}

RecordingStream::~RecordingStream() = default;

void RecordingStream::read(std::size_t first, std::span<Complex> out) const {
    assert(first <= size_ && out.size() <= size_ - first);
    const Source& s = *source_;
    if (!s.file) {
        std::copy_n(s.held.begin() + static_cast<std::ptrdiff_t>(first), out.size(), out.begin());
        return;
    }
    // Kept by each reading thread: a fresh chunk per call costs its pages every time.
    thread_local std::vector<std::uint8_t> bytes;
    bytes.resize(kChunkSamples * s.sample_bytes);
    for (std::size_t done = 0; done < out.size();) {
        const std::size_t n = std::min(kChunkSamples, out.size() - done);
        const std::span<std::uint8_t> chunk(bytes.data(), n * s.sample_bytes);
        s.file->read_at(static_cast<std::uintmax_t>(first + done) * s.sample_bytes, chunk);
        const std::span<Complex> decoded = out.subspan(done, n);
        s.decode(chunk, decoded);
        for (std::size_t k = 0; k < n; ++k) {
            if (!std::isfinite(decoded[k].real()) || !std::isfinite(decoded[k].imag())) {
                s.file->fail("sample " + std::to_string(first + done + k) + " is not a finite number");
            }
        }
        done += n;
    }
}

}  // namespace dot11b::waveform_files
