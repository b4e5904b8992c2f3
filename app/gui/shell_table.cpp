#include "app/gui/graphics.hpp"
#include "app/gui/shell.hpp"
#include "frame/arity.hpp"

namespace dot11b::gui::shell {
namespace {

constexpr frame::Arity kCallbackInputs = AT_LEAST(3);

const frame::LocalFunction kFunctions[] = {
    {"InitializeFigure", 1, 0, 30, &InitializeFigure},
    {"redrawAppTitle", 1, 0, 62, &redrawAppTitle},
    {"pbCalculate_Callback", kCallbackInputs, 0, 75, &pbCalculate_Callback},
    {"executeCalculation", 1, 1, 84, &executeCalculation},
    {"checkWaveformReady", 2, 1, 109, &checkWaveformReady},
    {"pbDownload_Callback", kCallbackInputs, 0, 160, &pbDownload_Callback},
    {"pbRefresh_Callback", kCallbackInputs, 0, 196, &pbRefresh_Callback},
    {"menuFileNew_Callback", kCallbackInputs, 0, 214, &menuFileNew_Callback},
    {"menuFileOpen_Callback", kCallbackInputs, 0, 228, &menuFileOpen_Callback},
    {"loadParameters", 2, 1, 246, &loadParameters},
    {"menuFileSave_Callback", kCallbackInputs, 0, 302, &menuFileSave_Callback},
    {"menuFileSaveAs_Callback", kCallbackInputs, 0, 325, &menuFileSaveAs_Callback},
    {"saveParameters", 3, 1, 343, &saveParameters},
    {"addFileExtention", 2, 1, 357, &addFileExtention},
    {"menuFileExportData_Callback", kCallbackInputs, 0, 370, &menuFileExportData_Callback},
    {"menuFileExit_Callback", kCallbackInputs, 0, 392, &menuFileExit_Callback},
    {"AppShutDown", AT_LEAST(0), 0, 400, &AppShutDown},
    {"saveConfig", 1, 0, 421, &saveConfig},
    {"loadConfig", 0, 1, 432, &loadConfig},
    {"menuPlotSpectrum_Callback", kCallbackInputs, 0, 450, &menuPlotSpectrum_Callback},
    {"menuPlotWaterfall_Callback", kCallbackInputs, 0, 468, &menuPlotWaterfall_Callback},
    {"menuPlotIQTime_Callback", kCallbackInputs, 0, 486, &menuPlotIQTime_Callback},
    {"menuPlotIQTimeSameAxes_Callback", kCallbackInputs, 0, 504, &menuPlotIQTimeSameAxes_Callback},
    {"menuPlotEyeDiagram_Callback", kCallbackInputs, 0, 522, &menuPlotEyeDiagram_Callback},
    {"menuPlotScatterDiagram_Callback", kCallbackInputs, 0, 548, &menuPlotScatterDiagram_Callback},
    {"menuPlotCCDF_Callback", kCallbackInputs, 0, 574, &menuPlotCCDF_Callback},
    {"menuPlotAnalyze_Callback", kCallbackInputs, 0, 592, &menuPlotAnalyze_Callback},
    {"menuConfigSigGenIO_Callback", kCallbackInputs, 0, 600, &menuConfigSigGenIO_Callback},
    {"menuConfigSpecAnIO_Callback", kCallbackInputs, 0, 617, &menuConfigSpecAnIO_Callback},
    {"menuSpecialSaveWave_Callback", kCallbackInputs, 0, 640, &menuSpecialSaveWave_Callback},
    {"menuSpecialImpairments_Callback", kCallbackInputs, 0, 660, &menuSpecialImpairments_Callback},
    {"menuHelpAbout_Callback", kCallbackInputs, 0, 672, &menuHelpAbout_Callback},
    {"menuHelpHelp_Callback", kCallbackInputs, 0, 679, &menuHelpHelp_Callback},
};

}  // namespace

const frame::LocalTable& table() {
    static const frame::LocalTable script{"rfCommonUI", kFunctions};
    return script;
}

QWidget* main_window(const frame::Value& handles) { return widget_of(tag_handle(handles, "main")); }

}  // namespace dot11b::gui::shell
