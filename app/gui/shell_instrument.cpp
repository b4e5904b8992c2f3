// rfCommonUI: Download and Refresh, and the connection dialogs of the
// Configuration menu.

#include "app/gui/callbacks.hpp"
#include "app/gui/instrument_commands.hpp"
#include "app/gui/sdr_playback.hpp"
#include "app/gui/shell.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::shell {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

Outputs pbDownload_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    // While an SDR plays, the button reads "Stop".
    if (QWidget* main = main_window(handles); sdr_playing(main)) {
        stop_sdr_playback(main);
        return {};
    }
    const Value ready = frame::call_local(table(), "checkWaveformReady", 1, {Value::text("Download"), handles}).at(0);
    if (ready == Value::scalar(1)) download_waveform(main_window(handles));
    return {};
}

Outputs pbRefresh_Callback(const Inputs& in, int) {
    refresh_settings(main_window(callback_handles(in)));
    return {};
}

Outputs menuConfigSigGenIO_Callback(const Inputs& in, int) {
    edit_sig_gen_connection(main_window(callback_handles(in)));
    return {};
}

Outputs menuConfigSpecAnIO_Callback(const Inputs& in, int) {
    edit_spec_an_connection(main_window(callback_handles(in)));
    return {};
}

}  // namespace dot11b::gui::shell
