#include "app/compare_struct.hpp"

#include <cmath>
#include <complex>

namespace dot11b::app {
namespace {

using frame::Value;

std::complex<double> element(const Value& value, std::size_t i) {
    if (value.kind() == Value::Kind::Complex) return value.complexes()[i];
    return value.reals()[i];
}

bool same_number(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool equal_numbers(const Value& a, const Value& b) {
    if (a.rows() != b.rows() || a.cols() != b.cols()) return false;
    for (std::size_t i = 0; i < a.numel(); ++i) {
        const auto x = element(a, i);
        const auto y = element(b, i);
        if (!same_number(x.real(), y.real()) || !same_number(x.imag(), y.imag())) return false;
    }
    return true;
}

bool equal_fields(const Value& a, const Value& b) {
    if (a.empty() && b.empty()) return true;
    if (a.kind() == Value::Kind::Struct && b.kind() == Value::Kind::Struct) return compare_struct(a, b);
    if (a.is_numeric() && b.is_numeric()) return equal_numbers(a, b);
    if (a.kind() == Value::Kind::Char && b.kind() == Value::Kind::Char) return a == b;
    return false;
}

}  // namespace

bool compare_struct(const Value& a, const Value& b) {
    if (a.kind() != Value::Kind::Struct || b.kind() != Value::Kind::Struct) return false;
    if (a.field_names() != b.field_names()) return false;
    if (a.rows() != b.rows() || a.cols() != b.cols()) return false;
    for (std::size_t element = 0; element < a.numel(); ++element) {
        for (const auto& name : a.field_names()) {
            if (!equal_fields(a.field(name, element), b.field(name, element))) return false;
        }
    }
    return true;
}

}  // namespace dot11b::app
