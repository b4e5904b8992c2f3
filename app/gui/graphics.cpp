#include "app/gui/graphics.hpp"

#include <map>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include "app/record_reader.hpp"
#include "common/errors.hpp"
#include "common/gui/handles.hpp"
#include "common/gui/mnemonics.hpp"
#include "common/number_text.hpp"

namespace dot11b::gui {
namespace {

using frame::Value;

QString qtext(const Value& v) { return QString::fromStdString(v.kind() == Value::Kind::Char ? v.text() : std::string()); }

[[noreturn]] void no_property(double handle, std::string_view property, const QObject* object) {
    throw ConfigError("The control " + object->objectName().toStdString() + " (handle " + number_text(handle) +
                      ") has no property " + std::string(property));
}

QObject* live(double handle, std::string_view property) {
    QObject* object = object_of(handle);
    if (object == nullptr) {
        throw ConfigError("Invalid handle " + number_text(handle) + " for the property " + std::string(property));
    }
    return object;
}

// A menu is addressed through its item in the menu bar: showing the menu
// itself would pop it up.
QObject* as_menu_item(QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object)) return menu->menuAction();
    return object;
}

double number(const Value& v, std::string_view property) {
    if (v.kind() != Value::Kind::Double || v.numel() != 1) {
        throw ConfigError("The property " + std::string(property) + " takes a number, not " + app::describe(v));
    }
    return v.reals()[0];
}

Value choices_of(const QComboBox& combo) {
    Value list = Value::cell(static_cast<std::size_t>(combo.count()), 1);
    for (int i = 0; i < combo.count(); ++i) list.cell_at(static_cast<std::size_t>(i)) = Value::text(combo.itemText(i).toStdString());
    return list;
}

void set_choices(QComboBox& combo, const Value& v) {
    QStringList items;
    if (v.kind() == Value::Kind::Cell) {
        for (std::size_t i = 0; i < v.numel(); ++i) items << qtext(v.cell_at(i));
    } else {
        items << qtext(v);
    }
    combo.clear();
    combo.addItems(items);
}

// Buttons and labels with a buddy read "&" as an access key mark; the texts
// set through String are shown as they are and read back as shown.
bool marks_access_keys(const QObject* o) {
    if (auto* label = qobject_cast<const QLabel*>(o)) return label->buddy() != nullptr;
    return qobject_cast<const QAbstractButton*>(o) != nullptr;
}

// Texts of widgets with text; nullopt for others.
std::optional<QString> widget_text(const QObject* o) {
    std::optional<QString> text;
    if (auto* edit = qobject_cast<const QLineEdit*>(o)) text = edit->text();
    if (auto* label = qobject_cast<const QLabel*>(o)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(o)) text = button->text();
    if (text && marks_access_keys(o)) return shown_text(*text);
    return text;
}

bool set_widget_text(QObject* o, const QString& text) {
    const QString shown = marks_access_keys(o) ? literal_ampersands(text) : text;
    if (auto* edit = qobject_cast<QLineEdit*>(o)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(o)) {
        label->setText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
        button->setText(shown);
    } else {
        return false;
    }
    return true;
}

std::map<double, Value>& window_data() {
    static std::map<double, Value> data;
    return data;
}

Value to_value(const app::PropertyValue& v) {
    return std::visit(
        [](const auto& x) -> Value {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, bool>) return on_off(x);
            if constexpr (std::is_same_v<T, double>) return Value::scalar(x);
            if constexpr (std::is_same_v<T, std::string>) return Value::text(x);
            if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                Value list = Value::cell(x.size(), 1);
                for (std::size_t i = 0; i < x.size(); ++i) list.cell_at(i) = Value::text(x[i]);
                return list;
            }
        },
        v);
}

}  // namespace

Value on_off(bool on) { return Value::text(on ? "on" : "off"); }

bool is_on(const Value& value) {
    if (value.kind() == Value::Kind::Char) return value.text() == "on";
    return value.kind() == Value::Kind::Double && value.numel() == 1 && value.reals()[0] != 0;
}

Value get(double handle, std::string_view property) {
    if (property == "Tag") return Value::text(live(handle, property)->objectName().toStdString());
    QObject* o = as_menu_item(live(handle, property));
    auto* widget = qobject_cast<QWidget*>(o);
    auto* action = qobject_cast<QAction*>(o);
    if (property == "Enable") {
        if (widget) return on_off(widget->isEnabled());
        if (action) return on_off(action->isEnabled());
    }
    if (property == "Visible") {
        if (widget) return on_off(widget->isWindow() ? widget->isVisible() : !widget->isHidden());
        if (action) return on_off(action->isVisible());
    }
    if (property == "TooltipString" && widget) return Value::text(widget->toolTip().toStdString());
    if (property == "Value") {
        if (auto* combo = qobject_cast<QComboBox*>(o)) return Value::scalar(combo->currentIndex() + 1);
        if (auto* button = qobject_cast<QAbstractButton*>(o); button && button->isCheckable()) {
            return Value::scalar(button->isChecked() ? 1 : 0);
        }
    }
    if (property == "String") {
        if (auto* combo = qobject_cast<QComboBox*>(o)) return choices_of(*combo);
        if (const auto text = widget_text(o)) return Value::text(text->toStdString());
    }
    if (property == "Checked" && action) return on_off(action->isChecked());
    if (property == "Label" && action) return Value::text(action->text().toStdString());
    if (property == "Name" && widget) return Value::text(widget->windowTitle().toStdString());
    if (property == "Pointer" && widget) {
        return Value::text(widget->cursor().shape() == Qt::WaitCursor ? "watch" : "arrow");
    }
    no_property(handle, property, o);
}

void set(double handle, std::string_view property, const Value& value) {
    QObject* o = as_menu_item(live(handle, property));
    auto* widget = qobject_cast<QWidget*>(o);
    auto* action = qobject_cast<QAction*>(o);
    if (property == "Enable") {
        if (widget) return widget->setEnabled(is_on(value));
        if (action) return action->setEnabled(is_on(value));
    }
    if (property == "Visible") {
        if (widget) return widget->setVisible(is_on(value));
        if (action) return action->setVisible(is_on(value));
    }
    if (property == "TooltipString" && widget) return widget->setToolTip(qtext(value));
    if (property == "Value") {
        if (auto* combo = qobject_cast<QComboBox*>(o)) {
            const double position = number(value, property);
            if (!(position >= 1 && position <= combo->count())) {
                throw ConfigError(o->objectName().toStdString() + ": Value " + number_text(position) +
                                  " is not a position from 1 to " + std::to_string(combo->count()));
            }
            return combo->setCurrentIndex(static_cast<int>(position) - 1);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(o); button && button->isCheckable()) {
            return button->setChecked(number(value, property) != 0);
        }
    }
    if (property == "String") {
        if (auto* combo = qobject_cast<QComboBox*>(o)) return set_choices(*combo, value);
        if (set_widget_text(o, qtext(value))) return;
    }
    if (property == "Checked" && action) {
        // Any menu item can carry a check mark.
        action->setCheckable(true);
        return action->setChecked(is_on(value));
    }
    if (property == "Label" && action) return action->setText(qtext(value));
    if (property == "Name" && widget) return widget->setWindowTitle(qtext(value));
    if (property == "Pointer" && widget) {
        if (value.kind() == Value::Kind::Char && value.text() == "watch") return widget->setCursor(Qt::WaitCursor);
        return widget->unsetCursor();
    }
    no_property(handle, property, o);
}

double get_number(double handle, std::string_view property) { return number(get(handle, property), property); }

std::string get_text(double handle, std::string_view property) {
    const Value v = get(handle, property);
    return v.kind() == Value::Kind::Char ? v.text() : std::string();
}

Value guihandles(QWidget* window) {
    Value handles = Value::structure({});
    const auto add = [&handles](QObject* object) {
        const QString tag = object->objectName();
        if (tag.isEmpty() || tag.startsWith("qt_")) return;
        handles.set_field(tag.toStdString(), Value::scalar(handle_of(object)));
    };
    add(window);
    for (QObject* child : window->findChildren<QObject*>()) {
        // Child windows (the MAC header window) have handles records of their own.
        if (auto* w = qobject_cast<QWidget*>(child); w && w->isWindow() && !qobject_cast<QMenu*>(w)) continue;
        if (qobject_cast<QWidget*>(child) || qobject_cast<QAction*>(child)) add(child);
    }
    handles.set_field("main", Value::scalar(handle_of(window)));
    return handles;
}

double tag_handle(const Value& handles, std::string_view tag) {
    if (handles.kind() != Value::Kind::Struct || !handles.has_field(tag)) {
        throw ConfigError("handles has no control tagged " + std::string(tag));
    }
    return number(handles.field(tag), tag);
}

void set_guidata(QWidget* window, Value data) {
    const double handle = handle_of(window);
    if (window_data().count(handle) == 0) {
        QObject::connect(window, &QObject::destroyed, [handle] { window_data().erase(handle); });
    }
    window_data()[handle] = std::move(data);
}

Value guidata(const QObject* control) {
    QWidget* window = window_of(control);
    if (window == nullptr) return {};
    const auto found = window_data().find(handle_of(window));
    return found == window_data().end() ? Value() : found->second;
}

QWidget* window_of(const QObject* control) {
    for (const QObject* o = control; o != nullptr; o = o->parent()) {
        if (auto* widget = qobject_cast<const QWidget*>(o)) {
            // A menu is a window of its own; its items belong to the window holding the menu bar.
            if (qobject_cast<const QMenu*>(widget)) continue;
            return const_cast<QWidget*>(widget)->window();
        }
    }
    return nullptr;
}

QWidget* widget_of(double handle) { return qobject_cast<QWidget*>(object_of(handle)); }

void apply_view(const Value& handles, const app::ControlSettings& settings) {
    for (const auto& setting : settings) set(tag_handle(handles, setting.tag), setting.property, to_value(setting.value));
}

}  // namespace dot11b::gui
