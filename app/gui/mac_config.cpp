#include "app/gui/mac_config.hpp"

#include <QDialog>
#include <QPointer>

#include "app/gui/callbacks.hpp"
#include "app/gui/figures.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/status_line.hpp"
#include "app/record_values.hpp"
#include "app/window_view.hpp"
#include "common/errors.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/arity.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "mac/bit_conversion.hpp"

namespace dot11b::gui::mac_config {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

constexpr const char* kAnswer = "answer";

struct FieldTooltips {
    mac::MacField field;
    const char* edit_box;
    const char* check_box;
};

const FieldTooltips kTooltips[] = {
    {mac::MacField::FrameCntrl, "Frame Control Field.\nLength: 2 bytes\nHexadecimal representation.",
     "Frame Control Field.\nAlways active"},
    {mac::MacField::DurationID, "Duration/ID Field.\nLength: 2 bytes\nHexadecimal representation.",
     "Duration/ID Field.\nAlways active."},
    {mac::MacField::SeqCntrl, "Sequence Control Field.\nLength: 2 bytes\nHexadecimal representation.",
     "Includes/excludes the\nSequence Control Field."},
    {mac::MacField::Address1, "Address 1 Field.\nLength: 6 bytes\nHexadecimal representation.",
     "Includes/excludes the\nAddress 1 Field."},
    {mac::MacField::Address2, "Address 2 Field.\nLength: 6 bytes\nHexadecimal representation.",
     "Includes/excludes the\nAddress 2 Field."},
    {mac::MacField::Address3, "Address 3 Field.\nLength: 6 bytes\nHexadecimal representation.",
     "Includes/excludes the\nAddress 3 Field."},
    {mac::MacField::Address4, "Address 4 Field.\nLength: 6 bytes\nHexadecimal representation.",
     "Includes/excludes the\nAddress 4 Field."},
};

mac::MacField field_named(const std::string& name) {
    const auto field = mac::mac_field_from_name(name);
    if (!field) throw ConfigError("dot11_MACconfig: there is no MAC header field named " + name);
    return *field;
}

QDialog* window_from(const Value& handles) { return qobject_cast<QDialog*>(widget_of(tag_handle(handles, "main"))); }

void set_answer(const Value& handles, const char* answer) {
    if (QDialog* window = window_from(handles)) window->setProperty(kAnswer, answer);
}

Outputs redrawField(const Inputs& in, int) {
    const mac::MacField field = field_named(frame::to_text(in, 0, "fieldId"));
    apply_view(handles_argument(in, 1), app::mac_field_view(mac_header(), field));
    return {};
}

Outputs redrawMACfields(const Inputs& in, int) {
    apply_view(handles_argument(in), app::mac_header_view(mac_header()));
    return {};
}

Outputs defaultMACheader(const Inputs&, int) { return {app::to_value(mac::default_mac_header())}; }

Outputs recalcBitField(const Inputs& in, int) {
    const mac::MacField field = field_named(frame::to_text(in, 0, "fieldId"));
    const mac::MacFieldValue value = mac_header()[field];
    if (!value.active) return {Value()};
    return {frame::bits_value(mac::bit_vector(static_cast<double>(value.contents),
                                              static_cast<double>(8 * mac::mac_field_size(field))))};
}

// The record's BitStream is rebuilt from the fields whenever it is stored.
Outputs recalcBitStream(const Inputs&, int) {
    store(mac_header());
    return {};
}

Outputs InitializeFigure(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    resize_all_fonts(window_from(handles));
    for (const auto& [field, edit_box, check_box] : kTooltips) {
        const std::string name(mac::mac_field_name(field));
        set(tag_handle(handles, "txt" + name), "TooltipString", Value::text(edit_box));
        set(tag_handle(handles, "chk" + name), "TooltipString", Value::text(check_box));
    }
    return {};
}

Outputs Field_Callback(const Inputs& in, int) {
    const double control = callback_control(in);
    const Value& handles = callback_handles(in);
    const std::string tag = get_text(control, "Tag");
    const std::string type = tag.substr(0, 3);
    const std::string name = tag.substr(3);
    const mac::MacField field = field_named(name);
    mac::MacHeader header = mac_header();
    if (type == "chk") {
        header[field].active = get_number(control, "Value") != 0;
    } else {
        try {
            header[field].contents = mac::enter_hex_field(field, get_text(control, "String"));
        } catch (const ConfigError&) {
            // The field shows the value it keeps.
            frame::call_local(table(), "redrawField", 0, {Value::text(name), handles});
            throw;
        }
    }
    store(header);
    frame::call_local(table(), "redrawField", 0, {Value::text(name), handles});
    frame::call_local(table(), "recalcBitStream", 0, {});
    return {};
}

Outputs pbOK_Callback(const Inputs& in, int) {
    set_answer(callback_handles(in), "OK");
    if (QDialog* window = window_from(callback_handles(in))) window->accept();
    return {};
}

Outputs pbCancel_Callback(const Inputs& in, int) {
    set_answer(callback_handles(in), "Cancel");
    if (QDialog* window = window_from(callback_handles(in))) window->reject();
    return {};
}

Outputs close_Callback(const Inputs& in, int) {
    set_answer(callback_handles(in), "Cancel");
    return {};
}

constexpr frame::Arity kCallbackInputs = AT_LEAST(3);

const frame::LocalFunction kFunctions[] = {
    {"InitializeFigure", 1, 0, 60, &InitializeFigure},
    {"defaultMACheader", 0, 1, 95, &defaultMACheader},
    {"redrawMACfields", 1, 0, 131, &redrawMACfields},
    {"redrawField", 2, 0, 142, &redrawField},
    {"Field_Callback", kCallbackInputs, 0, 158, &Field_Callback},
    {"recalcBitStream", 0, 0, 190, &recalcBitStream},
    {"recalcBitField", 1, 1, 201, &recalcBitField},
    {"pbOK_Callback", kCallbackInputs, 0, 215, &pbOK_Callback},
    {"pbCancel_Callback", kCallbackInputs, 0, 222, &pbCancel_Callback},
    {"close_Callback", kCallbackInputs, 0, 229, &close_Callback},
};

}  // namespace

const frame::LocalTable& table() {
    static const frame::LocalTable script{"dot11_MACconfig", kFunctions};
    return script;
}

Outputs open(const Inputs& in, int) {
    auto* window = qobject_cast<QDialog*>(widget_of(frame::to_scalar(in, 0, "fig")));
    if (window == nullptr) throw ConfigError("dot11_MACconfig: fig is not the MAC header window");
    const Value handles = guidata(window);
    const Value record = in.has(1) ? in.at(1, "MACheader") : frame::call_local(table(), "defaultMACheader", 1, {}).at(0);
    store(app::mac_header_from_value(record, "MACheader"));
    frame::call_local(table(), "redrawMACfields", 0, {handles});
    window->setProperty(kAnswer, "Cancel");
    // What the status bar said in an earlier session concerns values since replaced.
    clear_status(window);
    if (QWidget* parent = window->parentWidget()) position_child_window(window, parent);
    const QPointer<QDialog> shown(window);
    dialogs().run_window(*window);
    // A window destroyed meanwhile (its main window closed) counts as cancelled.
    std::string answer = "Cancel";
    if (shown) {
        answer = shown->property(kAnswer).toString().toStdString();
        shown->hide();
    }
    return {Value::text(answer), frame::global(frame::Global::MACheader)};
}

}  // namespace dot11b::gui::mac_config
