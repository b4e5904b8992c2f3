#pragma once
// The PSDU data rates: 1 and 2 Mbit/s DSSS, 5.5 and 11 Mbit/s CCK or PBCC,
// and the PBCC-only 22 and 33 Mbit/s.

#include <string_view>

namespace dot11b::phy {

// Enumerators hold the rate in units of 100 kbit/s, so rate arithmetic stays exact.
enum class DataRate : int { Mbps1 = 10, Mbps2 = 20, Mbps5_5 = 55, Mbps11 = 110, Mbps22 = 220, Mbps33 = 330 };

// Converts a rate in Mbit/s; throws ConfigError naming `context` and the allowed rates.
DataRate data_rate_from_mbps(double mbps, std::string_view context);

constexpr int rate_in_100kbps(DataRate rate) { return static_cast<int>(rate); }
constexpr double rate_in_mbps(DataRate rate) { return static_cast<int>(rate) / 10.0; }

}  // namespace dot11b::phy
