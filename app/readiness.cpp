#include "app/readiness.hpp"

#include <cctype>

namespace dot11b::app {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (auto& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string recalculate_button(std::string_view action) { return "Recalc & " + std::string(action); }

}  // namespace

std::optional<ReadinessQuestion> readiness_question(std::string_view action, bool calculated, bool settings_changed) {
    const std::string word(action);
    if (!calculated) {
        return ReadinessQuestion{"Waveform Not Calculated",
                                 "The waveform has not yet been calculated. Do you wish to calculate\nthe waveform and "
                                 "then " + lower(action) + " ?",
                                 {"Calculate & " + word, "Cancel"},
                                 "Calculate & " + word};
    }
    if (!settings_changed) return std::nullopt;
    return ReadinessQuestion{"Waveform Not Recalculated",
                             "Settings have changed since last calculating the waveform.\n" + word +
                                 " will use the last calculated waveform.\nDo you wish to " + lower(action) +
                                 " anyway ?",
                             {"Yes", recalculate_button(action), "Cancel"},
                             recalculate_button(action)};
}

ReadinessStep readiness_step(std::string_view action, bool calculated, const std::optional<std::string>& answer) {
    if (answer == "Cancel") return ReadinessStep::Cancel;
    if (!calculated || answer == recalculate_button(action)) return ReadinessStep::CalculateFirst;
    return ReadinessStep::UseWaveform;
}

}  // namespace dot11b::app
