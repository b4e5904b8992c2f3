// Any bytes as a waveform recording: the first input byte chooses the format
// (.wfm, .cf32, SigMF, .mat); for SigMF the next two bytes (little-endian)
// give the length of the metadata, which the data file follows. Every input
// must end in a recording of finite samples at a positive rate, or in an
// IoError or ConfigError, without a crash, a sanitizer report or a leak.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "app/waveform_files/recording_reader.hpp"
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
    try {
        const auto recording = dot11b::waveform_files::read_recording(path, {.sample_rate_hz = 11e6});
        if (!(recording.sample_rate_hz > 0) || recording.samples.empty()) std::abort();
        for (const auto& z : recording.samples) {
            if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) std::abort();
        }
    } catch (const dot11b::IoError&) {
    } catch (const dot11b::ConfigError&) {
    }
    return 0;
}
