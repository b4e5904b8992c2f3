#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

#include "common/errors.hpp"
#include "plots/plot_style.hpp"
#include "plots/plot_table.hpp"

namespace dot11b::plots {
namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream stream(line);
    for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
    return cells;
}

TEST(PlotTable, CsvReadsBackToTheSameNumbers) {
    EyeDiagram eye;
    eye.time = {-0.5, 1.0 / 3, NAN, 2e-300};
    eye.traces = {{0.1, -7.25e12, NAN, 3}, {std::nextafter(1.0, 2.0), 0, NAN, -0.0}};
    std::ostringstream out;
    write_csv(out, eye_table(eye, "Time (chips)"));

    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "Time (chips),In-Phase (V),Quadrature (V)");
    const PlotTable table = eye_table(eye, "Time (chips)");
    for (std::size_t row = 0; std::getline(in, line); ++row) {
        const auto cells = split(line);
        ASSERT_EQ(cells.size(), 3U);
        for (std::size_t c = 0; c < 3; ++c) {
            double value = 0;
            std::from_chars(cells[c].data(), cells[c].data() + cells[c].size(), value);
            const double expected = table.columns[c][row];
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(value)) << cells[c];
            } else {
                EXPECT_EQ(value, expected) << cells[c];
            }
        }
    }
}

TEST(PlotTable, HeadersNameTheColumnsWithTheirUnits) {
    Spectrum spectrum;
    spectrum.frequency_units = "MHz";
    EXPECT_EQ(spectrum_table(spectrum).headers, (std::vector<std::string>{"Frequency (MHz)", "LogMag (dB)"}));
    Waterfall view;
    view.bins = 2;
    view.snapshots = 2;
    view.frequency = {-1, 1};
    view.time = {0, 5};
    view.magnitude_db = {-3, 0, -10, -20};
    view.time_units = "uS";
    view.frequency_units = "kHz";
    const PlotTable table = waterfall_table(view);
    EXPECT_EQ(table.headers, (std::vector<std::string>{"Time (uS)", "Frequency (kHz)", "LogMag (dB)"}));
    EXPECT_EQ(table.columns[0], (std::vector<double>{0, 0, 5, 5}));
    EXPECT_EQ(table.columns[1], (std::vector<double>{-1, 1, -1, 1}));
}

TEST(PlotStyle, ColourLineAndMarker) {
    struct Case {
        const char* text;
        PlotStyle style;
    };
    const Case cases[] = {
        {"b-", {{0, 0, 1}, LineStyle::solid, Marker::none}},
        {"b.", {{0, 0, 1}, LineStyle::none, Marker::point}},
        {"c-", {{0, 1, 1}, LineStyle::solid, Marker::none}},
        {"r--o", {{1, 0, 0}, LineStyle::dashed, Marker::circle}},
        {":k", {{0, 0, 0}, LineStyle::dotted, Marker::none}},
        {"", {{0, 0, 1}, LineStyle::solid, Marker::none}},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_plot_style(c.text), c.style) << c.text;
    EXPECT_THROW(parse_plot_style("bq"), ConfigError);
}

}  // namespace
}  // namespace dot11b::plots
