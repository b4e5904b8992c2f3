// rfCommonUI: Calculate with the busy pointer, and the readiness check before
// the waveform is used.

#include "app/clock2str.hpp"
#include "app/compare_struct.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/shell.hpp"
#include "app/gui/status_line.hpp"
#include "app/readiness.hpp"
#include "app/record_values.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::shell {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

// A failed calculation leaves no waveform behind: plots, Export and Download
// then ask to calculate first instead of using one built from other settings.
Outputs executeCalculation(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    const double main = tag_handle(handles, "main");
    const Value pointer = get(main, "Pointer");
    set(main, "Pointer", Value::text("watch"));
    frame::ErrorWatch errors;
    // The controller's dispatcher prints a failed calculation's message.
    frame::call_by_name(app_info_text("ApplicationFunction"), 0, {Value::text("Calculate")});
    Value& info = app_info();
    if (errors.last_error()) {
        frame::global(frame::Global::waveform) = Value();
        frame::global(frame::Global::markers) = Value();
        info.set_field("LastCalcTimeStamp", Value());
        info.set_field("LastCaluclatedParameterSet", Value());
        info.set_field("LastCalculatedImpairments", Value());
        set(main, "Pointer", pointer);
        dialogs().error(main_window(handles), "Error Calculating Waveform", *errors.last_error());
        return {Value::scalar(0)};
    }
    const auto now = app::clock_now();
    info.set_field("LastCalcTimeStamp", Value::row({now.begin(), now.end()}));
    info.set_field("LastCaluclatedParameterSet", frame::global(frame::Global::parameters));
    info.set_field("LastCalculatedImpairments", frame::global(frame::Global::impairmentParameters));
    // An error shown from an earlier attempt no longer holds.
    clear_status(main_window(handles));
    set(main, "Pointer", pointer);
    return {Value::scalar(1)};
}

namespace {

// The impairments of the last calculation (none when it had none).
impairments::ImpairmentSettings calculated_impairments(const Value& info) {
    if (!info.has_field("LastCalculatedImpairments")) return {};
    const Value& used = info.field("LastCalculatedImpairments");
    return used.empty() ? impairments::ImpairmentSettings{}
                        : app::impairment_settings_from_value(used, "LastCalculatedImpairments");
}

}  // namespace

Outputs checkWaveformReady(const Inputs& in, int) {
    const std::string action = frame::to_text(in, 0, "action");
    const Value& handles = handles_argument(in, 1);
    const Value& info = app_info();
    const bool calculated = info.has_field("LastCalcTimeStamp") && !info.field("LastCalcTimeStamp").empty();
    const bool changed = calculated && (!app::compare_struct(frame::global(frame::Global::parameters),
                                                            info.field("LastCaluclatedParameterSet")) ||
                                        calculated_impairments(info) != impairment_settings());
    const auto question = app::readiness_question(action, calculated, changed);
    if (!question) return {Value::scalar(1)};
    const auto answer = dialogs().question(
        main_window(handles), {question->title, question->text, question->buttons, question->default_button});
    switch (app::readiness_step(action, calculated, answer)) {
    case app::ReadinessStep::Cancel:
        return {Value::scalar(0)};
    case app::ReadinessStep::CalculateFirst:
        return frame::call_local(table(), "executeCalculation", 1, {handles});
    case app::ReadinessStep::UseWaveform:
        break;
    }
    return {Value::scalar(1)};
}

Outputs pbCalculate_Callback(const Inputs& in, int) {
    frame::call_local(table(), "executeCalculation", 0, {callback_handles(in)});
    return {};
}

}  // namespace dot11b::gui::shell
