#pragma once
// The connection check's reply read as an instrument identity. IEEE 488.2
// (10.14) answers *IDN? with four fields separated by commas: maker, model,
// serial number (0 when there is none) and firmware level. Anything else
// came from something that is not an instrument (a web server, a console).

#include <optional>
#include <string>
#include <string_view>

#include "instrument/status_pair.hpp"

namespace dot11b::instrument {

// Four comma-separated fields, the maker and the model not blank.
bool looks_like_identity(std::string_view reply);

// What the connection check shows: the error or the module's description,
// and for a reply that is no identity, the reply quoted with why it is doubtful.
std::string connection_check_text(const StatusPair& result, const std::optional<std::string>& error);

}  // namespace dot11b::instrument
