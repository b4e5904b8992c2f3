#include "cli/gen/sweep_expansion.hpp"

#include "cli/gen/usage_error.hpp"

namespace dot11b::cli {

Sweep parse_sweep(const std::string& entry) {
    const auto equals = entry.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == entry.size()) {
        throw UsageError("--sweep " + entry + ": expected FIELD=V1,V2,... with FIELD a generator option name");
    }
    Sweep sweep{entry.substr(0, equals), {}};
    std::size_t start = equals + 1;
    for (;;) {
        const auto comma = entry.find(',', start);
        const std::string value = entry.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (value.empty()) throw UsageError("--sweep " + entry + ": an empty value; expected FIELD=V1,V2,...");
        sweep.values.push_back(value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return sweep;
}

std::vector<SweepPoint> expand_sweeps(std::span<const Sweep> sweeps) {
    for (std::size_t i = 0; i < sweeps.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (sweeps[i].field == sweeps[j].field) {
                throw UsageError("--sweep " + sweeps[i].field + ": swept twice; give all its values in one --sweep");
            }
        }
    }
    std::vector<SweepPoint> points = {SweepPoint{}};
    for (const Sweep& sweep : sweeps) {
        std::vector<SweepPoint> longer;
        longer.reserve(points.size() * sweep.values.size());
        for (const SweepPoint& point : points) {
            for (const std::string& value : sweep.values) {
                longer.push_back(point);
                longer.back().emplace_back(sweep.field, value);
            }
        }
        points = std::move(longer);
    }
    return points;
}

std::string point_text(const SweepPoint& point) {
    std::string text;
    for (const auto& [field, value] : point) text += (text.empty() ? "" : " ") + field + "=" + value;
    return text;
}

}  // namespace dot11b::cli
