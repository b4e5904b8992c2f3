#pragma once
// The instrument's own frequency-response corrections, applied before a
// download: files named from the instrument's serial number and the carrier
// frequency hold `OrbIqCorrectionData`, a structure array of correction
// records. The RF channel correction filters the whole complex signal, the
// I/Q correction the Q component only; both are circular, so the waveform
// still joins end to start.

#include <cstddef>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "app/records.hpp"
#include "common/types.hpp"
#include "frame/value.hpp"
#include "instrument/io_layer.hpp"

namespace dot11b::instrument {

// Where correction files are looked for unless the user sets a folder:
// $XDG_DATA_HOME/dot11b/corrections, or ~/.local/share/dot11b/corrections.
std::filesystem::path default_corrections_folder();
// The record's CorrectionsFolder, or the default when it is empty.
std::filesystem::path corrections_folder_of(const app::ConnectionConfig& configuration);

// The serial number field of an identification reply: from the first "US" to
// the next comma; empty when either is missing.
std::string GetSerialNumber(const std::string& id);
// The carrier in GHz with its rounded tenths: 2412000000 gives "2.4 GHz",
// 2960000000 gives "2.10 GHz" (file names follow this rule exactly).
std::string FormatFreq(double f);
// <folder>/<serial> <frequency text>.mat
std::filesystem::path CreateFileName(const std::filesystem::path& folder, const std::string& id, double f);

struct LoadedCorrections {
    frame::Value x;      // the structure array, also when a check failed
    std::string status;  // empty when loaded and valid, else why not
};
LoadedCorrections LoadOrbIqCorrectionData(const std::filesystem::path& fileName);

struct CorrectionData {
    // Empty when the records were loaded; the identity query's status when
    // the instrument did not answer; the loader's message otherwise.
    std::variant<std::monostate, int, std::string> status;
    frame::Value x;
    bool noFlatness = false;  // true skips the RF channel corrections
    // The file looked for; empty when the instrument gave no usable identity.
    std::filesystem::path file;

    bool found() const { return std::holds_alternative<std::monostate>(status); }
};

// Asks the instrument for its identity over `configuration` and loads the
// file for its serial number and the carrier `f` (Hz) from `folder`.
CorrectionData GetCorrectionData(const HwIO& io, const app::ConnectionConfig& configuration, double f,
                                 const std::filesystem::path& folder);

struct CorrectedWaveform {
    Samples x;           // the input unchanged when status is not empty
    std::string status;  // empty on success, else the error text
};
// Record `index` of the structure array `records`; `sR` is the sample rate in Hz.
CorrectedWaveform ApplyRfChannelCorrection(SampleSpan s, const frame::Value& records, std::size_t index, double sR);
CorrectedWaveform ApplyIqCorrection(SampleSpan s, const frame::Value& records, std::size_t index, double sR);

// Whether a record's response field holds a response (present, not NaN).
bool has_response(const frame::Value& records, std::size_t index, std::string_view field);

struct AppliedCorrections {
    Samples x;
    // "record K: REASON" for each correction that could not be applied (the
    // waveform goes on without it).
    std::vector<std::string> failures;
};
// Every RF channel correction (unless noFlatness), then every I/Q
// correction, in record order, as the download applies them.
AppliedCorrections apply_corrections(SampleSpan s, const CorrectionData& corrections, double sR);

// Filter order given to the FIR design of both corrections.
inline constexpr double kCorrectionFilterOrder = 31;

}  // namespace dot11b::instrument
