#include "app/configuration_file.hpp"

#include <array>
#include <string>

#include "app/record_values.hpp"
#include "common/errors.hpp"
#include "frame/matfile.hpp"

namespace dot11b::app {
namespace {

constexpr std::string_view kVariable = "fileParameters";

}  // namespace

void save_configuration_file(const std::filesystem::path& path, const ConnectionConfig& config) {
    const std::array<frame::MatVariable, 1> variables = {{{std::string(kVariable), to_value(config)}}};
    frame::write_mat_file(path, variables);
}

ConnectionConfig load_configuration_file(const std::filesystem::path& path) {
    constexpr std::array<std::string_view, 1> names = {kVariable};
    const auto variables = frame::read_mat_file(path, names);
    if (variables.empty()) throw IoError(path.string() + "\nhas an Invalid File Format.");
    try {
        ConnectionConfig config = connection_config_from_value(variables.front().value, kVariable);
        config.last_parameter_filename.clear();
        return config;
    } catch (const ConfigError& e) {
        throw IoError(path.string() + "\nhas an invalid setting: " + e.what());
    }
}

std::optional<ConnectionConfig> load_saved_configuration(const std::filesystem::path& path) {
    try {
        return load_configuration_file(path);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

}  // namespace dot11b::app
