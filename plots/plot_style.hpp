#pragma once
// Plot strings such as "b-" (blue line), "b." (blue dots) and "c-"
// (cyan line): a colour letter, a line style and a marker, each optional.

#include <string_view>

namespace dot11b::plots {

struct Rgb {
    double red, green, blue;  // 0..1
    bool operator==(const Rgb&) const = default;
};

enum class LineStyle { none, solid, dashed, dotted, dash_dot };
enum class Marker { none, point, circle, cross, plus, star, square, diamond };

struct PlotStyle {
    Rgb colour{0, 0, 1};
    LineStyle line = LineStyle::solid;
    Marker marker = Marker::none;
    bool operator==(const PlotStyle&) const = default;
};

// Colours b g r c m y k w; lines - -- : -.; markers . o x + * s d. A marker
// without a line style draws no line. Throws ConfigError naming the text otherwise.
PlotStyle parse_plot_style(std::string_view text);

}  // namespace dot11b::plots
