#pragma once
// dot11b-gen --sweep FIELD=V1,V2,...: the sweeps of one run and the cross
// product of their values.

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace dot11b::cli {

struct Sweep {
    std::string field;                // a generator option name without its dashes, e.g. "rate"
    std::vector<std::string> values;  // in the order given
};

// One value per sweep: (field, value) pairs in the order of the sweeps.
using SweepPoint = std::vector<std::pair<std::string, std::string>>;

// Reads "FIELD=V1,V2,...". Throws ConfigError naming --sweep and the entry
// for a missing field or value, or an empty value.
Sweep parse_sweep(const std::string& entry);

// Every combination of one value from each sweep, the first sweep varying
// slowest. Throws ConfigError when a field is swept twice.
std::vector<SweepPoint> expand_sweeps(std::span<const Sweep> sweeps);

// "rate=1 preamble=short", for messages.
std::string point_text(const SweepPoint& point);

}  // namespace dot11b::cli
