#include "app/parameter_file.hpp"

#include <array>
#include <string>

#include "app/record_values.hpp"
#include "common/errors.hpp"
#include "frame/matfile.hpp"

namespace dot11b::app {
namespace {

constexpr std::string_view kParametersVariable = "fileParameters";
constexpr std::string_view kSettingsVariable = "sigGenParameters";
constexpr std::string_view kImpairmentsVariable = "impairmentParameters";

[[noreturn]] void refuse(const std::filesystem::path& path, std::string_view what) {
    throw ParameterFileError(path, std::string(what));
}

const frame::Value* find(const std::vector<frame::MatVariable>& variables, std::string_view name) {
    for (const auto& variable : variables) {
        if (variable.name == name) return &variable.value;
    }
    return nullptr;
}

}  // namespace

void save_parameter_file(DurableFile& file, const FormatParameters& parameters, const SigGenSettings& settings,
                         const impairments::ImpairmentSettings& impairments) {
    std::vector<frame::MatVariable> variables = {
        {std::string(kParametersVariable), to_value(parameters)},
        {std::string(kSettingsVariable), to_value(settings)},
    };
    if (impairments != impairments::ImpairmentSettings{}) {
        variables.push_back({std::string(kImpairmentsVariable), to_value(impairments)});
    }
    frame::write_mat_file(file, variables);
}

void save_parameter_file(const std::filesystem::path& path, const FormatParameters& parameters,
                         const SigGenSettings& settings, const impairments::ImpairmentSettings& impairments) {
    DurableFile file(path);
    save_parameter_file(file, parameters, settings, impairments);
    file.commit();
}

ParameterSet load_parameter_file(const std::filesystem::path& path, std::string_view format_id) {
    constexpr std::array<std::string_view, 3> names = {kParametersVariable, kSettingsVariable, kImpairmentsVariable};
    const auto variables = frame::read_mat_file(path, names);

    const frame::Value* parameters = find(variables, kParametersVariable);
    if (!parameters) refuse(path, "has an Invalid File Format.");
    // The tag must be a field of a single record (not of an empty or longer structure array).
    if (!parameters->has_field("ParameterFileFormat_ID") || parameters->numel() != 1) {
        refuse(path, "has an Invalid File Structure.");
    }
    const frame::Value& tag = parameters->field("ParameterFileFormat_ID");
    if (tag.kind() != frame::Value::Kind::Char || tag.rows() != 1 || tag.text() != format_id) {
        refuse(path, "has an Invalid File Parameter ID.");
    }
    const frame::Value* settings = find(variables, kSettingsVariable);
    if (!settings) refuse(path, "has no sigGenParameters.");

    try {
        const frame::Value* impairments = find(variables, kImpairmentsVariable);
        return {format_parameters_from_value(*parameters, kParametersVariable),
                sig_gen_settings_from_value(*settings, kSettingsVariable),
                impairments ? impairment_settings_from_value(*impairments, kImpairmentsVariable)
                            : impairments::ImpairmentSettings{}};
    } catch (const ConfigError& e) {
        refuse(path, std::string("has an invalid setting: ") + e.what());
    }
}

}  // namespace dot11b::app
