#include "sdr/stream_format.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/errors.hpp"

namespace dot11b::sdr {
namespace {

template <typename T>
void put(std::uint8_t* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

template <typename T>
T get(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Rounded and held inside the type's range, so a value at full scale cannot wrap.
template <typename T>
T to_integer(double value, double full_scale) {
    const double scaled = std::round(value * full_scale);
    const double low = -static_cast<double>(1 << (8 * sizeof(T) - 1));
    const double high = -low - 1;
    return static_cast<T>(std::clamp(scaled, low, high));
}

}  // namespace

StreamFormat stream_format(const std::string& name) {
    if (name == "CF32") return StreamFormat::cf32;
    if (name == "CS16") return StreamFormat::cs16;
    if (name == "CS8") return StreamFormat::cs8;
    throw ConfigError("stream format " + name + " is not supported; supported: CF32, CS16, CS8");
}

const char* format_name(StreamFormat format) {
    switch (format) {
    case StreamFormat::cf32: return "CF32";
    case StreamFormat::cs16: return "CS16";
    case StreamFormat::cs8: return "CS8";
    }
    return "";
}

std::size_t bytes_per_sample(StreamFormat format) {
    switch (format) {
    case StreamFormat::cf32: return 8;
    case StreamFormat::cs16: return 4;
    case StreamFormat::cs8: return 2;
    }
    return 0;
}

std::vector<std::uint8_t> encode(SampleSpan samples, StreamFormat format, double full_scale) {
    const std::size_t width = bytes_per_sample(format);
    std::vector<std::uint8_t> bytes(samples.size() * width);
    std::uint8_t* at = bytes.data();
    for (const Complex& s : samples) {
        switch (format) {
        case StreamFormat::cf32:
            put(at, static_cast<float>(s.real() * full_scale));
            put(at + 4, static_cast<float>(s.imag() * full_scale));
            break;
        case StreamFormat::cs16:
            put(at, to_integer<std::int16_t>(s.real(), full_scale));
            put(at + 2, to_integer<std::int16_t>(s.imag(), full_scale));
            break;
        case StreamFormat::cs8:
            put(at, to_integer<std::int8_t>(s.real(), full_scale));
            put(at + 1, to_integer<std::int8_t>(s.imag(), full_scale));
            break;
        }
        at += width;
    }
    return bytes;
}

Samples decode(std::span<const std::uint8_t> bytes, StreamFormat format, double full_scale) {
    const std::size_t width = bytes_per_sample(format);
    Samples samples(bytes.size() / width);
    const std::uint8_t* at = bytes.data();
    for (Complex& s : samples) {
        switch (format) {
        case StreamFormat::cf32:
            s = {get<float>(at) / full_scale, get<float>(at + 4) / full_scale};
            break;
        case StreamFormat::cs16:
            s = {get<std::int16_t>(at) / full_scale, get<std::int16_t>(at + 2) / full_scale};
            break;
        case StreamFormat::cs8:
            s = {get<std::int8_t>(at) / full_scale, get<std::int8_t>(at + 1) / full_scale};
            break;
        }
        at += width;
    }
    return samples;
}

}  // namespace dot11b::sdr
