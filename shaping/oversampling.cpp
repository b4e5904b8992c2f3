#include "shaping/oversampling.hpp"

#include <algorithm>
#include <string>

#include "common/errors.hpp"

namespace dot11b::shaping {
namespace {

template <typename T>
std::vector<T> repeat_to_length(std::span<const T> data, std::size_t req_length) {
    if (req_length == 0) return {};
    if (data.empty()) {
        throw ConfigError("extendvector: data must hold at least one value when reqLength is " +
                          std::to_string(req_length) + ", got an empty vector");
    }
    std::vector<T> output;
    output.reserve(req_length);
    while (output.size() < req_length) {
        const std::size_t count = std::min(data.size(), req_length - output.size());
        output.insert(output.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return output;
}

}  // namespace

Samples upsample(SampleSpan x, int factor) {
    if (factor < 1) throw ConfigError("upsample: n must be a positive integer, got " + std::to_string(factor));
    const auto step = static_cast<std::size_t>(factor);
    Samples y(x.size() * step);
    for (std::size_t i = 0; i < x.size(); ++i) y[i * step] = x[i];
    return y;
}

std::vector<double> extendvector(std::span<const double> data, std::size_t req_length) {
    return repeat_to_length(data, req_length);
}

Samples extendvector(SampleSpan data, std::size_t req_length) { return repeat_to_length(data, req_length); }

}  // namespace dot11b::shaping
