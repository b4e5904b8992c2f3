#include "sdr/stream_format.hpp"

#include <gtest/gtest.h>

#include "common/errors.hpp"

namespace dot11b::sdr {
namespace {

TEST(StreamFormat, RoundTripsWithinOneStepAndHoldsFullScale) {
    const Samples samples = {{1.0, -1.0}, {0.5, 0.25}, {-0.999, 0.001}, {0.0, 0.0}};
    const struct {
        StreamFormat format;
        double full_scale;
        double step;
    } cases[] = {{StreamFormat::cf32, 1.0, 1e-7}, {StreamFormat::cs16, 32767, 1.0 / 32767}, {StreamFormat::cs16, 2047, 1.0 / 2047},
                 {StreamFormat::cs8, 127, 1.0 / 127}};
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> bytes = encode(samples, c.format, c.full_scale);
        ASSERT_EQ(bytes.size(), samples.size() * bytes_per_sample(c.format));
        const Samples back = decode(bytes, c.format, c.full_scale);
        ASSERT_EQ(back.size(), samples.size());
        for (std::size_t k = 0; k < samples.size(); ++k) {
            EXPECT_LE(std::abs(back[k].real() - samples[k].real()), c.step / 2 + 1e-12) << format_name(c.format);
            EXPECT_LE(std::abs(back[k].imag() - samples[k].imag()), c.step / 2 + 1e-12) << format_name(c.format);
        }
    }
}

TEST(StreamFormat, IntegersSaturateRatherThanWrap) {
    // -1 at full scale 128 is -128, inside int8; +1 would be 128 and wrap to -128.
    const Samples back = decode(encode(Samples{{1.0, -1.0}}, StreamFormat::cs8, 128), StreamFormat::cs8, 128);
    EXPECT_GT(back[0].real(), 0.99);
    EXPECT_DOUBLE_EQ(back[0].imag(), -1.0);
}

TEST(StreamFormat, NamesTheSupportedFormats) {
    EXPECT_EQ(stream_format("CS16"), StreamFormat::cs16);
    EXPECT_EQ(stream_format(format_name(StreamFormat::cs8)), StreamFormat::cs8);
    try {
        stream_format("CU8");
        ADD_FAILURE() << "CU8 accepted";
    } catch (const ConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("supported: CF32, CS16, CS8"), std::string::npos);
    }
}

}  // namespace
}  // namespace dot11b::sdr
