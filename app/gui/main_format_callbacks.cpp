// dot11b_GUI_b: the format and framing callbacks.

#include "app/entry_rules.hpp"
#include "app/gui/control_reading.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/main_controller.hpp"
#include "app/window_view.hpp"
#include "instrument/sig_gen_entries.hpp"

namespace dot11b::gui::main_window {

using frame::Inputs;
using frame::Outputs;

Outputs tbGenerationMode_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.framed = ticked(in);
    // One period holds several frames in framed mode only.
    if (!p.framed) p.frames = 1;
    store(p);
    then_redraw("redrawFormatParameters", in);
    return {};
}

Outputs pdDataRate_Callback(const Inputs& in, int) {
    const int choice = chosen(in);
    app::FormatParameters p = parameters();
    p.rate = app::data_rate_of_choice(choice);
    // 1 Mbit/s is sent with the long preamble only (IEEE 802.11b 18.2.2.2).
    if (choice == 1) p.preamble = phy::PreambleType::Long;
    store(p);
    then_redraw("redrawFormatParameters", in);
    return {};
}

Outputs pdModulation_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.modulation = chosen(in) == 2 ? phy::Modulation::Pbcc : phy::Modulation::Cck;
    store(p);
    then_redraw("redrawFormatParameters", in);
    return {};
}

Outputs pdPreambleFormat_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.preamble = chosen(in) == 2 ? phy::PreambleType::Short : phy::PreambleType::Long;
    store(p);
    then_redraw("redrawProjectedLength", in);
    return {};
}

Outputs chkClkLocked_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.locked_clocks = ticked(in);
    store(p);
    return {};
}

// Off, on, or (a setting parameter files may hold) the preamble and header only.
Outputs pdScrambler_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.scrambler = phy::scrambler_mode_from_value(chosen(in) - 1, "pdScrambler");
    store(p);
    return {};
}

Outputs chkEncoderActive_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.pbcc_encoder = ticked(in);
    store(p);
    then_redraw("redrawProjectedLength", in);
    return {};
}

Outputs pdChannels_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    app::SigGenSettings s = sig_gen_settings();
    p.channel = chosen(in);
    s.frequency = instrument::channel_frequency(p.channel);
    store(p);
    store(s);
    then_redraw("redraw", in);
    return {};
}

Outputs pdPowerRamp_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.ramp = static_cast<phy::RampType>(chosen(in) - 1);
    store(p);
    then_redraw("redrawFormatParameters", in);
    return {};
}

// Entries that are not numbers are refused: the field keeps its value.
Outputs txtRampTime_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Ramp time", app::in_unit("µs"), 0, app::kMaxRampTimeUs};
    if (const auto t = accepted_number(in, field, app::samples_to_microseconds(p.ramp_length, p.oversampling))) {
        p.ramp_length = app::ramp_time_entry(t, p.oversampling);
        store(p);
        note_if_limited(in, field, *t, app::samples_to_microseconds(p.ramp_length, p.oversampling));
    }
    then_redraw("redrawFormatParameters", in);
    return {};
}

Outputs txtIdleInterval_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Idle interval", app::in_unit("µs"), 0, app::kMaxIdleTimeUs};
    if (const auto t = accepted_number(in, field, app::samples_to_microseconds(p.idle_samples, p.oversampling))) {
        p.idle_samples = app::idle_time_entry(t, p.oversampling);
        store(p);
        note_if_limited(in, field, *t, app::samples_to_microseconds(p.idle_samples, p.oversampling));
    }
    then_redraw("redrawFormatParameters", in);
    return {};
}

Outputs txtFrames_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Frames", app::in_unit(""), 1, static_cast<double>(app::kMaxFrames)};
    if (const auto n = accepted_number(in, field, static_cast<double>(p.frames))) {
        p.frames = app::frames_entry(n);
        store(p);
        note_if_limited(in, field, *n, static_cast<double>(p.frames));
    }
    then_redraw("redrawFormatParameters", in);
    return {};
}

}  // namespace dot11b::gui::main_window
