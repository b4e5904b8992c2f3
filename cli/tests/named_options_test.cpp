#include <gtest/gtest.h>

#include <vector>

#include "cli/gen/run_configuration.hpp"
#include "cli/gen/waveform_options.hpp"
#include "common/errors.hpp"
#include "common/testing/error_text.hpp"

namespace dot11b::cli {
namespace {

using test::error_text;

app::FormatParameters configured(const std::vector<NamedOption>& named,
                                 std::optional<std::vector<std::uint8_t>> payload = std::nullopt) {
    return configure_run(parse_waveform_options(named, std::move(payload))).parameters;
}

TEST(NamedOptions, ReachTheWaveformOptionsAsTyped) {
    const app::FormatParameters p = configured({{"rate", {"2"}},
                                                {"mirror", {}},
                                                {"mac", {"Address1=00:A0:C9:12:34:56", "SeqCntrl=0010"}},
                                                {"mac-off", {"Address4"}}});
    EXPECT_EQ(p.rate, phy::DataRate::Mbps2);
    EXPECT_TRUE(p.mirror_spectrum);
    // First octet first on air: the least significant of the header window's number.
    EXPECT_EQ(p.mac_header.contents[mac::MacField::Address1].contents, 0x563412C9A000U);
    EXPECT_EQ(p.mac_header.contents[mac::MacField::SeqCntrl].contents, 0x10U);
    EXPECT_FALSE(p.mac_header.contents[mac::MacField::Address4].active);
}

TEST(NamedOptions, RefusedNamesAndValuesKeepTheCommandLinesWords) {
    EXPECT_THROW(configured({{"output", {"x.wfm"}}}), UnknownOption);
    EXPECT_THROW(configured({{"-rate", {"2"}}}), UnknownOption);
    // A value that begins with a dash stays the option's value.
    EXPECT_EQ(error_text<ConfigError>([] { configured({{"ramp-time", {"-1"}}}); }),
              "--ramp-time: -1 is outside 0 to 1000 microseconds");
}

// Octets are user data as a payload file holds them: each octet's least
// significant bit is sent first.
TEST(NamedOptions, PayloadOctetsAreTheUserData) {
    const app::FormatParameters p = configured({}, std::vector<std::uint8_t>{0x01, 0x80});
    EXPECT_EQ(p.data_source, mac::PayloadSource::UserData);
    EXPECT_EQ(p.data_length, 2U);
    EXPECT_EQ(p.data_source_bits, Bits({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_THROW(configured({{"length", {"2"}}}, std::vector<std::uint8_t>{1, 2}), ConfigError);
    EXPECT_THROW(configured({}, std::vector<std::uint8_t>(2313)), ConfigError);
}

}  // namespace
}  // namespace dot11b::cli
