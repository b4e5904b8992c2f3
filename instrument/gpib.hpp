#pragma once
// GPIB connection through the linux-gpib library, loaded when first needed so
// that hosts without it still run everything else.

#include <memory>
#include <string>

#include "instrument/transport.hpp"

namespace dot11b::instrument {

struct GpibAddress {
    int board = 0;       // interface board index, 0 to 15
    int primary = 19;    // 0 to 30
    int secondary = -1;  // 0 to 31, -1 for none
};

// The library opened by default.
inline constexpr const char* kGpibLibrary = "libgpib.so.0";

// Opens the device within the time-out. Throws TransportError (Connect) when
// the library or one of its functions is missing, or the device cannot be opened.
std::unique_ptr<Transport> open_gpib(const GpibAddress& address, Milliseconds timeout,
                                     const std::string& library = kGpibLibrary);

}  // namespace dot11b::instrument
