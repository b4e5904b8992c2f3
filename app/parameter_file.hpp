#pragma once
// The parameter file: a Level 5 MAT-file holding the format configuration as
// `fileParameters` and the signal generator settings as `sigGenParameters`.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "app/records.hpp"
#include "impairments/impairment_settings.hpp"
#include "common/durable_file.hpp"
#include "common/errors.hpp"

namespace dot11b::app {

// A file that was read but holds no valid parameter set. what() is the
// window's dialog text: the file name, a line break and the problem.
class ParameterFileError : public IoError {
public:
    ParameterFileError(const std::filesystem::path& path, std::string problem)
        : IoError(path.string() + "\n" + problem), problem_(std::move(problem)) {}
    // "has an Invalid File Format." and the like, without the file name.
    const std::string& problem() const { return problem_; }

private:
    std::string problem_;
};

struct ParameterSet {
    FormatParameters parameters;
    SigGenSettings settings;
    impairments::ImpairmentSettings impairments{};  // none in a file without impairmentParameters
};

// Writes the records into `file`, which the caller commits; the impairments
// go into `impairmentParameters` only when one is on or the seed is not 1.
// Throws IoError naming the file.
void save_parameter_file(DurableFile& file, const FormatParameters& parameters, const SigGenSettings& settings,
                         const impairments::ImpairmentSettings& impairments = {});

// Replaces the file at `path` durably. Throws IoError naming the file.
void save_parameter_file(const std::filesystem::path& path, const FormatParameters& parameters,
                         const SigGenSettings& settings, const impairments::ImpairmentSettings& impairments = {});

// Reads and checks both records; nothing is returned unless the whole file is
// good. Throws ParameterFileError whose message is the file name, a line break and what
// is wrong: "has an Invalid File Format." (no fileParameters), "has an Invalid
// File Structure." (no format tag), "has an Invalid File Parameter ID." (a tag
// other than `format_id`), "has no sigGenParameters.", or "has an invalid
// setting: " and the field, its value and the allowed values. A file that
// cannot be read as a MAT-file gives the reader's IoError.
ParameterSet load_parameter_file(const std::filesystem::path& path,
                                 std::string_view format_id = kParameterFileFormatId);

}  // namespace dot11b::app
