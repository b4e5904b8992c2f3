#pragma once
// Ctrl-C (SIGINT) and SIGTERM ask a running playback to stop rather than
// end the program, so the stream is stopped and the device closed first.

#include <atomic>

namespace dot11b::cli {

class StopOnSignal {
public:
    // Installs the handlers; the previous ones come back when this goes.
    StopOnSignal();
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    // Set by either signal.
    const std::atomic<bool>& flag() const;
};

}  // namespace dot11b::cli
