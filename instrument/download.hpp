#pragma once
// Putting a waveform into an ORB signal generator (ORBDownLoadWrap) and
// making it play (ORBPlay, ORBPlay_c for the "c" platform), every command
// through the I/O layer; and the DAC resolution model of the plots.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/records.hpp"
#include "common/types.hpp"
#include "instrument/io_layer.hpp"
#include "instrument/status_pair.hpp"

namespace dot11b::instrument {

// The fields of the settings record that playback reads, as numbers, so any
// stored value picks its command ("any other value" rules included).
struct PlaybackSettings {
    double Frequency = 0;       // Hz
    double Amplitude = 0;       // dBm
    double SamplingRate = 0;    // Hz
    double ReconFilter = 4;     // 1 250 kHz, 2 2.5 MHz, 3 8 MHz, other through
    double RFblanking = 0;      // 1 on, other off
    double MarkerPolarity = 0;  // 0 positive, other negative
    double ArbRefSource = 0;    // 0 internal, other external
    // "c" platform only
    double BBfilter = 3;  // 1 2.1 MHz, 2 40 MHz, other through
    double Scaling = 100;
    double ModAtten = 0;
    double ALC = 1;  // 0 off, other on
};

PlaybackSettings playback_settings(const app::SigGenSettings& settings);

// Asked before a long RS-232 transfer with the dialog's title and text; true
// only when the user answers "OK".
using Confirm = std::function<bool(const std::string& title, const std::string& text)>;

// Minutes an RS-232 transfer is estimated to take, and the longest one made
// without asking.
double rs232_transfer_minutes(double num_wfm_segments, std::size_t samples, double baudrate);
inline constexpr double kRs232QuestionMinutes = 0.75;
std::string rs232_question(double minutes);

// Stores the samples and markers under `Filename`: ARB player off, data,
// a line feed, the player on again only if it was on, modulation on. The
// status is the first failure of the steps that carry the waveform, else that
// of the line feed. A long RS-232 transfer is only made when `ask` agrees
// (no `ask` means no); otherwise {-1, "Download cancelled"}.
StatusPair ORBDownLoadWrap(const HwIO& io, SampleSpan IQData, std::span<const std::uint8_t> Marker,
                           const std::string& Filename, const app::ConnectionConfig& config,
                           double num_wfm_segments = 1, const Confirm& ask = {});

// The command lines of a playback set-up, in order.
std::vector<std::string> orb_play_commands(const std::string& FileName, const PlaybackSettings& setting);
std::vector<std::string> orb_play_c_commands(const std::string& FileName, const PlaybackSettings& setting);

// Sends the command lines, then returns the instrument to local control. A
// failed line does not stop the others; the status is the first failure.
StatusPair ORBPlay(const HwIO& io, const std::string& FileName, const PlaybackSettings& setting,
                   const app::ConnectionConfig& config);
StatusPair ORBPlay_c(const HwIO& io, const std::string& FileName, const PlaybackSettings& setting,
                     const app::ConnectionConfig& config);

// The waveform as a DAC of `numBits` bits (3 to 32; fewer leave it as it is)
// represents it: the largest I or Q magnitude at 2^(numBits-1) - 1 steps.
Samples applyDacRes(SampleSpan wave, double numBits);

}  // namespace dot11b::instrument
