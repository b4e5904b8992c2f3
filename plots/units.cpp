#include "plots/units.hpp"

#include <cmath>

namespace dot11b::plots {

UnitScale DetermineFrequencyUnits(double sample_rate_hz) {
    const double e = std::floor(std::log10(sample_rate_hz) / 3);
    if (e == 0) return {"Hz", 1};
    if (e == 1) return {"kHz", 1e3};
    if (e == 2) return {"MHz", 1e6};
    return {"GHz", 1e9};
}

UnitScale DetermineTimeUnits(double seconds) {
    const double e = std::floor(std::log10(seconds) / 3);
    if (e == 0) return {"S", 1};
    if (e == -1) return {"mS", 1e3};
    if (e == -2) return {"uS", 1e6};
    if (e == -3) return {"nS", 1e9};
    return {"pS", 1e12};
}

}  // namespace dot11b::plots
