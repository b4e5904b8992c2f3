#include "app/gui/global_records.hpp"

#include "app/record_values.hpp"
#include "frame/globals.hpp"

namespace dot11b::gui {

using frame::Global;
using frame::global;

app::FormatParameters parameters() {
    return app::format_parameters_from_value(global(Global::parameters), "parameters");
}
void store(const app::FormatParameters& parameters) { global(Global::parameters) = app::to_value(parameters); }

app::SigGenSettings sig_gen_settings() {
    return app::sig_gen_settings_from_value(global(Global::SigGenSettings), "SigGenSettings");
}
void store(const app::SigGenSettings& settings) { global(Global::SigGenSettings) = app::to_value(settings); }

app::ConnectionConfig configuration() {
    return app::connection_config_from_value(global(Global::configuration), "configuration");
}
void store(const app::ConnectionConfig& configuration) { global(Global::configuration) = app::to_value(configuration); }

impairments::ImpairmentSettings impairment_settings() {
    const frame::Value& value = global(Global::impairmentParameters);
    if (value.empty()) return {};
    return app::impairment_settings_from_value(value, "impairmentParameters");
}
void store(const impairments::ImpairmentSettings& impairments) {
    global(Global::impairmentParameters) = app::to_value(impairments);
}

mac::MacHeader mac_header() { return app::mac_header_from_value(global(Global::MACheader), "MACheader"); }
void store(const mac::MacHeader& header) { global(Global::MACheader) = app::to_value(header); }

frame::Value& app_info() { return global(Global::appInfo); }

std::string app_info_text(std::string_view field) {
    const frame::Value& info = app_info();
    if (info.kind() != frame::Value::Kind::Struct || !info.has_field(field)) return {};
    const frame::Value& value = info.field(field);
    return value.kind() == frame::Value::Kind::Char ? value.text() : std::string();
}

frame::Value& figure_list() {
    frame::Value& list = global(Global::figureList);
    if (list.kind() != frame::Value::Kind::Struct) list = frame::Value::structure({});
    return list;
}

}  // namespace dot11b::gui
