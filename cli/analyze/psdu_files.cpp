#include "cli/analyze/psdu_files.hpp"

#include "common/durable_file.hpp"

namespace dot11b::cli {

std::filesystem::path psdu_path(const std::filesystem::path& path, std::size_t burst) {
    if (burst <= 1) return path;
    std::filesystem::path numbered = path;
    numbered.replace_filename(path.stem().string() + "-" + std::to_string(burst) + path.extension().string());
    return numbered;
}

std::vector<std::filesystem::path> write_psdu_files(const std::filesystem::path& path,
                                                    const analyzer::Analysis& analysis) {
    std::vector<std::filesystem::path> written;
    for (std::size_t k = 0; k < analysis.bursts.size(); ++k) {
        const analyzer::BurstAnalysis& burst = analysis.bursts[k];
        if (burst.status != analyzer::DecodeStatus::Decoded) continue;
        const std::filesystem::path file = psdu_path(path, k + 1);
        write_file_durably(file, burst.psdu);
        written.push_back(file);
    }
    return written;
}

}  // namespace dot11b::cli
