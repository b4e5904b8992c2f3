#include "instrument/waveform_file.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "instrument/atomic_write.hpp"

namespace dot11b::instrument {
namespace {

double limited_scale(double scale) {
    if (std::isnan(scale)) return kMaxWaveformScale;
    return std::clamp(scale, kMinWaveformScale, kMaxWaveformScale);
}

}  // namespace

std::vector<std::int16_t> waveform_words(SampleSpan samples, double scale) {
    double largest = 0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        const Complex z = samples[k];
        if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
            throw ConfigError("waveform file: sample " + std::to_string(k) + " is not a finite number");
        }
        largest = std::max({largest, std::abs(z.real()), std::abs(z.imag())});
    }
    // The largest magnitude goes to full scale whatever the others are; only
    // an all-zero waveform is left as it is. The operations keep the order
    // x / largest * full scale * scale, so halves round as in files written before.
    const double factor = limited_scale(scale);
    const auto word = [&](double x) {
        const double scaled = largest > 0 ? x / largest * kWaveformFullScale * factor : x;
        return static_cast<std::int16_t>(std::round(scaled));
    };
    std::vector<std::int16_t> words;
    words.reserve(2 * samples.size());
    for (const Complex z : samples) {
        words.push_back(word(z.real()));
        words.push_back(word(z.imag()));
    }
    return words;
}

std::vector<std::uint8_t> waveform_file_bytes(SampleSpan samples, double scale) {
    const std::vector<std::int16_t> words = waveform_words(samples, scale);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * words.size());
    for (const std::int16_t word : words) {
        const auto pattern = static_cast<std::uint16_t>(word);
        bytes.push_back(static_cast<std::uint8_t>(pattern >> 8));
        bytes.push_back(static_cast<std::uint8_t>(pattern & 0xFF));
    }
    return bytes;
}

void write_waveform_file(const std::filesystem::path& path, SampleSpan samples, double scale) {
    write_file_atomically(path, waveform_file_bytes(samples, scale));
}

}  // namespace dot11b::instrument
