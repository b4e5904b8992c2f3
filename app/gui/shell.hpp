#pragma once
// rfCommonUI, the application shell: title, Calculate, readiness check,
// Download and Refresh, the connection dialogs, parameter and configuration
// files, plot commands, help and shut-down; and XR_AddMenu, its menu bar. The shell knows the application only through
// `appInfo`, and calls the controller by the name in ApplicationFunction.

#include <string_view>

#include "frame/inputs.hpp"
#include "frame/local_functions.hpp"

class QWidget;

namespace dot11b::gui::shell {

const frame::LocalTable& table();

// XR_AddMenu: builds the menu bar of the window; returns the record of the
// five menu handles (File, Plot, Config, Special, Help).
frame::Value add_menu(double figure);

// True when the plot operation behind the plot menu item is built.
bool plot_available(std::string_view item_tag);

// The main window of a handles record.
QWidget* main_window(const frame::Value& handles);

frame::Outputs InitializeFigure(const frame::Inputs& in, int nargout);
frame::Outputs redrawAppTitle(const frame::Inputs& in, int nargout);
frame::Outputs AppShutDown(const frame::Inputs& in, int nargout);
frame::Outputs saveConfig(const frame::Inputs& in, int nargout);
frame::Outputs loadConfig(const frame::Inputs& in, int nargout);
frame::Outputs menuFileExit_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuHelpHelp_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuHelpAbout_Callback(const frame::Inputs& in, int nargout);

frame::Outputs executeCalculation(const frame::Inputs& in, int nargout);
frame::Outputs checkWaveformReady(const frame::Inputs& in, int nargout);
frame::Outputs pbCalculate_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pbDownload_Callback(const frame::Inputs& in, int nargout);
frame::Outputs pbRefresh_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuConfigSigGenIO_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuConfigSpecAnIO_Callback(const frame::Inputs& in, int nargout);

frame::Outputs addFileExtention(const frame::Inputs& in, int nargout);
frame::Outputs saveParameters(const frame::Inputs& in, int nargout);
frame::Outputs loadParameters(const frame::Inputs& in, int nargout);
frame::Outputs menuFileNew_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuFileOpen_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuFileSave_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuFileSaveAs_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuFileExportData_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuSpecialSaveWave_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuSpecialImpairments_Callback(const frame::Inputs& in, int nargout);

frame::Outputs menuPlotSpectrum_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotWaterfall_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotIQTime_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotIQTimeSameAxes_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotEyeDiagram_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotScatterDiagram_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotCCDF_Callback(const frame::Inputs& in, int nargout);
frame::Outputs menuPlotAnalyze_Callback(const frame::Inputs& in, int nargout);

}  // namespace dot11b::gui::shell
