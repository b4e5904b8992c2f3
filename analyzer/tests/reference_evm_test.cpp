#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/analysis.hpp"
#include "analyzer/reference_filter.hpp"
#include "analyzer/tests/test_waveforms.hpp"
#include "app/transmit_pulse.hpp"
#include "common/errors.hpp"

namespace dot11b::analyzer {
namespace {

ReferenceFilter matching(const app::FormatParameters& p) {
    const waveform_files::PulseFilter f = app::transmit_pulse(p);
    return described_filter(f.type, f.factor, f.length_symbols).value();
}

app::FormatParameters shaped(double oversampling, phy::FilterType type, double factor) {
    app::FormatParameters p = test::short_frame(phy::DataRate::Mbps11, 100, oversampling);
    p.filter = type;
    p.filter_factor = factor;
    return p;
}

BurstAnalysis analysed(const test::Waveform& w, std::optional<ReferenceFilter> filter) {
    AnalysisOptions options;
    options.reference_filter = filter;
    return analyse(w.samples, w.sample_rate_hz, options).bursts.at(0);
}

TEST(ReferenceEvm, IdealWaveformsMeasureBelowOnePercentWithTheMatchingFilter) {
    struct Shaping {
        phy::FilterType type;
        double factor;
    };
    const std::vector<Shaping> shapings = {{phy::FilterType::None, 0.5},       {phy::FilterType::Gaussian, 0.3},
                                           {phy::FilterType::Gaussian, 0.5},   {phy::FilterType::Gaussian, 1},
                                           {phy::FilterType::RootCosine, 0.22}, {phy::FilterType::RootCosine, 0.5},
                                           {phy::FilterType::RootCosine, 1}};
    for (const double oversampling : {2.0, 2.5, 3.0, 3.5}) {
        for (const Shaping& s : shapings) {
            const app::FormatParameters p = shaped(oversampling, s.type, s.factor);
            const BurstAnalysis b = analysed(test::generate(p), matching(p));
            ASSERT_TRUE(b.accuracy) << oversampling;
            EXPECT_LT(b.evm->overall.rms, 0.01) << oversampling << " " << reference_filter_text(matching(p));
            EXPECT_LT(b.accuracy->leakage_dbc, -30);
        }
    }
}

TEST(ReferenceEvm, TheReferenceMustMatchAndAnUnnamedUnfilteredCaptureFitsIt) {
    for (const double oversampling : {2.0, 2.5, 3.0, 3.5}) {
        const test::Waveform unfiltered = test::generate(shaped(oversampling, phy::FilterType::None, 0.5));
        const BurstAnalysis fitted = analysed(unfiltered, std::nullopt);
        EXPECT_LT(fitted.evm->overall.rms, 0.03) << oversampling;
        EXPECT_EQ(fitted.accuracy->filter_source, FilterSource::Fitted);
        // A Gaussian waveform against rectangular chips, and the other way round.
        const test::Waveform gaussian = test::generate(shaped(oversampling, phy::FilterType::Gaussian, 0.5));
        EXPECT_GT(analysed(gaussian, ReferenceFilter{}).evm->overall.rms, 0.05) << oversampling;
        EXPECT_GT(analysed(unfiltered, parse_reference_filter("gaussian:0.5")).evm->overall.rms, 0.05) << oversampling;
    }
}

TEST(ReferenceEvm, WhiteNoiseMeasuresItsSnr) {
    // The noise power against the burst's mean power over its samples.
    for (const double snr_db : {5.0, 20.0, 35.0}) {
        const app::FormatParameters p = test::short_frame(phy::DataRate::Mbps2, 200, 3);
        test::Waveform w = test::generate(p);
        double power = 0;
        for (const Complex x : w.samples) power += std::norm(x);
        power /= static_cast<double>(w.samples.size() - p.idle_samples);
        test::add_noise(w.samples, power * std::pow(10, -snr_db / 10), 7);
        const BurstAnalysis b = analysed(w, matching(p));
        ASSERT_TRUE(b.accuracy) << snr_db;
        EXPECT_NEAR(b.evm->overall.rms / std::pow(10, -snr_db / 20), 1, 0.1) << snr_db;
        EXPECT_NEAR(b.accuracy->mer_db, snr_db, 1) << snr_db;
    }
}

TEST(ReferenceFilterText, NamesEveryFormAndRefusesTheRest) {
    EXPECT_EQ(parse_reference_filter("none"), ReferenceFilter{});
    EXPECT_EQ(reference_filter_text(parse_reference_filter("gaussian")), "gaussian:0.5:6");
    EXPECT_EQ(reference_filter_text(parse_reference_filter("gaussian:0.3")), "gaussian:0.3:6");
    EXPECT_EQ(reference_filter_text(parse_reference_filter("root-cosine:0.22:3.5")), "root-cosine:0.22:3.5");
    for (const char* bad : {"", "none:1", "gauss", "gaussian:", "gaussian:0", "gaussian:x", "root-cosine:1.5",
                            "root-cosine:-0.2", "gaussian:0.5x", "gaussian:0.5:", "gaussian:0.5:0",
                            "root-cosine:0.5:65", "gaussian:0.5:6:1"}) {
        try {
            parse_reference_filter(bad);
            ADD_FAILURE() << bad;
        } catch (const ConfigError& e) {
            EXPECT_NE(std::string(e.what()).find("allowed: none, gaussian[:BT[:SPAN]]"), std::string::npos) << bad;
        }
    }
    EXPECT_FALSE(described_filter("gaussian", 0, 3));
    EXPECT_FALSE(described_filter("raised-cosine", 0.5, 3));
    EXPECT_EQ(described_filter("root-cosine", 0.35, 6)->span_chips, 6);
}

TEST(ReferenceEvm, TheChipViewsShowTheChipsOfTheReportedEvm) {
    // Rectangular chips at 2 samples per chip ring at the chip instants; the
    // views must show the reference measurement, not that ringing.
    const test::Waveform w = test::generate(shaped(2, phy::FilterType::None, 0.5));
    for (const auto& filter : {std::optional<ReferenceFilter>{ReferenceFilter{}}, std::optional<ReferenceFilter>{}}) {
        const BurstAnalysis b = analysed(w, filter);
        ASSERT_TRUE(b.chips && b.evm);
        ASSERT_EQ(b.chips->error.size(), b.evm->chips);
        double sum = 0;
        for (std::size_t k = 0; k < b.chips->error.size(); ++k) {
            sum += b.chips->error[k] * b.chips->error[k];
            EXPECT_NEAR(std::abs(b.chips->received[k] - b.chips->ideal[k]), b.chips->error[k], 1e-12);
        }
        EXPECT_NEAR(std::sqrt(sum / static_cast<double>(b.chips->error.size())), b.evm->overall.rms, 1e-9);
        EXPECT_LT(b.evm->overall.rms, 0.03);
    }
}

}  // namespace
}  // namespace dot11b::analyzer
