#include "app/gui/sig_gen_script.hpp"

#include <algorithm>
#include <cctype>
#include <string>

#include <QComboBox>

#include "app/gui/callbacks.hpp"
#include "app/gui/connection_fields.hpp"
#include "app/gui/figures.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/sig_gen_dialog.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/gui/handles.hpp"
#include "frame/local_functions.hpp"
#include "frame/runtime_error.hpp"
#include "instrument/connection_config.hpp"

namespace dot11b::gui {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;
using instrument::DialogModel;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

QWidget* widget_of_value(const Value& handle) {
    if (handle.kind() != Value::Kind::Double || handle.numel() != 1) return nullptr;
    return widget_of(handle.reals()[0]);
}

// The dialog behind `handles` (its field XR_SigGen) or behind the handle of
// any of its controls; nullptr when there is none.
SigGenDialog* find_dialog(const Value& handles) {
    const Value& handle =
        handles.kind() == Value::Kind::Struct && handles.has_field("XR_SigGen") ? handles.field("XR_SigGen") : handles;
    QWidget* widget = widget_of_value(handle);
    return widget != nullptr ? dynamic_cast<SigGenDialog*>(widget->window()) : nullptr;
}

SigGenDialog& dialog_of(const Value& handles) {
    SigGenDialog* dialog = find_dialog(handles);
    if (dialog == nullptr) throw frame::RuntimeError("XR_SigGen: the handles do not belong to an open connection dialog");
    return *dialog;
}

QComboBox& list_control(const Inputs& in) {
    auto* box = qobject_cast<QComboBox*>(widget_of_value(in.at(0, "control")));
    if (box == nullptr) throw frame::RuntimeError(std::string(in.operation()) + ": the control is not a list of the dialog");
    return *box;
}

std::vector<std::string> entries_of(const QComboBox& box) {
    std::vector<std::string> entries;
    for (int i = 0; i < box.count(); ++i) entries.push_back(box.itemText(i).toStdString());
    return entries;
}

Outputs initConfig(const Inputs& in, int) {
    return {with_connection_fields(in.has(0) ? in.at(0, "config") : Value(), instrument::initConfig())};
}

// The old handshake index picks from the dialog's list when it has one.
Outputs reStructureConfig(const Inputs& in, int) {
    const SigGenDialog* dialog = in.has(1) ? find_dialog(in.at(1, "handles")) : nullptr;
    const bool has_handshake_control = dialog != nullptr && dialog->findChild<QComboBox*>("pmHandShake") != nullptr;
    return {instrument::reStructureConfig(in.at(0, "oldConfig"), has_handshake_control)};
}

Outputs ConvertStringToIndex(const Inputs& in, int) {
    const Value& text = in.at(1, "text");
    return {Value::scalar(instrument::ConvertStringToIndex(entries_of(list_control(in)), text.text()))};
}

Outputs ConvertIndexToString(const Inputs& in, int) {
    const Value& position = in.at(1, "position");
    const double p = position.kind() == Value::Kind::Double && position.numel() == 1 ? position.reals()[0] : 0;
    return {Value::text(instrument::ConvertIndexToString(entries_of(list_control(in)), static_cast<int>(p)))};
}

// Errors while setting the controls go to the status line and leave the dialog usable.
template <class SetControls>
Outputs reporting_in_status(SigGenDialog& dialog, SetControls set_controls) {
    try {
        return set_controls();
    } catch (const std::exception& error) {
        dialog.show_status(QString::fromStdString(error.what()));
        return {};
    }
}

Outputs UpdateConnectionSelections(const Inputs& in, int) {
    SigGenDialog& dialog = dialog_of(in.at(0, "handles"));
    return reporting_in_status(dialog, [&]() -> Outputs {
        const Value& config = in.at(1, "config");
        return {with_connection_fields(config, dialog.update_connection_selections(connection_fields(config)))};
    });
}

Outputs UpdateGuiObjects(const Inputs& in, int) {
    SigGenDialog& dialog = dialog_of(in.at(0, "handles"));
    return reporting_in_status(dialog, [&]() -> Outputs {
        dialog.show_record(connection_fields(in.at(1, "config")));
        return {};
    });
}

// The panels are part of the dialog from its start; this gives the handles of
// one panel's controls, each by its tag, the panel itself included.
Outputs addControls(const Inputs& in, int) {
    const SigGenDialog& dialog = dialog_of(in.at(0, "handles"));
    const Value& name = in.at(1, "panel");
    const std::string tag = name.kind() == Value::Kind::Char ? name.text() : std::string();
    QWidget* panel = dialog.panel(tag);
    if (panel == nullptr) {
        throw frame::RuntimeError("XR_SigGen/addControls: panel \"" + tag +
                                  "\" is not a panel of the dialog; allowed are configGPIB, configRS232, configTCPIP");
    }
    Value handles = Value::structure({});
    handles.set_field(tag, Value::scalar(handle_of(panel)));
    for (QWidget* control : panel->findChildren<QWidget*>()) {
        const QString control_tag = control->objectName();
        if (!control_tag.isEmpty() && !control_tag.startsWith("qt_")) {
            handles.set_field(control_tag.toStdString(), Value::scalar(handle_of(control)));
        }
    }
    return {handles};
}

Outputs UpdateConfig(const Inputs& in, int) {
    return {with_connection_fields(Value(), dialog_of(in.at(0, "handles")).record())};
}

Outputs showControls(const Inputs& in, int) {
    dialog_of(in.at(0, "handles")).show_controls();
    return {};
}

Outputs UpdateRS232HandShakingToolTip(const Inputs& in, int) {
    dialog_of(in.at(0, "handles")).update_handshake_tooltip();
    return {};
}

Outputs does_nothing(const Inputs&, int) { return {}; }

Outputs pmConnection_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).connection_chosen();
    return {};
}

Outputs pmHandShake_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).update_handshake_tooltip();
    return {};
}

Outputs pbOK_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).accept();
    return {};
}

Outputs pbCancel_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).reject();
    return {};
}

Outputs pbCheckHardware_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).check_hardware();
    return {};
}

Outputs pbSdrRefresh_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).refresh_sdr_devices();
    return {};
}

Outputs pmSdrDevice_Callback(const Inputs& in, int) {
    dialog_of(in.at(0, "hObject")).sdr_device_chosen();
    return {};
}

// Declaration lines in table order, after the script's main function on line 1.
const frame::LocalFunction kLocalFunctions[] = {
    {"initConfig", 1, 1, 2, &initConfig},
    {"reStructureConfig", 2, 1, 3, &reStructureConfig},
    {"ConvertStringToIndex", 2, 1, 4, &ConvertStringToIndex},
    {"ConvertIndexToString", 2, 1, 5, &ConvertIndexToString},
    {"UpdateGuiObjects", 2, 0, 6, &UpdateGuiObjects},
    {"UpdateConnectionSelections", 2, 1, 7, &UpdateConnectionSelections},
    {"UpdateConfig", 1, 1, 8, &UpdateConfig},
    {"showControls", 1, 0, 9, &showControls},
    {"EnableGuiObjects", 1, 0, 10, &showControls},
    {"UpdateRS232HandShakingToolTip", 1, 0, 11, &UpdateRS232HandShakingToolTip},
    {"UpdateIoAddress", VAR, 0, 12, &does_nothing},
    {"addControls", 2, 1, 13, &addControls},
    {"pmConnection_Callback", 3, 0, 14, &pmConnection_Callback},
    {"pmGpibBoard_Callback", 3, 0, 15, &does_nothing},
    {"pmPrimaryAddress_Callback", 3, 0, 16, &does_nothing},
    {"pmSecondaryAddress_Callback", 3, 0, 17, &does_nothing},
    {"pmPortNumber_Callback", 3, 0, 18, &does_nothing},
    {"pmBaudRate_Callback", 3, 0, 19, &does_nothing},
    {"pmHandShake_Callback", 3, 0, 20, &pmHandShake_Callback},
    {"editTCPIPAddress_Callback", 3, 0, 21, &does_nothing},
    {"pbOK_Callback", 3, 0, 22, &pbOK_Callback},
    {"pbCancel_Callback", 3, 0, 23, &pbCancel_Callback},
    {"pbCheckHardware_Callback", 3, 0, 24, &pbCheckHardware_Callback},
    {"pbSdrRefresh_Callback", 3, 0, 25, &pbSdrRefresh_Callback},
    {"pmSdrDevice_Callback", 3, 0, 26, &pmSdrDevice_Callback},
};
const frame::LocalTable kScript{"XR_SigGen", kLocalFunctions};

// The controls whose callbacks reach their handlers through this script, by name.
constexpr const char* kCallbackControls[] = {
    "pmConnection", "pmGpibBoard", "pmPrimaryAddress", "pmSecondaryAddress", "pmPortNumber", "pmBaudRate",
    "pmHandShake",  "editTCPIPAddress", "pbOK",       "pbCancel",           "pbCheckHardware", "pbSdrRefresh",
    "pmSdrDevice",
};

void connect_controls(SigGenDialog& dialog) {
    set_guidata(&dialog, guihandles(&dialog));
    for (const char* tag : kCallbackControls) {
        connect_callback(dialog.findChild<QObject*>(tag), "XR_SigGen", std::string(tag) + "_Callback");
    }
}

// "b" and "c" (any case) restrict the buses; any other text names the dialog.
struct Naming {
    DialogModel model = DialogModel::Any;
    std::optional<std::string> name;
};

Naming naming_of(const Inputs& in) {
    Naming naming;
    if (!in.has(2) || in.at(2, "text").kind() != Value::Kind::Char) return naming;
    const std::string text = in.at(2, "text").text();
    if (text.empty()) return naming;
    if (lower(text) == "b") {
        naming.model = DialogModel::B;
    } else if (lower(text) == "c") {
        naming.model = DialogModel::C;
    } else {
        naming.name = text;
    }
    return naming;
}

Outputs open_dialog(const Inputs& in) {
    QWidget* caller = in.has(0) ? widget_of_value(in.at(0, "figure")) : nullptr;
    const Naming naming = naming_of(in);

    // What Cancel and closing return: the record converted and clamped, or the defaults.
    app::ConnectionConfig shown = instrument::initConfig();
    Value kept;
    if (in.has(1) && !in.at(1, "config").empty()) {
        kept = instrument::reStructureConfig(in.at(1, "config"));
        shown = instrument::clamp_connection(connection_fields(kept));
    }
    kept = with_connection_fields(std::move(kept), shown);

    SigGenDialog dialog(caller, naming.model, shown);
    connect_controls(dialog);
    if (naming.name) dialog.setWindowTitle(QString::fromStdString(*naming.name + " IO Connection"));
    if (caller != nullptr) dialog.place_over(*caller);
    resize_all_fonts(&dialog);
    dialogs().run_window(dialog);
    const bool ok = dialog.result() == QDialog::Accepted;
    return {Value::text(ok ? "OK" : "Cancel"), ok ? with_connection_fields(kept, dialog.record()) : kept};
}

}  // namespace

Outputs sig_gen_script(const Inputs& in, int nargout) {
    if (in.has(0) && in.at(0, "figure").kind() == Value::Kind::Char) return frame::dispatch(kScript, in, nargout);
    return open_dialog(in);
}

}  // namespace dot11b::gui
