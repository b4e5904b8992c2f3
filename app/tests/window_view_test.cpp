#include <optional>

#include <gtest/gtest.h>

#include "app/entry_rules.hpp"
#include "app/window_view.hpp"

namespace dot11b::app {
namespace {

// The last setting of the property, as the window ends up showing it.
std::optional<PropertyValue> final_value(const ControlSettings& settings, std::string_view tag,
                                         std::string_view property) {
    std::optional<PropertyValue> last;
    for (const auto& s : settings) {
        if (s.tag == tag && s.property == property) last = s.value;
    }
    return last;
}

TEST(WindowView, ChannelListLinesUpTheChannelNumbers) {
    const auto channels = channel_choices();
    ASSERT_EQ(channels.size(), 14u);
    EXPECT_EQ(channels[0], " 1 - 2412 MHz");
    EXPECT_EQ(channels[8], " 9 - 2452 MHz");
    EXPECT_EQ(channels[12], "13 - 2472 MHz");
    EXPECT_EQ(channels[13], "14 - 2484 MHz");
}

TEST(WindowView, FrequenciesAreShownInTheLargestUnitBelowThem) {
    const std::pair<double, FrequencyDisplay> cases[] = {
        {999, {1, 999}}, {1000, {2, 1}}, {100000, {2, 100}}, {38500000, {3, 38.5}}, {2412000000, {4, 2.412}},
    };
    for (const auto& [hz, shown] : cases) {
        const FrequencyDisplay d = frequency_display(hz);
        EXPECT_EQ(d.units, shown.units) << hz;
        EXPECT_DOUBLE_EQ(d.number, shown.number) << hz;
    }
}

TEST(WindowView, ALaterSettingOfAControlWinsOverAnEarlierOne) {
    FormatParameters p;
    p.ramp = phy::RampType::None;
    const ControlSettings view = format_parameters_view(p);
    // Framed mode enables the ramp time, no ramp then disables it again.
    EXPECT_EQ(final_value(view, "txtRampTime", "Enable"), PropertyValue(false));
    EXPECT_EQ(final_value(view, "txtIdleInterval", "Enable"), PropertyValue(true));
    EXPECT_EQ(final_value(view, "txtRampTime", "String"), PropertyValue(std::string("2")));
}

TEST(EntryNumber, ReadsOneDecimalNumberAndNothingElse) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12", 12},      {" 2.5 ", 2.5},          {"+7", 7},          {"-1e3", -1000},
        {"", std::nullopt}, {"abc", std::nullopt}, {"1,5", std::nullopt}, {"2 3", std::nullopt},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(entry_number(text), number) << text;
}

}  // namespace
}  // namespace dot11b::app
