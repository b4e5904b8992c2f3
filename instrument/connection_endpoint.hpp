#pragma once
// From the connection record to the bus, address and settings the module
// opens: the sub-record named by `type` is the one used.

#include <map>
#include <string>

#include "app/records.hpp"
#include "instrument/hwio_endpoint.hpp"

namespace dot11b::instrument {

// Serial port numbers of the record (1 to 9) and the devices they stand for;
// port n is /dev/ttyS(n-1) unless set otherwise. A record's RS232.device,
// when set, is used instead of its port.
class SerialDevices {
public:
    std::string device(int port) const;
    void set(int port, std::string device) { devices_[port] = std::move(device); }

private:
    std::map<int, std::string> devices_;
};

// "None", "Xon/Xoff" or "RTS/CTS", in any case. Throws ConfigError.
Handshake handshake_of(const std::string& name);

// Throws ConfigError naming the field that cannot be used.
Endpoint endpoint_of(const app::ConnectionConfig& config, const SerialDevices& devices);

}  // namespace dot11b::instrument
