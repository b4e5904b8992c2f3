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

// The high 52 bits as the mantissa of a double in [1, 2): no integer to
// floating-point conversion, which the vector units lack for 64-bit words.
inline void to_unit_interval(const std::uint64_t* raw, double* out, std::size_t count) {
    std::uint64_t bits[kBlock];
    for (std::size_t j = 0; j < count; ++j) bits[j] = (raw[j] >> 12) | 0x3FF0000000000000ULL;
    std::memcpy(out, bits, count * sizeof(double));
}

// Box-Muller on a block of up to kBlock interleaved samples: uniforms u and v
// in [1, 2); 2 - u lies in (0, 1], so its logarithm is finite. One pair gives
// both components. The whole block is compiled twice so that the generators
// and the conversions use the wider vectors too.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void add_block(LaneGenerators& generators, double* iq, std::size_t count, double sigma) {
    std::uint64_t raw[2 * kBlock];
    generators.draw(raw, 2 * kBlock);
    double u[kBlock];
    double v[kBlock];
    to_unit_interval(raw, u, count);
    to_unit_interval(raw + kBlock, v, count);
    // The logarithm, sine and cosine in single precision, twice as many per
    // vector; the uniform keeps its 52 bits down to 2^-52 through the float's
    // exponent, so the tail reaches 8.5 sigma.
    float radius[kBlock];
    float angle[kBlock];
    for (std::size_t j = 0; j < count; ++j) {
        radius[j] = std::sqrt(-2.0f * std::log(static_cast<float>(2.0 - u[j])));
        angle[j] = static_cast<float>(2.0 * M_PI * (v[j] - 1.0));
    }
    // Cosine and sine in loops of their own: together the compiler would
    // merge them into one scalar sincos call per sample.
    float in_phase[kBlock];
    float quadrature[kBlock];
    for (std::size_t j = 0; j < count; ++j) in_phase[j] = radius[j] * std::cos(angle[j]);
    for (std::size_t j = 0; j < count; ++j) quadrature[j] = radius[j] * std::sin(angle[j]);
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
