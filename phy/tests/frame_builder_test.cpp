#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "phy/dsss.hpp"
#include "phy/frame_builder.hpp"
#include "phy/size_estimate.hpp"
#include "receivers.hpp"
#include "shaping/oversampling.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::random_bits;

const Complex kStart = Complex(1, 1) / std::sqrt(2.0);

// Lengths of the runs of equal values, e.g. 0 0 1 1 1 0 -> {2, 3, 1}.
std::vector<std::size_t> runs(const Bits& bits) {
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (i == 0 || bits[i] != bits[i - 1]) lengths.push_back(0);
        ++lengths.back();
    }
    return lengths;
}

TEST(FrameBuilder, DefaultFrameHasTheKnownLengthsAndMarkers) {
    // 1584 + 528 + 8192 chips and 2 x 22 ramp chips, at factor 7 then halved:
    // 36218 burst samples plus 3850 idle samples, even, so no pad.
    FrameConfig config;
    config.data_bits = random_bits(8192, 1);
    const FrameWaveform w = build_frame(config);
    ASSERT_EQ(w.samples.size(), 40068U);
    EXPECT_EQ(burst_chips(config).size(), 10304U + 44U);
    EXPECT_EQ(runs(w.frame_marker), (std::vector<std::size_t>{77, 36064, 77 + 3850}));
    EXPECT_EQ(w.frame_marker.front(), 0);
    EXPECT_EQ(runs(w.burst_marker), (std::vector<std::size_t>{36218, 3850}));
    EXPECT_EQ(w.burst_marker.front(), 1);
    EXPECT_TRUE(std::all_of(w.samples.begin() + 36218, w.samples.end(), [](Complex s) { return s == Complex(0); }));
}

TEST(FrameBuilder, OddLengthGetsOneZeroSampleAtTheEnd) {
    FrameConfig config;
    config.data_bits = random_bits(800, 2);
    config.idle_samples = 3851;
    const FrameWaveform odd = build_frame(config);
    config.idle_samples = 3850;
    const FrameWaveform even = build_frame(config);
    EXPECT_EQ(odd.samples.size(), even.samples.size() + 2);  // one idle sample and the pad
    EXPECT_EQ(odd.samples.size() % 2, 0U);
    EXPECT_EQ(odd.samples.back(), Complex(0));
    EXPECT_EQ(odd.frame_marker.back(), 0);
    EXPECT_EQ(odd.burst_marker.back(), 0);
}

TEST(FrameBuilder, MirrorConjugatesAndKeepsTheMarkers) {
    FrameConfig config;
    config.data_bits = random_bits(400, 3);
    const FrameWaveform plain = build_frame(config);
    config.mirror_spectrum = true;
    const FrameWaveform mirrored = build_frame(config);
    ASSERT_EQ(mirrored.samples.size(), plain.samples.size());
    for (std::size_t i = 0; i < plain.samples.size(); ++i) ASSERT_EQ(mirrored.samples[i], std::conj(plain.samples[i]));
    EXPECT_EQ(mirrored.frame_marker, plain.frame_marker);
    EXPECT_EQ(mirrored.burst_marker, plain.burst_marker);
}

TEST(FrameBuilder, UnframedModeHasOnlyThePsduButKeepsTheRampMarks) {
    FrameConfig config;
    config.framed = false;
    config.data_bits = random_bits(160, 4);
    config.filter = FilterType::None;
    config.oversampling = 2;
    const FrameWaveform w = build_frame(config);
    EXPECT_EQ(w.samples.size(), 160U * 2);  // CCK 11 Mbit/s: one chip per bit; no ramps, no idle
    EXPECT_EQ(runs(w.frame_marker), (std::vector<std::size_t>{77, 320 - 154, 77}));

    // The scrambler is still seeded by the preamble type: the chips are those of
    // the scrambled PSDU alone, CCK from the start phase.
    const Bits scrambled = scramble_frame(ScramblerMode::On, PreambleType::Short, config.data_bits);
    config.preamble = PreambleType::Short;
    EXPECT_EQ(burst_chips(config), cck_modulate(scrambled, DataRate::Mbps11, kStart));
}

TEST(FrameBuilder, RampsShorterThanHalfAChipAddNoChips) {
    FrameConfig config;
    config.data_bits = random_bits(80, 5);
    config.ramp_length = 1;  // round(1 / 3.5) = 0 ramp chips
    const std::size_t without = burst_chips(config).size();
    config.ramp = RampType::None;
    EXPECT_EQ(burst_chips(config).size(), without);
    config.ramp = RampType::Linear;
    const FrameWaveform w = build_frame(config);
    EXPECT_EQ(w.frame_marker[0], 0);
    EXPECT_EQ(w.frame_marker[1], 1);
}

TEST(FrameBuilder, RampsScaleBarkerChipsTowardsTheBurst) {
    FrameConfig config;
    config.data_bits = random_bits(80, 6);
    config.ramp_length = 35;  // 10 chips at 3.5
    config.ramp = RampType::None;
    const Samples bare = burst_chips(config);
    for (const RampType type : {RampType::Linear, RampType::RaisedCosine}) {
        config.ramp = type;
        const Samples ramped = burst_chips(config);
        ASSERT_EQ(ramped.size(), bare.size() + 20);
        EXPECT_TRUE(std::equal(bare.begin(), bare.end(), ramped.begin() + 10));
        for (std::size_t k = 1; k <= 10; ++k) {
            const double x = static_cast<double>(k) / 10;
            const double mask = type == RampType::Linear ? x : 0.5 * (1 - std::cos(std::numbers::pi * x));
            const double barker = kBarker[(k - 1) % 11];
            EXPECT_NEAR(std::abs(ramped[k - 1] - barker * bare.front() * mask), 0, 1e-15);
            EXPECT_NEAR(std::abs(ramped[ramped.size() - k] - kBarker[(10 - k) % 11] * bare.back() * mask), 0, 1e-15);
        }
    }
}

TEST(FrameBuilder, TwoMbpsIgnoresAStalePbccSelection) {
    FrameConfig config;
    config.rate = DataRate::Mbps2;
    config.data_bits = random_bits(96, 8);
    const Samples cck = burst_chips(config);
    config.modulation = Modulation::Pbcc;
    EXPECT_EQ(burst_chips(config), cck);
}

TEST(FrameBuilder, EmptyPsduGivesPreambleAndHeaderOnly) {
    FrameConfig config;
    config.ramp = RampType::None;
    EXPECT_EQ(burst_chips(config).size(), 1584U + 528U);
    config.preamble = PreambleType::Short;
    EXPECT_EQ(burst_chips(config).size(), 792U + 264U);
}

TEST(FrameBuilder, RejectsConfigurationsOutsideTheAllowedSets) {
    struct Case {
        const char* what;
        void (*change)(FrameConfig&);
        const char* field;
    };
    const Case cases[] = {
        {"22 Mbit/s framed", [](FrameConfig& c) { c.rate = DataRate::Mbps22; }, "DATArate"},
        {"33 Mbit/s CCK", [](FrameConfig& c) { c.rate = DataRate::Mbps33; c.framed = false; }, "DATArate"},
        {"oversampling 4", [](FrameConfig& c) { c.oversampling = 4; }, "oversamplingRate"},
        {"filter type 3", [](FrameConfig& c) { c.filter = static_cast<FilterType>(3); }, "filterType"},
        {"ramp type 3", [](FrameConfig& c) { c.ramp = static_cast<RampType>(3); }, "rampType"},
        {"Gaussian BT 0.05", [](FrameConfig& c) { c.filter_factor = 0.05; }, "filterFactor"},
        {"root cosine 1.5", [](FrameConfig& c) { c.filter = FilterType::RootCosine; c.filter_factor = 1.5; }, "filterFactor"},
        {"no taps", [](FrameConfig& c) { c.filter_taps = 0.5; }, "filterTaps"},
        {"filter longer than the burst",
         [](FrameConfig& c) { c.framed = false; c.data_bits = Bits(8, 0); c.filter_taps = 100; }, "filterTaps"},
        {"unframed, no bits, a filter", [](FrameConfig& c) { c.framed = false; c.data_bits.clear(); }, "DATAbits"},
        {"CCK 11 Mbit/s, 12 bits", [](FrameConfig& c) { c.data_bits = Bits(12, 0); }, "DATAbits"},
        {"2 Mbit/s, odd bits", [](FrameConfig& c) { c.rate = DataRate::Mbps2; c.data_bits = Bits(9, 0); }, "DATAbits"},
        {"ramp beyond the burst",
         [](FrameConfig& c) { c.framed = false; c.data_bits = Bits(8, 0); c.filter = FilterType::None; }, "rampLength"},
        {"scrambler mode 5", [](FrameConfig& c) { c.scrambler = static_cast<ScramblerMode>(5); }, "scramblerActive"},
    };
    for (const auto& c : cases) {
        FrameConfig config;
        config.data_bits = Bits(64, 1);
        c.change(config);
        try {
            build_frame(config);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const ConfigError& e) {
            EXPECT_NE(std::string(e.what()).find(c.field), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

// The frame builder's steps 9 to 19 written out directly on the burst chips:
// zero stuffing, hold or circular FIR through a prefix, rotation by the filter
// delay, mean removal, decimation, idle, pad, mirror and markers.
FrameWaveform reference_frame(const FrameConfig& config) {
    const Samples chips = burst_chips(config);
    const SampleRatePlan plan = sample_rate_plan(config.oversampling);
    const std::vector<double> h = shaping_taps(config);
    const Samples samples = shaping::upsample(chips, plan.upsample_factor);
    const std::size_t n = samples.size();
    Samples filtered(n, Complex(0));
    if (h.empty()) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < static_cast<std::size_t>(plan.upsample_factor) && j <= i; ++j) {
                filtered[i] += samples[i - j];
            }
        }
    } else {
        Samples prefixed(samples.end() - static_cast<long>(h.size() - 1), samples.end());
        prefixed.insert(prefixed.end(), samples.begin(), samples.end());
        Samples fir(prefixed.size(), Complex(0));
        for (std::size_t i = 0; i < prefixed.size(); ++i) {
            for (std::size_t k = 0; k < h.size() && k <= i; ++k) fir[i] += h[k] * prefixed[i - k];
        }
        const Samples circular(fir.begin() + static_cast<long>(h.size() - 1), fir.end());
        const std::size_t delay = h.size() / 2;
        for (std::size_t i = 0; i < n; ++i) filtered[i] = circular[(i + delay) % n];
    }
    Complex mean = 0;
    for (const Complex s : filtered) mean += s;
    mean /= static_cast<double>(n);
    FrameWaveform w;
    for (std::size_t i = 0; i < n; i += static_cast<std::size_t>(plan.decimation)) w.samples.push_back(filtered[i] - mean);
    const std::size_t burst = w.samples.size();
    const std::size_t idle = config.framed ? config.idle_samples : 0;
    const std::size_t pad = (burst + idle) % 2;
    w.samples.resize(burst + idle + pad, Complex(0));
    if (config.mirror_spectrum) {
        for (Complex& s : w.samples) s = std::conj(s);
    }
    const std::size_t r = config.ramp_length;
    w.frame_marker = Bits(r, 0);
    w.frame_marker.resize(burst - r, 1);
    w.frame_marker.resize(burst + idle + pad, 0);
    w.burst_marker = Bits(burst, 1);
    w.burst_marker.resize(burst + idle + pad, 0);
    return w;
}

TEST(FrameBuilder, MatchesTheDirectFormForEveryCombination) {
    const DataRate rates[] = {DataRate::Mbps1, DataRate::Mbps2, DataRate::Mbps5_5, DataRate::Mbps11};
    std::size_t combinations = 0;
    for (const DataRate rate : rates) {
        for (const Modulation modulation : {Modulation::Cck, Modulation::Pbcc}) {
            if ((rate == DataRate::Mbps1 || rate == DataRate::Mbps2) && modulation == Modulation::Pbcc) continue;
            for (const PreambleType preamble : {PreambleType::Long, PreambleType::Short}) {
                for (const double oversampling : {2.0, 2.5, 3.0, 3.5}) {
                    for (const FilterType filter : {FilterType::None, FilterType::Gaussian, FilterType::RootCosine}) {
                        for (const RampType ramp : {RampType::None, RampType::Linear, RampType::RaisedCosine}) {
                            for (const bool mirror : {false, true}) {
                                FrameConfig config;
                                config.data_bits = random_bits(64, 9);
                                config.rate = rate;
                                config.modulation = modulation;
                                config.preamble = preamble;
                                config.oversampling = oversampling;
                                config.filter = filter;
                                config.filter_factor = filter == FilterType::RootCosine ? 0.3 : 0.5;
                                config.filter_taps = 6 * oversampling;
                                config.ramp = ramp;
                                config.ramp_length = static_cast<std::size_t>(std::round(2 * 11 * oversampling));
                                config.idle_samples = 101;
                                config.mirror_spectrum = mirror;
                                const FrameWaveform fast = build_frame(config);
                                const FrameWaveform direct = reference_frame(config);
                                ASSERT_EQ(fast.samples.size(), direct.samples.size());
                                double peak = 0;
                                for (const Complex s : direct.samples) peak = std::max(peak, std::abs(s));
                                for (std::size_t i = 0; i < direct.samples.size(); ++i) {
                                    ASSERT_LE(std::abs(fast.samples[i] - direct.samples[i]), 1e-12 * peak)
                                        << "sample " << i << " rate " << rate_in_mbps(rate) << " os " << oversampling;
                                }
                                ASSERT_EQ(fast.frame_marker, direct.frame_marker);
                                ASSERT_EQ(fast.burst_marker, direct.burst_marker);
                                ++combinations;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(combinations, 6U * 2 * 4 * 3 * 3 * 2);
}

TEST(SizeEstimate, WorkedExamples) {
    struct Case {
        SizeEstimateInput in;
        double size;
    };
    const auto input = [](bool framed, double bits, DataRate rate, PreambleType preamble, double idle, RampType ramp,
                          double ramp_length, double oversampling) {
        SizeEstimateInput in;
        in.framed = framed;
        in.data_bits = bits;
        in.rate = rate;
        in.preamble = preamble;
        in.idle_samples = idle;
        in.ramp = ramp;
        in.ramp_length = ramp_length;
        in.oversampling = oversampling;
        return in;
    };
    const Case cases[] = {
        // (1584 + 528 + 8192) x 3.5 + 154 + 3850
        {input(true, 8192, DataRate::Mbps11, PreambleType::Long, 3850, RampType::Linear, 77, 3.5), 40068},
        // (1584 + 528 + 90112) x 2
        {input(true, 8192, DataRate::Mbps1, PreambleType::Long, 0, RampType::None, 77, 2), 184448},
        // Unframed: only the data chips count.
        {input(false, 8192, DataRate::Mbps11, PreambleType::Long, 3850, RampType::Linear, 77, 2), 16384},
        // (792 + 264 + 4400) x 3 + 1 idle sample, padded to even
        {input(true, 800, DataRate::Mbps2, PreambleType::Short, 1, RampType::None, 0, 3), 16370},
    };
    for (const auto& c : cases) EXPECT_EQ(estimate_size(c.in), c.size);

    SizeEstimateInput pbcc = input(true, 8192, DataRate::Mbps11, PreambleType::Long, 0, RampType::None, 0, 3.5);
    pbcc.modulation = Modulation::Pbcc;
    EXPECT_EQ(estimate_size(pbcc), (1584 + 528 + 8192) * 3.5);
    pbcc.rate = DataRate::Mbps22;
    EXPECT_THROW(estimate_size(pbcc), ConfigError);
}

TEST(SizeEstimate, AgreesWithTheBuiltLength) {
    std::size_t checked = 0;
    for (const DataRate rate : {DataRate::Mbps1, DataRate::Mbps2, DataRate::Mbps5_5, DataRate::Mbps11}) {
        for (const double oversampling : {2.0, 2.5, 3.0, 3.5}) {
            for (const bool framed : {true, false}) {
                for (const std::size_t octets : {0U, 1U, 13U, 100U}) {
                    FrameConfig config;
                    config.rate = rate;
                    config.oversampling = oversampling;
                    config.framed = framed;
                    config.filter_taps = 6 * oversampling;
                    config.data_bits = random_bits(8 * octets, 10);
                    // A ramp of whole microseconds (11 chips each) and an odd idle interval.
                    config.ramp_length = static_cast<std::size_t>(11 * oversampling * 2);
                    config.idle_samples = 77;
                    if (!framed) config.ramp_length = 0;
                    if (!framed && octets == 0) config.filter = FilterType::None;
                    const double estimate = estimate_size(size_estimate_input(config));
                    EXPECT_EQ(estimate, static_cast<double>(build_frame(config).samples.size()))
                        << "rate " << rate_in_mbps(rate) << " os " << oversampling << " framed " << framed << " octets "
                        << octets;
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 128U);

    // PBCC with the encoder: the estimate leaves out the tail octet (8 chips at 11 Mbit/s).
    FrameConfig pbcc;
    pbcc.modulation = Modulation::Pbcc;
    pbcc.data_bits = random_bits(8192, 11);
    pbcc.ramp = RampType::None;
    pbcc.idle_samples = 0;
    EXPECT_EQ(static_cast<double>(build_frame(pbcc).samples.size()) - estimate_size(size_estimate_input(pbcc)),
              8 * 3.5);
}

TEST(FrameBuilder, ACorrelatorRecoversThePsduFromTheWaveform) {
    // Hold filter at twice the chip rate: every second sample is a chip (less
    // the small mean). Receive preamble and header with the Barker despreader,
    // descramble, check SFD and LENGTH, then demodulate the PSDU.
    for (const DataRate rate : {DataRate::Mbps1, DataRate::Mbps2, DataRate::Mbps5_5, DataRate::Mbps11}) {
        for (const PreambleType preamble : {PreambleType::Long, PreambleType::Short}) {
            FrameConfig config;
            config.rate = rate;
            config.preamble = preamble;
            config.filter = FilterType::None;
            config.oversampling = 2;
            config.ramp = RampType::None;
            config.ramp_length = 0;
            config.data_bits = random_bits(8 * 40, 12);
            const FrameWaveform w = build_frame(config);
            Samples chips;
            for (std::size_t i = 0; i < w.samples.size(); i += 2) chips.push_back(w.samples[i]);

            const std::size_t preamble_bits_count = preamble_bit_count(preamble);
            const std::size_t plcp_chips = preamble_bits_count * 11 + (preamble == PreambleType::Long ? 528 : 264);
            const SampleSpan all(chips);
            Bits received = test::dsss_demodulate(all.first(preamble_bits_count * 11), DataRate::Mbps1, kStart);
            const Complex last_preamble_symbol = -all[preamble_bits_count * 11 - 1];
            const Bits header = test::dsss_demodulate(all.subspan(preamble_bits_count * 11, plcp_chips - preamble_bits_count * 11),
                                                      preamble == PreambleType::Long ? DataRate::Mbps1 : DataRate::Mbps2,
                                                      last_preamble_symbol);
            received.insert(received.end(), header.begin(), header.end());
            const Complex last_header_symbol = -all[plcp_chips - 1];
            const std::size_t psdu_chips = rate == DataRate::Mbps1   ? 320 * 11
                                           : rate == DataRate::Mbps2 ? 160 * 11
                                           : rate == DataRate::Mbps11 ? 320
                                                                       : 640;
            const SampleSpan psdu = all.subspan(plcp_chips, psdu_chips);
            const Bits data = rate == DataRate::Mbps1 || rate == DataRate::Mbps2
                                  ? test::dsss_demodulate(psdu, rate, last_header_symbol)
                                  : test::cck_demodulate(psdu, rate, last_header_symbol);
            received.insert(received.end(), data.begin(), data.end());

            // Self-synchronising descrambler; its first 7 bits depend on the seed and are skipped.
            Bits descrambled(received.size(), 0);
            for (std::size_t i = 7; i < received.size(); ++i) {
                descrambled[i] = received[i] ^ received[i - 4] ^ received[i - 7];
            }
            const Bits sent_preamble = preamble_bits(preamble);
            EXPECT_TRUE(std::equal(sent_preamble.begin() + 7, sent_preamble.end(), descrambled.begin() + 7));
            const Bits sent_header = header_bits(320, rate, 0, 0);
            EXPECT_TRUE(std::equal(sent_header.begin(), sent_header.end(),
                                   descrambled.begin() + static_cast<long>(preamble_bits_count)));
            EXPECT_TRUE(std::equal(config.data_bits.begin(), config.data_bits.end(),
                                   descrambled.begin() + static_cast<long>(preamble_bits_count + kHeaderBits)))
                << "rate " << rate_in_mbps(rate) << " preamble " << static_cast<int>(preamble);
        }
    }
}

}  // namespace
}  // namespace dot11b::phy
