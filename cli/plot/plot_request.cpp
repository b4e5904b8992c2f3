#include "cli/plot/plot_request.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

constexpr std::array<std::pair<std::string_view, PlotKind>, 9> kKinds = {{
    {"spectrum", PlotKind::spectrum},
    {"ccdf", PlotKind::ccdf},
    {"iq", PlotKind::iq},
    {"iq-overlay", PlotKind::iq_overlay},
    {"eye", PlotKind::eye},
    {"scatter", PlotKind::scatter},
    {"waterfall", PlotKind::waterfall},
    {"constellation", PlotKind::constellation},
    {"evm", PlotKind::evm},
}};

constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 10000;

std::string lower_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

PlotRequest parse_plot_request(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        throw ConfigError("--plot: expected KIND:OUT (for example spectrum:out/spectrum.png), got \"" +
                          std::string(text) + "\"");
    }
    const std::string_view kind = text.substr(0, colon);
    const auto found = std::find_if(kKinds.begin(), kKinds.end(), [&](const auto& entry) { return entry.first == kind; });
    if (found == kKinds.end()) {
        throw ConfigError("--plot: unknown kind \"" + std::string(kind) +
                          "\"; allowed are spectrum, ccdf, iq, iq-overlay, eye, scatter, waterfall, constellation, evm");
    }
    const std::filesystem::path output(text.substr(colon + 1));
    const std::string extension = lower_case(output.extension().string());
    PlotFormat format;
    if (extension == ".png") {
        format = PlotFormat::png;
    } else if (extension == ".pdf") {
        format = PlotFormat::pdf;
    } else if (extension == ".csv") {
        format = PlotFormat::csv;
    } else {
        throw ConfigError("--plot: " + output.string() + " has the extension \"" + output.extension().string() +
                          "\"; allowed are .png, .pdf, .csv");
    }
    return {found->second, output, format};
}

QSize parse_plot_size(std::string_view text) {
    const std::size_t x = text.find('x');
    int width = 0;
    int height = 0;
    const bool parsed = x != std::string_view::npos &&
                        std::from_chars(text.data(), text.data() + x, width).ptr == text.data() + x &&
                        std::from_chars(text.data() + x + 1, text.data() + text.size(), height).ptr ==
                            text.data() + text.size();
    if (!parsed || width < kSmallestSide || height < kSmallestSide || width > kLargestSide || height > kLargestSide) {
        throw ConfigError("--plot-size: expected WxH with each side from 16 to 10000 pixels, got \"" + std::string(text) +
                          "\"");
    }
    return {width, height};
}

}  // namespace dot11b::cli
