#pragma once
// The largest frame the generator builds, for the plot benchmarks: the
// longest PSDU (2346 octets) at 1 Mbit/s with the long preamble, oversampling
// 3.5 and the Gaussian filter, 733 964 samples at 38.5 MHz.

#include <random>

#include "phy/frame_builder.hpp"

namespace dot11b::bench {

inline constexpr double kLargestFrameRate = 38.5e6;

inline const Samples& largest_frame() {
    static const Samples samples = [] {
        std::mt19937 random(1);
        phy::FrameConfig config;
        config.data_bits.resize((2312 + 30 + 4) * 8);
        for (auto& bit : config.data_bits) bit = static_cast<std::uint8_t>(random() & 1U);
        config.rate = phy::DataRate::Mbps1;
        return phy::build_frame(config).samples;
    }();
    return samples;
}

}  // namespace dot11b::bench
