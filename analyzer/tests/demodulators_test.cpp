#include <gtest/gtest.h>

#include <numbers>
#include <random>
#include <utility>

#include "analyzer/cck_demodulator.hpp"
#include "analyzer/descrambler.hpp"
#include "analyzer/despreading.hpp"
#include "analyzer/dqpsk_decision.hpp"
#include "analyzer/pbcc_code.hpp"
#include "analyzer/pbcc_demodulator.hpp"
#include "phy/cck.hpp"
#include "phy/dsss.hpp"
#include "phy/frame_builder.hpp"
#include "phy/pbcc.hpp"
#include "phy/tests/test_bits.hpp"

namespace dot11b::analyzer {
namespace {

using dot11b::test::bits_of;
using dot11b::test::random_bits;
using dot11b::test::text_of;

const Complex kReference = std::polar(1.0, 0.3);

TEST(PbccCode, EncoderImpulseResponseIsTheGeneratorPolynomials) {
    // G0 = 1 + D + D^3 + D^4 + D^6 and G1 = 1 + D^2 + D^3 + D^4 + D^5 + D^6, interleaved.
    EXPECT_EQ(text_of(pbcc_encode(bits_of("1000000"))), "11100111110111");
}

TEST(PbccCode, ViterbiCorrectsSpacedErrorsAndPrefersConfidentValues) {
    Bits data = random_bits(200, 5);
    data.insert(data.end(), 8, 0);
    const Bits coded = pbcc_encode(data);
    std::vector<double> soft(coded.size());
    for (std::size_t i = 0; i < coded.size(); ++i) soft[i] = coded[i] ? -1.0 : 1.0;
    for (std::size_t i = 7; i < soft.size(); i += 50) soft[i] = -soft[i];  // hard errors
    for (std::size_t i = 30; i < soft.size(); i += 50) soft[i] = 0;        // erasures
    EXPECT_EQ(viterbi_decode(soft), data);
}

TEST(PbccCover, StartsWithTheSeedThenRotatesItByThree) {
    EXPECT_EQ(text_of(pbcc_cover(20)),
              "0011001110001011"
              "1001");
}

// The DQPSK encoding table: 00 keeps the phase, 01 turns +pi/2, 11 turns pi,
// 10 turns -pi/2; a change within 40 degrees of one of them decides for it.
TEST(DqpskDecision, PhaseChangesGiveTheDibitsOfTheEncodingTable) {
    struct Case {
        double degrees;
        const char* dibit;
        Complex phasor;
    };
    const Case cases[] = {{0, "00", {1, 0}}, {90, "01", {0, 1}}, {180, "11", {-1, 0}}, {-90, "10", {0, -1}}, {270, "10", {0, -1}}};
    for (const Case& c : cases) {
        for (const double error : {-40.0, 0.0, 40.0}) {
            const Complex turn = std::polar(0.3, (c.degrees + error) * std::numbers::pi / 180);
            const unsigned quarters = quarter_turns(turn);
            Bits bits;
            append_dibit(quarters, bits);
            EXPECT_EQ(text_of(bits), c.dibit) << c.degrees + error;
            EXPECT_EQ(quarter_turn_phasor(quarters), c.phasor) << c.degrees + error;
        }
    }
}

TEST(Demodulators, RecoverTheBitsOfEachModulation) {
    const Bits bits = random_bits(8 * 40, 9);
    // A common phase turn of the received chips does not matter to differential detection.
    const Complex turn = std::polar(1.0, 1.1);
    const auto turned = [&](Samples chips) {
        for (Complex& c : chips) c *= turn;
        return chips;
    };
    for (const bool dqpsk : {false, true}) {
        const phy::DsssChips sent =
            dqpsk ? phy::modulate_2mbps(bits, kReference) : phy::modulate_1mbps(bits, kReference);
        const Samples symbols = despread(turned(sent.chips), 0, sent.chips.size() / 11);
        EXPECT_EQ(detect_differential(symbols, kReference * turn, kReference, dqpsk).bits, bits) << dqpsk;
    }
    for (const auto rate : {phy::DataRate::Mbps5_5, phy::DataRate::Mbps11}) {
        const Samples sent = phy::cck_modulate(bits, rate, kReference);
        const CckSymbols got =
            demodulate_cck(turned(sent), rate == phy::DataRate::Mbps11, kReference * turn, kReference);
        EXPECT_EQ(got.bits, bits) << int(rate);
        ASSERT_EQ(got.ideal_chips.size(), sent.size());
        for (std::size_t k = 0; k < sent.size(); ++k) EXPECT_NEAR(std::abs(got.ideal_chips[k] - sent[k]), 0, 1e-9) << k;
    }
}

// The nearest quarter turn, whatever the length; exactly between two, the
// one a rounded angle gives (halves away from zero), and zero turns by none.
TEST(DqpskDecision, APhaseChangeGoesToTheNearestQuarterTurn) {
    std::mt19937 generator(3);
    std::uniform_real_distribution<double> angle(-std::numbers::pi, std::numbers::pi);
    std::uniform_real_distribution<double> length(1e-3, 1e3);
    for (int i = 0; i < 2000; ++i) {
        const Complex turn = std::polar(length(generator), angle(generator));
        const unsigned quarters = quarter_turns(turn);
        const double off = std::arg(turn * std::conj(quarter_turn_phasor(quarters)));
        EXPECT_LE(std::abs(off), std::numbers::pi / 4) << turn;
    }
    const std::pair<Complex, unsigned> ties[] = {{{2, 2}, 1}, {{2, -2}, 3}, {{-2, 2}, 2}, {{-2, -2}, 2}, {{0, 0}, 0}};
    for (const auto& [turn, quarters] : ties) EXPECT_EQ(quarter_turns(turn), quarters) << turn;
}

// At 11 Mbit/s each symbol's six word bits are those of the code word with the
// largest correlation, found here by trying all 64 (IEEE 802.11 CCK code words,
// phases in quarter turns with d2 d3 = 01 for pi/2), through noise strong
// enough that many symbols are decided wrongly.
TEST(Demodulators, CckWordsAreTheMostCorrelatedOfAllSixtyFour) {
    const Bits bits = random_bits(8 * 400, 21);
    Samples chips = phy::cck_modulate(bits, phy::DataRate::Mbps11, kReference);
    std::mt19937 generator(5);
    std::normal_distribution<double> noise(0, 0.8);
    for (Complex& c : chips) c += Complex(noise(generator), noise(generator));
    const CckSymbols got = demodulate_cck(chips, true, kReference, kReference);
    const auto e = [](unsigned quarter_turns) { return std::polar(1.0, quarter_turns * std::numbers::pi / 2); };
    std::size_t wrong_words = 0;
    for (std::size_t s = 0; s < chips.size() / 8; ++s) {
        const Complex* r = chips.data() + 8 * s;
        unsigned best = 0;
        double best_power = -1;
        for (unsigned w = 0; w < 64; ++w) {
            const unsigned p2 = 2 * (w & 1U) + ((w >> 1) & 1U);
            const unsigned p3 = 2 * ((w >> 2) & 1U) + ((w >> 3) & 1U);
            const unsigned p4 = 2 * ((w >> 4) & 1U) + ((w >> 5) & 1U);
            const Complex word[8] = {e(p2 + p3 + p4), e(p3 + p4), e(p2 + p4), -e(p4),
                                     e(p2 + p3),      e(p3),      -e(p2),     e(0)};
            Complex sum = 0;
            for (std::size_t i = 0; i < 8; ++i) sum += r[i] * std::conj(word[i]);
            if (std::norm(sum) > best_power) {
                best_power = std::norm(sum);
                best = w;
            }
        }
        unsigned decided = 0;
        for (unsigned k = 0; k < 6; ++k) decided |= unsigned{got.bits[8 * s + 2 + k]} << k;
        EXPECT_EQ(decided, best) << "symbol " << s;
        unsigned sent = 0;
        for (unsigned k = 0; k < 6; ++k) sent |= unsigned{bits[8 * s + 2 + k]} << k;
        wrong_words += sent != best;
    }
    EXPECT_GT(wrong_words, 10U);  // the noise does reach the decisions
}

// PBCC is referred to the last header chip, or without a header to the phase
// the burst starts from: told only that, the receiver recovers the data.
TEST(Demodulators, PbccOfABuiltBurstIsReferredToTheLastHeaderChip) {
    const Complex start = Complex(1, 1) / std::sqrt(2.0);  // the phase a burst starts from
    const Bits data = random_bits(64, 7);
    for (const bool framed : {true, false}) {
        phy::FrameConfig config;
        config.framed = framed;
        config.ramp = phy::RampType::None;
        config.modulation = phy::Modulation::Pbcc;
        config.data_bits = data;
        const Samples chips = phy::burst_chips(config);
        const std::size_t plcp = framed ? 1584 + 528 : 0;  // long preamble and header, 11 chips a bit
        ASSERT_GT(chips.size(), plcp);

        Bits received;
        Complex reference = start;
        if (framed) {
            received = detect_differential(despread(chips, 0, plcp / 11), start, start, false).bits;
            reference = chips[plcp - 1];
        }
        const PbccSymbols pbcc =
            demodulate_pbcc(SampleSpan(chips).subspan(plcp), true, data.size(), reference, reference);
        EXPECT_TRUE(pbcc.coded) << framed;
        received.insert(received.end(), pbcc.bits.begin(), pbcc.bits.end());
        const Bits descrambled = Descrambler().run(received);
        ASSERT_GE(descrambled.size(), data.size());
        // The descrambler needs seven received bits before it follows the scrambler.
        const std::size_t settled = framed ? 0 : 7;
        EXPECT_TRUE(std::equal(data.begin() + settled, data.end(), descrambled.end() - long(data.size() - settled)))
            << (framed ? "framed" : "unframed");
    }
}

TEST(Demodulators, PbccDecodesThroughNoiseAndTellsCodedFromUncoded) {
    const Bits bits = random_bits(8 * 60, 11);
    std::mt19937 random(4);
    std::normal_distribution<double> noise(0, 0.45);  // about 7 dB SNR per symbol
    for (const auto rate : {phy::DataRate::Mbps5_5, phy::DataRate::Mbps11}) {
        for (const bool coded : {true, false}) {
            Samples chips = phy::pbcc_modulate(bits, rate, coded, kReference);
            if (coded) {
                for (Complex& c : chips) c += Complex(noise(random), noise(random));
            }
            const PbccSymbols got =
                demodulate_pbcc(chips, rate == phy::DataRate::Mbps11, bits.size(), kReference, kReference);
            EXPECT_EQ(got.coded, coded) << int(rate);
            EXPECT_EQ(got.bits, bits) << int(rate) << " coded " << coded;
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
