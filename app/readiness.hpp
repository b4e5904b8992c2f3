#pragma once
// The question asked before the waveform is used (downloaded, exported,
// saved or plotted): never calculated, or calculated from other settings.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dot11b::app {

struct ReadinessQuestion {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    std::string default_button;
};

// What to do after the question, or without one.
enum class ReadinessStep { Cancel, UseWaveform, CalculateFirst };

// The question for `action` (a word such as "Download" or "Plot"); nothing
// when the waveform was calculated from the current settings.
std::optional<ReadinessQuestion> readiness_question(std::string_view action, bool calculated, bool settings_changed);

// The step for the answer (nullopt: the dialog was closed). Before any
// calculation every answer but "Cancel" calculates first; afterwards only
// "Recalc & <action>" does, "Cancel" cancels and any other answer uses the
// last calculated waveform.
ReadinessStep readiness_step(std::string_view action, bool calculated, const std::optional<std::string>& answer);

}  // namespace dot11b::app
