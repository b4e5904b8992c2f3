#pragma once
// The configuration file: a Level 5 MAT-file holding the instrument
// connection record as `fileParameters`, kept between runs in the working folder.

#include <filesystem>
#include <optional>
#include <string_view>

#include "app/records.hpp"

namespace dot11b::app {

inline constexpr std::string_view kConfigurationFileName = "rfIOConfig.mat";

// Throws IoError naming the file.
void save_configuration_file(const std::filesystem::path& path, const ConnectionConfig& config);

// The record with its LastParameterFilename emptied. Throws IoError whose
// message is the file name, a line break and what is wrong (or the MAT-file
// reader's IoError).
ConnectionConfig load_configuration_file(const std::filesystem::path& path);

// As at start-up: the record, or nothing when the file is missing or unusable.
std::optional<ConnectionConfig> load_saved_configuration(const std::filesystem::path& path);

}  // namespace dot11b::app
