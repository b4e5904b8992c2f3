#pragma once
// The instrument I/O layer: the only road to a signal generator. Each
// operation hands its operation code, the connection record and its own
// arguments to the I/O module once and returns the module's status pair
// unchanged; it keeps no state and never inspects the result.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "app/records.hpp"
#include "common/types.hpp"
#include "instrument/hwio.hpp"
#include "instrument/status_pair.hpp"

namespace dot11b::instrument {

// The bridge to the module: the process's HwIoModule, or another module
// with the same contract (a test's recorder).
using HwIO = std::function<StatusPair(std::int32_t code, const app::ConnectionConfig& config, const HwArgs& args)>;

// A HwIO that calls `module`, which must outlive it.
HwIO bridge_to(HwIoModule& module);

StatusPair hwPing(const HwIO& io, const app::ConnectionConfig& config);
StatusPair hwSend(const HwIO& io, const app::ConnectionConfig& config, const std::string& command);
StatusPair hwQuery(const HwIO& io, const app::ConnectionConfig& config, const std::string& query);
// The I/Q samples and their marker bytes, stored under `filename`, scaled as
// the waveform file ("norm", scale 1).
StatusPair hwDownload(const HwIO& io, const app::ConnectionConfig& config, SampleSpan data,
                      std::span<const std::uint8_t> markers, const std::string& filename);
StatusPair hwReturnLocal(const HwIO& io, const app::ConnectionConfig& config);
// Milliseconds for the later operations on the same connection.
StatusPair hwSetTimeout(const HwIO& io, const app::ConnectionConfig& config, double timeOutValue);

// The connection check of the settings dialog: hwPing under another name.
StatusPair VerifyComm(const HwIO& io, const app::ConnectionConfig& config);

}  // namespace dot11b::instrument
