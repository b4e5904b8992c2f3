#pragma once
// Samples in the stream formats SDRs take and give: interleaved I, Q in the
// host's byte order, as the driver's buffers hold them.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/types.hpp"

namespace dot11b::sdr {

// The formats handled: complex float32, int16 and int8 (SoapySDR's names).
enum class StreamFormat { cf32, cs16, cs8 };

// Parses "CF32", "CS16" or "CS8"; throws ConfigError naming the others.
StreamFormat stream_format(const std::string& name);
const char* format_name(StreamFormat format);
std::size_t bytes_per_sample(StreamFormat format);

// Samples of magnitude up to 1 as the format's values; `full_scale` is the
// value that stands for 1 (1 for CF32). Integers are rounded, never wrapped.
std::vector<std::uint8_t> encode(SampleSpan samples, StreamFormat format, double full_scale);

// The inverse of encode: values divided by `full_scale`.
Samples decode(std::span<const std::uint8_t> bytes, StreamFormat format, double full_scale);

}  // namespace dot11b::sdr
