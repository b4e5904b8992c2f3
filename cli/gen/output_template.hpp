#pragma once
// Output names of a sweep, templated from the swept values:
// -o 'lib/{rate}M-{preamble}-os{oversampling}.wfm'.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "cli/gen/sweep_expansion.hpp"

namespace dot11b::cli {

// The name with each {FIELD} replaced by the point's value of FIELD. Throws
// ConfigError naming the template for an unclosed brace or a FIELD that is
// not swept.
std::string expand_template(const std::string& name, const SweepPoint& point);

// A file that one configuration of a sweep would write.
struct PlannedFile {
    std::filesystem::path path;
    std::size_t configuration;  // index of the configuration that writes it
};

// Throws ConfigError naming the file and both configurations when two
// planned files are the same file (a SigMF recording is one file whichever of
// its two names is given).
void refuse_duplicate_files(std::span<const PlannedFile> files, std::span<const SweepPoint> points);

}  // namespace dot11b::cli
