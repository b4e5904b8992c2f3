#pragma once
// The largest frame the generator builds: the longest PSDU (2346 octets) at
// 1 Mbit/s with the long preamble, oversampling 3.5 and the Gaussian filter,
// 733 964 samples at 38.5 MHz. The plot benchmarks add the longest idle
// interval the window allows (100 ms): 4 580 114 samples.

#include <random>

#include "phy/frame_builder.hpp"

namespace dot11b::bench {

inline constexpr double kLargestFrameRate = 38.5e6;

inline phy::FrameWaveform build_largest_frame(std::size_t idle_samples) {
    std::mt19937 random(1);
    phy::FrameConfig config;
    config.data_bits.resize((2312 + 30 + 4) * 8);
    for (auto& bit : config.data_bits) bit = static_cast<std::uint8_t>(random() & 1U);
    config.rate = phy::DataRate::Mbps1;
    config.idle_samples = idle_samples;
    return phy::build_frame(config);
}

inline const Samples& largest_frame() {
    static const Samples samples = build_largest_frame(phy::FrameConfig{}.idle_samples).samples;
    return samples;
}

// 100 000 us of idle at 38.5 MHz.
inline const Samples& longest_waveform() {
    static const Samples samples = build_largest_frame(3850000).samples;
    return samples;
}

}  // namespace dot11b::bench
