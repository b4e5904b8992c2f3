#include "app/gui/main_controller.hpp"

#include "frame/arity.hpp"

namespace dot11b::gui::main_window {
namespace {

// Callbacks take the control, the event and handles, and may be given more.
constexpr frame::Arity kCallbackInputs = AT_LEAST(3);

const frame::LocalFunction kFunctions[] = {
    {"InitializeFigures", 0, 1, 45, &InitializeFigures},
    {"InitializeFigure", 1, 0, 88, &InitializeFigure},
    {"InitializeAppInfo", 0, 1, 140, &InitializeAppInfo},
    {"InitializeConfiguration", 0, 1, 175, &InitializeConfiguration},
    {"InitializeParameters", 0, 1, 196, &InitializeParameters},
    {"InitializeSigGenSettings", 0, 1, 262, &InitializeSigGenSettings},
    {"tbGenerationMode_Callback", kCallbackInputs, 0, 280, &tbGenerationMode_Callback},
    {"pdDataRate_Callback", kCallbackInputs, 0, 290, &pdDataRate_Callback},
    {"pdModulation_Callback", kCallbackInputs, 0, 312, &pdModulation_Callback},
    {"pdPreambleFormat_Callback", kCallbackInputs, 0, 322, &pdPreambleFormat_Callback},
    {"chkClkLocked_Callback", kCallbackInputs, 0, 332, &chkClkLocked_Callback},
    {"pdScrambler_Callback", kCallbackInputs, 0, 341, &pdScrambler_Callback},
    {"chkEncoderActive_Callback", kCallbackInputs, 0, 350, &chkEncoderActive_Callback},
    {"pdChannels_Callback", kCallbackInputs, 0, 360, &pdChannels_Callback},
    {"pdPowerRamp_Callback", kCallbackInputs, 0, 377, &pdPowerRamp_Callback},
    {"txtRampTime_Callback", kCallbackInputs, 0, 387, &txtRampTime_Callback},
    {"txtIdleInterval_Callback", kCallbackInputs, 0, 402, &txtIdleInterval_Callback},
    {"txtFrames_Callback", kCallbackInputs, 0, 415, &txtFrames_Callback},
    {"pdOversampleRate_Callback", kCallbackInputs, 0, 417, &pdOversampleRate_Callback},
    {"pdFilterType_Callback", kCallbackInputs, 0, 442, &pdFilterType_Callback},
    {"txtFilterFactor_Callback", kCallbackInputs, 0, 452, &txtFilterFactor_Callback},
    {"txtFilterTaps_Callback", kCallbackInputs, 0, 471, &txtFilterTaps_Callback},
    {"chkMirrorSpectrum_Callback", kCallbackInputs, 0, 485, &chkMirrorSpectrum_Callback},
    {"chkMACheader_Callback", kCallbackInputs, 0, 494, &chkMACheader_Callback},
    {"chkMACfcs_Callback", kCallbackInputs, 0, 504, &chkMACfcs_Callback},
    {"pbMACheaderSetup_Callback", kCallbackInputs, 0, 514, &pbMACheaderSetup_Callback},
    {"pdDATAsourceType_Callback", kCallbackInputs, 0, 531, &pdDATAsourceType_Callback},
    {"txtDataLength_Callback", kCallbackInputs, 0, 556, &txtDataLength_Callback},
    {"redraw", 1, 0, 571, &redraw},
    {"redrawFormatParameters", 1, 0, 582, &redrawFormatParameters},
    {"redrawGenerationParameters", 1, 0, 672, &redrawGenerationParameters},
    {"redrawPaylodSetup", 1, 0, 714, &redrawPaylodSetup},
    {"redrawProjectedLength", 1, 0, 751, &redrawProjectedLength},
    {"Calculate", 0, 0, 846, &Calculate},
};

}  // namespace

const frame::LocalTable& table() {
    static const frame::LocalTable script{"dot11b_GUI_b", kFunctions};
    return script;
}

}  // namespace dot11b::gui::main_window
