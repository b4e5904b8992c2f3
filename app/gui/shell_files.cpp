// rfCommonUI: the parameter file (New, Open, Save, Save As), Export Data and
// Special > Save Wave.

#include "app/file_names.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/shell.hpp"
#include "app/parameter_file.hpp"
#include "app/record_values.hpp"
#include "app/waveform_files/save_wave_file.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::shell {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

std::string parameter_extension() { return app_info_text("ParameterFileExtension"); }

// Runs the controller's operation by the name `appInfo` gives for it.
void controller(const char* operation, std::vector<Value> inputs = {}) {
    inputs.insert(inputs.begin(), Value::text(operation));
    frame::call_by_name(app_info_text("ApplicationFunction"), 0, std::move(inputs));
}

Samples waveform() { return frame::to_samples(Inputs("waveform", {frame::global(frame::Global::waveform)}), 0, "waveform"); }

bool ready_for(const char* action, const Value& handles) {
    const Value status = frame::call_local(table(), "checkWaveformReady", 1, {Value::text(action), handles}).at(0);
    return status.kind() == Value::Kind::Double && status.numel() == 1 && status.reals()[0] == 1;
}

void saving_error(const Value& handles, const std::string& file, const std::exception& e) {
    dialogs().error(main_window(handles), "Error Saving " + file, e.what());
}

bool saved(const std::string& file) {
    const Value ok = frame::call_local(table(), "saveParameters", 1,
                                       {Value::text(file), frame::global(frame::Global::parameters),
                                        frame::global(frame::Global::SigGenSettings)})
                         .at(0);
    return ok == Value::scalar(1);
}

// Asks for the parameter file name, saves under it and, once the file is
// written, makes it the current file shown in the title.
void save_as(const Value& handles) {
    const auto chosen = dialogs().save_file(main_window(handles), {"Save Parameter File", "*" + parameter_extension(), {}});
    if (!chosen) return;
    const std::string file = app::add_file_extention(chosen->string(), ".mat");
    if (!saved(file)) return;
    app::ConnectionConfig config = configuration();
    config.last_parameter_filename = file;
    store(config);
    frame::call_local(table(), "redrawAppTitle", 0, {handles});
}

}  // namespace

Outputs addFileExtention(const Inputs& in, int) {
    return {Value::text(app::add_file_extention(frame::to_text(in, 0, "name"), frame::to_text(in, 1, "ext")))};
}

// Returns 1 when the file was written, else 0 after the error dialog.
Outputs saveParameters(const Inputs& in, int) {
    const std::string file = frame::to_text(in, 0, "filename");
    try {
        app::save_parameter_file(file, app::format_parameters_from_value(in.at(1, "fileParameters"), "fileParameters"),
                                 app::sig_gen_settings_from_value(in.at(2, "sigGenParameters"), "sigGenParameters"),
                                 impairment_settings());
    } catch (const std::exception& e) {
        dialogs().error(nullptr, "Error Saving " + file, e.what());
        return {Value::scalar(0)};
    }
    return {Value::scalar(1)};
}

Outputs loadParameters(const Inputs& in, int) {
    const std::string file = frame::to_text(in, 0, "filename");
    const Value& handles = handles_argument(in, 1);
    app::ParameterSet loaded;
    try {
        // The whole file is checked before any record is replaced.
        loaded = app::load_parameter_file(file, parameters().format_id);
    } catch (const std::exception& e) {
        dialogs().error(main_window(handles), "Error Loading File", e.what());
        return {Value::scalar(0)};
    }
    store(loaded.parameters);
    store(loaded.settings);
    store(loaded.impairments);
    controller("redraw", {handles});
    return {Value::scalar(1)};
}

Outputs menuFileNew_Callback(const Inputs& in, int) {
    app::ConnectionConfig config = configuration();
    config.last_parameter_filename.clear();
    store(config);
    controller("InitializeParameters");
    controller("InitializeSigGenSettings");
    store(impairments::ImpairmentSettings{});
    controller("redraw", {callback_handles(in)});
    return {};
}

Outputs menuFileOpen_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    const auto chosen = dialogs().open_file(main_window(handles), {"Open Parameter File", "*" + parameter_extension(), {}});
    if (!chosen) return {};
    const Value ok = frame::call_local(table(), "loadParameters", 1, {Value::text(chosen->string()), handles}).at(0);
    if (ok.kind() == Value::Kind::Double && ok.numel() == 1 && ok.reals()[0] == 1) {
        app::ConnectionConfig config = configuration();
        config.last_parameter_filename = chosen->string();
        store(config);
        frame::call_local(table(), "redrawAppTitle", 0, {handles});
    }
    return {};
}

Outputs menuFileSave_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    const std::string file = configuration().last_parameter_filename;
    if (file.empty()) {
        save_as(handles);
    } else {
        saved(file);
    }
    return {};
}

Outputs menuFileSaveAs_Callback(const Inputs& in, int) {
    save_as(callback_handles(in));
    return {};
}

Outputs menuFileExportData_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    const auto chosen = dialogs().save_file(main_window(handles), {"Export Data", "*.wfm", {}});
    if (!chosen) return {};
    const std::string file = app::add_file_extention(chosen->string(), ".wfm");
    if (ready_for("Export", handles)) {
        try {
            waveform_files::write_wfm(file, waveform());
        } catch (const std::exception& e) {
            saving_error(handles, file, e);
        }
    }
    frame::call_local(table(), "redrawAppTitle", 0, {handles});
    return {};
}

Outputs menuSpecialSaveWave_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    if (!ready_for("Save", handles)) return {};
    const auto chosen = dialogs().save_file(main_window(handles), {"Save Wave", "*.txt", {}});
    if (!chosen) return {};
    const double main = tag_handle(handles, "main");
    const Value pointer = get(main, "Pointer");
    set(main, "Pointer", Value::text("watch"));
    try {
        waveform_files::write_save_wave(*chosen, waveform(), sig_gen_settings().sampling_rate);
    } catch (const std::exception& e) {
        saving_error(handles, chosen->string(), e);
    }
    set(main, "Pointer", pointer);
    return {};
}

}  // namespace dot11b::gui::shell
