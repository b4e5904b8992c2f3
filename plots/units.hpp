#pragma once
// Engineering units of the frequency and time axes: the text shown in the
// axis label and the factor that converts hertz or seconds into it.

#include <string>

namespace dot11b::plots {

struct UnitScale {
    std::string text;  // "MHz", "uS", ...
    double factor;     // frequency: divider (Hz per unit); time: multiplier (units per second)
};

// "Hz", "kHz", "MHz" for floor(log10(rate) / 3) = 0, 1, 2; "GHz" for anything else.
UnitScale DetermineFrequencyUnits(double sample_rate_hz);

// "S", "mS", "uS", "nS" for floor(log10(t) / 3) = 0, -1, -2, -3; "pS" for anything else.
UnitScale DetermineTimeUnits(double seconds);

}  // namespace dot11b::plots
