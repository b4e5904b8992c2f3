#pragma once
// The limits of one plot axis, in the axis' own units.

namespace dot11b::plots {

struct AxisRange {
    double lower = 0;
    double upper = 0;
    bool operator==(const AxisRange&) const = default;
};

}  // namespace dot11b::plots
