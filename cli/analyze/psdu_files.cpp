#include "cli/analyze/psdu_files.hpp"

#include <sys/stat.h>

#include <cctype>
#include <string>

#include "cli/gen/usage_error.hpp"
#include "common/durable_file.hpp"

namespace dot11b::cli {
namespace {

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// The burst number an input's name would carry as a numbered PSDU file
// ("rec-3.cf32" gives 3), or 0.
std::size_t number_in_name(const std::filesystem::path& input) {
    const std::string stem = input.stem().string();
    const std::size_t dash = stem.rfind('-');
    if (dash == std::string::npos || dash + 1 == stem.size() || stem.size() - dash > 10) return 0;
    std::size_t number = 0;
    for (std::size_t k = dash + 1; k < stem.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(stem[k]))) return 0;
        number = 10 * number + static_cast<std::size_t>(stem[k] - '0');
    }
    return number;
}

}  // namespace

std::filesystem::path psdu_path(const std::filesystem::path& path, std::size_t burst) {
    if (burst <= 1) return path;
    std::filesystem::path numbered = path;
    numbered.replace_filename(path.stem().string() + "-" + std::to_string(burst) + path.extension().string());
    return numbered;
}

void refuse_psdu_over_inputs(const std::filesystem::path& path, std::span<const std::filesystem::path> inputs) {
    for (const std::filesystem::path& input : inputs) {
        const std::size_t number = number_in_name(input);
        for (const std::size_t burst : {std::size_t{1}, number}) {
            if (burst == 0 || !same_file(psdu_path(path, burst), input)) continue;
            throw UsageError("--psdu " + path.string() + ": " + psdu_path(path, burst).string() +
                             " is the recording's file " + input.string() +
                             "; allowed: a file that is not part of the recording");
        }
    }
}

std::optional<std::filesystem::path> write_psdu_file(const std::filesystem::path& path, std::size_t burst,
                                                     const analyzer::BurstAnalysis& analysis) {
    if (analysis.status != analyzer::DecodeStatus::Decoded) return std::nullopt;
    const std::filesystem::path file = psdu_path(path, burst);
    write_file_durably(file, analysis.psdu);
    return file;
}

}  // namespace dot11b::cli
