#include "cli/gen/output_template.hpp"

#include <algorithm>
#include <map>

#include "cli/gen/usage_error.hpp"

namespace dot11b::cli {
namespace {

std::string swept_fields(const SweepPoint& point) {
    std::string text;
    for (const auto& entry : point) text += (text.empty() ? "{" : ", {") + entry.first + "}";
    return text.empty() ? "none" : text;
}

// The file a path names: lexically normal, and one name for both halves of a SigMF recording.
std::filesystem::path file_key(const std::filesystem::path& path) {
    std::filesystem::path key = path.lexically_normal();
    const auto extension = key.extension();
    if (extension == ".sigmf-meta" || extension == ".sigmf-data") key.replace_extension(".sigmf");
    return key;
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
    std::map<std::filesystem::path, const PlannedFile*> seen;
    for (const PlannedFile& file : files) {
        const auto [it, inserted] = seen.emplace(file_key(file.path), &file);
        if (inserted) continue;
        const PlannedFile& first = *it->second;
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
