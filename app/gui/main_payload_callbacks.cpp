// dot11b_GUI_b: the payload callbacks: MAC header and FCS, payload source
// and data length.

#include "app/entry_rules.hpp"
#include "app/gui/control_reading.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/main_controller.hpp"
#include "app/record_values.hpp"
#include "frame/convert.hpp"

namespace dot11b::gui::main_window {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

Outputs chkMACheader_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.mac_header.active = ticked(in);
    store(p);
    then_redraw("redrawPaylodSetup", in);
    return {};
}

Outputs chkMACfcs_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    p.fcs.active = ticked(in);
    store(p);
    then_redraw("redrawPaylodSetup", in);
    return {};
}

Outputs pbMACheaderSetup_Callback(const Inputs& in, int) {
    const Value window = figure_list().has_field("MACheader") ? figure_list().field("MACheader") : Value();
    const Outputs result =
        frame::call_by_name("dot11_MACconfig", 2, {window, app::to_value(parameters().mac_header.contents)});
    if (result.at(0).kind() != Value::Kind::Char || result.at(0).text() != "OK") return {};
    app::FormatParameters p = parameters();
    p.mac_header.contents = app::mac_header_from_value(result.at(1), "MACheader");
    p.mac_header.length = p.mac_header.contents.length_bytes();
    store(p);
    then_redraw("redrawPaylodSetup", in);
    return {};
}

Outputs pdDATAsourceType_Callback(const Inputs& in, int) {
    const int choice = chosen(in);
    if (choice == static_cast<int>(mac::PayloadSource::UserData)) {
        const Outputs loaded =
            frame::call_by_name("loadUserDataFile", 2, {Value::scalar(static_cast<double>(app::kUserDataLimitBits))});
        const Inputs result("loadUserDataFile", loaded);
        if (frame::to_scalar(result, 1, "status") > 0) {
            // Read after the load: it records the folder of the file in LastPath.
            app::FormatParameters p = parameters();
            p.data_source_bits = frame::to_bits(result, 0, "bits");
            p.data_length = p.data_source_bits.size() / 8;
            p.data_source = mac::PayloadSource::UserData;
            store(p);
        }
    } else {
        app::FormatParameters p = parameters();
        p.data_source = static_cast<mac::PayloadSource>(choice);
        store(p);
    }
    then_redraw("redrawPaylodSetup", in);
    return {};
}

Outputs txtDataLength_Callback(const Inputs& in, int) {
    app::FormatParameters p = parameters();
    const app::EntryField field{"Data length", app::in_unit("bytes"), 0, static_cast<double>(app::kMaxDataLength)};
    if (const auto n = accepted_number(in, field, static_cast<double>(p.data_length))) {
        p.data_length = app::data_length_entry(n);
        store(p);
        note_if_limited(in, field, std::round(*n), static_cast<double>(p.data_length));
    }
    then_redraw("redrawPaylodSetup", in);
    return {};
}

}  // namespace dot11b::gui::main_window
