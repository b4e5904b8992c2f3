#pragma once
// The whole download as the user asks for it: corrections for the carrier,
// the data into the instrument, then playback, and the message that reports
// the outcome. The command line and the desktop application both use it.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "app/records.hpp"
#include "common/types.hpp"
#include "instrument/download.hpp"
#include "instrument/io_layer.hpp"

namespace dot11b::instrument {

struct DownloadRequest {
    SampleSpan waveform;
    std::span<const std::uint8_t> markers;  // one byte per sample: bit 0 row 1, bit 1 row 2
    std::string title;                      // the waveform's name in the instrument
    PlaybackSettings settings;
    app::ConnectionConfig configuration;
    std::string platform = "b";  // "c" selects the "c" platform's playback
    std::filesystem::path corrections_folder;
    Confirm ask;  // the RS-232 question; none declines
};

// What the closing message box shows.
struct DownloadOutcome {
    bool ok = false;
    std::string title;    // "Download Completed" or the "Error Occured During ..." title
    std::string message;  // the success text or the failed step's description
    StatusPair status;    // of the download, or of the playback when the download succeeded
    bool corrected = false;  // correction records were found and applied
    // Shown with the closing message: a correction file for the instrument and
    // carrier that exists but could not be read or applied, and why. No file
    // at all is the normal case and gives no warning.
    std::vector<std::string> warnings;
};

DownloadOutcome download_waveform(const HwIO& io, const DownloadRequest& request);

}  // namespace dot11b::instrument
