#include "frame/convert.hpp"

#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::frame {
namespace {

[[noreturn]] void reject(const Inputs& in, std::string_view name, std::string_view expected) {
    throw ConfigError(std::string(in.operation()) + ": input " + std::string(name) + " must be " +
                      std::string(expected));
}

const Value& real_scalar(const Inputs& in, std::size_t index, std::string_view name, std::string_view expected) {
    const Value& value = in.at(index, name);
    if (value.kind() != Value::Kind::Double || value.numel() != 1) reject(in, name, expected);
    return value;
}

}  // namespace

double to_scalar(const Inputs& in, std::size_t index, std::string_view name) {
    return real_scalar(in, index, name, "a real number").reals()[0];
}

std::size_t to_count(const Inputs& in, std::size_t index, std::string_view name) {
    const double x = real_scalar(in, index, name, "a non-negative integer").reals()[0];
    if (!std::isfinite(x) || x < 0 || std::floor(x) != x || x > 9.0e15) {
        reject(in, name, "a non-negative integer, got " + number_text(x));
    }
    return static_cast<std::size_t>(x);
}

std::uint8_t to_bit(const Inputs& in, std::size_t index, std::string_view name) {
    const double x = real_scalar(in, index, name, "0 or 1").reals()[0];
    if (x != 0 && x != 1) {
        reject(in, name, "0 or 1, got " + number_text(x));
    }
    return static_cast<std::uint8_t>(x);
}

int to_choice(const Inputs& in, std::size_t index, std::string_view name, std::initializer_list<int> allowed) {
    const double x = to_scalar(in, index, name);
    for (const int choice : allowed) {
        if (x == choice) return choice;
    }
    std::string message = "one of";
    for (const int choice : allowed) message += " " + std::to_string(choice);
    reject(in, name, message + ", got " + number_text(x));
}

std::vector<double> to_reals(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    if (value.empty() && value.is_numeric()) return {};
    if (value.kind() != Value::Kind::Double || !value.is_vector()) reject(in, name, "a real vector");
    return {value.reals().begin(), value.reals().end()};
}

std::array<Bits, 2> to_marker_rows(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    std::array<Bits, 2> rows;
    if (value.empty() && value.is_numeric()) return rows;
    if (value.kind() != Value::Kind::Double || value.rows() > 2) {
        reject(in, name, "a real matrix of one or two rows of 0s and 1s");
    }
    const auto values = value.reals();
    for (std::size_t row = 0; row < value.rows(); ++row) {
        for (std::size_t k = 0; k < value.cols(); ++k) rows[row].push_back(values[k * value.rows() + row] != 0);
    }
    return rows;
}

Bits to_bits(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    if (value.empty() && value.is_numeric()) return {};
    if (value.kind() != Value::Kind::Double || !value.is_vector()) reject(in, name, "a vector of bits (0 or 1)");
    Bits bits;
    bits.reserve(value.numel());
    for (const double x : value.reals()) {
        if (x != 0 && x != 1) {
            reject(in, name,
                   "a vector of bits (0 or 1); element " + std::to_string(bits.size() + 1) + " is " + number_text(x));
        }
        bits.push_back(static_cast<std::uint8_t>(x));
    }
    return bits;
}

Complex to_complex_scalar(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    if (value.numel() != 1) reject(in, name, "a real or complex number");
    if (value.kind() == Value::Kind::Double) return value.reals()[0];
    if (value.kind() == Value::Kind::Complex) return value.complexes()[0];
    reject(in, name, "a real or complex number");
}

Samples to_samples(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    if (value.empty() && value.is_numeric()) return {};
    if (!value.is_numeric() || !value.is_vector()) reject(in, name, "a real or complex vector");
    if (value.kind() == Value::Kind::Complex) return Samples(value.complexes().begin(), value.complexes().end());
    return Samples(value.reals().begin(), value.reals().end());
}

std::string to_text(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& value = in.at(index, name);
    if (value.kind() != Value::Kind::Char || value.rows() > 1) reject(in, name, "a character row");
    return value.text();
}

Value reals_value(std::span<const double> values) { return Value::row({values.begin(), values.end()}); }

Value bits_value(BitSpan bits) { return Value::row(std::vector<double>(bits.begin(), bits.end())); }

Value samples_value(SampleSpan samples) { return Value::complex_row(Samples(samples.begin(), samples.end())); }

}  // namespace dot11b::frame
