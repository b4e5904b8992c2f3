#include "mac/bit_conversion.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/errors.hpp"
#include "common/is_integer.hpp"

namespace dot11b::mac {
namespace {

// Largest integer that a double still counts exactly.
constexpr double kMaxExactInteger = 9007199254740992.0;  // 2^53

}  // namespace

Bits bit_vector(double x, double min_size, BitOrder order) {
    if (!is_integer(x)) throw ConfigError("Integer required");
    if (x < 0) throw ConfigError("bitVector: x must be a non-negative integer, got " + std::to_string(x));
    if (x > kMaxExactInteger) throw ConfigError("bitVector: x must not exceed 2^53");

    // Number of significant bits, ceil(log2(x + 1)), counted exactly.
    auto value = static_cast<std::uint64_t>(x);
    std::size_t significant = 0;
    for (auto v = value; v != 0; v >>= 1) ++significant;

    std::size_t size = significant;
    if (std::isfinite(min_size) && std::trunc(min_size) > static_cast<double>(significant)) {
        size = static_cast<std::size_t>(std::trunc(min_size));
    }
    Bits out(size, 0);
    for (std::size_t i = 0; i < significant; ++i) out[i] = static_cast<std::uint8_t>((value >> i) & 1U);
    if (order == BitOrder::MsbFirst) std::reverse(out.begin(), out.end());
    return out;
}

Bits bit_vector(double x) {
    // log2(0) is -infinity, which never raises the size above the significant bits.
    return bit_vector(x, std::ceil(std::log2(x)), BitOrder::LsbFirst);
}

std::vector<double> bi2de(std::size_t rows, std::size_t cols, const std::vector<double>& digits,
                          double base, BitOrder order) {
    if (digits.empty()) throw ConfigError("Required parameter empty.");
    for (double d : digits) {
        if (!is_integer(d) || d < 0) throw ConfigError("Input must contain only finite real positive integers.");
    }
    if (!is_integer(base)) throw ConfigError("Source base must be a finite real integer.");
    if (base < 2) throw ConfigError("Source base must be greater than or equal to two.");
    if (std::any_of(digits.begin(), digits.end(), [base](double d) { return d >= base; })) {
        throw ConfigError("The elements of the matrix are larger than the base can represent.");
    }

    // Only the first 1024 digits count; a non-zero digit beyond them overflows a double.
    constexpr std::size_t kMaxDigits = 1024;
    std::vector<double> values(rows, 0.0);
    for (std::size_t r = 0; r < rows; ++r) {
        double weight = 1.0;
        for (std::size_t j = 0; j < cols; ++j) {
            const std::size_t col = order == BitOrder::MsbFirst ? cols - 1 - j : j;
            const double digit = digits[col * rows + r];
            if (j >= kMaxDigits) {
                if (digit != 0) values[r] = std::numeric_limits<double>::infinity();
                continue;
            }
            values[r] += digit * weight;
            weight *= base;
        }
    }
    return values;
}

std::string hex_string(double num, double size) {
    if (!is_integer(num) || num < 0 || num > kMaxExactInteger) {
        throw ConfigError("hexString: num must be a non-negative integer up to 2^53, got " + std::to_string(num));
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto value = static_cast<std::uint64_t>(num);
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xFU]);
        value >>= 4;
    } while (value != 0);
    const double pad = 2 * size - static_cast<double>(text.size());
    if (pad > 0) text.insert(0, static_cast<std::size_t>(pad), '0');
    return text;
}

double oct2dec(double d) {
    if (!is_integer(d) || d < 0 || d > kMaxExactInteger) {
        throw ConfigError("oct2dec: expected a non-negative integer of octal digits, got " + std::to_string(d));
    }
    auto decimal = static_cast<std::uint64_t>(d);
    double value = 0;
    double weight = 1;
    for (; decimal != 0; decimal /= 10) {
        const auto digit = decimal % 10;
        if (digit > 7) {
            throw ConfigError("oct2dec: " + std::to_string(static_cast<std::uint64_t>(d)) +
                              " is not an octal numeral (digits 0 to 7)");
        }
        value += static_cast<double>(digit) * weight;
        weight *= 8;
    }
    return value;
}

}  // namespace dot11b::mac
