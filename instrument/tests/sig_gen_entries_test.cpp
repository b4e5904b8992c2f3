#include <gtest/gtest.h>

#include <cmath>

#include "common/errors.hpp"
#include "instrument/sig_gen_entries.hpp"

namespace dot11b::instrument {
namespace {

TEST(SigGenEntries, NumbersAreRoundedAndClamped) {
    const std::pair<std::optional<double>, double> frequencies[] = {
        {2412e6, 2412e6}, {50e3, 100000}, {5e9, 4e9}, {std::nullopt, 4e9}, {std::nan(""), 4e9}};
    for (const auto& [entry, stored] : frequencies) EXPECT_EQ(frequency_entry(entry), stored);
    const std::pair<std::optional<double>, double> amplitudes[] = {
        {-140.4, -136}, {7.6, 8}, {-30.5, -31}, {25, 20}, {std::nullopt, 20}};
    for (const auto& [entry, stored] : amplitudes) EXPECT_EQ(amplitude_entry(entry), stored);
    EXPECT_EQ(sampling_rate_entry(0.5), 1);
    EXPECT_EQ(sampling_rate_entry(std::nullopt), 40e6);
}

TEST(SigGenEntries, WaveformTitles) {
    const std::pair<const char*, const char*> titles[] = {
        {"my wave #1", "MYWAVE#1"},
        {"   ", "BLANK"},
        {"!@%^*()", "BLANK"},
        {"abcdefghijklmnopqrstuvwxy", "ABCDEFGHIJKLMNOPQRST"},
        {"a.b.c.d.e.f.g.h.i.j.k.l.m.n.o.p.q.r.s.t.u.v", "ABCDEFGHIJKLMNOPQRST"},
        {"[x]_$&+-9", "[X]_$&+-9"},
        {"dot11b", "DOT11B"},
    };
    for (const auto& [entry, title] : titles) EXPECT_EQ(waveform_title_entry(entry), title) << entry;
}

TEST(SigGenEntries, ChannelFrequencies) {
    const std::pair<int, double> channels[] = {{1, 2412e6}, {6, 2437e6}, {10, 2457e6}, {13, 2472e6}, {14, 2484e6}};
    for (const auto& [channel, hz] : channels) EXPECT_EQ(channel_frequency(channel), hz) << channel;
    for (const int bad : {0, 15, -1}) EXPECT_THROW(channel_frequency(bad), ConfigError) << bad;
}

}  // namespace
}  // namespace dot11b::instrument
