#pragma once
// The connection record as a Value, on its way to the I/O module.

#include "app/records.hpp"
#include "frame/value.hpp"

namespace dot11b::instrument {

// A copy in which GPIB.board, GPIB.primary, GPIB.secondary, RS232.port,
// RS232.baudrate and TCPIP.board, where present and numeric, are 32-bit
// signed integers (rounded half away from zero, saturated, NaN as 0). Text
// fields and missing fields are left as they are.
frame::Value formatconfig(const frame::Value& config_in);

// The record as the module uses it: `type` and the sub-record of that bus
// must be complete; the other sub-records may be missing (their defaults are
// used), and so may `CorrectionsFolder`. Throws ConfigError naming the
// missing or unusable field.
app::ConnectionConfig connection_from_record(const frame::Value& config);

}  // namespace dot11b::instrument
