#include "cli/gen/outputs/output_writer.hpp"

#include <string>
#include <vector>

#include "app/save_wave_file.hpp"
#include "cli/gen/outputs/cf32_writer.hpp"
#include "cli/gen/outputs/sigmf_writer.hpp"
#include "common/errors.hpp"
#include "instrument/atomic_write.hpp"
#include "instrument/waveform_file.hpp"

namespace dot11b::cli {

std::optional<OutputFormat> output_format_of(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    if (extension == ".wfm") return OutputFormat::InstrumentWaveform;
    if (extension == ".cf32") return OutputFormat::Cf32;
    if (extension == ".sigmf-meta" || extension == ".sigmf-data") return OutputFormat::SigMf;
    if (extension == ".mat") return OutputFormat::SaveWave;
    return std::nullopt;
}

const char* output_extensions() { return ".wfm, .cf32, .sigmf-meta, .sigmf-data, .mat"; }

std::vector<std::filesystem::path> write_output(const std::filesystem::path& path, const GeneratedWaveform& waveform) {
    const auto format = output_format_of(path);
    if (!format) {
        throw ConfigError("--output " + path.string() + ": unknown format; allowed extensions: " + output_extensions());
    }
    switch (*format) {
    case OutputFormat::InstrumentWaveform:
        instrument::write_waveform_file(path, waveform.samples());
        break;
    case OutputFormat::Cf32:
        instrument::write_file_atomically(path, cf32_bytes(waveform.samples()));
        break;
    case OutputFormat::SigMf:
        return write_sigmf_recording(path, waveform);
    case OutputFormat::SaveWave:
        app::save_wave_file(path, waveform.samples(), waveform.sample_rate());
        break;
    }
    return {path};
}

void write_markers(const std::filesystem::path& path, const GeneratedWaveform& waveform) {
    const phy::FrameWaveform& frame = waveform.calculation.frame;
    std::vector<std::uint8_t> bytes(frame.frame_marker.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(frame.frame_marker[i] | (frame.burst_marker[i] << 1U));
    }
    instrument::write_file_atomically(path, bytes);
}

}  // namespace dot11b::cli
