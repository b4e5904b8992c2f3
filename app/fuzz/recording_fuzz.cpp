// Any bytes as a waveform recording: the first input byte chooses the format
// (.wfm, .cf32, SigMF, .mat); for SigMF the next two bytes (little-endian)
// give the length of the metadata, which the data file follows. Every input
// must end in a recording of finite samples at a positive rate, or in an
// IoError or ConfigError, without a crash, a sanitizer report or a leak; the
// recording read a block at a time must give the same samples or the same refusal.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "app/waveform_files/recording_reader.hpp"
#include "app/waveform_files/recording_stream.hpp"
#include "common/errors.hpp"
#include "fuzz_input_folder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using dot11b::app::fuzz::write_named_input;
    if (size < 1) return 0;
    std::filesystem::path path;
    switch (data[0] % 4) {
    case 0:
        path = write_named_input("input.wfm", data + 1, size - 1);
        break;
    case 1:
        path = write_named_input("input.cf32", data + 1, size - 1);
        break;
    case 2: {
        if (size < 3) return 0;
        const std::size_t meta = std::min<std::size_t>(data[1] | (std::size_t{data[2]} << 8), size - 3);
        write_named_input("input.sigmf-data", data + 3 + meta, size - 3 - meta);
        path = write_named_input("input.sigmf-meta", data + 3, meta);
        break;
    }
    default:
        path = write_named_input("input.mat", data + 1, size - 1);
        break;
    }
    std::optional<std::vector<std::complex<double>>> whole;
    try {
        const auto recording = dot11b::waveform_files::read_recording(path, {.sample_rate_hz = 11e6});
        if (!(recording.sample_rate_hz > 0) || recording.samples.empty()) std::abort();
        for (const auto& z : recording.samples) {
            if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) std::abort();
        }
        whole = recording.samples;
    } catch (const dot11b::IoError&) {
    } catch (const dot11b::ConfigError&) {
    }
    // The same file read a block at a time: the same samples, or a refusal.
    std::optional<std::vector<std::complex<double>>> streamed;
    try {
        const dot11b::waveform_files::RecordingStream stream(path, {.sample_rate_hz = 11e6});
        if (!(stream.description().sample_rate_hz > 0)) std::abort();
        std::vector<std::complex<double>> samples(stream.size());
        constexpr std::size_t kBlock = 1000;
        for (std::size_t first = 0; first < samples.size(); first += kBlock) {
            stream.read(first, std::span(samples).subspan(first, std::min(kBlock, samples.size() - first)));
        }
        streamed = std::move(samples);
    } catch (const dot11b::IoError&) {
    } catch (const dot11b::ConfigError&) {
    }
    if (whole != streamed) std::abort();
    return 0;
}
