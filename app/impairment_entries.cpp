#include "app/impairment_entries.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::app {

double impairment_entry(const impairments::ImpairmentField& field, std::optional<double> entry, double stored) {
    if (!entry || std::isnan(*entry)) return stored;
    return std::clamp(*entry, field.min, field.max);
}

std::uint64_t seed_entry(std::optional<double> entry, std::uint64_t stored) {
    if (!entry || std::isnan(*entry)) return stored;
    return static_cast<std::uint64_t>(std::clamp(std::round(*entry), 0.0, kMaxSeed));
}

}  // namespace dot11b::app
