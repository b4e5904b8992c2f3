#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "common/errors.hpp"
#include "phy/scrambler.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::random_bits;

using test::bits_of;
using test::text_of;

// Receiver side of the self-synchronising scrambler: in(i) = rx(i) ^ rx(i-4) ^ rx(i-7).
Bits descramble(const Bits& received) {
    Bits out(received.size(), 0);
    for (std::size_t i = 7; i < received.size(); ++i) out[i] = received[i] ^ received[i - 4] ^ received[i - 7];
    return out;
}

TEST(Scrambler, SyncFieldsScrambleToTheKnownSequences) {
    struct Case {
        PreambleType type;
        Bits sync;
        const char* start;
        long ones;
    };
    // Scrambled SYNC of IEEE 802.11b clause 18.2.3.1 and 18.2.3.8 with the prescribed seeds.
    const std::vector<Case> cases = {
        {PreambleType::Long, Bits(128, 1), "01111110111011001110100010100100", 63},
        {PreambleType::Short, Bits(56, 0), "00011001101010011100111101101000", 29},
    };
    for (const auto& c : cases) {
        const Bits out = scramble_741(c.sync, scrambler_seed(c.type));
        ASSERT_EQ(out.size(), c.sync.size());
        EXPECT_EQ(text_of(BitSpan(out).first(32)), c.start);
        EXPECT_EQ(std::count(out.begin(), out.end(), 1), c.ones);
    }
}

TEST(Scrambler, ZeroSeedAndZeroInputStayZeroAndEmptyStaysEmpty) {
    EXPECT_EQ(scramble_741(Bits(40, 0), ScramblerSeed{}), Bits(40, 0));
    EXPECT_TRUE(scramble_741({}, scrambler_seed(PreambleType::Long)).empty());
}

TEST(Scrambler, DescramblingRecoversTheInputFromTheEighthBitForAnySeed) {
    const Bits input = random_bits(500, 3);
    for (unsigned seed_value = 0; seed_value < 128; seed_value += 9) {
        ScramblerSeed seed{};
        for (std::size_t k = 0; k < 7; ++k) seed[k] = static_cast<std::uint8_t>((seed_value >> k) & 1U);
        const Bits recovered = descramble(scramble_741(input, seed));
        EXPECT_TRUE(std::equal(input.begin() + 7, input.end(), recovered.begin() + 7)) << "seed " << seed_value;
    }
}

TEST(Scrambler, FrameModesChooseWhatIsScrambled) {
    const Bits frame = random_bits(200, 5);
    for (const PreambleType type : {PreambleType::Long, PreambleType::Short}) {
        const Bits all = scramble_frame(ScramblerMode::On, type, frame);
        EXPECT_EQ(all, scramble_741(frame, scrambler_seed(type)));
        EXPECT_EQ(scramble_frame(ScramblerMode::Off, type, frame), frame);

        const std::size_t n = preamble_bit_count(type);
        const Bits preamble_only = scramble_frame(ScramblerMode::PreambleOnly, type, frame);
        ASSERT_EQ(preamble_only.size(), frame.size());
        EXPECT_TRUE(std::equal(all.begin(), all.begin() + static_cast<long>(n), preamble_only.begin()));
        EXPECT_TRUE(std::equal(frame.begin() + static_cast<long>(n), frame.end(),
                               preamble_only.begin() + static_cast<long>(n)));
    }
    // A frame shorter than the preamble is scrambled whole.
    const Bits short_frame = random_bits(50, 6);
    EXPECT_EQ(scramble_frame(ScramblerMode::PreambleOnly, PreambleType::Long, short_frame),
              scramble_741(short_frame, scrambler_seed(PreambleType::Long)));
}

TEST(Scrambler, ModeSelectorRejectsUnknownValues) {
    EXPECT_EQ(scrambler_mode_from_value(2, "t"), ScramblerMode::PreambleOnly);
    for (const double bad : {-1.0, 3.0, 0.5}) EXPECT_THROW(scrambler_mode_from_value(bad, "t"), ConfigError);
}

}  // namespace
}  // namespace dot11b::phy
