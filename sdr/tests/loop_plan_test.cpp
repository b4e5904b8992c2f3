#include "sdr/loop_plan.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/errors.hpp"

namespace dot11b::sdr {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A periodic band-limited signal as a sum of tones whole in the period, so
// its value is known at every instant; frequencies in cycles per period.
struct ToneSum {
    std::size_t period;
    std::vector<std::pair<int, Complex>> tones;

    Complex at(double instant) const {
        Complex sum = 0;
        for (const auto& [cycles, amplitude] : tones) {
            sum += amplitude * std::polar(1.0, kTwoPi * cycles * instant / static_cast<double>(period));
        }
        return sum;
    }
    Samples sampled() const {
        Samples s(period);
        for (std::size_t k = 0; k < period; ++k) s[k] = at(static_cast<double>(k));
        return s;
    }
};

// A Gaussian tone burst in a silent period; its spectrum ends far inside
// the passband, so its samples are its band-limited values.
struct Burst {
    std::size_t period;
    double centre;
    double width;   // standard deviation in samples
    double cycles;  // per sample

    Complex at(double instant) const {
        const double n = static_cast<double>(period);
        Complex sum = 0;
        for (double shift : {-n, 0.0, n}) {  // the period's neighbours reach into it
            const double t = instant + shift - centre;
            sum += std::exp(-t * t / (2 * width * width)) * std::polar(1.0, kTwoPi * cycles * t);
        }
        return sum;
    }
    Samples sampled() const {
        Samples s(period);
        for (std::size_t k = 0; k < period; ++k) s[k] = at(static_cast<double>(k));
        return s;
    }
};

// RMS of (loop / scale - expected) relative to the RMS of expected.
template <typename Signal>
double relative_error(const LoopPlan& plan, const Signal& signal, double step) {
    double error = 0;
    double power = 0;
    for (std::size_t k = 0; k < plan.samples.size(); ++k) {
        const Complex expected = signal.at(plan.start + static_cast<double>(k) * step);
        error += std::norm(plan.samples[k] / plan.scale - expected);
        power += std::norm(expected);
    }
    return std::sqrt(error / power);
}

double peak(const Samples& samples) {
    double p = 0;
    for (const Complex& s : samples) p = std::max(p, std::abs(s));
    return p;
}

TEST(LoopPlan, WholePeriodsMatchTheBandLimitedSignal) {
    struct Case {
        std::size_t period;
        double waveform_rate;
        double device_rate;
        std::size_t periods;
        std::vector<std::pair<int, Complex>> tones;
    };
    const std::vector<Case> cases = {
        {1000, 22e6, 25e6, 11, {{3, 1.0}, {-170, {0.3, 0.4}}, {340, 0.5}}},
        {770, 38.5e6, 20e6, 1, {{7, 1.0}, {-100, {0.0, 0.7}}, {110, 0.2}}},
        {1001, 44e6, 30.72e6, 25, {{1, 1.0}, {-200, 0.5}, {150, {-0.4, 0.1}}}},
        {500, 20e6, 20e6, 1, {{9, 1.0}, {-240, 0.25}}},
    };
    for (const Case& c : cases) {
        const ToneSum signal{c.period, c.tones};
        const LoopPlan plan = plan_loop(signal.sampled(), c.waveform_rate, c.device_rate);
        SCOPED_TRACE(plan.description());
        EXPECT_EQ(plan.kind, LoopKind::whole_periods);
        EXPECT_EQ(plan.periods, c.periods);
        const double exact = static_cast<double>(c.periods * c.period) * c.device_rate / c.waveform_rate;
        EXPECT_EQ(static_cast<double>(plan.samples.size()), exact);
        EXPECT_DOUBLE_EQ(plan.start, 0.0);
        // The loop repeated is the signal at the device rate: comparing one
        // loop against instants k * step covers the seam, as the signal is periodic.
        EXPECT_LT(relative_error(plan, signal, c.waveform_rate / c.device_rate), 1e-3);
        EXPECT_NEAR(peak(plan.samples), 1.0, 1e-12);
    }
}

TEST(LoopPlan, IdleIntervalAbsorbsAFractionThatDoesNotRepeatAway) {
    // 30.72 / 22 is 384 / 275: a period of 997 samples (prime) is whole only
    // after 275 periods, beyond the limit.
    const Burst burst{997, 300.0, 12.0, 0.05};
    const double waveform_rate = 22e6;
    const double device_rate = 30.72e6;
    const LoopPlan plan = plan_loop(burst.sampled(), waveform_rate, device_rate);
    SCOPED_TRACE(plan.description());
    EXPECT_EQ(plan.kind, LoopKind::idle_absorbs_fraction);
    EXPECT_EQ(plan.periods, 1U);
    EXPECT_EQ(plan.samples.size(), static_cast<std::size_t>(std::llround(997 * 30.72 / 22.0)));
    EXPECT_NE(plan.description().find("idle interval absorbs"), std::string::npos);
    EXPECT_LT(relative_error(plan, burst, waveform_rate / device_rate), 1e-3);
    // The seam sits in the silence: the loop starts and ends far from the burst.
    const double start = std::fmod(plan.start, 997.0);
    EXPECT_GT(std::abs(start - burst.centre), 300.0);
    EXPECT_LT(std::abs(plan.samples.front()), 1e-6);
    EXPECT_LT(std::abs(plan.samples.back()), 1e-6);
}

TEST(LoopPlan, LongPeriodsLetTheIdleAbsorbTheFractionRatherThanRepeat) {
    // 11 periods of a million samples would be 12.5 million device samples.
    const Burst burst{1000000, 5000.0, 12.0, 0.05};
    const LoopPlan plan = plan_loop(burst.sampled(), 22e6, 25e6);
    EXPECT_EQ(plan.kind, LoopKind::idle_absorbs_fraction);
    EXPECT_EQ(plan.samples.size(), 1136364U);
}

TEST(LoopPlan, RefusesWhatCannotLoop) {
    const Burst short_idle{997, 498.0, 150.0, 0.05};  // no silent run long enough
    const struct {
        const char* name;
        Samples period;
        double waveform_rate;
        double device_rate;
        const char* expected;
    } cases[] = {
        {"empty", {}, 22e6, 20e6, "holds no samples"},
        {"silent", Samples(100), 22e6, 20e6, "silent"},
        {"no rate", Samples(100, 1.0), 0, 20e6, "above 0 Hz"},
        {"short idle", short_idle.sampled(), 22e6, 30.72e6, "too short to absorb"},
    };
    for (const auto& c : cases) {
        try {
            plan_loop(c.period, c.waveform_rate, c.device_rate);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const ConfigError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace dot11b::sdr
