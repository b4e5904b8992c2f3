#include "impairments/impairment_settings.hpp"

#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::impairments {

bool ImpairmentSettings::any() const {
    for (const ImpairmentField& field : kImpairmentFields) {
        if (this->*field.member) return true;
    }
    return false;
}

void ImpairmentSettings::validate() const {
    for (const ImpairmentField& field : kImpairmentFields) {
        const std::optional<double>& value = this->*field.member;
        if (value && !(*value >= field.min && *value <= field.max)) {
            throw ConfigError("--" + std::string(field.option) + " " + number_text(*value) + " is outside " +
                              number_text(field.min) + " to " + number_text(field.max) + " " +
                              std::string(field.unit));
        }
    }
}

const ImpairmentField* impairment_field(std::string_view option) {
    for (const ImpairmentField& field : kImpairmentFields) {
        if (field.option == option) return &field;
    }
    return nullptr;
}

std::string describe_impairments(const ImpairmentSettings& settings) {
    std::string text;
    for (const ImpairmentField& field : kImpairmentFields) {
        if (const std::optional<double>& value = settings.*field.member) {
            text += (text.empty() ? "" : ", ") + std::string(field.option) + " " + number_text(*value) + " " +
                    std::string(field.unit);
        }
    }
    if (settings.snr) text += " (seed " + std::to_string(settings.seed) + ")";
    return text;
}

std::size_t clock_offset_length(std::size_t n, double ppm) {
    const double scaled = static_cast<double>(n) / (1.0 + ppm * 1e-6);
    return 2 * static_cast<std::size_t>(std::llround(scaled / 2.0));
}

}  // namespace dot11b::impairments
