#include "analyzer/carrier_offset.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "analyzer/complex_product.hpp"
#include "analyzer/vector_lanes.hpp"

namespace dot11b::analyzer {

double frequency_from_turns(SampleSpan received, SampleSpan ideal, double spacing_seconds) {
    Complex sum = 0;
    for (std::size_t k = 1; k < received.size() && k < ideal.size(); ++k) {
        sum += received[k] * std::conj(ideal[k]) * std::conj(received[k - 1] * std::conj(ideal[k - 1]));
    }
    return std::arg(sum) / (2 * std::numbers::pi * spacing_seconds);
}

PhaseLine fit_phase_line(SampleSpan received, SampleSpan ideal, std::span<const double> seconds, std::size_t block) {
    const std::size_t n = std::min({received.size(), ideal.size(), seconds.size()});
    std::vector<double> times;
    std::vector<double> phases;
    std::vector<double> weights;
    double previous = 0;
    for (std::size_t first = 0; first + block <= n; first += block) {
        Complex sum = 0;
        double time = 0;
        for (std::size_t k = first; k < first + block; ++k) {
            sum += received[k] * std::conj(ideal[k]);
            time += seconds[k];
        }
        if (std::abs(sum) == 0) continue;
        double phase = std::arg(sum);
        if (!phases.empty()) phase = previous + std::remainder(phase - previous, 2 * std::numbers::pi);
        previous = phase;
        times.push_back(time / static_cast<double>(block));
        phases.push_back(phase);
        weights.push_back(std::abs(sum));
    }
    PhaseLine line;
    if (phases.empty()) return line;
    double w_sum = 0, t_mean = 0, p_mean = 0;
    for (std::size_t i = 0; i < phases.size(); ++i) {
        w_sum += weights[i];
        t_mean += weights[i] * times[i];
        p_mean += weights[i] * phases[i];
    }
    t_mean /= w_sum;
    p_mean /= w_sum;
    double covariance = 0, variance = 0;
    for (std::size_t i = 0; i < phases.size(); ++i) {
        covariance += weights[i] * (times[i] - t_mean) * (phases[i] - p_mean);
        variance += weights[i] * (times[i] - t_mean) * (times[i] - t_mean);
    }
    const double slope = variance > 0 ? covariance / variance : 0;
    line.frequency_hz = slope / (2 * std::numbers::pi);
    line.phase_at_zero = p_mean - slope * t_mean;
    return line;
}

void remove_phase_line(std::span<Complex> samples, std::span<const double> seconds, const PhaseLine& line) {
    // The exact phasor at the start of each block, then a constant turn per element:
    // the instants within a block are evenly spaced to far better than a degree.
    constexpr std::size_t kBlock = 32;
    const std::size_t n = std::min(samples.size(), seconds.size());
    const double omega = 2 * std::numbers::pi * line.frequency_hz;
    for (std::size_t first = 0; first < n; first += kBlock) {
        const std::size_t last = std::min(n, first + kBlock);
        Complex phasor = std::polar(1.0, -(omega * seconds[first] + line.phase_at_zero));
        const double spacing =
            last - first > 1 ? (seconds[last - 1] - seconds[first]) / static_cast<double>(last - first - 1) : 0;
        const Complex step = std::polar(1.0, -omega * spacing);
        // Four phasors a step apart, each turned by four steps: the products
        // of one element no longer wait on those of the one before. I and Q
        // in the lanes of one vector (std::complex values would pass through
        // the stack), in four named vectors (an array would live in memory).
        Lanes p0 = lanes(phasor);
        Lanes p1 = complex_product(p0, lanes(step));
        Lanes p2 = complex_product(p1, lanes(step));
        Lanes p3 = complex_product(p2, lanes(step));
        const Lanes two_steps = complex_product(lanes(step), lanes(step));
        const Lanes four_steps = complex_product(two_steps, two_steps);
        const auto turned = [&](std::size_t k, Lanes by) {
            const Lanes x = complex_product(lanes(samples[k]), by);
            samples[k] = {x[0], x[1]};
        };
        std::size_t k = first;
        for (; k + 4 <= last; k += 4) {
            turned(k, p0);
            turned(k + 1, p1);
            turned(k + 2, p2);
            turned(k + 3, p3);
            p0 = complex_product(p0, four_steps);
            p1 = complex_product(p1, four_steps);
            p2 = complex_product(p2, four_steps);
            p3 = complex_product(p3, four_steps);
        }
        const std::array<Lanes, 3> rest = {p0, p1, p2};
        for (std::size_t j = 0; k < last; ++k, ++j) turned(k, rest[j]);
    }
}

std::vector<double> instants_in_seconds(std::span<const double> positions, double sample_rate_hz) {
    std::vector<double> seconds(positions.size());
    for (std::size_t k = 0; k < positions.size(); ++k) seconds[k] = positions[k] / sample_rate_hz;
    return seconds;
}

}  // namespace dot11b::analyzer
