#include <gtest/gtest.h>

#include <complex>
#include <stdexcept>
#include <string>

#include "frame/value.hpp"

namespace dot11b::frame {
namespace {

TEST(Value, MatricesAreColumnMajorAndEmptyByDefault) {
    const Value empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.kind(), Value::Kind::Double);

    const Value m = Value::matrix(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m.rows(), 2U);
    EXPECT_EQ(m.cols(), 3U);
    EXPECT_EQ(m.reals()[2], 3);  // row 1, column 2
    EXPECT_THROW(Value::matrix(2, 2, {1, 2, 3}), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(m.complexes()), std::logic_error);

    const Value empty_row = Value::row({});
    EXPECT_TRUE(empty_row.empty());
    EXPECT_EQ(empty_row.rows(), 1U);
}

TEST(Value, CopiesAreIndependent) {
    Value a = Value::row({1, 2, 3});
    Value b = a;
    b.reals()[0] = 9;
    EXPECT_EQ(a.reals()[0], 1);

    Value s = Value::structure({"x"});
    s.set_field("x", a);
    Value t = s;
    t.field("x").reals()[1] = 7;
    EXPECT_EQ(s.field("x").reals()[1], 2);
}

TEST(Value, TextIsStoredAsSixteenBitCharacters) {
    const struct {
        std::string utf8;
        std::size_t units;
    } cases[] = {{"dot11b - Format 1.0", 19}, {"", 0}, {"\xC2\xB5s", 2}, {"\xE2\x82\xAC", 1}, {"\xF0\x9F\x93\xA1", 2}};
    for (const auto& c : cases) {
        const Value v = Value::text(c.utf8);
        EXPECT_EQ(v.kind(), Value::Kind::Char);
        EXPECT_EQ(v.chars().size(), c.units) << c.utf8;
        EXPECT_EQ(v.text(), c.utf8);
    }
    // A malformed byte becomes the replacement character instead of being dropped.
    EXPECT_EQ(Value::text("a\xFF" "b").chars(), std::u16string(u"a\uFFFDb"));
}

TEST(Value, StructureFieldsKeepTheirOrderAcrossElements) {
    Value s = Value::structure({"Contents", "Size"}, 1, 2);
    s.set_field("Size", Value::scalar(2), 1);
    s.set_field("Active", Value::scalar(1), 0);  // a new field widens every element
    EXPECT_EQ(s.field_names(), (std::vector<std::string>{"Contents", "Size", "Active"}));
    EXPECT_EQ(s.field("Size", 1), Value::scalar(2));
    EXPECT_EQ(s.field("Active", 0), Value::scalar(1));
    EXPECT_TRUE(s.field("Active", 1).empty());
    EXPECT_TRUE(s.field("Contents", 1).empty());
    EXPECT_THROW(static_cast<void>(s.field("Missing")), std::out_of_range);
    EXPECT_THROW(static_cast<void>(s.field("Size", 2)), std::out_of_range);
    EXPECT_THROW(Value::structure({"a", "a"}), std::invalid_argument);

    // Field order is part of equality: files and comparisons depend on it.
    Value ab = Value::structure({"a", "b"});
    Value ba = Value::structure({"b", "a"});
    EXPECT_NE(ab, ba);
}

TEST(Value, CellsHoldAnyValues) {
    Value c = Value::cell(1, 2);
    c.cell_at(0) = Value::text("x");
    c.cell_at(1) = Value::complex_scalar({1, -1});
    EXPECT_EQ(c.cell_at(0).text(), "x");
    EXPECT_EQ(c.cell_at(1).complexes()[0], std::complex<double>(1, -1));
    EXPECT_THROW(static_cast<void>(c.cell_at(2)), std::out_of_range);
    EXPECT_NE(Value::scalar(1), Value::complex_scalar(1));
}

}  // namespace
}  // namespace dot11b::frame
