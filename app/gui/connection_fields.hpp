#pragma once
// The nine fields of a connection record Value (`type`, `GPIB`, `RS232`,
// `TCPIP`, and the `SDR` settings) as the connection dialog takes and returns them. The dialog
// accepts any record and clamps it rather than refusing it, so reading is
// lenient; writing keeps the record's other fields (`BBGtype`,
// `LastParameterFilename`, ...) where they are.

#include "app/records.hpp"
#include "frame/value.hpp"

namespace dot11b::gui {

// A field that is missing or of the wrong kind keeps the dialog's default;
// numbers are rounded to whole numbers as on their way to the instrument.
app::ConnectionConfig connection_fields(const frame::Value& record);

// `record` (a new structure when it is none) with the nine fields set.
frame::Value with_connection_fields(frame::Value record, const app::ConnectionConfig& fields);

}  // namespace dot11b::gui
