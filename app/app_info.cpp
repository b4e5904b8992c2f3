#include "app/app_info.hpp"

#include <string>
#include <utility>

namespace dot11b::app {

frame::Value default_app_info() {
    using frame::Value;
    const std::pair<const char*, Value> fields[] = {
        {"Name", Value::text("IEEE 802.11b-1999 (DSSS)")},
        {"Platform", Value::text("b")},
        {"IsRelease", Value::scalar(1)},
        {"Rev", Value::text("A.01.09.000")},
        {"Date", Value::text("16-Oct-2002")},
        {"Notes", Value::text("Release Notes:")},
        {"NotesLine2", Value::text("Framed and unframed PLCP frames at 1, 2, 5.5 and 11 Mbps,")},
        {"NotesLine3", Value::text("with Barker, CCK and PBCC modulation and pulse shaping.")},
        {"NotesLine4", Value::text("This applet supports all modulation formats of")},
        {"NotesLine5", Value::text("the IEEE 802.11b-1999 (DSSS) W-LAN standard.")},
        {"NotesLine6", Value::text("Waveforms download to ORB signal generators")},
        {"NotesLine7", Value::text("over GPIB, RS-232 or LAN.")},
        {"ApplicationFunction", Value::text("dot11b_GUI_b")},
        {"ParameterFileExtension", Value::text(".mat")},
        {"ClientWindows", Value()},
        {"LastCaluclatedParameterSet", Value()},
        {"LastCalcTimeStamp", Value()},
    };
    Value record = Value::structure({});
    for (const auto& [name, value] : fields) record.set_field(name, value);
    return record;
}

}  // namespace dot11b::app
