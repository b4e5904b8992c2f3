#include "app/waveform_files/file_format.hpp"

#include <string>

#include "common/ascii_case.hpp"
#include "common/errors.hpp"

namespace dot11b::waveform_files {

Format format_of(const std::filesystem::path& path) {
    const std::string extension = to_lower_ascii(path.extension().string());
    if (extension == ".wfm") return Format::wfm;
    if (extension == ".cf32") return Format::cf32;
    if (extension == ".sigmf-meta" || extension == ".sigmf-data") return Format::sigmf;
    if (extension == ".mat") return Format::mat;
    throw ConfigError(path.string() + ": not a waveform file name; allowed extensions: " +
                      std::string(format_extensions()));
}

std::string_view format_extensions() { return ".wfm, .cf32, .sigmf-meta, .sigmf-data, .mat"; }

}  // namespace dot11b::waveform_files
