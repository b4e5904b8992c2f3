#include "app/gui/callbacks.hpp"

#include <exception>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include "app/gui/graphics.hpp"
#include "common/errors.hpp"
#include "common/gui/handles.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui {
namespace {

QPointer<QObject>& running() {
    static QPointer<QObject> control;
    return control;
}

}  // namespace

QObject* callback_object() { return running().data(); }

void run_callback(std::string_view script, const std::string& callback, QObject* control) {
    const QPointer<QObject> previous = running();
    running() = control;
    try {
        frame::call_by_name(script, 0,
                            {frame::Value::text(callback), frame::Value::scalar(handle_of(control)), frame::Value(),
                             guidata(control)});
    } catch (const std::exception& e) {
        frame::print_error(e.what());
    }
    running() = previous;
}

void connect_callback(QObject* control, std::string_view script, const std::string& callback) {
    const auto run = [name = std::string(script), callback, control] { run_callback(name, callback, control); };
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QObject::connect(combo, &QComboBox::activated, combo, run);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QObject::connect(edit, &QLineEdit::editingFinished, edit, run);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, button, run);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        QObject::connect(action, &QAction::triggered, action, run);
    } else {
        throw ConfigError("No user signal to connect for the control " + control->objectName().toStdString());
    }
}

double callback_control(const frame::Inputs& in) { return frame::to_scalar(in, 0, "hObject"); }

const frame::Value& callback_handles(const frame::Inputs& in) { return handles_argument(in, 2); }

const frame::Value& handles_argument(const frame::Inputs& in, std::size_t index) {
    const frame::Value& handles = in.at(index, "handles");
    if (handles.kind() != frame::Value::Kind::Struct) {
        throw ConfigError(std::string(in.operation()) + ": input handles must be the record of a window's controls");
    }
    return handles;
}

}  // namespace dot11b::gui
