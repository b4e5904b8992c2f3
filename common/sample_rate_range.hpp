#pragma once
// The sample rates the tools take, typed or read from a file. Above 1 GHz no
// recording of an 11 Mchip/s signal is plausible, and buffers sized in
// samples per chip would not fit in memory.

#include <string>

namespace dot11b {

inline constexpr double kMaxSampleRateHz = 1e9;

// Whether `rate_hz` lies in [min_hz, kMaxSampleRateHz] and above 0 Hz (min_hz 0
// allows any positive rate up to the maximum).
bool sample_rate_allowed(double rate_hz, double min_hz = 0);

// What sample_rate_allowed accepts, for messages: "above 0 Hz to 1000000000 Hz"
// or, with `min_name` "the chip rate", "11000000 Hz (the chip rate) to 1000000000 Hz".
std::string allowed_sample_rates(double min_hz = 0, const std::string& min_name = "");

}  // namespace dot11b
