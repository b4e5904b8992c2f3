// Registry adapters of the MAC subsystem: Values in, typed core, Values out.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "mac/bit_conversion.hpp"
#include "mac/crc32.hpp"
#include "mac/lfsr_checksum.hpp"
#include "mac/pn_generator.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

// Reads a bit-order keyword; an empty value means the default.
std::optional<mac::BitOrder> bit_order(const Value& value) {
    if (value.empty()) return mac::BitOrder::LsbFirst;
    if (value.kind() != Value::Kind::Char) return std::nullopt;
    const std::string text = value.text();
    if (text == "right-msb") return mac::BitOrder::LsbFirst;
    if (text == "left-msb") return mac::BitOrder::MsbFirst;
    return std::nullopt;
}

// Longest PN sequence returned as a Value: 2^26 bits (512 MiB of doubles).
constexpr double kMaxPnLength = 67108864;

bool is_real_scalar(const Value& value) { return value.kind() == Value::Kind::Double && value.numel() == 1; }

// A whole number of a PNgenerator input, with the operation's error otherwise.
double whole_input(const Value& value, std::string_view name, double max) {
    if (!is_real_scalar(value)) throw ConfigError("PNgenerator: " + std::string(name) + " must be a real number");
    const double x = value.reals()[0];
    if (!(std::floor(x) == x && x <= max)) {
        throw ConfigError("PNgenerator: " + std::string(name) + " " + number_text(x) +
                          " is not allowed; allowed: whole numbers up to " + number_text(max));
    }
    return x;
}

// A selector that counts only when it is exactly 1.
bool exactly_one(const Value& value) { return is_real_scalar(value) && value.reals()[0] == 1; }

Bits pn_seed(const Inputs& in, int order) {
    if (!in.has(3)) return mac::pn_default_seed(order);
    const Value& seed = in.at(3, "seed");
    if (is_real_scalar(seed)) return mac::pn_seed_from_scalar(order, seed.reals()[0]);
    return mac::pn_seed_from_vector(order, frame::to_bits(in, 3, "seed"));
}

}  // namespace

Outputs bitVector(const Inputs& in, int) {
    if (in.count() < 1 || in.count() > 3) throw ConfigError("Incorrect number of parameters.");
    const double x = frame::to_scalar(in, 0, "x");
    if (in.count() == 1) return {frame::bits_value(mac::bit_vector(x))};
    const double min_size = frame::to_scalar(in, 1, "minSize");
    mac::BitOrder order = mac::BitOrder::LsbFirst;
    if (in.count() == 3) {
        const auto parsed = bit_order(in.at(2, "orientation"));
        if (!parsed) throw ConfigError("bitVector: orientation must be \"right-msb\" or \"left-msb\"");
        order = *parsed;
    }
    return {frame::bits_value(mac::bit_vector(x, min_size, order))};
}

Outputs bi2de(const Inputs& in, int) {
    std::string pattern;
    for (std::size_t i = 0; i < in.count(); ++i) {
        const Value& arg = in.at(i, "argument");
        if (arg.is_numeric()) {
            pattern += 'n';
        } else if (arg.kind() == Value::Kind::Char) {
            pattern += 't';
        } else {
            throw ConfigError("Only string and numeric arguments are accepted.");
        }
    }
    if (pattern != "n" && pattern != "nn" && pattern != "nt" && pattern != "nnt" && pattern != "ntn") {
        throw ConfigError("Syntax error.");
    }
    const Value& b = in.at(0, "b");
    if (b.empty()) throw ConfigError("Required parameter empty.");
    if (b.kind() == Value::Kind::Complex) throw ConfigError("Input must contain only finite real positive integers.");

    double base = 2;
    const std::size_t base_at = pattern == "ntn" ? 2 : 1;
    if (pattern.size() > base_at && pattern[base_at] == 'n') {
        const Value& p = in.at(base_at, "p");
        if (p.numel() != 1) throw ConfigError("Source base must be a scalar.");
        if (p.kind() == Value::Kind::Complex) throw ConfigError("Source base must be a finite real integer.");
        base = p.reals()[0];
    }
    const std::vector<double> digits(b.reals().begin(), b.reals().end());
    std::optional<mac::BitOrder> order = mac::BitOrder::LsbFirst;
    if (const auto text_at = pattern.find('t'); text_at != std::string::npos) order = bit_order(in.at(text_at, "flag"));
    if (!order) {
        // The digit and base checks take precedence over the flag.
        mac::bi2de(b.rows(), b.cols(), digits, base);
        throw ConfigError("Invalid string flag.");
    }
    std::vector<double> values = mac::bi2de(b.rows(), b.cols(), digits, base, *order);
    const std::size_t rows = values.size();
    return {Value::matrix(rows, 1, std::move(values))};
}

Outputs hexString(const Inputs& in, int) {
    return {Value::text(mac::hex_string(frame::to_scalar(in, 0, "num"), frame::to_scalar(in, 1, "size")))};
}

Outputs lfsrChecksum(const Inputs& in, int) {
    return {frame::bits_value(mac::lfsr_checksum(frame::to_bits(in, 0, "taps"), frame::to_bits(in, 1, "initalstate"),
                                                 frame::to_bits(in, 2, "data")))};
}

Outputs oct2dec(const Inputs& in, int) {
    if (in.count() != 1) throw ConfigError("oct2dec: expected one input, got " + std::to_string(in.count()));
    const Value& d = in.at(0, "d");
    if (d.kind() != Value::Kind::Double) throw ConfigError("oct2dec: input d must be a real number");
    std::vector<double> values;
    values.reserve(d.numel());
    for (const double x : d.reals()) values.push_back(mac::oct2dec(x));
    return {Value::matrix(d.rows(), d.cols(), std::move(values))};
}

Outputs CCITT_CRC32(const Inputs& in, int) { return {frame::bits_value(mac::crc32(frame::to_bits(in, 0, "input")))}; }

Outputs dot11_CalcMACfcs(const Inputs& in, int) {
    return {frame::bits_value(mac::crc32(frame::to_bits(in, 0, "data")))};
}

Outputs PNgenerator(const Inputs& in, int) {
    // Each input falls back to its default when it is not a single number.
    double order = 9;
    if (in.has(0) && in.at(0, "n").numel() == 1) order = whole_input(in.at(0, "n"), "n", 1e9);
    order = std::clamp(order, static_cast<double>(mac::kMinPnOrder), static_cast<double>(mac::kMaxPnOrder));
    const int n = static_cast<int>(order);

    double length = std::ldexp(1.0, n) - 1;
    if (in.has(1) && in.at(1, "dataLength").numel() == 1)
        length = whole_input(in.at(1, "dataLength"), "dataLength", 1e18);
    length = std::max(length, 1.0);
    if (length > kMaxPnLength) {
        throw ConfigError("PNgenerator: dataLength " + number_text(length) +
                          " is not allowed; allowed: 1 to " + number_text(kMaxPnLength) + " bits");
    }
    const bool invert = in.has(2) && exactly_one(in.at(2, "userInvert"));
    const bool zero_suppression = in.has(4) && exactly_one(in.at(4, "zeroSuppresion"));
    return {frame::bits_value(
        mac::pn_sequence(n, static_cast<std::size_t>(length), invert, pn_seed(in, n), zero_suppression))};
}

}  // namespace dot11b::ops
