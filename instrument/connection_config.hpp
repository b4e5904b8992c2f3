#pragma once
// The logic of the instrument connection settings dialog without its window:
// defaults, conversion of the old flat record, clamping, the lists of its
// controls and the mapping between the record and the controls' positions.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/records.hpp"
#include "frame/value.hpp"

namespace dot11b::instrument {

// Which instruments the dialog serves: 0 any (all buses), 1 the "b"
// generation (RS-232 and GPIB), 2 the "c" generation (GPIB and LAN); only
// "any" offers an SDR.
enum class DialogModel { Any = 0, B = 1, C = 2 };

// The bus list of the model; "TCP/IP" stands for the record's "TCPIP".
std::vector<std::string> connection_list(DialogModel model);
// Speeds as plain numbers, the lowest first and the highest third.
const std::vector<std::string>& baud_rate_list();
// Position 1 no flow control, 2 "Xon/Xoff", 3 hardware RTS/CTS pacing.
const std::vector<std::string>& handshake_list();

// Sets the nine connection fields and the SDR settings to the dialog's defaults (GPIB, board 0,
// primary 19, no secondary, COM 1 at 19200 baud with "Xon/Xoff", LAN address
// "0.0.0.0"); the application's own fields are kept.
app::ConnectionConfig initConfig(app::ConnectionConfig record = {});

// Converts a record of the old flat form (`Connection`, `GPIBboard`,
// `Primary`, `Secondary`, `RS232Port`, `BaudRate`, `HandShake`) into the
// current form; any other record is returned unchanged. With
// `has_handshake_control` the old zero-based `HandShake` picks from the
// handshake list, otherwise "Xon/Xoff" is used.
frame::Value reStructureConfig(const frame::Value& oldConfig, bool has_handshake_control = true);

// Out-of-range numbers are clamped, never rejected: board 0 to 15, primary 0
// to 30, secondary -1 to 31, port 1 to 9, speed from the first to the third
// entry of the baud rate list; `TCPIP.board` becomes 0.
app::ConnectionConfig clamp_connection(app::ConnectionConfig record);

// 1-based position of `text` in `list` ignoring case ("TCPIP" is looked up as
// "TCP/IP"); 1 when absent or the list is empty.
int ConvertStringToIndex(std::span<const std::string> list, std::string_view text);
// The entry at the 1-based `position`, the first entry when out of range;
// "TCP/IP" (any case) comes back as "TCPIP".
std::string ConvertIndexToString(std::span<const std::string> list, int position);

// `type`, or "GPIB" when the model does not offer that bus (LAN for "b",
// RS-232 for "c", an SDR for both).
std::string offered_type(std::string type, DialogModel model);

// The dialog's controls: lists and 1-based positions, and the address text.
struct ConnectionControls {
    std::vector<std::string> connection_list;
    int connection = 1;
    int gpib_board = 1;         // board + 1
    int primary_address = 20;   // address + 1
    int secondary_address = 1;  // address + 2 (1 = none)
    int port_number = 1;        // port
    std::string serial_device;  // a device path used instead of the port; empty: the port
    int baud_rate = 2;          // position in baud_rate_list()
    int handshake = 2;          // position in handshake_list()
    std::string tcpip_address = "0.0.0.0";
};

// The controls showing `record` for `model`; a bus the model does not offer
// (LAN for "b", RS-232 for "c") shows as GPIB.
ConnectionControls controls_for(const app::ConnectionConfig& record, DialogModel model);

// The nine connection fields (and `RS232.device`) read back from the controls
// into `record` (the application's own fields are kept), with `TCPIP.board` 0.
app::ConnectionConfig UpdateConfig(const ConnectionControls& controls, app::ConnectionConfig record);

}  // namespace dot11b::instrument
