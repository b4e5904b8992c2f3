// The Frames field of the Framing group: a period of several frames, as the
// projected length and the calculated waveform show.

#include <cmath>

#include "app/gui/tests/studio_fixture.hpp"
#include "frame/globals.hpp"

namespace dot11b::gui::test {
namespace {

double samples_in(const QString& text) { return text.section(' ', 0, 0).toDouble(); }

double waveform_length() { return static_cast<double>(frame::global(frame::Global::waveform).numel()); }

TEST_F(Studio, FramesFieldRepeatsTheFrameAndIsClampedKeptAndFramedOnly) {
    enter("txtDataLength", "50");
    const double single = samples_in(text("txtNumberOfSamples"));
    ASSERT_GT(single, 0);

    enter("txtFrames", "3");
    EXPECT_EQ(text("txtFrames"), "3");
    EXPECT_EQ(samples_in(text("txtNumberOfSamples")), 3 * single);
    click("pbCalculate");
    EXPECT_EQ(waveform_length(), 3 * single);

    const struct {
        const char* entry;
        const char* shown;
    } kEntries[] = {{"2.6", "3"}, {"5000", "1000"}, {"0", "1"}, {"many", "1"}, {"7", "7"}};
    for (const auto& c : kEntries) {
        enter("txtFrames", c.entry);
        EXPECT_EQ(text("txtFrames"), c.shown) << c.entry;
        EXPECT_EQ(parameters().frames, static_cast<std::size_t>(std::stoi(c.shown))) << c.entry;
    }

    // Unframed, a period is one stretch of chips: the field shows 1 and is off.
    click("tbGenerationMode");
    EXPECT_FALSE(enabled("txtFrames"));
    EXPECT_EQ(text("txtFrames"), "1");
    click("pbCalculate");
    EXPECT_GT(waveform_length(), 0);
}

}  // namespace
}  // namespace dot11b::gui::test
