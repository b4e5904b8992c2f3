#pragma once
// Download on the SDR bus: the waveform plays in a loop on a worker thread,
// with no modal wait, until Stop (the Download button meanwhile) or Exit.
// The main window's status line follows it: the device, the rate, the periods
// played and the underflows. The playing itself is the SDR session's.

#include <QWidget>

#include "app/gui/download_runner.hpp"

namespace dot11b::gui {

// True while `main` plays on an SDR.
bool sdr_playing(const QWidget* main);

// Starts playing `input.waveform` on the SDR of `input.configuration`, at the
// carrier of its settings; the Download button then reads "Stop". An error
// (no such device, a setting refused, the device gone) ends the playing and
// is shown in an error dialog.
void start_sdr_playback(QWidget* main, const DownloadInput& input);

// Sets the carrier and the TX gain of the playing device without restarting
// it; false when `main` is not playing.
bool retune_sdr_playback(QWidget* main, double frequency, double gain);

// Stops playing and closes the device, then restores the Download button;
// nothing when `main` is not playing.
void stop_sdr_playback(QWidget* main);

}  // namespace dot11b::gui
