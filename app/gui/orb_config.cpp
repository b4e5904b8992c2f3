#include "app/gui/orb_config.hpp"

#include <cmath>

#include "app/gui/control_reading.hpp"
#include "app/gui/global_records.hpp"
#include "app/num2str.hpp"
#include "app/window_view.hpp"
#include "frame/arity.hpp"
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

// The number in the field times its units (Hz, kHz, MHz, GHz), or nothing
// when the field does not hold a number.
std::optional<double> frequency_in(const Value& handles, const char* field, const char* units) {
    const auto number = app::entry_number(get_text(tag_handle(handles, field), "String"));
    if (!number || std::isnan(*number)) return std::nullopt;
    return *number * std::pow(10.0, 3 * (get_number(tag_handle(handles, units), "Value") - 1));
}

Outputs InitializeSigGenScreenObjects(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    for (const auto& [tag, tip] : kTooltips) set(tag_handle(handles, tag), "TooltipString", Value::text(tip));
    return {};
}

Outputs redrawSigGenSettings(const Inputs& in, int) {
    apply_view(handles_argument(in), app::sig_gen_view(sig_gen_settings()));
    return {};
}

Outputs redrawSigGenFrequency(const Inputs& in, int) {
    const app::FrequencyDisplay shown = app::frequency_display(frame::to_scalar(in, 2, "value"));
    set(frame::to_scalar(in, 0, "unitsControl"), "Value", Value::scalar(shown.units));
    set(frame::to_scalar(in, 1, "valueControl"), "String", Value::text(app::num2str(shown.number)));
    return {};
}

// An entry that is not a number keeps the stored value: read as the upper
// bound, a typo would set the carrier to 4 GHz.
Outputs updateFrequency(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    if (const auto hz = frequency_in(handles, "txtFrequency", "pdFrequencyUnits")) {
        app::SigGenSettings s = sig_gen_settings();
        s.frequency = instrument::frequency_entry(hz);
        store(s);
    }
    redraw_panel(handles);
    return {};
}

Outputs updateSamplingRate(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    if (const auto hz = frequency_in(handles, "txtSamplingRate", "pdSamplingRateUnits")) {
        app::SigGenSettings s = sig_gen_settings();
        s.sampling_rate = instrument::sampling_rate_entry(hz);
        store(s);
    }
    redraw_panel(handles);
    return {};
}

Outputs frequency_callback(const Inputs& in, int) {
    return frame::call_local(table(), "updateFrequency", 0, {callback_handles(in)});
}

Outputs sampling_rate_callback(const Inputs& in, int) {
    return frame::call_local(table(), "updateSamplingRate", 0, {callback_handles(in)});
}

// An entry that is not a number keeps the stored level: read as the upper
// bound, a typo would raise the output to +20 dBm.
Outputs txtAmplitude_Callback(const Inputs& in, int) {
    app::SigGenSettings s = sig_gen_settings();
    if (const auto dbm = entered(in); dbm && !std::isnan(*dbm)) s.amplitude = instrument::amplitude_entry(dbm);
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
    {"pdFrequencyUnits_Callback", kCallbackInputs, 0, 145, &frequency_callback},
    {"txtFrequency_Callback", kCallbackInputs, 0, 150, &frequency_callback},
    {"updateFrequency", 1, 0, 155, &updateFrequency},
    {"pdSamplingRateUnits_Callback", kCallbackInputs, 0, 170, &sampling_rate_callback},
    {"txtSamplingRate_Callback", kCallbackInputs, 0, 175, &sampling_rate_callback},
    {"updateSamplingRate", 1, 0, 180, &updateSamplingRate},
    {"txtWaveformTitle_Callback", kCallbackInputs, 0, 195, &txtWaveformTitle_Callback},
};

}  // namespace

const frame::LocalTable& table() {
    static const frame::LocalTable script{"ORBconfig", kFunctions};
    return script;
}

}  // namespace dot11b::gui::orb_config
