#include "cli/gen/sweep_manifest.hpp"

#include "app/record_reader.hpp"
#include "cli/gen/generation_options.hpp"
#include "common/number_text.hpp"

namespace dot11b::cli {
namespace {

// RFC 4180 quoting.
std::string field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string manifest_csv(std::span<const ManifestRow> rows) {
    std::string csv = "file";
    for (const auto& [name, value] : option_values(app::FormatParameters{})) csv += "," + name;
    csv += ",samples,projected_length,sample_rate\n";
    for (const ManifestRow& row : rows) {
        csv += field(row.file.string());
        for (const auto& [name, value] : option_values(*row.parameters)) csv += "," + field(value);
        csv += "," + std::to_string(row.samples) + "," +
               (row.projected_length ? number_text(*row.projected_length) : std::string()) + "," +
               number_text(row.sample_rate) + "\n";
    }
    return csv;
}

}  // namespace dot11b::cli
