#include "cli/gen/output_template.hpp"

#include <algorithm>
#include <vector>

#include "cli/common/shared_output_files.hpp"
#include "cli/gen/usage_error.hpp"

namespace dot11b::cli {
namespace {

std::string swept_fields(const SweepPoint& point) {
    std::string text;
    for (const auto& entry : point) text += (text.empty() ? "{" : ", {") + entry.first + "}";
    return text.empty() ? "none" : text;
}

}  // namespace

std::string expand_template(const std::string& name, const SweepPoint& point) {
    std::string result;
    std::size_t at = 0;
    for (;;) {
        const auto open = name.find('{', at);
        if (open == std::string::npos) break;
        const auto close = name.find('}', open);
        if (close == std::string::npos) {
            throw UsageError("--output " + name + ": a { without its }; placeholders are " + swept_fields(point));
        }
        const std::string field = name.substr(open + 1, close - open - 1);
        const auto entry = std::find_if(point.begin(), point.end(), [&](const auto& e) { return e.first == field; });
        if (entry == point.end()) {
            throw UsageError("--output " + name + ": {" + field + "} is not a swept field; placeholders are " +
                              swept_fields(point));
        }
        result += name.substr(at, open - at) + entry->second;
        at = close + 1;
    }
    return result + name.substr(at);
}

void refuse_duplicate_files(std::span<const PlannedFile> files, std::span<const SweepPoint> points) {
    std::vector<std::filesystem::path> names;
    for (const PlannedFile& file : files) names.push_back(file.path);
    if (const auto shared = first_shared_file(names)) {
        const PlannedFile& first = files[shared->first];
        const PlannedFile& file = files[shared->second];
        const auto describe = [&](std::size_t configuration) {
            const std::string text = point_text(points[configuration]);
            return text.empty() ? std::string("the configuration") : text;
        };
        throw UsageError("--output " + file.path.string() + ": " +
                          (first.configuration == file.configuration
                               ? "named twice for " + describe(file.configuration)
                               : "would be written for both " + describe(first.configuration) + " and " +
                                     describe(file.configuration)) +
                          "; put the swept fields that differ into the name, e.g. {" +
                          (points.front().empty() ? std::string("rate") : points.front().front().first) +
                          "}; nothing was written");
    }
}

}  // namespace dot11b::cli
