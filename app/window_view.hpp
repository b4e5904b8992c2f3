#pragma once
// What the main window and the MAC header window show for given records:
// which controls are enabled or visible, their values, texts and choice
// lists. A plain function of the records, so the rules are tested without a
// window; the desktop application applies the settings in order (a later
// setting of the same property wins).

#include <string>
#include <variant>
#include <vector>

#include "app/records.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::app {

// "Enable" and "Visible" take a flag, "Value" a number, "String" a text or a
// list of choices.
using PropertyValue = std::variant<bool, double, std::string, std::vector<std::string>>;

struct PropertySetting {
    std::string tag;       // control tag, e.g. pdDataRate
    std::string property;  // Enable, Visible, Value or String
    PropertyValue value;
    bool operator==(const PropertySetting&) const = default;
};

using ControlSettings = std::vector<PropertySetting>;

// Drop-down positions (1-based) of the data rate (1, 2, 5.5, 11 Mbit/s) and of
// the oversampling ratio (2, 2.5, 3, 3.5). Throw ConfigError for another position.
phy::DataRate data_rate_of_choice(int choice);
double oversampling_of_choice(int choice);

// The 14 RF channels as " 1 - 2412 MHz" ... "14 - 2484 MHz".
std::vector<std::string> channel_choices();

// Generation mode, data rate and modulation, preamble, scrambler, ramps, idle
// interval and channel.
ControlSettings format_parameters_view(const FormatParameters& parameters);
// Oversampling and the pulse-shaping filter.
ControlSettings generation_parameters_view(const FormatParameters& parameters);
// MAC header, FCS, payload source, data length and total length.
ControlSettings payload_setup_view(const FormatParameters& parameters);
// The projected waveform length, "<n> Samples".
ControlSettings projected_length_view(const FormatParameters& parameters);

// The generator settings panel.
ControlSettings sig_gen_view(const SigGenSettings& settings);
// The warnings beside the generator panel's sample rate, when it is not 11 MHz
// times the oversampling ratio, and beside its carrier, when it is not the
// centre of the chosen RF channel, `channel_carrier` Hz (a change of units
// rescales the value; 0: no channel to compare with).
ControlSettings sig_gen_warnings_view(const FormatParameters& parameters, const SigGenSettings& settings,
                                      double channel_carrier);

// A frequency as its units position (1 Hz, 2 kHz, 3 MHz, 4 GHz) and the
// number shown in those units.
struct FrequencyDisplay {
    int units;
    double number;
};
FrequencyDisplay frequency_display(double hz);

// One field of the MAC header window (chk<Field>, txt<Field>), or all of them
// in header order.
ControlSettings mac_field_view(const mac::MacHeader& header, mac::MacField field);
ControlSettings mac_header_view(const mac::MacHeader& header);

}  // namespace dot11b::app
