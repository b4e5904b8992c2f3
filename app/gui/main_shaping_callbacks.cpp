// dot11b_GUI_b: the oversampling and pulse-shaping callbacks.

#include "app/calculation.hpp"
#include "app/entry_rules.hpp"
#include "app/gui/control_reading.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/main_controller.hpp"
#include "app/num2str.hpp"
#include "app/window_view.hpp"

namespace dot11b::gui::main_window {
namespace {

// The field shows what was stored.
void rewrite(const frame::Inputs& in, double stored) {
    set(callback_control(in), "String", frame::Value::text(app::num2str(stored)));
}

}  // namespace

using frame::Inputs;
using frame::Outputs;

Outputs pdOversampleRate_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    app::SigGenSettings s = sig_gen_settings();
    app::change_oversampling(p, s, app::oversampling_of_choice(chosen(in)));
    store(p);
    store(s);
    then_redraw("redraw", in);
    return {};
}

Outputs pdFilterType_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.filter = static_cast<phy::FilterType>(chosen(in) - 1);
    // A factor entered without a filter has no lower bound; brought into the
    // new filter's range, it stays a usable BT or roll-off.
    p.filter_factor = app::filter_factor_entry(p.filter_factor, p.filter);
    store(p);
    then_redraw("redrawGenerationParameters", in);
    return {};
}

Outputs txtFilterFactor_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Filter factor", app::in_unit(""), app::min_filter_factor(p.filter),
                                app::kMaxFilterFactor};
    if (const auto f = accepted_number(in, field, p.filter_factor)) {
        p.filter_factor = app::filter_factor_entry(f, p.filter);
        store(p);
        note_if_limited(in, field, *f, p.filter_factor);
    }
    rewrite(in, p.filter_factor);
    return {};
}

Outputs txtFilterTaps_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Filter length", app::in_unit("symbols"), app::kMinFilterTaps, app::kMaxFilterTaps};
    if (const auto n = accepted_number(in, field, p.filter_taps)) {
        p.filter_taps = app::filter_taps_entry(n, p.oversampling);
        store(p);
        note_if_limited(in, field, *n, p.filter_taps);
    }
    rewrite(in, p.filter_taps);
    return {};
}

Outputs chkMirrorSpectrum_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.mirror_spectrum = ticked(in);
    store(p);
    return {};
}

}  // namespace dot11b::gui::main_window
