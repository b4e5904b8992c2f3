#include <gtest/gtest.h>

#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "app/clock2str.hpp"
#include "app/compare_struct.hpp"
#include "app/num2str.hpp"
#include "common/errors.hpp"

namespace dot11b::app {
namespace {

using frame::Value;

std::vector<std::string> rows_of(std::size_t rows, std::size_t cols, std::vector<std::complex<double>> values,
                                 bool complex = false, NumberFormat format = {}) {
    return num2str(rows, cols, values, complex, format);
}

TEST(Num2Str, SingleNumbersReadAsTheWindowShowsThem) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double x;
        const char* text;
    };
    const Case cases[] = {
        {1024, "1024"},
        {0, "0"},
        {-5, "-5"},
        {-10, "-10"},
        {3.14159265358979, "3.1416"},
        {123.456, "123.456"},
        {100, "100"},
        {0.001, "0.001"},
        {1e10, "10000000000"},
        {2.5e-7, "2.5e-07"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {kInf, "Inf"},
        {-kInf, "-Inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(num2str(c.x), c.text) << c.x;
}

TEST(Num2Str, MatricesAlignInColumnsTrimmedOnTheLeft) {
    // [1 2; 30 4]: "%4d" per element, then the two blank columns removed.
    EXPECT_EQ(rows_of(2, 2, {1, 30, 2, 4}), (std::vector<std::string>{" 1   2", "30   4"}));
    EXPECT_EQ(rows_of(1, 3, {1, 2, 3}), (std::vector<std::string>{"1  2  3"}));
    EXPECT_TRUE(rows_of(0, 0, {}).empty());
}

TEST(Num2Str, ComplexNumbersShowTheImaginaryPartWithItsSign) {
    EXPECT_EQ(rows_of(1, 1, {{2, 3}}, true), std::vector<std::string>{"2+3i"});
    EXPECT_EQ(rows_of(1, 1, {{1, -2.5}}, true), std::vector<std::string>{"1-2.5i"});
    EXPECT_EQ(rows_of(1, 1, {{4, 0}}, true), std::vector<std::string>{"4+0i"});
}

TEST(Num2Str, PrecisionAndFormatArguments) {
    EXPECT_EQ(rows_of(1, 1, {3.14159265358979}, false, 8), std::vector<std::string>{"3.1415927"});
    EXPECT_EQ(rows_of(1, 1, {3.14159265358979}, false, std::string("%10.3f")), std::vector<std::string>{"3.142"});
    EXPECT_EQ(rows_of(1, 1, {42}, false, std::string("%6d%%")), std::vector<std::string>{"42%"});
    EXPECT_EQ(rows_of(1, 1, {2.5}, false, std::string("%8d")), std::vector<std::string>{"2.500000e+00"});
    struct Case {
        const char* format;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "'abc' is an invalid format."},       {"%f", "Format must contain field width."},
        {"%-8f", "Format must contain field width."}, {"%10s", "'%10s' is an invalid format."},
        {"%10n", "'%10n' is an invalid format."},     {"%5d %5d", "'%5d %5d' is an invalid format."},
    };
    for (const auto& c : cases) {
        try {
            rows_of(1, 1, {1}, false, std::string(c.format));
            ADD_FAILURE() << c.format;
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(Clock2Str, WritesDayMonthYearAndTime) {
    const std::vector<double> afternoon = {2002, 10, 7, 14, 5, 9.7};
    const std::vector<double> morning = {2002, 10, 7, 9, 5, 3};
    const std::vector<double> new_year = {2024, 1, 31, 0, 0, 59.999};
    EXPECT_EQ(clock2str(afternoon), "07OCT2002 14:05:09");
    EXPECT_EQ(clock2str(morning), "07OCT2002 9:05:03");
    EXPECT_EQ(clock2str(new_year), "31JAN2024 0:00:59");
    EXPECT_THROW(clock2str(std::vector<double>{2002, 13, 7, 14, 5, 9}), ConfigError);
    EXPECT_THROW(clock2str(std::vector<double>{2002, 10, 7, 14, 5}), ConfigError);
}

Value record(std::vector<std::pair<std::string, Value>> fields) {
    std::vector<std::string> names;
    for (const auto& field : fields) names.push_back(field.first);
    Value value = Value::structure(names);
    for (auto& field : fields) value.set_field(field.first, field.second);
    return value;
}

TEST(CompareStruct, ComparesFieldByFieldInOrder) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    const Value base = record({{"a", Value::row({1, kNan})},
                               {"b", Value::text("x")},
                               {"c", Value()},
                               {"d", record({{"e", Value::scalar(2)}})}});
    struct Case {
        const char* name;
        Value other;
        bool equal;
    };
    const Case cases[] = {
        {"itself", base, true},
        {"empty kinds",
         record({{"a", Value::row({1, kNan})},
                 {"b", Value::text("x")},
                 {"c", Value::text("")},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         true},
        {"complex with zero imaginary part",
         record({{"a", Value::complex_row({{1, 0}, {kNan, 0}})},
                 {"b", Value::text("x")},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         true},
        {"NaN elsewhere",
         record({{"a", Value::row({kNan, 1})},
                 {"b", Value::text("x")},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"field order",
         record({{"b", Value::text("x")},
                 {"a", Value::row({1, kNan})},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"nested value",
         record({{"a", Value::row({1, kNan})},
                 {"b", Value::text("x")},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(3)}})}}),
         false},
        {"text",
         record({{"a", Value::row({1, kNan})},
                 {"b", Value::text("y")},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"one empty",
         record({{"a", Value::row({1, kNan})},
                 {"b", Value::text("x")},
                 {"c", Value::scalar(0)},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"size",
         record({{"a", Value::matrix(2, 1, {1, kNan})},
                 {"b", Value::text("x")},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"kind",
         record({{"a", Value::row({1, kNan})},
                 {"b", Value::scalar(120)},
                 {"c", Value()},
                 {"d", record({{"e", Value::scalar(2)}})}}),
         false},
        {"fewer fields", record({{"a", Value::row({1, kNan})}}), false},
        {"not a record", Value::scalar(1), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare_struct(base, c.other), c.equal) << c.name;
        EXPECT_EQ(compare_struct(c.other, base), c.equal) << c.name;
    }
    // Cell arrays never compare equal, not even to themselves.
    const Value with_cells = record({{"a", Value::cell(1, 1)}});
    EXPECT_FALSE(compare_struct(with_cells, with_cells));
}

}  // namespace
}  // namespace dot11b::app
