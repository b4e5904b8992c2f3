#include "app/waveform_files/save_wave_file.hpp"

#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "app/waveform_files/input_file.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"
#include "frame/matfile.hpp"

namespace dot11b::waveform_files {
namespace {

std::array<frame::MatVariable, 3> save_wave_variables(SampleSpan waveform, double sample_rate) {
    const std::size_t n = waveform.size();
    // Column-major N x 2: all real parts, then all imaginary parts.
    std::vector<double> wave(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        wave[i] = waveform[i].real();
        wave[n + i] = waveform[i].imag();
    }
    return {{
        {"samplePoints", frame::Value::scalar(static_cast<double>(n))},
        {"sampleRate", frame::Value::scalar(sample_rate)},
        {"wave", frame::Value::matrix(n, 2, std::move(wave))},
    }};
}

const frame::Value* find(const std::vector<frame::MatVariable>& variables, std::string_view name) {
    for (const auto& variable : variables) {
        if (variable.name == name) return &variable.value;
    }
    return nullptr;
}

bool is_real_scalar(const frame::Value* value) {
    return value && value->kind() == frame::Value::Kind::Double && value->numel() == 1 &&
           std::isfinite(value->reals()[0]);
}

}  // namespace

void write_save_wave(DurableFile& file, SampleSpan waveform, double sample_rate) {
    frame::write_mat_file(file, save_wave_variables(waveform, sample_rate));
}

void write_save_wave(const std::filesystem::path& path, SampleSpan waveform, double sample_rate) {
    DurableFile file(path);
    write_save_wave(file, waveform, sample_rate);
    file.commit();
}

Recording read_save_wave(const std::filesystem::path& path) {
    static constexpr std::array<std::string_view, 3> kNames = {"samplePoints", "sampleRate", "wave"};
    const std::vector<frame::MatVariable> variables = frame::read_mat_file(path, kNames);
    const frame::Value* wave = find(variables, "wave");
    const frame::Value* rate = find(variables, "sampleRate");
    const frame::Value* points = find(variables, "samplePoints");
    if (!wave || wave->kind() != frame::Value::Kind::Double || wave->cols() != 2 || wave->rows() == 0) {
        fail_to_open(path, "the Save Wave file has no real N x 2 matrix wave");
    }
    if (!is_real_scalar(rate)) fail_to_open(path, "the Save Wave file has no real scalar sampleRate");
    if (!sample_rate_allowed(rate->reals()[0])) {
        fail_to_open(path, "sampleRate " + number_text(rate->reals()[0]) + " Hz is not allowed; allowed: " +
                               allowed_sample_rates());
    }
    const std::size_t n = wave->rows();
    if (points && (!is_real_scalar(points) || points->reals()[0] != static_cast<double>(n))) {
        fail_to_open(path, "samplePoints does not match the " + std::to_string(n) + " rows of wave");
    }
    Recording recording;
    recording.sample_rate_hz = rate->reals()[0];
    const auto values = wave->reals();
    recording.samples.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(values[i]) || !std::isfinite(values[n + i])) {
            fail_to_open(path, "sample " + std::to_string(i) + " is not a finite number");
        }
        recording.samples.emplace_back(values[i], values[n + i]);
    }
    return recording;
}

}  // namespace dot11b::waveform_files
