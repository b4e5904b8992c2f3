#pragma once
// The parameter file: a Level 5 MAT-file holding the format configuration as
// `fileParameters` and the signal generator settings as `sigGenParameters`.

#include <filesystem>
#include <string_view>

#include "app/records.hpp"
#include "common/durable_file.hpp"

namespace dot11b::app {

struct ParameterSet {
    FormatParameters parameters;
    SigGenSettings settings;
};

// Writes both records into `file`, which the caller commits. Throws IoError
// naming the file.
void save_parameter_file(DurableFile& file, const FormatParameters& parameters, const SigGenSettings& settings);

// Replaces the file at `path` durably. Throws IoError naming the file.
void save_parameter_file(const std::filesystem::path& path, const FormatParameters& parameters,
                         const SigGenSettings& settings);

// Reads and checks both records; nothing is returned unless the whole file is
// good. Throws IoError whose message is the file name, a line break and what
// is wrong: "has an Invalid File Format." (no fileParameters), "has an Invalid
// File Structure." (no format tag), "has an Invalid File Parameter ID." (a tag
// other than `format_id`), "has no sigGenParameters.", or "has an invalid
// setting: " and the field, its value and the allowed values. A file that
// cannot be read as a MAT-file gives the reader's IoError.
ParameterSet load_parameter_file(const std::filesystem::path& path,
                                 std::string_view format_id = kParameterFileFormatId);

}  // namespace dot11b::app
