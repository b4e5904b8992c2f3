#pragma once
// What every instrument operation returns instead of throwing for an
// instrument fault: 0 and the result text, or a non-zero status and a
// description that callers show unchanged.

#include <string>

namespace dot11b::instrument {

struct StatusPair {
    int status = 0;
    std::string description;

    bool ok() const { return status == 0; }
    bool operator==(const StatusPair&) const = default;
};

// The application's own status for a download the user cancelled.
inline const StatusPair kDownloadCancelled{-1, "Download cancelled"};

}  // namespace dot11b::instrument
