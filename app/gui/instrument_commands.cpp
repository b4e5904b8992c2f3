#include "app/gui/instrument_commands.hpp"

#include "app/gui/download_runner.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/sdr_playback.hpp"
#include "app/gui/status_line.hpp"
#include "common/ascii_case.hpp"
#include "app/waveform_files/marker_file.hpp"
#include "common/gui/handles.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui {
namespace {

using frame::Global;
using frame::Value;

void edit_connection(QWidget* main, Global record, Value text) {
    Value window = main != nullptr ? Value::scalar(handle_of(main)) : Value();
    const frame::Outputs answer =
        frame::call_by_name("XR_SigGen", 2, {std::move(window), frame::global(record), std::move(text)});
    if (answer[0] == Value::text("OK")) frame::global(record) = answer[1];
}

}  // namespace

// Every bus is offered, whatever the platform letter: a generator on the LAN
// must be reachable from the window, and restricting the list would turn a
// saved TCP/IP connection into GPIB as soon as the dialog is confirmed.
void edit_sig_gen_connection(QWidget* main) {
    edit_connection(main, Global::configuration, Value::text("Signal Generator"));
}

void edit_spec_an_connection(QWidget* main) {
    edit_connection(main, Global::configurationSA, Value::text("Spectrum Analyzer"));
}

void download_waveform(QWidget* main) {
    DownloadInput input;
    const frame::Inputs globals("rfCommonUI/pbDownload_Callback",
                                {frame::global(Global::waveform), frame::global(Global::markers)});
    input.waveform = frame::to_samples(globals, 0, "waveform");
    const auto marker_rows = frame::to_marker_rows(globals, 1, "markers");
    input.markers = waveform_files::marker_bytes(marker_rows[0], marker_rows[1]);
    input.settings = sig_gen_settings();
    input.configuration = configuration();
    input.platform = app_info_text("Platform");
    if (equal_ignoring_case(input.configuration.type, "SDR")) {
        start_sdr_playback(main, input);
    } else {
        download_to_instrument(main, input);
    }
}

void refresh_settings(QWidget* main) {
    const app::ConnectionConfig connection = configuration();
    if (equal_ignoring_case(connection.type, "SDR")) {
        if (!retune_sdr_playback(main, sig_gen_settings().frequency, connection.sdr.gain)) {
            show_status(main, frame::ConsoleKind::Note, "Nothing plays on the SDR: Download starts it.");
        }
        return;
    }
    refresh_instrument(main, sig_gen_settings(), configuration(), app_info_text("Platform"));
}

}  // namespace dot11b::gui
