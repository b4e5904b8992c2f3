#pragma once
// The analyser's inner loops work on a sample's I and Q together, as the two
// lanes of one vector, with the compiler's vector extension. On x86-64 the
// hottest of them are also compiled for processors with AVX and FMA, chosen
// when the program starts.

#include <complex>
#include <cstring>

namespace dot11b::analyzer {

using Lanes = double __attribute__((vector_size(16)));

inline Lanes lanes(std::complex<double> x) {
    Lanes out;
    std::memcpy(&out, &x, sizeof out);
    return out;
}

// a times b as complex numbers, to the bit as the written-out product.
inline Lanes complex_product(Lanes a, Lanes b) { return a[0] * b + a[1] * Lanes{-b[1], b[0]}; }

// Two samples, I and Q of each: four lanes, as wide as AVX.
using TwoLanes = double __attribute__((vector_size(32)));

// Loaded through a reference: a function returning a vector this wide would
// depend on whether AVX is enabled for its caller.
inline void load(TwoLanes& out, const void* from) { std::memcpy(&out, from, sizeof out); }

// The two samples of `x` added: their halves as vectors (one instruction each
// way), not lane by lane.
inline std::complex<double> sum_of_halves(const TwoLanes& x) {
    const Lanes sum = __builtin_shufflevector(x, x, 0, 1) + __builtin_shufflevector(x, x, 2, 3);
    return {sum[0], sum[1]};
}

}  // namespace dot11b::analyzer

// Not in sanitized builds (GCC says so by a macro, clang by a feature): the
// choice runs before the sanitizer's run time is ready.
#if defined(__SANITIZE_ADDRESS__)
#define DOT11B_SANITIZED_BUILD
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DOT11B_SANITIZED_BUILD
#endif
#endif

#if defined(__x86_64__) && !defined(DOT11B_SANITIZED_BUILD)
#define DOT11B_WITH_FMA_CLONE __attribute__((target_clones("fma", "default")))
#else
#define DOT11B_WITH_FMA_CLONE
#endif
