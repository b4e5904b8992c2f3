#pragma once
// Complex products written out: std::complex's operator* checks its result for
// infinities and NaN on every call, which costs a branch in the inner loops
// and keeps them from being vectorised. The inputs here are finite.

#include "common/types.hpp"

namespace dot11b::analyzer {

inline Complex product(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// conj(a) * b
inline Complex conj_product(Complex a, Complex b) {
    return {a.real() * b.real() + a.imag() * b.imag(), a.real() * b.imag() - a.imag() * b.real()};
}

// |a|^2; not std::norm, which squares std::abs, a hypot, for floating types.
inline double magnitude_squared(Complex a) { return a.real() * a.real() + a.imag() * a.imag(); }

// Re(conj(a) * b)
inline double real_conj_product(Complex a, Complex b) { return a.real() * b.real() + a.imag() * b.imag(); }

}  // namespace dot11b::analyzer
