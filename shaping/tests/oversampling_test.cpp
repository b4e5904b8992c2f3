#include <gtest/gtest.h>

#include <vector>

#include "common/errors.hpp"
#include "shaping/oversampling.hpp"

namespace dot11b::shaping {
namespace {

TEST(Upsample, FollowsEverySampleWithZeros) {
    EXPECT_EQ(upsample(Samples{1, 2, 3}, 3), Samples({1, 0, 0, 2, 0, 0, 3, 0, 0}));
    const Samples x = {{1, -2}, {0.5, 3}};
    EXPECT_EQ(upsample(x, 1), x);
    EXPECT_TRUE(upsample(Samples{}, 4).empty());
    EXPECT_THROW(upsample(x, 0), ConfigError);
    EXPECT_THROW(upsample(x, -2), ConfigError);
}

TEST(Extendvector, RepeatsThePatternCyclicallyToTheExactLength) {
    const std::vector<double> pattern = {1, 2, 3};
    const struct {
        std::size_t length;
        std::vector<double> expected;
    } kCases[] = {{7, {1, 2, 3, 1, 2, 3, 1}}, {2, {1, 2}}, {3, {1, 2, 3}}, {0, {}}, {6, {1, 2, 3, 1, 2, 3}}};
    for (const auto& c : kCases) EXPECT_EQ(extendvector(pattern, c.length), c.expected) << c.length;

    EXPECT_EQ(extendvector(Samples{{0, 1}, {2, 0}}, 3), Samples({{0, 1}, {2, 0}, {0, 1}}));
    EXPECT_TRUE(extendvector(std::vector<double>{}, 0).empty());
    EXPECT_THROW(extendvector(std::vector<double>{}, 5), ConfigError);
}

}  // namespace
}  // namespace dot11b::shaping
