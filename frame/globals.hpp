#pragma once
// The application-wide records shared between operations. They exist
// from initialize() to terminate() and start empty.

#include <array>
#include <string_view>

#include "frame/value.hpp"

namespace dot11b::frame {

enum class Global {
    parameters,       // the format configuration being edited
    SigGenSettings,   // signal generator settings
    configuration,    // instrument connection record
    configurationSA,  // connection record of the analyser connection dialog
    appInfo,          // application name, revision, files, last calculation stamp
    figureList,       // handles of the application's windows
    waveform,         // the last calculated waveform
    markers,          // the marker rows of the last calculated waveform
    MACheader,        // the MAC header record
    impairmentParameters,  // the impairments the Impairments window applies to the waveform
};

inline constexpr std::array<std::string_view, 10> kGlobalNames = {
    "parameters", "SigGenSettings", "configuration", "configurationSA", "appInfo",
    "figureList", "waveform",       "markers",       "MACheader",     "impairmentParameters",
};

// Throws RuntimeError when the library is not ready.
Value& global(Global which);
// Throws RuntimeError for an unknown name or when the library is not ready.
Value& global(std::string_view name);

}  // namespace dot11b::frame
