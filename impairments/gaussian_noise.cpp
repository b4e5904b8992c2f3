#include "impairments/gaussian_noise.hpp"

#include <cmath>

namespace dot11b::impairments {
namespace {

// xoshiro256+ seeded through splitmix64: fast, and its 53 high bits make a
// uniform double.
class UniformSource {
public:
    explicit UniformSource(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    // Uniform in (0, 1]: never zero, so its logarithm is finite.
    double next() {
        const std::uint64_t result = state_[0] + state_[3];
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = (state_[3] << 45) | (state_[3] >> 19);
        return static_cast<double>((result >> 11) + 1) * 0x1.0p-53;
    }

private:
    std::uint64_t state_[4];
};

}  // namespace

void add_gaussian_noise(std::span<Complex> samples, double power, std::uint64_t seed) {
    UniformSource uniform(seed);
    const double sigma = std::sqrt(power / 2.0);
    // Box-Muller: one pair of uniforms gives the two independent components.
    for (Complex& sample : samples) {
        const double radius = sigma * std::sqrt(-2.0 * std::log(uniform.next()));
        const double angle = 2.0 * M_PI * uniform.next();
        sample += std::polar(radius, angle);
    }
}

}  // namespace dot11b::impairments
