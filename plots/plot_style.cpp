#include "plots/plot_style.hpp"

#include <optional>
#include <string>

#include "common/errors.hpp"

namespace dot11b::plots {
namespace {

std::optional<Rgb> colour_of(char letter) {
    switch (letter) {
        case 'b': return Rgb{0, 0, 1};
        case 'g': return Rgb{0, 1, 0};
        case 'r': return Rgb{1, 0, 0};
        case 'c': return Rgb{0, 1, 1};
        case 'm': return Rgb{1, 0, 1};
        case 'y': return Rgb{1, 1, 0};
        case 'k': return Rgb{0, 0, 0};
        case 'w': return Rgb{1, 1, 1};
        default: return std::nullopt;
    }
}

std::optional<Marker> marker_of(char letter) {
    switch (letter) {
        case '.': return Marker::point;
        case 'o': return Marker::circle;
        case 'x': return Marker::cross;
        case '+': return Marker::plus;
        case '*': return Marker::star;
        case 's': return Marker::square;
        case 'd': return Marker::diamond;
        default: return std::nullopt;
    }
}

}  // namespace

PlotStyle parse_plot_style(std::string_view text) {
    PlotStyle style;
    std::optional<LineStyle> line;
    bool has_marker = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const std::string_view rest = text.substr(k);
        if (rest.starts_with("--")) {
            line = LineStyle::dashed;
            ++k;
        } else if (rest.starts_with("-.")) {
            line = LineStyle::dash_dot;
            ++k;
        } else if (rest.front() == '-') {
            line = LineStyle::solid;
        } else if (rest.front() == ':') {
            line = LineStyle::dotted;
        } else if (const auto colour = colour_of(rest.front())) {
            style.colour = *colour;
        } else if (const auto marker = marker_of(rest.front())) {
            style.marker = *marker;
            has_marker = true;
        } else {
            throw ConfigError("plot string \"" + std::string(text) +
                              "\" is not a plot style (colours b g r c m y k w, lines - -- : -., "
                              "markers . o x + * s d)");
        }
    }
    style.line = line ? *line : (has_marker ? LineStyle::none : LineStyle::solid);
    return style;
}

}  // namespace dot11b::plots
