#include "app/gui/orb_config.hpp"

#include <cmath>

#include "app/entry_notes.hpp"
#include "app/gui/control_reading.hpp"
#include "app/gui/global_records.hpp"
#include "app/num2str.hpp"
#include "app/window_view.hpp"
#include "frame/arity.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"
#include "instrument/sig_gen_entries.hpp"

namespace dot11b::gui::orb_config {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

const std::pair<const char*, const char*> kTooltips[] = {
    {"txtFrequency",
     "Sets the carrier frequency.\nValid Range: 100 kHz - 4 GHz\n(Note: ORB model determines the\nmaximum frequency.)"},
    {"txtAmplitude",
     "Sets the output power.\nValid Range: -136 dBm to +20 dBm\n(Note: ORB model determines the\nmaximum amplitude.)"},
    {"txtSamplingRate",
     "Sets the baseband samping rate.\nValid Range: 1 Hz - 40 MHz\n(Configures automatically to be consistent\nwith "
     "the selected Oversampling Ratio.)"},
    {"pdReconFilter", "Selects the ORB reconstruction filter."},
    {"chkRFblanking", "Toggles the state of the\nRF Blanking feature."},
    {"tbArbRefSource",
     "Toggles the source of the ARB reference\nbetween internal and external.\n(Note: Ensure that an external "
     "reference\nis connected to the ORB before setting\nthe ARB reference source to external.)"},
    {"tbMarkerPolarity",
     "Toggles the Event marker polarity.\n(Note: The Event 2 Marker is used by\nthe internal RF Blanking feature, "
     "inverting the\npolarity while RF Blanking is active may\nlead to unexpected behaivour.)"},
    {"txtWaveformTitle", "Enter the title used to store the \nwaveform in the ORB."},
};

void redraw_panel(const Value& handles) { frame::call_local(table(), "redrawSigGenSettings", 0, {handles}); }

// A carrier or sample rate field with its units drop-down.
struct FrequencyField {
    const char* value;
    const char* units;
    app::EntryField entry;
};

const FrequencyField kCarrier{"txtFrequency", "pdFrequencyUnits",
                              {"Frequency", app::frequency_text, instrument::kMinFrequency, instrument::kMaxFrequency}};
const FrequencyField kClock{"txtSamplingRate", "pdSamplingRateUnits",
                            {"Sample rate", app::frequency_text, instrument::kMinSamplingRate,
                             instrument::kMaxSamplingRate}};

std::string field_text(const Value& handles, const char* tag) { return get_text(tag_handle(handles, tag), "String"); }

std::string units_text(const Value& handles, const FrequencyField& field) {
    const double position = get_number(tag_handle(handles, field.units), "Value");
    const Value choices = get(tag_handle(handles, field.units), "String");
    const auto index = static_cast<std::size_t>(position - 1);
    return index < choices.numel() ? choices.cell_at(index).text() : std::string();
}

// The number in the field times its units (Hz, kHz, MHz, GHz), or nothing
// when the field does not hold a number.
std::optional<double> frequency_in(const Value& handles, const FrequencyField& field) {
    const auto number = app::entry_number(field_text(handles, field.value));
    if (!number || std::isnan(*number)) return std::nullopt;
    return *number * std::pow(10.0, 3 * (get_number(tag_handle(handles, field.units), "Value") - 1));
}

// Stores the field's frequency through `rule` and says so when the entry was
// refused or limited. An entry that is not a number keeps the stored value:
// read as the upper bound, a typo would set the carrier to 4 GHz.
void update(const Value& handles, const FrequencyField& field, double& stored, double (*rule)(std::optional<double>)) {
    const std::string entry = field_text(handles, field.value);
    if (const auto hz = frequency_in(handles, field)) {
        stored = rule(hz);
        const auto first = entry.find_first_not_of(" \t");
        const std::string typed = entry.substr(first, entry.find_last_not_of(" \t") - first + 1) + " " +
                                  units_text(handles, field);
        if (const auto note = app::clamped_entry_note(field.entry, typed, *hz, stored)) frame::print_note(*note);
    } else {
        frame::print_note(app::refused_entry_note(field.entry, entry, stored));
    }
}

// A change of units rescales the stored value (2.437 GHz becomes 2.437 MHz):
// the status line says so.
Outputs units_changed(const Inputs& in, const FrequencyField& field, double app::SigGenSettings::*value,
                      const char* update_name) {
    const double before = sig_gen_settings().*value;
    const std::string units = units_text(callback_handles(in), field);
    frame::call_local(table(), update_name, 0, {callback_handles(in)});
    const double after = sig_gen_settings().*value;
    if (after != before) {
        frame::print_note(field.entry.label + ": changing the units to " + units + " set " +
                          app::frequency_text(before) + " to " + app::frequency_text(after));
    }
    return {};
}

Outputs InitializeSigGenScreenObjects(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    for (const auto& [tag, tip] : kTooltips) set(tag_handle(handles, tag), "TooltipString", Value::text(tip));
    return {};
}

Outputs redrawSigGenSettings(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    const app::FormatParameters p = parameters();
    apply_view(handles, app::sig_gen_view(sig_gen_settings()));
    const double channel_carrier = p.channel >= 1 && p.channel <= 14 ? instrument::channel_frequency(p.channel) : 0;
    apply_view(handles, app::sig_gen_warnings_view(p, sig_gen_settings(), channel_carrier));
    return {};
}

Outputs redrawSigGenFrequency(const Inputs& in, int) {
    const app::FrequencyDisplay shown = app::frequency_display(frame::to_scalar(in, 2, "value"));
    set(frame::to_scalar(in, 0, "unitsControl"), "Value", Value::scalar(shown.units));
    set(frame::to_scalar(in, 1, "valueControl"), "String", Value::text(app::num2str(shown.number)));
    return {};
}

Outputs updateFrequency(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    app::SigGenSettings s = sig_gen_settings();
    update(handles, kCarrier, s.frequency, instrument::frequency_entry);
    store(s);
    redraw_panel(handles);
    return {};
}

Outputs updateSamplingRate(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    app::SigGenSettings s = sig_gen_settings();
    update(handles, kClock, s.sampling_rate, instrument::sampling_rate_entry);
    store(s);
    redraw_panel(handles);
    return {};
}

Outputs txtFrequency_Callback(const Inputs& in, int) {
    return frame::call_local(table(), "updateFrequency", 0, {callback_handles(in)});
}

Outputs pdFrequencyUnits_Callback(const Inputs& in, int) {
    return units_changed(in, kCarrier, &app::SigGenSettings::frequency, "updateFrequency");
}

Outputs txtSamplingRate_Callback(const Inputs& in, int) {
    return frame::call_local(table(), "updateSamplingRate", 0, {callback_handles(in)});
}

Outputs pdSamplingRateUnits_Callback(const Inputs& in, int) {
    return units_changed(in, kClock, &app::SigGenSettings::sampling_rate, "updateSamplingRate");
}

// An entry that is not a number keeps the stored level: read as the upper
// bound, a typo would raise the output to +20 dBm.
Outputs txtAmplitude_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    const app::EntryField field{"Amplitude", app::in_unit("dBm"), instrument::kMinAmplitude, instrument::kMaxAmplitude};
    const std::string entry = get_text(callback_control(in), "String");
    if (const auto dbm = app::entry_number(entry); dbm && !std::isnan(*dbm)) {
        s.amplitude = instrument::amplitude_entry(dbm);
        if (const auto note = app::clamped_entry_note(field, entry, std::round(*dbm), s.amplitude)) {
            frame::print_note(*note);
        }
    } else {
        frame::print_note(app::refused_entry_note(field, entry, s.amplitude));
    }
    store(s);
    redraw_panel(callback_handles(in));
    return {};
}

Outputs txtWaveformTitle_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    s.title = instrument::waveform_title_entry(get_text(callback_control(in), "String"));
    store(s);
    redraw_panel(callback_handles(in));
    return {};
}

Outputs pdReconFilter_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    s.recon_filter = chosen(in);
    store(s);
    return {};
}

Outputs chkRFblanking_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    s.rf_blanking = ticked(in);
    store(s);
    return {};
}

Outputs tbArbRefSource_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    s.external_reference = ticked(in);
    store(s);
    redraw_panel(callback_handles(in));
    return {};
}

Outputs tbMarkerPolarity_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    s.negative_markers = ticked(in);
    store(s);
    redraw_panel(callback_handles(in));
    return {};
}

constexpr frame::Arity kCallbackInputs = AT_LEAST(3);

const frame::LocalFunction kFunctions[] = {
    {"InitializeSigGenScreenObjects", 1, 0, 20, &InitializeSigGenScreenObjects},
    {"redrawSigGenSettings", 1, 0, 58, &redrawSigGenSettings},
    {"redrawSigGenFrequency", 3, 0, 84, &redrawSigGenFrequency},
    {"pdReconFilter_Callback", kCallbackInputs, 0, 103, &pdReconFilter_Callback},
    {"txtAmplitude_Callback", kCallbackInputs, 0, 110, &txtAmplitude_Callback},
    {"chkRFblanking_Callback", kCallbackInputs, 0, 122, &chkRFblanking_Callback},
    {"tbArbRefSource_Callback", kCallbackInputs, 0, 129, &tbArbRefSource_Callback},
    {"tbMarkerPolarity_Callback", kCallbackInputs, 0, 137, &tbMarkerPolarity_Callback},
    {"pdFrequencyUnits_Callback", kCallbackInputs, 0, 145, &pdFrequencyUnits_Callback},
    {"txtFrequency_Callback", kCallbackInputs, 0, 150, &txtFrequency_Callback},
    {"updateFrequency", 1, 0, 155, &updateFrequency},
    {"pdSamplingRateUnits_Callback", kCallbackInputs, 0, 170, &pdSamplingRateUnits_Callback},
    {"txtSamplingRate_Callback", kCallbackInputs, 0, 175, &txtSamplingRate_Callback},
    {"updateSamplingRate", 1, 0, 180, &updateSamplingRate},
    {"txtWaveformTitle_Callback", kCallbackInputs, 0, 195, &txtWaveformTitle_Callback},
};

}  // namespace

const frame::LocalTable& table() {
    static const frame::LocalTable script{"ORBconfig", kFunctions};
    return script;
}

}  // namespace dot11b::gui::orb_config
