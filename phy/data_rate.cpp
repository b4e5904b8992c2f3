#include "phy/data_rate.hpp"

#include <array>
#include <sstream>
#include <string>

#include "common/errors.hpp"

namespace dot11b::phy {

DataRate data_rate_from_mbps(double mbps, std::string_view context) {
    static constexpr std::array kRates = {DataRate::Mbps1, DataRate::Mbps2, DataRate::Mbps5_5,
                                          DataRate::Mbps11, DataRate::Mbps22, DataRate::Mbps33};
    for (const DataRate rate : kRates) {
        if (rate_in_mbps(rate) == mbps) return rate;
    }
    std::ostringstream message;
    message << context << ": DATArate " << mbps << " is not one of 1, 2, 5.5, 11, 22, 33 (Mbit/s)";
    throw ConfigError(message.str());
}

}  // namespace dot11b::phy
