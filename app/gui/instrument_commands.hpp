#pragma once
// The main window's instrument commands over the application's global
// records: the two connection dialogs of the Configuration menu, and
// Download and Refresh with what they send read from `waveform`, `markers`,
// `SigGenSettings`, `configuration` and `appInfo.Platform`. Errors raised on
// the way (an unusable record, say) are thrown for the caller's dispatcher to
// print.

#include <QWidget>

namespace dot11b::gui {

// Sig Gen I/O: the connection dialog for `configuration`, restricted by the
// platform; "OK" replaces the record, anything else leaves it.
void edit_sig_gen_connection(QWidget* main);
// Spec An I/O: the same for `configurationSA`, all buses offered, in the
// window "Spectrum Analyzer IO Connection".
void edit_spec_an_connection(QWidget* main);

// Download once the waveform is ready: see download_to_instrument, or
// start_sdr_playback on the SDR bus.
void download_waveform(QWidget* main);
// Refresh: only the settings, see refresh_instrument; on the SDR bus, the
// carrier and gain of the playing device (retune_sdr_playback).
void refresh_settings(QWidget* main);

}  // namespace dot11b::gui
