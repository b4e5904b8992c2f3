#include "app/waveform_files/wfm_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "app/waveform_files/input_file.hpp"
#include "common/errors.hpp"

namespace dot11b::waveform_files {
namespace {

constexpr std::size_t kChunkSamples = 4096;
constexpr std::size_t kSampleBytes = kWfmSampleBytes;

double limited_scale(double scale) {
    if (std::isnan(scale)) return kMaxWfmScale;
    return std::clamp(scale, kMinWfmScale, kMaxWfmScale);
}

// The conversion of one waveform to words, fixed by its largest magnitude.
class WfmEncoder {
public:
    WfmEncoder(SampleSpan samples, double scale) : factor_(limited_scale(scale)) {
        for (std::size_t k = 0; k < samples.size(); ++k) {
            const Complex z = samples[k];
            if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
                throw ConfigError("waveform file: sample " + std::to_string(k) + " is not a finite number");
            }
            largest_ = std::max({largest_, std::abs(z.real()), std::abs(z.imag())});
        }
    }

    // The largest magnitude goes to full scale whatever the others are; only
    // an all-zero waveform is left as it is. The operations keep the order
    // x / largest * full scale * scale, so halves round as in files written before.
    std::int16_t word(double x) const {
        const double scaled = largest_ > 0 ? x / largest_ * kWfmFullScale * factor_ : x;
        return round_half_away(scaled);
    }

    // Four bytes per sample into `out`.
    void encode(SampleSpan chunk, std::uint8_t* out) const {
        for (const Complex z : chunk) {
            out = put(word(z.real()), out);
            out = put(word(z.imag()), out);
        }
    }

private:
    // std::round for |x| <= 32766 (full scale times a scale of at most 1),
    // without its library call: the truncation and the remainder are exact there.
    static std::int16_t round_half_away(double x) {
        auto n = static_cast<std::int32_t>(x);
        const double remainder = x - n;
        if (remainder >= 0.5) ++n;
        if (remainder <= -0.5) --n;
        return static_cast<std::int16_t>(n);
    }

    static std::uint8_t* put(std::int16_t word, std::uint8_t* out) {
        const auto pattern = static_cast<std::uint16_t>(word);
        out[0] = static_cast<std::uint8_t>(pattern >> 8);
        out[1] = static_cast<std::uint8_t>(pattern & 0xFF);
        return out + 2;
    }

    double factor_;
    double largest_ = 0;
};

}  // namespace

std::vector<std::int16_t> wfm_words(SampleSpan samples, double scale) {
    const WfmEncoder encoder(samples, scale);
    std::vector<std::int16_t> words(2 * samples.size());
    for (std::size_t k = 0; k < samples.size(); ++k) {
        words[2 * k] = encoder.word(samples[k].real());
        words[2 * k + 1] = encoder.word(samples[k].imag());
    }
    return words;
}

std::vector<std::uint8_t> wfm_bytes(SampleSpan samples, double scale) {
    std::vector<std::uint8_t> bytes(kSampleBytes * samples.size());
    WfmEncoder(samples, scale).encode(samples, bytes.data());
    return bytes;
}

void write_wfm(DurableFile& file, SampleSpan samples, double scale) {
    const WfmEncoder encoder(samples, scale);
    std::array<std::uint8_t, kChunkSamples * kSampleBytes> buffer;
    for (std::size_t start = 0; start < samples.size(); start += kChunkSamples) {
        const SampleSpan chunk = samples.subspan(start, std::min(kChunkSamples, samples.size() - start));
        encoder.encode(chunk, buffer.data());
        file.write(std::span(buffer.data(), chunk.size() * kSampleBytes));
    }
}

void write_wfm(const std::filesystem::path& path, SampleSpan samples, double scale) {
    DurableFile file(path);
    write_wfm(file, samples, scale);
    file.commit();
}

void decode_wfm(std::span<const std::uint8_t> bytes, std::span<Complex> samples) {
    const auto word = [&](std::size_t at) {
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[at] << 8U) |
                                                             bytes[at + 1]));
    };
    for (std::size_t k = 0, at = 0; at < bytes.size(); ++k, at += kSampleBytes) {
        samples[k] = {word(at) / kWfmFullScale, word(at + 2) / kWfmFullScale};
    }
}

Samples read_wfm(const std::filesystem::path& path) {
    InputFile file(path);
    return read_samples(file, kSampleBytes, kWfmSampleType, decode_wfm);
}

}  // namespace dot11b::waveform_files
