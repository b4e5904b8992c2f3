#pragma once
// dot11b_GUI_b, the main window's script: start-up, the control callbacks,
// the redraws and Calculate. Each sub-function takes the inputs of its
// callback string and is reached through the script's local function table.

#include "frame/inputs.hpp"
#include "frame/local_functions.hpp"

namespace dot11b::gui::main_window {

// Starts the application: splash, records, main window, full redraw; returns
// the main window's handle when asked.
frame::Outputs start(int nargout);
const frame::LocalTable& table();

// Start-up.
frame::Outputs InitializeAppInfo(const frame::Inputs& in, int nargout);
frame::Outputs InitializeConfiguration(const frame::Inputs& in, int nargout);
frame::Outputs InitializeParameters(const frame::Inputs& in, int nargout);
frame::Outputs InitializeSigGenSettings(const frame::Inputs& in, int nargout);
frame::Outputs InitializeFigures(const frame::Inputs& in, int nargout);
frame::Outputs InitializeFigure(const frame::Inputs& in, int nargout);

// Redraws, each with (handles).
frame::Outputs redraw(const frame::Inputs& in, int nargout);
frame::Outputs redrawFormatParameters(const frame::Inputs& in, int nargout);
frame::Outputs redrawGenerationParameters(const frame::Inputs& in, int nargout);
frame::Outputs redrawPaylodSetup(const frame::Inputs& in, int nargout);
frame::Outputs redrawProjectedLength(const frame::Inputs& in, int nargout);

// Format and framing callbacks, each with (control, event, handles).
frame::Outputs tbGenerationMode_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdDataRate_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdModulation_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdPreambleFormat_Callback(const frame::Inputs& in, int nargout);
frame::Outputs chkClkLocked_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdScrambler_Callback(const frame::Inputs& in, int nargout);
frame::Outputs chkEncoderActive_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdChannels_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdPowerRamp_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtRampTime_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtIdleInterval_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtFrames_Callback(const frame::Inputs& in, int nargout);

// Shaping callbacks.
frame::Outputs pdOversampleRate_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdFilterType_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtFilterFactor_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtFilterTaps_Callback(const frame::Inputs& in, int nargout);
frame::Outputs chkMirrorSpectrum_Callback(const frame::Inputs& in, int nargout);

// Payload callbacks.
frame::Outputs chkMACheader_Callback(const frame::Inputs& in, int nargout);
frame::Outputs chkMACfcs_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pbMACheaderSetup_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pdDATAsourceType_Callback(const frame::Inputs& in, int nargout);
frame::Outputs txtDataLength_Callback(const frame::Inputs& in, int nargout);

frame::Outputs Calculate(const frame::Inputs& in, int nargout);

}  // namespace dot11b::gui::main_window
