#pragma once
// SCPI command headers: each node may be written in its long form or its
// short form (the upper-case part), in any case; some nodes may be left out.

#include <string_view>

namespace dot11b::sim {

// `pattern` lists the nodes separated by ':', optional ones in brackets,
// e.g. "[SOURce]:FREQuency:[FIXed]". `header` is what was received, e.g.
// ":source:freq:fix" or "FREQ" (a leading ':' and a trailing '?' are not part of it).
bool header_matches(std::string_view pattern, std::string_view header);

}  // namespace dot11b::sim
