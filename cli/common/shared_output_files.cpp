#include "cli/common/shared_output_files.hpp"

#include <map>
#include <system_error>

#include "common/ascii_case.hpp"

namespace dot11b::cli {

namespace fs = std::filesystem;

fs::path output_file_identity(const fs::path& name) {
    const fs::path absolute = fs::absolute(name);
    std::error_code error;
    fs::path identity = fs::weakly_canonical(absolute, error);
    // A folder that cannot be searched: the name as written.
    if (error) identity = absolute.lexically_normal();
    const std::string extension = to_lower_ascii(identity.extension().string());
    if (extension == ".sigmf-meta" || extension == ".sigmf-data") identity.replace_extension(".sigmf");
    return identity;
}

std::optional<std::pair<std::size_t, std::size_t>> first_shared_file(std::span<const fs::path> names) {
    std::map<fs::path, std::size_t> seen;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto [earlier, inserted] = seen.emplace(output_file_identity(names[i]), i);
        if (!inserted) return std::pair{earlier->second, i};
    }
    return std::nullopt;
}

}  // namespace dot11b::cli
