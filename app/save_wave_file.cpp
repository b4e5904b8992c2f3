#include "app/save_wave_file.hpp"

#include <array>
#include <vector>

#include "frame/matfile.hpp"

namespace dot11b::app {

void save_wave_file(const std::filesystem::path& path, SampleSpan waveform, double sample_rate) {
    const std::size_t n = waveform.size();
    // Column-major N x 2: all real parts, then all imaginary parts.
    std::vector<double> wave(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        wave[i] = waveform[i].real();
        wave[n + i] = waveform[i].imag();
    }
    const std::array<frame::MatVariable, 3> variables = {{
        {"samplePoints", frame::Value::scalar(static_cast<double>(n))},
        {"sampleRate", frame::Value::scalar(sample_rate)},
        {"wave", frame::Value::matrix(n, 2, std::move(wave))},
    }};
    frame::write_mat_file(path, variables);
}

}  // namespace dot11b::app
