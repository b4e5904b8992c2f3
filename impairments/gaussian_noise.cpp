#include "impairments/gaussian_noise.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dot11b::impairments {
namespace {

// Eight xoshiro256+ generators side by side, each seeded through splitmix64
// from the seed and its lane: one step of all eight is a handful of vector
// instructions, where a single generator would run one number at a time.
constexpr std::size_t kLanes = 8;
// Samples per block: the uniforms and the Box-Muller terms of one block stay in L1.
constexpr std::size_t kBlock = 512;

// One 64-bit word of each lane; the compiler splits it to the vector width at hand.
using Words = std::uint64_t __attribute__((vector_size(8 * kLanes)));

struct LaneGenerators {
    Words s0, s1, s2, s3;

    explicit LaneGenerators(std::uint64_t seed) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            for (Words* word : {&s0, &s1, &s2, &s3}) {
                seed += 0x9E3779B97F4A7C15ULL;
                std::uint64_t z = seed;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
                (*word)[lane] = z ^ (z >> 31);
            }
        }
    }

    // `count` raw 64-bit numbers (a multiple of kLanes), lane j giving every kLanes-th.
    [[gnu::always_inline]] void draw(std::uint64_t* out, std::size_t count) {
        for (std::size_t k = 0; k < count; k += kLanes) {
            const Words result = s0 + s3;
            std::memcpy(out + k, &result, sizeof result);
            const Words t = s1 << 17;
            s2 ^= s0;
            s3 ^= s1;
            s1 ^= s2;
            s0 ^= s3;
            s2 ^= t;
            s3 = (s3 << 45) | (s3 >> 19);
        }
    }
};

// Box-Muller on a block of up to kBlock interleaved samples, one 64-bit
// number a sample: its high 32 bits become u in [1, 2) as the mantissa of a
// double, bits 9 to 31 v in [1, 2) as that of a float (the lowest bits of
// xoshiro256+ are its weakest). No integer becomes a floating-point number
// by conversion, which the vector units lack for 64-bit words. 2 - u lies in
// (0, 1] down to 2^-32, so the logarithm is finite and the radius reaches
// 6.7 sigma (exceeded once in 4e9 samples). The logarithm, sine and cosine
// run in single precision, twice as many per vector; the sine and cosine are
// polynomials, so the whole loop stays in vector registers. The whole block is
// compiled for three vector widths.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void add_block(LaneGenerators& generators, double* iq, std::size_t count, double sigma) {
    std::uint64_t raw[kBlock];
    generators.draw(raw, kBlock);
    std::uint64_t u_bits[kBlock];
    std::uint32_t v_bits[kBlock];
    for (std::size_t j = 0; j < count; ++j) {
        u_bits[j] = ((raw[j] >> 32) << 20) | 0x3FF0000000000000ULL;
        v_bits[j] = (static_cast<std::uint32_t>(raw[j] >> 9) & 0x7FFFFFU) | 0x3F800000U;
    }
    double u[kBlock];
    float v[kBlock];
    std::memcpy(u, u_bits, count * sizeof(double));
    std::memcpy(v, v_bits, count * sizeof(float));
    float in_phase[kBlock];
    float quadrature[kBlock];
    for (std::size_t j = 0; j < count; ++j) {
        const float radius = std::sqrt(-2.0f * std::log(static_cast<float>(2.0 - u[j])));
        // The angle 2 pi (v - 1) as q quarter turns plus phi, |phi| <= pi/4,
        // where Taylor polynomials of degree 9 and 8 err below 3e-8; the
        // quarter turns then swap and negate the sine and cosine.
        const float quarters = 4.0f * (v[j] - 1.0f);
        const float nearest = std::floor(quarters + 0.5f);
        const auto q = static_cast<std::int32_t>(nearest);
        const float phi = (quarters - nearest) * static_cast<float>(M_PI / 2.0);
        const float p2 = phi * phi;
        const float sine =
            phi * (1.0f + p2 * (-1.0f / 6 + p2 * (1.0f / 120 + p2 * (-1.0f / 5040 + p2 * (1.0f / 362880)))));
        const float cosine =
            1.0f + p2 * (-0.5f + p2 * (1.0f / 24 + p2 * (-1.0f / 720 + p2 * (1.0f / 40320))));
        const bool odd = (q & 1) != 0;
        const float c = odd ? sine : cosine;
        const float s = odd ? cosine : sine;
        // Quarter turns 1 and 2 negate the cosine, 2 and 3 the sine (4 is 0).
        in_phase[j] = ((q + 1) & 2) != 0 ? -radius * c : radius * c;
        quadrature[j] = (q & 2) != 0 ? -radius * s : radius * s;
    }
    for (std::size_t j = 0; j < count; ++j) {
        iq[2 * j] += sigma * in_phase[j];
        iq[2 * j + 1] += sigma * quadrature[j];
    }
}

}  // namespace

void add_gaussian_noise(std::span<Complex> samples, double power, std::uint64_t seed) {
    LaneGenerators generators(seed);
    const double sigma = std::sqrt(power / 2.0);
    auto* iq = reinterpret_cast<double*>(samples.data());
    for (std::size_t start = 0; start < samples.size(); start += kBlock) {
        add_block(generators, iq + 2 * start, std::min(kBlock, samples.size() - start), sigma);
    }
}

}  // namespace dot11b::impairments
