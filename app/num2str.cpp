#include "app/num2str.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

#include "common/errors.hpp"

namespace dot11b::app {
namespace {

// One conversion of a printf-style format, with the text around it.
struct Conversion {
    std::string prefix;
    std::string flags;
    int width = 0;
    int precision = -1;  // none
    char type = 'g';
    std::string suffix;
    bool has_d = false;  // the format text holds a "d": integers above 2^31 - 1 get a leading blank

    bool is_integer() const { return type == 'd' || type == 'i' || type == 'u'; }
};

[[noreturn]] void invalid_format(const std::string& format) {
    throw ConfigError("'" + format + "' is an invalid format.");
}

// Literal text with "%%" read as "%".
std::string literal(std::string_view text, const std::string& format) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 1 >= text.size() || text[i + 1] != '%') invalid_format(format);
            ++i;
        }
        out.push_back(text[i]);
    }
    return out;
}

int read_number(std::string_view text, std::size_t& i) {
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = std::min(value * 10 + (text[i] - '0'), 1000);
        ++i;
    }
    return value;
}

// Accepts exactly one numeric conversion with a field width right after "%".
Conversion parse_format(const std::string& format) {
    std::size_t start = std::string::npos;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        start = i;
        break;
    }
    if (format.find('%') == std::string::npos) invalid_format(format);
    if (start == std::string::npos) invalid_format(format);
    if (start + 1 >= format.size() || format[start + 1] < '0' || format[start + 1] > '9') {
        throw ConfigError("Format must contain field width.");
    }
    Conversion c;
    c.prefix = literal(std::string_view(format).substr(0, start), format);
    std::size_t i = start + 1;
    while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) {
        c.flags.push_back(format[i++]);
    }
    c.width = read_number(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        c.precision = read_number(format, i);
    }
    if (i >= format.size() || std::string_view("diufFeEgG").find(format[i]) == std::string_view::npos) {
        invalid_format(format);
    }
    c.type = format[i++];
    c.suffix = literal(std::string_view(format).substr(i), format);
    c.has_d = format.find('d') != std::string::npos;
    return c;
}

std::string pad(std::string text, const Conversion& c) {
    if (static_cast<int>(text.size()) >= c.width) return text;
    const std::string blanks(static_cast<std::size_t>(c.width) - text.size(), ' ');
    return c.flags.find('-') != std::string::npos ? text + blanks : blanks + text;
}

std::string print(const std::string& printf_format, double x) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, printf_format.c_str(), x);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
}

std::string print(const std::string& printf_format, long long x) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, printf_format.c_str(), x);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
}

// One number through the conversion: integers as integers, non-integers given
// to an integer conversion in exponent form, infinities and NaN as Inf and NaN.
std::string format_number(double x, const Conversion& c) {
    if (std::isnan(x)) return c.prefix + pad("NaN", c) + c.suffix;
    if (std::isinf(x)) return c.prefix + pad(x > 0 ? "Inf" : "-Inf", c) + c.suffix;
    std::string printf_format = "%" + c.flags + std::to_string(c.width);
    constexpr double kLongLongLimit = 9.2e18;
    if (c.is_integer() && std::floor(x) == x && std::fabs(x) < kLongLongLimit) {
        // The alternative form is not defined for integer conversions.
        std::string flags = c.flags;
        std::erase(flags, '#');
        std::string integer_format = "%" + flags + std::to_string(c.width);
        if (c.precision >= 0) integer_format += "." + std::to_string(c.precision);
        return c.prefix + print(integer_format + "lld", static_cast<long long>(x)) + c.suffix;
    }
    if (c.is_integer()) {
        printf_format += std::floor(x) == x ? ".0f" : "e";
    } else {
        if (c.precision >= 0) printf_format += "." + std::to_string(c.precision);
        printf_format.push_back(c.type);
    }
    return c.prefix + print(printf_format, x) + c.suffix;
}

std::string trim_left(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool is_whole(std::complex<double> z) {
    auto whole = [](double v) { return std::isinf(v) || std::floor(v) == v; };
    return whole(z.real()) && whole(z.imag());
}

// The automatic format: enough digits for the largest magnitude.
Conversion automatic(std::span<const std::complex<double>> values) {
    bool round_up = false;
    for (const auto& z : values) {
        if (z.real() < 0 && std::fmod(z.real(), 10) == 0) round_up = true;
    }
    double e = -std::numeric_limits<double>::infinity();
    for (const auto& z : values) {
        const double magnitude = std::abs(z) + (round_up ? 1 : 0) + (z == 0.0 ? 1 : 0);
        const double digits = std::ceil(std::log10(magnitude));
        if (!std::isnan(digits)) e = std::max(e, digits);
    }
    Conversion c;
    if (std::all_of(values.begin(), values.end(), is_whole)) {
        const int d = static_cast<int>(std::min(12.0, std::max(1.0, e)));
        c.width = d + 2;
        c.type = 'd';
        c.has_d = true;
    } else {
        const int d = static_cast<int>(std::min(11.0, std::max(1.0, e))) + 4;
        c.width = d + 7;
        c.precision = d;
        c.type = 'g';
    }
    return c;
}

Conversion conversion_of(const NumberFormat& format, std::span<const std::complex<double>> values) {
    if (const int* digits = std::get_if<int>(&format)) {
        if (*digits < 0 || *digits > 100) {
            throw ConfigError("num2Str: precision " + std::to_string(*digits) + " is not allowed; allowed: 0 to 100");
        }
        Conversion c;
        c.width = *digits + 7;
        c.precision = *digits;
        return c;
    }
    if (const auto* text = std::get_if<std::string>(&format)) return parse_format(*text);
    return automatic(values);
}

}  // namespace

std::vector<std::string> num2str(std::size_t rows, std::size_t cols, std::span<const std::complex<double>> values,
                                 bool complex, const NumberFormat& format) {
    if (values.size() != rows * cols) {
        throw ConfigError("num2Str: " + std::to_string(values.size()) + " values do not fill " + std::to_string(rows) +
                          "x" + std::to_string(cols));
    }
    if (values.empty()) return {};
    const Conversion c = conversion_of(format, values);

    std::vector<std::string> lines(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t col = 0; col < cols; ++col) {
            const std::complex<double> z = values[col * rows + r];
            std::string text = format_number(z.real(), c);
            if (c.has_d && z.real() > 2147483647.0) text.insert(text.begin(), ' ');
            if (complex) {
                text += (z.imag() < 0 ? "-" : "+") + trim_left(format_number(std::fabs(z.imag()), c)) + "i";
            }
            lines[r] += text;
        }
    }
    std::size_t width = 0;
    for (const auto& line : lines) width = std::max(width, line.size());
    for (auto& line : lines) line.resize(width, ' ');

    // Columns blank in every row are removed on the left.
    std::size_t blank = width;
    for (const auto& line : lines)
        blank = std::min(blank, line.find_first_not_of(' ') == std::string::npos ? width : line.find_first_not_of(' '));
    for (auto& line : lines) line.erase(0, blank);
    if (lines.size() == 1) lines[0].erase(lines[0].find_last_not_of(' ') + 1);
    return lines;
}

std::string num2str(double x) {
    const std::complex<double> value(x);
    return num2str(1, 1, std::span(&value, 1), false).front();
}

}  // namespace dot11b::app
