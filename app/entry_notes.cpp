#include "app/entry_notes.hpp"

#include "app/num2str.hpp"
#include "app/window_view.hpp"

namespace dot11b::app {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string shown_entry(std::string_view entry) {
    const std::string_view text = trimmed(entry);
    return text.empty() ? "an empty entry" : std::string(text);
}

}  // namespace

std::function<std::string(double)> in_unit(std::string unit) {
    return [unit = std::move(unit)](double x) { return unit.empty() ? num2str(x) : num2str(x) + " " + unit; };
}

std::string frequency_text(double hz) {
    static const char* const kUnits[] = {"Hz", "kHz", "MHz", "GHz"};
    const FrequencyDisplay shown = frequency_display(hz);
    return num2str(shown.number) + " " + kUnits[shown.units - 1];
}

std::string refused_entry_note(const EntryField& field, std::string_view entry, double kept) {
    return field.label + ": " + shown_entry(entry) + " is not a number; kept " + field.show(kept);
}

std::optional<std::string> clamped_entry_note(const EntryField& field, std::string_view entry, double entered,
                                              double stored) {
    const char* side = entered < field.min ? " is less than " : entered > field.max ? " is more than " : nullptr;
    if (side == nullptr) return std::nullopt;
    const double bound = entered < field.min ? field.min : field.max;
    return field.label + ": " + shown_entry(entry) + side + field.show(bound) + "; set to " + field.show(stored);
}

}  // namespace dot11b::app
